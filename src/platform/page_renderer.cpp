#include "platform/page_renderer.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

#include "platform/page_document.h"
#include "platform/vb_colour.h"

namespace tellumo {
namespace {


// The op's pen in twips; a pen thinner than one device pixel is drawn one
// pixel wide (cosmetic).
QPen ToPen(const PageOp& op, double devicePixelsPerTwip) {
  QPen pen(PageColour(op.penColour));
  pen.setStyle(VbPenStyle(op.penStyle));
  pen.setCapStyle(Qt::FlatCap);
  pen.setJoinStyle(Qt::MiterJoin);
  if (op.penWidth * devicePixelsPerTwip < 1.0) {
    pen.setCosmetic(true);
    pen.setWidthF(1.0);
  } else {
    pen.setWidthF(op.penWidth);
  }
  return pen;
}

void DrawOp(const PageOp& op, QPainter& p, double devicePixelsPerTwip) {
  switch (op.kind) {
    case PageOp::Kind::Line: {
      QPen pen = ToPen(op, devicePixelsPerTwip);
      if (op.x1 == op.x2 && op.y1 == op.y2) {
        // A dot: a square as wide as the pen.
        pen.setCapStyle(Qt::SquareCap);
        p.setPen(pen);
        p.drawPoint(QPointF(op.x1, op.y1));
      } else {
        p.setPen(pen);
        p.drawLine(QPointF(op.x1, op.y1), QPointF(op.x2, op.y2));
      }
      break;
    }
    case PageOp::Kind::Rectangle: {
      p.setPen(ToPen(op, devicePixelsPerTwip));
      p.setBrush(op.brushStyle == 0 ? QBrush(PageColour(op.brushColour)) : QBrush(Qt::NoBrush));
      p.drawRect(QRectF(QPointF(op.x1, op.y1), QPointF(op.x2, op.y2)).normalized());
      p.setBrush(Qt::NoBrush);
      break;
    }
    case PageOp::Kind::Polyline: {
      QPolygonF poly;
      for (size_t i = 0; i + 1 < op.points.size(); i += 2) poly << QPointF(op.points[i], op.points[i + 1]);
      p.setPen(ToPen(op, devicePixelsPerTwip));
      p.setBrush(Qt::NoBrush);
      p.drawPolyline(poly);
      break;
    }
    case PageOp::Kind::Text: {
      if (op.text.isEmpty()) break;
      p.save();
      if (op.clipped)
        p.setClipRect(QRectF(QPointF(op.clipX1, op.clipY1), QPointF(op.clipX2, op.clipY2)).normalized(),
                      Qt::IntersectClip);
      const QFont font = PageQFont(op);
      p.setFont(font);
      p.setPen(PageColour(op.textColour));
      p.translate(op.x1, op.y1);
      if (op.textAngle != 0) p.rotate(-op.textAngle / 10.0);
      p.drawText(QPointF(0, QFontMetricsF(font).ascent()), op.text);
      p.restore();
      break;
    }
  }
}

}  // namespace

QColor PageColour(int32_t c) { return VbColour(c); }

QFont PageQFont(const PageOp& op) {
  QFont f(op.fontName);
  f.setPixelSize(std::max(1, static_cast<int>(std::lround(op.fontSize * 20.0))));
  f.setBold(op.bold);
  f.setItalic(op.italic);
  f.setHintingPreference(QFont::PreferNoHinting);
  return f;
}

void RenderPageContent(const PageContent& page, QPainter& painter, double pixelsPerTwip) {
  if (page.width <= 0 || page.height <= 0) return;
  painter.save();
  double scale = pixelsPerTwip;
  if (scale <= 0) {
    const QPaintDevice* device = painter.device();
    const double w = device ? device->width() : 0;
    const double h = device ? device->height() : 0;
    scale = std::min(w / page.width, h / page.height);
    if (!(scale > 0)) {
      painter.restore();
      return;
    }
    painter.translate((w - page.width * scale) / 2, (h - page.height * scale) / 2);
  }
  // Device pixels per twip, with whatever scaling the painter had already.
  const double devicePixelsPerTwip = scale * std::sqrt(std::abs(painter.worldTransform().determinant()));
  painter.scale(scale, scale);
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  painter.fillRect(QRectF(0, 0, page.width, page.height), Qt::white);
  // Nothing is drawn beyond the paper: a line composed past its edge (an
  // elevation line of a long section, say) would run over the preview's
  // ground and the next page.
  painter.setClipRect(QRectF(0, 0, page.width, page.height), Qt::IntersectClip);
  for (const PageOp& op : page.ops) DrawOp(op, painter, devicePixelsPerTwip);
  painter.restore();
}

void RenderPage(const PageDocument& document, int number, QPainter& painter, double pixelsPerTwip) {
  const PageContent& page = document.Page(number);
  if (number < 1 || number > document.PageCount()) {
    // Out of range: the paper of the document's present size only.
    PageContent blank;
    blank.width = document.PageWidth();
    blank.height = document.PageHeight();
    RenderPageContent(blank, painter, pixelsPerTwip);
    return;
  }
  RenderPageContent(page, painter, pixelsPerTwip);
}

}  // namespace tellumo
