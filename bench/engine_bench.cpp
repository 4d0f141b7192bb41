// The forward computation and the fit, the inner loops of the program.
//
// ComputeModelCurve is timed two ways: "cold", where every call brings new
// thicknesses for every layer (two models alternate), so that every layer term
// tanh(h/u) is computed afresh, and "warm", the same model again, as a fit
// trial that changes a resistivity sees it. The bare filter arithmetic of the
// same curves (the transform with its exponentials and the weighted sums, on
// abscissae prepared beforehand, no state and nothing kept) is timed after
// each cold run; the counter "ratio" is cold time / bare time.
//
// The fit is timed beside the cold Schlumberger computation of the same run,
// in interleaved rounds so that a change of load on the machine touches
// both: its counter "ratio" is the median over the rounds of the fit's time
// over the time of one cold ComputeModelCurve, the fit's cost in forward
// computations.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <vector>

#include "mainwindow/program_state.h"
#include "modelling/engine_hooks.h"
#include "modelling/forward_computation.h"
#include "modelling/misfit_fit.h"
#include "modelling/modelling_state.h"
#include "modelling/superposition_store.h"
#include "sounding/sounding_record.h"

namespace {

using namespace tellumo;

enum ArrayKind { kSchlumberger = 0, kWenner = 1, kDipole = 2 };

struct Model {
  std::vector<double> rho, h;
};

// Five layers; the second differs in every thickness.
const Model kModelA{{30, 300, 20, 1000, 5}, {1, 4, 12, 40}};
const Model kModelB{{30, 300, 20, 1000, 5}, {1.1, 4.2, 12.5, 41}};

void SetModel(const Model& m) {
  LayerCount = static_cast<int16_t>(m.rho.size());
  for (size_t i = 0; i < m.rho.size(); ++i) {
    LayerModel[i + 1][kLayerRho] = m.rho[i];
    LayerModel[i + 1][kLayerThickness] = i < m.h.size() ? m.h[i] : 0.0;
  }
}

void Prepare(ArrayKind array) {
  ResetSoundingRecord();
  ResetModellingState();
  ResetSuperpositionStore();
  ResetProgramState();
  ResetForwardComputation();
  Option1 = array == kSchlumberger ? kTrue : kFalse;
  Option3 = array == kWenner ? kTrue : kFalse;
  Option2 = array == kDipole ? kTrue : kFalse;
  AB2MinDecade = -1;  // 0.1 m
  MaxSpacing = 1;
  ModeWord = QStringLiteral("FICHIER");
  PointCount = 2;
  FieldData[1][kSpacing1] = 1.0f;
  FieldData[2][kSpacing1] = 1000.0f;  // 38 points, to 10^3.625 m
}

// --- the bare arithmetic -----------------------------------------------------

double BareTransform(const Model& m, double u) {
  const int n = static_cast<int>(m.rho.size());
  double T = m.rho[n - 1];
  for (int i = n - 2; i >= 0; --i) {
    const double q = m.h[i] / u;
    if (q < 4) {
      const double e = std::exp(q);
      const double t = (e - 1 / e) / (e + 1 / e);
      T = (T + t * m.rho[i]) / (1 + t * T / m.rho[i]);
    } else {
      T = m.rho[i];
    }
  }
  return T;
}

const double kS[18] = {+0.0042, -0.0103, +0.0144, -0.0211, +0.033,  -0.0574, +0.1184, -0.3162, +1.0219,
                       -2.4514, +1.8192, +0.6486, +0.1739, +0.0079, +0.02,   -0.0106, +0.0093, -0.0038};
const double kW[14] = {+0.0008, -0.0031, +0.0091, -0.0086, +0.0589, +0.138,  +0.8415,
                       +1.2348, -1.7514, +0.567,  -0.1029, +0.0193, -0.0042, +0.0006};
const double kD[61] = {-0.354,   +0.541,   -0.584,   +0.634,   -0.695,   +0.768,   -0.859,   +0.975,   -1.125,
                       +1.303,   -1.613,   +2.034,   -2.695,   +3.822,   -5.945,   +10.486,  -21.64,   +52.169,
                       -135.369, +316.645, -510.467, +300.005, +349.389, -199.86,  -361.464, -232.369, -32.379,
                       +100.572, +170.055, +184.716, +177.528, +154.707, +132.414, +107.953, +89.067,  +70.692,
                       +57.719,  +45.16,   +36.9,    +28.541,  +23.493,  +17.934,  +14.959,  +11.217,  +9.55,
                       +6.977,   +6.127,   +4.306,   +3.96,    +2.626,   +2.587,   +1.572,   +1.715,   +0.911,
                       +1.161,   +0.498,   +0.807,   +0.24,    +0.581,   +0.082,   +1.32};

constexpr int kPoints = 38;

struct BareCurve {
  std::vector<float> u;  // Schlumberger by sample; Wenner and dipole by point, then tap
  std::vector<double> samples;
  double rho[kPoints];

