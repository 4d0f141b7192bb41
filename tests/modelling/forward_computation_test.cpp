#include "modelling/forward_computation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "mainwindow/program_state.h"
#include "modelling/engine_hooks.h"
#include "modelling/modelling_state.h"
#include "modelling/superposition_store.h"
#include "sounding/sounding_record.h"
#include "support/fixtures.h"

namespace tellumo {
namespace {

using Call = RecordingEngineHooks::Call;

enum class Array { Schlumberger, Wenner, Dipole };

const char* Name(Array a) {
  switch (a) {
    case Array::Schlumberger: return "Schlumberger";
    case Array::Wenner: return "Wenner";
    case Array::Dipole: return "dipole";
  }
  return "";
}

void UseArray(Array a) {
  Option1 = a == Array::Schlumberger ? kTrue : kFalse;
  Option2 = a == Array::Dipole ? kTrue : kFalse;
  Option3 = a == Array::Wenner ? kTrue : kFalse;
}

// Resistivities of layers 1..n; thicknesses of layers 1..n-1 (the half-space
// gets 0).
void SetModel(std::vector<double> rho, std::vector<double> h) {
  EmptyLayerModel();
  LayerCount = static_cast<int16_t>(rho.size());
  for (size_t i = 0; i < rho.size(); ++i) {
    LayerModel[i + 1][kLayerRho] = rho[i];
    LayerModel[i + 1][kLayerThickness] = i < h.size() ? h[i] : 0.0;
  }
}

// Field spacings as the sounding files give them (singles).
void SetSpacings(std::vector<float> spacings) {
  EmptyFieldData();
  PointCount = static_cast<int16_t>(spacings.size());
  for (size_t i = 0; i < spacings.size(); ++i) {
    FieldData[i + 1][kSpacing1] = spacings[i];
    FieldData[i + 1][kRhoApparent] = 100.0f;
  }
}

void FillCurveWith(double sentinel) {
  for (auto& row : ComputedCurve)
    for (auto& v : row) v = sentinel;
}

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

class ForwardComputationTest : public test::StateTest {
 protected:
  void SetUp() override {
    StateTest::SetUp();
    detail::ForceCheckedComputation = false;
    BilogPointer().set(Pointer::Default);
    BilogPointer().clearHistory();
    AB2MinDecade = -1;
    MaxSpacing = 1;
    ModeWord = QStringLiteral("FICHIER");
    UseArray(Array::Schlumberger);
    SetSpacings({1.0f, 10.0f, 100.0f, 1000.0f});
  }
  void TearDown() override {
    detail::ForceCheckedComputation = false;
    StateTest::TearDown();
  }

  void ExpectCalculationErrorBox(const char* text = "Calculation error...") {
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, QString::fromUtf8(text));
    EXPECT_EQ(boxes.boxes[0].caption, ProgramTitle);
    EXPECT_EQ(boxes.boxes[0].buttons, MsgButtons::OK);
    EXPECT_EQ(boxes.boxes[0].icon, MsgIcon::Exclamation);
  }

