#include "platform/print_preview_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QScrollBar>

#include "platform/page_document.h"

namespace tellumo {
namespace {

// Three pages, each with a filled square of its own colour in the same place.
constexpr int32_t kPageColours[] = {0x0000FF, 0x00FF00, 0xFF0000};  // red, green, blue

void ComposeThreePages(PageDocument& doc) {
  doc.StartDoc();
  doc.BrushStyle = 0;
  for (int n = 0; n < 3; ++n) {
    if (n > 0) doc.NewPage();
    doc.BrushColor = kPageColours[n];
    doc.DrawRectangle(2000, 2000, 8000, 8000);
    doc.CurrentX = 2000;
    doc.CurrentY = 9000;
    doc.Text(QString("Page %1").arg(n + 1));
  }
  doc.EndDoc();
}

// The colour at the page position (twips) of the first page shown.
QColor ColourAt(PrintPreviewView& view, double x, double y) {
  QImage image = view.pageWidget()->grab().toImage();
  const int px = PrintPreviewView::kGutter + static_cast<int>(x * view.pixelsPerTwipX());
  const int py = PrintPreviewView::kGutter + static_cast<int>(y * view.pixelsPerTwipY());
  return image.pixelColor(px, py);
}

class PrintPreviewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ComposeThreePages(doc_);
    view_ = std::make_unique<PrintPreviewView>(doc_);
    view_->resize(700, 500);
    view_->show();
    QApplication::processEvents();
  }

  PageDocument doc_;
  std::unique_ptr<PrintPreviewView> view_;
};

TEST_F(PrintPreviewTest, ShowsThePageTheDocumentAsksFor) {
  const QColor expected[] = {QColor(255, 0, 0), QColor(0, 255, 0), QColor(0, 0, 255)};
  for (int n : {2, 3, 1}) {
    SCOPED_TRACE(n);
    doc_.PreviewPage = n;
    QApplication::processEvents();
    EXPECT_EQ(view_->firstPageShown(), n);
    EXPECT_EQ(ColourAt(*view_, 5000, 5000), expected[n - 1]);
    EXPECT_EQ(ColourAt(*view_, 5000, 1000), QColor(Qt::white));
  }
}

TEST_F(PrintPreviewTest, FollowsTheZoomPercentageWithScrollBarsWhenThePageIsLarger) {
  doc_.ZoomMode = 0;
  doc_.Zoom = 100;
  QApplication::processEvents();
  const QSize at100 = view_->pageWidget()->size() - QSize(2, 2) * PrintPreviewView::kGutter;
  // 100 % is 96 dpi: 15 twips a pixel.
  EXPECT_NEAR(at100.width(), kA4WidthTwipsPage / 15, 1.0);
  EXPECT_NEAR(at100.height(), kA4HeightTwipsPage / 15, 1.0);

  doc_.Zoom = 200;
  QApplication::processEvents();
  const QSize at200 = view_->pageWidget()->size() - QSize(2, 2) * PrintPreviewView::kGutter;
  EXPECT_NEAR(at200.width(), 2 * at100.width(), 1.0);
  EXPECT_NEAR(at200.height(), 2 * at100.height(), 1.0);
  EXPECT_GT(view_->scrollArea()->verticalScrollBar()->maximum(), 0);
  EXPECT_GT(view_->scrollArea()->horizontalScrollBar()->maximum(), 0);
  EXPECT_EQ(ColourAt(*view_, 5000, 5000), QColor(255, 0, 0));
}

TEST_F(PrintPreviewTest, FittedModesKeepThePageInsideTheView) {
  const QSize room = view_->scrollArea()->maximumViewportSize();
  struct Case {
    int mode;
    bool fitsAcross, fitsDown;
    int pages;
  } cases[] = {
      {1, true, true, 1},   // thumbnail
      {2, true, true, 2},   // two pages
      {3, true, true, 1},   // whole page
      {4, true, false, 1},  // page width: the height scrolls
      {5, true, true, 1},   // stretch
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    doc_.ZoomMode = c.mode;
    QApplication::processEvents();
    const QSize size = view_->pageWidget()->size();
    EXPECT_EQ(size.width() <= room.width(), c.fitsAcross);
    EXPECT_EQ(size.height() <= room.height(), c.fitsDown);
    EXPECT_EQ(view_->pagesShown(), c.pages);
  }
  // Stretched, the page fills the view both ways.
  EXPECT_NE(view_->pixelsPerTwipX(), view_->pixelsPerTwipY());
  // Whole page: the thumbnail is a third of it.
  doc_.ZoomMode = 3;
  const double whole = view_->pixelsPerTwipX();
  doc_.ZoomMode = 1;
  EXPECT_NEAR(view_->pixelsPerTwipX(), whole / 3, 1e-9);
}

