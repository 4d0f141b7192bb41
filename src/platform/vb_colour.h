#pragma once
// The program's colours (0x00BBGGRR, red in the low byte) and line styles as
// Qt draws them: converted here only, never through QRgb.
#include <QColor>
#include <Qt>
#include <cstdint>

namespace tellumo {

inline QColor VbColour(int32_t c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

// Line styles as the classic runtime numbers them: 0 solid, 1 dash, 2 dot,
// 3 dash-dot, 4 dash-dot-dot, 5 none.
inline Qt::PenStyle VbPenStyle(int style) {
  switch (style) {
    case 1: return Qt::DashLine;
    case 2: return Qt::DotLine;
    case 3: return Qt::DashDotLine;
    case 4: return Qt::DashDotDotLine;
    case 5: return Qt::NoPen;
    default: return Qt::SolidLine;
  }
}

}  // namespace tellumo
