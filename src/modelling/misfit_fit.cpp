#include "modelling/misfit_fit.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <limits>
#include <optional>

#include "mainwindow/program_state.h"
#include "modelling/forward_computation.h"
#include "modelling/layer_table.h"
#include "modelling/modelling_state.h"
#include "modelling/round_parameter.h"
#include "platform/message_service.h"
#include "platform/pointer_state.h"
#include "platform/vb.h"
#include "sounding/sounding_record.h"

namespace tellumo {

namespace detail {
void (*FitTrialObserver)(double misfit) = nullptr;
}

namespace {

constexpr double kLn10 = 2.30258;
constexpr double kErrorFloor = 1e-07;
constexpr double kSmallest = 0.001;     // a fitted value never goes below
constexpr double kCeiling = 160000.0;   // a value above it ...
constexpr double kPullBack = 150000.0;  // ... comes back to this
constexpr double kThinLayer = 0.01;     // layers thinner than this go after the fit
constexpr double kDoneMisfit = 1e-05;

void ShowPointer(PointerState& pointer, Pointer p) {
  if (pointer.get() != p) pointer.set(p);
}

Cell& Parameter(int column, int layer) { return LayerModel[vb::Index(layer, 0, kLayerRows - 1)][column]; }

void ObserveTrial() {
  if (detail::FitTrialObserver) detail::FitTrialObserver(CurrentMisfit);
}

}  // namespace

namespace {

// Which curve interval brackets each field point. It depends on the field
// spacings, on the spacings of the curve points (column 2, set by the plot's
// left edge alone) and on CurvePointCount, none of which a fit trial changes:
// the fit finds the brackets once and again only when CurvePointCount does.
struct Brackets {
  int16_t curvePointCount = -1;
  int count = 0;
  // Per matched point m: the field point, the curve interval k, the field
  // resistivity, and the two differences of spacings of the interpolation,
  // a - spacing(k) and spacing(k + 1) - spacing(k), which stay as they are
  // from trial to trial.
  int point[kFieldRows];
  int k[kFieldRows];
  double rho[kFieldRows];
  double offset[kFieldRows];
  double width[kFieldRows];
  // The curve rows the misfit reads: firstRow to lastRow.
  int firstRow = 0;
  int lastRow = -1;
};

void FindBrackets(Brackets& b) {
  // The points are expected in order of increasing spacing: the search
  // resumes where the previous point was found.
  b.curvePointCount = CurvePointCount;
  b.count = 0;
  int k0 = 1;
  const int lastPoint = std::min<int>(PointCount, kFieldRows - 1);
  const int lastInterval = std::min<int>(CurvePointCount, 100) - 2;
  for (int i = 1; i <= lastPoint; ++i) {
    const double a = FieldData[i][kSpacing1].value();
    for (int k = k0; k <= lastInterval; ++k) {
      if (ComputedCurve[k][2] <= a && a < ComputedCurve[k + 1][2]) {
        k0 = k;
        const int m = b.count++;
        b.point[m] = i;
        b.k[m] = k;
        b.rho[m] = FieldData[i][kRhoApparent].value();
        b.offset[m] = a - ComputedCurve[k][2];
        b.width[m] = ComputedCurve[k + 1][2] - ComputedCurve[k][2];
        break;
      }
    }
  }
  b.firstRow = b.count ? *std::min_element(b.k, b.k + b.count) : 0;
  b.lastRow = b.count ? *std::max_element(b.k, b.k + b.count) + 1 : -1;
}

double MisfitAt(const Brackets& b) {
  // The error of each matched point, apart from the others, in passes that
  // keep the divider and the logarithm busy. The error is unknown where the
  // runtime would raise: a division by 0, an overflow, the logarithm of a
  // value that is not positive.
  const int count = b.count;
  // Interpolated linearly in the spacing, then divided by the field value.
  double ratio[kFieldRows];
  for (int m = 0; m < count; ++m) {
    const double lo = ComputedCurve[b.k[m]][1];
    const double rise = ComputedCurve[b.k[m] + 1][1] - lo;
    ratio[m] = (lo + rise * b.offset[m] / b.width[m]) / b.rho[m];
  }
  // A ratio that is finite and positive has a logarithm; a field value of 0
  // gives none that is finite.
  bool known[kFieldRows];
  double errors[kFieldRows];
  for (int m = 0; m < count; ++m) {
    known[m] = ratio[m] > 0.0 && ratio[m] <= std::numeric_limits<double>::max();
    errors[m] = known[m] ? std::log(ratio[m]) : 0.0;
  }
  for (int m = 0; m < count; ++m) errors[m] = std::fabs(errors[m] / kLn10) + kErrorFloor;

  // Summed in order; a point whose error cannot be computed (a field
  // resistivity of 0, a computed value not positive) adds the previous
  // matched point's again. Field point 1, which counts twice, can only be
  // the first match.
  double sum = 0.0;
  double e = 0.0;
  int m = 0;
  if (count > 0) {
    if (known[0]) e = errors[0];
    sum += e * e;
    if (b.point[0] == 1) sum = 2.0 * sum;
    m = 1;
  }
  for (; m < count; ++m) {
    if (known[m]) e = errors[m];
    sum += e * e;
  }
  sum += e * e;
  return sum;
}

}  // namespace

void ComputeMisfit(double& misfit) {
  Brackets b;
  FindBrackets(b);
  misfit = MisfitAt(b);
}

void FitModel() {
  // The fitted model is the program's own: it is rounded.
  LayerModelAsRead = false;
  try {
    if (LayerCount < 2 || PointCount < 1 || CurveValid == 0) ComputeModelCurve();
    ShowPointer(ScreenPointer(), Pointer::Hourglass);
    const double s = vb::Divide(0.02, LayerCount);
    double f = 0.5 / s;
    // The trials change the layer model alone (see FitTrials).
    std::optional<FitTrials> trials(std::in_place);
    // The curve before the fit may come from elsewhere: its brackets serve
    // the starting misfit only, and the first trial's curve is searched anew.
    Brackets brackets;
    FindBrackets(brackets);
    bool firstTrial = true;
    CurrentMisfit = MisfitAt(brackets);
    ObserveTrial();
    double mPrev = CurrentMisfit;

    for (;;) {
      const double mSweep = CurrentMisfit;
      for (int i = 1; i <= LayerCount; ++i) {
        // Thickness first, then resistivity; the half-space has no thickness.
        for (const int p : {kLayerThickness, kLayerRho}) {
          const int16_t fix = LayerFixCode[vb::Index(i, 0, kLayerRows - 1)];
          if (fix == p || fix == 3) continue;
          if (p == kLayerThickness && i == LayerCount) continue;
          Cell& value = Parameter(p, i);
          const Cell start = value;
          double delta = start.value() * f * s * 2;
          const double mBefore = CurrentMisfit;
          int sign = 1;  // the first trial steps forward
          double r = 0.0;
          do {
            double v = value.value();
            if (sign == 1) {
              v = v + delta;
            } else {
              // Back past the starting point: w + delta becomes w - delta/2,
              // measured against the misfit at w.
              delta = -delta / 2;
              v = v + 3 * delta;
              CurrentMisfit = mPrev;
            }
            if (v < kSmallest) v = kSmallest;
            if (v > kCeiling) v = kPullBack;
            value = v;
            ComputeModelCurve();
            mPrev = CurrentMisfit;
            if (firstTrial || CurvePointCount != brackets.curvePointCount) {
              // A curve whose point count changed was computed whole.
              FindBrackets(brackets);
              trials->ReadRows(brackets.curvePointCount, brackets.firstRow, brackets.lastRow);
            }
            firstTrial = false;
            CurrentMisfit = MisfitAt(brackets);
            ObserveTrial();
            r = vb::Divide(mPrev - CurrentMisfit, mPrev);
            sign = r > 0 ? 1 : (r < 0 ? -1 : 0);
          } while (std::fabs(r) > s && std::fabs(delta) > 0.005 * value.value());
          // A search that ends worse than it began is undone; otherwise the
          // last trial stays, even when an earlier one was better.
          if (CurrentMisfit > mBefore) {
            value = start;
            CurrentMisfit = mBefore;
          }
        }
      }
      const double gain = vb::Divide(mSweep - CurrentMisfit, mSweep);
      if (!(std::fabs(gain) > s * LayerCount && CurrentMisfit > kDoneMisfit)) break;
      f = std::pow(f, 0.5);
    }

    trials.reset();

    // Thin layers go; the layer that moves into place is examined next.
    const int layersBefore = LayerCount;
    for (int i = 1; i <= layersBefore; ++i) {
      if (i < LayerCount && Parameter(kLayerThickness, i).value() < kThinLayer) {
        for (int j = i; j <= LayerCount - 1; ++j) {
          Parameter(kLayerRho, j) = Parameter(kLayerRho, j + 1);
          Parameter(kLayerThickness, j) = Parameter(kLayerThickness, j + 1);
          LayerFixCode[j] = LayerFixCode[j + 1];
        }
        Parameter(kLayerRho, LayerCount) = 0.0;
        Parameter(kLayerThickness, LayerCount) = 0.0;
        LayerFixCode[LayerCount] = 0;
        --LayerCount;
        --i;
      }
      int16_t column = kLayerRho;
      int16_t layer = static_cast<int16_t>(i);
      RoundParameter(column, layer);
      column = kLayerThickness;
      layer = static_cast<int16_t>(i);
      RoundParameter(column, layer);
    }

    CurrentMisfit = 0.0;
    ComputeModelCurve();
    ModelToGrid();
    ShowPointer(ScreenPointer(), Pointer::Default);
  } catch (const vb::VbError&) {
    ShowPointer(ScreenPointer(), Pointer::Arrow);
    // No fit runs any more: later computations draw again.
    CurrentMisfit = 0.0;
    MsgBox(QStringLiteral("Error"), MsgButtons::OK, MsgIcon::Exclamation);
  }
}

}  // namespace tellumo
