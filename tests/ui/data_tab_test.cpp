// The grid view and the data tab on the real widgets, offscreen: what the
// table shows of the grid model, the keys and clicks it hands back, and the
// data tab's buttons, boxes and captions wired to the core.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <iostream>
#include <memory>
#include <vector>

#include "mainwindow/data_tab.h"
#include "mainwindow/data_tab_view.h"
#include "mainwindow/field_data.h"
#include "mainwindow/grid_editing.h"
#include "mainwindow/main_controls_state.h"
#include "mainwindow/program_state.h"
#include "mainwindow/sev_window.h"
#include "mainwindow/ui_hooks.h"
#include "modelling/bilog_frame.h"
#include "modelling/modelling_state.h"
#include "platform/bilog_view.h"
#include "platform/grid_view.h"
#include "sounding/sounding_record.h"
#include "support/fixtures.h"
#include "support/widget_input.h"

namespace tellumo {
namespace {

using test::Mouse;
using test::Press;
using test::Type;

// ---------------------------------------------------------------------------
// The grid view on a grid of its own.

class GridViewTest : public test::StateTest {
 protected:
  void SetUp() override {
    StateTest::SetUp();
    model.setFormatString(QStringLiteral("|>A|>B|>C"));
    for (int r = 1; r < 5; ++r) model.setTextMatrix(r, 0, QString::number(r));
    model.KeyDown = [this](int16_t& code, int16_t shift) { keys.push_back({code, shift}); };
    model.Click = [this] { ++clicks; };
    model.DblClick = [this] { ++doubleClicks; };
    view = new GridView(model, &table);
    view->CellChanged = [this] { ++moves; };
    table.resize(400, 200);
    table.show();
    QCoreApplication::processEvents();
  }

