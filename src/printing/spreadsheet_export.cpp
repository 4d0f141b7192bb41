#include "printing/spreadsheet_export.h"

namespace tellumo {

QString ExportPath;
QString ExportTitle;

void xlsave_Click() {}

void ResetSpreadsheetExportState() {
  ExportPath.clear();
  ExportTitle.clear();
}

}  // namespace tellumo
