#pragma once
// The profile list of the tab "Profile data" as start-up lays it out, and the
// paper-size label beside it. The profile code fills the rows later.
#include <QString>

#include "platform/grid_model.h"

namespace tellumo {

// The profile list grid SEV_Grid.
GridModel& SEV_Grid();

// 2 rows, 8 columns, the column widths and the headings "File name", "X",
// "Y", "Z", "Order", "Distance", "Max. depth", drawn once at the end.
void LayOutProfileList();

// "Paper size= " with the page height and width in whole millimetres, as
// Str gives them (a blank before each): " 297 /  210" for A4 upright.
QString PaperSizeCaption(double pageHeightTwips, double pageWidthTwips);

// The profile preview's page until the preview itself exists: A4 upright.
inline constexpr double kA4HeightTwips = 297 * 56.7;
inline constexpr double kA4WidthTwips = 210 * 56.7;

}  // namespace tellumo