  RecordingEngineHooks hooks;
  ScopedEngineHooks installed{&hooks};
};

// ---------------------------------------------------------------------------
// Values

TEST_F(ForwardComputationTest, HalfSpaceGivesItsResistivityTimesTheFilterSum) {
  const struct {
    Array array;
    double ratio;
  } cases[] = {{Array::Schlumberger, 1.0}, {Array::Wenner, 0.9998}, {Array::Dipole, 1.0}};
  for (const auto& tc : cases) {
    SCOPED_TRACE(Name(tc.array));
    UseArray(tc.array);
    SetModel({37.5}, {});
    ComputeModelCurve();
    ASSERT_EQ(CurvePointCount, 37);
    for (int c = 0; c <= CurvePointCount; ++c) EXPECT_NEAR(ComputedCurve[c][1], 37.5 * tc.ratio, 37.5 * 1e-12) << c;
  }
}

// Worked out apart from this code, from the transform, the abscissae (in
// single precision) and the coefficient tables, with AB2MinDecade -1 and the
// field data reaching 1000 m.
TEST_F(ForwardComputationTest, MatchesValuesWorkedOutFromTheFormulas) {
  struct Point {
    int c;
    double rho;
  };
  const struct {
    const char* name;
    std::vector<double> rho, h;
    Array array;
    std::vector<Point> points;
  } cases[] = {
      {"two layers", {100, 10}, {10}, Array::Schlumberger,
       {{0, 99.99999999999999}, {8, 100.00372757427522}, {16, 86.85256786766472}, {20, 25.131060734115955},
        {24, 10.319144570006918}, {32, 9.982781587865892}, {37, 9.9948675837705}}},
      {"two layers", {100, 10}, {10}, Array::Wenner,
       {{0, 99.97987040589055}, {8, 99.91890226324207}, {16, 73.39858150423089}, {20, 16.637877423956983},
        {24, 10.175373044363491}, {32, 9.996391155357054}, {37, 9.997514961479151}}},
      {"two layers", {100, 10}, {10}, Array::Dipole,
       {{0, 99.40080172928306}, {8, 94.03395322770947}, {16, 48.03833297912885}, {20, 13.480983358642215},
        {24, 10.09781905882985}, {32, 9.990898234951116}, {37, 9.99093120047111}}},
      {"three layers", {50, 500, 20}, {3, 15}, Array::Schlumberger,
       {{0, 49.98509211364095}, {8, 50.42245272427571}, {16, 127.21264592400486}, {20, 212.28861534431397},
        {24, 75.81795827319611}, {32, 20.055828424818888}, {37, 19.92448210523578}}},
      {"three layers", {50, 500, 20}, {3, 15}, Array::Wenner,
       {{0, 49.993746712474575}, {8, 51.158791361794755}, {16, 155.8419899759795}, {20, 195.68537560041887},
        {24, 45.26818153053463}, {32, 20.022316619886812}, {37, 19.9921251699638}}},
      {"three layers", {50, 500, 20}, {3, 15}, Array::Dipole,
       {{0, 51.938837897470556}, {8, 68.81816864245627}, {16, 156.3721800147089}, {20, 129.6971660623366},
        {24, 33.114947201853504}, {32, 20.01962041500052}, {37, 19.994337318277143}}},
  };
  for (const auto& tc : cases) {
    SCOPED_TRACE(std::string(tc.name) + " " + Name(tc.array));
    UseArray(tc.array);
    SetModel(tc.rho, tc.h);
    ComputeModelCurve();
    ASSERT_EQ(CurvePointCount, 37);
    for (const Point& p : tc.points) EXPECT_NEAR(ComputedCurve[p.c][1], p.rho, std::fabs(p.rho) * 1e-12) << p.c;
  }
}

// Two layers: the exact solutions as series of images of the electrodes in
// the layer boundary, k = (rho2 - rho1) / (rho2 + rho1), d = 2 n h / spacing.
double ImageSeries(Array array, double spacing, double rho1, double rho2, double h) {
  const double k = (rho2 - rho1) / (rho2 + rho1);
  double sum = 0.0;
  double kn = 1.0;
  for (int n = 1; n <= 100000 && std::fabs(kn) > 1e-18; ++n) {
    kn *= k;
    const double d = 2.0 * n * h / spacing;
    switch (array) {
      case Array::Schlumberger: sum += 2.0 * kn / std::pow(1.0 + d * d, 1.5); break;
      case Array::Wenner: sum += 4.0 * kn * (1.0 / std::sqrt(1.0 + d * d) - 1.0 / std::sqrt(4.0 + d * d)); break;
      case Array::Dipole: sum += 2.0 * kn / std::sqrt(1.0 + d * d); break;  // two electrodes (pole-pole)
    }
  }
  return rho1 * (1.0 + sum);
}

TEST_F(ForwardComputationTest, AgreesWithTheTwoLayerImageSeriesWithinTheFilterAccuracy) {
  const struct {
    Array array;
    double tolerance;
  } filters[] = {{Array::Schlumberger, 0.004}, {Array::Wenner, 0.002}, {Array::Dipole, 0.002}};
  const struct {
    double rho1, rho2;
  } models[] = {{100, 10}, {10, 100}};
  for (const auto& f : filters) {
    for (const auto& m : models) {
      SCOPED_TRACE(std::string(Name(f.array)) + " " + std::to_string(m.rho1) + " over " + std::to_string(m.rho2));
      UseArray(f.array);
      SetModel({m.rho1, m.rho2}, {10});
      ComputeModelCurve();
      ASSERT_EQ(CurvePointCount, 37);
      for (int c = 0; c <= CurvePointCount; ++c) {
        const double exact = ImageSeries(f.array, ComputedCurve[c][2], m.rho1, m.rho2, 10.0);
        EXPECT_NEAR(ComputedCurve[c][1] / exact, 1.0, f.tolerance) << "point " << c << " at " << ComputedCurve[c][2];
      }
    }
  }
}

TEST_F(ForwardComputationTest, ZeroThicknessLayerAboveTheHalfSpaceContributesNothing) {
  for (Array a : {Array::Schlumberger, Array::Wenner, Array::Dipole}) {
    SCOPED_TRACE(Name(a));
    UseArray(a);
    SetModel({100, 10}, {10});
    ComputeModelCurve();
    std::vector<double> twoLayers;
    for (int c = 0; c <= CurvePointCount; ++c) twoLayers.push_back(ComputedCurve[c][1]);
    SetModel({100, 50, 10}, {10, 0});
    ComputeModelCurve();
    ASSERT_EQ(CurvePointCount + 1, static_cast<int>(twoLayers.size()));
    for (int c = 0; c <= CurvePointCount; ++c) EXPECT_TRUE(SameBits(ComputedCurve[c][1], twoLayers[c])) << c;
  }
}

// The fast path keeps abscissae and layer terms from call to call; the
// checked path recomputes everything step by step. Run through a sequence of
// models, arrays and plot edges without resetting anything, so that a stale
// cache would show as a difference.
TEST_F(ForwardComputationTest, FastAndCheckedPathsGiveTheSameBits) {
  const struct {
    std::vector<double> rho, h;
  } models[] = {
      {{100}, {}},
      {{100, 10}, {10}},
      {{100, 10}, {12}},  // the same layer, another thickness
      {{10, 200, 10}, {2, 30}},
      {{30, 300, 20, 1000, 5}, {1, 4, 12, 40}},
      {{30, 300, 20, 1000, 5}, {1, 4.5, 12, 40}},
      {{50, 5, 80}, {0, 0.3}},
      {{0.5, 5000, 0.5}, {0.2, 50}},
      {{10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120, 130, 140, 150, 160, 170, 180, 190, 200},
       {1, 1, 1, 1, 1, 2, 2, 2, 2, 2, 3, 3, 3, 3, 3, 4, 4, 4, 4}},
  };
  const std::vector<float> ranges[] = {{1.0f, 1000.0f}, {0.5f, 30.0f}};
  for (int decade : {-1, 0, -2}) {
    for (const auto& range : ranges) {
      for (Array a : {Array::Schlumberger, Array::Dipole, Array::Wenner}) {
        for (const auto& m : models) {
          SCOPED_TRACE(std::string(Name(a)) + " decade " + std::to_string(decade) + " layers " +
                       std::to_string(m.rho.size()) + " range " + std::to_string(range.back()));
          AB2MinDecade = static_cast<int16_t>(decade);
          SetSpacings(range);
          UseArray(a);
          SetModel(m.rho, m.h);
          detail::ForceCheckedComputation = false;
          ComputeModelCurve();
          const int16_t fastCount = CurvePointCount;
          double fastCurve[101][4];
          double fastSamples[62];
          std::memcpy(fastCurve, ComputedCurve, sizeof fastCurve);
          std::memcpy(fastSamples, FilterSamples, sizeof fastSamples);
          detail::ForceCheckedComputation = true;
          ComputeModelCurve();
          ASSERT_EQ(CurvePointCount, fastCount);
          for (int c = 0; c <= fastCount; ++c) {
            EXPECT_TRUE(SameBits(ComputedCurve[c][1], fastCurve[c][1])) << c;
            EXPECT_TRUE(SameBits(ComputedCurve[c][2], fastCurve[c][2])) << c;
          }
          for (int k = 1; k <= 61; ++k) EXPECT_TRUE(SameBits(FilterSamples[k], fastSamples[k])) << "sample " << k;
        }
      }
    }
  }
  EXPECT_TRUE(boxes.boxes.empty());
}

// ---------------------------------------------------------------------------
// Range and point count

TEST_F(ForwardComputationTest, PointCountFollowsTheLeftEdgeAndTheLargestSpacing) {
  const struct {
    int decade;
    std::vector<float> spacings;
    int last;
    double lastExponent;
  } cases[] = {
      {-1, {1, 10, 100, 1000}, 37, 3.625},
      {0, {1, 10, 100}, 21, 2.625},
      {-1, {0.5f, 1}, 12, 0.5},
      {-1, {0.5f, 1.4f}, 12, 0.5},  // whole metres: 1.4 m counts as 1
      {-9, {1, 999}, 100, 3.5},     // exactly the 101 rows of the curve
  };
  for (const auto& tc : cases) {
    SCOPED_TRACE(tc.decade);
    AB2MinDecade = static_cast<int16_t>(tc.decade);
    SetSpacings(tc.spacings);
    SetModel({100, 10}, {10});
    ComputeModelCurve();
    EXPECT_EQ(CurvePointCount, tc.last);
    for (int c = 0; c <= CurvePointCount; ++c)
      EXPECT_NEAR(ComputedCurve[c][2], std::pow(10.0, tc.decade + 0.125 * c), ComputedCurve[c][2] * 1e-12) << c;
    EXPECT_NEAR(ComputedCurve[tc.last][2], std::pow(10.0, tc.lastExponent), 1e-9 * std::pow(10.0, tc.lastExponent));
  }
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(ForwardComputationTest, SuperpositionKeepsTheWiderRangeOfEarlierSoundings) {
  SetModel({100, 10}, {10});
  ComputeModelCurve();  // a sounding reaching 1000 m
  ASSERT_EQ(CurvePointCount, 37);

  SetSpacings({1, 10, 30});
  SuperposeSwitch = -1;  // off: the range is taken afresh
  ComputeModelCurve();
  EXPECT_EQ(MaxSpacing, 30);
  EXPECT_EQ(CurvePointCount, 24);
  EXPECT_NEAR(ComputedCurve[CurvePointCount][2], 100.0, 1e-9);

  SetSpacings({1, 10, 1000});
  ComputeModelCurve();
  SetSpacings({1, 10, 30});
  SuperposeSwitch = 1;  // on: the range only grows
  ComputeModelCurve();
  EXPECT_EQ(MaxSpacing, 1000);
  EXPECT_EQ(CurvePointCount, 37);
  EXPECT_NEAR(ComputedCurve[CurvePointCount][2], std::pow(10.0, 3.625), 1e-9);
}

TEST_F(ForwardComputationTest, FirstThreeSpacingsSummingToOneKeepTheRangeAtOne) {
  SetSpacings({0.5f, 0.3f, 0.2f, 10.0f, 100.0f});
  SetModel({100, 10}, {10});
  MaxSpacing = 500;
  ComputeModelCurve();
  EXPECT_EQ(MaxSpacing, 1);
  EXPECT_EQ(CurvePointCount, 12);  // ends at 10^0.5 m whatever the other spacings
}

TEST_F(ForwardComputationTest, ExtendSpacingRangeCases) {
  const struct {
    const char* name;
    std::vector<vb::Cell> spacings;
    int points;
    int16_t start;
    int16_t expected;
  } cases[] = {
      {"largest spacing", {1.0f, 10.0f, 250.0f, 100.0f}, 4, 1, 250},
      {"only grows", {1.0f, 5.0f}, 2, 50, 50},
      {"only the first PointCount rows", {1.0f, 5.0f, 500.0f}, 2, 1, 5},
      {"halves to even, down", {1.0f, 2.5f}, 2, 1, 2},
      {"halves to even, up", {1.0f, 3.5f}, 2, 1, 4},
      {"a spacing beyond 16 bits is skipped", {1.0f, 10.0f, 40000.0f}, 3, 1, 10},
      {"singles summing to 1", {0.5f, 0.3f, 0.2f, 100.0f}, 4, 7, 7},
      {"empty cells count 0", {vb::Cell(), 0.4f, 0.6f, 100.0f}, 4, 7, 7},
      // 0.1, 0.2 and 0.7 as singles sum to 1 in single precision, not in double.
      {"singles in single precision", {0.1f, 0.2f, 0.7f, 300.0f}, 4, 1, 1},
      {"the same values as doubles", {double(0.1f), double(0.2f), double(0.7f), 300.0}, 4, 1, 300},
      {"doubles summing to 1", {0.5, 0.25, 0.25, 300.0}, 4, 1, 1},
      {"rounded value passed by a later spacing", {1.0f, 2.6f, 2.8f, 3.4f}, 4, 1, 3},
      {"last convertible spacing", {1.0f, 32767.4f, 32767.6f}, 3, 1, 32767},
      {"after one beyond 16 bits", {1.0f, 40000.0f, 2.5f}, 3, 1, 2},
  };
  for (const auto& tc : cases) {
    SCOPED_TRACE(tc.name);
    EmptyFieldData();
    for (size_t i = 0; i < tc.spacings.size(); ++i) FieldData[i + 1][kSpacing1] = tc.spacings[i];
    PointCount = static_cast<int16_t>(tc.points);
    int16_t maxSpacing = tc.start;
    ExtendSpacingRange(maxSpacing);
    EXPECT_EQ(maxSpacing, tc.expected);
  }
}

// The rule taken literally, point by point, against ExtendSpacingRange on
// random soundings: halves, values near and beyond 16 bits, negative starts.
TEST_F(ForwardComputationTest, ExtendSpacingRangeFollowsThePointByPointRule) {
  uint32_t seed = 12345;
  auto next = [&seed] {
    seed = seed * 1664525u + 1013904223u;
    return seed >> 8;
  };
  const float pool[] = {0.5f, 1.5f, 2.5f, 2.4f, 2.6f, 3.5f, 7.0f, 10.0f, 99.5f, 100.5f, 1000.0f,
                        32766.5f, 32767.4f, 32767.5f, 32767.6f, 40000.0f, -3.5f, 0.0f, 12.49f, 12.5f};
  for (int run = 0; run < 2000; ++run) {
    EmptyFieldData();
    const int n = 1 + static_cast<int>(next() % 12);
    for (int i = 1; i <= n; ++i) {
      const float a = (next() % 3 == 0) ? static_cast<float>(next() % 50000) / 8.0f : pool[next() % std::size(pool)];
      FieldData[i][kSpacing1] = a;
    }
    PointCount = static_cast<int16_t>(n);
    const int16_t start = static_cast<int16_t>(static_cast<int>(next() % 200) - 20);
    int16_t literal = start;
    // The first three spacings (singles; empty cells add nothing) summed in
    // single precision.
    float firstThree = 0.0f;
    for (int i = 1; i <= std::min(n, 3); ++i) firstThree = firstThree + static_cast<float>(FieldData[i][kSpacing1].value());
    if (firstThree != 1.0f) {
      for (int i = 1; i <= n; ++i) {
        const double a = FieldData[i][kSpacing1].value();
        if (a > literal) vb::Step([&] { literal = vb::CInt(a); });
      }
    }
    int16_t actual = start;
    ExtendSpacingRange(actual);
    ASSERT_EQ(actual, literal) << "run " << run;
  }
}

TEST_F(ForwardComputationTest, ZeroMaxSpacingComputesAndDrawsNothing) {
  ModeWord = QStringLiteral("NORMAL");
  ShowErrorCurve = 1;
  ShowModelGraphic = 1;
  SetModel({100, 10}, {10});
  FillCurveWith(777.0);
  CurvePointCount = 5;
  MaxSpacing = 0;
  StartingUp = 1;
  FreshSoundingFlag = 1;
  ComputeModelCurve();
  EXPECT_EQ(CurvePointCount, 5);
  EXPECT_EQ(MaxSpacing, 0);
  for (const auto& row : ComputedCurve)
    for (double v : row) EXPECT_EQ(v, 777.0);
  EXPECT_TRUE(hooks.events.empty());
  EXPECT_EQ(FreshSoundingFlag, 1);
  EXPECT_EQ(CurveComputed, 1);
  EXPECT_EQ(StartingUp, 0);
  EXPECT_EQ(CurveValid, kTrue);
}

// ---------------------------------------------------------------------------
// Drawing and the end of the computation

TEST_F(ForwardComputationTest, DrawsEachPointThenTheErrorCurveAndTheStaircase) {
  ModeWord = QStringLiteral("NORMAL");
  ShowErrorCurve = 1;
  ShowModelGraphic = 1;
  FreshSoundingFlag = 1;
  StartingUp = 1;
  SetModel({100, 10}, {10});
  ComputeModelCurve();

  ASSERT_EQ(CurvePointCount, 37);
  ASSERT_EQ(hooks.events.size(), 38u + 3u);
  for (int c = 0; c <= CurvePointCount; ++c) {
    const auto& e = hooks.events[c];
    EXPECT_EQ(e.call, Call::CurveSegment);
    EXPECT_EQ(e.j, c + 1);
    EXPECT_TRUE(SameBits(e.rho, ComputedCurve[c][1])) << c;
  }
  EXPECT_EQ(hooks.events[38].call, Call::ErrorCurve);
  EXPECT_EQ(hooks.events[39].call, Call::ModelStaircase);
  EXPECT_EQ(hooks.events[40].call, Call::Check18);
  EXPECT_EQ(hooks.events[40].colour, static_cast<int32_t>(0x80000008u));
  EXPECT_EQ(PenUp, kTrue);
  EXPECT_EQ(FreshSoundingFlag, 0);
  EXPECT_EQ(StartingUp, 0);
  EXPECT_EQ(BilogPointer().history(), (std::vector<Pointer>{Pointer::Hourglass, Pointer::Cross}));
}

TEST_F(ForwardComputationTest, ModesAndSwitchesDecideWhatIsDrawn) {
  const struct {
    const char* mode;
    double misfit;
    int16_t superpose;
    int16_t showError, showModel;
    int segments, errorCurves, staircases, checks;
    Pointer pointer;
    int16_t freshAfter;
  } cases[] = {
      {"FICHIER", 0.0, -1, 1, 1, 0, 0, 0, 0, Pointer::Hourglass, 1},
      {"NORMAL", 0.5, -1, 1, 1, 0, 0, 0, 1, Pointer::Cross, 0},  // a fit is running
      {"NORMAL", 0.0, 1, 1, 1, 38, 1, 1, 0, Pointer::Cross, 1},  // superposition on
      {"FRMPRINT", 0.0, -1, 0, 0, 38, 0, 0, 1, Pointer::Cross, 0},
      {"NORMAL", 0.0, -1, 1, 0, 38, 1, 0, 1, Pointer::Cross, 0},
      {"", 0.0, -1, 0, 1, 38, 0, 1, 1, Pointer::Cross, 0},
  };
  SetModel({100, 10}, {10});
  for (const auto& tc : cases) {
    SCOPED_TRACE(std::string(tc.mode) + " misfit " + std::to_string(tc.misfit) + " superpose " +
                 std::to_string(tc.superpose));
    hooks.clear();
    BilogPointer().set(Pointer::Default);
    ModeWord = QString::fromLatin1(tc.mode);
    CurrentMisfit = tc.misfit;
    SuperposeSwitch = tc.superpose;
    ShowErrorCurve = tc.showError;
    ShowModelGraphic = tc.showModel;
    FreshSoundingFlag = 1;
    ComputeModelCurve();
    EXPECT_EQ(CurvePointCount, 37);
    EXPECT_EQ(hooks.count(Call::CurveSegment), tc.segments);
    EXPECT_EQ(hooks.count(Call::ErrorCurve), tc.errorCurves);
    EXPECT_EQ(hooks.count(Call::ModelStaircase), tc.staircases);
    EXPECT_EQ(hooks.count(Call::Check18), tc.checks);
    EXPECT_EQ(BilogPointer().get(), tc.pointer);
    EXPECT_EQ(FreshSoundingFlag, tc.freshAfter);
  }
}

// ---------------------------------------------------------------------------
// Failures

// A zero resistivity above the half-space stops the computation at the first
// sample where its layer no longer masks the layers below (h/u < 4, here
// u > 100 m). The points before stay; the rows after keep what they held.
TEST_F(ForwardComputationTest, ZeroResistivityStopsTheCurveAndKeepsThePointsComputed) {
  const struct {
    Array array;
    int lastStored;
  } cases[] = {{Array::Schlumberger, 13}, {Array::Wenner, 12}, {Array::Dipole, 0}};
  for (const auto& tc : cases) {
    SCOPED_TRACE(Name(tc.array));
    boxes.boxes.clear();
    boxes.answer(MsgAnswer::OK);
    hooks.clear();
    BilogPointer().set(Pointer::Default);
    UseArray(tc.array);
    FreshSoundingFlag = 1;
    FillCurveWith(777.0);
    SetModel({100, 0, 50}, {10, 400});
    ComputeModelCurve();

    ExpectCalculationErrorBox();
    EXPECT_EQ(CurvePointCount, tc.lastStored);
    for (int c = 0; c <= tc.lastStored; ++c) {
      EXPECT_NE(ComputedCurve[c][1], 777.0) << c;
      EXPECT_TRUE(std::isfinite(ComputedCurve[c][1])) << c;
      EXPECT_NEAR(ComputedCurve[c][2], std::pow(10.0, -1 + 0.125 * c), 1e-9) << c;
    }
    EXPECT_EQ(ComputedCurve[tc.lastStored + 1][1], 777.0);
    EXPECT_EQ(ComputedCurve[tc.lastStored + 1][2], 777.0);
    // Even in "FICHIER" mode the model window's overlay check is made ready.
    EXPECT_EQ(FreshSoundingFlag, 0);
    EXPECT_EQ(hooks.count(Call::Check18), 1);
    EXPECT_EQ(BilogPointer().get(), Pointer::Hourglass);  // left as it was
  }
}

TEST_F(ForwardComputationTest, CalculationErrorSpeaksTheCurrentLanguage) {
  const struct {
    int16_t french, spanish;
    const char* text;
  } cases[] = {{kTrue, kFalse, "Erreur de calcul"}, {kFalse, kTrue, "Error de calculo..."},
               {kFalse, kFalse, "Calculation error..."}, {kTrue, kTrue, "Erreur de calcul"}};
  for (const auto& tc : cases) {
    SCOPED_TRACE(tc.text);
    boxes.boxes.clear();
    boxes.answer(MsgAnswer::OK);
    IsFrench = tc.french;
    IsSpanish = tc.spanish;
    SetModel({100, 0, 50}, {10, 400});
    ComputeModelCurve();
    ExpectCalculationErrorBox(tc.text);
  }
}

TEST_F(ForwardComputationTest, SuperpositionOnLeavesTheOverlayCheckAloneOnFailure) {
  boxes.answer(MsgAnswer::OK);
  SuperposeSwitch = 1;
  FreshSoundingFlag = 1;
  SetModel({100, 0, 50}, {10, 400});
  ComputeModelCurve();
  ExpectCalculationErrorBox();
  EXPECT_EQ(FreshSoundingFlag, 1);
  EXPECT_EQ(hooks.count(Call::Check18), 0);
}

// A curve that would need a point 101 stops after row 100; the count never
// points past the table.
TEST_F(ForwardComputationTest, CurveNeedingPoint101StopsAtRow100) {
  // With the left edge at 10^-9 m, 999 m fits in the 101 rows and 1000 m does
  // not (its limit 3.500038 lies just above x(100) = 3.5).
  const struct {
    int16_t decade;
    float spacing;
  } cases[] = {{-9, 1000.0f}, {-10, 1000.0f}, {-12, 30.0f}};
  for (const auto& tc : cases)
  for (bool checked : {false, true}) {
    SCOPED_TRACE(std::string(checked ? "checked" : "fast") + " " + std::to_string(tc.decade));
    detail::ForceCheckedComputation = checked;
    boxes.boxes.clear();
    boxes.answer(MsgAnswer::OK);
    hooks.clear();
    ModeWord = QStringLiteral("NORMAL");
    ShowErrorCurve = 1;
    AB2MinDecade = tc.decade;
    SetSpacings({1, tc.spacing});
    SetModel({100, 10}, {10});
    ComputeModelCurve();
    ExpectCalculationErrorBox();
    EXPECT_EQ(CurvePointCount, 100);
    EXPECT_EQ(hooks.count(Call::CurveSegment), 101);
    EXPECT_EQ(hooks.count(Call::ErrorCurve), 0);
    for (int c = 0; c <= 100; ++c) EXPECT_TRUE(std::isfinite(ComputedCurve[c][1])) << c;
    EXPECT_NEAR(ComputedCurve[100][2], std::pow(10.0, tc.decade + 12.5), 1e-9 * std::pow(10.0, tc.decade + 12.5));
  }
}

// Where the runtime would raise, the computation stops with its message and
// no infinity or NaN reaches the curve.
TEST_F(ForwardComputationTest, FailuresNeverStoreInfinityOrNaN) {
  const struct {
    const char* name;
    std::vector<double> rho, h;
    int16_t layerCount;  // 0: from the model
    int16_t decade;
    int16_t superpose;
    int16_t maxSpacing;
    int16_t points;
  } cases[] = {
      {"overflow in the transform", {1e-300, 1e300}, {1}, 0, -1, -1, 1, 4},
      {"huge contrast of the half-space", {1e-200, 1e200, 1e-200}, {1, 5}, 0, -1, -1, 1, 4},
      {"negative thickness", {100, 10}, {-1e6}, 0, -1, -1, 1, 4},
      {"layer count beyond the table", {100, 10}, {10}, 22, -1, -1, 1, 4},
      {"negative layer count", {100, 10}, {10}, -1, -1, -1, 1, 4},
      {"logarithm of a negative range", {100, 10}, {10}, 0, -1, 1, -5, 0},
      {"left edge beyond single precision", {100, 10}, {10}, 0, 60, -1, 1, 4},
  };
  for (const auto& tc : cases) {
    SCOPED_TRACE(tc.name);
    boxes.boxes.clear();
    boxes.answer(MsgAnswer::OK);
    FillCurveWith(0.0);
    AB2MinDecade = tc.decade;
    SuperposeSwitch = tc.superpose;
    MaxSpacing = tc.maxSpacing;
    SetSpacings({1, 10, 100, 1000});
    PointCount = tc.points;
    SetModel(tc.rho, tc.h);
    if (tc.layerCount != 0) LayerCount = tc.layerCount;
    ComputeModelCurve();
    ExpectCalculationErrorBox();
    EXPECT_LE(CurvePointCount, 100);
    for (int c = 0; c <= CurvePointCount; ++c) {
      EXPECT_TRUE(std::isfinite(ComputedCurve[c][1])) << c;
      EXPECT_TRUE(std::isfinite(ComputedCurve[c][2])) << c;
    }
  }
}

}  // namespace
}  // namespace tellumo
