#include "modelling/model_window_state.h"

#include "mainwindow/data_tab.h"
#include "mainwindow/ui_hooks.h"
#include "modelling/superposition_store.h"

namespace tellumo {

GridModel Grid1(kLayerTableRows, kLayerTableCols, 1, 0);
std::function<void()> ModelWindowLoader;
bool ModelWindowLoaded = false;
int16_t ModelEdited = 0;

QString ModelCaption;
ButtonState Calcul_Button;
ButtonState Ajuste_Button;
ButtonState delLine;
ButtonState InsLine;
ButtonState Record_Button;
ButtonState lastone{QStringLiteral("<"), false};
ButtonState nextone{QStringLiteral(" >"), false};
OverlayCheckState Check18;
SmallTextBoxState Grid2;
CaptionState Label1;
CaptionState Label2;
CaptionState Label3;
CaptionState Label4{QStringLiteral("H")};
int16_t Slider1 = 0;

PointerState& ModelWindowPointer() {
  static PointerState pointer;
  return pointer;
}

ModelWindowHooks& ModelWindowUi() {
  static ModelWindowHooks hooks;
  return hooks;
}

void TouchModelWindow() {
  if (!ModelWindowLoaded && ModelWindowLoader) ModelWindowLoader();
}

void ShowModelWindow() {
  TouchModelWindow();
  // Over another tab it would hide that tab's buttons and boxes.
  if (DataTabUi().shownTab && DataTabUi().shownTab() != 0) return;
  CallHook(ModelWindowUi().show);
}

void HideModelWindow() { CallHook(ModelWindowUi().hide); }

void SetSuperposeSwitch(int16_t value) {
  SuperposeSwitch = value;
  Check18.Value = value == -1 ? 0 : 1;
  CallHook(ModelWindowUi().controlsChanged);
}

void ResetModelWindowControls() {
  Grid1.reset(kLayerTableRows, kLayerTableCols, 1, 0);
  ModelEdited = 0;
  ModelCaption.clear();
  for (ButtonState* b : {&Calcul_Button, &Ajuste_Button, &delLine, &InsLine, &Record_Button}) *b = {};
  lastone = {QStringLiteral("<"), false};
  nextone = {QStringLiteral(" >"), false};
  Check18 = {};
  Grid2 = {};
  Label1 = Label2 = Label3 = {};
  Label4 = {QStringLiteral("H")};
  Slider1 = 0;
  ModelWindowPointer().set(Pointer::Default);
}

void ResetModelWindowState() {
  ResetModelWindowControls();
  ModelWindowLoaded = false;
}

}  // namespace tellumo