  explicit BareCurve(ArrayKind array) {
    switch (array) {
      case kSchlumberger: {
        float v = static_cast<float>(0.1 / 822.8);
        for (int j = 0; j < 34 + kPoints; ++j) {
          u.push_back(v);
          v = static_cast<float>(v * 1.333521);
        }
        break;
      }
      case kWenner:
        for (int c = 0; c < kPoints; ++c) {
          const float L = static_cast<float>((c * 0.125 - 1) / 0.4343 + 3.3643);
          for (int k = 0; k < 14; ++k) u.push_back(static_cast<float>(std::exp(L - 0.5757 * k)));
        }
        break;
      case kDipole:
        for (int c = 0; c < kPoints; ++c) {
          const float L = static_cast<float>((c * 0.125 - 1) / 0.4343 - 6.912);
          for (int k = 0; k < 61; ++k) u.push_back(static_cast<float>(std::exp(0.2302385 * k + L)));
        }
        break;
    }
    samples.resize(u.size());
  }

  void compute(ArrayKind array, const Model& m) {
    for (size_t j = 0; j < u.size(); ++j) samples[j] = BareTransform(m, u[j]);
    for (int c = 0; c < kPoints; ++c) {
      double sum = 0.0;
      switch (array) {
        case kSchlumberger:
          for (int t = 0; t < 18; ++t) sum += kS[t] * samples[c + 2 * t];
          break;
        case kWenner:
          for (int k = 0; k < 14; ++k) sum += kW[k] * samples[c * 14 + k];
          break;
        case kDipole:
          for (int k = 0; k < 61; ++k) sum += kD[k] * samples[c * 61 + k];
          sum /= 1000.0;
          break;
      }
      rho[c] = sum;
    }
  }
};

double SecondsSince(std::chrono::steady_clock::time_point t0) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// --- benchmarks --------------------------------------------------------------

// One cold call: new thicknesses for every layer, two models alternating.
// Kept out of line, so that a profiler can count its instructions alone.
[[gnu::noinline]] void ColdCall(int64_t call) {
  SetModel((call & 1) ? kModelB : kModelA);
  ComputeModelCurve();
  benchmark::DoNotOptimize(ComputedCurve[CurvePointCount][1]);
}

void BM_ComputeModelCurveCold(benchmark::State& state) {
  const auto array = static_cast<ArrayKind>(state.range(0));
  Prepare(array);
  int64_t calls = 0;
  const auto t0 = std::chrono::steady_clock::now();
  for (auto _ : state) ColdCall(calls++);
  const double perCall = SecondsSince(t0) / static_cast<double>(calls);
  if (CurvePointCount != kPoints - 1) state.SkipWithError("unexpected point count");

  // The bare arithmetic of the same curves, as many times.
  BareCurve bare(array);
  const auto t1 = std::chrono::steady_clock::now();
  for (int64_t i = 0; i < calls; ++i) {
    bare.compute(array, (i & 1) ? kModelB : kModelA);
    benchmark::DoNotOptimize(bare.rho[kPoints - 1]);
  }
  const double barePerCall = SecondsSince(t1) / static_cast<double>(calls);
  state.counters["bare_us"] = barePerCall * 1e6;
  state.counters["ratio"] = perCall / barePerCall;
}
BENCHMARK(BM_ComputeModelCurveCold)->Arg(kSchlumberger)->Arg(kWenner)->Arg(kDipole)->ArgName("array");

void BM_ComputeModelCurveWarm(benchmark::State& state) {
  Prepare(static_cast<ArrayKind>(state.range(0)));
  SetModel(kModelA);
  for (auto _ : state) {
    ComputeModelCurve();
    benchmark::DoNotOptimize(ComputedCurve[CurvePointCount][1]);
  }
}
BENCHMARK(BM_ComputeModelCurveWarm)->Arg(kSchlumberger)->Arg(kWenner)->Arg(kDipole)->ArgName("array");

// Counts the forward computations of one fit (in any mode but "FICHIER" each
// ends by readying the overlay check box).
class TrialCounter : public EngineHooks {
 public:
  void DrawCurveSegment(int16_t&, double) override {}
  void DrawErrorCurve() override {}
  void DrawModelStaircase() override {}
  void EnableCheck18(int32_t) override { ++computations; }
  int computations = 0;
};

// Four layers, 25 Schlumberger points from 1 m to 1000 m, a start far from the
// true model.
void PrepareFitCase() {
  Prepare(kSchlumberger);
  SetModel({{100, 20, 300, 10}, {2, 6, 20}});
  ComputeModelCurve();
  PointCount = 25;
  for (int i = 1; i <= 25; ++i) {
    FieldData[i][kSpacing1] = static_cast<float>(ComputedCurve[i + 7][2]);
    FieldData[i][kRhoApparent] = static_cast<float>(ComputedCurve[i + 7][1]);
  }
}

void FitOnce() {
  static const Model start{{50, 50, 50, 50}, {1, 3, 10}};
  EmptyLayerModel();
  SetModel(start);
  for (auto& f : LayerFixCode) f = 0;
  CurrentMisfit = 1;
  ComputeModelCurve();
  FitModel();
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

void BM_FitModel(benchmark::State& state) {
  PrepareFitCase();
  TrialCounter counter;
  {
    ScopedEngineHooks scope(&counter);
    ModeWord = QStringLiteral("NORMAL");
    FitOnce();
    ModeWord = QStringLiteral("FICHIER");
  }
  for (auto _ : state) {
    FitOnce();
    benchmark::DoNotOptimize(LayerModel[1][kLayerRho].value());
  }
  state.counters["computations"] = counter.computations;
  state.counters["layers"] = LayerCount;

  // Rounds of fits and of cold computations, one after the other.
  constexpr int kRounds = 11, kFitsPerRound = 10, kColdPerRound = 5000;
  std::vector<double> fitTimes, coldTimes, ratios;
  for (int r = 0; r < kRounds; ++r) {
    PrepareFitCase();
    auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < kFitsPerRound; ++i) FitOnce();
    const double fit = SecondsSince(t0) / kFitsPerRound;
    Prepare(kSchlumberger);
    t0 = std::chrono::steady_clock::now();
    for (int64_t i = 0; i < kColdPerRound; ++i) ColdCall(i);
    const double cold = SecondsSince(t0) / kColdPerRound;
    fitTimes.push_back(fit);
    coldTimes.push_back(cold);
    ratios.push_back(fit / cold);
  }
  state.counters["fit_us"] = Median(fitTimes) * 1e6;
  state.counters["cold_us"] = Median(coldTimes) * 1e6;
  state.counters["ratio"] = Median(ratios);
}
BENCHMARK(BM_FitModel)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
