#include "modelling/misfit_fit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "mainwindow/program_state.h"
#include "modelling/engine_hooks.h"
#include "modelling/forward_computation.h"
#include "modelling/modelling_state.h"
#include "modelling/superposition_store.h"
#include "sounding/sounding_record.h"
#include "support/fixtures.h"

namespace tellumo {
namespace {

using Call = RecordingEngineHooks::Call;

void SetModel(std::vector<double> rho, std::vector<double> h, std::vector<int16_t> fix = {}) {
  EmptyLayerModel();
  for (auto& f : LayerFixCode) f = 0;
  LayerCount = static_cast<int16_t>(rho.size());
  for (size_t i = 0; i < rho.size(); ++i) {
    LayerModel[i + 1][kLayerRho] = rho[i];
    LayerModel[i + 1][kLayerThickness] = i < h.size() ? h[i] : 0.0;
    LayerFixCode[i + 1] = i < fix.size() ? fix[i] : 0;
  }
}

double Rho(int layer) { return LayerModel[layer][kLayerRho].value(); }
double Thickness(int layer) { return LayerModel[layer][kLayerThickness].value(); }

// ---------------------------------------------------------------------------
// ComputeMisfit on a curve laid out by hand: spacings 1, 2, 4, 8, 16, 32 m.
// With CurvePointCount 5 the intervals searched are [2, 4), [4, 8) and
// [8, 16): the search starts at curve point 1 and the last interval is left
// out.

class MisfitTest : public test::StateTest {
 protected:
  void SetUp() override {
    StateTest::SetUp();
    const double spacing[] = {1, 2, 4, 8, 16, 32};
    const double rho[] = {10, 10, 40, 40, 40, 40};
    for (int c = 0; c < 6; ++c) {
      ComputedCurve[c][1] = rho[c];
      ComputedCurve[c][2] = spacing[c];
    }
    CurvePointCount = 5;
  }

  struct FieldPoint {
    float a, rho;
  };
  double MisfitOf(std::vector<FieldPoint> points) {
    EmptyFieldData();
    PointCount = static_cast<int16_t>(points.size());
    for (size_t i = 0; i < points.size(); ++i) {
      FieldData[i + 1][kSpacing1] = points[i].a;
      FieldData[i + 1][kRhoApparent] = points[i].rho;
    }
    double misfit = -1.0;
    ComputeMisfit(misfit);
    return misfit;
  }
};

// The error of a point whose resistivity is ten times (or a tenth of) the
// curve's: one decade.
const double kDecade = std::log(10.0) / 2.30258 + 1e-07;
// The error of a point lying on the curve.
constexpr double kOnCurve = 1e-07;

TEST_F(MisfitTest, FirstAndLastMatchedPointsCountTwice) {
  const struct {
    const char* name;
    std::vector<FieldPoint> points;
    double expected;
  } cases[] = {
      // Interpolation is linear in the spacing: 25 at 3 m (the log-log
      // interpolation would give 22.5).
      {"on the curve", {{3, 25}}, 3 * kOnCurve * kOnCurve},
      {"first point only", {{3, 2.5f}}, 3 * kDecade * kDecade},
      {"a later point only", {{1.5f, 2.5f}, {5, 400}}, 2 * kDecade * kDecade},
      {"two points", {{3, 250}, {5, 40}}, 2 * kDecade * kDecade + 2 * kOnCurve * kOnCurve},
      {"three points", {{3, 250}, {5, 40}, {9, 4}},
       2 * kDecade * kDecade + kOnCurve * kOnCurve + 2 * kDecade * kDecade},
      {"left of curve point 1", {{1.5f, 2.5f}}, 0.0},
      {"beyond the last interval searched", {{20, 4}}, 0.0},
      {"out of order", {{5, 40}, {3, 2.5f}}, 3 * kOnCurve * kOnCurve},
      {"a repeated spacing", {{5, 40}, {5, 400}}, 2 * kOnCurve * kOnCurve + 2 * kDecade * kDecade},
      {"no points", {}, 0.0},
  };
  for (const auto& tc : cases) {
    SCOPED_TRACE(tc.name);
    EXPECT_NEAR(MisfitOf(tc.points), tc.expected, 1e-12 + tc.expected * 1e-9);
  }
}

// A point whose error cannot be computed adds the error of the previous
// matched point again (0 when there is none).
TEST_F(MisfitTest, PointsWithoutAnErrorRepeatThePreviousOne) {
  const struct {
    const char* name;
    std::vector<FieldPoint> points;
    double expected;
  } cases[] = {
      {"zero field resistivity", {{3, 2.5f}, {5, 0}}, 2 * kDecade * kDecade + 2 * kDecade * kDecade},
      {"negative field resistivity", {{3, 2.5f}, {5, -40}}, 2 * kDecade * kDecade + 2 * kDecade * kDecade},
      {"zero resistivity first", {{3, 0}, {5, 400}}, 0.0 + 2 * kDecade * kDecade},
  };
  for (const auto& tc : cases) {
    SCOPED_TRACE(tc.name);
    EXPECT_NEAR(MisfitOf(tc.points), tc.expected, 1e-12 + tc.expected * 1e-9);
  }
  // A curve value that is not positive: from 40 at 4 m to -40 at 8 m, -20 at
  // 7 m.
  ComputedCurve[3][1] = -40;
  EXPECT_NEAR(MisfitOf({{3, 2.5f}, {7, 40}}), 2 * kDecade * kDecade + 2 * kDecade * kDecade, 1e-9);
}

TEST_F(MisfitTest, NoCurveMeansNoMisfit) {
  CurvePointCount = -1;
  EXPECT_EQ(MisfitOf({{3, 25}, {5, 40}}), 0.0);
}

// ---------------------------------------------------------------------------
// FitModel

class FitTest : public test::StateTest {
 protected:
  void SetUp() override {
    StateTest::SetUp();
    AB2MinDecade = -1;
    MaxSpacing = 1;
    Option1 = kTrue;  // Schlumberger
    ModeWord = QStringLiteral("FICHIER");
    ScreenPointer().set(Pointer::Default);
  }

