#pragma once
#include <QString>

namespace tellumo {

void UpdateLayerDepths();
void ModelToGrid();
void GridToModel();

}  // namespace tellumo
