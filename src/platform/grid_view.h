#pragma once
// Shows a grid model in a QTableWidget and hands the user's clicks and keys
// back to it. The table is only a view: it has no in-place editor and no
// search by typed letters; every key goes to the model's KeyDown hook as the
// classic key code with its Shift state, and only the navigation keys move
// the current cell as the table would. The model's first fixed row and
// column are shown as the table's headers, so that they stay in sight while
// the rows scroll.
//
// A column is never narrower than the program sets it, and wider when its
// texts need more room in the table's font: a number is never cut short.
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/grid_model.h"

class QKeyEvent;
class QTableWidget;
class QTableWidgetItem;

namespace tellumo {

// Classic key code of a Qt key: digits 48 to 57 (the keypad's 96 to 105),
// letters 65 to 90, Backspace 8, Enter 13, the arrows 37 to 40, Delete 46,
// the keypad's decimal key 110 (whatever character it gives), the full stop
// 190, the comma 188, the minus 189 (keypad 109)...; 0 for a key without one.
int16_t VbKeyCode(int qtKey, Qt::KeyboardModifiers modifiers);
// Shift state as the classic runtime numbers it: 1 Shift, 2 Ctrl, 4 Alt.
int16_t VbShiftState(Qt::KeyboardModifiers modifiers);

class GridView : public QObject {
  Q_OBJECT
 public:
  // The view belongs to the table and ends with it.
  GridView(GridModel& model, QTableWidget* table);
  ~GridView() override;

  GridModel& model() { return model_; }
  QTableWidget* table() const { return table_; }

  // Runs when the user moves to another cell (with a click or a navigation
  // key), after the model's current cell has followed.
  std::function<void()> CellChanged;

  // Pixels of a size in twips (15 twips per pixel on the screen).
  static int Pixels(int32_t twips);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void onChange(const GridChange& change);
  void readAll();
  void readShape();
  void readCell(int row, int col);
  void readColumn(int col);
  void readSelection();
  void userMovedTo(int tableRow, int tableCol);
  bool handleKey(QKeyEvent* event);
  // Model cell of a table cell and back; -1 when it has none.
  int modelRow(int tableRow) const { return tableRow + rowOffset_; }
  int modelCol(int tableCol) const { return tableCol + colOffset_; }
  QTableWidgetItem* itemAt(int tableRow, int tableCol);
  // Widths that follow the texts. A change only marks its column; the
  // widths are measured once when control returns to the event loop, so a
  // routine filling the whole grid cell by cell costs one measuring.
  void markFit(int col);  // a model column; -1 for all of them
  void fitColumns();
  int neededWidth(int col) const;  // pixels the texts of a model column need
  int shownWidth(int col) const;   // the set width, or the needed one when wider
  void applyWidth(int col);

  GridModel& model_;
  QTableWidget* table_;
  // The table's viewport as it was when the view began: compared with, never
  // asked of the table again in the event filter (see there).
  QPointer<QWidget> viewport_;
  int listener_ = 0;
  int rowOffset_ = 0;  // 1 when the model's row 0 is the header row
  int colOffset_ = 0;  // 1 when the model's column 0 is the header column
  bool syncing_ = false;
  std::vector<int> needed_;  // by model column: pixels its texts need, as last measured
  std::vector<bool> stale_;  // by model column: changed since it was measured
  bool fitQueued_ = false;
};

}  // namespace tellumo
