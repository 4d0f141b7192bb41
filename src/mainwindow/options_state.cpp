#include "mainwindow/options_state.h"

namespace tellumo {

int16_t ThicknessDecimals = 0;
int16_t KeepConfigOnExit = 0;
CheckBoxState RMSB;
CheckBoxState represent_modele;
CheckBoxState garder_config{1, {}};
ComboBoxState Combo1;
ComboBoxState Combo2;
ComboBoxState Combo3;
ComboBoxState Combo4;
ComboBoxState Combo5;
CaptionState Label5;
CaptionState Label8;
CaptionState Frame7;
CaptionState Frame8;
CaptionState Frame10;
TextBoxState Text8;
TextBoxState Text11;
TextBoxState Text12;
TextBoxState Text13;
TextBoxState Text14;
TextBoxState Text15;
TextBoxState Text9{{}, kTopographyLineColour};

void ComboBoxState::Fill(const QStringList& items) {
  List = items;
  ListIndex = -1;
  Text.clear();
}

bool ComboBoxState::SelectIndex(int i) {
  if (i < 0 || i >= List.size()) return false;
  ListIndex = i;
  Text = List[i];
  return true;
}

void ResetOptionsState() {
  ThicknessDecimals = 0;
  KeepConfigOnExit = 0;
  RMSB = {};
  represent_modele = {};
  // The keep-configuration box is checked when the program starts.
  garder_config = {1, {}};
  for (ComboBoxState* c : {&Combo1, &Combo2, &Combo3, &Combo4, &Combo5}) *c = {};
  for (CaptionState* c : {&Label5, &Label8, &Frame7, &Frame8, &Frame10}) *c = {};
  for (TextBoxState* t : {&Text8, &Text11, &Text12, &Text13, &Text14, &Text15}) *t = {};
  Text9 = {{}, kTopographyLineColour};
}

}  // namespace tellumo
