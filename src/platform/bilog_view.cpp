#include "platform/bilog_view.h"

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <algorithm>
#include <cmath>

#include "modelling/bilog_frame.h"
#include "platform/vb_colour.h"

namespace tellumo {
namespace {

bool Finite(const QPointF& p) { return std::isfinite(p.x()) && std::isfinite(p.y()); }

// Liang-Barsky: cuts the segment a-b to the rectangle; false when nothing of
// it lies inside.
bool ClipSegment(QPointF& a, QPointF& b, const QRectF& r) {
  const double dx = b.x() - a.x();
  const double dy = b.y() - a.y();
  double t0 = 0.0, t1 = 1.0;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {a.x() - r.left(), r.right() - a.x(), a.y() - r.top(), r.bottom() - a.y()};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0.0) {
      if (q[i] < 0.0) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0.0) t0 = std::max(t0, t);
    else t1 = std::min(t1, t);
    if (t0 > t1) return false;
  }
  const QPointF start = a;
  a = QPointF(start.x() + t0 * dx, start.y() + t0 * dy);
  b = QPointF(start.x() + t1 * dx, start.y() + t1 * dy);
  return true;
}

QPointF Clamp(const QPointF& p, const QRectF& r) {
  return {std::clamp(p.x(), r.left(), r.right()), std::clamp(p.y(), r.top(), r.bottom())};
}


}  // namespace


std::vector<PixelOp> LayOutPlot(const PlotBox& box, const QSizeF& size) {
  std::vector<PixelOp> out;
  const double w = size.width();
  const double h = size.height();
  PixelOp background;
  background.kind = PixelOp::Kind::Fill;
  background.p2 = {w, h};
  background.colour = VbColour(box.BackColor);
  out.push_back(background);

  for (const PlotOp& op : box.Ops()) {
    if (op.scale.width == 0.0 || op.scale.height == 0.0) continue;
    const QPointF a = PlotBox::UserToPixel(op.scale, op.x1, op.y1, w, h);
    const QPointF b = PlotBox::UserToPixel(op.scale, op.x2, op.y2, w, h);
    // The margin keeps cut ends and box edges that lie outside out of sight.
    const double m = 8.0 + op.width;
    const QRectF area(-m, -m, w + 2 * m, h + 2 * m);
    PixelOp px;
    px.colour = VbColour(op.colour);
    px.width = std::max(1, op.width);
    px.style = VbPenStyle(op.style);
    switch (op.kind) {
      case PlotOp::Kind::Cls:
        px.kind = PixelOp::Kind::Fill;
        px.p1 = {0, 0};
        px.p2 = {w, h};
        out.push_back(px);
        break;
      case PlotOp::Kind::Line: {
        if (!Finite(a) || !Finite(b)) break;
        QPointF c = a, d = b;
        if (!ClipSegment(c, d, area)) break;
        px.kind = PixelOp::Kind::Line;
        px.p1 = c;
        px.p2 = d;
        out.push_back(px);
        break;
      }
      case PlotOp::Kind::Box:
      case PlotOp::Kind::FilledBox: {
        if (!Finite(a) || !Finite(b)) break;
        const QRectF r = QRectF(a, b).normalized();
        if (r.right() < area.left() || r.left() > area.right() || r.bottom() < area.top() || r.top() > area.bottom()) break;
        px.kind = op.kind == PlotOp::Kind::Box ? PixelOp::Kind::Rect : PixelOp::Kind::FilledRect;
        px.p1 = Clamp(r.topLeft(), area);
        px.p2 = Clamp(r.bottomRight(), area);
        out.push_back(px);
        break;
      }
      case PlotOp::Kind::PSet:
        if (!Finite(a) || a.x() < -m || a.x() > w + m || a.y() < -m || a.y() > h + m) break;
        px.kind = PixelOp::Kind::Point;
        px.p1 = a;
        out.push_back(px);
        break;
      case PlotOp::Kind::Print: {
        if (!Finite(a)) break;
        px.font = MakeQFont(op.font);
        const QFontMetricsF fm(px.font);
        const double tw = fm.horizontalAdvance(op.text);
        if (a.x() + tw < -m || a.x() > w + m || a.y() + fm.height() < -m || a.y() > h + m) break;
        px.kind = PixelOp::Kind::Text;
        px.p1 = a;
        px.text = op.text;
        out.push_back(px);
        break;
      }
    }
  }
  return out;
}

