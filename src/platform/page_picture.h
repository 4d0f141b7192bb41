#pragma once
// Pictures of a composed page: a bitmap, an SVG drawing and an enhanced
// metafile (EMF, written with libEMF), and the three together on the
// clipboard. Every picture shows the whole page at its paper size.
#include <QByteArray>
#include <QImage>

namespace tellumo {

struct PageContent;

// The page as a bitmap at the given resolution, white paper.
QImage PageImage(const PageContent& page, double dotsPerInch = 150);
// The page as an SVG document (UTF-8), its size the paper's.
QByteArray PageSvg(const PageContent& page);
// The page as an enhanced metafile: its frame the paper in 0.01 mm, its
// records lines, rectangles, polylines and texts in the page's pens,
// brushes and fonts. The bytes of a complete file (" EMF" at offset 40, the
// header's size field equal to the length).
QByteArray PageEmf(const PageContent& page);

// Clears the clipboard and puts the page on it as PNG ("image/png", also as
// the clipboard's image), SVG ("image/svg+xml") and EMF ("image/emf" and
// "image/x-emf"). False when there is no clipboard (no GUI application).
bool PutPageOnClipboard(const PageContent& page);

}  // namespace tellumo
