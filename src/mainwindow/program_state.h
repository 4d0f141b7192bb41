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

// The three exclusive array option buttons of the main window, mirrored as
// plain state (True -1 / False 0): Option1 Schlumberger, Option2 dipole,
// Option3 Wenner.
extern int16_t Option1;
extern int16_t Option2;
extern int16_t Option3;

// Colour number of the curve in the classic sixteen-colour scale; 0 from
// start-up.
extern int16_t CurveQBColour;

void ResetProgramState();

}  // namespace tellumo
