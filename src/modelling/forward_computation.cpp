#include "modelling/forward_computation.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "mainwindow/program_state.h"
#include "modelling/engine_hooks.h"
#include "modelling/modelling_state.h"
#include "modelling/superposition_store.h"
#include "platform/language.h"
#include "platform/message_service.h"
#include "platform/vb.h"
#include "sounding/sounding_record.h"

namespace tellumo {

double FilterSamples[62] = {};

namespace detail {
bool ForceCheckedComputation = false;
}

namespace {

using vb::CheckFinite;
using vb::Divide;

enum class Filter : int { Schlumberger = 0, Wenner = 1, Dipole = 2 };

// Weights of the odd window samples 1, 3, ..., 35; they sum to 1.
constexpr double kSchlumbergerCoefficients[18] = {
    +0.0042, -0.0103, +0.0144, -0.0211, +0.033,  -0.0574, +0.1184, -0.3162, +1.0219,
    -2.4514, +1.8192, +0.6486, +0.1739, +0.0079, +0.02,   -0.0106, +0.0093, -0.0038};

// They sum to 0.9998: a half-space comes out 0.02 % low, as it always has.
constexpr double kWennerCoefficients[14] = {+0.0008, -0.0031, +0.0091, -0.0086, +0.0589, +0.138,  +0.8415,
                                            +1.2348, -1.7514, +0.567,  -0.1029, +0.0193, -0.0042, +0.0006};

// Divided by 1000 after the sum. Sample 10 weighs +1.303, the value that
// makes the 61 weights sum to 1000, so that a uniform half-space gives back
// its own resistivity; the +13.28 once stored for it gave 1.012 times the
// resistivity of a half-space and errors of several percent, up to over
// 100 %, on layered models. From sample 1 to 22 the signs alternate.
constexpr double kDipoleCoefficients[61] = {
    -0.354,   +0.541,   -0.584,   +0.634,   -0.695,   +0.768,   -0.859,   +0.975,   -1.125,   +1.303,
    -1.613,   +2.034,   -2.695,   +3.822,   -5.945,   +10.486,  -21.64,   +52.169,  -135.369, +316.645,
    -510.467, +300.005, +349.389, -199.86,  -361.464, -232.369, -32.379,  +100.572, +170.055, +184.716,
    +177.528, +154.707, +132.414, +107.953, +89.067,  +70.692,  +57.719,  +45.16,   +36.9,    +28.541,
    +23.493,  +17.934,  +14.959,  +11.217,  +9.55,    +6.977,   +6.127,   +4.306,   +3.96,    +2.626,
    +2.587,   +1.572,   +1.715,   +0.911,   +1.161,   +0.498,   +0.807,   +0.24,    +0.581,   +0.082,
    +1.32};

constexpr int kCurveRows = 101;         // curve points 0 to 100
constexpr int kSchlumbergerLead = 34;   // samples taken before the first point
constexpr int kSchlumbergerTaps = 18;   // every other sample of a 35-sample window
constexpr int kWennerTaps = 14;
constexpr int kDipoleTaps = 61;
constexpr int kMaxSamples = kCurveRows * kDipoleTaps;

constexpr double kSchlumbergerOrigin = 822.8;   // first abscissa = 10^AB2MinDecade / 822.8
constexpr double kSchlumbergerRatio = 1.333521; // 10^(1/8): one sample per curve point
constexpr double kLog10e = 0.4343;
constexpr double kWennerOffset = 3.3643;
constexpr double kWennerStep = 0.5757;
constexpr double kDipoleOffset = 6.912;
constexpr double kDipoleStep = 0.2302385;  // not ln(10)/10 = 0.2302585
// From q = h/u = 4 on, tanh(q) counts as 1: the layer masks everything below.
constexpr double kTermLimit = 4.0;

// ---------------------------------------------------------------------------
// Abscissae. The sample abscissae and the stop limit are single precision, as
// the curves users compare against were computed; the transform and the sums
// are double precision.

// A double stored into a single: out of range is an overflow.
float ToSingle(double v) {
  const float f = static_cast<float>(v);
  if (!std::isfinite(f)) vb::Raise(vb::kErrOverflow, "overflow");
  return f;
}

// x(c) in decades; c = -1 gives the abscissa before the first point.
float PointAbscissa(int c) { return static_cast<float>(c * 0.125 + AB2MinDecade); }

double PointSpacing(int c) { return CheckFinite(std::pow(10.0, static_cast<double>(PointAbscissa(c)))); }

// 10^AB2MinDecade / 822.8, kept for the last left edge asked for.
float FirstSchlumbergerAbscissa() {
  static bool known = false;
  static int16_t decade = 0;
  static float u1 = 0.0f;
  if (!known || decade != AB2MinDecade) {
    u1 = ToSingle(CheckFinite(std::pow(10.0, AB2MinDecade)) / kSchlumbergerOrigin);
    known = true;
    decade = AB2MinDecade;
  }
  return u1;
}

float NextSchlumbergerAbscissa(float u) { return ToSingle(u * kSchlumbergerRatio); }
float WennerStart(int c) { return ToSingle(PointAbscissa(c) / kLog10e + kWennerOffset); }
float WennerAbscissa(float start, int k) { return ToSingle(std::exp(start - kWennerStep * k)); }
float DipoleStart(int c) { return ToSingle(PointAbscissa(c) / kLog10e - kDipoleOffset); }
float DipoleAbscissa(float start, int k) { return ToSingle(std::exp(kDipoleStep * k + start)); }

// Points the stop rule asks for: point c exists when x(c - 1) lies below the
// limit. Counting stops at one beyond the last row.
int PointsWanted(float limit) {
  int n = 0;
  while (n <= kCurveRows && PointAbscissa(n - 1) < limit) ++n;
  return n;
}

// ---------------------------------------------------------------------------
// The layered earth.

struct Layers {
  int n = 0;
  double rho[kLayerRows] = {};
  double h[kLayerRows] = {};
};

// Layers 0 to LayerCount; the entries beyond are never read.
void ReadLayers(Layers& m) {
  m.n = vb::Index(LayerCount, 0, kLayerRows - 1);
  for (int i = 0; i <= m.n; ++i) {
    m.rho[i] = LayerModel[i][kLayerRho].value();
    m.h[i] = LayerModel[i][kLayerThickness].value();
  }
}

// tanh(q) as the filters were designed with it, for q below the limit.
template <bool kChecked>
double LayerTerm(double q) {
  const double e = std::exp(q);
  const double inv = kChecked ? Divide(1.0, e) : 1.0 / e;
  return (e - inv) / (e + inv);
}

// The transform of the layers from i down, given T of the layers below i.
template <bool kChecked>
double Combine(double T, double t, double rho) {
  if constexpr (kChecked) {
    const double num = CheckFinite(T + CheckFinite(t * rho));
    const double den = CheckFinite(1.0 + Divide(CheckFinite(t * T), rho));
    return Divide(num, den);
  } else {
    return (T + t * rho) / (1.0 + t * T / rho);
  }
}

// T(u), every step checked for the errors that stop the computation: a zero
// resistivity above the half-space, a zero abscissa, an overflow.
double CheckedTransform(const Layers& m, float u) {
  double T = m.rho[m.n];
  for (int i = m.n - 1; i >= 1; --i) {
    const double q = Divide(m.h[i], u);
    T = q < kTermLimit ? Combine<true>(T, LayerTerm<true>(q), m.rho[i]) : m.rho[i];
  }
  return T;
}

// Models for which no step of the computation can fail: every resistivity
// positive and within 1e-100 to 1e100, every thickness from 0 to 1e100, the
// left edge of the plot from 10^-30 to 10^10 m. Then each term lies in [0, 1),
// T stays between the smallest and the largest resistivity, and every
// abscissa of every filter is a normal single; the fast path relies on it.
bool NothingCanFail(const Layers& m) {
  if (detail::ForceCheckedComputation) return false;
  if (AB2MinDecade < -30 || AB2MinDecade > 10 || m.n < 1) return false;
  for (int i = 1; i <= m.n; ++i)
    if (!(m.rho[i] >= 1e-100 && m.rho[i] <= 1e100)) return false;
  for (int i = 1; i < m.n; ++i)
    if (!(m.h[i] >= 0.0 && m.h[i] <= 1e100)) return false;
  return true;
}

// ---------------------------------------------------------------------------
// Hand-over of a computed point: drawn first, then stored.

void EmitPoint(int c, double rho, double spacing, bool draw) {
  if (draw) {
    int16_t j = static_cast<int16_t>(c + 1);
    CurrentEngineHooks().DrawCurveSegment(j, rho);
  }
  ComputedCurve[c][1] = rho;
  ComputedCurve[c][2] = spacing;
  CurvePointCount = static_cast<int16_t>(c);
}

[[noreturn]] void CurveTooLong() { vb::Raise(vb::kErrSubscript, "a curve needs more than 101 points"); }

// ---------------------------------------------------------------------------
// Checked path: the computation step by step, FilterSamples used as the
// working window.

void CheckedCurve(const Layers& m, Filter filter, float limit, float u1, bool draw) {
  switch (filter) {
    case Filter::Schlumberger: {
      float u = u1;
      for (int k = 1; k <= kSchlumbergerLead; ++k) {
        FilterSamples[k] = CheckedTransform(m, u);
        u = NextSchlumbergerAbscissa(u);
      }
      for (int c = 0; PointAbscissa(c - 1) < limit; ++c) {
        if (c >= kCurveRows) CurveTooLong();
        FilterSamples[kSchlumbergerLead + 1] = CheckedTransform(m, u);
        u = NextSchlumbergerAbscissa(u);
        double rho = 0.0;
        for (int t = 0; t < kSchlumbergerTaps; ++t)
          rho = CheckFinite(rho + kSchlumbergerCoefficients[t] * FilterSamples[2 * t + 1]);
        for (int k = 1; k <= kSchlumbergerLead; ++k) FilterSamples[k] = FilterSamples[k + 1];
        EmitPoint(c, rho, PointSpacing(c), draw);
      }
      break;
    }
    case Filter::Wenner:
      for (int c = 0; PointAbscissa(c - 1) < limit; ++c) {
        if (c >= kCurveRows) CurveTooLong();
        const float start = WennerStart(c);
        for (int k = 0; k < kWennerTaps; ++k) FilterSamples[k + 1] = CheckedTransform(m, WennerAbscissa(start, k));
        double rho = 0.0;
        for (int k = 0; k < kWennerTaps; ++k) rho = CheckFinite(rho + kWennerCoefficients[k] * FilterSamples[k + 1]);
        EmitPoint(c, rho, PointSpacing(c), draw);
      }
      break;
    case Filter::Dipole:
      for (int c = 0; PointAbscissa(c - 1) < limit; ++c) {
        if (c >= kCurveRows) CurveTooLong();
        const float start = DipoleStart(c);
        for (int k = 0; k < kDipoleTaps; ++k) FilterSamples[k + 1] = CheckedTransform(m, DipoleAbscissa(start, k));
        double rho = 0.0;
        for (int k = 0; k < kDipoleTaps; ++k) rho = CheckFinite(rho + kDipoleCoefficients[k] * FilterSamples[k + 1]);
        EmitPoint(c, rho / 1000.0, PointSpacing(c), draw);
      }
      break;
  }
}

// ---------------------------------------------------------------------------
// Fast path. The abscissae depend on the left edge of the plot alone and are
// kept per AB2MinDecade; the layer terms tanh(h/u) depend on a thickness and
// the abscissae alone, and the transform of the layers from i down depends on
// those layers alone: both are kept per layer. A fit trial that changes one
// resistivity then computes no exponential, one that changes a thickness
// computes that layer's terms only, and neither redoes the layers below the
// one it changed. The arithmetic is the checked path's, operation for
// operation, so the numbers are the same.

struct AbscissaTable {
  bool valid = false;
  int16_t decade = 0;
  double spacing[kCurveRows] = {};
  std::vector<float> u[3];  // Schlumberger by sample; Wenner and dipole by point, then tap
};
AbscissaTable g_abscissae;

// Marks a term whose q reached the limit: the layer's resistivity replaces T.
// Terms of the fast path lie in [0, 1), so it cannot be a real one.
constexpr double kMasking = -1.0;

// Per layer i: its terms tanh(h_i/u), which depend on h_i alone, and the
// transform of layers i to n at every sample, which depends on those layers
// alone. A fit trial changes one layer: the layers below it are not redone.
struct LayerCache {
  bool termsValid = false;
  double termsH = 0.0;
  int termsFilled = 0;
  int termsLead = 0;  // the leading run of masking terms among those filled
  std::vector<double> t;

