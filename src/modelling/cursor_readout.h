#pragma once
// The spacing and the apparent resistivity under the mouse on the bilog plot,
// shown in the main window's status text box.
#include <QString>
#include <cstdint>

namespace tellumo {

// Text of the main window's status box Text1, mirrored by the window.
extern QString Text1;

// The number shown for a spacing or resistivity v: up to 10 m or ohm.m (a
// decade exponent of at most 1) cut down to one decimal, above that the
// nearest whole number with halves to the even one (fails past 32 bits).
double ReadoutValue(double v, bool oneDecimal);

// The readout text at plot position (x, y) in decades, by the array option
// buttons: "AB/2= 10  R= 100". Fails (VbError) where a value has no 32-bit
// whole form.
QString CursorReadoutText(float x, float y);

// The plot box's mouse-button and mouse-move events; both show the readout.
// A position the readout cannot express leaves Text1 as it was.
void Bilog_MouseDown(int16_t button, int16_t shift, float x, float y);
void Bilog_MouseMove(int16_t button, int16_t shift, float x, float y);

void ResetCursorReadout();

}  // namespace tellumo
