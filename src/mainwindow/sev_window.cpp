#include "mainwindow/sev_window.h"

#include "mainwindow/program_state.h"

namespace tellumo {

SEV::SEV(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("SEV"));
  setWindowTitle(ProgramTitle);
  resize(1024, 720);
}

}  // namespace tellumo
