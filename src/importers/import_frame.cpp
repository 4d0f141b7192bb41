#include "importers/import_frame.h"

#include "mainwindow/new_sounding.h"

#include <algorithm>

#include "mainwindow/data_tab.h"
#include "mainwindow/main_controls_state.h"
#include "mainwindow/templates.h"
#include "mainwindow/ui_hooks.h"
#include "modelling/bilog_frame.h"
#include "modelling/engine_hooks.h"
#include "modelling/layer_table.h"
#include "modelling/modelling_state.h"
#include "platform/common_dialog.h"
#include "platform/language.h"
#include "platform/message_service.h"
#include "platform/pointer_state.h"
#include "platform/text_file.h"
#include "platform/vb.h"
#include "platform/vb_error.h"
#include "sounding/open_save.h"
#include "sounding/settings_file.h"
#include "sounding/sounding_file.h"
#include "sounding/sounding_record.h"
#include "sounding/sounding_snapshot.h"

namespace tellumo {

ConversionEnd::ConversionEnd()
    : kept_(SoundingSnapshot::Take()), arrayCode_(ArrayCode), modified_(SoundingModified), parts_(UnsavedParts) {}

ConversionEnd::~ConversionEnd() { Finish(); }

void ConversionEnd::Written(const QString& path) {
  FilePath = path;
  FileTitle = TitleOfPath(path);
  kept_ = SoundingSnapshot::Take();
  arrayCode_ = ArrayCode;
  modified_ = SoundingModified;
  parts_ = UnsavedParts;
  replaced_ = false;
  ++written_;
}

void ConversionEnd::Finish() {
  if (finished_) return;
  finished_ = true;
  // A written sounding made current by nothing after it is already the one
  // to keep, as its file's save left it. Otherwise the values are put back
  // (names, mode and flags a conversion may have changed on its way), and
  // the screen shows them again when another sounding was shown meanwhile.
  if (written_ > 0 && !replaced_) return;
  kept_.Restore();
  // Its changes too: the exit's question names those of the sounding kept.
  SoundingModified = modified_;
  UnsavedParts = parts_;
  if (ArrayCode != arrayCode_) {
    const QString code = arrayCode_;
    vb::Step([&] { SelectArrayOption(code); });
    ArrayCode = code;
  }
  if (!replaced_) return;
  // The screen shows the sounding kept, not the last one converted.
  vb::Step([] { ShowSoundingTexts(); });
  vb::Step([] { FillDataGrid(); });
  // The model window held the layers of the sounding converted last: it
  // goes, and comes back with the kept sounding's model where the plot is
  // in view (as after opening a file), so that its Save cannot store
  // another sounding's model.
  vb::Step([] { CallHook(Ui().unloadModelWindow); });
  vb::Step([] {
    const int tab = DataTabUi().shownTab ? DataTabUi().shownTab() : -1;
    if (tab == 0 && HasModel()) CallHook(Ui().showModelWindow);
  });
  vb::Step([] { RedrawBilog(); });
  // Drawing derives the depths and the curve again; the sounding kept is
  // the one before, to the bit.
  kept_.Restore();
}

BusyPointer::BusyPointer() { BilogPointer().set(Pointer::Hourglass); }
BusyPointer::~BusyPointer() { BilogPointer().set(Pointer::Cross); }

bool ChooseForeignFile(const ImportDialog& d, QString& path, QString& title) {
  CommonDialog& dlg = CmDialog1();
  dlg.CancelError = true;
  dlg.Flags = kDlgExplorer;
  dlg.Filter = d.filter;
  dlg.DialogTitle = d.title;
  dlg.FileName = d.fileName;
  try {
    dlg.ShowOpen();
  } catch (const vb::VbError&) {
    return false;
  }
  if (dlg.FileTitle.isEmpty() || dlg.FileName.isEmpty()) {
    ShowSelectFileFirst();
    return false;
  }
  path = dlg.FileName;
  title = dlg.FileTitle;
  return true;
}

void ShowSelectFileFirst() {
  MsgBox(Lang(QStringLiteral("Sélectionnez d'abord un fichier "), QStringLiteral("Primero, seleccione un fichero "),
              QStringLiteral("First select a File ")),
         MsgButtons::OK, MsgIcon::Exclamation);
}

void ShowImportReadingError(ReadingErrorText text) {
  const QString es = text == ReadingErrorText::Pasi ? QStringLiteral("Error de lecture fichero ...")
                                                    : QStringLiteral("Error de lectura fichero ...");
  MsgBox(Lang(QStringLiteral("Erreur lors de la lecture du fichier..."), es, QStringLiteral("Reading File Error ...")),
         MsgButtons::OK, MsgIcon::Exclamation);
}

void ShowImportMessages(const ImportResult& result) {
  for (const QString& m : result.messages) MsgBox(m, MsgButtons::OK, MsgIcon::Exclamation);
}

QString NoReadingsText() {
  return Lang(QStringLiteral("Le fichier ne contient aucune mesure : rien n'a été converti."),
              QStringLiteral("El fichero no contiene ninguna medida: no se ha convertido nada."),
              QStringLiteral("The file holds no readings: nothing was converted."));
}

void ShowNoReadings() { MsgBox(NoReadingsText(), MsgButtons::OK, MsgIcon::Exclamation); }

QString FirstPointsOnlyText() {
  return Lang(QStringLiteral("Le fichier contient plus de 51 points : seuls les 51 premiers sont gardés."),
              QStringLiteral("El fichero contiene más de 51 puntos: sólo se guardan los 51 primeros."),
              QStringLiteral("The file holds more than 51 points: only the first 51 are kept."));
}

QString FirstLayersOnlyText() {
  return Lang(QStringLiteral("Le fichier contient plus de 20 couches : seules les 20 premières sont gardées."),
              QStringLiteral("El fichero contiene más de 20 capas: sólo se guardan las 20 primeras."),
              QStringLiteral("The file holds more than 20 layers: only the first 20 are kept."));
}

namespace {

// The largest first spacing of the points, rounded, within the 16-bit range
// and at least 1, so that the next computation has a range.
int16_t MaxSpacingOfPoints() {
  double largest = 1.0;
  for (int i = 1; i <= PointCount; ++i) largest = std::max(largest, FieldData[i][kSpacing1].value());
  if (!(largest < 32767.0)) return 32767;
  return vb::CInt(largest);
}

bool KnownArrayCode(const ImportedSounding& s) {
  return s.arrayCode && (*s.arrayCode == QLatin1String("0") || *s.arrayCode == QLatin1String("1") ||
                         *s.arrayCode == QLatin1String("2"));
}

}  // namespace

void PutImportedSounding(const ImportedSounding& s) {
  EmptyFieldData();
  EmptyLayerModel();
  EmptySoundingTexts();

  const size_t points = std::min<size_t>(s.points.size(), kMaxFilePoints);
  for (size_t i = 0; i < points; ++i)
    for (int c = 0; c < 6; ++c) FieldData[i + 1][c + 1] = s.points[i][static_cast<size_t>(c)];
  PointCount = static_cast<int16_t>(points);

  const size_t layers = std::min<size_t>(s.layers.size(), kMaxLayers);
  for (size_t j = 0; j < layers; ++j)
    for (int c = 0; c < 3; ++c) LayerModel[j + 1][c + 1] = s.layers[j][static_cast<size_t>(c)];
  LayerCount = static_cast<int16_t>(layers);
  // The foreign file's layers are rounded as the program's own, whatever
  // the sounding before was: the file written does not depend on it.
  LayerModelAsRead = false;

  SoundingComment = s.comment;
  InstrumentName = s.instrument;
  GraphTitle = s.title;
  SoundingX = s.x;
  SoundingY = s.y;
  SoundingZ = s.z;
  SoundingAzimuth = s.azimuth;

  MaxSpacing = s.maxSpacing != 0 ? s.maxSpacing : MaxSpacingOfPoints();
  if (KnownArrayCode(s)) ArrayCode = *s.arrayCode;

  SoundingReadFailed = kFalse;
  ConvertedFromOlderFormat = kFalse;
  // Not saved yet: starting another sounding asks first.
  const bool texts = !(s.comment + s.title + s.x + s.y + s.z + s.azimuth).isEmpty();
  MarkSoundingModified(
      static_cast<int16_t>(kUnsavedReadings | (layers > 0 ? kUnsavedModel : 0) | (texts ? kUnsavedTexts : 0)));
}

void ApplyImportedSounding(const ImportedSounding& s) {
  PutImportedSounding(s);
  // The buttons follow, and the array's handler lays out its labels.
  if (KnownArrayCode(s)) vb::Step([&] { SelectArrayOption(*s.arrayCode); });

  // The boxes show the new texts: the save stores what they show.
  vb::Step([] { ShowSoundingTexts(); });
  vb::Step([] { FillDataGrid(); });
  // A model window left open would bring the sounding before back.
  vb::Step([] { CallHook(Ui().unloadModelWindow); });
  vb::Step([] { RedrawBilog(); });

  if (s.points.size() > static_cast<size_t>(kMaxFilePoints))
    MsgBox(FirstPointsOnlyText(), MsgButtons::OK, MsgIcon::Exclamation);
  if (s.layers.size() > static_cast<size_t>(kMaxLayers))
    MsgBox(FirstLayersOnlyText(), MsgButtons::OK, MsgIcon::Exclamation);
}

QString TargetTm3Name(const QString& path, int cut) {
  if (path.isEmpty()) return path;
  const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
  const qsizetype nameLength = path.size() - (slash + 1);
  if (cut < 0 || cut > 4 || nameLength <= cut) return path + QStringLiteral(".TM3");
  return path.left(path.size() - cut) + QStringLiteral(".TM3").right(cut);
}

bool RunSingleSoundingImport(const SingleSoundingImport& import) {
  // A converted file replaces the sounding: readings or a model changed
  // since the last save are not given up unasked.
  if (!MayGiveUpSounding(SoundingReplacedBy::OpenedFile)) return false;
  BusyPointer busy;
  // Whatever happens from here, the sounding kept is the one before or the
  // one written (declared after the pointer: the pointer is the last back).
  ConversionEnd end;
  ModeWord = QStringLiteral("NORMAL");
  if (import.prepare && !import.prepare()) return false;

  QString path, title;
  if (!ChooseForeignFile(import.dialog, path, title)) return false;
  FileTitle = title;
  FilePath = path;

  ImportResult result;
  try {
    result = import.parse(ReadFileBytes(path));
  } catch (const vb::VbError&) {
    result = ImportResult();
    result.outcome = ImportResult::Outcome::ReadingError;
  }

  if (result.outcome == ImportResult::Outcome::Refused) {
    ShowImportMessages(result);
    return false;
  }
  if (import.review && !import.review(result)) return false;

  const bool failed = result.outcome == ImportResult::Outcome::ReadingError;
  if (failed) ShowImportReadingError(import.errorText);
  ShowImportMessages(result);
  if (result.sounding.points.empty()) {
    if (!failed) ShowNoReadings();
    return false;
  }

  end.Replacing();
  ApplyImportedSounding(result.sounding);
  FilePath = TargetTm3Name(FilePath, import.cut);
  const bool wrote = import.save ? import.save(FilePath) : SaveConvertedSounding(FilePath);
  if (wrote) end.Written(FilePath);
  return wrote;
}

}  // namespace tellumo