  GridModel model{5, 4, 1, 1};
  QTableWidget table;
  GridView* view = nullptr;
  std::vector<std::pair<int16_t, int16_t>> keys;
  int clicks = 0, doubleClicks = 0, moves = 0;
};

TEST_F(GridViewTest, TableShowsTheModel) {
  // The fixed row and column are the headers; the rest are the cells.
  EXPECT_EQ(table.rowCount(), 4);
  EXPECT_EQ(table.columnCount(), 3);
  EXPECT_EQ(table.horizontalHeaderItem(1)->text(), "B");
  EXPECT_EQ(table.verticalHeaderItem(2)->text(), "3");
  EXPECT_EQ(table.editTriggers(), QAbstractItemView::NoEditTriggers);

  model.setTextMatrix(2, 3, QStringLiteral(" 12.5"));
  EXPECT_EQ(table.item(1, 2)->text(), " 12.5");
  EXPECT_TRUE(table.item(1, 2)->textAlignment() & Qt::AlignRight);

  // With repainting off the table waits, then takes everything at once.
  model.setRedraw(false);
  model.setTextMatrix(3, 1, QStringLiteral("later"));
  EXPECT_NE(table.item(2, 0)->text(), "later");
  model.setRedraw(true);
  EXPECT_EQ(table.item(2, 0)->text(), "later");

  model.setColWidth(2, 1500);
  model.setRowHeight(3, 300);
  EXPECT_EQ(table.columnWidth(1), 100);
  EXPECT_EQ(table.rowHeight(2), 20);
  model.setFontName(QStringLiteral("Arial"));
  model.setFontSize(8.0f);
  EXPECT_DOUBLE_EQ(table.font().pointSizeF(), 8.0);

  model.setRow(4);
  model.setCol(2);
  EXPECT_EQ(table.currentRow(), 3);
  EXPECT_EQ(table.currentColumn(), 1);
  // A heading as the current cell: the table shows no current cell.
  model.setRow(0);
  EXPECT_EQ(table.currentRow(), -1);
  EXPECT_EQ(moves, 0);

  // Rows added and removed.
  model.AddItem(QStringLiteral("x\tnew"), 2);
  EXPECT_EQ(table.rowCount(), 5);
  EXPECT_EQ(table.verticalHeaderItem(1)->text(), "x");
  EXPECT_EQ(table.item(1, 0)->text(), "new");
  model.RemoveItem(2);
  EXPECT_EQ(table.rowCount(), 4);
}

TEST_F(GridViewTest, KeysGoToTheModelAsClassicCodes) {
  struct Case {
    int key;
    Qt::KeyboardModifiers mods;
    int16_t code, shift;
  } cases[] = {
      {Qt::Key_5, Qt::NoModifier, 53, 0},
      {Qt::Key_5, Qt::KeypadModifier, 101, 0},
      {Qt::Key_Period, Qt::NoModifier, 190, 0},
      {Qt::Key_Period, Qt::KeypadModifier, 110, 0},
      {Qt::Key_Comma, Qt::KeypadModifier, 110, 0},
      {Qt::Key_Comma, Qt::NoModifier, 188, 0},
      {Qt::Key_Backspace, Qt::NoModifier, 8, 0},
      {Qt::Key_Delete, Qt::NoModifier, 46, 0},
      {Qt::Key_Minus, Qt::NoModifier, 189, 0},
      {Qt::Key_B, Qt::ShiftModifier, 66, 1},
      {Qt::Key_Down, Qt::ControlModifier, 40, 2},
      {Qt::Key_F2, Qt::AltModifier, 113, 4},
  };
  for (const Case& tc : cases) {
    keys.clear();
    Press(&table, tc.key, tc.mods);
    ASSERT_EQ(keys.size(), 1u) << tc.key;
    EXPECT_EQ(keys[0].first, tc.code) << tc.key;
    EXPECT_EQ(keys[0].second, tc.shift) << tc.key;
  }
  EXPECT_EQ(VbKeyCode(Qt::Key_Exclam, Qt::NoModifier), 0);
  EXPECT_TRUE(table.findChildren<QLineEdit*>().isEmpty());  // no in-place editor
}

TEST_F(GridViewTest, LettersDoNotJumpAndArrowsMove) {
  for (int r = 1; r < 5; ++r) model.setTextMatrix(r, 1, QStringLiteral("b row"));
  model.setRow(1);
  model.setCol(1);
  Press(&table, Qt::Key_B, Qt::NoModifier, QStringLiteral("b"));
  Press(&table, Qt::Key_B, Qt::NoModifier, QStringLiteral("b"));
  EXPECT_EQ(model.Row(), 1);
  EXPECT_EQ(moves, 0);

  Press(&table, Qt::Key_Down);
  EXPECT_EQ(model.Row(), 2);
  Press(&table, Qt::Key_Right);
  EXPECT_EQ(model.Col(), 2);
  EXPECT_EQ(moves, 2);
  // The headings are not reached by the arrows.
  Press(&table, Qt::Key_Up);
  Press(&table, Qt::Key_Up);
  EXPECT_EQ(model.Row(), 1);
  Press(&table, Qt::Key_Left);
  Press(&table, Qt::Key_Left);
  EXPECT_EQ(model.Col(), 1);
}

TEST_F(GridViewTest, ClicksMakeTheCellCurrentFirst) {
  model.KeyDown = nullptr;
  int rowAtClick = -1, colAtClick = -1;
  model.Click = [&] {
    ++clicks;
    rowAtClick = model.Row();
    colAtClick = model.Col();
  };
  Mouse(&table, 2, 1, QEvent::MouseButtonPress);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(rowAtClick, 3);
  EXPECT_EQ(colAtClick, 2);
  EXPECT_EQ(moves, 1);
  EXPECT_EQ(table.currentRow(), 2);
  Mouse(&table, 2, 1, QEvent::MouseButtonDblClick);
  EXPECT_EQ(doubleClicks, 1);
  EXPECT_EQ(moves, 1);
}

// ---------------------------------------------------------------------------
// The data tab of the main window.

class DataTabViewTest : public test::StateTest {
 protected:
  void SetUp() override {
    StateTest::SetUp();
    Option1 = kTrue;
    ArrayCode = QStringLiteral("0");
    FileTitle = QStringLiteral("site.TM3");
    window = std::make_unique<SEV>();
    view = new DataTabView(*window);
    window->resize(1000, 720);
    window->show();
    window->setTab(1);
    QCoreApplication::processEvents();
    Load_build();
    QCoreApplication::processEvents();
  }
  void TearDown() override {
    window.reset();
    StateTest::TearDown();
  }

