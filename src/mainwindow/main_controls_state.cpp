#include "mainwindow/main_controls_state.h"

namespace tellumo {

TextBoxState X_Texte1;
TextBoxState Y_Texte2;
TextBoxState Z_Texte3;
TextBoxState Azimtext;
TextBoxState Text18;
TextBoxState Text29;

void ResetMainControlsState() {
  for (TextBoxState* box : {&X_Texte1, &Y_Texte2, &Z_Texte3, &Azimtext, &Text18, &Text29}) *box = TextBoxState{};
}

}  // namespace tellumo
