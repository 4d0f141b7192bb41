#include "mainwindow/ui_hooks.h"

namespace tellumo {

UiHooks& Ui() {
  static UiHooks hooks;
  return hooks;
}

}  // namespace tellumo