  QTableWidget* Table() const { return window->BuildGrid; }
  // The table cell of grid cell (row, col): the headings are the table's.
  QTableWidgetItem* Item(int row, int col) const { return Table()->item(row - 1, col - 1); }
  void Click(int row, int col) { Mouse(Table(), row - 1, col - 1, QEvent::MouseButtonPress); }

  std::unique_ptr<SEV> window;
  DataTabView* view = nullptr;
};

TEST_F(DataTabViewTest, LayoutShowsHeadingsAndCaptions) {
  EXPECT_EQ(Table()->rowCount(), 50);
  EXPECT_EQ(Table()->columnCount(), 6);
  const char* headings[] = {"MN/2", "AB/2", "DeltaV", "I", "K", "Resist."};
  for (int c = 0; c < 6; ++c) EXPECT_EQ(Table()->horizontalHeaderItem(c)->text(), headings[c]);
  EXPECT_EQ(Table()->verticalHeaderItem(0)->text(), " 1");
  EXPECT_EQ(Table()->verticalHeaderItem(49)->text(), " 50");
  EXPECT_EQ(window->Computation->text(), "&Compute");

  IsFrench = kTrue;
  Option1 = kFalse;
  Option3 = kTrue;
  lissbox.Value = 1;
  ShiftedFlag = 0;
  window->lissbox->setChecked(true);
  Load_build();
  EXPECT_EQ(window->Frame14->title(), "Données");
  EXPECT_EQ(window->Command1->text(), "&Nouveau SE");
  EXPECT_EQ(window->Label26->text(), "Lissage");
  EXPECT_EQ(Table()->horizontalHeaderItem(0)->text(), "-");
  EXPECT_EQ(Table()->horizontalHeaderItem(1)->text(), "a");
  EXPECT_FALSE(window->lissbox->isEnabled());
  EXPECT_TRUE(window->lissbox->isChecked());
  EXPECT_TRUE(window->Check10->isEnabled());
}

TEST_F(DataTabViewTest, TypingIntoACell) {
  BuildGrid().setTextMatrix(2, 3, QStringLiteral("7"));
  Click(2, 3);
  EXPECT_EQ(BuildGrid().Row(), 2);
  EXPECT_EQ(BuildGrid().Col(), 3);
  EXPECT_EQ(FreshCellFlag, 1);
  Type(Table(), "12.5");
  EXPECT_EQ(BuildGrid().TextMatrix(2, 3), "12.5");
  EXPECT_EQ(Item(2, 3)->text(), "12.5");
  // Keypad digits and the keypad's decimal key, after moving down a row.
  Press(Table(), Qt::Key_Down);
  EXPECT_EQ(BuildGrid().Row(), 3);
  Press(Table(), Qt::Key_3, Qt::KeypadModifier, QStringLiteral("3"));
  Press(Table(), Qt::Key_Comma, Qt::KeypadModifier, QStringLiteral(","));
  Press(Table(), Qt::Key_5, Qt::KeypadModifier, QStringLiteral("5"));
  Press(Table(), Qt::Key_Minus, Qt::NoModifier, QStringLiteral("-"));
  Press(Table(), Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
  EXPECT_EQ(Item(3, 3)->text(), "3.5");
  Press(Table(), Qt::Key_Backspace);
  EXPECT_EQ(Item(3, 3)->text(), "3.");
}

TEST_F(DataTabViewTest, FocusLeavesTheCurrentCellAlone) {
  ASSERT_EQ(BuildGrid().Row(), 0);
  window->activateWindow();
  CallHook(DataTabUi().focusGrid);
  QCoreApplication::processEvents();
  EXPECT_TRUE(Table()->hasFocus());
  EXPECT_EQ(BuildGrid().Row(), 0);
  EXPECT_EQ(BuildGrid().Col(), 1);
}

TEST_F(DataTabViewTest, WindowReceivingTheFocusHandsItToTheGrid) {
  // Activated with no control holding the focus, the window itself has it:
  // the grid takes it. A control that holds the focus keeps it.
  if (QWidget* f = window->focusWidget()) f->clearFocus();
  ASSERT_EQ(window->focusWidget(), nullptr);
  QEvent activate(QEvent::WindowActivate);
  QCoreApplication::sendEvent(window.get(), &activate);
  EXPECT_EQ(window->focusWidget(), Table());

  window->Reau->setFocus();
  QCoreApplication::sendEvent(window.get(), &activate);
  EXPECT_EQ(window->focusWidget(), window->Reau);
}

TEST_F(DataTabViewTest, ClickOnTheKColumnExplains) {
  boxes.answer(MsgAnswer::OK);
  Click(4, 5);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "You cannot enter a value, K is calculated");
}

TEST_F(DataTabViewTest, ButtonsComputeInsertAndDelete) {
  const char* rows[][4] = {{"1", "10", "100", "100"}, {"1", "20", "100", "100"}, {"1", "30", "100", "100"}};
  for (int r = 1; r <= 3; ++r)
    for (int c = 1; c <= 4; ++c) BuildGrid().setTextMatrix(r, c, QString::fromUtf8(rows[r - 1][c - 1]));
  window->Computation->click();
  EXPECT_EQ(PointCount, 3);
  EXPECT_EQ(Item(1, 5)->text(), " 156");
  EXPECT_EQ(Item(1, 6)->text(), " 156");
  EXPECT_FALSE(Bilog().Ops().empty());

  Click(2, 2);
  window->RecordButton->click();
  EXPECT_EQ(Item(2, 2)->text(), "1");
  EXPECT_EQ(Item(3, 2)->text(), "20");
  EXPECT_EQ(Table()->rowCount(), 50);
  EXPECT_EQ(Table()->verticalHeaderItem(2)->text(), " 3");

  window->CorrectButton->click();
  EXPECT_EQ(Item(2, 2)->text(), "20");
  EXPECT_EQ(Table()->rowCount(), 50);
  EXPECT_EQ(Table()->verticalHeaderItem(49)->text(), " 50");
}

TEST_F(DataTabViewTest, DoubleClickPastesTheClipboard) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  clipboard->setText(QStringLiteral("10\r\n20\r\n"));
  if (clipboard->text() != QStringLiteral("10\r\n20\r\n")) GTEST_SKIP() << "no clipboard on this platform";
  Click(3, 2);
  Mouse(Table(), 2, 1, QEvent::MouseButtonDblClick);
  EXPECT_EQ(Item(3, 2)->text(), "10");
  EXPECT_EQ(Item(4, 2)->text(), "20");
  EXPECT_TRUE(clipboard->text().isEmpty());
}

TEST_F(DataTabViewTest, CtrlVAndShiftInsertPasteTheClipboard) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  const struct {
    const char* name;
    Qt::Key key;
    Qt::KeyboardModifiers mods;
  } keys[] = {{"Ctrl+V", Qt::Key_V, Qt::ControlModifier}, {"Shift+Insert", Qt::Key_Insert, Qt::ShiftModifier}};
  for (const auto& k : keys) {
    SCOPED_TRACE(k.name);
    // Three rows, the last without its line end.
    clipboard->setText(QStringLiteral("1.5\r\n2.5\r\n3.5"));
    if (clipboard->text() != QStringLiteral("1.5\r\n2.5\r\n3.5")) GTEST_SKIP() << "no clipboard on this platform";
    for (int r = 2; r <= 5; ++r) BuildGrid().setTextMatrix(r, 3, QString());
    Click(2, 3);
    Press(Table(), k.key, k.mods);
    EXPECT_EQ(Item(2, 3)->text(), "1.5");
    EXPECT_EQ(Item(3, 3)->text(), "2.5");
    EXPECT_EQ(Item(4, 3)->text(), "3.5");
    EXPECT_EQ(Item(5, 3)->text(), "");
    EXPECT_TRUE(clipboard->text().isEmpty());
    EXPECT_EQ(Table()->currentRow(), 1);
  }
}

