#include "mainwindow/grid_editing.h"

#include <QRegularExpression>

#include "mainwindow/data_tab.h"
#include "mainwindow/field_data.h"
#include "mainwindow/ui_hooks.h"
#include "platform/language.h"
#include "platform/message_service.h"
#include "platform/vb.h"
#include "platform/vb_error.h"
#include "sounding/sounding_record.h"

namespace tellumo {

int16_t FreshCellFlag = 0;

namespace {

constexpr int16_t kKeyBackspace = 8;
constexpr int16_t kKeyPoint = 46;
constexpr int16_t kKeyInsert = 45;
constexpr int16_t kKeyV = 86;
constexpr int16_t kShiftShift = 1;
constexpr int16_t kShiftCtrl = 2;
constexpr qsizetype kLongestPastedValue = 256;

bool IsFixedCell(const GridModel& g, int row, int col) { return row < g.FixedRows() || col < g.FixedCols(); }

// A row holds a point when any of its spacing, reading, K or resistivity
// cells holds text; column 1 alone (an MN/2 kept for the next sounding, the
// Wenner zero) is not a point.
bool RowHoldsData(const GridModel& g, int row) {
  for (int c = kGridSpacing1; c < kGridCols; ++c)
    if (!g.TextMatrix(row, c).trimmed().isEmpty()) return true;
  return false;
}

// The comma is taken as the decimal point: the keypad's decimal key gives a
// comma on many keyboards, and "12,5" must not become 125.
QString PastedValue(const QString& raw) {
  QString v = raw;
  const qsizetype tab = v.indexOf(QLatin1Char('\t'));
  if (tab >= 0) v.truncate(tab);  // the first column of a spreadsheet's rows
  v = v.trimmed();
  v.replace(QLatin1Char(','), QLatin1Char('.'));
  return v;
}

bool IsPlainNumber(const QString& v) {
  // Numbers as a spreadsheet copies them, exponent form included ("1.5E-02").
  static const QRegularExpression number(
      QStringLiteral("^[+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)([eEdD][+-]?[0-9]+)?$"));
  if (!number.match(v).hasMatch()) return false;
  // 1E+400 has a number's form but no number holds it: the computation
  // would take the cell for 0 without a word.
  return vb::Step([&] { vb::CheckFinite(vb::Val(v)); });
}

}  // namespace

void BuildGrid_KeyDown(int16_t& KeyCode, int16_t Shift) {
  // The desktop's paste keys paste as the double click does: Ctrl+V (with
  // or without Shift) and Shift+Insert.
  if ((KeyCode == kKeyV && (Shift == kShiftCtrl || Shift == (kShiftCtrl | kShiftShift))) ||
      (KeyCode == kKeyInsert && Shift == kShiftShift)) {
    BuildGrid_DblClick();
    return;
  }
  vb::Step([&] {
    // Delete shares its code with the point the full stop becomes below; it
    // must not type one into a reading. It leaves the cell as it is.
    if (KeyCode == kKeyPoint) return;
    // The keypad's digits 96 to 105 become 48 to 57.
    if (KeyCode > 57) KeyCode = static_cast<int16_t>(KeyCode - 48);
    // The keypad's decimal key (110), the full stop (190) and the comma (188)
    // all type the decimal point.
    if (KeyCode == 62 || KeyCode == 142 || KeyCode == 140) KeyCode = kKeyPoint;
    const bool accepted = KeyCode == kKeyBackspace || KeyCode == kKeyPoint || (KeyCode >= 48 && KeyCode <= 57);
    if (!accepted) return;

    GridModel& g = BuildGrid();
    const int row = g.Row();
    const int col = g.Col();
    // The headings and the row numbers are the grid's own.
    if (IsFixedCell(g, row, col)) return;
    if (FreshCellFlag == 1) g.setText(QString());
    FreshCellFlag = 0;
    // A resistivity typed by hand replaces the point's unshifted one.
    if (col == kGridRho) FieldData[row][kRhoUnshifted] = 0.0;

    QString text = g.Text();
    // A number has one decimal point: "1.5.5" would show a reading the
    // computation reads as 1.5.
    if (KeyCode == kKeyPoint && text.contains(QChar('.'))) return;
    if (KeyCode == kKeyBackspace) {
      if (!text.isEmpty()) text.chop(1);
    } else {
      text += KeyCode == kKeyPoint ? QChar('.') : QChar(KeyCode);
    }
    g.setText(text);
    MarkGridEdited();
  });
}

void BuildGrid_Click() {
  FreshCellFlag = 1;
  if (BuildGrid().Col() == kGridK) {
    MsgBox(Lang(QStringLiteral("Le facteur K est calculé, il n'est pas à introduire"),
                QStringLiteral("El factor K está calculado por el programa, no se debe introducir"),
                QStringLiteral("You cannot enter a value, K is calculated")),
           MsgButtons::OK, MsgIcon::Question);
  } else {
    CallHook(DataTabUi().focusGrid);
  }
}

void BuildGrid_DblClick() {
  QString text;
  if (DataTabUi().clipboardText) text = DataTabUi().clipboardText();
  PasteIntoGrid(text);
}

void PasteIntoGrid(const QString& text) {
  GridModel& g = BuildGrid();
  const int col = g.Col();
  int row = g.Row();
  if (IsFixedCell(g, row, col)) return;

  QString value;
  QString firstRefused;
  // Values that fall beyond the grid's last row.
  int leftOut = 0;
  bool wrote = false;
  bool afterCarriageReturn = false;
  bool overlong = false;
  // Only the first column of a spreadsheet's row is taken; the rest of the
  // line, however long, is passed over.
  bool pastFirstColumn = false;
  auto endValue = [&] {
    const QString v = PastedValue(value);
    if (row > kGridDataRows) {
      if (overlong || !v.isEmpty()) ++leftOut;
    } else if (overlong || (!v.isEmpty() && !IsPlainNumber(v))) {
      if (firstRefused.isEmpty()) firstRefused = value.trimmed().left(40);
    } else {
      g.setTextMatrix(row, col, v);
      if (col == kGridRho) FieldData[row][kRhoUnshifted] = 0.0;
      wrote = true;
    }
    ++row;
    value.clear();
    overlong = false;
    pastFirstColumn = false;
  };
  for (const QChar ch : text) {
    if (ch == QChar('\r')) {
      endValue();
      afterCarriageReturn = true;
    } else if (ch == QChar('\n')) {
      if (!afterCarriageReturn) endValue();
      afterCarriageReturn = false;
    } else {
      afterCarriageReturn = false;
      if (pastFirstColumn) continue;
      if (ch == QChar('\t')) {
        pastFirstColumn = true;
        continue;
      }
      // Blanks before the value are no part of it.
      if (value.isEmpty() && ch.isSpace()) continue;
      // No number is this long: such a value is refused whole, whatever its
      // length, without being held in memory.
      if (value.size() < kLongestPastedValue) value += ch;
      else overlong = true;
    }
  }
  // The last value needs no line end after it.
  if (!value.isEmpty() || overlong) endValue();
  if (wrote) MarkGridEdited();
  // A text pasted whole is used up; one that did not fit stays on the
  // clipboard for the user to paste the rest elsewhere.
  if (leftOut == 0) CallHook(DataTabUi().clearClipboard);
  if (!firstRefused.isEmpty())
    MsgBox(Lang(QStringLiteral("Ce qui n'est pas un nombre n'a pas été collé : ") + firstRefused,
                QStringLiteral("Lo que no es un número no se ha pegado: ") + firstRefused,
                QStringLiteral("What is not a number was not pasted: ") + firstRefused),
           MsgButtons::OK, MsgIcon::Exclamation);
  if (leftOut > 0) {
    const QString n = QString::number(leftOut);
    const bool one = leftOut == 1;
    MsgBox(Lang(QStringLiteral("La grille a 50 lignes : ") + n +
                    (one ? QStringLiteral(" valeur au-delà de la ligne 50 n'a pas été collée.")
                         : QStringLiteral(" valeurs au-delà de la ligne 50 n'ont pas été collées.")) +
                    QStringLiteral(" Le presse-papiers contient toujours le texte."),
                QStringLiteral("La tabla tiene 50 líneas: ") + n +
                    (one ? QStringLiteral(" valor más allá de la línea 50 no se ha pegado.")
                         : QStringLiteral(" valores más allá de la línea 50 no se han pegado.")) +
                    QStringLiteral(" El portapapeles todavía contiene el texto."),
                QStringLiteral("The grid has 50 rows: ") + n +
                    (one ? QStringLiteral(" value beyond row 50 was not pasted.")
                         : QStringLiteral(" values beyond row 50 were not pasted.")) +
                    QStringLiteral(" The clipboard still holds the text.")),
           MsgButtons::OK, MsgIcon::Exclamation);
  }
}

void BuildGrid_ArmFreshCell() { FreshCellFlag = 1; }

void BuildGrid_AdvanceRow() {
  vb::Step([] {
    GridModel& g = BuildGrid();
    if (g.Row() < kGridDataRows) g.setRow(g.Row() + 1);
  });
}

void RecordButton_Click() {
  GridModel& g = BuildGrid();
  FreshCellFlag = 1;
  vb::Step([&] { g.setCol(kGridSpacing1); });
  const int r = g.Row();
  double v = 0.0;
  vb::Step([&] { v = vb::Val(g.TextMatrix(r, kGridSpacing1)); });

  bool fullRow50 = false;
  vb::Step([&] { fullRow50 = RowHoldsData(g, kGridDataRows); });
  if (PointCount < kGridDataRows && v > 0.0 && !fullRow50) {
    // The new row holds a placeholder spacing of 1, so that it does not end
    // the data; the computation gives it a resistivity of 1.
    vb::Step([&] {
      g.AddItem(QStringLiteral("\t\t1\t\t\t"), r);
      g.setRowHeight(r, kGridRowHeight);
    });
    vb::Step([&] { g.setCol(0); });
    g.setRedraw(false);
    for (int j = kGridDataRows; j >= r; --j)
      vb::Step([&] {
        FieldData[j + 1][kRhoUnshifted] = FieldData[j][kRhoUnshifted];
        g.setRow(j);
        g.setTextMatrix(j, 0, vb::Str(j));
      });
    FieldData[r][kRhoUnshifted] = -1.0;
    vb::Step([&] {
      g.setRow(kGridRows);
      g.RemoveItem(kGridRows);
    });
    MarkGridEdited();
  } else if (fullRow50 && PointCount < kGridDataRows && v > 0.0) {
    // Inserting would push the last row's point out of the grid.
    MsgBox(Lang(QStringLiteral("La ligne 50 contient des données : supprimez d'abord une ligne."),
                QStringLiteral("La línea 50 contiene datos: borre primero una línea."),
                QStringLiteral("Row 50 holds data: delete a line first.")),
           MsgButtons::OK, MsgIcon::Exclamation);
  } else {
    Messages().beep();
  }
  vb::Step([&] { g.setCol(1); });
  g.setRedraw(true);
  if (r < kGridDataRows) vb::Step([&] { g.setRow(r); });
  CallHook(DataTabUi().focusGrid);
}

void CorrectButton_Click() {
  GridModel& g = BuildGrid();
  FreshCellFlag = 1;
  int r = 0;
  // With the heading row selected there is no point to delete: the heading
  // row and the 51 rows stay.
  if (PointCount >= 1 && g.Row() >= g.FixedRows()) {
    r = g.Row();
    vb::Step([&] { g.RemoveItem(r); });
    vb::Step([&] { g.setCol(0); });
    vb::Step([&] {
      g.AddItem(QString(), kGridDataRows);
      g.setRowHeight(kGridDataRows, kGridRowHeight);
    });
    g.setRedraw(false);
    // From the removed row down, each unshifted resistivity moves up with its
    // row. (Counting from the row selected after the removal would, for row
    // 50, overwrite point 49's value.)
    for (int i = r; i <= kGridDataRows; ++i)
      vb::Step([&] {
        FieldData[i][kRhoUnshifted] = FieldData[i + 1][kRhoUnshifted];
        g.setRow(i);
        g.setTextMatrix(i, 0, vb::Str(i));
      });
    vb::Step([&] { g.setCol(1); });
    g.setRedraw(true);
    MarkGridEdited();
  }
  if (r < kGridDataRows) vb::Step([&] { g.setRow(r); });
  CallHook(DataTabUi().focusGrid);
}

void Text3_DblClick() {
  if (BuildGrid().Col() == kGridK) MsgBox(QStringLiteral("Impossible"), MsgButtons::OK, MsgIcon::Critical);
}

void Form_GotFocus() { CallHook(DataTabUi().focusGrid); }

void ResetGridEditingState() { FreshCellFlag = 0; }

}  // namespace tellumo
