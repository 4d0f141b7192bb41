#include "platform/plot_box.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

namespace tellumo {
namespace {

// Twips per pixel on a 96 dpi screen: a new box measures itself in twips.
constexpr double kTwipsPerPixel = 15.0;

}  // namespace

QFont MakeQFont(const PlotFont& f) {
  QFont q(f.name);
  q.setPixelSize(std::max(1, static_cast<int>(std::lround(f.size * 96.0 / 72.0))));
  q.setBold(f.bold);
  return q;
}

PlotBox::PlotBox() { Reset(); }

void PlotBox::Reset() {
  ops_.clear();
  userScale_ = false;
  scale_ = UserScale{0.0, 0.0, pixelWidth_ * kTwipsPerPixel, pixelHeight_ * kTwipsPerPixel};
  CurrentX = 0.0;
  CurrentY = 0.0;
  DrawWidth = 1;
  DrawStyle = 0;
  ForeColor = 0x000000;
  BackColor = 0xF0F0F0;
  FontName = QStringLiteral("Arial");
  FontSize = 8.0;
  FontBold = false;
  pointer_.set(Pointer::Default);
  pointer_.clearHistory();
  for (auto& l : listeners_) l.second();
}

void PlotBox::SetPixelSize(int width, int height) {
  pixelWidth_ = std::max(1, width);
  pixelHeight_ = std::max(1, height);
  // Until a user coordinate system is set the box is measured in twips, and
  // that measure follows its size.
  if (!userScale_) scale_ = UserScale{0.0, 0.0, pixelWidth_ * kTwipsPerPixel, pixelHeight_ * kTwipsPerPixel};
}

void PlotBox::Scale(double x1, double y1, double x2, double y2) {
  scale_ = UserScale{x1, y1, x2 - x1, y2 - y1};
  userScale_ = true;
}

void PlotBox::record(PlotOp op) {
  op.scale = scale_;
  ops_.push_back(std::move(op));
  for (auto& l : listeners_) l.second();
}

void PlotBox::Cls() {
  ops_.clear();
  PlotOp op;
  op.kind = PlotOp::Kind::Cls;
  op.colour = BackColor;
  CurrentX = 0.0;
  CurrentY = 0.0;
  record(std::move(op));
}

// A line or a box from (x1, y1) to (x2, y2) in the pen of the moment; the
// current position moves to its end, as the picture box's Line does.
void PlotBox::RecordSegment(PlotOp::Kind kind, double x1, double y1, double x2, double y2,
                            std::optional<int32_t> colour) {
  PlotOp op;
  op.kind = kind;
  op.x1 = x1;
  op.y1 = y1;
  op.x2 = x2;
  op.y2 = y2;
  op.colour = colour.value_or(ForeColor);
  op.width = DrawWidth;
  op.style = DrawStyle;
  CurrentX = x2;
  CurrentY = y2;
  record(std::move(op));
}

void PlotBox::Line(double x1, double y1, double x2, double y2, std::optional<int32_t> colour) {
  RecordSegment(PlotOp::Kind::Line, x1, y1, x2, y2, colour);
}

void PlotBox::LineTo(double x2, double y2, std::optional<int32_t> colour) { Line(CurrentX, CurrentY, x2, y2, colour); }

void PlotBox::Box(double x1, double y1, double x2, double y2, std::optional<int32_t> colour, bool filled) {
  RecordSegment(filled ? PlotOp::Kind::FilledBox : PlotOp::Kind::Box, x1, y1, x2, y2, colour);
}

void PlotBox::PSet(double x, double y, std::optional<int32_t> colour) {
  PlotOp op;
  op.kind = PlotOp::Kind::PSet;
  op.x1 = op.x2 = x;
  op.y1 = op.y2 = y;
  op.colour = colour.value_or(ForeColor);
  op.width = DrawWidth;
  CurrentX = x;
  CurrentY = y;
  record(std::move(op));
}

void PlotBox::Print(const QString& text, bool newline) {
  PlotOp op;
  op.kind = PlotOp::Kind::Print;
  op.x1 = op.x2 = CurrentX;
  op.y1 = op.y2 = CurrentY;
  op.colour = ForeColor;
  op.text = text;
  op.font = Font();
  if (newline) {
    CurrentX = scale_.left;
    CurrentY += TextHeight(text);
  } else {
    CurrentX += TextWidth(text);
  }
  record(std::move(op));
}

double PlotBox::TextWidth(const QString& text) const {
  QFontMetricsF m(MakeQFont(Font()));
  return m.horizontalAdvance(text) * scale_.width / pixelWidth_;
}

double PlotBox::TextHeight(const QString& /*text*/) const {
  QFontMetricsF m(MakeQFont(Font()));
  return m.height() * scale_.height / pixelHeight_;
}

QPointF PlotBox::UserToPixel(const UserScale& s, double x, double y, double pixelWidth, double pixelHeight) {
  return {(x - s.left) / s.width * pixelWidth, (y - s.top) / s.height * pixelHeight};
}

QPointF PlotBox::PixelToUser(const UserScale& s, double px, double py, double pixelWidth, double pixelHeight) {
  return {s.left + px / pixelWidth * s.width, s.top + py / pixelHeight * s.height};
}

void PlotBox::MouseMove(int16_t button, int16_t shift, float x, float y) {
  if (MouseMoveHandler) MouseMoveHandler(button, shift, x, y);
}

void PlotBox::MouseDown(int16_t button, int16_t shift, float x, float y) {
  if (MouseDownHandler) MouseDownHandler(button, shift, x, y);
}

int PlotBox::AddChangeListener(std::function<void()> f) {
  listeners_.emplace_back(nextListener_, std::move(f));
  return nextListener_++;
}

void PlotBox::RemoveChangeListener(int id) {
  std::erase_if(listeners_, [id](const auto& l) { return l.first == id; });
}

}  // namespace tellumo