  // 25 field points at the curve's own spacings 1 m to 1000 m, with the
  // apparent resistivities of the true model, stored as singles as a
  // sounding file holds them.
  void SyntheticData(std::vector<double> rho, std::vector<double> h) {
    SetModel(rho, h);
    EmptyFieldData();
    FieldData[1][kSpacing1] = 1.0f;
    FieldData[2][kSpacing1] = 1000.0f;
    PointCount = 2;
    ComputeModelCurve();
    ASSERT_EQ(CurvePointCount, 37);
    PointCount = 25;
    for (int i = 1; i <= 25; ++i) {
      FieldData[i][kSpacing1] = static_cast<float>(ComputedCurve[i + 7][2]);
      FieldData[i][kRhoApparent] = static_cast<float>(ComputedCurve[i + 7][1]);
    }
  }

  // As the model window's Fit button does: the trials are not drawn, the
  // curve of the starting model is computed first.
  void Fit() {
    CurrentMisfit = 1;
    ComputeModelCurve();
    FitModel();
  }

  // Root mean square of the decimal-log error of the final curve at the
  // field points, the curve interpolated as the misfit does.
  double RmsLogError() {
    double sum = 0.0;
    int n = 0;
    for (int i = 1; i <= PointCount; ++i) {
      const double a = FieldData[i][kSpacing1].value();
      for (int k = 0; k < CurvePointCount; ++k) {
        const double* lo = ComputedCurve[k];
        const double* hi = ComputedCurve[k + 1];
        if (lo[2] <= a && a < hi[2]) {
          const double rc = lo[1] + (hi[1] - lo[1]) * (a - lo[2]) / (hi[2] - lo[2]);
          sum += std::pow(std::log10(rc / FieldData[i][kRhoApparent].value()), 2);
          ++n;
          break;
        }
      }
    }
    return n ? std::sqrt(sum / n) : 1e9;
  }

