#pragma once
// How far the computed curve lies from the field points, and the automatic
// fit of the layered model: one parameter at a time, each by a short line
// search of full forward computations, in sweeps with ever smaller steps.
namespace tellumo {

// Sum of squared decimal-log errors at the field points that the computed
// curve brackets (linear interpolation in the spacing); the first and the last
// matched points count twice. Continues past errors: a point whose error
// cannot be computed adds the previous matched point's again.
void ComputeMisfit(double& misfit);

// Fits the free parameters of LayerModel (LayerFixCode) to the field points,
// removes layers thinner than 1 cm, rounds every value, draws the fitted
// curve and puts the model into the layer table. A failure shows "Error".
void FitModel();

namespace detail {
// When set, called with CurrentMisfit after the misfit of the starting model
// and after that of every trial, the model just tried still in LayerModel.
// Tests follow the fit's trials through it.
extern void (*FitTrialObserver)(double misfit);
}  // namespace detail

}  // namespace tellumo
