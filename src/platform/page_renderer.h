#pragma once
// Draws a page of a page document on any QPainter (preview widget, printer,
// PDF writer, image): the painter's device is taken to show the whole page,
// scaled to fit, or at a given number of device pixels per twip.
#include <QColor>
#include <QFont>
#include <cstdint>

class QPainter;

namespace tellumo {

class PageDocument;
struct PageContent;
struct PageOp;

// Page `number` (1-based) with the painter's transformation mapping twips of
// the page onto the device; `pixelsPerTwip` 0 fits the page into the device
// (centred, keeping its aspect), otherwise the page's top-left corner is at
// the painter's origin. The paper is painted white first, and nothing is
// drawn beyond its edges. Pen widths are twips (never thinner than one
// device pixel); text takes its font at its point size, turned by its angle.
// A page number out of range paints the paper only.
void RenderPage(const PageDocument& document, int number, QPainter& painter, double pixelsPerTwip = 0);
// The same for a page on its own.
void RenderPageContent(const PageContent& page, QPainter& painter, double pixelsPerTwip = 0);

// Classic colour 0x00BBGGRR to a Qt colour.
QColor PageColour(int32_t colour);
// The font of a text operation, sized in twips (20 per point) for a painter
// that draws in twips; unhinted, as the document measured it.
QFont PageQFont(const PageOp& op);

}  // namespace tellumo
