#include "importers/batch_import.h"

#include <QFileInfo>
#include <QSet>

#include "importers/import_frame.h"
#include "mainwindow/program_state.h"
#include "importers/res2dinv_import.h"
#include "importers/spread_import.h"
#include "platform/common_dialog.h"
#include "platform/text_file.h"
#include "sounding/settings_file.h"
#include "mainwindow/data_tab.h"
#include "mainwindow/main_controls_state.h"
#include "mainwindow/templates.h"
#include "modelling/auto_model.h"
#include "modelling/forward_computation.h"
#include "modelling/layer_table.h"
#include "modelling/misfit_fit.h"
#include "modelling/model_window_state.h"
#include "modelling/modelling_state.h"
#include "platform/language.h"
#include "platform/vb.h"
#include "platform/vb_error.h"
#include "sounding/open_save.h"
#include "sounding/sounding_file.h"
#include "sounding/sounding_record.h"

namespace tellumo {

namespace {

// The report names at most this many soundings, the most a batch extracts.
constexpr int kMaxReportedSoundings = 100;
// Names listed in the question before replacing files.
constexpr int kMaxListedTargets = 10;
// Lines listed in the box of the lines a spread conversion skipped.
constexpr qsizetype kMaxListedSkips = 30;

// Makes the batch sounding the current one, with no model and only its own
// texts, named by its target.
void MakeCurrent(const BatchSounding& b) {
  PutImportedSounding(b.sounding);
  MaxSpacing = b.sounding.maxSpacing > 0 ? b.sounding.maxSpacing : int16_t{1};
  FilePath = b.target;
  FileTitle = TitleOfPath(b.target);
}

}  // namespace

MsgAnswer CollectingMessageService::show(const QString& text, MsgButtons, MsgIcon, const QString&) {
  texts.append(text);
  return MsgAnswer::OK;
}

std::optional<QString> CollectingMessageService::input(const QString&, const QString&, const QString&) {
  return std::nullopt;
}

QString NoPointsReportText() {
  return Lang(QStringLiteral("aucun point : pas de fichier écrit"), QStringLiteral("ningún punto: ningún fichero escrito"),
              QStringLiteral("no points: no file written"));
}

QString NoModelReportText() {
  return Lang(QStringLiteral("enregistré sans modèle"), QStringLiteral("guardado sin modelo"),
              QStringLiteral("saved without a model"));
}

bool ConfirmBatchTargets(const std::vector<BatchSounding>& soundings) {
  // One look at the folder per target and a set of the names met: the check
  // grows with the number of targets, not with its square.
  QStringList existing;
  QSet<QString> seen;
  seen.reserve(static_cast<qsizetype>(soundings.size()));
  for (const BatchSounding& b : soundings) {
    if (b.sounding.points.empty() || seen.contains(b.target)) continue;
    seen.insert(b.target);
    if (QFileInfo::exists(b.target)) existing.append(b.target);
  }
  if (existing.isEmpty()) return true;
  QString text;
  if (existing.size() == 1) {
    text = ReplaceQuestion(existing.front());
  } else {
    QStringList listed = existing.mid(0, kMaxListedTargets);
    if (existing.size() > kMaxListedTargets) listed.append(QStringLiteral("..."));
    const QString names = listed.join(QLatin1Char('\n'));
    text = Lang(QStringLiteral("Ces fichiers existent déjà :\n") + names + QStringLiteral("\nLes remplacer ?"),
                QStringLiteral("Estos ficheros ya existen:\n") + names + QStringLiteral("\n¿Desea reemplazarlos?"),
                QStringLiteral("These files already exist:\n") + names + QStringLiteral("\nReplace them?"));
  }
  return MsgBox(text, MsgButtons::YesNo, MsgIcon::Question) == MsgAnswer::Yes;
}

QString ReplacedInRunReportText() {
  return Lang(QStringLiteral("remplace le fichier du même nom écrit plus tôt dans cette conversion"),
              QStringLiteral("reemplaza el fichero del mismo nombre escrito antes en esta conversión"),
              QStringLiteral("replaces the file of the same name written earlier in this conversion"));
}

QString WriteStoppedText(const QString& path, int written) {
  const QString n = QString::number(written);
  return Lang(QStringLiteral("Le fichier ") + path + QStringLiteral(" n'a pas pu être écrit ; ") + n +
                  QStringLiteral(" sondage(s) écrit(s) avant lui. La conversion s'arrête là."),
              QStringLiteral("No se ha podido escribir el fichero ") + path + QStringLiteral("; ") + n +
                  QStringLiteral(" sondeo(s) escrito(s) antes. La conversión se detiene aquí."),
              QStringLiteral("The file ") + path + QStringLiteral(" could not be written; ") + n +
                  QStringLiteral(" sounding(s) written before it. The conversion stops there."));
}

BatchOutcome RunBatch(const std::vector<BatchSounding>& soundings, const BatchOptions& options) {
  BatchOutcome out;
  // The last sounding written stays current, under its file's names; when
  // none is written, the one from before the batch.
  ConversionEnd end;
  QSet<QString> written;
  int reported = 0;
  auto report = [&](const QString& label, const QString& text) {
    if (reported >= kMaxReportedSoundings) return;
    out.report.append(label + QStringLiteral(": ") + text);
  };
  for (const BatchSounding& b : soundings) {
    const int before = static_cast<int>(out.report.size());
    if (b.sounding.points.empty()) {
      report(b.label, NoPointsReportText());
    } else {
      end.Replacing();
      MakeCurrent(b);
      if (options.clearModeFirst) ModeWord.clear();
      CollectingMessageService gathered;
      bool model = false;
      bool failed = false;
      {
        ScopedMessageService quiet(&gathered);
        try {
          CreateAutomaticModel();
          model = HasModel();
          if (model) {
            ModeWord = QStringLiteral("FICHIER");
            ComputeModelCurve();
            FitModel();
            ModelToGrid();
          }
        } catch (const vb::VbError&) {
          failed = true;
        }
      }
      for (const QString& t : gathered.texts) report(b.label, t);
      if (failed) {
        ModeWord.clear();
        out.ended = true;
        MsgBox(ErrorDuringReadingText(), MsgButtons::OK, MsgIcon::Critical);
        break;
      }
      if (!model) report(b.label, NoModelReportText());
      ModeWord = QStringLiteral("FICHIER");
      // In this mode the save asks nothing. Its message of a failed write
      // is shown with the file's name and the count written before it, and
      // the run ends.
      CollectingMessageService saveMessages;
      bool wrote = false;
      {
        ScopedMessageService quiet(&saveMessages);
        wrote = SaveSoundingFile(FilePath);
      }
      ModeWord.clear();
      if (!wrote) {
        out.ended = true;
        QStringList text = saveMessages.texts;
        text.append(WriteStoppedText(b.target, out.written));
        MsgBox(text.join(LineBreak), MsgButtons::OK, MsgIcon::Exclamation);
        break;
      }
      end.Written(b.target);
      ++out.written;
      // Two soundings of one name: the later file replaces the earlier one,
      // and the user is told which.
      if (written.contains(b.target)) report(b.label, ReplacedInRunReportText());
      written.insert(b.target);
    }
    if (static_cast<int>(out.report.size()) > before) ++reported;
  }
  // The screen shows the sounding left current: the last one written, which
  // the boxes and the grid do not show yet. A sounding put back is shown by
  // Finish, and one never replaced keeps its grid as it was.
  end.Finish();
  if (end.written() > 0) {
    vb::Step([] { ShowSoundingTexts(); });
    vb::Step([] { FillDataGrid(); });
  }
  // As many lines as soundings: a box that fits the screen and scrolls.
  if (!out.report.isEmpty())
    Messages().showScrolling(out.report.join(QLatin1Char('\n')), MsgIcon::Information, ProgramTitle);
  return out;
}

namespace {

enum class Choice { Chosen, Cancelled, Empty };

// The batches' file dialog: Cancel is told apart from an empty choice, as
// each has its own message.
Choice ChooseBatchFile(const QString& filter, const QString& title, QString& path, QString& name) {
  CommonDialog& dlg = CmDialog1();
  dlg.CancelError = true;
  dlg.Flags = kDlgExplorer;
  dlg.Filter = filter;
  dlg.DialogTitle = title;
  dlg.FileName = QStringLiteral("*.") + (filter.contains(QLatin1String("DAT")) ? QStringLiteral("DAT")
                                                                                : QStringLiteral("TXT"));
  try {
    dlg.ShowOpen();
  } catch (const vb::VbError&) {
    return Choice::Cancelled;
  }
  if (dlg.FileTitle.isEmpty() || dlg.FileName.isEmpty()) return Choice::Empty;
  path = dlg.FileName;
  name = dlg.FileTitle;
  return Choice::Chosen;
}

// The answer No to replacing files ends the run: said, so that the user
// does not take the silence for a conversion done.
void ShowNothingWritten() { MsgBox(QStringLiteral("Conversion aborted"), MsgButtons::OK, MsgIcon::Information); }

void ShowErrorDuringReading() { MsgBox(ErrorDuringReadingText(), MsgButtons::OK, MsgIcon::Critical); }

void ShowFirstSelectAFile() {
  MsgBox(Lang(QStringLiteral("Sélectionnez d'abord un fichier "), QStringLiteral("Primero, seleccione un fichero "),
              QStringLiteral("First select a File ")),
         MsgButtons::OK, MsgIcon::Exclamation);
}

// Cancel is an error of the batch, an empty choice asks for a file; both
// after their message.
Choice ChooseOrSay(const QString& filter, const QString& title, QString& path, QString& name) {
  const Choice choice = ChooseBatchFile(filter, title, path, name);
  if (choice == Choice::Cancelled) ShowErrorDuringReading();
  if (choice == Choice::Empty) ShowFirstSelectAFile();
  return choice;
}

// The batches end by showing the model window when the plot tab "Bilog" is
// the one in view, so the user sees the last sounding's fitted model there.
void ShowModelWindowOnPlotTab() {
  const int tab = DataTabUi().shownTab ? DataTabUi().shownTab() : -1;
  if (tab == 0) vb::Step([] { ShowModelWindow(); });
}

// Runs ShowModelWindowOnPlotTab when the scope ends, unless disarmed.
class ModelWindowAtEnd {
 public:
  ~ModelWindowAtEnd() {
    if (armed) ShowModelWindowOnPlotTab();
  }
  bool armed = true;
};

bool ReadBytes(const QString& path, QByteArray& bytes) {
  try {
    bytes = ReadFileBytes(path);
    return true;
  } catch (const vb::VbError&) {
    ShowErrorDuringReading();
    return false;
  }
}

// Wenner while the extraction runs; the array before it comes back on every
// way out, so an aborted run does not change the user's array.
class WennerWhileExtracting {
 public:
  WennerWhileExtracting() {
    StartupArrayCode = ArrayCode;
    vb::Step([] { SelectArrayOption(QStringLiteral("2")); });
    ArrayCode = QStringLiteral("2");
  }
  ~WennerWhileExtracting() {
    const QString code = StartupArrayCode;
    if (code == QLatin1String("0") || code == QLatin1String("1") || code == QLatin1String("2")) {
      vb::Step([&] { SelectArrayOption(code); });
      ArrayCode = code;
    }
  }
  WennerWhileExtracting(const WennerWhileExtracting&) = delete;
  WennerWhileExtracting& operator=(const WennerWhileExtracting&) = delete;
};

}  // namespace

int RunRes2dinvConversion() {
  // Every way out but the empty choice ends with the model window (it is
  // declared before the pointer, so the pointer is back when it shows).
  ModelWindowAtEnd modelWindow;
  BusyPointer busy;
  ModeWord = QStringLiteral("NORMAL");
  QString path, name;
  const Choice choice = ChooseOrSay(QStringLiteral("Fichier RES2DINV (*.DAT)| *.DAT    "),
                                    QStringLiteral("RES2DINV File selection"), path, name);
  modelWindow.armed = choice != Choice::Empty;
  if (choice != Choice::Chosen) return 0;
  // The sounding keeps its names: the data file is no sounding file, and a
  // refusal or an abort must not leave a save aimed at it.
  QByteArray bytes;
  if (!ReadBytes(path, bytes)) return 0;
  const Res2dinvRead read = ReadRes2dinvBytes(bytes);
  if (!read.ok()) {
    MsgBox(read.message, MsgButtons::OK, read.readingError ? MsgIcon::Critical : MsgIcon::Exclamation);
    return 0;
  }

  // A data set without a range is refused before the dialog asks anything
  // (one level is enough).
  Res2dinvExtent extent;
  if (!MeasureRes2dinv(read.data, extent)) {
    ShowErrorDuringReading();
    return 0;
  }

  WennerWhileExtracting wenner;
  R2diForm form = MakeR2diForm();
  if (!R2diDialogs().show(form)) {
    MsgBox(QStringLiteral("Conversion aborted"), MsgButtons::OK, MsgIcon::Information);
    return 0;
  }
  try {
    R2DI_par_Command1_Click(form);
  } catch (const vb::VbError&) {
    ShowErrorDuringReading();
    return 0;
  }
  const int n = ExtractCount;
  if (n < 1 || n > 100) {
    MsgBox(QStringLiteral("Conversion aborted"), MsgButtons::OK, MsgIcon::Information);
    return 0;
  }
  std::vector<BatchSounding> batch;
  for (int s = 1; s <= n; ++s) {
    BatchSounding b;
    b.sounding =
        ExtractSounding(read.data, extent, s, n, LineAzimuth, LineAltitude, FirstElectrodeX, FirstElectrodeY).sounding;
    b.target = Res2dinvTargetName(path, s);
    b.label = TitleOfPath(b.target);
    batch.push_back(std::move(b));
  }
  if (!ConfirmBatchTargets(batch)) {
    ShowNothingWritten();
    return 0;
  }
  return RunBatch(batch).written;
}

int RunSpreadConversion() {
  // Only an error ends with the model window: the empty choice, the answer
  // No and the final count do not (declared before the pointer, so the
  // pointer is back when it shows).
  ModelWindowAtEnd modelWindow;
  modelWindow.armed = false;
  BusyPointer busy;
  ModeWord = QStringLiteral("FIELD");
  const QString filter = QStringLiteral("Text file (*.TXT)| *.TXT    ");
  QString spreadPath, spreadName;
  auto end = [] {
    ModeWord.clear();
    return 0;
  };
  auto error = [&] {
    modelWindow.armed = true;
    return end();
  };
  Choice choice = ChooseOrSay(filter, QStringLiteral("Spread data file selection"), spreadPath, spreadName);
  if (choice == Choice::Cancelled) return error();
  if (choice == Choice::Empty) return end();
  QByteArray bytes;
  if (!ReadBytes(spreadPath, bytes)) return error();
  std::vector<double> spacings;
  if (!ReadSpreadBytes(bytes, spacings)) {
    ShowErrorDuringReading();
    return error();
  }
  ModeWord = QStringLiteral("NORMAL");
  QString path, name;
  choice = ChooseOrSay(filter, QStringLiteral("Resistivity data file selection"), path, name);
  if (choice == Choice::Cancelled) return error();
  if (choice == Choice::Empty) return end();
  // The sounding keeps its names: the resistivity file is no sounding file.
  if (!ReadBytes(path, bytes)) return error();
  const SheetRead sheet = ReadSheetBytes(bytes, spacings);
  // "Spread data missing" comes line by line, as it always has; the other
  // lines skipped are told together in one box, however many there are.
  QStringList skippedLines;
  for (const SheetRead::Skip& skip : sheet.skipped) {
    if (skip.information)
      MsgBox(skip.text, MsgButtons::OK, MsgIcon::Information);
    else
      skippedLines.append(skip.text);
  }
  if (!skippedLines.isEmpty()) {
    const qsizetype shown = std::min<qsizetype>(skippedLines.size(), kMaxListedSkips);
    QString text = skippedLines.mid(0, shown).join(QLatin1Char('\n'));
    if (skippedLines.size() > shown)
      text += QLatin1Char('\n') + Lang(QStringLiteral("... et %1 autres lignes ignorées"),
                                       QStringLiteral("... y %1 líneas más ignoradas"),
                                       QStringLiteral("... and %1 more lines skipped"))
                                      .arg(skippedLines.size() - shown);
    MsgBox(text, MsgButtons::OK, MsgIcon::Exclamation);
  }
  if (sheet.stoppedAtLine > 0) MsgBox(SoundingsLeftText(sheet), MsgButtons::OK, MsgIcon::Exclamation);
  std::vector<BatchSounding> batch;
  batch.reserve(sheet.soundings.size());
  const QString folder = FolderOfPath(path);
  for (const SheetSounding& s : sheet.soundings) {
    BatchSounding b;
    b.sounding = s.sounding;
    b.target = folder + s.name + QStringLiteral(".TM3");
    b.label = s.name + QStringLiteral(".TM3");
    batch.push_back(b);
  }
  if (!ConfirmBatchTargets(batch)) {
    ShowNothingWritten();
    return end();
  }
  const BatchOutcome outcome = RunBatch(batch, BatchOptions{true});
  ExtractCount = static_cast<int16_t>(outcome.written);
  modelWindow.armed = outcome.ended;
  if (!outcome.ended)
    MsgBox(vb::Str(outcome.written) + QStringLiteral(" soundings have been saved as *.TM3 files"), MsgButtons::OK,
           MsgIcon::Information);
  return outcome.written;
}

}  // namespace tellumo
