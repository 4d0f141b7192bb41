#pragma once
// What the main window calls of the printing subsystem: the report preview's
// preparation, the clipboard copy of the plot, the profile preview's zoom
// lists and the spreadsheet export.
namespace tellumo {

// Prepares and composes the report preview (the tab "Print Bilog").
void display_print();
// The picture of the plot on the clipboard, and a message saying so.
void CopyPlotToClipboard();
// The profile preview's zoom lists applied.
void cmbPercent2_Click();
void cmbZoomMode2_Click();
// The File menu's spreadsheet export.
void xlsave_Click();

}  // namespace tellumo
