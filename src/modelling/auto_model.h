#pragma once
// A starting layered model read off the field curve alone, for the fit to
// start from when the user has typed no model.

namespace tellumo {

// Log-log slope of the field curve between points i and i + 1 (entry 0
// repeats entry 1), in single precision: the creation compares them as such.
extern float FieldSlopes[51];

// Replaces the resistivities and thicknesses of layers 1 to 20, LayerCount
// and LayerFixCode (all free) from FieldData and PointCount; depths are left
// for UpdateLayerDepths. Sets ModeWord to "AUTOMATIC". At most 20 layers are
// made. With fewer than two field points, or a spacing or resistivity whose
// logarithm fails, the creation stops with "Automatic model impossible...".
void CreateAutomaticModel();

void ResetAutoModelState();

}  // namespace tellumo
