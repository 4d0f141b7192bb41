#include "platform/pointer_state.h"

namespace tellumo {

void PointerState::set(Pointer p) {
  pointer_ = p;
  // A fit sets the pointer twice per trial: keep the history bounded.
  constexpr size_t kKept = 512;
  if (history_.size() >= kKept) history_.erase(history_.begin(), history_.begin() + kKept / 2);
  history_.push_back(p);
  for (auto& f : listeners_) f(p);
}

PointerState& ScreenPointer() {
  static PointerState screen;
  return screen;
}

}  // namespace tellumo
