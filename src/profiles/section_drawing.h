#pragma once
// The geoelectrical section on the profile preview: title, topography line,
// elevation lines, scale caption, one labelled log of coloured layer boxes
// per listed sounding, correlation lines and the colour legend. Trace_Profil
// is declared in profile_services.h; the options it reads are in
// section_options.h.
#include <QString>

#include "profiles/profile_services.h"

namespace tellumo {

// Sets SevLogWidth: Text8 mm, or with " Fill" on the plot length Text5
// shared by the gaps between the listed soundings. A failing computation
// (fill with fewer than two soundings) keeps the previous width.
void ApplyLogWidthRule();

// One layer box of a log. On entry x is the sounding's distance along the
// profile (m), top and bottom the layer's top and bottom in metres below
// PlotTopAltitude, resistivity in ohm.m; on return x, top and bottom are the
// page x of the log's left edge and the page y of the box's top and bottom
// (twips), resistivity unchanged. Fills the box with the colour of the
// resistivity's class, prints the resistivity beside it when "Resis. label"
// is on, and leaves the brush solid and the font at 8 points, not bold.
void Trace_Rectangle(double& x, double& top, double& bottom, double& resistivity);

// Depth (m) of the bottom of a half-space whose top lies at `top` (m below
// the ground): the investigation depth R when the top is more than 10 m above
// it, else the largest spacing (f / 10); never less than 10 m below the top.
double HalfSpaceBottom(double top, float investigationDepth, float lastSpacingField);

// The label of a log: the file name after its last separator, less its last
// four characters (a name shorter than that whole).
QString SoundingLabel(const QString& fileName);

// A number text right-aligned over five characters: 4, 3, 2, 1 blanks before
// a text of 1 to 4 characters, none before a longer one.
QString AlignedFive(const QString& text);

}  // namespace tellumo
