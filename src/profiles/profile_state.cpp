#include "profiles/profile_state.h"

#include "platform/vb_error.h"
#include "profiles/horizontal_slices.h"
#include "profiles/profile_list.h"

namespace tellumo {

QString GraphicsProgramPath;
TextBoxState ColourBoxes[kLastColourBox - kFirstColourBox + 1];
double LowestAltitude = 99999;
double SectionHeight = 0;
int16_t PlotTopAltitude = 0;
double HorzTwipsPerMetre = 0;
double VertTwipsPerMetre = 0;
QStringList ProfilePaths;
// The page's size as the boxes show it before the first profile is measured.
const TextBoxState kStartLength{QStringLiteral("200"), 0};
const TextBoxState kStartHeight{QStringLiteral("100"), 0};
TextBoxState Text5 = kStartLength;
TextBoxState Text6 = kStartHeight;

TextBoxState& ColourBox(int number) {
  return ColourBoxes[vb::Index(number, kFirstColourBox, kLastColourBox) - kFirstColourBox];
}

void ResetProfileState() {
  GraphicsProgramPath.clear();
  for (TextBoxState& b : ColourBoxes) b = {};
  LowestAltitude = 99999;
  SectionHeight = 0;
  PlotTopAltitude = 0;
  HorzTwipsPerMetre = VertTwipsPerMetre = 0;
  ProfilePaths.clear();
  Text5 = kStartLength;
  Text6 = kStartHeight;
  // The profile list as the grid component first comes, before start-up
  // lays it out, and the slice dialog's settings.
  SEV_Grid().reset(50, 10, 1, 1);
  ResetSliceState();
}

}  // namespace tellumo
