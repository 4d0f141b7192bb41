#include "platform/page_picture.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPainter>
#include <QSvgGenerator>
#include <cmath>

#include "platform/page_document.h"
#include "platform/page_renderer.h"

namespace tellumo {
namespace {

constexpr double kTwipsPerInch = 1440.0;
// The SVG drawing is laid out in pixels of a 96 dpi screen, 15 twips each:
// a hairline of the page stays one pixel wide in a viewer instead of a
// fifteenth of one. Its size is given in hundredths of a millimetre (2540
// to the inch), so that an A4 page says 210 × 297 mm exactly.
constexpr double kSvgDpi = 96.0;
constexpr int kSvgSizeDpi = 2540;
constexpr double kTwipsPerMm = 56.7;
// Resolution of the bitmap put on the clipboard.
constexpr double kClipboardDpi = 150.0;
// A bitmap larger than this (pixels a side) is not made.
constexpr double kLargestSide = 20000.0;

bool HasGuiApplication() { return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr; }

}  // namespace

QImage PageImage(const PageContent& page, double dotsPerInch) {
  if (!(dotsPerInch > 0) || !(page.width > 0) || !(page.height > 0)) return {};
  const double pixelsPerTwip = dotsPerInch / kTwipsPerInch;
  const double w = std::ceil(page.width * pixelsPerTwip);
  const double h = std::ceil(page.height * pixelsPerTwip);
  if (w > kLargestSide || h > kLargestSide) return {};
  QImage image(static_cast<int>(w), static_cast<int>(h), QImage::Format_RGB32);
  if (image.isNull()) return {};
  image.fill(Qt::white);
  const int dotsPerMetre = static_cast<int>(std::lround(dotsPerInch / 0.0254));
  image.setDotsPerMeterX(dotsPerMetre);
  image.setDotsPerMeterY(dotsPerMetre);
  QPainter painter(&image);
  RenderPageContent(page, painter, pixelsPerTwip);
  painter.end();
  return image;
}

QByteArray PageSvg(const PageContent& page) {
  if (!(page.width > 0) || !(page.height > 0)) return {};
  const double pixelsPerTwip = kSvgDpi / kTwipsPerInch;
  const QSizeF size(page.width * pixelsPerTwip, page.height * pixelsPerTwip);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  {
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setResolution(kSvgSizeDpi);
    svg.setSize(QSize(static_cast<int>(std::lround(page.width / kTwipsPerMm * 100)),
                      static_cast<int>(std::lround(page.height / kTwipsPerMm * 100))));
    svg.setViewBox(QRectF(QPointF(0, 0), size));
    svg.setTitle(QStringLiteral("Tellumo"));
    QPainter painter(&svg);
    RenderPageContent(page, painter, pixelsPerTwip);
    painter.end();
  }
  buffer.close();
  return bytes;
}

bool PutPageOnClipboard(const PageContent& page) {
  if (!HasGuiApplication()) return false;
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (!clipboard) return false;
  clipboard->clear();

  const QImage image = PageImage(page, kClipboardDpi);
  QByteArray png;
  if (!image.isNull()) {
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
  }
  const QByteArray svg = PageSvg(page);
  const QByteArray emf = PageEmf(page);
  if (image.isNull() && svg.isEmpty() && emf.isEmpty()) return false;

  auto* data = new QMimeData;
  if (!image.isNull()) data->setImageData(image);
  if (!png.isEmpty()) data->setData(QStringLiteral("image/png"), png);
  if (!svg.isEmpty()) data->setData(QStringLiteral("image/svg+xml"), svg);
  if (!emf.isEmpty()) {
    data->setData(QStringLiteral("image/emf"), emf);
    data->setData(QStringLiteral("image/x-emf"), emf);
  }
  clipboard->setMimeData(data);
  return true;
}

}  // namespace tellumo
