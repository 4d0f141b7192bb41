#pragma once
// Plain state of the section drawing: the profile page's "Plot options" and
// log width as the drawing reads them (the window mirrors every control both
// ways), and the working tables the drawing keeps between calls.
// A check box counts as on when its Value is 1. Text8 (log width in mm),
// Text9 and Text15 (line colours), Text11 and Text12 (scale bounds), Text13
// and Text14 (scales) live in options_state.h; Text5 and Text6 (plot length
// and height in mm) in profile_state.h.
#include <QString>

#include "mainwindow/options_state.h"

namespace tellumo {

// "&Color scale": the legend of the 16 classes (on at start).
extern CheckBoxState Check1;
// "Topo line": the topography line (on).
extern CheckBoxState Check2;
// "Resis. label": the resistivity beside each layer box (on).
extern CheckBoxState Check3;
// "Elev. lines": the elevation lines and their altitudes (on).
extern CheckBoxState Check4;
// "SEV correl.": lines joining the layer interfaces of neighbouring logs (off).
extern CheckBoxState Check5;
// "&Scale": the scale caption (on).
extern CheckBoxState Check6;
// "SEV name": each log labelled with its file name (on).
extern CheckBoxState Check7;
// " Fill": the logs share the plot length (off).
extern CheckBoxState Check8;
// "SEV number": every tenth log labelled with its row number (off).
extern CheckBoxState Check9;

// The section's title, "Geoelectrical profile" at start.
extern TextBoxState Text10;
// Angle of the sounding labels in degrees, "0" at start.
extern TextBoxState Text17;
// Whether Text8 takes typing: fill mode disables it.
extern bool Text8Enabled;

// Width of every sounding log on the page (twips), as the last drawing or
// layer box set it; 0 before the first.
extern double SevLogWidth;

// The last log width Text8 held that was not empty. Fill mode empties Text8;
// the settings keep this one instead, so that the next start does not draw
// logs 0 mm wide.
extern QString LastLogWidthText;
// Takes Text8's text into LastLogWidthText unless it is empty.
void NoteLogWidthText();
// The log width the settings file keeps (key "SEVlarge"): Text8, or the last
// width it held while it is empty, or the start-up default "2".
QString LogWidthToStore();

// "SEV name" on turns "SEV number" off, and the reverse; turning either off
// changes nothing else.
void Check7_Click();
void Check9_Click();
// Fill on: Text8 emptied and disabled, no resistivity labels, no correlation
// lines, logs numbered. Fill off: Text8 enabled and given the last log width
// (mm, cut to a tenth), resistivity labels, names and correlation lines.
// Nothing is redrawn.
void Check8_Click();
// A change of Text8, typed or set.
void Text8_Change();

// Working tables, rows 1 to 20 (row 0 unused). ProfileLayerTable: the
// resistivity (ohm.m), thickness (m) and depth of top (m) of each layer of
// the sounding being drawn, as its file stores them. LogInterfacePoints: for
// the sounding just drawn, the x of its log's left edge and the y of the top
// of layer k (twips), 0 and 0 past its last layer; PrevLogInterfacePoints:
// the same for the sounding before it.
inline constexpr int kSectionLayers = 20;
extern float ProfileLayerTable[kSectionLayers + 1][3];
extern double LogInterfacePoints[kSectionLayers + 1][2];
extern double PrevLogInterfacePoints[kSectionLayers + 1][2];

// Everything above back to start-up.
void ResetSectionOptions();

}  // namespace tellumo
