#include <gtest/gtest.h>

#include <vector>

#include "platform/grid_model.h"
#include "platform/vb_error.h"

namespace tellumo {
namespace {

// Column 0 of every row, top to bottom.
std::vector<QString> FirstColumn(const GridModel& g) {
  std::vector<QString> out;
  for (int r = 0; r < g.Rows(); ++r) out.push_back(g.TextMatrix(r, 0));
  return out;
}

struct Recorder {
  explicit Recorder(GridModel& g) : grid(g) {
    id = g.addListener([this](const GridChange& c) { changes.push_back(c); });
  }
  ~Recorder() { grid.removeListener(id); }
  int count(GridChange::Kind k) const {
    int n = 0;
    for (const auto& c : changes) n += c.kind == k;
    return n;
  }
  GridModel& grid;
  int id = 0;
  std::vector<GridChange> changes;
};

TEST(GridModel, ShapeTextsAndCurrentCell) {
  GridModel g(4, 3, 1, 1);
  EXPECT_EQ(g.Rows(), 4);
  EXPECT_EQ(g.Cols(), 3);
  // A fresh grid has its first editable cell current and every cell empty.
  EXPECT_EQ(g.Row(), 1);
  EXPECT_EQ(g.Col(), 1);
  EXPECT_EQ(g.TextMatrix(3, 2), QString());

  g.setTextMatrix(2, 1, "12.5");
  g.setRow(2);
  g.setCol(1);
  EXPECT_EQ(g.Text(), "12.5");
  g.setText(" 7");
  EXPECT_EQ(g.TextMatrix(2, 1), " 7");

  // Code may select the heading row.
  g.setRow(0);
  EXPECT_EQ(g.Row(), 0);

  // Growing keeps the texts, shrinking drops the last rows and pulls the
  // current cell back inside.
  g.setRow(3);
  g.setRows(6);
  EXPECT_EQ(g.TextMatrix(2, 1), " 7");
  EXPECT_EQ(g.TextMatrix(5, 2), QString());
  g.setRows(2);
  EXPECT_EQ(g.Rows(), 2);
  EXPECT_EQ(g.Row(), 1);
  g.setCols(1);
  EXPECT_EQ(g.Col(), 0);
  EXPECT_EQ(g.FixedCols(), 1);
}

TEST(GridModel, CellsOutsideTheGridRaiseSubscriptError) {
  GridModel g(3, 2, 1, 0);
  auto number = [](auto&& f) {
    try {
      f();
    } catch (const vb::VbError& e) {
      return e.number();
    }
    return 0;
  };
  EXPECT_EQ(number([&] { g.TextMatrix(3, 0); }), vb::kErrSubscript);
  EXPECT_EQ(number([&] { g.setTextMatrix(0, 2, "x"); }), vb::kErrSubscript);
  EXPECT_EQ(number([&] { g.TextMatrix(-1, 0); }), vb::kErrSubscript);
  EXPECT_EQ(number([&] { g.setRow(3); }), vb::kErrSubscript);
  EXPECT_EQ(number([&] { g.ColWidth(2); }), vb::kErrSubscript);
  EXPECT_EQ(number([&] { g.setFixedRows(4); }), vb::kErrInvalidCall);
  // A failed write changes nothing.
  EXPECT_EQ(g.Row(), 1);
}

TEST(GridModel, AddItemInsertsTabSeparatedRows) {
  GridModel g(3, 3, 1, 1);
  g.setTextMatrix(0, 0, "head");
  g.setTextMatrix(1, 0, "a");
  g.setTextMatrix(2, 0, "b");
  g.setRowHeight(1, 200);
  g.setRow(2);

  // Before row 1: the fields fill columns 0, 1, 2; extra fields are dropped.
  g.AddItem("new\t\t1\textra", 1);
  EXPECT_EQ(g.Rows(), 4);
  EXPECT_EQ(FirstColumn(g), (std::vector<QString>{"head", "new", "a", "b"}));
  EXPECT_EQ(g.TextMatrix(1, 1), QString());
  EXPECT_EQ(g.TextMatrix(1, 2), "1");
  // The new row has the default height; the old row keeps its own.
  EXPECT_EQ(g.RowHeight(1), GridModel::kDefaultRowHeight);
  EXPECT_EQ(g.RowHeight(2), 200);
  // The current row keeps its number (it now shows another row).
  EXPECT_EQ(g.Row(), 2);

  // Without an index, and with index Rows, the row is appended.
  g.AddItem("end");
  g.AddItem("", g.Rows());
  EXPECT_EQ(FirstColumn(g), (std::vector<QString>{"head", "new", "a", "b", "end", ""}));

  EXPECT_THROW(g.AddItem("x", g.Rows() + 1), vb::VbError);
  EXPECT_THROW(g.AddItem("x", -2), vb::VbError);
  EXPECT_EQ(g.Rows(), 6);
}

TEST(GridModel, RemoveItemDropsARowAndKeepsTheCurrentRowNumber) {
  struct Case {
    const char* name;
    int currentRow;
    int removed;
    std::vector<QString> left;
    int rowAfter;
  };
  const Case cases[] = {
      {"middle row", 2, 2, {"head", "a", "c", "d"}, 2},
      {"row above the current", 3, 1, {"head", "b", "c", "d"}, 3},
      {"last row while current", 4, 4, {"head", "a", "b", "c"}, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GridModel g(5, 2, 1, 1);
    const char* texts[] = {"head", "a", "b", "c", "d"};
    for (int r = 0; r < 5; ++r) g.setTextMatrix(r, 0, texts[r]);
    g.setRow(c.currentRow);
    g.RemoveItem(c.removed);
    EXPECT_EQ(FirstColumn(g), c.left);
    EXPECT_EQ(g.Row(), c.rowAfter);
  }

  // The heading row survives a removal aimed at it, and so does the grid's size.
  GridModel g(3, 2, 1, 1);
  g.setTextMatrix(0, 0, "head");
  EXPECT_THROW(g.RemoveItem(0), vb::VbError);
  EXPECT_THROW(g.RemoveItem(3), vb::VbError);
  EXPECT_EQ(g.Rows(), 3);
  EXPECT_EQ(g.TextMatrix(0, 0), "head");
}

TEST(GridModel, InsertThenTrimKeepsTheRowCount) {
  // The data grid's row insertion: a row goes in at r and the row that falls
  // off the end is removed, so the grid keeps its 51 rows.
  GridModel g(51, 7, 1, 1);
  for (int r = 1; r <= 50; ++r) g.setTextMatrix(r, 2, QString::number(r));
  g.AddItem("\t\t1\t\t\t", 5);
  g.RemoveItem(51);
  EXPECT_EQ(g.Rows(), 51);
  EXPECT_EQ(g.TextMatrix(4, 2), "4");
  EXPECT_EQ(g.TextMatrix(5, 2), "1");
  EXPECT_EQ(g.TextMatrix(6, 2), "5");
  EXPECT_EQ(g.TextMatrix(50, 2), "49");
}

TEST(GridModel, RedrawOffHoldsNotificationsBackUntilSwitchedOn) {
  GridModel g(3, 3, 1, 0);
  Recorder rec(g);

  g.setTextMatrix(1, 1, "x");
  ASSERT_EQ(rec.changes.size(), 1u);
  EXPECT_EQ(rec.changes[0].kind, GridChange::Kind::Text);
  EXPECT_EQ(rec.changes[0].row, 1);
  EXPECT_EQ(rec.changes[0].col, 1);

  rec.changes.clear();
  g.setRedraw(false);
  EXPECT_FALSE(g.Redraw());
  g.setTextMatrix(1, 2, "y");
  g.setCellBackColorAt(1, 2, 0x00FFFF);
  g.AddItem("z");
  g.setRow(2);
  EXPECT_TRUE(rec.changes.empty());
  // The texts are there at once; only the announcing waits.
  EXPECT_EQ(g.TextMatrix(1, 2), "y");
  EXPECT_EQ(g.Rows(), 4);

  g.setRedraw(true);
  ASSERT_EQ(rec.changes.size(), 1u);
  EXPECT_EQ(rec.changes[0].kind, GridChange::Kind::Refresh);

  // Off and on again without a change in between announces nothing.
  rec.changes.clear();
  g.setRedraw(false);
  g.setRedraw(true);
  EXPECT_TRUE(rec.changes.empty());

  // A removed listener hears nothing more.
  g.removeListener(rec.id);
  g.setTextMatrix(1, 1, "w");
  EXPECT_TRUE(rec.changes.empty());
  rec.id = 0;
}

TEST(GridModel, CellFormatsFallBackToTheGrid) {
  GridModel g(3, 2, 1, 0);
  EXPECT_EQ(g.CellBackColorAt(1, 0), 0xFFFFFF);
  EXPECT_EQ(g.CellForeColorAt(1, 0), 0x000000);
  EXPECT_FALSE(g.CellFontBoldAt(1, 0));

  // The current-cell properties act on Row and Col.
  g.setRow(2);
  g.setCol(1);
  g.setCellBackColor(0x00FFFF);
  g.setCellForeColor(0x0000FF);
  g.setCellFontBold(true);
  EXPECT_EQ(g.CellBackColorAt(2, 1), 0x00FFFF);
  EXPECT_EQ(g.CellForeColorAt(2, 1), 0x0000FF);
  EXPECT_TRUE(g.CellFontBoldAt(2, 1));
  EXPECT_EQ(g.CellBackColor(), 0x00FFFF);

  // A grid colour reaches the cells without one of their own only.
  g.setBackColor(0xC0C0C0);
  EXPECT_EQ(g.CellBackColorAt(1, 1), 0xC0C0C0);
  EXPECT_EQ(g.CellBackColorAt(2, 1), 0x00FFFF);

  // A cell's format moves with its row.
  g.AddItem("", 1);
  EXPECT_EQ(g.CellBackColorAt(3, 1), 0x00FFFF);
  EXPECT_EQ(g.CellBackColorAt(2, 1), 0xC0C0C0);
}

TEST(GridModel, FormatStringSetsColumnsAlignmentsAndHeadings) {
  GridModel g(21, 2, 1, 0);
  g.setFormatString(">a |>a |> a|> ");
  EXPECT_EQ(g.Cols(), 4);
  EXPECT_EQ(g.FormatString(), ">a |>a |> a|> ");
  const char* heads[] = {"a ", "a ", " a", " "};
  for (int c = 0; c < 4; ++c) {
    EXPECT_EQ(g.TextMatrix(0, c), heads[c]);
    EXPECT_EQ(g.ColAlignment(c), kAlignRightCenter);
    EXPECT_EQ(g.CellAlignmentAt(5, c), kAlignRightCenter);
  }

  GridModel h(3, 1, 1, 1);
  h.setFormatString("<Name|^Mid|Plain;one|two");
  EXPECT_EQ(h.Cols(), 3);
  EXPECT_EQ(h.ColAlignment(0), kAlignLeftCenter);
  EXPECT_EQ(h.ColAlignment(1), kAlignCenterCenter);
  EXPECT_EQ(h.ColAlignment(2), kAlignGeneral);
  EXPECT_EQ(h.TextMatrix(0, 0), "Name");
  EXPECT_EQ(h.TextMatrix(1, 0), "one");
  EXPECT_EQ(h.TextMatrix(2, 0), "two");
}

TEST(GridModel, HeadingAlignmentFollowsTheColumnUntilSet) {
  GridModel g(3, 3, 1, 1);
  g.setColAlignment(2, kAlignRightCenter);
  EXPECT_EQ(g.CellAlignmentAt(0, 2), kAlignRightCenter);
  g.setFixedAlignment(2, kAlignCenterTop);
  EXPECT_EQ(g.CellAlignmentAt(0, 2), kAlignCenterTop);
  EXPECT_EQ(g.CellAlignmentAt(1, 2), kAlignRightCenter);
  // The fixed column shows its fixed alignment in every row.
  g.setFixedAlignment(0, kAlignLeftTop);
  EXPECT_EQ(g.CellAlignmentAt(2, 0), kAlignLeftTop);
  // A cell's own alignment wins.
  g.setCellAlignmentAt(1, 2, kAlignLeftCenter);
  EXPECT_EQ(g.CellAlignmentAt(1, 2), kAlignLeftCenter);
}

TEST(GridModel, SizesAndResetKeepListenersAndHooks) {
  GridModel g(3, 3, 1, 1);
  EXPECT_EQ(g.ColWidth(0), GridModel::kDefaultColWidth);
  g.setColWidth(0, 832);
  g.setRowHeight(0, 220);
  EXPECT_EQ(g.ColWidth(0), 832);
  EXPECT_EQ(g.RowHeight(0), 220);
  EXPECT_THROW(g.setColWidth(0, -1), vb::VbError);

  int clicks = 0;
  g.Click = [&] { ++clicks; };
  Recorder rec(g);
  g.setTextMatrix(1, 1, "x");
  g.reset(21, 4, 1, 0);
  EXPECT_EQ(g.Rows(), 21);
  EXPECT_EQ(g.Cols(), 4);
  EXPECT_EQ(g.FixedCols(), 0);
  EXPECT_EQ(g.TextMatrix(1, 1), QString());
  EXPECT_EQ(g.ColWidth(0), GridModel::kDefaultColWidth);
  EXPECT_EQ(g.Row(), 1);
  EXPECT_EQ(g.Col(), 0);
  EXPECT_EQ(rec.count(GridChange::Kind::Layout), 1);
  g.fireClick();
  EXPECT_EQ(clicks, 1);
}

TEST(GridModel, EventHooksReachTheHandlers) {
  GridModel g(3, 3, 1, 1);
  // Unset hooks do nothing.
  int16_t key = 65;
  g.fireClick();
  g.fireDblClick();
  g.fireKeyDown(key, 0);
  EXPECT_EQ(key, 65);

  int dbl = 0;
  int16_t seenShift = -1;
  g.DblClick = [&] { ++dbl; };
  // A key handler may change the key code, as the table's handlers do.
  g.KeyDown = [&](int16_t& code, int16_t shift) {
    seenShift = shift;
    if (code > 57) code = static_cast<int16_t>(code - 48);
  };
  g.fireDblClick();
  key = 97;
  g.fireKeyDown(key, 1);
  EXPECT_EQ(dbl, 1);
  EXPECT_EQ(key, 49);
  EXPECT_EQ(seenShift, 1);
}

}  // namespace
}  // namespace tellumo
