#include "platform/print_preview_view.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPen>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "platform/page_renderer.h"

namespace tellumo {
namespace {

// Twips per pixel on a 96 dpi screen.
constexpr double kTwipsPerPixel = 15.0;
const QColor kGround(128, 128, 128);
// One notch of a mouse wheel, in eighths of a degree.
constexpr int kWheelNotch = 120;

}  // namespace

class PrintPreviewView::Canvas : public QWidget {
 public:
  explicit Canvas(PrintPreviewView& view) : QWidget(nullptr), view_(view) {
    setObjectName(QStringLiteral("PreviewPages"));
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    view_.paintPages(p);
  }

 private:
  PrintPreviewView& view_;
};

PrintPreviewView::PrintPreviewView(PageDocument& document, QWidget* parent)
    : QWidget(parent), document_(document) {
  area_ = new QScrollArea(this);
  area_->setWidgetResizable(false);
  area_->setAlignment(Qt::AlignCenter);
  area_->setBackgroundRole(QPalette::Dark);
  QPalette pal = area_->palette();
  pal.setColor(QPalette::Dark, kGround);
  area_->setPalette(pal);
  canvas_ = new Canvas(*this);
  area_->setWidget(canvas_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(area_);
  setFocusProxy(area_);
  // The scroll area would scroll by the paging keys and stop the wheel at its
  // ends; the view turns the pages there instead.
  area_->installEventFilter(this);
  area_->viewport()->installEventFilter(this);
  listener_ = document_.AddChangeListener([this] {
    relayout();
    canvas_->update();
  });
  relayout();
}

PrintPreviewView::~PrintPreviewView() { document_.RemoveChangeListener(listener_); }

int PrintPreviewView::firstPageShown() const {
  return std::clamp(document_.PreviewPage.value(), 1, std::max(1, document_.PageCount()));
}

int PrintPreviewView::pagesShown() const {
  if (document_.ZoomMode != 2) return 1;
  return firstPageShown() + 1 <= document_.PageCount() ? 2 : 1;
}

void PrintPreviewView::relayout() {
  const PageContent& first = document_.Page(firstPageShown());
  const bool hasPage = document_.PageCount() > 0;
  const double pageW = hasPage ? first.width : document_.PageWidth();
  const double pageH = hasPage ? first.height : document_.PageHeight();
  const int count = pagesShown();

  // Room inside the scroll area without its scroll bars.
  const QSize room = area_->maximumViewportSize();
  const double roomW = std::max(1, room.width() - 2 * kGutter);
  const double roomH = std::max(1, room.height() - 2 * kGutter);
  const double rowW = count * pageW;  // pages side by side, gutters apart
  const double gutters = (count - 1) * kGutter;
  auto fitWhole = [&] { return std::min((roomW - gutters) / rowW, roomH / pageH); };

  switch (document_.ZoomMode) {
    case 0:
      scaleX_ = scaleY_ = document_.Zoom / 100.0 / kTwipsPerPixel;
      break;
    case 1:
      scaleX_ = scaleY_ = fitWhole() * kThumbnailFraction;
      break;
    case 2:
    case 3:
      scaleX_ = scaleY_ = fitWhole();
      break;
    case 4: {
      // The page's width fills the view; the height scrolls, so keep room
      // for the vertical scroll bar.
      const int bar = area_->verticalScrollBar()->sizeHint().width();
      scaleX_ = scaleY_ = std::max(1.0, roomW - bar) / pageW;
      break;
    }
    default:  // stretch: the page fills the view both ways
      scaleX_ = roomW / pageW;
      scaleY_ = roomH / pageH;
      break;
  }
  scaleX_ = std::max(scaleX_, 1e-4);
  scaleY_ = std::max(scaleY_, 1e-4);
  const int w = static_cast<int>(std::ceil(count * pageW * scaleX_ + gutters + 2 * kGutter));
  const int h = static_cast<int>(std::ceil(pageH * scaleY_ + 2 * kGutter));
  canvas_->setFixedSize(std::max(1, w), std::max(1, h));
}

void PrintPreviewView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  relayout();
}

bool PrintPreviewView::eventFilter(QObject* watched, QEvent* event) {
  if (watched == area_ && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (pageByKey(key->key(), key->modifiers())) return true;
  } else if (watched == area_->viewport() && event->type() == QEvent::Wheel) {
    const auto* wheel = static_cast<QWheelEvent*>(event);
    // Ctrl and Shift with the wheel keep the scroll area's own meaning.
    if (!(wheel->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier)) && pageByWheel(wheel->angleDelta().y()))
      return true;
  }
  return QWidget::eventFilter(watched, event);
}

