#include "mainwindow/program_state.h"

namespace tellumo {

QString ProgramTitle = QStringLiteral("Tellumo 6.4");
QString LineBreak = QStringLiteral("\n\r");
int16_t HalfArrayFactor = 1;
int16_t ShiftedFlag = 0;
int16_t CurveQBColour = 0;
int16_t Option1 = 0;
int16_t Option2 = 0;
int16_t Option3 = 0;

void ResetProgramState() {
  ProgramTitle = QStringLiteral("Tellumo 6.4");
  LineBreak = QStringLiteral("\n\r");
  HalfArrayFactor = 1;
  ShiftedFlag = 0;
  Option1 = Option2 = Option3 = 0;
  CurveQBColour = 0;
}

}  // namespace tellumo
