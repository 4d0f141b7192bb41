#pragma once
// Mouse pointer of a box or of the whole screen, held without widgets: long
// computations set the hourglass and restore the crosshair or the arrow, and
// the views show whatever the state says.
#include <functional>
#include <vector>

namespace tellumo {

// Values as the classic runtime numbers them.
enum class Pointer { Default = 0, Arrow = 1, Cross = 2, Hourglass = 11 };

class PointerState {
 public:
  Pointer get() const { return pointer_; }
  void set(Pointer p);
  // A view follows the state through this; the history (the last few
  // hundred changes) serves tests.
  void onChange(std::function<void(Pointer)> f) { listeners_.push_back(std::move(f)); }
  const std::vector<Pointer>& history() const { return history_; }
  void clearHistory() { history_.clear(); }

 private:
  Pointer pointer_ = Pointer::Default;
  std::vector<std::function<void(Pointer)>> listeners_;
  std::vector<Pointer> history_;
};

// The screen's pointer (the whole program's, as for the fit).
PointerState& ScreenPointer();

}  // namespace tellumo