  bool partialValid = false;
  double partialRho = 0.0;
  double partialH = 0.0;
  int partialFilled = 0;
  std::vector<double> partial;
};

struct TransformCache {
  bool valid = false;
  int16_t decade = 0;
  Filter filter = Filter::Schlumberger;
  int n = 0;
  double halfSpaceRho = 0.0;
  LayerCache layer[kLayerRows];
};
TransformCache g_transform;

double g_samples[kSchlumbergerLead + kMaxSamples];

int SampleCount(Filter filter, int points) {
  switch (filter) {
    case Filter::Schlumberger: return kSchlumbergerLead + points;
    case Filter::Wenner: return kWennerTaps * points;
    case Filter::Dipole: return kDipoleTaps * points;
  }
  return 0;
}

const std::vector<float>& FastAbscissae(Filter filter, float u1) {
  AbscissaTable& a = g_abscissae;
  if (!a.valid || a.decade != AB2MinDecade) {
    a.valid = true;
    a.decade = AB2MinDecade;
    for (int c = 0; c < kCurveRows; ++c) a.spacing[c] = PointSpacing(c);
    for (auto& u : a.u) u.clear();
  }
  std::vector<float>& u = filter == Filter::Schlumberger ? a.u[0] : filter == Filter::Wenner ? a.u[1] : a.u[2];
  if (u.empty()) {
    u.resize(static_cast<size_t>(SampleCount(filter, kCurveRows)));
    switch (filter) {
      case Filter::Schlumberger:
        u[0] = u1;
        for (size_t j = 1; j < u.size(); ++j) u[j] = NextSchlumbergerAbscissa(u[j - 1]);
        break;
      case Filter::Wenner:
        for (int c = 0; c < kCurveRows; ++c) {
          const float start = WennerStart(c);
          for (int k = 0; k < kWennerTaps; ++k) u[c * kWennerTaps + k] = WennerAbscissa(start, k);
        }
        break;
      case Filter::Dipole:
        for (int c = 0; c < kCurveRows; ++c) {
          const float start = DipoleStart(c);
          for (int k = 0; k < kDipoleTaps; ++k) u[c * kDipoleTaps + k] = DipoleAbscissa(start, k);
        }
        break;
    }
  }
  return u;
}

const double* LayerTermsFor(LayerCache& layer, double h, const std::vector<float>& u, int samples) {
  if (!layer.termsValid || layer.termsH != h) {
    layer.termsValid = true;
    layer.termsH = h;
    layer.termsFilled = 0;
    layer.termsLead = 0;
  }
  if (layer.termsFilled < samples) {
    if (layer.t.size() < u.size()) layer.t.resize(u.size());
    for (int j = layer.termsFilled; j < samples; ++j) {
      const double q = h / u[j];
      layer.t[j] = q < kTermLimit ? LayerTerm<false>(q) : kMasking;
    }
    if (layer.termsLead == layer.termsFilled)
      while (layer.termsLead < samples && layer.t[layer.termsLead] == kMasking) ++layer.termsLead;
    layer.termsFilled = samples;
  }
  return layer.t.data();
}

// The transform at every sample, layer by layer from the half-space up; the
// result stays valid until the next call.
const double* TransformSamples(const Layers& m, Filter filter, const std::vector<float>& u, int samples) {
  TransformCache& cache = g_transform;
  if (!cache.valid || cache.decade != AB2MinDecade || cache.filter != filter) {
    cache.valid = true;
    cache.decade = AB2MinDecade;
    cache.filter = filter;
    cache.n = 0;
    for (auto& l : cache.layer) l.termsValid = l.partialValid = false;
  }
  const int n = m.n;
  if (n == 1) {
    std::fill(g_samples, g_samples + samples, m.rho[1]);
    return g_samples;
  }
  // Whether the transform of the layers below the current one is the one the
  // cached partial transform was built on.
  bool belowKept = cache.n == n && cache.halfSpaceRho == m.rho[n];
  cache.n = n;
  cache.halfSpaceRho = m.rho[n];
  const double* below = nullptr;  // nullptr: the half-space alone
  for (int i = n - 1; i >= 1; --i) {
    LayerCache& layer = cache.layer[i];
    const double r = m.rho[i];
    const bool kept = belowKept && layer.partialValid && layer.partialRho == r && layer.partialH == m.h[i] &&
                      layer.partialFilled >= samples;
    if (!kept) {
      const double* t = LayerTermsFor(layer, m.h[i], u, samples);
      if (layer.partial.size() < u.size()) layer.partial.resize(u.size());
      double* T = layer.partial.data();
      // Where q reached the limit the layer masks everything below and its
      // resistivity replaces T. For the Schlumberger filter these samples
      // (the smallest abscissae) come first and none follows; for the others
      // they start each point's run. The leading run is filled apart, so
      // that the rest runs without a branch, two samples at a time.
      int j = std::min(layer.termsLead, samples);
      std::fill(T, T + j, r);
      if (below) {
        for (; j < samples; ++j) {
          const double combined = Combine<false>(below[j], t[j], r);
          T[j] = t[j] == kMasking ? r : combined;
        }
      } else {
        const double half = m.rho[n];
        for (; j < samples; ++j) {
          const double combined = Combine<false>(half, t[j], r);
          T[j] = t[j] == kMasking ? r : combined;
        }
      }
      layer.partialValid = true;
      layer.partialRho = r;
      layer.partialH = m.h[i];
      layer.partialFilled = samples;
    }
    belowKept = kept;
    below = layer.partial.data();
  }
  return below;
}

// Two doubles side by side, one curve point each; the compiler's own vector
// type, whose additions and multiplications round lane by lane as the scalar
// ones do.
typedef double Pair __attribute__((vector_size(16)));

Pair LoadPair(const double* p) {
  Pair v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

// The Schlumberger sums of points first to last - 1, each over its taps in
// order. The points go in blocks of eight whose sums stay in registers over
// the 18 taps, so that the additions of one point do not wait for those of
// another; a last block that would run past the end is moved back over
// points already summed, which come out the same again.
void SchlumbergerSums(const double* T, int first, int last, double* rho) {
  constexpr int kBlock = 8;
  auto block = [&](int c) {
    Pair s0 = {0.0, 0.0}, s1 = s0, s2 = s0, s3 = s0;
    for (int t = 0; t < kSchlumbergerTaps; ++t) {
      const double w = kSchlumbergerCoefficients[t];
      const Pair wp = {w, w};
      const double* x = T + 2 * t + c;
      s0 = s0 + wp * LoadPair(x);
      s1 = s1 + wp * LoadPair(x + 2);
      s2 = s2 + wp * LoadPair(x + 4);
      s3 = s3 + wp * LoadPair(x + 6);
    }
    std::memcpy(rho + c, &s0, sizeof s0);
    std::memcpy(rho + c + 2, &s1, sizeof s1);
    std::memcpy(rho + c + 4, &s2, sizeof s2);
    std::memcpy(rho + c + 6, &s3, sizeof s3);
  };
  if (last - first >= kBlock) {
    int c = first;
    for (; c + kBlock <= last; c += kBlock) block(c);
    if (c < last) block(last - kBlock);
    return;
  }
  for (int c = first; c < last; ++c) {
    double sum = 0.0;
    for (int t = 0; t < kSchlumbergerTaps; ++t) sum = sum + kSchlumbergerCoefficients[t] * T[2 * t + c];
    rho[c] = sum;
  }
}

void FastCurve(const Layers& m, Filter filter, int wanted, float u1, bool draw) {
  const int points = std::min(wanted, kCurveRows);
  const std::vector<float>& u = FastAbscissae(filter, u1);
  const double* T = TransformSamples(m, filter, u, SampleCount(filter, points));

  double rho[kCurveRows];
  switch (filter) {
    case Filter::Schlumberger:
      SchlumbergerSums(T, 0, points, rho);
      // The window as the last shift left it.
      if (points == 0) {
        for (int k = 1; k <= kSchlumbergerLead; ++k) FilterSamples[k] = T[k - 1];
      } else {
        for (int k = 1; k <= kSchlumbergerLead; ++k) FilterSamples[k] = T[points + k - 1];
        FilterSamples[kSchlumbergerLead + 1] = T[points + kSchlumbergerLead - 1];
      }
      break;
    case Filter::Wenner:
      std::fill(rho, rho + points, 0.0);
      for (int k = 0; k < kWennerTaps; ++k) {
        const double w = kWennerCoefficients[k];
        for (int c = 0; c < points; ++c) rho[c] = rho[c] + w * T[c * kWennerTaps + k];
      }
      if (points > 0) std::copy_n(T + (points - 1) * kWennerTaps, kWennerTaps, FilterSamples + 1);
      break;
    case Filter::Dipole:
      std::fill(rho, rho + points, 0.0);
      for (int k = 0; k < kDipoleTaps; ++k) {
        const double w = kDipoleCoefficients[k];
        for (int c = 0; c < points; ++c) rho[c] = rho[c] + w * T[c * kDipoleTaps + k];
      }
      for (int c = 0; c < points; ++c) rho[c] = rho[c] / 1000.0;
      if (points > 0) std::copy_n(T + (points - 1) * kDipoleTaps, kDipoleTaps, FilterSamples + 1);
      break;
  }

  for (int c = 0; c < points; ++c) EmitPoint(c, rho[c], g_abscissae.spacing[c], draw);
  if (wanted > kCurveRows) CurveTooLong();
}

// A fit trial's curve: the points first to last only, those its misfit
// reads (FitTrials::ReadRows), with CurvePointCount as the whole curve
// gives it. Nothing is drawn and FilterSamples is left alone; the rest of the
// curve is filled in (CompleteTrialCurve) before anything else computes or
// reads it.
void FastTrialRows(const Layers& m, Filter filter, int points, float u1, int first, int last) {
  const std::vector<float>& u = FastAbscissae(filter, u1);
  const double* T = TransformSamples(m, filter, u, SampleCount(filter, last + 1));
  double rho[kCurveRows];
  switch (filter) {
    case Filter::Schlumberger:
      SchlumbergerSums(T, first, last + 1, rho);
      break;
    case Filter::Wenner:
      for (int c = first; c <= last; ++c) {
        double sum = 0.0;
        for (int k = 0; k < kWennerTaps; ++k) sum = sum + kWennerCoefficients[k] * T[c * kWennerTaps + k];
        rho[c] = sum;
      }
      break;
    case Filter::Dipole:
      for (int c = first; c <= last; ++c) {
        double sum = 0.0;
        for (int k = 0; k < kDipoleTaps; ++k) sum = sum + kDipoleCoefficients[k] * T[c * kDipoleTaps + k];
        rho[c] = sum / 1000.0;
      }
      break;
  }
  // Column 2 holds these spacings already: the whole curve the fit searched
  // its brackets on had this point count and the same left edge.
  for (int c = first; c <= last; ++c) ComputedCurve[c][1] = rho[c];
  CurvePointCount = static_cast<int16_t>(points - 1);
}

// The rows the fit's misfit reads, for a curve of curvePointCount + 1 points
// of the array and left edge of the curve computed before they were known.
struct TrialRows {
  bool known = false;
  int16_t curvePointCount = -1;
  int first = 0, last = -1;
  Filter filter = Filter::Schlumberger;
  int16_t decade = 0;
};
TrialRows g_trialRows;

// The trial whose curve holds only the rows its misfit reads. Its layers
// stay in one of two buffers while the next call reads its own into the
// other, so that nothing is copied.
struct PendingCurve {
  bool pending = false;
  const Layers* m = nullptr;
  Filter filter = Filter::Schlumberger;
  int wanted = 0;
  float u1 = 0.0f;
};
PendingCurve g_pendingCurve;
Layers g_layerBuffers[2];

Layers& FreeLayerBuffer() {
  return g_pendingCurve.pending && g_pendingCurve.m == &g_layerBuffers[0] ? g_layerBuffers[1] : g_layerBuffers[0];
}

// The whole curve of that trial, as its computation would have left it
// (CurvePointCount is already the one of the whole curve).
void CompleteTrialCurve() {
  if (!g_pendingCurve.pending) return;
  g_pendingCurve.pending = false;
  const int16_t count = CurvePointCount;
  const PendingCurve& p = g_pendingCurve;
  FastCurve(*p.m, p.filter, p.wanted, p.u1, false);
  CurvePointCount = count;
}

Filter CurrentFilter() { return Option1 != 0 ? Filter::Schlumberger : Option3 != 0 ? Filter::Wenner : Filter::Dipole; }

// ---------------------------------------------------------------------------
// The curve's range, kept while the fit's trials run (FitTrials): it depends
// on the field spacings, which the trials leave alone, on MaxSpacing as the
// call finds it and on the left edge of the plot.

struct CurveRange {
  bool valid = false;
  int16_t decade = 0;
  int16_t given = 0;     // MaxSpacing as the call found it
  int16_t extended = 0;  // MaxSpacing after ExtendSpacingRange
  float limit = 0.0f;
  int wanted = 0;
};
bool g_fitTrials = false;
CurveRange g_range;

// ---------------------------------------------------------------------------

void ShowPointer(PointerState& pointer, Pointer p) {
  if (pointer.get() != p) pointer.set(p);
}

// The model window's overlay check box becomes usable again once a curve of
// the current sounding has been computed.
void ReadyOverlayCheck() {
  FreshSoundingFlag = 0;
  CurrentEngineHooks().EnableCheck18(kWindowTextColour);
}

// The first three spacings added as the runtime adds numeric cells: in single
// precision while every operand is a single (an empty cell adds nothing), in
// double precision from the first double on. Spacings 0.5, 0.3 and 0.2 typed
// as singles sum to exactly 1 that way.
double SumOfFirstSpacings() {
  double sum = 0.0;
  bool single = true;
  for (int i = 1; i <= 3; ++i) {
    const Cell& cell = FieldData[i][kSpacing1];
    switch (cell.kind()) {
      case Cell::Kind::Empty: break;
      case Cell::Kind::Single:
        sum = single ? static_cast<float>(sum + cell.value()) : sum + cell.value();
        break;
      case Cell::Kind::Double:
        sum = sum + cell.value();
        single = false;
        break;
    }
  }
  return sum;
}

}  // namespace

void ExtendSpacingRange(int16_t& maxSpacing) {
  // Spacings that sum to 1 mark a sounding whose range is not taken from its
  // spacings.
  if (SumOfFirstSpacings() == 1.0) return;
  // The rule, point by point: a spacing above maxSpacing replaces it,
  // converted to 16 bits (nearest, halves to even); one beyond 16 bits
  // (32767.5 and up) leaves it as it was. The conversion is monotone and
  // maxSpacing only grows, so the outcome is the conversion of the largest
  // convertible spacing when that lies above the start, else the start: one
  // conversion in place of one per rising spacing.
  const int last = std::min<int>(PointCount, kFieldRows - 1);
  double largest = maxSpacing;
  for (int i = 1; i <= last; ++i) {
    const double a = FieldData[i][kSpacing1].value();
    if (a > largest && a < 32767.5) largest = a;
  }
  if (largest > maxSpacing) maxSpacing = vb::CInt(largest);
}

void ComputeModelCurve() {
  CurveComputed = 1;
  ShowPointer(BilogPointer(), Pointer::Hourglass);
  const bool fileMode = ModeWord == QLatin1String("FICHIER");
  try {
    const float u1 = FirstSchlumbergerAbscissa();
    StartingUp = 0;
    CurveValid = kTrue;
    if (MaxSpacing == 0) return;
    // Superposition off: the range is taken afresh from the current data. On:
    // it only grows, so that all superposed curves share one range.
    if (SuperposeSwitch == -1) MaxSpacing = 1;
    const bool rangeKept =
        g_fitTrials && g_range.valid && g_range.given == MaxSpacing && g_range.decade == AB2MinDecade;
    const int16_t given = MaxSpacing;
    if (rangeKept)
      MaxSpacing = g_range.extended;
    else
      ExtendSpacingRange(MaxSpacing);
    CurvePointCount = -1;
    PenUp = kTrue;
    float limit = g_range.limit;
    int wanted = g_range.wanted;
    if (!rangeKept) {
      limit = ToSingle(kLog10e * vb::Ln(MaxSpacing) + 0.5);
      wanted = PointsWanted(limit);
      if (g_fitTrials) g_range = {true, AB2MinDecade, given, MaxSpacing, limit, wanted};
    }
    const Filter filter = CurrentFilter();
    // A running fit (CurrentMisfit not 0) computes its trials without drawing.
    const bool draw = !fileMode && CurrentMisfit == 0.0;

    Layers& m = FreeLayerBuffer();
    ReadLayers(m);
    const bool fast = NothingCanFail(m);
    // A trial of the fit, drawn nowhere, needs only the rows its misfit reads.
    const TrialRows& rows = g_trialRows;
    const bool trialRowsOnly = fast && !draw && g_fitTrials && rows.known && rows.first <= rows.last &&
                               wanted <= kCurveRows && wanted - 1 == rows.curvePointCount &&
                               filter == rows.filter && AB2MinDecade == rows.decade;
    if (trialRowsOnly) {
      FastTrialRows(m, filter, wanted, u1, rows.first, rows.last);
      g_pendingCurve = {true, &m, filter, wanted, u1};
    } else {
      CompleteTrialCurve();
      if (fast)
        FastCurve(m, filter, wanted, u1, draw);
      else
        CheckedCurve(m, filter, limit, u1, draw);
    }

    if (fileMode) return;
    if (ShowErrorCurve == 1 && CurrentMisfit == 0.0) CurrentEngineHooks().DrawErrorCurve();
    if (ShowModelGraphic == 1 && CurrentMisfit == 0.0) CurrentEngineHooks().DrawModelStaircase();
    ShowPointer(BilogPointer(), Pointer::Cross);
    if (SuperposeSwitch != 1) ReadyOverlayCheck();
  } catch (const vb::VbError&) {
    // The points stored so far stay; the plot's pointer is left as it was.
    MsgBox(Lang(QStringLiteral("Erreur de calcul"), QStringLiteral("Error de calculo..."),
                QStringLiteral("Calculation error...")),
           MsgButtons::OK, MsgIcon::Exclamation);
    if (SuperposeSwitch != 1) vb::Step([] { ReadyOverlayCheck(); });
  }
}

void ResetForwardComputation() {
  std::fill(std::begin(FilterSamples), std::end(FilterSamples), 0.0);
  g_abscissae.valid = false;
  g_transform.valid = false;
  g_range.valid = false;
  g_pendingCurve.pending = false;
}

FitTrials::FitTrials() {
  g_fitTrials = true;
  g_range.valid = false;
  g_trialRows.known = false;
}

FitTrials::~FitTrials() {
  CompleteTrialCurve();
  g_fitTrials = false;
  g_range.valid = false;
  g_trialRows.known = false;
}

void FitTrials::ReadRows(int16_t curvePointCount, int first, int last) {
  g_trialRows = {true, curvePointCount, first, last, CurrentFilter(), AB2MinDecade};
}

}  // namespace tellumo
