#pragma once
// Plain state of the drawing options panel, mirrored both ways by the panel's
// controls so that computations never touch a widget.
#include <cstdint>

namespace tellumo {

// Decimals of thicknesses, depths and altitudes in the layer table (list Combo5).
extern int16_t ThicknessDecimals;

void ResetOptionsState();

}  // namespace tellumo
