// Column widths of the grids: a column takes the room its texts need in the
// table's font, never less than the program sets, so that no number is cut;
// checked on a grid of its own and on the data grid of the running program.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QScrollBar>
#include <QStyle>
#include <QTableWidget>
#include <string>

#include "mainwindow/data_tab.h"
#include "mainwindow/sev_window.h"
#include "mainwindow/splash_form.h"
#include "platform/grid_view.h"
#include "sounding/sounding_record.h"
#include "support/fixtures.h"
#include "support/program_fixture.h"
#include "support/splash_driver.h"
#include "support/widget_input.h"

namespace tellumo {
namespace {

using test::Mouse;
using test::Press;
using test::Type;

// The room a cell's text needs: its width in the cell's font and the
// style's padding on both sides.
int TextRoom(const QTableWidget& table, const QTableWidgetItem& item) {
  const int margin = table.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &table) + 1;
  return QFontMetrics(item.font()).horizontalAdvance(item.text()) + 2 * margin;
}

// Every text of the table fits in its cell; the failures name the cell.
void ExpectEveryTextWhole(const QTableWidget& table) {
  for (int r = 0; r < table.rowCount(); ++r)
    for (int c = 0; c < table.columnCount(); ++c) {
      const QTableWidgetItem* item = table.item(r, c);
      if (!item || item->text().isEmpty()) continue;
      EXPECT_GE(table.visualRect(table.model()->index(r, c)).width(), TextRoom(table, *item))
          << "cell " << r << "," << c << " \"" << item->text().toStdString() << "\"";
    }
}

class GridWidthsTest : public test::StateTest {
 protected:
  void SetUp() override {
    StateTest::SetUp();
    model.setFormatString(QStringLiteral("|>A|>B|>C"));
    model.setFontName(QStringLiteral("Arial"));
    model.setFontSize(8.0f);
    model.setColWidth(0, 300);   // 20 px
    model.setColWidth(1, 300);   // 20 px: too narrow for most numbers
    model.setColWidth(2, 1500);  // 100 px: room enough
    view = new GridView(model, &table);
    table.resize(400, 200);
    table.show();
    QCoreApplication::processEvents();
  }
  // Pixels of a model column in the table (the first is the row headings).
  int Width(int col) const {
    return col == 0 ? table.verticalHeader()->width() : table.columnWidth(col - 1);
  }

  GridModel model{6, 4, 1, 1};
  QTableWidget table;
  GridView* view = nullptr;
};

TEST_F(GridWidthsTest, ColumnsWidenForTheirTextsAndNeverNarrowerThanSet) {
  // Short texts leave every column as set.
  model.setTextMatrix(1, 1, QStringLiteral("7"));
  model.setTextMatrix(1, 2, QStringLiteral("7"));
  QCoreApplication::processEvents();
  EXPECT_EQ(Width(1), 20);
  EXPECT_EQ(Width(2), 100);

  // A long number widens its narrow column, and the column only.
  model.setTextMatrix(2, 1, QStringLiteral("123456.8"));
  model.setTextMatrix(2, 2, QStringLiteral("123456.8"));
  QCoreApplication::processEvents();
  EXPECT_GE(Width(1), QFontMetrics(table.font()).horizontalAdvance(QStringLiteral("123456.8")));
  EXPECT_EQ(Width(2), 100);
  ExpectEveryTextWhole(table);

  // Bold takes more room; a filled grid at a larger font too; while
  // repainting is off the table waits and then measures what it shows.
  model.setCellFontBoldAt(3, 1, true);
  model.setTextMatrix(3, 1, QStringLiteral("9876543.21"));
  model.setRedraw(false);
  for (int r = 1; r < 6; ++r)
    for (int c = 1; c < 4; ++c) model.setTextMatrix(r, c, QStringLiteral("-0.000123456"));
  model.setFontSize(12.0f);
  model.setRedraw(true);
  QCoreApplication::processEvents();
  ExpectEveryTextWhole(table);
  EXPECT_GT(Width(2), 100);

  // Texts gone, the columns go back to the widths set, and follow a new one.
  for (int r = 1; r < 6; ++r)
    for (int c = 1; c < 4; ++c) model.setTextMatrix(r, c, QString());
  model.setColWidth(3, 2250);
  QCoreApplication::processEvents();
  EXPECT_EQ(Width(1), 20);
  EXPECT_EQ(Width(2), 100);
  EXPECT_EQ(Width(3), 150);
}

TEST_F(GridWidthsTest, HeadingsAndRowNumbersAreShownWhole) {
  const int margin = table.style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, table.horizontalHeader());
  auto headingRoom = [&](const QString& text) {
    return QFontMetrics(table.horizontalHeader()->font()).horizontalAdvance(text) + 2 * margin;
  };
  // Row numbers that fit keep the heading column as set.
  for (int r = 1; r < 6; ++r) model.setTextMatrix(r, 0, QString::number(r));
  QCoreApplication::processEvents();
  EXPECT_EQ(Width(0), 20);

