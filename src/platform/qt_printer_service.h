#pragma once
// The printer service on Qt: the system's printers (A4 by default), its
// page-setup and printer dialogs, and, when the system has no printer, one
// PDF file per job whose name the user confirms.
#include <memory>

#include "platform/printer_service.h"

namespace tellumo {

// Installs the Qt printer service for the program's lifetime.
void InstallQtPrinterService();

// A service of its own, with printers of its own (tests; the program uses
// the installed one).
std::unique_ptr<PrinterService> NewQtPrinterService();

}  // namespace tellumo
