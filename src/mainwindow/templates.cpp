#include "mainwindow/templates.h"

#include <QDir>
#include <algorithm>
#include <QFileInfo>

#include "mainwindow/data_tab.h"
#include "mainwindow/field_data.h"
#include "mainwindow/program_state.h"
#include "mainwindow/ui_hooks.h"
#include "modelling/engine_hooks.h"
#include "modelling/modelling_state.h"
#include "platform/common_dialog.h"
#include "platform/language.h"
#include "platform/message_service.h"
#include "platform/text_file.h"
#include "platform/vb_error.h"
#include "sounding/file_helpers.h"
#include "sounding/sounding_record.h"

namespace tellumo {

namespace {

// Far more than 50 points in any layout: a larger file is not a template,
// and is not read into memory.
constexpr qint64 kMaxTemplateBytes = 1 << 20;

bool Blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\x1a'; }

// The file as named, or the one in its folder whose name differs only in
// letter case.
QString FindFile(const QString& path) {
  const QString found = FindFileIgnoringCase(path);
  return found.isEmpty() ? path : found;
}

// One reading of the template named by DataTemplateFile into FieldData and
// the grid; raises on any failure, with FieldData erased.
void ReadAndShowTemplate() {
  int16_t count = 0;
  try {
    // The layout follows the array button, as the template's name does:
    // ArrayCode only takes the button's array when the options are applied,
    // after the template has been read.
    count = ReadTemplateFile(DataTemplateFile, Option3 != 0);
  } catch (const vb::VbError&) {
    // No half-read template is left behind.
    EmptyFieldData();
    throw;
  }
  ShowTemplateSpacings(count);
  MarkGridAhead();
}

void WritePoint(GridModel& g, int i) {
  vb::Step([&] { g.setTextMatrix(i, kGridSpacing1, FieldData[i][kSpacing1].str()); });
  // A negative ΔV read with a negative I is a valid reading and must show.
  if (FieldData[i][kDeltaV] != 0.0)
    vb::Step([&] {
      g.setTextMatrix(i, kGridDeltaV, FieldData[i][kDeltaV].str());
      g.setTextMatrix(i, kGridCurrent, FieldData[i][kCurrent].str());
    });
  if (FieldData[i][kSpacing2] > 0.0)
    vb::Step([&] {
      g.setTextMatrix(i, kGridSpacing2, Option3 ? QString() : FieldData[i][kSpacing2].str());
      g.setTextMatrix(i, kGridK, KFactorText(FieldData[i][kKFactor]));
    });
  vb::Step([&] { g.setTextMatrix(i, kGridRho, FieldData[i][kRhoApparent].str()); });
}

void EmptyRows(GridModel& g, int from, int to) {
  for (int r = std::max(from, 1); r <= to; ++r)
    for (int c = 1; c < kGridCols; ++c) vb::Step([&] { g.setTextMatrix(r, c, QString()); });
}

// The spacing cells (grid columns 1 and 2) as the last template shown left
// them: while the grid still holds just these, another template may take
// their place; spacings the user typed never give way to one.
QString g_templateCells[kGridRows][2];

bool SpacingColumnsFreeForTemplate() {
  const GridModel& g = BuildGrid();
  bool empty = true, asShown = true;
  for (int r = 1; r <= kGridDataRows; ++r) {
    const QString s2 = g.TextMatrix(r, kGridSpacing2), s1 = g.TextMatrix(r, kGridSpacing1);
    if (!s1.trimmed().isEmpty()) empty = false;
    if (s2 != g_templateCells[r][0] || s1 != g_templateCells[r][1]) asShown = false;
  }
  // A new sounding keeps the second-spacing column of the one before; the
  // first spacing being empty is what marks a grid with nothing typed.
  return empty || asShown;
}

// The points the grid can show: the sounding file holds up to 51, the grid
// 50 rows.
int ShownPoints() { return std::clamp<int>(PointCount, 0, kGridDataRows); }

}  // namespace

int16_t ReadTemplateBytes(const QByteArray& bytes, bool wenner) {
  EmptyFieldData();
  // Trailing blanks, line ends and an old end-of-file mark are not items.
  qsizetype end = bytes.size();
  while (end > 0 && Blank(bytes[end - 1])) --end;
  FieldReader in(bytes.left(end));
  int16_t count = 0;
  while (!in.atEnd()) {
    if (count >= kGridDataRows) vb::Raise(vb::kErrSubscript, "more template points than grid rows");
    const int k = count + 1;
    if (wenner) {
      FieldData[k][kSpacing2] = in.readNumber();
    } else {
      FieldData[k][kSpacing1] = in.readNumber();
      FieldData[k][kSpacing2] = in.readNumber();
    }
    count = static_cast<int16_t>(k);
  }
  return count;
}

int16_t ReadTemplateFile(const QString& path, bool wenner) {
  EmptyFieldData();
  const QString file = FindFile(path);
  QFileInfo info(file);
  if (info.exists() && info.size() > kMaxTemplateBytes) vb::Raise(vb::kErrSubscript, "too large for a template");
  return ReadTemplateBytes(ReadFileBytes(file), wenner);
}

void ShowTemplateSpacings(int16_t& Count) {
  GridModel& g = BuildGrid();
  g.setRedraw(false);
  const int shown = std::clamp<int>(Count, 0, kGridDataRows);
  for (int k = 1; k <= shown; ++k)
    vb::Step([&] {
      g.setTextMatrix(k, kGridSpacing2, FieldData[k][kSpacing1].str());
      g.setTextMatrix(k, kGridSpacing1, FieldData[k][kSpacing2].str());
    });
  for (int k = shown + 1; k <= kGridDataRows; ++k)
    vb::Step([&] {
      g.setTextMatrix(k, kGridSpacing2, QString());
      g.setTextMatrix(k, kGridSpacing1, QString());
    });
  for (int k = 1; k <= kGridDataRows; ++k) {
    g_templateCells[k][0] = g.TextMatrix(k, kGridSpacing2);
    g_templateCells[k][1] = g.TextMatrix(k, kGridSpacing1);
  }
  g.setRedraw(true);
}

void ForgetShownTemplate() {
  for (auto& row : g_templateCells)
    for (auto& cell : row) cell.clear();
}

bool LocateSpacingTemplate(const QString& spanishEnding) {
  const QString path = DataTemplateFile;
  MsgBox(Lang(QStringLiteral("Le fichier ") + path + QStringLiteral(" est introuvable ou faux. ") +
                  QStringLiteral(" Cherchez-le et vérifiez..."),
              QStringLiteral("Fichero ") + path + QStringLiteral(" falso o no existe. ") + spanishEnding,
              QStringLiteral("File ") + path + QStringLiteral(" is wrong or not found. ") +
                  QStringLiteral(" Find it and verify...")),
         MsgButtons::OK, MsgIcon::Exclamation);
  // The frame is drawn without field points from now on.
  ModeWord = QStringLiteral("FIELD");

  CommonDialog& d = CmDialog1();
  d.CancelError = true;
  d.Flags = kDlgExplorer;
  d.Filter = QStringLiteral("AB/MN File (*.TXT)|*.TXT");
  d.DialogTitle = QStringLiteral("AB/MN file location");
  d.FileName = QStringLiteral("*.TXT");
  try {
    d.ShowOpen();
  } catch (const vb::VbError&) {
    BilogPointer().set(Pointer::Cross);
    return false;
  }
  DataTemplateFile = d.FileName;
  d.DialogTitle.clear();
  CallHook(Ui().setMainCaption, ProgramTitle + QStringLiteral(" [") + DataTemplateFile + QStringLiteral("]"));
  BilogPointer().set(Pointer::Cross);
  return true;
}

void ShowSpacingTemplateCorrupted() {
  const QString chosen = DataTemplateFile;
  MsgBox(Lang(QStringLiteral("Le fichier ") + chosen + QStringLiteral(" est inutilisable...."),
              QStringLiteral("Fichero ") + chosen + QStringLiteral(" corrompido...."),
              QStringLiteral("File ") + chosen + QStringLiteral(" is corrupted....")),
         MsgButtons::OK, MsgIcon::Exclamation);
}

namespace {

void FillFromPoints(bool emptyRowsBelow) {
  GridModel& g = BuildGrid();
  g.setRedraw(false);
  const int n = ShownPoints();
  for (int i = 1; i <= n; ++i) WritePoint(g, i);
  if (emptyRowsBelow) EmptyRows(g, n + 1, kGridDataRows);
  g.setRedraw(true);
  MarkGridInStep();
}

void TemplateOrPoints() {
  if (!(FileTitle == QStringLiteral("NEW") && FieldData[1][kRhoApparent] == 0.0)) {
    // The rows below the points hold what the user typed after an empty row
    // and the template's spacings still waiting for readings: they stay
    // until the user removes them or a save leaves them out. Only a grid
    // that belongs to another sounding (FieldData replaced without filling
    // it) is emptied below the points.
    FillFromPoints(FieldDataReplacedSinceGrid());
    return;
  }
  // Spacings typed on a new sounding that has no reading yet: there are no
  // points to fill from, and the template must not come back over them.
  if (!SpacingColumnsFreeForTemplate()) return;
  try {
    ReadAndShowTemplate();
    return;
  } catch (const vb::VbError&) {
  }

  if (!LocateSpacingTemplate(QStringLiteral(" Busquelo y controle..."))) return;
  try {
    ReadAndShowTemplate();
  } catch (const vb::VbError&) {
    ShowSpacingTemplateCorrupted();
  }
}

}  // namespace

void LoadFieldDataTemplate() {
  // Refilling the grid from FieldData would throw away what was typed since
  // the last computation.
  bool computed = false;
  vb::Step([&] { computed = ComputePendingFieldData(); });
  // A computation refused (an impossible K or resistivity, the marine-floor
  // correction) keeps the rows as typed for the user to correct: FieldData
  // still holds the points from before, which must not come back over them.
  if (FieldDataRefused()) return;
  // Nor may the template come back over spacings typed on a new sounding
  // whose first row is not complete yet; a template still shown untouched
  // gives way to the template of the array chosen since.
  const bool templateMayReturn =
      FileTitle == QStringLiteral("NEW") && FieldData[1][kRhoApparent] == 0.0 && SpacingColumnsFreeForTemplate();
  if (computed && !templateMayReturn) {
    FillFromPoints(false);
    return;
  }
  TemplateOrPoints();
}

void FillDataGrid() {
  GridModel& g = BuildGrid();
  g.setRedraw(false);
  EmptyRows(g, 1, kGridDataRows);
  const int n = ShownPoints();
  for (int i = 1; i <= n; ++i) WritePoint(g, i);
  g.setRedraw(true);
  MarkGridInStep();
}

void FillDataGridFromPoints() { FillFromPoints(true); }

void InstallDataGridFilling() { Ui().fillDataGrid = [] { FillDataGrid(); }; }

}  // namespace tellumo