TEST_F(DataTabViewTest, BoxesMirrorTheirState) {
  // Only the user's click computes; the layout sets the box silently.
  PointCount = 1;
  FieldData[1][kSpacing1] = 10.0f;
  FieldData[1][kSpacing2] = 1.0f;
  FieldData[1][kDeltaV] = 100.0f;
  FieldData[1][kCurrent] = 100.0f;
  FieldData[1][kKFactor] = 155.5f;  // unrounded, as a file may hold it
  FieldData[1][kRhoApparent] = 150.0f;
  CallHook(Ui().fillDataGrid);
  ShiftedFlag = 1;
  Load_build();
  EXPECT_TRUE(window->lissbox->isChecked());
  EXPECT_FLOAT_EQ(static_cast<float>(FieldData[1][kKFactor].value()), 155.5f);
  window->Check10->click();
  EXPECT_EQ(HalfArrayFactor, 2);
  EXPECT_DOUBLE_EQ(FieldData[1][kKFactor], 311);
  EXPECT_EQ(Item(1, 5)->text(), " 311");

  window->Marine_floor->click();
  EXPECT_EQ(Marine_floor.Value, 1);
  window->Reau->setText(QStringLiteral("0.3"));
  EXPECT_EQ(Reau.Text, "0.3");

  window->X_Texte1->setFocus();
  Type(window->X_Texte1, "45");
  EXPECT_EQ(X_Texte1.Text, "45");
  Text29.Text = QStringLiteral("from the file");
  Load_build();
  EXPECT_EQ(window->Text29->text(), "from the file");
}