  RecordingEngineHooks hooks;
  ScopedEngineHooks installed{&hooks};
};

// A local search from a poor start: where the data resolve the model, the
// fitted parameters come back within a few percent (the final rounding
// included).
TEST_F(FitTest, RecoversResolvableModelsFromAPoorStart) {
  const struct {
    const char* name;
    std::vector<double> trueRho, trueH, startRho, startH;
    double tolerance;
  } cases[] = {
      {"two layers", {50, 500}, {8}, {100, 100}, {3}, 0.02},
      {"three layers, resistive middle", {10, 100, 5}, {2, 40}, {60, 60, 60}, {6, 12}, 0.04},
  };
  for (const auto& tc : cases) {
    SCOPED_TRACE(tc.name);
    SyntheticData(tc.trueRho, tc.trueH);
    SetModel(tc.startRho, tc.startH);
    Fit();
    EXPECT_TRUE(boxes.boxes.empty());
    ASSERT_EQ(LayerCount, static_cast<int16_t>(tc.trueRho.size()));
    for (size_t i = 0; i < tc.trueRho.size(); ++i)
      EXPECT_NEAR(Rho(static_cast<int>(i) + 1) / tc.trueRho[i], 1.0, tc.tolerance) << "resistivity " << i + 1;
    for (size_t i = 0; i < tc.trueH.size(); ++i)
      EXPECT_NEAR(Thickness(static_cast<int>(i) + 1) / tc.trueH[i], 1.0, tc.tolerance) << "thickness " << i + 1;
    EXPECT_EQ(Thickness(LayerCount), 0.0);
    EXPECT_LT(RmsLogError(), 0.005);
    EXPECT_EQ(CurrentMisfit, 0.0);
  }
}

// A thin conductive layer is known by its conductance h/rho alone: the fit
// stops somewhere along the equivalence, with a curve that matches the data.
TEST_F(FitTest, EquivalentConductiveLayerKeepsItsConductance) {
  const struct {
    const char* name;
    std::vector<double> trueRho, trueH, startRho, startH;
  } cases[] = {
      {"3 ohm.m, 1.5 m thick under 5 m", {100, 3, 100}, {5, 1.5}, {200, 200, 200}, {10, 4.5}},
      {"5 ohm.m, 1 m thick under 8 m", {200, 5, 200}, {8, 1}, {400, 400, 400}, {16, 3}},
  };
  for (const auto& tc : cases) {
    SCOPED_TRACE(tc.name);
    SyntheticData(tc.trueRho, tc.trueH);
    SetModel(tc.startRho, tc.startH);
    Fit();
    EXPECT_TRUE(boxes.boxes.empty());
    ASSERT_EQ(LayerCount, 3);
    EXPECT_LT(RmsLogError(), 0.005);
    EXPECT_NEAR((Thickness(2) / Rho(2)) / (tc.trueH[1] / tc.trueRho[1]), 1.0, 0.06);
    EXPECT_NEAR(Rho(1) / tc.trueRho[0], 1.0, 0.03);
    EXPECT_NEAR(Rho(3) / tc.trueRho[2], 1.0, 0.03);
  }
}

// Fixed values are never tried. They are given in rounded form here, as the
// layer table leaves them, so that the final rounding keeps them too.
TEST_F(FitTest, FixedParametersStayBitIdentical) {
  const struct {
    const char* name;
    std::vector<double> startRho, startH;
    std::vector<int16_t> fix;
  } cases[] = {
      {"resistivity of layer 1, thickness of layer 2", {12, 60, 60}, {6, 35}, {1, 2, 0}},
      {"layer 2 whole", {60, 150, 60}, {6, 35}, {0, 3, 0}},
      {"the half-space", {60, 60, 7}, {6, 12}, {0, 0, 1}},
      {"layer 1 whole and the half-space", {12, 60, 4.5}, {2.5, 12}, {3, 0, 3}},
  };
  for (const auto& tc : cases) {
    SCOPED_TRACE(tc.name);
    SyntheticData({10, 100, 5}, {2, 40});
    SetModel(tc.startRho, tc.startH, tc.fix);
    Fit();
    EXPECT_TRUE(boxes.boxes.empty());
    ASSERT_EQ(LayerCount, 3);
    bool freeMoved = false;
    for (int i = 1; i <= 3; ++i) {
      const int16_t fix = tc.fix[i - 1];
      const double rho0 = tc.startRho[i - 1];
      const double h0 = i < 3 ? tc.startH[i - 1] : 0.0;
      if (fix == 1 || fix == 3) EXPECT_EQ(Rho(i), rho0) << "resistivity " << i;
      else freeMoved = freeMoved || Rho(i) != rho0;
      if (fix == 2 || fix == 3 || i == 3) EXPECT_EQ(Thickness(i), h0) << "thickness " << i;
      else freeMoved = freeMoved || Thickness(i) != h0;
      EXPECT_EQ(LayerFixCode[i], fix);
    }
    EXPECT_TRUE(freeMoved);
  }
}

// Records the model at every forward computation of the fit: the computation
// ends by making the model window's overlay check ready, in every mode but
// "FICHIER".
class TrialRecorder : public RecordingEngineHooks {
 public:
  struct Trial {
    double rho1, h1, rho2, h2;
  };
  void EnableCheck18(int32_t colour) override {
    RecordingEngineHooks::EnableCheck18(colour);
    trials.push_back({Rho(1), Thickness(1), Rho(2), Thickness(2)});
  }
  std::vector<Trial> trials;
};

// Each line search starts by doubling the value; a worse result sends it to
// half its starting value; from there the step halves and turns at every
// trial that does not improve. A value below 0.001 is tried as 0.001, one
// above 160000 as 150000.
TEST_F(FitTest, TrialSequenceOfOneParameter) {
  const struct {
    const char* name;
    double trueRho2, startRho2;
    std::vector<double> trials;  // the starting curve, then the trials
  } cases[] = {
      {"overshooting", 40, 100, {100, 200, 50, 0.001, 75.001, 37.501, 25.001, 43.751}},
      {"beyond the ceiling", 1e6, 100000, {100000, 150000, 150000}},
  };
  for (const auto& tc : cases) {
    SCOPED_TRACE(tc.name);
    TrialRecorder recorder;
    ScopedEngineHooks scope(&recorder);
    ModeWord = QStringLiteral("FICHIER");
    SyntheticData({50, tc.trueRho2}, {8});
    SetModel({50, tc.startRho2}, {8}, {3, 0});
    ModeWord = QStringLiteral("NORMAL");
    Fit();
    EXPECT_TRUE(boxes.boxes.empty());
    ASSERT_GT(recorder.trials.size(), tc.trials.size());
    for (size_t t = 0; t < tc.trials.size(); ++t) EXPECT_NEAR(recorder.trials[t].rho2, tc.trials[t], 1e-9) << t;
    for (const auto& t : recorder.trials) {
      EXPECT_EQ(t.rho1, 50.0);
      EXPECT_EQ(t.h1, 8.0);
      EXPECT_EQ(t.h2, 0.0);
      EXPECT_LE(t.rho2, 150000.0);
    }
  }
}

// Layer by layer, the thickness is searched before the resistivity; the
// half-space has no thickness to search.
TEST_F(FitTest, ThicknessIsSearchedBeforeResistivityLayerByLayer) {
  TrialRecorder recorder;
  ScopedEngineHooks scope(&recorder);
  SyntheticData({50, 500}, {8});
  SetModel({100, 300}, {3});
  ModeWord = QStringLiteral("NORMAL");
  Fit();
  auto& t = recorder.trials;
  ASSERT_GE(t.size(), 4u);
  // t[0] is the starting model's curve.
  EXPECT_DOUBLE_EQ(t[1].h1, 6.0);
  EXPECT_EQ(t[1].rho1, 100.0);
  EXPECT_EQ(t[1].rho2, 300.0);
  size_t firstRho1 = 0, firstRho2 = 0;
  for (size_t i = 1; i < t.size(); ++i) {
    if (!firstRho1 && t[i].rho1 != 100.0) firstRho1 = i;
    if (!firstRho2 && t[i].rho2 != 300.0) firstRho2 = i;
    EXPECT_EQ(t[i].h2, 0.0);
  }
  ASSERT_GT(firstRho1, 1u);
  ASSERT_GT(firstRho2, firstRho1);
  EXPECT_DOUBLE_EQ(t[firstRho1].rho1, 200.0);
  EXPECT_DOUBLE_EQ(t[firstRho2].rho2, 600.0);
  // Only the final curve is drawn: one run of points.
  EXPECT_EQ(recorder.count(Call::CurveSegment), CurvePointCount + 1);
  EXPECT_EQ(CurrentMisfit, 0.0);
  EXPECT_EQ(ScreenPointer().get(), Pointer::Default);
}

// After the sweeps, layers thinner than 1 cm (never the half-space) go with
// their fix codes, and the layer that moves into place is examined next.
TEST_F(FitTest, ThinLayersAreRemovedWithTheirFixCodes) {
  SyntheticData({50, 500}, {5});
  SetModel({50, 30, 20, 500}, {5, 0.005, 0.002}, {3, 3, 3, 1});
  Fit();
  EXPECT_TRUE(boxes.boxes.empty());
  ASSERT_EQ(LayerCount, 2);
  EXPECT_EQ(Rho(1), 50.0);
  EXPECT_EQ(Thickness(1), 5.0);
  EXPECT_EQ(Rho(2), 500.0);
  EXPECT_EQ(Thickness(2), 0.0);
  EXPECT_EQ(LayerFixCode[1], 3);
  EXPECT_EQ(LayerFixCode[2], 1);
  for (int i = 3; i <= 4; ++i) {
    EXPECT_EQ(Rho(i), 0.0) << i;
    EXPECT_EQ(Thickness(i), 0.0) << i;
    EXPECT_EQ(LayerFixCode[i], 0) << i;
  }
}

// A fit that cannot go on shows "Error", keeps the values reached so far, and
// leaves no running fit behind: the next computation draws again.
TEST_F(FitTest, FailureShowsErrorAndStopsTheFit) {
  // Field points that no curve interval brackets: a misfit of 0 divides.
  {
    SCOPED_TRACE("no field point on the curve");
    boxes.answer(MsgAnswer::OK);
    AB2MinDecade = 0;
    EmptyFieldData();
    FieldData[1][kSpacing1] = 1.0f;
    FieldData[1][kRhoApparent] = 100.0f;
    FieldData[2][kSpacing1] = 1.1f;
    FieldData[2][kRhoApparent] = 120.0f;
    PointCount = 2;
    SetModel({100, 300}, {3});
    Fit();
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, QStringLiteral("Error"));
    EXPECT_EQ(boxes.boxes[0].caption, ProgramTitle);
    EXPECT_EQ(boxes.boxes[0].buttons, MsgButtons::OK);
    EXPECT_EQ(boxes.boxes[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(ScreenPointer().get(), Pointer::Arrow);
    EXPECT_DOUBLE_EQ(Thickness(1), 6.0);  // the first trial stays
    EXPECT_EQ(CurrentMisfit, 0.0);
  }
  {
    SCOPED_TRACE("no layers");
    boxes.boxes.clear();
    boxes.answer(MsgAnswer::OK);
    ScreenPointer().set(Pointer::Default);
    AB2MinDecade = -1;
    SyntheticData({50, 500}, {8});
    EmptyLayerModel();
    LayerCount = 0;
    CurrentMisfit = 1;
    FitModel();
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, QStringLiteral("Error"));
    EXPECT_EQ(ScreenPointer().get(), Pointer::Arrow);
    EXPECT_EQ(CurrentMisfit, 0.0);
  }
}

// ---------------------------------------------------------------------------
// The fit, trial by trial, to the bit. The hashes were taken from the fit
// before it was made any faster: such a change must leave every
// trial (its model and its misfit, in order), the fitted model, the final
// curve with its filter samples and every drawing call exactly as they were.

// FNV-1a over the bytes of the values fed in.
class Fingerprint {
 public:
  void add(const void* data, size_t size) {
    const auto* p = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < size; ++i) hash_ = (hash_ ^ p[i]) * 0x100000001b3ull;
  }
  void add(double v) { add(&v, sizeof v); }
  void add(int64_t v) { add(&v, sizeof v); }
  void add(const vb::Cell& c) {
    add(static_cast<int64_t>(c.kind()));
    add(c.value());
  }
  uint64_t value() const { return hash_; }