TEST_F(PrintPreviewTest, TwoPagesShowThePageShownAndTheNext) {
  doc_.ZoomMode = 2;
  doc_.PreviewPage = 2;
  QApplication::processEvents();
  ASSERT_EQ(view_->pagesShown(), 2);
  const QImage image = view_->pageWidget()->grab().toImage();
  const double s = view_->pixelsPerTwipX();
  const int y = PrintPreviewView::kGutter + static_cast<int>(5000 * s);
  const int x2 = PrintPreviewView::kGutter + static_cast<int>(5000 * s);
  const int x3 = 2 * PrintPreviewView::kGutter + static_cast<int>((kA4WidthTwipsPage + 5000) * s);
  EXPECT_EQ(image.pixelColor(x2, y), QColor(0, 255, 0));
  EXPECT_EQ(image.pixelColor(x3, y), QColor(0, 0, 255));
  // On the last page there is no next one.
  doc_.PreviewPage = 3;
  EXPECT_EQ(view_->pagesShown(), 1);
}

// Each page is clipped to its paper: lines composed past its right and
// bottom edges reach neither the ground around it nor the next page.
TEST_F(PrintPreviewTest, LinesPastThePapersEdgeStayOnTheirPage) {
  doc_.StartDoc();
  doc_.PenColor(0x0000FF);
  doc_.PenWidth(400);
  doc_.DrawLine(5000, 5000, 3 * kA4WidthTwipsPage, 5000);
  doc_.DrawLine(5000, 5000, 5000, 2 * kA4HeightTwipsPage);
  doc_.NewPage();
  doc_.EndDoc();
  doc_.ZoomMode = 2;
  doc_.PreviewPage = 1;
  QApplication::processEvents();
  ASSERT_EQ(view_->pagesShown(), 2);
  const QImage image = view_->pageWidget()->grab().toImage();
  const double s = view_->pixelsPerTwipX();
  auto at = [&](double x, double y) {
    return image.pixelColor(PrintPreviewView::kGutter + int(x * s), PrintPreviewView::kGutter + int(y * s));
  };
  const QColor red(255, 0, 0);
  EXPECT_EQ(at(8000, 5000), red);
  EXPECT_NE(at(kA4WidthTwipsPage + PrintPreviewView::kGutter / (2 * s), 5000), red);  // between the pages
  EXPECT_NE(at(kA4WidthTwipsPage + PrintPreviewView::kGutter / s + 3000, 5000), red);  // on page 2
  EXPECT_NE(at(5000, kA4HeightTwipsPage + PrintPreviewView::kGutter / (2 * s)), red);  // below page 1
}

TEST_F(PrintPreviewTest, RendersWhatTheDocumentDrawsAndFollowsANewDocument) {
  doc_.ZoomMode = 3;
  QApplication::processEvents();
  // The page number text leaves ink below the square.
  const QImage image = view_->pageWidget()->grab().toImage();
  const double s = view_->pixelsPerTwipX();
  int dark = 0;
  for (double x = 2000; x < 4000; x += 15)
    for (double y = 9000; y < 9300; y += 15) {
      const QColor c = image.pixelColor(PrintPreviewView::kGutter + int(x * s), PrintPreviewView::kGutter + int(y * s));
      if (c.lightness() < 160) ++dark;
    }
  EXPECT_GT(dark, 0);

  // Recomposed with a landscape page of one rectangle: the view follows.
  doc_.setPaperSize(kA4HeightTwipsPage, kA4WidthTwipsPage);
  doc_.StartDoc();
  doc_.BrushStyle = 0;
  doc_.BrushColor = 0x00FFFF;  // yellow
  doc_.DrawRectangle(1000, 1000, 12000, 9000);
  doc_.EndDoc();
  QApplication::processEvents();
  EXPECT_EQ(view_->firstPageShown(), 1);
  EXPECT_GT(view_->pageWidget()->width(), view_->pageWidget()->height());
  EXPECT_EQ(ColourAt(*view_, 6000, 5000), QColor(255, 255, 0));
}

TEST_F(PrintPreviewTest, GuidesAndThePaperEdgeAreDrawnOnlyWhenSwitchedOn) {
  doc_.ZoomMode = 0;
  doc_.Zoom = 100;
  doc_.PreviewPage = 1;
  auto guideAt = [&] {
    // On the left margin's line, in a blank stretch of the page.
    return ColourAt(*view_, doc_.MarginLeft, 12000);
  };
  doc_.ShowGuides = true;
  QApplication::processEvents();
  const bool seenWith = guideAt() != QColor(Qt::white) || ColourAt(*view_, doc_.MarginLeft + 15, 12000) != QColor(Qt::white) ||
                        ColourAt(*view_, doc_.MarginLeft, 12015) != QColor(Qt::white);
  EXPECT_TRUE(seenWith);
  doc_.ShowGuides = false;
  QApplication::processEvents();
  EXPECT_EQ(guideAt(), QColor(Qt::white));
  EXPECT_EQ(ColourAt(*view_, doc_.MarginLeft, 12015), QColor(Qt::white));

  // The paper's edge: its shadow lies just right of the page.
  const QImage edged = view_->pageWidget()->grab().toImage();
  const int right = PrintPreviewView::kGutter + static_cast<int>(kA4WidthTwipsPage * view_->pixelsPerTwipX());
  EXPECT_EQ(edged.pixelColor(right + 2, 300), QColor(64, 64, 64));
  doc_.PhysicalPage = false;
  QApplication::processEvents();
  const QImage plain = view_->pageWidget()->grab().toImage();
  EXPECT_EQ(plain.pixelColor(right + 2, 300), QColor(128, 128, 128));
}

}  // namespace
}  // namespace tellumo
