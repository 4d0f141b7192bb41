#pragma once
// The theoretical apparent-resistivity curve of the layered model: the
// resistivity transform of the layered earth sampled at geometrically spaced
// abscissae, and a digital linear filter per array (Schlumberger 18
// coefficients on a sliding window, Wenner 14, dipole 61 divided by 1000),
// eight curve points per decade of spacing from 10^AB2MinDecade to half a
// decade beyond MaxSpacing.
#include <cstdint>

namespace tellumo {

// Transform samples of the last point the filter in use computed, entries 1 to
// 61 (the Schlumberger window after its last shift: entries 1 to 35).
extern double FilterSamples[62];

// Computes ComputedCurve rows 0 to CurvePointCount for LayerModel, LayerCount
// and the array of Option1/Option3, and draws each point, the error curve and
// the model staircase unless ModeWord is "FICHIER" or a fit is running
// (CurrentMisfit not 0). A failure shows "Calculation error..." and keeps the
// points stored so far; CurvePointCount is then the last point stored.
void ComputeModelCurve();

// Raises maxSpacing to the largest first spacing of the field data (whole
// metres), unless the first three spacings sum to 1.
void ExtendSpacingRange(int16_t& maxSpacing);

// FilterSamples emptied and the engine's cached abscissae and layer terms
// dropped.
void ResetForwardComputation();

// The automatic fit's trials change the layer model alone. While an object of
// this class lives, the forward computation takes the field spacings and
// PointCount as unchanging from one call to the next, so that it finds the
// curve's range (the largest spacing, the stop limit, the point count) once
// and not at every trial. Only one lives at a time.
class FitTrials {
 public:
  FitTrials();
  // The curve is left whole, as the last computation would have left it.
  ~FitTrials();
  // The misfit reads rows first to last of a curve of curvePointCount + 1
  // points: a computation that is not drawn and gives such a curve may then
  // compute those rows alone. The rest of the curve and FilterSamples are
  // filled in before any other computation and when the object ends.
  void ReadRows(int16_t curvePointCount, int first, int last);
  FitTrials(const FitTrials&) = delete;
  FitTrials& operator=(const FitTrials&) = delete;
};

namespace detail {
// When set, every curve takes the path that checks each step of the transform
// for the errors the fast path rules out beforehand. Both paths give the same
// numbers; tests compare them.
extern bool ForceCheckedComputation;
}  // namespace detail

}  // namespace tellumo
