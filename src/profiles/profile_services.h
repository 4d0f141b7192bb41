#pragma once
// What the main window calls of the profile subsystem: the colour scale's
// class bounds, the section drawing, the profile's extents and scales, the
// ordering of the listed soundings and the horizontal-slice export.
namespace tellumo {

// Class boxes Text101 to Text116: bounds evenly spaced between Text11 and Text12.
void affiche_resistivity();
// The geoelectrical section of the listed soundings on the profile preview.
void Trace_Profil();
// The profile's extents and scales from the listed soundings and Text13, Text14.
void calcul_echelle();
// The listed soundings ordered by their distance from the coordinate origin.
void Re_order();
// The File menu's export of horizontal slices.
void HORSLICE_Click();

}  // namespace tellumo
