#include "modelling/screen_drawing_hooks.h"

#include "modelling/curve_drawing.h"

namespace tellumo {

void ScreenDrawingHooks::DrawCurveSegment(int16_t& j, double rho) { tellumo::DrawCurveSegment(j, rho); }
void ScreenDrawingHooks::DrawErrorCurve() { tellumo::DrawErrorCurve(); }
void ScreenDrawingHooks::DrawModelStaircase() { tellumo::DrawModelStaircase(); }

}  // namespace tellumo
