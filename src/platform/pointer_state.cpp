#include "platform/pointer_state.h"

namespace tellumo {

void PointerState::set(Pointer p) {
  pointer_ = p;
  history_.push_back(p);
  for (auto& f : listeners_) f(p);
}

PointerState& ScreenPointer() {
  static PointerState screen;
  return screen;
}

}  // namespace tellumo
