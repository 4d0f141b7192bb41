#include "modelling/curve_drawing.h"

#include <gtest/gtest.h>

#include <cmath>

#include "mainwindow/program_state.h"
#include "modelling/bilog_frame.h"
#include "modelling/modelling_state.h"
#include "modelling/page_drawing.h"
#include "modelling/superposition_store.h"
#include "printing/print_state.h"
#include "sounding/sounding_record.h"
#include "support/fixtures.h"

namespace tellumo {
namespace {

using Kind = PlotOp::Kind;
using Segment = RecordingPage::Segment;

constexpr int32_t kCurve = 0x0000FF;
constexpr int32_t kModel = 0x00FF00;
constexpr int32_t kError = 0xFF0000;
constexpr int32_t kSuperposed = 0x808080;

double L(double v) { return 0.4343 * std::log(v); }

// A point drawn on the screen: a run's first pixel, or a line to it from the
// previous point.
struct ScreenPoint {
  bool starts;
  double x, y;
  int32_t colour;
};

class CurveDrawing : public test::StateTest {
 protected:
  void SetUp() override {
    StateTest::SetUp();
    SetReportPage(&page);
    test::DefaultPlotAxes();
    CurveColour = kCurve;
    ModelColour = kModel;
    ErrorCurveColour = kError;
    SuperposedCurveColour = kSuperposed;
    ModeWord = "NORMAL";
    PlotScale = 20;
    PlotOriginX = 1000;
    PlotOriginY = 8000;
    // Something on the box before, as after a frame.
    Bilog().Scale(-1.1, 4.1, 4.5, -0.4);
    Bilog().PSet(3, 3);
    Bilog().Print(" 10 ");
    drawnFrom = Bilog().Ops().size();
  }
  void TearDown() override {
    SetReportPage(nullptr);
    StateTest::TearDown();
  }

  // The operations drawn since SetUp, checked to be connected runs.
  std::vector<ScreenPoint> Drawn() const {
    std::vector<ScreenPoint> out;
    const auto& ops = Bilog().Ops();
    for (size_t i = drawnFrom; i < ops.size(); ++i) {
      const PlotOp& op = ops[i];
      EXPECT_TRUE(op.kind == Kind::PSet || op.kind == Kind::Line);
      EXPECT_EQ(op.width, 1);
      if (op.kind == Kind::Line && !out.empty()) {
        EXPECT_DOUBLE_EQ(op.x1, out.back().x);
        EXPECT_DOUBLE_EQ(op.y1, out.back().y);
      }
      out.push_back({op.kind == Kind::PSet, op.x2, op.y2, op.colour});
    }
    return out;
  }

  static void ExpectPoints(const std::vector<ScreenPoint>& got, const std::vector<ScreenPoint>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < got.size(); ++i) {
      SCOPED_TRACE(i);
      EXPECT_EQ(got[i].starts, want[i].starts);
      EXPECT_NEAR(got[i].x, want[i].x, 1e-12);
      EXPECT_NEAR(got[i].y, want[i].y, 1e-12);
      EXPECT_EQ(got[i].colour, want[i].colour);
    }
  }

  // The page form of the same points: a dot from P to P starts a run, a
  // connected line continues it.
  void ExpectPage(const std::vector<ScreenPoint>& want, int32_t colour, int width) const {
    ASSERT_EQ(page.segments.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) {
      SCOPED_TRACE(i);
      const Segment& s = page.segments[i];
      const double px = (want[i].x - AB2MinDecade) * PlotScale * 56.7 + PlotOriginX;
      const double py = PlotOriginY - (want[i].y - RhoMinDecade) * PlotScale * 56.7;
      EXPECT_NEAR(s.x2, px, 1e-9);
      EXPECT_NEAR(s.y2, py, 1e-9);
      EXPECT_EQ(s.connected, !want[i].starts);
      if (want[i].starts) {
        EXPECT_EQ(s.x1, s.x2);
        EXPECT_EQ(s.y1, s.y2);
      } else {
        EXPECT_EQ(s.x1, page.segments[i - 1].x2);
        EXPECT_EQ(s.y1, page.segments[i - 1].y2);
      }
      EXPECT_EQ(s.colour, colour);
      EXPECT_EQ(s.width, width);
    }
  }

