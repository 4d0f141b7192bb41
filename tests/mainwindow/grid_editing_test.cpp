// Editing the field-data grid through its handlers: the key filter, fresh
// cells, the K column, pasting, and inserting and deleting rows.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "mainwindow/data_tab.h"
#include "mainwindow/field_data.h"
#include "mainwindow/grid_editing.h"
#include "mainwindow/program_state.h"
#include "sounding/sounding_record.h"
#include "support/fixtures.h"

namespace tellumo {
namespace {

class GridEditingTest : public test::StateTest {
 protected:
  void SetUp() override {
    StateTest::SetUp();
    Option1 = kTrue;
    FileTitle = QStringLiteral("typed.TM3");
    LayOutDataGrid();
    DataTabUi().clipboardText = [this] { return clipboard; };
    DataTabUi().clearClipboard = [this] {
      clipboard.clear();
      ++clipboardClears;
    };
    DataTabUi().focusGrid = [this] { ++focus; };
  }

  static GridModel& G() { return BuildGrid(); }
  static void Select(int r, int c) {
    G().setRow(r);
    G().setCol(c);
  }
  static void Keys(const std::vector<int>& codes) {
    for (int code : codes) {
      int16_t k = static_cast<int16_t>(code);
      G().fireKeyDown(k, 0);
    }
  }
  // A sounding of n points without readings: spacing 10·r, resistivity r,
  // computed, so that column 7 holds each point's unshifted resistivity.
  static void TypedSounding(int n) {
    for (int r = 1; r <= n; ++r) {
      G().setTextMatrix(r, 2, vb::Str(10 * r));
      G().setTextMatrix(r, 6, QString::number(r));
    }
    ComputeFieldData();
    ASSERT_EQ(PointCount, n);
  }
  static void ExpectRowNumbers() {
    ASSERT_EQ(G().Rows(), 51);
    for (int r = 1; r <= 50; ++r) EXPECT_EQ(G().TextMatrix(r, 0), vb::Str(r)) << r;
    EXPECT_EQ(G().TextMatrix(0, 2), "AB/2");
  }

