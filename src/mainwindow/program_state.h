#pragma once
// Program-wide values of the main window that the core reads.
#include <QString>
#include <cstdint>

namespace tellumo {

// "Tellumo 6.4": the main window's caption and every message box's.
extern QString ProgramTitle;
// Line feed then carriage return, put between the lines of a message.
extern QString LineBreak;

// K multiplier: 2 for a half array, else 1.
extern int16_t HalfArrayFactor;
// 1 when segment shifting is on.
extern int16_t ShiftedFlag;

void ResetProgramState();

}  // namespace tellumo
