#include "profiles/profile_state.h"

#include "platform/vb_error.h"

namespace tellumo {

QString GraphicsProgramPath;
TextBoxState ColourBoxes[kLastColourBox - kFirstColourBox + 1];

TextBoxState& ColourBox(int number) {
  return ColourBoxes[vb::Index(number, kFirstColourBox, kLastColourBox) - kFirstColourBox];
}

void ResetProfileState() {
  GraphicsProgramPath.clear();
  for (TextBoxState& b : ColourBoxes) b = {};
}

}  // namespace tellumo