void PaintPixelOps(const std::vector<PixelOp>& ops, QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing, false);
  for (const PixelOp& op : ops) {
    switch (op.kind) {
      case PixelOp::Kind::Fill:
      case PixelOp::Kind::FilledRect:
        p.fillRect(QRectF(op.p1, op.p2), op.colour);
        break;
      case PixelOp::Kind::Line:
        p.setPen(QPen(op.colour, op.width, op.style, Qt::FlatCap));
        p.drawLine(op.p1, op.p2);
        break;
      case PixelOp::Kind::Rect:
        p.setPen(QPen(op.colour, op.width, op.style));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(op.p1, op.p2));
        break;
      case PixelOp::Kind::Point: {
        // A dot as wide as the draw width, on the pixel grid.
        const double half = op.width / 2.0;
        const QRectF dot(std::floor(op.p1.x() - half + 0.5), std::floor(op.p1.y() - half + 0.5), op.width, op.width);
        p.fillRect(dot, op.colour);
        break;
      }
      case PixelOp::Kind::Text: {
        p.setFont(op.font);
        p.setPen(op.colour);
        const QFontMetricsF fm(op.font);
        p.drawText(QPointF(op.p1.x(), op.p1.y() + fm.ascent()), op.text);
        break;
      }
    }
  }
}

BilogView::BilogView(QWidget* parent) : BilogView(Bilog(), parent) {}

BilogView::BilogView(PlotBox& box, QWidget* parent) : QWidget(parent), box_(box) {
  setObjectName(QStringLiteral("Bilog"));
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  listener_ = box_.AddChangeListener([this] { update(); });
  QPointer<BilogView> self(this);
  box_.MousePointer().onChange([self](Pointer p) {
    if (self) self->showPointer(p);
  });
  showPointer(box_.MousePointer().get());
}

BilogView::~BilogView() { box_.RemoveChangeListener(listener_); }

void BilogView::showPointer(Pointer p) {
  switch (p) {
    case Pointer::Hourglass: setCursor(Qt::WaitCursor); break;
    case Pointer::Cross: setCursor(Qt::CrossCursor); break;
    case Pointer::Arrow:
    case Pointer::Default: setCursor(Qt::ArrowCursor); break;
  }
}

void BilogView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  PaintPixelOps(LayOutPlot(box_, QSizeF(width(), height())), p);
}

void BilogView::resizeEvent(QResizeEvent* event) {
  box_.SetPixelSize(width(), height());
  QWidget::resizeEvent(event);
}

void BilogView::handMouse(QMouseEvent* event, bool press) {
  int16_t button = 0;
  const Qt::MouseButtons held = press ? Qt::MouseButtons(event->button()) : event->buttons();
  if (held & Qt::LeftButton) button |= PlotBox::kLeftButton;
  if (held & Qt::RightButton) button |= PlotBox::kRightButton;
  if (held & Qt::MiddleButton) button |= PlotBox::kMiddleButton;
  int16_t shift = 0;
  const Qt::KeyboardModifiers mods = event->modifiers();
  if (mods & Qt::ShiftModifier) shift |= PlotBox::kShiftMask;
  if (mods & Qt::ControlModifier) shift |= PlotBox::kCtrlMask;
  if (mods & Qt::AltModifier) shift |= PlotBox::kAltMask;
  const QPointF pos = event->position();
  const QPointF user = PlotBox::PixelToUser(box_.CurrentScale(), pos.x(), pos.y(), width(), height());
  const float x = static_cast<float>(user.x());
  const float y = static_cast<float>(user.y());
  if (press) box_.MouseDown(button, shift, x, y);
  else box_.MouseMove(button, shift, x, y);
}

void BilogView::mouseMoveEvent(QMouseEvent* event) { handMouse(event, false); }
void BilogView::mousePressEvent(QMouseEvent* event) { handMouse(event, true); }

}  // namespace tellumo
