#pragma once
// Windows the program places itself (the model window) stand at a position
// given relative to their owner window, and wholly on the screen.
#include <QPoint>
#include <QRect>
#include <QSize>

namespace tellumo {

// The frame of a window of `frameSize` wanted with its top-left corner at
// `wanted`, moved left and up as far as needed to lie on `available` (the
// screen's free area). A window wider or higher than that area starts at its
// left or top edge and is cut to its width or height.
QRect PlaceOnScreen(QPoint wanted, QSize frameSize, const QRect& available);

}  // namespace tellumo
