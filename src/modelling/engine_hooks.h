#pragma once
// What the modelling engine asks of the screen. The forward computation and
// the fit are widget-free: they hand each curve point, the error curve, the
// model staircase and the model window's overlay check box to whatever
// implementation is installed here, and they show their busy and ready states
// through the pointer of the plot box.
#include <cstdint>
#include <vector>

#include "platform/pointer_state.h"

namespace tellumo {

// The system window-text colour as the classic runtime numbers it (&H80000008).
inline constexpr int32_t kWindowTextColour = static_cast<int32_t>(0x80000008u);

class EngineHooks {
 public:
  virtual ~EngineHooks() = default;

  // Curve point j - 1 with its computed apparent resistivity; called once per
  // point, in increasing order of j, while the curve is to be drawn.
  virtual void DrawCurveSegment(int16_t& j, double rho) = 0;
  // The percentage misfit at the field points (written into ComputedCurve
  // column 3) and its curve.
  virtual void DrawErrorCurve() = 0;
  // LayerModel as a staircase of resistivity against depth.
  virtual void DrawModelStaircase() = 0;
  // The model window's overlay check box Check18 enabled, and Check18 and its
  // caption label Label1 given the fore colour; the model window is created,
  // without being shown, when it does not exist yet.
  virtual void EnableCheck18(int32_t foreColour) = 0;
};

// The implementation in use; until one is installed, a silent one that does
// nothing. Installing nullptr restores the silent one.
EngineHooks& CurrentEngineHooks();
void SetEngineHooks(EngineHooks* hooks);

// Installs an implementation for the lifetime of a scope.
class ScopedEngineHooks {
 public:
  explicit ScopedEngineHooks(EngineHooks* hooks);
  ~ScopedEngineHooks();
  ScopedEngineHooks(const ScopedEngineHooks&) = delete;
  ScopedEngineHooks& operator=(const ScopedEngineHooks&) = delete;

 private:
  EngineHooks* previous_;
};

// The pointer of the plot box Bilog: the hourglass while a curve is computed,
// the crosshair when it is done.
PointerState& BilogPointer();

// Stand-in that records every call in order, for tests.
class RecordingEngineHooks : public EngineHooks {
 public:
  enum class Call { CurveSegment, ErrorCurve, ModelStaircase, Check18 };
  struct Event {
    Call call;
    int16_t j = 0;        // CurveSegment
    double rho = 0.0;     // CurveSegment
    int32_t colour = 0;   // Check18
  };

  void DrawCurveSegment(int16_t& j, double rho) override;
  void DrawErrorCurve() override;
  void DrawModelStaircase() override;
  void EnableCheck18(int32_t foreColour) override;

  int count(Call call) const;
  // The curve-segment calls alone, in order.
  std::vector<Event> segments() const;
  void clear() { events.clear(); }

  std::vector<Event> events;
};

}  // namespace tellumo
