#pragma once
// Values of the profile subsystem that the settings fill and store: the
// external graphics program and the boxes of the colour scale.
#include <QString>

#include "mainwindow/options_state.h"

namespace tellumo {

// Path of the external graphics program (settings key "Graphical_Prog").
extern QString GraphicsProgramPath;

// The colour-scale boxes Text101 to Text128, by their number:
//  Text101..Text116  the 16 classes: back colour = class colour, text = the
//                    class's lower bound (ohm.m);
//  Text117..Text119  the anchors of classes 1, 8 and 16: back colour;
//  Text120..Text128  the anchors' red, green and blue as decimal text, three
//                    boxes per anchor in the order of the anchors.
inline constexpr int kFirstColourBox = 101;
inline constexpr int kLastColourBox = 128;
inline constexpr int kColourClasses = 16;
extern TextBoxState ColourBoxes[kLastColourBox - kFirstColourBox + 1];
// The box Text<number>, number 101 to 128.
TextBoxState& ColourBox(int number);

void ResetProfileState();

}  // namespace tellumo
