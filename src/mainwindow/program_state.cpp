#include "mainwindow/program_state.h"

namespace tellumo {

QString ProgramTitle = QStringLiteral("Tellumo 6.4");
QString LineBreak = QStringLiteral("\n\r");
int16_t HalfArrayFactor = 1;
int16_t ShiftedFlag = 0;

void ResetProgramState() {
  ProgramTitle = QStringLiteral("Tellumo 6.4");
  LineBreak = QStringLiteral("\n\r");
  HalfArrayFactor = 1;
  ShiftedFlag = 0;
}

}  // namespace tellumo