// A picture of the data tab with a typed Schlumberger sounding and of its
// plot, for a person to look at; written when TELLUMO_SCREENSHOT_DIR names a
// folder.
TEST_F(DataTabViewTest, PictureOfATypedSounding) {
  const struct {
    const char *mn, *ab, *dv, *i;
  } rows[] = {
      {"0.25", "1", "2410", "50"},  {"0.25", "1.5", "1030", "50"}, {"0.25", "2", "520", "50"},
      {"0.25", "3", "178", "50"},   {"0.25", "4", "79.6", "50"},   {"1", "4", "318", "50"},
      {"1", "6", "118", "50"},      {"1", "8", "59.2", "50"},      {"1", "10", "39.8", "50"},
      {"1", "15", "19.6", "50"},    {"1", "20", "12.9", "50"},     {"5", "20", "64.1", "50"},
      {"5", "30", "32.5", "50"},    {"5", "40", "21.7", "50"},     {"5", "60", "12.4", "50"},
      {"5", "80", "8.85", "50"},    {"5", "100", "6.93", "50"},
  };
  int r = 1;
  for (const auto& row : rows) {
    const char* cells[] = {row.mn, row.ab, row.dv, row.i};
    for (int c = 1; c <= 4; ++c) BuildGrid().setTextMatrix(r, c, QString::fromUtf8(cells[c - 1]));
    ++r;
  }
  X_Texte1.Text = QStringLiteral("712345");
  Y_Texte2.Text = QStringLiteral("4567890");
  Z_Texte3.Text = QStringLiteral("250");
  Azimtext.Text = QStringLiteral("N45");
  Text18.Text = QStringLiteral("Typed from the field sheet");
  Text29.Text = QStringLiteral("SEV 4");
  AB2MinDecade = -1;
  AB2MaxDecade = 3;
  RhoMinDecade = 0;
  RhoMaxDecade = 4;
  AB2MinValue = 0;
  AB2MaxValue = 1000;
  RhoMinValue = 1;
  RhoMaxValue = 10000;
  GridColour = 0xC0C0C0;
  PointsColour = 0x0000FF;
  lissbox.Value = 1;
  window->lissbox->click();  // shifting on: computes and draws the frame
  ASSERT_EQ(PointCount, 17);
  Load_build();
  Click(5, 3);
  QCoreApplication::processEvents();
  EXPECT_EQ(Item(6, 5)->text(), " 23.56");
  int markers = 0;
  for (const PlotOp& op : Bilog().Ops())
    if (op.kind == PlotOp::Kind::Box && op.colour == PointsColour) ++markers;
  EXPECT_EQ(markers, 17);

  if (!qEnvironmentVariableIsSet("TELLUMO_SCREENSHOT_DIR")) return;
  const QDir dir(qEnvironmentVariable("TELLUMO_SCREENSHOT_DIR"));
  const QString tabPath = dir.filePath(QStringLiteral("data_tab.png"));
  ASSERT_TRUE(window->grab().save(tabPath, "PNG"));
  BilogView plot;
  plot.resize(800, 600);
  plot.show();
  QCoreApplication::processEvents();
  const QString plotPath = dir.filePath(QStringLiteral("data_tab_plot.png"));
  ASSERT_TRUE(plot.grab().save(plotPath, "PNG"));
  std::cout << "pictures written to " << tabPath.toStdString() << " and " << plotPath.toStdString() << "\n";
}

}  // namespace
}  // namespace tellumo
