#pragma once
// Plain state of the main window's text boxes that the core fills and reads:
// the location, comment and title boxes of the data tab. The window's text
// boxes mirror these both ways, so no computation touches a widget.
#include "mainwindow/options_state.h"  // TextBoxState

namespace tellumo {

extern TextBoxState X_Texte1;  // SoundingX
extern TextBoxState Y_Texte2;  // SoundingY
extern TextBoxState Z_Texte3;  // SoundingZ (ground altitude)
extern TextBoxState Azimtext;  // SoundingAzimuth
extern TextBoxState Text18;    // SoundingComment
extern TextBoxState Text29;    // GraphTitle

// Boxes of the plot tab: the superposition legend (the titles of the
// soundings drawn), the shift label and the array type.
extern TextBoxState Text2;
extern TextBoxState Text3;
extern TextBoxState Text4;
// The plot tab's boxes follow their plain state.
void ShowPlotBoxes();

// The boxes take the sounding's location, comment and title (and the window
// shows them): after a file is opened, a model shown, a sounding started.
void ShowSoundingTexts();
// The sounding takes the texts as the boxes hold them: every save does this
// first, so that what the user sees is what the file gets.
void StoreTextBoxes();

// The user typed into one of the six boxes above: the sounding takes the
// text at once and counts as changed, so that nothing that refreshes the
// boxes later (a model shown, a tab chosen) puts an older text back over
// what was typed, and starting another sounding asks first.
void SoundingTextBoxEdited(TextBoxState& box, const QString& text);

// All the boxes empty, as at start-up.
void ResetMainControlsState();

}  // namespace tellumo
