#pragma once
// The drawing options panel (tab "Bilog Setup"): its OK button, which applies
// array type, ranges, switches and the keep-configuration flag and redraws
// every superposed sounding with the current one; the array-type buttons; the
// six colour buttons. Everything here works on the panel's plain state
// (options_state.h); the window's widgets mirror it (options_view.h).
#include <functional>

namespace tellumo {

// Fills the options panel from the values read: the two display check boxes,
// the four range lists and the decimals list with their selections, the
// captions by language, the array button; HalfArrayFactor 1 and automatic
// thickness decimals.
void Load_parameter();


void Command11_Click();

// The array-type buttons act at once on the caption of the AB/2 range and on
// the spacing template; ArrayCode and the grid headings follow at OK.
void Option1_Click();
void Option2_Click();
void Option3_Click();
// The button of 1 to 3, as the settings reader selects it.
void OptionClick(int button);

// Colour buttons: curve, points, grid, model, error curve, superposed curve.
void Command12_Click();
void SEV_Command4_Click();
void SEV_Command5_Click();
void Command6_Click();
void Command7_Click();
void Command8_Click();

// The panel's captions (Frame7, Frame8, Frame10, Label5 and the three check
// boxes) in the current language.
void CaptionOptionsPanel();

// What the panel's code asks of the window. Each hook does nothing until the
// view installs it.
struct OptionsPanelHooks {
  // The panel's plain state (lists, check boxes, captions, array buttons,
  // colours) changed: show it without running any click handler.
  std::function<void()> controlsChanged;
};
OptionsPanelHooks& OptionsPanelUi();

}  // namespace tellumo
