#pragma once
// The engine's drawing calls, answered by the plot's drawing routines: what
// the program installs at start-up (tests keep the recording stand-in).
#include "modelling/engine_hooks.h"

namespace tellumo {

class ScreenDrawingHooks : public EngineHooks {
 public:
  void DrawCurveSegment(int16_t& j, double rho) override;
  void DrawErrorCurve() override;
  void DrawModelStaircase() override;
  void EnableCheck18(int32_t foreColour) override;
};

}  // namespace tellumo
