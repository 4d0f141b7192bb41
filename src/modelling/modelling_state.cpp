#include "modelling/modelling_state.h"

namespace tellumo {

int16_t MaxSpacing = 0;
int16_t CurveComputed = 0;
int16_t CurveValid = 0;
int16_t StartingUp = 0;
double AutoModelThreshold = 0.0;
QString ModeWord;
int16_t LayerFixCode[22] = {};
double ComputedCurve[101][4] = {};
int16_t CurvePointCount = -1;
int16_t PenUp = 0;
double CurrentMisfit = 0.0;

void ResetModellingState() {
  MaxSpacing = 0;
  CurveComputed = 0;
  CurveValid = 0;
  StartingUp = 0;
  AutoModelThreshold = 0.0;
  ModeWord.clear();
  for (auto& f : LayerFixCode) f = 0;
  for (auto& row : ComputedCurve)
    for (auto& v : row) v = 0.0;
  CurvePointCount = -1;
  PenUp = 0;
  CurrentMisfit = 0.0;
}

}  // namespace tellumo