  static void SetLayers(std::initializer_list<std::pair<double, double>> layers) {
    EmptyLayerModel();
    int i = 0;
    for (auto [rho, h] : layers) {
      ++i;
      LayerModel[i][kLayerRho] = rho;
      if (h > 0) LayerModel[i][kLayerThickness] = h;
    }
    LayerCount = static_cast<int16_t>(i);
  }

  // A curve whose resistivity is 100 + s at spacing s, eight points a decade
  // from 0.1 m: linear interpolation in the spacing gives 100 + s exactly.
  static void SetLinearCurve(int lastPoint) {
    for (int c = 0; c <= lastPoint; ++c) {
      ComputedCurve[c][2] = std::pow(10.0, -1 + 0.125 * c);
      ComputedCurve[c][1] = 100 + ComputedCurve[c][2];
    }
    CurvePointCount = static_cast<int16_t>(lastPoint);
  }

  static void SetPoints(std::initializer_list<std::pair<double, double>> points) {
    int i = 0;
    for (auto [s, rho] : points) {
      ++i;
      FieldData[i][kSpacing1] = s;
      FieldData[i][kRhoApparent] = rho;
    }
    PointCount = static_cast<int16_t>(i);
  }

  RecordingPage page;
  size_t drawnFrom = 0;
};

// --- Model curve -----------------------------------------------------------

// Points 1..3 inside, 4 above the top, 5 and 6 inside again, 7 outside.
void DrawSplitCurve() {
  PenUp = kTrue;
  const double rho[] = {100, 200, 300, 1e5, 50, 60, 1e6};
  for (int16_t j = 1; j <= 7; ++j) DrawCurveSegment(j, rho[j - 1]);
}

TEST_F(CurveDrawing, CurveRunsEndWhereItLeavesTheWindowOnTheScreen) {
  DrawSplitCurve();
  auto x = [](int j) { return (j - 1) * 0.125 - 1; };
  ExpectPoints(Drawn(), {{true, x(1), L(100), kCurve},
                         {false, x(2), L(200), kCurve},
                         {false, x(3), L(300), kCurve},
                         {true, x(5), L(50), kCurve},
                         {false, x(6), L(60), kCurve}});
  EXPECT_EQ(PenUp, kTrue);
  EXPECT_TRUE(page.segments.empty());
}

TEST_F(CurveDrawing, CurveRunsEndWhereItLeavesTheWindowOnThePage) {
  ModeWord = "FRMPRINT";
  page.PenWidth(7);  // the composition's pen, which the curve keeps
  DrawSplitCurve();
  auto x = [](int j) { return (j - 1) * 0.125 - 1; };
  ExpectPage({{true, x(1), L(100), 0},
              {false, x(2), L(200), 0},
              {false, x(3), L(300), 0},
              {true, x(5), L(50), 0},
              {false, x(6), L(60), 0}},
             kCurve, 7);
  EXPECT_EQ(Bilog().Ops().size(), drawnFrom);  // nothing on the screen
}

TEST_F(CurveDrawing, CurveColourByPassAndMode) {
  struct Case {
    const char* mode;
    int16_t currentPass;
    int32_t colour;
  } cases[] = {{"NORMAL", kTrue, kCurve}, {"NORMAL", kFalse, kSuperposed}, {"", kTrue, 0}, {"AUTOMATIC", kFalse, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    ModeWord = c.mode;
    CurrentSoundingPass = c.currentPass;
    PenUp = kTrue;
    DrawCurveSegment(9, 100);
    EXPECT_EQ(Bilog().Ops().back().colour, c.colour);
  }
  ModeWord = "FRMPRINT";
  CurrentSoundingPass = kFalse;
  DrawCurveSegment(9, 100);
  EXPECT_EQ(page.penColour(), kSuperposed);
}

TEST_F(CurveDrawing, CurveWindowIncludesLowerLimitsOnlyAndPutsNonPositiveValuesAtOne) {
  struct Case {
    const char* name;
    int16_t j;
    double rho;
    int16_t rhoMin;
    bool drawn;
    double y;
  } cases[] = {
      {"left edge", 1, 100, 0, true, L(100)},
      {"last before the right edge", 40, 100, 0, true, L(100)},
      {"on the right edge", 41, 100, 0, false, 0},
      {"bottom edge", 9, 1, 0, true, 0},
      {"10^RhoMaxDecade", 9, 10000, 0, false, 0},
      {"zero at 1 ohm.m", 9, 0, 0, true, 0},
      {"negative at 1 ohm.m", 9, -5, 0, true, 0},
      {"zero below the window", 9, 0, 1, false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RhoMinDecade = c.rhoMin;
    const size_t before = Bilog().Ops().size();
    PenUp = kFalse;
    DrawCurveSegment(c.j, c.rho);
    ASSERT_EQ(Bilog().Ops().size(), before + (c.drawn ? 1 : 0));
    EXPECT_EQ(PenUp, c.drawn ? kFalse : kTrue);
    if (c.drawn) {
      EXPECT_NEAR(Bilog().Ops().back().y2, c.y, 1e-12);
      EXPECT_DOUBLE_EQ(Bilog().Ops().back().x2, (c.j - 1) * 0.125 - 1);
    }
  }
}

// A page that fails every line, as a printer can.
class FailingPage : public RecordingPage {
 public:
  void DrawLine(double, double, double, double) override { vb::Raise(vb::kErrDeviceUnavailable); }
  void DrawLine(double, double) override { vb::Raise(vb::kErrDeviceUnavailable); }
};

TEST_F(CurveDrawing, FailedCurveStepIsReportedAndTheCurveGoesOn) {
  FailingPage failing;
  SetReportPage(&failing);
  ModeWord = "FRMPRINT";
  boxes.answer(MsgAnswer::OK);
  PenUp = kTrue;
  DrawCurveSegment(2, 100);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, " Error occurs while Drawing Curve");
  EXPECT_EQ(boxes.boxes[0].icon, MsgIcon::Exclamation);
  EXPECT_EQ(boxes.boxes[0].caption, ProgramTitle);
  EXPECT_EQ(PenUp, kFalse);

  IsFrench = kTrue;
  boxes.answer(MsgAnswer::OK);
  DrawCurveSegment(3, 100);
  EXPECT_EQ(boxes.boxes.back().text, QString::fromUtf8("Erreur lors du tracé de la courbe"));
}

// --- Model staircase -------------------------------------------------------

TEST_F(CurveDrawing, StaircaseOfTwoLayersOnTheScreenAndThePage) {
  SetLayers({{100, 10}, {1000, 0}});
  const std::vector<ScreenPoint> path = {{true, -1, L(100), kModel},
                                         {false, L(10), L(100), kModel},
                                         {false, L(10), L(1000), kModel},
                                         {false, 4, L(1000), kModel}};
  DrawModelStaircase();
  ExpectPoints(Drawn(), path);
  EXPECT_EQ(Bilog().DrawWidth, 1);

  ModeWord = "FRMPRINT";
  page.PenWidth(5);
  const size_t screenOps = Bilog().Ops().size();
  DrawModelStaircase();
  ExpectPage(path, kModel, 5);
  EXPECT_EQ(Bilog().Ops().size(), screenOps);
}

TEST_F(CurveDrawing, StaircaseKeepsItsColourOutsideTheNormalRedraw) {
  SetLayers({{100, 10}, {1000, 0}});
  ModeWord = "";
  DrawModelStaircase();
  for (const auto& p : Drawn()) EXPECT_EQ(p.colour, kModel);
  CurrentSoundingPass = kFalse;
  drawnFrom = Bilog().Ops().size();
  DrawModelStaircase();
  for (const auto& p : Drawn()) EXPECT_EQ(p.colour, kSuperposed);
}

TEST_F(CurveDrawing, StaircaseShapes) {
  struct Case {
    const char* name;
    std::vector<std::pair<double, double>> layers;
    std::vector<ScreenPoint> path;
    int16_t rhoMinValue = 1;
  } cases[] = {
      {"deep layers end at the largest spacing",
       {{50, 5}, {200, 20000}, {30, 100}, {10, 0}},
       {{true, -1, L(50), kModel},
        {false, L(5), L(50), kModel},
        {false, L(5), L(200), kModel},
        {false, L(10000), L(200), kModel},
        {false, L(10000), L(30), kModel},
        {false, L(10000), L(30), kModel},
        {false, L(10000), L(10), kModel},
        {false, 4, L(10), kModel}}},
      {"first layer above the window starts at the top edge at its bottom",
       {{50000, 10}, {100, 0}},
       {{true, L(10), L(10000), kModel},
        {false, L(10), L(10000), kModel},
        {false, L(10), L(100), kModel},
        {false, 4, L(100), kModel}}},
      {"a step off the window ends just past the frame and lifts the pen",
       {{100, 10}, {1000, 50}, {0.5, 100}, {100, 0}},
       {{true, -1, L(100), kModel},
        {false, L(10), L(100), kModel},
        {false, L(10), L(1000), kModel},
        {false, L(60), L(1000), kModel},
        {false, L(60), L(0.999), kModel},
        {true, L(160), 0, kModel},
        {false, L(160), 0, kModel},
        {false, L(160), L(100), kModel},
        {false, 4, L(100), kModel}}},
      // A half-space alone has no bottom depth: the steps that need its
      // logarithm are left out, the rest is drawn.
      {"one layer", {{100, 0}}, {{true, -1, L(100), kModel}}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    drawnFrom = Bilog().Ops().size();
    RhoMinValue = c.rhoMinValue;
    EmptyLayerModel();
    for (size_t i = 0; i < c.layers.size(); ++i) {
      LayerModel[i + 1][kLayerRho] = c.layers[i].first;
      if (c.layers[i].second > 0) LayerModel[i + 1][kLayerThickness] = c.layers[i].second;
    }
    DrawModelStaircase();
    ExpectPoints(Drawn(), c.path);
  }
}

// --- Error curve -----------------------------------------------------------

TEST_F(CurveDrawing, ErrorValuesAtFieldPoints) {
  SetLinearCurve(40);
  // Field resistivity f times the curve's: error 100 |f - 1| / f.
  SetPoints({{0.12, 50},           // between curve points 0 and 1: the search starts at 1
             {1, 101 * 2.0},       // 50 %, exactly on curve point 8
             {1.5, 101.5 * 0.8},   // between points: 25 %
             {1.5, 101.5 * 1.25},  // same spacing, same pair: 20 %
             {30, 130},            // on the curve: 0 %
             {1e6, 50}});          // beyond the curve
  DrawErrorCurve();
  const double expected[] = {0.001, 50, 25, 20, 0, 0.001};
  for (int i = 1; i <= 6; ++i) EXPECT_NEAR(ComputedCurve[i][3], expected[i - 1], 1e-9) << i;
}

TEST_F(CurveDrawing, ErrorSearchResumesFromThePreviousPairAndSkipsTheLastOne) {
  SetLinearCurve(40);
  const double lastSpacing = ComputedCurve[40][2];
  const double beforeLast = ComputedCurve[39][2];
  SetPoints({{10, 220}, {2, 204}, {(beforeLast + lastSpacing) / 2, 1}, {20, 240}});
  DrawErrorCurve();
  EXPECT_NEAR(ComputedCurve[1][3], 50, 1e-9);
  EXPECT_EQ(ComputedCurve[2][3], 0.001);  // lies before the pair of point 1
  EXPECT_EQ(ComputedCurve[3][3], 0.001);  // the last pair is never searched
  EXPECT_NEAR(ComputedCurve[4][3], 50, 1e-9);
}

TEST_F(CurveDrawing, ErrorOfAShortCurveOrAZeroResistivity) {
  SetPoints({{1, 100}, {2, 0}});
  ComputedCurve[2][3] = 77;
  for (int16_t last : {int16_t{-1}, int16_t{2}}) {
    SetLinearCurve(std::max<int>(last, 0));
    CurvePointCount = last;
    DrawErrorCurve();
    EXPECT_EQ(ComputedCurve[1][3], 0.001) << last;
    EXPECT_EQ(ComputedCurve[2][3], 0.001) << last;
  }
  // A field resistivity of 0 has no percentage: the point keeps what it had.
  SetLinearCurve(40);
  ComputedCurve[2][3] = 77;
  DrawErrorCurve();
  EXPECT_NEAR(ComputedCurve[1][3], 1, 1e-9);
  EXPECT_EQ(ComputedCurve[2][3], 77);
}

TEST_F(CurveDrawing, ErrorCurveIsDrawnOneDecadePerDecadeOfPercentFromTheBottomEdge) {
  SetLinearCurve(40);
  RhoMinDecade = 1;
  SetPoints({{1, 101 * 1.1},     // 9.09 %
             {3, 103 * 2.0},     // 50 %
             {10, 110},          // exactly 0 %: keeps the last height
             {10000, 20000},     // x = 4.00005 is past the right edge: the pen lifts
             {20, 120 * 1.005},  // below 1 %: on the bottom edge
             {0, 1},             // spacing 0: keeps the last abscissa
             {50, 1500}});       // 90 %
  DrawErrorCurve();
  EXPECT_EQ(ComputedCurve[3][3], 0.0);
  const double e1 = 100 * 0.1 / 1.1;
  ExpectPoints(Drawn(), {{true, L(1), 1 + L(e1), kError},
                         {false, L(3), 1 + L(50), kError},
                         {false, L(10), 1 + L(50), kError},
                         {true, L(20), 1, kError},
                         {false, L(20), 1, kError},
                         {false, L(50), 1 + L(90), kError}});
  EXPECT_EQ(PenUp, kFalse);
}

TEST_F(CurveDrawing, ErrorCurveColourAndThePenItLeavesOnThePage) {
  SetLinearCurve(40);
  SetPoints({{1, 202}, {3, 206}});
  ModeWord = "";
  DrawErrorCurve();
  for (const auto& p : Drawn()) EXPECT_EQ(p.colour, 0x000000);

  ModeWord = "FRMPRINT";
  page.PenWidth(3);
  DrawErrorCurve();
  ExpectPage({{true, L(1), L(50), 0}, {false, L(3), L(50), 0}}, kError, 10);

  // The next curve on the page is drawn with the error curve's width.
  page.clear();
  PenUp = kTrue;
  DrawCurveSegment(9, 100);
  ASSERT_EQ(page.segments.size(), 1u);
  EXPECT_EQ(page.segments[0].width, 10);
  EXPECT_EQ(page.segments[0].colour, kCurve);
}

TEST_F(CurveDrawing, FailedErrorStepIsReportedForEachPoint) {
  SetLinearCurve(40);
  SetPoints({{1, 202}, {3, 206}});
  FailingPage failing;
  SetReportPage(&failing);
  ModeWord = "FRMPRINT";
  IsSpanish = kTrue;
  boxes.answer(MsgAnswer::OK);
  boxes.answer(MsgAnswer::OK);
  DrawErrorCurve();
  ASSERT_EQ(boxes.boxes.size(), 2u);
  EXPECT_EQ(boxes.boxes[0].text, " Error al trazar los errores de ajuste");
  EXPECT_NEAR(ComputedCurve[2][3], 50, 1e-9);  // the computation is not affected
}

}  // namespace
}  // namespace tellumo
