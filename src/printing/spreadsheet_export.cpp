#include "printing/spreadsheet_export.h"

#include <algorithm>
#include <vector>

#include "mainwindow/program_state.h"
#include "mainwindow/ui_hooks.h"
#include "modelling/engine_hooks.h"
#include "modelling/forward_computation.h"
#include "modelling/modelling_state.h"
#include "modelling/superposition.h"
#include "modelling/superposition_store.h"
#include "platform/common_dialog.h"
#include "platform/language.h"
#include "platform/message_service.h"
#include "platform/pointer_state.h"
#include "platform/text_file.h"
#include "platform/vb.h"
#include "sounding/file_helpers.h"
#include "sounding/open_save.h"
#include "sounding/sounding_record.h"

namespace tellumo {

QString ExportPath;
QString ExportTitle;

namespace {

// A spreadsheet column is 7 characters wide: the sign blank and six.
constexpr int kCutWidth = 7;
// Added to every spacing so that its text always shows decimals (10 gives
// " 10.000", not " 10").
constexpr double kSpacingOffset = 1.1E-05;

// Digits of a number's text from its first non-zero one, exponent aside.
int SignificantDigits(const QString& text) {
  int digits = 0;
  bool leading = true;
  for (QChar c : text) {
    if (c == QLatin1Char('E')) break;
    if (!c.isDigit()) continue;
    if (leading && c == QLatin1Char('0')) continue;
    leading = false;
    ++digits;
  }
  return digits;
}

// The general text of a value at the precision it was kept in, the shortest
// that gives it back. Field points and layers read from a sounding file are
// singles: shown with a double's 15 digits, the 12.34 the user typed would
// come out as 12.3400001525879, so a single cell prints its 7 digits. A
// double cell (typed in a grid or computed) keeps its own digits, as the
// grids show it. The superposition store holds every model as doubles,
// whatever precision the layer cell had: a double that a single holds
// exactly and that needs more than the 9 digits any single is given back by
// can only have come from a single, and is written as that single.
QString GeneralText(const vb::Cell& c) {
  if (c.kind() != vb::Cell::Kind::Double) return c.printText();
  const double v = c.value();
  const float f = static_cast<float>(v);
  const QString full = vb::Str(v);
  if (static_cast<double>(f) == v && SignificantDigits(full) > 9) return vb::StrSingle(f);
  return full;
}

// A number as the spreadsheet reads it: blank (or minus) before, blank
// after; a cell never set is nothing at all.
QString Written(const vb::Cell& c) {
  if (c.empty()) return {};
  return GeneralText(c) + QLatin1Char(' ');
}

// A model value: every model gives two numbers per layer line, so a layer
// the store never received counts as 0.
QString WrittenModelValue(const vb::Cell& c) { return c.empty() ? Written(vb::Cell(0.0)) : Written(c); }

// A curve value cut to its column. A text whose first seven characters
// would not keep all its integer digits or its exponent is written whole:
// cut, 1234567.8 would read as 123456 and 1.5E-05 as 1.5.
QString CutText(double v) {
  const QString t = vb::Str(v);
  if (t.size() <= kCutWidth || t.contains(QLatin1Char('E'))) return t;
  const qsizetype point = t.indexOf(QLatin1Char('.'));
  const qsizetype integerEnd = point < 0 ? t.size() : point;
  return integerEnd > kCutWidth ? t : t.left(kCutWidth);
}

// The export's own messages: their Spanish wording is not the sounding
// save's.
void ShowExportWriteError(int number) {
  QString text;
  if (number == vb::kErrPermissionDenied)
    text = Lang(QStringLiteral("Disquette protégée en écriture..."),
                QStringLiteral("Disco protegido contra escritura..."), QStringLiteral("Write protected disk..."));
  else if (number == vb::kErrPathNotFound || number == vb::kErrDeviceUnavailable)
    text = Lang(QStringLiteral("Disque ou répertoire inexistant..."), QStringLiteral("Disco o directorio no existe..."),
                QStringLiteral("No such disk or directory..."));
  else
    text = Lang(QStringLiteral("Erreur lors de l'enregistrement du fichier..."),
                QStringLiteral("Error al salvar fichero..."), QStringLiteral("Recording File Error..."));
  MsgBox(text, MsgButtons::OK, MsgIcon::Exclamation);
}

// The save dialog, and the name it gives with the TXL extension. False when
// the user cancels: nothing is written and the names stay as they were.
bool ChooseExportFile() {
  const std::optional<SaveName> chosen = ChooseSaveNameWithExtension(
      QStringLiteral("File Tellumo (*.TXL)|*.TXL"), QStringLiteral("Record File for XL"), ExportPath, QStringLiteral("TXL"));
  if (!chosen) return false;
  ExportTitle = chosen->title;
  ExportPath = chosen->path;
  CurrentFolder = chosen->folder;
  return true;
}

// The current model as the user had it, kept aside while every model passes
// through LayerModel to be computed.
struct HeldModel {
  vb::Cell layers[kLayerRows][kLayerCols];
  int16_t count = LayerCount;
  HeldModel() { std::copy(&LayerModel[0][0], &LayerModel[0][0] + kLayerRows * kLayerCols, &layers[0][0]); }
  ~HeldModel() {
    std::copy(&layers[0][0], &layers[0][0] + kLayerRows * kLayerCols, &LayerModel[0][0]);
    LayerCount = count;
  }
  HeldModel(const HeldModel&) = delete;
  HeldModel& operator=(const HeldModel&) = delete;
};

// The whole file as bytes, composed before anything is written so that a
// failed write leaves no half file.
QByteArray ComposeExport() {
  ModeWord = QStringLiteral("FICHIER");
  TextWriter out;

  // Field points.
  const int points = std::clamp<int>(PointCount, 0, kFieldRows - 1);
  out.writeLine(Written(vb::Cell(static_cast<int>(PointCount))));
  for (int i = 1; i <= points; ++i) {
    QString line;
    for (int k = kSpacing1; k <= kCurrent; ++k) line += Written(FieldData[i][k]);
    out.writeLine(line);
  }

  // The models in column order: the current one (parked in the slot after
  // the stored ones, which while the user browses still holds the model
  // current before browsing), then the stored ones from the last to the
  // first; a slot without a model is no sounding and gets no column.
  ParkCurrentModel();
  const int stored = std::clamp<int>(SuperposedCount, 0, kMaxSuperposed);
  std::vector<int> columns{stored + 1};
  for (int j = stored; j >= 1; --j)
    if (SlotHoldsModel(j)) columns.push_back(j);

  for (int r = 1; r <= kMaxLayers; ++r) {
    QString line;
    for (int s : columns)
      line += WrittenModelValue(SuperposedModels[s][1][r]) + WrittenModelValue(SuperposedModels[s][2][r]);
    out.writeLine(line);
  }

  // The curves: one row per curve point, the spacing then one resistivity
  // per model, each model's from its own computation. The rows are this
  // export's own: no curve computed now means no rows.
  std::vector<QString> rows;
  {
    const HeldModel held;
    for (int s : columns) {
      CopySlotToModel(s);
      const bool computes = MaxSpacing != 0;
      ComputeModelCurve();
      if (!computes) continue;
      const int last = std::clamp<int>(CurvePointCount, 0, 100);
      if (rows.empty())
        for (int p = 1; p <= last && ComputedCurve[p][2] > 0.0; ++p)
          rows.push_back(CutText(ComputedCurve[p][2] + kSpacingOffset));
      const int upto = std::min<int>(last, static_cast<int>(rows.size()));
      for (int p = 1; p <= upto; ++p) rows[p - 1] += CutText(ComputedCurve[p][1]);
    }
  }

  // The count line is one more than the curve lines that follow it.
  out.writeLine(Written(vb::Cell(static_cast<int>(rows.size()) + 1)));
  for (const QString& row : rows) out.writeLine(row);
  return out.bytes();
}

}  // namespace

void xlsave_Click() {
  for (;;) {
    // A file chosen before in this run is offered first.
    bool dialog = true;
    if (!ExportTitle.isEmpty() && ExportTitle != QStringLiteral("NEW")) {
      const QString text = Lang(QStringLiteral("Sauvegarde du fichier "), QStringLiteral("Salvar fichero "),
                                QStringLiteral("Recording File ")) +
                           ExportPath;
      dialog = MsgBox(text, MsgButtons::YesNo, MsgIcon::Question) == MsgAnswer::No;
    }
    if (dialog && !ChooseExportFile()) {
      ModeWord.clear();
      return;
    }

    const QByteArray bytes = ComposeExport();
    // The curve computations showed the hourglass over the plot.
    BilogPointer().set(Pointer::Cross);
    ModeWord.clear();
    try {
      WriteFileBytes(ExportPath, bytes);
    } catch (const vb::VbError& e) {
      // The user may choose another file; nothing of this one was written.
      ShowExportWriteError(e.number());
      continue;
    }
    CallHook(Ui().setMainCaption, ProgramTitle + QStringLiteral(" [") + FilePath + QStringLiteral("]"));
    return;
  }
}

void ResetSpreadsheetExportState() {
  ExportPath.clear();
  ExportTitle.clear();
}

}  // namespace tellumo
