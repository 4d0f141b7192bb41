#pragma once
// The main window's commands behind its menus, toolbar and small controls:
// opening files, a new sounding, saving, the model commands, the recent
// files, the about text, the calculator and the video manual, the language
// choice, the key filter and colour boxes of the profile tab, and the hints
// of the status box. Widget free: the window dispatches to these.
#include <QString>
#include <cstdint>

namespace tellumo {

// True (-1) once the toolbar's save button has written the sounding.
extern int16_t DataSavedFlag;

// Opening a sounding file through the menu item "Read": the open dialog, then
// the file, then the data tab laid out. Cancel ends the command.
void NFile_Click();
// The toolbar's open button: the open dialog, then the file; Cancel ends it.
void Read_TM3();
// A new sounding (menu item and the toolbar key "bilog"), ending on the data tab.
void NewFile_Click();
// Saving (menu item): edits of the data grid not yet computed are computed
// first. True when the file was written.
bool NRecord_Click();
// The toolbar's save button: the same, and DataSavedFlag True once written.
void SaveToolbarButton();
// Recent-file item k (1 to 5). An empty entry does nothing; a file that
// cannot be read is reported and leaves everything as it was.
void OpenRecentFile(int k);

// The open dialog of the open commands and of the start-up form, then the
// chosen file. Cancel ends it with everything as it was; with `busy` the plot
// shows the hourglass while the dialog is up. True when a file was opened.
bool OpenSoundingFileFromDialog(bool busy);
// A sounding of more points than the data grid has rows: says once that the
// grid shows the first ones and that a computation from the grid keeps only
// those. The roads that open a file call it after a successful opening.
void TellAboutPointsBeyondGrid();
// The model command: the model drawn, or an automatic model offered.
void NModele_Click();
// The hidden menu item "Calcul": the standard redraw.
void N1Calcul_Click();
// The standard redraw of the plot: the frame with the field points, the
// layer depths, then the model curve with the error curve and the model
// staircase as they are switched on.
void StandardRedraw();
// The about text.
void NHelp_Click();
void ShowAboutText();
QString AboutText();
// The first desktop calculator found on PATH, started by the shell; nothing
// when there is none.
void NCalculator_Click();
QString FindDesktopCalculator();
// The video manual of the program folder, opened by the shell; nothing when
// it is missing.
void video_Click();
QString VideoManualPath();

// The language list: the user picked the item shown in `chosen`.
void Combo6_Click(const QString& chosen);

// The typed character kept (KeyAscii unchanged) when, in upper case, it is in
// `allowed` (or is Backspace and allowBackspace); otherwise 0 and a beep.
int16_t FilterKeyAscii(int16_t KeyAscii, const QString& allowed, bool allowBackspace);
// The label-angle box of the profile tab: minus, point, digits, Backspace.
void Text17_KeyPress(int16_t& KeyAscii);

// Hints in the status box when the mouse moves over the two pictures.
void Picture4_MouseMove();
void Picture5_MouseMove();

// The colour boxes of the section's correlation lines and topography line:
// the colour dialog, opened on the box's colour; Cancel keeps it.
void Text15_Click();
void Text9_Change();

// DataSavedFlag back to its start-up 0.
void ResetMenuCommandsState();

}  // namespace tellumo
