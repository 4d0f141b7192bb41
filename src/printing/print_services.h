#pragma once
// What the main window calls of the printing subsystem: the report preview's
// preparation, the clipboard copy of the plot, the profile preview's zoom
// lists and the spreadsheet export.
#include "printing/print_commands.h"
#include "printing/spreadsheet_export.h"

namespace tellumo {

// Prepares and composes the report preview (the tab "Print Bilog").
void display_print();
// The picture of the plot on the clipboard, and a message saying so.
void CopyPlotToClipboard();

}  // namespace tellumo
