#include "modelling/model_window_state.h"

namespace tellumo {

GridModel Grid1(kLayerTableRows, kLayerTableCols, 1, 0);
std::function<void()> ModelWindowLoader;

void TouchModelWindow() {
  if (ModelWindowLoader) ModelWindowLoader();
}

void ResetModelWindowState() { Grid1.reset(kLayerTableRows, kLayerTableCols, 1, 0); }

}  // namespace tellumo
