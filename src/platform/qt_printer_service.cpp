#include "platform/qt_printer_service.h"

namespace tellumo {

void InstallQtPrinterService() {}

}  // namespace tellumo
