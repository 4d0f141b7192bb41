#pragma once
// The printer service on Qt: the system's printers (A4 by default), its
// page-setup and printer dialogs, and, when the system has no printer, one
// PDF file per job whose name the user confirms.
#include "platform/printer_service.h"

namespace tellumo {

// Installs the Qt printer service for the program's lifetime.
void InstallQtPrinterService();

}  // namespace tellumo
