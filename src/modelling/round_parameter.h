#pragma once
#include <cstdint>

namespace tellumo {

// Rounds LayerModel(column, layer) in place (column 1 resistivity, 2 thickness,
// 3 depth): resistivities to three significant digits or whole ohm.m, lengths
// to the decimals chosen in the drawing options (ThicknessDecimals). A
// positive thickness never rounds to 0, which would make the layer the
// half-space, nor a positive resistivity, which would mark a row without a
// layer: each keeps at least one rounding step. A value too large for a 32-bit
// integer once scaled raises error 6 and is left as it was.
void RoundParameter(int16_t& column, int16_t& layer);

}  // namespace tellumo
