#pragma once
// The empty log-log chart of the current sounding on the main window's plot
// box, with the sounding's field points marked on it. Plot coordinates are
// decades: x = log10 of a spacing, y = log10 of a resistivity.
#include <QString>

#include "platform/plot_box.h"

namespace tellumo {

// The main window's plot box: one for the whole program. It has the fixed
// properties of the plot (font Arial 7.5 pt bold, window-text foreground,
// menu-coloured background) and hands its mouse events to the cursor readout.
PlotBox& Bilog();
// The box back to its start-up state (empty, fixed properties restored).
void ResetBilog();

// Half the side of a field-point marker, in decades; the report uses it too.
extern double MarkerHalfSize;

// Light grey pixel set at the corner of every label before it is printed.
inline constexpr int32_t kLabelPixelColour = 0xC0C0C0;
inline constexpr int32_t kPlotAreaColour = 0xFFFFFF;
inline constexpr int32_t kFrameColour = 0x000000;

// Text of the label at the decade 10^k: " .1 ", " 10000 ".
QString DecadeLabel(int k);

void DrawBilogFrame();

// The standard redraw of the plot for the sounding in memory: frame and
// field points, then, when it has a model, the layer depths and the model
// curve with the staircase and error curve that are switched on. Each step
// runs whatever the one before gave.
void RedrawBilog();

}  // namespace tellumo
