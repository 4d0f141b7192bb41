#pragma once
// The File menu's "Save for XL": the current sounding, its model, the
// stored soundings' models and all their computed curves in one text file
// (.TXL) a spreadsheet program reads as rows of numbers.
#include <QString>

namespace tellumo {

// Full path and name of the export file chosen last in this run; both empty
// at start.
extern QString ExportPath;
extern QString ExportTitle;

void xlsave_Click();

void ResetSpreadsheetExportState();

}  // namespace tellumo
