#pragma once
// The widget that shows a plot box: it paints the box's display list at
// whatever size it has (the user coordinate system stretches with the
// widget), follows the box's mouse pointer, and hands mouse moves and presses
// back to the box in user coordinates.
#include <QColor>
#include <QFont>
#include <QPointF>
#include <QSizeF>
#include <QString>
#include <QWidget>
#include <vector>

#include "platform/plot_box.h"

class QPainter;

namespace tellumo {

// One painting primitive in pixels of the drawing area, already clipped.
struct PixelOp {
  enum class Kind { Fill, Line, Rect, FilledRect, Point, Text };
  Kind kind = Kind::Line;
  // Line: from p1 to p2. Rect, FilledRect: corners p1 (top-left) and p2
  // (bottom-right). Point: centre p1. Text: top-left corner p1.
  QPointF p1;
  QPointF p2;
  QColor colour;
  int width = 1;
  Qt::PenStyle style = Qt::SolidLine;
  QString text;
  QFont font;
};

// The box's picture as pixel primitives for an area of the given size.
// Every coordinate is clipped in double precision to the area and a small
// margin around it, so that a coordinate system with an axis of almost no
// span cannot hand the painter absurd coordinates; what lies wholly outside
// is left out, and so is anything not finite.
std::vector<PixelOp> LayOutPlot(const PlotBox& box, const QSizeF& size);
void PaintPixelOps(const std::vector<PixelOp>& ops, QPainter& painter);

class BilogView : public QWidget {
  Q_OBJECT
 public:
  // Shows the program's plot box.
  explicit BilogView(QWidget* parent = nullptr);
  BilogView(PlotBox& box, QWidget* parent = nullptr);
  ~BilogView() override;

  PlotBox& box() { return box_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void showPointer(Pointer p);
  void handMouse(QMouseEvent* event, bool press);

  PlotBox& box_;
  int listener_ = 0;
};

}  // namespace tellumo