  model.setTextMatrix(0, 1, QStringLiteral("Max. depth"));
  model.setTextMatrix(5, 0, QStringLiteral("1000"));
  QCoreApplication::processEvents();
  EXPECT_GE(Width(1), headingRoom(QStringLiteral("Max. depth")));
  EXPECT_GE(Width(0), headingRoom(QStringLiteral("1000")));
}

// ---------------------------------------------------------------------------
// The data grid of the running program.

class DataGridWidthsTest : public test::ProgramTest {};

TEST_F(DataGridWidthsTest, ResistivitiesOfManyFiguresAreShownWhole) {
  SEV& w = Start();
  test::WhenSplashShows([](frmSplash&) {}, "Command2");  // "Start a new VES"
  ASSERT_TRUE(program->Form_Load());
  ASSERT_EQ(w.Tab(), 1);
  QTableWidget* grid = w.BuildGrid;
  const QRect place = grid->geometry();
  QCoreApplication::processEvents();
  const int setWidth = GridView::Pixels(kGridColWidth);
  for (int c = 0; c < grid->columnCount(); ++c) EXPECT_EQ(grid->columnWidth(c), setWidth);

  // High voltages on small currents, typed as a user types them.
  const char* readings[][4] = {
      {"1", "10", "5000", "1"}, {"1", "15", "5000", "1"}, {"5", "25", "5000", "1"}, {"0.125", "40", "125000.5", "0.25"}};
  for (int r = 0; r < 4; ++r) {
    Mouse(grid, r, kGridSpacing2 - 1, QEvent::MouseButtonPress);
    Type(grid, readings[r][0]);
    for (int c = 1; c < 4; ++c) {
      Press(grid, Qt::Key_Right);
      Type(grid, readings[r][c]);
    }
  }
  Press(grid, Qt::Key_Return);  // Compute
  ASSERT_EQ(PointCount, 4);
  QCoreApplication::processEvents();

  EXPECT_EQ(grid->item(0, kGridRho - 1)->text(), " 780000");
  EXPECT_EQ(grid->item(3, kGridRho - 1)->text(), " 10053040212");
  ExpectEveryTextWhole(*grid);
  EXPECT_GT(grid->columnWidth(kGridRho - 1), setWidth);
  for (int c = 0; c < grid->columnCount(); ++c) EXPECT_GE(grid->columnWidth(c), setWidth);
  // The grid keeps its place beside the panel and scrolls to the columns
  // it no longer holds.
  EXPECT_EQ(grid->geometry(), place);
  EXPECT_LT(grid->geometry().right(), w.Frame14->geometry().left());
  EXPECT_GT(grid->horizontalScrollBar()->maximum(), 0);
}

}  // namespace
}  // namespace tellumo