  QString clipboard;
  int clipboardClears = 0;
  int focus = 0;
};

TEST_F(GridEditingTest, KeyFilter) {
  struct Case {
    const char* name;
    const char* before;
    int16_t fresh;
    std::vector<int> keys;
    const char* after;
  } cases[] = {
      {"digits and the full stop replace a fresh cell", "7", 1, {49, 50, 190, 53}, "12.5"},
      {"keypad digits and decimal key", "7", 1, {97, 98, 110, 101}, "12.5"},
      {"the comma is the decimal point", "", 1, {49, 188, 53}, "1.5"},
      {"Backspace removes the last character", "123", 0, {8}, "12"},
      {"Backspace in a fresh cell empties it", "123", 1, {8}, ""},
      {"Backspace in an empty cell", "", 0, {8}, ""},
      {"keys append to a cell already typed into", "4", 0, {48}, "40"},
      {"letters are ignored", "7", 1, {65, 90}, "7"},
      {"minus keys are ignored", "7", 0, {189, 109}, "7"},
      {"arrows, Enter, space are ignored", "7", 1, {37, 38, 39, 40, 13, 32}, "7"},
      {"the Delete key leaves the cell", "3", 0, {46}, "3"},
      {"Delete does not use up a fresh cell", "3", 1, {46, 49}, "1"},
      {"a second decimal point is not typed", "7", 1, {49, 190, 53, 188, 53, 110}, "1.55"},
      {"nor one into a cell that holds one", "2.5", 0, {190, 48}, "2.50"},
      {"a fresh cell takes a point again", "2.5", 1, {190, 53}, ".5"},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(tc.name);
    Select(4, 3);
    G().setText(QString::fromUtf8(tc.before));
    FreshCellFlag = tc.fresh;
    Keys(tc.keys);
    EXPECT_EQ(G().TextMatrix(4, 3), QString::fromUtf8(tc.after));
  }
}

TEST_F(GridEditingTest, OnlyAnAcceptedKeyUsesUpTheFreshCell) {
  Select(2, 2);
  G().setText(QStringLiteral("9"));
  FreshCellFlag = 1;
  Keys({65});
  EXPECT_EQ(FreshCellFlag, 1);
  EXPECT_FALSE(FieldDataPending());
  Keys({49});
  EXPECT_EQ(FreshCellFlag, 0);
  EXPECT_TRUE(FieldDataPending());
  int16_t k = 100;  // keypad 4: the handler hands back the code it used
  G().fireKeyDown(k, 0);
  EXPECT_EQ(k, 52);
  EXPECT_EQ(G().Text(), "14");
}

TEST_F(GridEditingTest, AClickMakesTheNextCellStartEmpty) {
  Select(1, 2);
  G().setText(QStringLiteral("7"));
  BuildGrid_Click();
  Keys({49, 50});
  EXPECT_EQ(G().TextMatrix(1, 2), "12");
  Select(2, 2);
  G().setText(QStringLiteral("8"));
  BuildGrid_ArmFreshCell();
  Keys({51});
  EXPECT_EQ(G().TextMatrix(2, 2), "3");
  EXPECT_EQ(focus, 1);
}

TEST_F(GridEditingTest, TheKColumnCannotBeTypedIntoButKeysStillPass) {
  struct Case {
    int16_t french, spanish;
    const char* text;
  } cases[] = {
      {kTrue, kFalse, "Le facteur K est calculé, il n'est pas à introduire"},
      {kFalse, kTrue, "El factor K está calculado por el programa, no se debe introducir"},
      {kFalse, kFalse, "You cannot enter a value, K is calculated"},
  };
  for (const Case& tc : cases) {
    IsFrench = tc.french;
    IsSpanish = tc.spanish;
    boxes.boxes.clear();
    Select(3, 5);
    boxes.answer(MsgAnswer::OK);
    BuildGrid_Click();
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, QString::fromUtf8(tc.text));
    EXPECT_EQ(boxes.boxes[0].icon, MsgIcon::Question);
    EXPECT_EQ(boxes.boxes[0].buttons, MsgButtons::OK);
    EXPECT_EQ(boxes.boxes[0].caption, ProgramTitle);
  }
  EXPECT_EQ(focus, 0);
  Keys({55});
  EXPECT_EQ(G().TextMatrix(3, 5), "7");
}

TEST_F(GridEditingTest, RetypingAResistivityClearsTheUnshiftedValue) {
  G().setTextMatrix(1, 2, QStringLiteral(" 10"));
  G().setTextMatrix(1, 6, QStringLiteral(" 55"));
  FieldData[1][kRhoUnshifted] = 55.0;  // as a file leaves it
  Select(1, 6);
  FreshCellFlag = 1;
  Keys({56});
  EXPECT_EQ(FieldData[1][kRhoUnshifted].value(), 0.0);
  ComputeFieldData();
  EXPECT_DOUBLE_EQ(FieldData[1][kRhoApparent], 8);
}

TEST_F(GridEditingTest, HeadingsAndRowNumbersAreNotTyped) {
  Select(0, 2);
  FreshCellFlag = 1;
  Keys({49, 8});
  EXPECT_EQ(G().TextMatrix(0, 2), "AB/2");
  Select(4, 0);
  Keys({49});
  EXPECT_EQ(G().TextMatrix(4, 0), " 4");
  EXPECT_FALSE(FieldDataPending());
}

TEST_F(GridEditingTest, Paste) {
  struct Case {
    const char* name;
    int row;
    QString text;
    std::map<int, const char*> expected;  // row -> text of column 2; others stay "x"
    bool cleared;
  } cases[] = {
      {"CR LF after each value", 3, QStringLiteral("10\r\n20\r\n"), {{3, "10"}, {4, "20"}}, true},
      {"a last value without a line end is written", 3, QStringLiteral("10\r\n20"), {{3, "10"}, {4, "20"}}, true},
      {"a single value without a line end", 3, QStringLiteral(" 7 "), {{3, "7"}}, true},
      {"blanks after the last line end write nothing", 3, QStringLiteral("10\r\n  "), {{3, "10"}}, true},
      {"LF line ends", 3, QStringLiteral("10\n20\n"), {{3, "10"}, {4, "20"}}, true},
      {"CR line ends", 3, QStringLiteral("10\r20\r"), {{3, "10"}, {4, "20"}}, true},
      {"an empty line empties its cell", 3, QStringLiteral("10\r\n\r\n30\r\n"), {{3, "10"}, {4, ""}, {5, "30"}}, true},
      {"comma and blanks", 3, QStringLiteral(" 12,5 \r\n"), {{3, "12.5"}}, true},
      {"only the first column of a spreadsheet", 3, QStringLiteral("10\t99\r\n"), {{3, "10"}}, true},
      {"down to row 50", 49, QStringLiteral("1\r\n2\r\n"), {{49, "1"}, {50, "2"}}, true},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(tc.name);
    for (int r = 1; r <= 50; ++r) G().setTextMatrix(r, 2, QStringLiteral("x"));
    Select(tc.row, 2);
    clipboard = tc.text;
    clipboardClears = 0;
    FreshCellFlag = 0;
    BuildGrid_DblClick();
    for (int r = 1; r <= 50; ++r) {
      auto it = tc.expected.find(r);
      EXPECT_EQ(G().TextMatrix(r, 2), it == tc.expected.end() ? "x" : it->second) << r;
    }
    EXPECT_EQ(clipboardClears, tc.cleared ? 1 : 0);
    EXPECT_EQ(FreshCellFlag, 0);
    EXPECT_EQ(G().Row(), tc.row);
  }
}

TEST_F(GridEditingTest, PastingSixtyLinesStopsAtRowFifty) {
  // Rows beyond the grid are not pasted, and the message says how many; the
  // clipboard keeps the text for the rest.
  struct Case {
    const char* name;
    int from, lines;
    bool lastLineEnd;
    QString message;
  } cases[] = {
      {"sixty lines", 1, 60, true,
       QStringLiteral("The grid has 50 rows: 10 values beyond row 50 were not pasted. The clipboard still holds the "
                      "text.")},
      {"sixty lines, the last without its end", 1, 60, false,
       QStringLiteral("The grid has 50 rows: 10 values beyond row 50 were not pasted. The clipboard still holds the "
                      "text.")},
      {"three lines from row 49", 49, 3, true,
       QStringLiteral("The grid has 50 rows: 1 value beyond row 50 was not pasted. The clipboard still holds the "
                      "text.")},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(tc.name);
    QString text;
    for (int i = 1; i <= tc.lines; ++i) {
      text += QString::number(i);
      if (i < tc.lines || tc.lastLineEnd) text += QStringLiteral("\r\n");
    }
    clipboardClears = 0;
    boxes.boxes.clear();
    boxes.answer(MsgAnswer::OK);
    Select(tc.from, 3);
    PasteIntoGrid(text);
    for (int r = tc.from; r <= 50; ++r) EXPECT_EQ(G().TextMatrix(r, 3), QString::number(r - tc.from + 1));
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, tc.message);
    EXPECT_EQ(boxes.boxes[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(clipboardClears, 0);
    ExpectRowNumbers();
  }
  // Blank lines beyond the grid hold nothing to leave out.
  Select(50, 3);
  PasteIntoGrid(QStringLiteral("5\r\n\r\n  \r\n"));
  EXPECT_EQ(G().TextMatrix(50, 3), "5");
  EXPECT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(clipboardClears, 1);
}

TEST_F(GridEditingTest, CtrlVAndShiftInsertPasteAsTheDoubleClick) {
  struct Case {
    const char* name;
    int16_t key, shift;
    bool pastes;
  } cases[] = {
      {"Ctrl+V", 86, 2, true},
      {"Ctrl+Shift+V", 86, 3, true},
      {"Shift+Insert", 45, 1, true},
      {"V alone", 86, 0, false},
      {"Alt+Ctrl+V", 86, 6, false},
      {"Insert alone", 45, 0, false},
      {"Ctrl+Insert", 45, 2, false},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(tc.name);
    for (int r = 1; r <= 5; ++r) G().setTextMatrix(r, 3, QStringLiteral("x"));
    clipboard = QStringLiteral("10\r\n20\r\n30");
    clipboardClears = 0;
    Select(2, 3);
    FreshCellFlag = 1;
    int16_t key = tc.key;
    G().fireKeyDown(key, tc.shift);
    const char* expected[] = {"x", "10", "20", "30", "x"};
    for (int r = 1; r <= 5; ++r) EXPECT_EQ(G().TextMatrix(r, 3), tc.pastes ? expected[r - 1] : "x") << r;
    EXPECT_EQ(clipboardClears, tc.pastes ? 1 : 0);
    // As the double click, pasting leaves the fresh cell armed.
    EXPECT_EQ(FreshCellFlag, 1);
    EXPECT_EQ(G().Row(), 2);
  }
}

TEST_F(GridEditingTest, PastingWhatIsNotANumber) {
  G().setTextMatrix(4, 2, QStringLiteral("kept"));
  Select(3, 2);
  boxes.answer(MsgAnswer::OK);
  PasteIntoGrid(QStringLiteral("10\r\nabc\r\n30\r\n-4.5\r\n1.5E-02\r\n"));
  EXPECT_EQ(G().TextMatrix(3, 2), "10");
  EXPECT_EQ(G().TextMatrix(4, 2), "kept");
  EXPECT_EQ(G().TextMatrix(5, 2), "30");
  EXPECT_EQ(G().TextMatrix(6, 2), "-4.5");
  EXPECT_EQ(G().TextMatrix(7, 2), "1.5E-02");  // the exponent form a spreadsheet copies
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "What is not a number was not pasted: abc");
}

TEST_F(GridEditingTest, PastingAHugeText) {
  // One line far too long for a number, then more lines than the grid has.
  QString text = QString(300, QChar('1')) + QStringLiteral("\r\n");
  for (int i = 0; i < 100000; ++i) text += QStringLiteral("5\r\n");
  Select(1, 2);
  boxes.answer(MsgAnswer::OK);
  boxes.answer(MsgAnswer::OK);
  PasteIntoGrid(text);
  EXPECT_EQ(G().TextMatrix(1, 2), "");
  EXPECT_EQ(G().TextMatrix(2, 2), "5");
  EXPECT_EQ(G().TextMatrix(50, 2), "5");
  ASSERT_EQ(boxes.boxes.size(), 2u);
  EXPECT_TRUE(boxes.boxes[0].text.startsWith(QStringLiteral("What is not a number was not pasted: 111")));
  EXPECT_TRUE(boxes.boxes[1].text.startsWith(QStringLiteral("The grid has 50 rows: 99951 values beyond row 50")));
  ExpectRowNumbers();
}

TEST_F(GridEditingTest, PastingResistivitiesClearsTheirUnshiftedValues) {
  FieldData[2][kRhoUnshifted] = 40.0;
  FieldData[3][kRhoUnshifted] = 50.0;
  Select(2, 6);
  PasteIntoGrid(QStringLiteral("7\r\n"));
  EXPECT_EQ(FieldData[2][kRhoUnshifted].value(), 0.0);
  EXPECT_EQ(FieldData[3][kRhoUnshifted].value(), 50.0);
  EXPECT_TRUE(FieldDataPending());
}

TEST_F(GridEditingTest, NothingIsPastedIntoTheHeadings) {
  Select(0, 2);
  PasteIntoGrid(QStringLiteral("10\r\n"));
  EXPECT_EQ(G().TextMatrix(0, 2), "AB/2");
  EXPECT_EQ(G().TextMatrix(1, 2), "");
  EXPECT_EQ(clipboardClears, 0);
}

TEST_F(GridEditingTest, InsertAboveRowFive) {
  TypedSounding(10);
  Select(5, 4);
  FreshCellFlag = 0;
  RecordButton_Click();
  ExpectRowNumbers();
  EXPECT_EQ(G().TextMatrix(5, 2), "1");
  EXPECT_EQ(G().TextMatrix(5, 6), "");
  EXPECT_EQ(FieldData[5][kRhoUnshifted].value(), -1.0);
  for (int r = 6; r <= 11; ++r) {
    EXPECT_EQ(G().TextMatrix(r, 2), vb::Str(10 * (r - 1))) << r;
    EXPECT_DOUBLE_EQ(FieldData[r][kRhoUnshifted], r - 1) << r;
  }
  EXPECT_EQ(G().Row(), 5);
  EXPECT_EQ(G().Col(), 1);
  EXPECT_EQ(FreshCellFlag, 1);
  EXPECT_EQ(focus, 1);
  EXPECT_TRUE(G().Redraw());

  // The placeholder point gets a resistivity of 1 and moves up one row.
  ComputeFieldData();
  EXPECT_EQ(PointCount, 11);
  EXPECT_DOUBLE_EQ(FieldData[4][kSpacing1], 1);
  EXPECT_DOUBLE_EQ(FieldData[4][kRhoApparent], 1);
}

TEST_F(GridEditingTest, InsertRefusals) {
  TypedSounding(10);
  struct Case {
    const char* name;
    int row;
    int16_t points;
    bool row50HasData;
    int beeps;
    bool message;
  } cases[] = {
      {"fifty points", 5, 50, false, 1, false},
      {"no spacing on the row", 12, 10, false, 1, false},
      {"the heading row", 0, 10, false, 1, false},
      {"row 50 holds data", 5, 10, true, 0, true},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(tc.name);
    boxes.beeps = 0;
    boxes.boxes.clear();
    PointCount = tc.points;
    G().setTextMatrix(50, 3, tc.row50HasData ? QStringLiteral("5") : QString());
    if (tc.message) boxes.answer(MsgAnswer::OK);
    Select(tc.row, 3);
    RecordButton_Click();
    EXPECT_EQ(boxes.beeps, tc.beeps);
    EXPECT_EQ(boxes.boxes.size(), tc.message ? 1u : 0u);
    if (tc.message) EXPECT_EQ(boxes.boxes[0].text, "Row 50 holds data: delete a line first.");
    ExpectRowNumbers();
    EXPECT_EQ(G().TextMatrix(5, 2), " 50");
    EXPECT_EQ(G().TextMatrix(50, 3), tc.row50HasData ? "5" : "");
    EXPECT_EQ(G().Row(), tc.row);
    EXPECT_EQ(G().Col(), 1);
  }
}

TEST_F(GridEditingTest, DeleteRowFive) {
  TypedSounding(10);
  G().setTextMatrix(50, 2, QStringLiteral("last"));
  Select(5, 2);
  CorrectButton_Click();
  ExpectRowNumbers();
  for (int r = 5; r <= 9; ++r) {
    EXPECT_EQ(G().TextMatrix(r, 2), vb::Str(10 * (r + 1))) << r;
    EXPECT_DOUBLE_EQ(FieldData[r][kRhoUnshifted], r + 1) << r;
  }
  EXPECT_EQ(G().TextMatrix(10, 2), "");
  EXPECT_EQ(G().TextMatrix(49, 2), "last");
  for (int c = 1; c <= 6; ++c) EXPECT_EQ(G().TextMatrix(50, c), "") << c;
  EXPECT_EQ(G().RowHeight(50), 200);
  EXPECT_EQ(G().Row(), 5);
  EXPECT_EQ(G().Col(), 1);
  EXPECT_EQ(FreshCellFlag, 1);
  EXPECT_EQ(focus, 1);
  EXPECT_TRUE(FieldDataPending());
}

TEST_F(GridEditingTest, DeleteRowFiftyKeepsRowFortyNine) {
  PointCount = 50;
  FieldData[49][kRhoUnshifted] = 49.0;
  FieldData[50][kRhoUnshifted] = 50.0;
  FieldData[51][kRhoUnshifted] = 51.0;
  G().setTextMatrix(49, 2, QStringLiteral("490"));
  G().setTextMatrix(50, 2, QStringLiteral("500"));
  Select(50, 2);
  CorrectButton_Click();
  ExpectRowNumbers();
  EXPECT_EQ(G().TextMatrix(49, 2), "490");
  EXPECT_EQ(G().TextMatrix(50, 2), "");
  EXPECT_DOUBLE_EQ(FieldData[49][kRhoUnshifted], 49.0);
  EXPECT_DOUBLE_EQ(FieldData[50][kRhoUnshifted], 51.0);
  EXPECT_EQ(G().Row(), 50);
}

TEST_F(GridEditingTest, DeleteDoesNothingOnTheHeadingsOrWithoutPoints) {
  TypedSounding(3);
  for (int16_t points : {3, 0}) {
    SCOPED_TRACE(points);
    PointCount = points;
    Select(points ? 0 : 2, 2);
    CorrectButton_Click();
    ExpectRowNumbers();
    EXPECT_EQ(G().TextMatrix(1, 2), " 10");
    EXPECT_EQ(G().TextMatrix(2, 2), " 20");
    EXPECT_EQ(G().TextMatrix(0, 6), "Resist.");
    EXPECT_EQ(G().Row(), 0);
    EXPECT_DOUBLE_EQ(FieldData[2][kRhoUnshifted], 2);
  }
}

TEST_F(GridEditingTest, Text3DoubleClickOnTheKColumn) {
  Select(2, 4);
  Text3_DblClick();
  EXPECT_TRUE(boxes.boxes.empty());
  Select(2, 5);
  boxes.answer(MsgAnswer::OK);
  Text3_DblClick();
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "Impossible");
  EXPECT_EQ(boxes.boxes[0].icon, MsgIcon::Critical);
}

TEST_F(GridEditingTest, AdvanceRowStopsAtRowFifty) {
  Select(49, 2);
  BuildGrid_AdvanceRow();
  EXPECT_EQ(G().Row(), 50);
  BuildGrid_AdvanceRow();
  EXPECT_EQ(G().Row(), 50);
}

}  // namespace
}  // namespace tellumo