bool PrintPreviewView::turnTo(int page) {
  const int count = document_.PageCount();
  if (count == 0) return false;
  page = std::clamp(page, 1, count);
  if (page == firstPageShown()) return false;
  document_.ShowPageFromView(page);
  return true;
}

bool PrintPreviewView::pageByKey(int key, Qt::KeyboardModifiers modifiers) {
  const int step = document_.PagesShownAtOnce();
  const int first = firstPageShown();
  const bool control = modifiers & Qt::ControlModifier;
  int page;
  if (key == Qt::Key_PageDown && !control) {
    // The last pages stay together: no turn past them.
    if (first + step > document_.PageCount()) return true;
    page = first + step;
  } else if (key == Qt::Key_PageUp && !control) {
    page = first - step;
  } else if (key == Qt::Key_Home && control) {
    page = 1;
  } else if (key == Qt::Key_End && control) {
    page = document_.PageCount();
  } else {
    return false;
  }
  if (turnTo(page)) area_->verticalScrollBar()->setValue(area_->verticalScrollBar()->minimum());
  return true;
}

bool PrintPreviewView::pageByWheel(int delta) {
  QScrollBar* bar = area_->verticalScrollBar();
  const bool down = delta < 0;
  // Within the scroll range the wheel scrolls the page shown.
  if (delta == 0 || (down && bar->value() < bar->maximum()) || (!down && bar->value() > bar->minimum())) {
    wheelTurn_ = 0;
    return false;
  }
  // Past an end the turns add up to a notch (fine-grained wheels and touch
  // pads send many small ones) before the page turns.
  if (wheelTurn_ != 0 && (wheelTurn_ < 0) != down) wheelTurn_ = 0;
  wheelTurn_ += delta;
  if (std::abs(wheelTurn_) < kWheelNotch) return true;
  wheelTurn_ = 0;
  const int step = document_.PagesShownAtOnce();
  const int first = firstPageShown();
  if (down) {
    if (first + step <= document_.PageCount() && turnTo(first + step)) bar->setValue(bar->minimum());
  } else if (turnTo(first - step)) {
    // Going back, the reader arrives at the bottom of the page before.
    bar->setValue(bar->maximum());
  }
  return true;
}

void PrintPreviewView::paintPages(QPainter& p) {
  p.fillRect(canvas_->rect(), kGround);
  const int first = firstPageShown();
  const int count = pagesShown();
  double left = kGutter;
  for (int i = 0; i < count; ++i) {
    const int number = first + i;
    const bool hasPage = number <= document_.PageCount();
    const double pageW = hasPage ? document_.Page(number).width : document_.PageWidth();
    const double pageH = hasPage ? document_.Page(number).height : document_.PageHeight();
    const QRectF paper(left, kGutter, pageW * scaleX_, pageH * scaleY_);

    if (document_.PhysicalPage) {
      // The sheet's edge and its shadow.
      p.fillRect(paper.translated(4, 4), QColor(64, 64, 64));
    }
    p.save();
    p.translate(paper.topLeft());
    p.scale(scaleX_ / scaleY_, 1.0);
    RenderPage(document_, number, p, scaleY_);
    p.restore();
    if (document_.PhysicalPage) {
      p.setPen(QPen(Qt::black, 0));
      p.setBrush(Qt::NoBrush);
      p.drawRect(paper.adjusted(0, 0, -1, -1));
    }
    if (document_.ShowGuides) {
      QPen guide(QColor(96, 96, 96), 0, Qt::DotLine);
      p.setPen(guide);
      const double gx1 = paper.left() + document_.MarginLeft * scaleX_;
      const double gx2 = paper.left() + (pageW - document_.MarginRight) * scaleX_;
      const double gy1 = paper.top() + document_.MarginTop * scaleY_;
      const double gy2 = paper.top() + (pageH - document_.MarginBottom) * scaleY_;
      p.drawLine(QPointF(gx1, paper.top()), QPointF(gx1, paper.bottom()));
      p.drawLine(QPointF(gx2, paper.top()), QPointF(gx2, paper.bottom()));
      p.drawLine(QPointF(paper.left(), gy1), QPointF(paper.right(), gy1));
      p.drawLine(QPointF(paper.left(), gy2), QPointF(paper.right(), gy2));
    }
    left += paper.width() + kGutter;
  }
}

}  // namespace tellumo
