#include "platform/window_placement.h"

#include <algorithm>

namespace tellumo {

namespace {

// One axis: the start and length of the window on the span [first, first + span).
void Fit(int wanted, int length, int first, int span, int& start, int& fitted) {
  fitted = std::min(length, span);
  start = std::clamp(wanted, first, first + span - fitted);
}

}  // namespace

QRect PlaceOnScreen(QPoint wanted, QSize frameSize, const QRect& available) {
  if (available.isEmpty()) return {wanted, frameSize};
  int x = 0, y = 0, w = 0, h = 0;
  Fit(wanted.x(), frameSize.width(), available.left(), available.width(), x, w);
  Fit(wanted.y(), frameSize.height(), available.top(), available.height(), y, h);
  return {x, y, w, h};
}

}  // namespace tellumo
