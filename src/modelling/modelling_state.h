#pragma once
// State of the modelling engine that the sounding readers and the main window
// touch as well.
#include <QString>
#include <cstdint>

namespace tellumo {

// Largest first spacing of the data in whole metres; no curve while it is 0.
extern int16_t MaxSpacing;
extern int16_t CurveComputed;
extern int16_t CurveValid;
// Set from start-up until the first file is opened or curve computed.
extern int16_t StartingUp;
// Threshold of the automatic model creation; 0.3 after a file is read.
extern double AutoModelThreshold;
// Drawing mode: "", "NORMAL", "FRMPRINT", "FICHIER", "FIELD", "AUTOMATIC".
extern QString ModeWord;

// The model curve: row c, column 1 the computed apparent resistivity, column 2
// the spacing of curve point c; column 3, row i the percentage error at field
// point i. Rows 0..100.
extern double ComputedCurve[101][4];
// Index of the last computed curve point; -1 before the first.
extern int16_t CurvePointCount;
// True (-1) when the next point drawn starts a new run of lines.
extern int16_t PenUp;
// Misfit of the current model; not 0 while a fit runs (nothing is drawn then).
extern double CurrentMisfit;

// Per layer: 0 free, 1 resistivity fixed, 2 thickness fixed, 3 both fixed.
extern int16_t LayerFixCode[22];

void ResetModellingState();

}  // namespace tellumo