 private:
  uint64_t hash_ = 0xcbf29ce484222325ull;
};

enum class FitArray { Schlumberger, Wenner, Dipole };
// Smooth: field points from 1 m to 1000 m, a few in reverse order when there
// are 10. OffCurve: no field point lies on the curve, so that the first trial
// divides by a misfit of 0 and the fit stops with "Error". Unroundable: the
// smooth data, with a fixed half-space of 3e9 ohm.m that the final rounding
// cannot hold in 32 bits: the fit stops with "Error" after all its trials,
// leaving the last trial's curve.
enum class FitData { Smooth, OffCurve, Unroundable };

struct IdentityCase {
  FitArray array;
  int layers;
  int points;
  bool fixed;      // fix codes 1, 2, 3, 0, 1, ... from layer 1 down
  bool superpose;  // on, with a stored sounding reaching 3000 m
  const char* mode;
  FitData data;
  int trials;
  uint64_t trialHash, resultHash;
};

Fingerprint* g_trialPrint = nullptr;
int g_trialCount = 0;

void RecordTrial(double misfit) {
  ++g_trialCount;
  Fingerprint& f = *g_trialPrint;
  f.add(misfit);
  f.add(static_cast<int64_t>(CurvePointCount));
  f.add(static_cast<int64_t>(LayerCount));
  for (int i = 1; i <= LayerCount; ++i) {
    f.add(LayerModel[i][kLayerRho]);
    f.add(LayerModel[i][kLayerThickness]);
  }
}

class FitIdentityTest : public FitTest {
 protected:
  void TearDown() override {
    detail::FitTrialObserver = nullptr;
    FitTest::TearDown();
  }

