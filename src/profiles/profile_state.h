#pragma once
// Values of the profile subsystem that the settings fill and store: the
// external graphics program and the boxes of the colour scale.
#include <QString>
#include <QStringList>
#include <cstdint>

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

// The profile built from the listed soundings (see profile_loading.h):
// the lowest altitude the profile reaches (m; 99999 before the first
// loading), the section's height (m), the altitude of the section's top edge
// (m) and the page twips per metre along the profile and in altitude.
extern double LowestAltitude;
extern double SectionHeight;
extern int16_t PlotTopAltitude;
extern double HorzTwipsPerMetre;
extern double VertTwipsPerMetre;
// The full path of the sounding file of each row of SEV_Grid, by row (index
// 0 unused); a path moves with its row when the rows are ordered.
extern QStringList ProfilePaths;
// Profile length and height on paper (mm), written by calcul_echelle.
extern TextBoxState Text5;
extern TextBoxState Text6;

void ResetProfileState();

}  // namespace tellumo
