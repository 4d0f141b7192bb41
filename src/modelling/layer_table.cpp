#include "modelling/layer_table.h"

namespace tellumo {

// Placeholders until the layer table lands.
void UpdateLayerDepths() {}
void ModelToGrid() {}
void GridToModel() {}

}  // namespace tellumo