  static void UseArray(FitArray a) {
    Option1 = a == FitArray::Schlumberger ? kTrue : kFalse;
    Option3 = a == FitArray::Wenner ? kTrue : kFalse;
    Option2 = a == FitArray::Dipole ? kTrue : kFalse;
  }

  // A true model of alternating resistivities and growing thicknesses, its
  // curve sampled at the field spacings (log-log between curve points) with a
  // ripple of a few percent, and a start away from it.
  void Prepare(const IdentityCase& tc) {
    UseArray(tc.array);
    AB2MinDecade = -1;
    SuperposeSwitch = -1;
    MaxSpacing = 1;
    ModeWord = QStringLiteral("FICHIER");
    std::vector<double> rho, h;
    for (int i = 0; i < tc.layers; ++i) {
      rho.push_back(10.0 * std::pow(3.0, (i * 7) % 5 - 1));
      if (i + 1 < tc.layers) h.push_back(0.5 * std::pow(1.35, i));
    }
    SetModel(rho, h);
    EmptyFieldData();
    if (tc.data == FitData::OffCurve) {
      AB2MinDecade = 0;
      FieldData[1][kSpacing1] = 1.0f;
      FieldData[1][kRhoApparent] = 100.0f;
      FieldData[2][kSpacing1] = 1.1f;
      FieldData[2][kRhoApparent] = 120.0f;
      PointCount = 2;
    } else {
      FieldData[1][kSpacing1] = 1.0f;
      FieldData[2][kSpacing1] = 1000.0f;
      PointCount = 2;
      ComputeModelCurve();
      ASSERT_EQ(CurvePointCount, 37);
      PointCount = static_cast<int16_t>(tc.points);
      for (int i = 1; i <= tc.points; ++i) {
        const double a = std::pow(10.0, 3.0 * (i - 1) / (tc.points - 1));
        int k = 0;
        while (k < CurvePointCount - 1 && ComputedCurve[k + 1][2] <= a) ++k;
        const double w =
            std::log(a / ComputedCurve[k][2]) / std::log(ComputedCurve[k + 1][2] / ComputedCurve[k][2]);
        const double curve =
            std::exp((1 - w) * std::log(ComputedCurve[k][1]) + w * std::log(ComputedCurve[k + 1][1]));
        FieldData[i][kSpacing1] = static_cast<float>(a);
        FieldData[i][kRhoApparent] = static_cast<float>(curve * (1.0 + 0.03 * std::sin(1.7 * i)));
      }
      if (tc.points == 10) std::swap(FieldData[4], FieldData[5]);
    }
    std::vector<int16_t> fix;
    for (int i = 1; i <= tc.layers; ++i) fix.push_back(tc.fixed ? static_cast<int16_t>(i % 4) : 0);
    for (double& r : rho) r *= (&r - rho.data()) % 2 ? 0.6 : 1.7;
    for (double& t : h) t *= (&t - h.data()) % 2 ? 1.4 : 0.7;
    SetModel(rho, h, fix);
    if (tc.data == FitData::Unroundable) {
      LayerModel[tc.layers][kLayerRho] = 3e9;
      LayerFixCode[tc.layers] = 1;
    }
    if (tc.superpose) {
      SuperposeSwitch = 1;
      MaxSpacing = 3000;
    } else {
      SuperposeSwitch = -1;
      MaxSpacing = 1;
    }
    ModeWord = QString::fromLatin1(tc.mode);
  }

