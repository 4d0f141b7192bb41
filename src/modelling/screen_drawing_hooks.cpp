#include "modelling/screen_drawing_hooks.h"

#include "mainwindow/ui_hooks.h"
#include "modelling/curve_drawing.h"
#include "modelling/model_window_state.h"

namespace tellumo {

void ScreenDrawingHooks::DrawCurveSegment(int16_t& j, double rho) { tellumo::DrawCurveSegment(j, rho); }
void ScreenDrawingHooks::DrawErrorCurve() { tellumo::DrawErrorCurve(); }
void ScreenDrawingHooks::DrawModelStaircase() { tellumo::DrawModelStaircase(); }

void ScreenDrawingHooks::EnableCheck18(int32_t foreColour) {
  // The window is created for this, without being shown, when it is not loaded.
  TouchModelWindow();
  Check18.Enabled = true;
  Check18.ForeColor = foreColour;
  CallHook(ModelWindowUi().controlsChanged);
}

}  // namespace tellumo
