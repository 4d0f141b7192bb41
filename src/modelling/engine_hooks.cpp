#include "modelling/engine_hooks.h"

#include "modelling/bilog_frame.h"

#include <algorithm>
#include <iterator>

namespace tellumo {
namespace {

class SilentHooks : public EngineHooks {
 public:
  void DrawCurveSegment(int16_t&, double) override {}
  void DrawErrorCurve() override {}
  void DrawModelStaircase() override {}
  void EnableCheck18(int32_t) override {}
};

SilentHooks g_silent;
EngineHooks* g_hooks = &g_silent;

}  // namespace

EngineHooks& CurrentEngineHooks() { return *g_hooks; }
void SetEngineHooks(EngineHooks* hooks) { g_hooks = hooks ? hooks : &g_silent; }

ScopedEngineHooks::ScopedEngineHooks(EngineHooks* hooks) : previous_(&CurrentEngineHooks()) { SetEngineHooks(hooks); }
ScopedEngineHooks::~ScopedEngineHooks() { SetEngineHooks(previous_); }

// The plot box's own pointer, which its view shows.
PointerState& BilogPointer() { return Bilog().MousePointer(); }

void RecordingEngineHooks::DrawCurveSegment(int16_t& j, double rho) {
  events.push_back({Call::CurveSegment, j, rho, 0});
}
void RecordingEngineHooks::DrawErrorCurve() { events.push_back({Call::ErrorCurve}); }
void RecordingEngineHooks::DrawModelStaircase() { events.push_back({Call::ModelStaircase}); }
void RecordingEngineHooks::EnableCheck18(int32_t foreColour) {
  events.push_back({Call::Check18, 0, 0.0, foreColour});
}

int RecordingEngineHooks::count(Call call) const {
  return static_cast<int>(std::count_if(events.begin(), events.end(), [call](const Event& e) { return e.call == call; }));
}

std::vector<RecordingEngineHooks::Event> RecordingEngineHooks::segments() const {
  std::vector<Event> out;
  std::copy_if(events.begin(), events.end(), std::back_inserter(out),
               [](const Event& e) { return e.call == Call::CurveSegment; });
  return out;
}

}  // namespace tellumo