  uint64_t ResultHash() const {
    Fingerprint f;
    f.add(static_cast<int64_t>(LayerCount));
    for (int i = 0; i < kLayerRows; ++i) {
      for (int col = 1; col < kLayerCols; ++col) f.add(LayerModel[i][col]);
      f.add(static_cast<int64_t>(LayerFixCode[i]));
    }
    f.add(static_cast<int64_t>(CurvePointCount));
    for (int c = 0; c <= CurvePointCount; ++c) {
      f.add(ComputedCurve[c][1]);
      f.add(ComputedCurve[c][2]);
    }
    for (int k = 1; k <= 61; ++k) f.add(FilterSamples[k]);
    f.add(CurrentMisfit);
    f.add(static_cast<int64_t>(MaxSpacing));
    for (const auto& e : hooks.events) {
      f.add(static_cast<int64_t>(e.call));
      f.add(static_cast<int64_t>(e.j));
      f.add(e.rho);
      f.add(static_cast<int64_t>(e.colour));
    }
    f.add(static_cast<int64_t>(boxes.boxes.size()));
    return f.value();
  }
};

TEST_F(FitIdentityTest, TrialsModelAndCurveStayBitIdentical) {
  using A = FitArray;
  const IdentityCase cases[] = {
      {A::Schlumberger, 2, 10, false, false, "NORMAL", FitData::Smooth, 155,
       0xd93ebd09e72060fcull, 0xf2fcc212bc0e1767ull},
      {A::Schlumberger, 3, 25, true, true, "FICHIER", FitData::Smooth, 18,
       0x60a87c29a8c972c1ull, 0xb1681eb2e9f89be7ull},
      {A::Schlumberger, 4, 25, false, false, "FICHIER", FitData::Smooth, 327,
       0x6ffc01f31de43725ull, 0x76259c0e4910f4afull},
      {A::Schlumberger, 6, 51, false, true, "NORMAL", FitData::Smooth, 308,
       0x7a50505ca0929252ull, 0x388caf51dcedc013ull},
      {A::Schlumberger, 10, 51, true, false, "NORMAL", FitData::Smooth, 210,
       0xed807707f1376f03ull, 0xb06556e384519fedull},
      {A::Schlumberger, 20, 25, false, false, "FICHIER", FitData::Smooth, 549,
       0x625d517c28e95592ull, 0x94e7b982f69341beull},
      {A::Schlumberger, 20, 51, true, true, "FICHIER", FitData::Smooth, 287,
       0xedb3167d9cd59c2dull, 0x55294395313b406full},
      {A::Schlumberger, 3, 2, false, false, "NORMAL", FitData::OffCurve, 2,
       0x1d67af00a51cceadull, 0xf752541d589ebe0dull},
      {A::Wenner, 2, 25, true, false, "FICHIER", FitData::Smooth, 50,
       0x0c825d676007d3e4ull, 0x54e435b6b0563814ull},
      {A::Wenner, 4, 10, false, true, "NORMAL", FitData::Smooth, 295,
       0x839d9c05638cc2efull, 0xd75780e583c0494aull},
      {A::Wenner, 7, 51, false, false, "NORMAL", FitData::Smooth, 733,
       0x15a44d67c39c201dull, 0x7f21391dca0cbe60ull},
      {A::Wenner, 12, 25, true, true, "FICHIER", FitData::Smooth, 308,
       0xe76573b556b92edaull, 0xb3d69ed4d7d8141eull},
      {A::Wenner, 20, 51, false, false, "FICHIER", FitData::Smooth, 582,
       0x2bb7d3f7bb04bb6eull, 0x2a4c5ba077476ae6ull},
      {A::Wenner, 3, 2, false, true, "FICHIER", FitData::OffCurve, 2,
       0xcd9f308aeae31a3dull, 0xfed1e5ca1711312eull},
      {A::Dipole, 2, 51, false, true, "FICHIER", FitData::Smooth, 91,
       0x3e20366f9ff90181ull, 0xc82bc6505152caedull},
      {A::Dipole, 3, 10, true, false, "NORMAL", FitData::Smooth, 12,
       0xed9d3db51980464cull, 0x57f595cbd3a3af7eull},
      {A::Dipole, 5, 25, false, false, "NORMAL", FitData::Smooth, 295,
       0x532c6546755831fbull, 0x6345bb557b760658ull},
      {A::Dipole, 9, 51, true, false, "FICHIER", FitData::Smooth, 67,
       0xba7d0a06481f3eb2ull, 0x65b3744b0392c3beull},
      {A::Dipole, 20, 25, true, true, "NORMAL", FitData::Smooth, 570,
       0x9a50266ad57a0ab7ull, 0x655e27f2ce3ba62eull},
      {A::Schlumberger, 5, 25, false, false, "FICHIER", FitData::Unroundable, 269,
       0x1554e67256265937ull, 0x859c527e8212c8deull},
      {A::Wenner, 4, 25, false, true, "NORMAL", FitData::Unroundable, 315,
       0x407182038718e201ull, 0x5be89a0cde10b596ull},
      {A::Dipole, 3, 10, false, false, "NORMAL", FitData::Unroundable, 81,
       0x2d23a9af1e967a06ull, 0x4a495a7ab6c6bbd5ull},
      {A::Dipole, 3, 2, false, false, "NORMAL", FitData::OffCurve, 2,
       0x1d67af00a51cceadull, 0x82d89a97eab61c3aull},
  };
  for (const auto& tc : cases) {
    const char* array = tc.array == A::Schlumberger ? "Schlumberger" : tc.array == A::Wenner ? "Wenner" : "dipole";
    const std::string name = std::string(array) + ", " + std::to_string(tc.layers) + " layers, " +
                             std::to_string(tc.points) + " points" + (tc.fixed ? ", fixed" : "") +
                             (tc.superpose ? ", superposed" : "") + ", " + tc.mode +
                             (tc.data == FitData::OffCurve      ? ", off the curve"
                              : tc.data == FitData::Unroundable ? ", unroundable"
                                                                : "");
    SCOPED_TRACE(name);
    // Nothing is reset between the cases, so that anything kept from one fit
    // to the next would show.
    boxes.boxes.clear();
    Prepare(tc);
    if (HasFatalFailure()) return;
    const bool fails = tc.data != FitData::Smooth;
    if (fails) boxes.answer(MsgAnswer::OK);
    hooks.clear();
    Fingerprint trials;
    g_trialPrint = &trials;
    g_trialCount = 0;
    detail::FitTrialObserver = RecordTrial;
    Fit();
    detail::FitTrialObserver = nullptr;
    EXPECT_EQ(boxes.boxes.size(), fails ? 1u : 0u);
    const uint64_t result = ResultHash();
    EXPECT_EQ(g_trialCount, tc.trials);
    EXPECT_EQ(trials.value(), tc.trialHash);
    EXPECT_EQ(result, tc.resultHash);
    if (g_trialCount != tc.trials || trials.value() != tc.trialHash || result != tc.resultHash)
      std::printf("  {.., %d, 0x%016llxull, 0x%016llxull},  // %s\n", g_trialCount,
                  static_cast<unsigned long long>(trials.value()), static_cast<unsigned long long>(result),
                  name.c_str());
  }
}

}  // namespace
}  // namespace tellumo
