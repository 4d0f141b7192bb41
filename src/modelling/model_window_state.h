#pragma once
// Plain state of the model window that the core fills and reads: its layer
// table Grid1 (row 0 headings, rows 1 to 20 layers 1 to 20; columns 0
// resistivity, 1 thickness, 2 depth of the top, 3 altitude of the top). The
// window's grid view mirrors it.
#include <functional>

#include "platform/grid_model.h"

namespace tellumo {

inline constexpr int kLayerTableRows = 21;
inline constexpr int kLayerTableCols = 4;

extern GridModel Grid1;

// Touching the model window's controls loads the window when it is not loaded
// yet, and its load handler runs first. The window installs the loader here;
// until it does, the table is plain state and nothing is loaded.
extern std::function<void()> ModelWindowLoader;
void TouchModelWindow();

// The table as the window is designed: 21 rows, 4 columns, one fixed row and
// no fixed column, all cells empty.
void ResetModelWindowState();

}  // namespace tellumo
