#pragma once
#include <cstdint>

namespace tellumo {

// Rounds LayerModel(column, layer) in place (column 1 resistivity, 2 thickness,
// 3 depth).
void RoundParameter(int16_t& column, int16_t& layer);

}  // namespace tellumo
