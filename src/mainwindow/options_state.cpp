#include "mainwindow/options_state.h"

namespace tellumo {

int16_t ThicknessDecimals = 0;

void ResetOptionsState() { ThicknessDecimals = 0; }

}  // namespace tellumo
