#pragma once
// The widget that shows a page document as the print-preview control does:
// the page shown (two pages side by side in the two-pages mode) on a grey
// ground, at the document's zoom percentage of a 96 dpi screen or fitted to
// the view by the zoom mode, with the paper's edge when the physical page is
// on and the margins as dotted guides when the guides are on; scroll bars
// when the page is larger than the view. It follows every change the
// document announces. PageUp and PageDown (Ctrl+Home and Ctrl+End for the
// first and the last page), and the mouse wheel turned on past the top or the
// bottom of the scroll range, page through the document by the pages shown
// at once; the document's page event follows each turn.
#include <QScrollArea>
#include <QSize>
#include <QWidget>

#include "platform/page_document.h"

namespace tellumo {

class PrintPreviewView : public QWidget {
  Q_OBJECT
 public:
  // Grey ground around and between the pages, pixels.
  static constexpr int kGutter = 12;
  // A thumbnail is the whole page at this fraction of its fitted size.
  static constexpr double kThumbnailFraction = 1.0 / 3.0;

  explicit PrintPreviewView(PageDocument& document, QWidget* parent = nullptr);
  ~PrintPreviewView() override;

  PageDocument& document() { return document_; }
  // The widget the pages are painted on (inside the scroll area).
  QWidget* pageWidget() const { return canvas_; }
  QScrollArea* scrollArea() const { return area_; }
  // The pages shown: the first and how many (1 or 2).
  int firstPageShown() const;
  int pagesShown() const;
  // Device pixels per twip across and down (equal except when stretched).
  double pixelsPerTwipX() const { return scaleX_; }
  double pixelsPerTwipY() const { return scaleY_; }
  // Sizes and scales again from the document and the view's size.
  void relayout();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  class Canvas;
  friend class Canvas;
  void paintPages(QPainter& painter);
  // Paging by the keys and the wheel; true when the event was used.
  bool pageByKey(int key, Qt::KeyboardModifiers modifiers);
  bool pageByWheel(int delta);
  // Shows `page` as the view's own paging does; false when it is already shown.
  bool turnTo(int page);

  PageDocument& document_;
  QScrollArea* area_ = nullptr;
  QWidget* canvas_ = nullptr;
  int listener_ = 0;
  int wheelTurn_ = 0;  // wheel turned past an end, in eighths of a degree
  double scaleX_ = 1.0 / 15.0;
  double scaleY_ = 1.0 / 15.0;
};

}  // namespace tellumo
