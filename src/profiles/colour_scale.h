#pragma once
// The 16-class resistivity colour scale of the profile page. It has no store
// of its own: a class colour is the back colour of its class box Text101 to
// Text116, a class bound the box's text, an anchor the back colour of
// Text117 to Text119 with its red, green and blue in Text120 to Text128
// (profile_state.h); the minimum and maximum are Text11 and Text12
// (options_state.h). affiche_resistivity is declared in profile_services.h.
#include <cstdint>

#include "profiles/profile_services.h"

namespace tellumo {

// The lower bound of class k (1 to 16) for the scale from Text11 to Text12:
// min + (k - 1) x (max - min) / 16 rounded down; class 16 starts at the
// maximum itself, so class 15 spans two steps.
double ClassLowerBound(int k);

// The class (1 to 16) of a resistivity (ohm.m). The bounds are computed
// afresh from Text11 and Text12, not read back from the class boxes; of the
// class conditions the last that holds gives the class.
int ClassOfResistivity(double rho);
// The colour the section paints a resistivity with: the back colour of its
// class box at this moment.
int32_t ClassColour(double rho);

// Reads the nine component boxes, colours the three anchor boxes, writes
// their colours as text and recomputes all 16 class colours between them.
void calcul_RGB();

// red + 256 x green + 65536 x blue.
int32_t ComposeColour(int red, int green, int blue);

// The clicks of the scale's boxes, by box number: a class box (101 to 116)
// takes a colour from the colour dialog; an anchor box (117 to 119) too, and
// hands it to its component boxes and calcul_RGB; the blue box of anchor 1
// (122) caps its value at 255 and runs calcul_RGB. Other numbers do nothing.
void ColourScaleBox_Click(int number);
// Leaving a component box (120, 121, 123 to 128) caps its value at 255 and
// runs calcul_RGB; Text122 has no such handler.
void ColourScaleBox_LostFocus(int number);

inline void Text101_Click() { ColourScaleBox_Click(101); }
inline void Text102_Click() { ColourScaleBox_Click(102); }
inline void Text103_Click() { ColourScaleBox_Click(103); }
inline void Text104_Click() { ColourScaleBox_Click(104); }
inline void Text105_Click() { ColourScaleBox_Click(105); }
inline void Text106_Click() { ColourScaleBox_Click(106); }
inline void Text107_Click() { ColourScaleBox_Click(107); }
inline void Text108_Click() { ColourScaleBox_Click(108); }
inline void Text109_Click() { ColourScaleBox_Click(109); }
inline void Text110_Click() { ColourScaleBox_Click(110); }
inline void Text111_Click() { ColourScaleBox_Click(111); }
inline void Text112_Click() { ColourScaleBox_Click(112); }
inline void Text113_Click() { ColourScaleBox_Click(113); }
inline void Text114_Click() { ColourScaleBox_Click(114); }
inline void Text115_Click() { ColourScaleBox_Click(115); }
inline void Text116_Click() { ColourScaleBox_Click(116); }
inline void Text117_Click() { ColourScaleBox_Click(117); }
inline void Text118_Click() { ColourScaleBox_Click(118); }
inline void Text119_Click() { ColourScaleBox_Click(119); }
inline void Text122_Click() { ColourScaleBox_Click(122); }
inline void Text120_LostFocus() { ColourScaleBox_LostFocus(120); }
inline void Text121_LostFocus() { ColourScaleBox_LostFocus(121); }
inline void Text123_LostFocus() { ColourScaleBox_LostFocus(123); }
inline void Text124_LostFocus() { ColourScaleBox_LostFocus(124); }
inline void Text125_LostFocus() { ColourScaleBox_LostFocus(125); }
inline void Text126_LostFocus() { ColourScaleBox_LostFocus(126); }
inline void Text127_LostFocus() { ColourScaleBox_LostFocus(127); }
inline void Text128_LostFocus() { ColourScaleBox_LostFocus(128); }

// The minimum and maximum boxes changed: the bounds follow.
void Text11_Change();
void Text12_Change();

// "OK, Save": the 16 class colours into section "VISUAL_SU" of the settings
// file, then the bounds rebuilt. Nothing is shown.
void Command10_Click();

}  // namespace tellumo
