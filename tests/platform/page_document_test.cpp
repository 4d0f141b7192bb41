#include "platform/page_document.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <vector>

#include "modelling/page_drawing.h"
#include "platform/page_renderer.h"

namespace tellumo {
namespace {

using Kind = PageOp::Kind;

// Every character 100 twips wide, every line 200 twips high, whatever the
// font: wrap points and table cells then fall where the test says.
class FixedMeasurer : public TextMeasurer {
 public:
  double width(const PageFont&, const QString& text) const override { return 100.0 * text.size(); }
  double height(const PageFont&) const override { return 200.0; }
};

class PageDocumentTest : public ::testing::Test {
 protected:
  void SetUp() override { PageDocument::SetTextMeasurer(&measurer_); }
  void TearDown() override { PageDocument::SetTextMeasurer(nullptr); }

  static std::vector<PageOp> OpsOf(const PageContent& page, Kind kind) {
    std::vector<PageOp> out;
    for (const PageOp& op : page.ops)
      if (op.kind == kind) out.push_back(op);
    return out;
  }
  static std::vector<QString> TextsOf(const PageContent& page) {
    std::vector<QString> out;
    for (const PageOp& op : OpsOf(page, Kind::Text)) out.push_back(op.text);
    return out;
  }

  FixedMeasurer measurer_;
};

// ---------------------------------------------------------------------------
// Lines, rectangles, polylines

TEST_F(PageDocumentTest, LinesDotsAndConnectedLinesFollowTheEndOfThePreviousLine) {
  PageDocument doc;
  doc.StartDoc();
  doc.CurrentX = 777;
  doc.CurrentY = 888;
  doc.PenColor(0x0000FF);
  doc.PenWidth(18);
  doc.PenStyle = 1;
  doc.DrawLine(100, 200, 300, 400);
  doc.DrawLine(500, 600);  // from (300, 400)
  doc.DrawLine(50, 60, 50, 60);  // a dot, and the start of the next line
  doc.PenColor(0x00FF00);
  doc.DrawLine(70, 80);  // from (50, 60)

  const auto lines = OpsOf(doc.Page(1), Kind::Line);
  ASSERT_EQ(lines.size(), 4u);
  struct Expected {
    double x1, y1, x2, y2;
    int32_t colour;
  } expected[] = {
      {100, 200, 300, 400, 0x0000FF},
      {300, 400, 500, 600, 0x0000FF},
      {50, 60, 50, 60, 0x0000FF},
      {50, 60, 70, 80, 0x00FF00},
  };
  for (size_t i = 0; i < lines.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_DOUBLE_EQ(lines[i].x1, expected[i].x1);
    EXPECT_DOUBLE_EQ(lines[i].y1, expected[i].y1);
    EXPECT_DOUBLE_EQ(lines[i].x2, expected[i].x2);
    EXPECT_DOUBLE_EQ(lines[i].y2, expected[i].y2);
    EXPECT_EQ(lines[i].penColour, expected[i].colour);
    EXPECT_EQ(lines[i].penWidth, 18);
    EXPECT_EQ(lines[i].penStyle, 1);
  }
  // Lines leave the text position alone.
  EXPECT_DOUBLE_EQ(doc.CurrentX, 777);
  EXPECT_DOUBLE_EQ(doc.CurrentY, 888);
}

TEST_F(PageDocumentTest, RectanglesAreHollowWithBrushStyleOneAndFilledWithZero) {
  struct Case {
    int brushStyle;
    int32_t brushColour;
  } cases[] = {{1, 0x00FF00}, {0, 0x804020}};
  PageDocument doc;
  doc.StartDoc();
  doc.PenColor(0x000000);
  doc.PenWidth(12);
  for (const Case& c : cases) {
    doc.BrushStyle = c.brushStyle;
    doc.BrushColor = c.brushColour;
    doc.DrawRectangle(1000, 2000, 1070, 2070);
  }
  const auto rects = OpsOf(doc.Page(1), Kind::Rectangle);
  ASSERT_EQ(rects.size(), 2u);
  for (size_t i = 0; i < rects.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(rects[i].brushStyle, cases[i].brushStyle);
    EXPECT_EQ(rects[i].brushColour, cases[i].brushColour);
    EXPECT_EQ(rects[i].penWidth, 12);
    EXPECT_DOUBLE_EQ(rects[i].x1, 1000);
    EXPECT_DOUBLE_EQ(rects[i].y2, 2070);
  }
}

TEST_F(PageDocumentTest, PolylineTakesTheNumbersOfItsText) {
  struct Case {
    const char* text;
    std::vector<double> points;  // empty: nothing drawn
  } cases[] = {
      {"0 0 100 100 200 0", {0, 0, 100, 100, 200, 0}},
      {"  10\t20   30 40  ", {10, 20, 30, 40}},
      {"1.5 2.5 -3 4e2", {1.5, 2.5, -3, 400}},
      {"10 20 30 40 50", {10, 20, 30, 40}},  // the odd last number is left out
      {"10 20 x 30 40", {}},                  // the list ends at "x": one point only
      {"10 20", {}},
      {"", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    PageDocument doc;
    doc.StartDoc();
    doc.Polyline(QString::fromUtf8(c.text));
    const auto polys = OpsOf(doc.Page(1), Kind::Polyline);
    if (c.points.empty()) {
      EXPECT_TRUE(polys.empty());
    } else {
      ASSERT_EQ(polys.size(), 1u);
      EXPECT_EQ(polys[0].points, c.points);
    }
  }
}

// ---------------------------------------------------------------------------
// Text

TEST_F(PageDocumentTest, TextIsAnchoredTopLeftAndThePositionEndsAfterIt) {
  PageDocument doc;
  doc.StartDoc();
  doc.FontName = "Arial";
  doc.FontSize = 13;
  doc.FontBold = true;
  doc.TextColor = 0x123456;
  doc.CurrentX = 1000;
  doc.CurrentY = 2000;
  doc.Text("ABC");
  doc.FontBold = false;
  doc.Text("de");  // goes on where the first text ended

  const auto texts = OpsOf(doc.Page(1), Kind::Text);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].text, "ABC");
  EXPECT_DOUBLE_EQ(texts[0].x1, 1000);
  EXPECT_DOUBLE_EQ(texts[0].y1, 2000);
  EXPECT_DOUBLE_EQ(texts[0].x2, 1300);
  EXPECT_DOUBLE_EQ(texts[0].y2, 2200);
  EXPECT_TRUE(texts[0].bold);
  EXPECT_DOUBLE_EQ(texts[0].fontSize, 13);
  EXPECT_EQ(texts[0].textColour, 0x123456);
  EXPECT_DOUBLE_EQ(texts[1].x1, 1300);
  EXPECT_DOUBLE_EQ(texts[1].y1, 2000);
  EXPECT_FALSE(texts[1].bold);
  EXPECT_DOUBLE_EQ(doc.CurrentX, 1500);
  EXPECT_DOUBLE_EQ(doc.CurrentY, 2000);
}

constexpr const char* kLongWord = "wwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwww";  // 40 characters

// Paper 5000 wide with 1000-twip margins: the right margin stands at 4000,
// so a text starting at 1000 has room for 30 characters.
TEST_F(PageDocumentTest, TextWrapsAtTheRightMarginAndBreaksAtNewLines) {
  struct Case {
    const char* name;
    double x;
    const char* text;
    std::vector<QString> lines;  // one op each, at x, 200 twips apart
    double endX, endY;           // relative to (x, 2000)
  } cases[] = {
      {"fits", 1000, "aaaaaaaaa bbbbbbbbb", {"aaaaaaaaa bbbbbbbbb"}, 1900, 0},
      {"fills the room exactly", 1000, "aaaaaaaaa bbbbbbbbb cccccccccc", {"aaaaaaaaa bbbbbbbbb cccccccccc"}, 3000, 0},
      {"wraps at the blank before the word that passes",
       1000,
       "aaaaaaaaa bbbbbbbbb ccccccccc ddddddddd eeeeeeeee",
       {"aaaaaaaaa bbbbbbbbb ccccccccc", "ddddddddd eeeeeeeee"},
       1900,
       200},
      {"a word wider than the room stays whole", 1000, kLongWord, {QString(kLongWord)}, 4000, 0},
      {"leading blanks are kept", 1000, "   AB/2 [m]", {"   AB/2 [m]"}, 1100, 0},
      {"new line", 1000, "ab\ncd", {"ab", "cd"}, 200, 200},
      {"carriage return and new line", 1000, "ab\r\ncde", {"ab", "cde"}, 300, 200},
      {"a closing new line leaves the position on the next line", 1000, "ab\n", {"ab"}, 0, 200},
      {"starting at the margin: no wrap", 4000, "aaaaaaaaa bbbbbbbbb ccccccccc", {"aaaaaaaaa bbbbbbbbb ccccccccc"}, 2900, 0},
      {"starting beyond the margin: no wrap", 4300, "label 1 label 2", {"label 1 label 2"}, 1500, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PageDocument doc;
    doc.setPaperSize(5000, 8000);
    doc.MarginLeft = doc.MarginRight = doc.MarginTop = doc.MarginBottom = 1000;
    doc.StartDoc();
    doc.CurrentX = c.x;
    doc.CurrentY = 2000;
    doc.Text(QString::fromStdString(c.text));
    const auto texts = OpsOf(doc.Page(1), Kind::Text);
    ASSERT_EQ(texts.size(), c.lines.size());
    for (size_t i = 0; i < texts.size(); ++i) {
      EXPECT_EQ(texts[i].text.toStdString(), c.lines[i].toStdString());
      EXPECT_DOUBLE_EQ(texts[i].x1, c.x);
      EXPECT_DOUBLE_EQ(texts[i].y1, 2000 + 200.0 * static_cast<double>(i));
    }
    EXPECT_DOUBLE_EQ(doc.CurrentX, c.x + c.endX);
    EXPECT_DOUBLE_EQ(doc.CurrentY, 2000 + c.endY);
  }
}

TEST_F(PageDocumentTest, DrawingWithoutADocumentOpensPageOneAndKeepsThePosition) {
  PageDocument doc;
  doc.CurrentX = 3000;
  doc.CurrentY = 4000;
  doc.Text("x");
  EXPECT_TRUE(doc.Composing());
  ASSERT_EQ(doc.PageCount(), 1);
  ASSERT_EQ(doc.Page(1).ops.size(), 1u);
  EXPECT_DOUBLE_EQ(doc.Page(1).ops[0].x1, 3000);
  EXPECT_DOUBLE_EQ(doc.Page(1).ops[0].y1, 4000);
  doc.EndDoc();
  EXPECT_EQ(doc.PageCount(), 1);
  EXPECT_FALSE(doc.Composing());
}

TEST(PageDocumentFonts, TextIsMeasuredInTheFontItIsWrittenIn) {
  PageDocument doc;
  doc.FontName = "Arial";
  doc.FontSize = 10;
  const double w10 = doc.TextWidth("Resistivity 1000");
  const double h10 = doc.TextHeight();
  EXPECT_GT(w10, 0);
  EXPECT_GT(h10, 0);
  // A 10-point line is a little more than 200 twips high.
  EXPECT_GT(h10, 200);
  EXPECT_LT(h10, 300);
  EXPECT_GT(doc.TextWidth("Resistivity 10000"), w10);
  doc.FontSize = 20;
  EXPECT_NEAR(doc.TextWidth("Resistivity 1000"), 2 * w10, 0.02 * w10);
  EXPECT_NEAR(doc.TextHeight(), 2 * h10, 0.02 * h10);
  doc.FontSize = 10;
  doc.FontBold = true;
  EXPECT_GE(doc.TextWidth("Resistivity 1000"), w10);
}

// ---------------------------------------------------------------------------
// Tables

// With the fixed measurer a row is 200 + 2 · 15 = 230 twips high.
constexpr double kRow = 230;

TEST_F(PageDocumentTest, TableColumnsAlignTheirCellsAndTheHeaderIsBoldThroughTheRowEvent) {
  PageDocument doc;
  std::vector<int> rows;
  doc.RowEvent = [&](int row) {
    rows.push_back(row);
    doc.FontBold = row == 0;
  };
  doc.StartDoc();
  doc.CurrentX = 1000;
  doc.CurrentY = 3000;
  doc.TableBorder = 1;
  doc.AddTable(">+1100|<1500|^1000;", "[ohm]|[m]|[m];", "12|3.5|x;4|5|6;");

  EXPECT_EQ(rows, (std::vector<int>{0, 1, 2}));
  const auto texts = OpsOf(doc.Page(1), Kind::Text);
  ASSERT_EQ(texts.size(), 9u);
  // Header: right-aligned in a 1100 column (60 twips of padding), left in
  // 1500, centred in 1000.
  EXPECT_EQ(texts[0].text, "[ohm]");
  EXPECT_DOUBLE_EQ(texts[0].x1, 1000 + 1100 - 60 - 500);
  EXPECT_DOUBLE_EQ(texts[0].y1, 3000 + 15);
  EXPECT_TRUE(texts[0].bold);
  EXPECT_DOUBLE_EQ(texts[1].x1, 2100 + 60);
  EXPECT_DOUBLE_EQ(texts[2].x1, 3600 + (1000 - 300) / 2.0);
  // Body rows below, not bold.
  EXPECT_EQ(texts[3].text, "12");
  EXPECT_DOUBLE_EQ(texts[3].x1, 1000 + 1100 - 60 - 200);
  EXPECT_DOUBLE_EQ(texts[3].y1, 3000 + kRow + 15);
  EXPECT_FALSE(texts[3].bold);
  EXPECT_EQ(texts[7].text, "5");
  EXPECT_DOUBLE_EQ(texts[7].y1, 3000 + 2 * kRow + 15);
  // Cells are cut at their column.
  EXPECT_TRUE(texts[4].clipped);
  EXPECT_DOUBLE_EQ(texts[4].clipX1, 2100 + 60);
  EXPECT_DOUBLE_EQ(texts[4].clipX2, 3600 - 60);
  // Position at the table's bottom, at its left.
  EXPECT_DOUBLE_EQ(doc.CurrentY, 3000 + 3 * kRow);
  EXPECT_DOUBLE_EQ(doc.CurrentX, 1000);
  // Border: four row lines and four column lines.
  const auto lines = OpsOf(doc.Page(1), Kind::Line);
  EXPECT_EQ(lines.size(), 8u);
  int horizontal = 0;
  for (const PageOp& l : lines) {
    if (l.y1 == l.y2) {
      ++horizontal;
      EXPECT_DOUBLE_EQ(l.x1, 1000);
      EXPECT_DOUBLE_EQ(l.x2, 1000 + 3600);
    } else {
      EXPECT_DOUBLE_EQ(l.y1, 3000);
      EXPECT_DOUBLE_EQ(l.y2, 3000 + 3 * kRow);
    }
  }
  EXPECT_EQ(horizontal, 4);
}

TEST_F(PageDocumentTest, RowsAddedBetweenStartAndEndFormOneTableWithoutBorder) {
  PageDocument doc;
  std::vector<int> rows;
  doc.RowEvent = [&](int row) { rows.push_back(row); };
  doc.StartDoc();
  doc.CurrentX = 1000;
  doc.CurrentY = 2000;
  doc.TableBorder = 0;
  doc.StartTable();
  doc.SetTableSetting(25, 0);
  doc.AddTable(">+1200|>+1228|>+1191;", "[ohm·m]|[m]|[m];", "100|2.0|;");
  doc.AddTable(">+1200|>+1228|>+1191;", "[ohm·m]|[m]|[m];", "10|5.0|2.0;");
  doc.AddTable(">+1200|>+1228|>+1191;", "[ohm·m]|[m]|[m];", "1000||7.0;");
  EXPECT_TRUE(OpsOf(doc.Page(1), Kind::Text).empty());  // written at the end
  doc.EndTable();

  EXPECT_EQ(rows, (std::vector<int>{0, 1, 2, 3}));
  EXPECT_EQ(TextsOf(doc.Page(1)),
            (std::vector<QString>{"[ohm·m]", "[m]", "[m]", "100", "2.0", "10", "5.0", "2.0", "1000", "7.0"}));
  EXPECT_TRUE(OpsOf(doc.Page(1), Kind::Line).empty());
  EXPECT_DOUBLE_EQ(doc.CurrentY, 2000 + 4 * kRow);
  EXPECT_EQ(doc.TableSetting(25), 0);
}

TEST_F(PageDocumentTest, ATableTooLongForThePageContinuesOnTheNextWithItsHeader) {
  // Bottom margin at 2500: from 1500 the header and three rows fit.
  PageDocument doc;
  doc.setPaperSize(5000, 3000);
  doc.MarginLeft = doc.MarginRight = doc.MarginTop = doc.MarginBottom = 500;
  std::vector<int> rows;
  doc.RowEvent = [&](int row) {
    rows.push_back(row);
    doc.FontBold = row == 0;
  };
  doc.StartDoc();
  doc.CurrentX = 700;
  doc.CurrentY = 1500;
  QString body;
  for (int i = 1; i <= 10; ++i) body += QString("%1|%2;").arg(i).arg(i * i);
  doc.AddTable("<+1000|>+1000", "n|sq;", body);

  ASSERT_EQ(doc.PageCount(), 2);
  EXPECT_EQ(rows, (std::vector<int>{0, 1, 2, 3, 0, 4, 5, 6, 7, 8, 9, 10}));
  const auto page1 = OpsOf(doc.Page(1), Kind::Text);
  const auto page2 = OpsOf(doc.Page(2), Kind::Text);
  ASSERT_EQ(page1.size(), 8u);
  ASSERT_EQ(page2.size(), 16u);
  EXPECT_EQ(page1.back().text, "9");
  for (const PageOp& op : page1) EXPECT_LE(op.y2, 2500);
  // The header again at the top margin of page 2, bold, then row 4.
  EXPECT_EQ(page2[0].text, "n");
  EXPECT_TRUE(page2[0].bold);
  EXPECT_DOUBLE_EQ(page2[0].x1, 700 + 60);
  EXPECT_DOUBLE_EQ(page2[0].y1, 500 + 15);
  EXPECT_EQ(page2[2].text, "4");
  EXPECT_FALSE(page2[2].bold);
  EXPECT_DOUBLE_EQ(doc.CurrentY, 500 + 8 * kRow);
}

TEST_F(PageDocumentTest, ATableWhoseHeaderAndFirstRowDoNotFitStartsOnTheNextPage) {
  PageDocument doc;
  doc.setPaperSize(5000, 3000);
  doc.MarginLeft = doc.MarginRight = doc.MarginTop = doc.MarginBottom = 500;
  doc.StartDoc();
  doc.CurrentX = 700;
  doc.CurrentY = 2200;  // room for the header only
  doc.AddTable("<1000", "h;", "1;");
  ASSERT_EQ(doc.PageCount(), 2);
  EXPECT_TRUE(OpsOf(doc.Page(1), Kind::Text).empty());
  EXPECT_EQ(TextsOf(doc.Page(2)), (std::vector<QString>{"h", "1"}));
  EXPECT_DOUBLE_EQ(doc.CurrentY, 500 + 2 * kRow);
}

// A lead is written, in its own columns and before the repeated header, on
// every page the table goes on to, and only there: also when the table as a
// whole moves to the next page.
TEST_F(PageDocumentTest, ALeadStandsAboveTheHeaderOnEveryPageTheTableGoesOnTo) {
  const struct {
    double startY;
    int rows;
    std::vector<std::vector<QString>> pages;
  } cases[] = {
      {1500, 5, {{"n", "sq", "1", "1", "2", "4", "3", "9"}, {"Name", "Square", "n", "sq", "4", "16", "5", "25"}}},
      {2200, 1, {{}, {"Name", "Square", "n", "sq", "1", "1"}}},
      {1500, 2, {{"n", "sq", "1", "1", "2", "4"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.startY + c.rows);
    PageDocument doc;
    doc.setPaperSize(5000, 3000);
    doc.MarginLeft = doc.MarginRight = doc.MarginTop = doc.MarginBottom = 500;
    doc.StartDoc();
    doc.CurrentX = 700;
    doc.CurrentY = c.startY;
    doc.StartTable();
    doc.AddTableLead(">+1500|>+1500;", "Name|Square;");
    QString body;
    for (int i = 1; i <= c.rows; ++i) body += QString("%1|%2;").arg(i).arg(i * i);
    doc.AddTable("<+1000|>+1000", "n|sq;", body);
    doc.EndTable();
    ASSERT_EQ(doc.PageCount(), static_cast<int>(c.pages.size()));
    for (size_t p = 0; p < c.pages.size(); ++p) EXPECT_EQ(TextsOf(doc.Page(static_cast<int>(p) + 1)), c.pages[p]) << p;
    if (c.pages.size() == 2) {
      const auto page2 = OpsOf(doc.Page(2), Kind::Text);
      // The lead's own columns: "Square" ends at 700 + 3000 less the padding.
      EXPECT_DOUBLE_EQ(page2[1].x2, 700 + 3000 - 60);
      EXPECT_DOUBLE_EQ(page2[0].y1, 500 + 15);
      EXPECT_DOUBLE_EQ(page2[2].y1, 500 + kRow + 15);
    }
  }
}

// ---------------------------------------------------------------------------
// Document, footer, viewing

TEST_F(PageDocumentTest, TheFooterGoesOnEveryPageAtTheEndOfTheDocument) {
  PageDocument doc;
  doc.Footer = "left|centre|right";
  doc.FooterFontSize = 10;
  doc.FontSize = 12;
  doc.FontBold = true;
  doc.StartDoc();
  doc.NewPage();
  doc.NewPage();
  EXPECT_TRUE(OpsOf(doc.Page(1), Kind::Text).empty());
  doc.EndDoc();

  ASSERT_EQ(doc.PageCount(), 3);
  const double y = kA4HeightTwipsPage - 1440 + (1440 - 200) / 2.0;
  for (int n = 1; n <= 3; ++n) {
    SCOPED_TRACE(n);
    const auto texts = OpsOf(doc.Page(n), Kind::Text);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].text, "left");
    EXPECT_DOUBLE_EQ(texts[0].x1, 1440);
    EXPECT_EQ(texts[1].text, "centre");
    EXPECT_DOUBLE_EQ((texts[1].x1 + texts[1].x2) / 2, kA4WidthTwipsPage / 2);
    EXPECT_EQ(texts[2].text, "right");
    EXPECT_DOUBLE_EQ(texts[2].x2, kA4WidthTwipsPage - 1440);
    for (const PageOp& t : texts) {
      EXPECT_DOUBLE_EQ(t.y1, y);
      EXPECT_DOUBLE_EQ(t.fontSize, 10);
      EXPECT_FALSE(t.bold);
    }
  }
}

TEST_F(PageDocumentTest, AFooterWithOnlyARightPartWritesOnlyThat) {
  PageDocument doc;
  doc.Footer = "||Verdanta / Tellumo 6.4";
  doc.StartDoc();
  doc.EndDoc();
  EXPECT_EQ(TextsOf(doc.Page(1)), (std::vector<QString>{"Verdanta / Tellumo 6.4"}));
}

TEST_F(PageDocumentTest, StartDocEmptiesTheDocumentAndOpensPageOneAtTheMargins) {
  PageDocument doc;
  doc.StartDoc();
  doc.Text("old");
  doc.NewPage();
  doc.DrawLine(0, 0, 10, 10);
  doc.EndDoc();
  ASSERT_EQ(doc.PageCount(), 2);

  doc.MarginLeft = 1134;
  doc.MarginTop = 900;
  doc.CurrentX = 5000;
  doc.StartDoc();
  EXPECT_EQ(doc.PageCount(), 1);
  EXPECT_TRUE(doc.Page(1).ops.empty());
  EXPECT_DOUBLE_EQ(doc.CurrentX, 1134);
  EXPECT_DOUBLE_EQ(doc.CurrentY, 900);
  doc.NewPage();
  EXPECT_EQ(doc.PageCount(), 2);
  EXPECT_TRUE(doc.Page(3).ops.empty());  // out of range: an empty page
}

TEST_F(PageDocumentTest, LandscapePaperAppliesToThePagesOpenedAfterIt) {
  PageDocument doc;
  doc.setPaperSize(kA4HeightTwipsPage, kA4WidthTwipsPage);
  EXPECT_FALSE(doc.Portrait());
  doc.StartDoc();
  doc.EndDoc();
  EXPECT_DOUBLE_EQ(doc.Page(1).width, kA4HeightTwipsPage);
  EXPECT_DOUBLE_EQ(doc.Page(1).height, kA4WidthTwipsPage);
}

TEST_F(PageDocumentTest, ThePageShownStaysWithinThePagesAndChangesAreAnnounced) {
  PageDocument doc;
  int changed = 0, counted = 0, heard = 0;
  doc.Changed = [&] { ++changed; };
  doc.PageCountChanged = [&] { ++counted; };
  const int id = doc.AddChangeListener([&] { ++heard; });

  doc.Redraw = false;
  doc.StartDoc();
  doc.NewPage();
  doc.NewPage();
  EXPECT_EQ(changed, 0);
  doc.Redraw = true;  // switching it on shows the document
  EXPECT_EQ(changed, 1);
  doc.EndDoc();
  EXPECT_EQ(changed, 2);
  EXPECT_EQ(counted, 1);
  EXPECT_EQ(heard, 2);

  struct Case {
    int set, shown;
  } cases[] = {{2, 2}, {7, 3}, {0, 1}, {-4, 1}, {3, 3}};
  for (const Case& c : cases) {
    doc.PreviewPage = c.set;
    EXPECT_EQ(doc.PreviewPage, c.shown) << c.set;
  }
  EXPECT_EQ(changed, 7);

  doc.Zoom = 200;
  doc.ZoomMode = 9;
  EXPECT_EQ(doc.ZoomMode, 5);
  doc.PhysicalPage = !doc.PhysicalPage;
  doc.ShowGuides = 0;
  EXPECT_FALSE(doc.PhysicalPage);
  EXPECT_FALSE(doc.ShowGuides);
  EXPECT_EQ(changed, 11);

  // A shorter document brings the page shown back within it.
  doc.StartDoc();
  doc.EndDoc();
  EXPECT_EQ(doc.PreviewPage, 1);
  EXPECT_EQ(counted, 2);

  doc.RemoveChangeListener(id);
  const int before = heard;
  doc.Zoom = 50;
  EXPECT_EQ(heard, before);
}

TEST_F(PageDocumentTest, TheViewsPagingShowsThePageAndRaisesThePageEventWithThePageShown) {
  PageDocument doc;
  doc.StartDoc();
  doc.NewPage();
  doc.NewPage();
  doc.EndDoc();
  std::vector<int> followed;
  doc.FollowPage = [&](int page) { followed.push_back(page); };
  int changed = 0;
  doc.Changed = [&] { ++changed; };
  doc.ShowPageFromView(2);
  doc.ShowPageFromView(9);  // past the end: the last page
  EXPECT_EQ(doc.PreviewPage, 3);
  EXPECT_EQ(followed, (std::vector<int>{2, 3}));
  EXPECT_EQ(changed, 2);
  // Set from the program, the page shown raises no page event.
  doc.PreviewPage = 1;
  EXPECT_EQ(followed.size(), 2u);
}

TEST_F(PageDocumentTest, TheEngineDrawsThroughThePageDrawingInterface) {
  PageDocument doc;
  doc.StartDoc();
  SetReportPage(&doc);
  PageDrawing& page = ReportPage();
  page.PenColor(0x00FF00);
  page.PenWidth(18);
  page.DrawLine(PageX(0), PageY(0), PageX(0), PageY(0));
  page.DrawLine(1500, 2500);
  ResetPageDrawing();

  const auto lines = OpsOf(doc.Page(1), Kind::Line);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_DOUBLE_EQ(lines[1].x1, PageX(0));
  EXPECT_DOUBLE_EQ(lines[1].y1, PageY(0));
  EXPECT_DOUBLE_EQ(lines[1].x2, 1500);
  EXPECT_EQ(lines[1].penColour, 0x00FF00);
  EXPECT_EQ(lines[1].penWidth, 18);
  EXPECT_EQ(doc.penColour(), 0x00FF00);
}

TEST_F(PageDocumentTest, ResetPreviewsGivesBothPreviewsAFreshA4Document) {
  for (PageDocument* doc : {&ReportPreview(), &ProfilePreview()}) {
    doc->setPaperSize(kA4HeightTwipsPage, kA4WidthTwipsPage);
    doc->MarginLeft = 500;
    doc->Zoom = 400;
    doc->FontSize = 20;
    doc->StartDoc();
    doc->Text("x");
    doc->EndDoc();
  }
  ResetPreviews();
  for (PageDocument* doc : {&ReportPreview(), &ProfilePreview()}) {
    EXPECT_EQ(doc->PageCount(), 0);
    EXPECT_DOUBLE_EQ(doc->PageWidth(), kA4WidthTwipsPage);
    EXPECT_DOUBLE_EQ(doc->PageHeight(), kA4HeightTwipsPage);
    EXPECT_DOUBLE_EQ(doc->MarginLeft, 1440);
    EXPECT_DOUBLE_EQ(doc->MarginBottom, 1440);
    EXPECT_EQ(doc->Zoom, 100);
    EXPECT_DOUBLE_EQ(doc->FontSize, 10);
    EXPECT_FALSE(doc->Composing());
  }
}

// ---------------------------------------------------------------------------
// Rendering

void ComposeSample(PageDocument& doc) {
  doc.StartDoc();
  doc.PenColor(0x000000);
  doc.PenWidth(18);
  doc.DrawLine(1440, 1440, 10000, 1440);
  doc.BrushStyle = 0;
  doc.BrushColor = 0x804020;  // red 0x20, green 0x40, blue 0x80
  doc.DrawRectangle(2000, 4000, 6000, 8000);
  doc.BrushStyle = 1;
  doc.DrawRectangle(7000, 4000, 9000, 6000);
  doc.FontSize = 14;
  doc.CurrentX = 1440;
  doc.CurrentY = 2000;
  doc.Text("Resistivity [ohm·m]");
  doc.Footer = "||Tellumo";
  doc.NewPage();
  doc.Text("Field data");
  doc.NewPage();
  doc.Polyline("1440 3000 5000 3500 9000 3000");
  doc.EndDoc();
}

TEST(PageRenderer, AFilledRectangleIsPaintedInItsColourOnWhitePaper) {
  PageDocument doc;
  ComposeSample(doc);
  // 595 × 842 pixels: the A4 page fits at 0.05 pixel a twip.
  QImage image(595, 842, QImage::Format_RGB32);
  image.fill(Qt::black);
  {
    QPainter p(&image);
    RenderPage(doc, 1, p);
  }
  const double s = std::min(595 / kA4WidthTwipsPage, 842 / kA4HeightTwipsPage);
  const double ox = (595 - kA4WidthTwipsPage * s) / 2, oy = (842 - kA4HeightTwipsPage * s) / 2;
  auto at = [&](double x, double y) { return image.pixelColor(int(ox + x * s), int(oy + y * s)); };
  EXPECT_EQ(at(4000, 6000), QColor(0x20, 0x40, 0x80));
  EXPECT_EQ(at(2200, 4200), QColor(0x20, 0x40, 0x80));
  // The hollow rectangle's inside and the empty paper stay white.
  EXPECT_EQ(at(8000, 5000), QColor(Qt::white));
  EXPECT_EQ(at(4000, 12000), QColor(Qt::white));
  EXPECT_EQ(at(200, 200), QColor(Qt::white));
  // The black rule is drawn.
  EXPECT_LT(at(5000, 1440).lightness(), 100);
  // The text leaves ink in its line.
  bool ink = false;
  for (double x = 1440; x < 4000 && !ink; x += 20)
    for (double y = 2000; y < 2300 && !ink; y += 20) ink = at(x, y).lightness() < 128;
  EXPECT_TRUE(ink);
}

TEST(PageRenderer, APdfHasThePagesOfTheDocumentAndItsFontsEmbedded) {
  PageDocument doc;
  ComposeSample(doc);
  ASSERT_EQ(doc.PageCount(), 3);
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath("report.pdf");
  {
    QPdfWriter pdf(path);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter p(&pdf);
    for (int n = 1; n <= doc.PageCount(); ++n) {
      if (n > 1) pdf.newPage();
      RenderPage(doc, n, p);
    }
  }
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray bytes = f.readAll();
  EXPECT_TRUE(bytes.startsWith("%PDF"));
  // Page objects, not the page tree ("/Type /Pages").
  const QRegularExpression pageObject(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])"));
  EXPECT_EQ(QString::fromLatin1(bytes).count(pageObject), 3);
  // The fonts travel with the file (TrueType programs for Liberation Sans).
  EXPECT_TRUE(bytes.contains("/FontFile2") || bytes.contains("/FontFile3"));
}

}  // namespace
}  // namespace tellumo
