#include "modelling/bilog_frame.h"

#include <gtest/gtest.h>

#include <cmath>

#include "mainwindow/program_state.h"
#include "modelling/modelling_state.h"
#include "modelling/superposition_store.h"
#include "sounding/sounding_record.h"
#include "support/fixtures.h"

namespace tellumo {
namespace {

using Kind = PlotOp::Kind;

constexpr int32_t kGrid = 0x00AAAA;
constexpr int32_t kSuperposed = 0x808000;
constexpr int32_t kPoints = 0x0000FF;

double L(double v) { return 0.4343 * std::log(v); }

class BilogFrame : public test::StateTest {
 protected:
  void SetUp() override {
    StateTest::SetUp();
    // The start-up axes: spacing 0.1 to 10000 m, resistivity 1 to 10000 ohm.m.
    AB2MinDecade = -1;
    AB2MaxDecade = 4;
    RhoMinDecade = 0;
    RhoMaxDecade = 4;
    AB2MinValue = 0;  // 0.1 held as a whole number
    AB2MaxValue = 10000;
    RhoMinValue = 1;
    RhoMaxValue = 10000;
    GridColour = kGrid;
    SuperposedCurveColour = kSuperposed;
    PointsColour = kPoints;
    Option1 = kTrue;
  }

  static std::vector<PlotOp> OfKind(Kind k) {
    std::vector<PlotOp> out;
    for (const auto& op : Bilog().Ops())
      if (op.kind == k) out.push_back(op);
    return out;
  }
  static std::vector<PlotOp> Lines(int32_t colour) {
    std::vector<PlotOp> out;
    for (const auto& op : OfKind(Kind::Line))
      if (op.colour == colour) out.push_back(op);
    return out;
  }
  static std::vector<QString> Texts() {
    std::vector<QString> out;
    for (const auto& op : OfKind(Kind::Print)) out.push_back(op.text);
    return out;
  }
  static std::vector<PlotOp> Markers() {
    std::vector<PlotOp> out;
    for (const auto& op : OfKind(Kind::Box))
      if (op.colour == kPoints) out.push_back(op);
    return out;
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
};

TEST_F(BilogFrame, DefaultAxesGiveScaleAreaFrameAndPointer) {
  DrawBilogFrame();
  const PlotBox& box = Bilog();
  // Margins 2 % left, 10 % right, 2.5 % top, 10 % bottom.
  EXPECT_DOUBLE_EQ(box.ScaleLeft(), -1 - 0.1 + 0.0001);
  EXPECT_DOUBLE_EQ(box.ScaleTop(), 4 + 0.1 + 0.0001);
  EXPECT_NEAR(box.ScaleLeft() + box.ScaleWidth(), 4.5, 1e-12);
  EXPECT_NEAR(box.ScaleTop() + box.ScaleHeight(), -0.4, 1e-12);
  EXPECT_NEAR(MarkerHalfSize, 9 * 0.0018, 1e-15);

  const auto& ops = box.Ops();
  ASSERT_GE(ops.size(), 3u);
  EXPECT_EQ(ops[0].kind, Kind::Cls);
  EXPECT_EQ(ops[0].colour, box.BackColor);
  for (int i : {1, 2}) {
    EXPECT_EQ(ops[i].kind, i == 1 ? Kind::FilledBox : Kind::Box);
    EXPECT_EQ(ops[i].colour, i == 1 ? 0xFFFFFF : 0x000000);
    EXPECT_EQ(ops[i].x1, -1);
    EXPECT_EQ(ops[i].y1, 4);
    EXPECT_EQ(ops[i].x2, 4);
    EXPECT_EQ(ops[i].y2, 0);
  }
  for (const auto& op : ops) {
    if (op.kind == Kind::Cls) continue;
    EXPECT_EQ(op.width, 1);
    EXPECT_EQ(op.style, 0);
    EXPECT_EQ(op.scale, box.CurrentScale());
  }
  EXPECT_EQ(box.MousePointer().history(), (std::vector<Pointer>{Pointer::Hourglass, Pointer::Cross}));
  EXPECT_EQ(box.DrawWidth, 1);
}

TEST_F(BilogFrame, DefaultAxesLabelEveryDecadeButTheBottomResistivityOne) {
  DrawBilogFrame();
  EXPECT_EQ(Texts(), (std::vector<QString>{" .1 ", " 1 ", " 10 ", " 100 ", " 1000 ", " 10000 ",  // spacing
                                           " 10 ", " 100 ", " 1000 ", " 10000 ",              // resistivity
                                           QString::fromUtf8(" [ohm·m]"), "   AB/2 [m]"}));

  // Each label hangs from a light grey pixel at its top-left corner.
  const auto& ops = Bilog().Ops();
  std::vector<std::pair<double, double>> corners;
  for (size_t i = 1; i < ops.size(); ++i) {
    if (ops[i].kind != Kind::Print) continue;
    ASSERT_EQ(ops[i - 1].kind, Kind::PSet) << ops[i].text.toStdString();
    EXPECT_EQ(ops[i - 1].colour, 0xC0C0C0);
    EXPECT_EQ(ops[i].x1, ops[i - 1].x1);
    EXPECT_EQ(ops[i].y1, ops[i - 1].y1);
    EXPECT_EQ(ops[i].font, (PlotFont{"Arial", 7.5, true}));
    EXPECT_EQ(ops[i].colour, 0x000000);
    corners.emplace_back(ops[i].x1, ops[i].y1);
  }
  ASSERT_EQ(corners.size(), 12u);
  for (int d = -1; d <= 4; ++d) {
    EXPECT_DOUBLE_EQ(corners[d + 1].first, d);
    EXPECT_DOUBLE_EQ(corners[d + 1].second, -0.003 * 4);
  }
  for (int r = 1; r <= 4; ++r) {
    EXPECT_DOUBLE_EQ(corners[5 + r].first, 4 + 0.0025 * 5);
    EXPECT_DOUBLE_EQ(corners[5 + r].second, r);
  }
  EXPECT_DOUBLE_EQ(corners[10].first, 4 + 0.0025 * 5);
  EXPECT_DOUBLE_EQ(corners[10].second, 4 - 0.05 * 4);
  // The spacing title stands a fixed 0.15 decade after the first label.
  EXPECT_DOUBLE_EQ(corners[11].first, -1 + 0.15);
  EXPECT_DOUBLE_EQ(corners[11].second, -0.003 * 4);
}

TEST_F(BilogFrame, DefaultAxesDrawDecadeAndSubDecadeGrids) {
  DrawBilogFrame();
  std::vector<PlotOp> decade = Lines(0x000000);
  ASSERT_EQ(decade.size(), 6u + 5u);
  for (int d = -1; d <= 4; ++d) {
    const PlotOp& v = decade[d + 1];
    EXPECT_EQ(v.x1, d);
    EXPECT_EQ(v.x2, d);
    EXPECT_EQ(v.y1, 0);
    EXPECT_EQ(v.y2, 4);
  }
  for (int r = 0; r <= 4; ++r) {
    const PlotOp& h = decade[6 + r];
    EXPECT_EQ(h.y1, r);
    EXPECT_EQ(h.y2, r);
    EXPECT_EQ(h.x1, -1);
    EXPECT_EQ(h.x2, 4);
  }

  std::vector<PlotOp> minor = Lines(kGrid);
  ASSERT_EQ(minor.size(), 5u * 8 + 4u * 8);
  // Vertical ones first, inside the decade that ends at d, with the
  // program's 0.4343 for log10.
  int n = 0;
  for (int d = 0; d <= 4; ++d) {
    for (int k = 2; k <= 9; ++k, ++n) {
      const double x = L(k * std::pow(10.0, d)) - 1;
      EXPECT_DOUBLE_EQ(minor[n].x1, x);
      EXPECT_DOUBLE_EQ(minor[n].x2, x);
      EXPECT_EQ(minor[n].y1, 0);
      EXPECT_EQ(minor[n].y2, 4);
      EXPECT_GT(x, d - 1);
      EXPECT_LT(x, d);
    }
  }
  for (int r = 1; r <= 4; ++r) {
    for (int k = 2; k <= 9; ++k, ++n) {
      const double y = L(k * std::pow(10.0, r)) - 1;
      EXPECT_DOUBLE_EQ(minor[n].y1, y);
      EXPECT_DOUBLE_EQ(minor[n].y2, y);
      EXPECT_EQ(minor[n].x1, -1);
      EXPECT_EQ(minor[n].x2, 4);
    }
  }
}

TEST_F(BilogFrame, SuperposedPassTintsOnlyTheSubDecadeLines) {
  DrawBilogFrame();
  const std::vector<PlotOp> current = Bilog().Ops();
  CurrentSoundingPass = kFalse;
  DrawBilogFrame();
  const std::vector<PlotOp>& stored = Bilog().Ops();
  ASSERT_EQ(stored.size(), current.size());
  for (size_t i = 0; i < stored.size(); ++i) {
    if (current[i].colour == kGrid && current[i].kind == Kind::Line) EXPECT_EQ(stored[i].colour, kSuperposed);
    else EXPECT_EQ(stored[i].colour, current[i].colour);
  }
  EXPECT_TRUE(Lines(kGrid).empty());
  EXPECT_EQ(Lines(kSuperposed).size(), 72u);
}

TEST_F(BilogFrame, ZeroSpanAxisStillGivesTwoDistinctCorners) {
  struct Case {
    const char* name;
    int ab2Min, ab2Max, rhoMin, rhoMax;
    size_t verticalDecades, horizontalDecades, minor;
    std::vector<QString> labels;
  } cases[] = {
      {"spacing", 2, 2, 0, 4, 1, 5, 4 * 8, {" 100 ", " 10 ", " 100 ", " 1000 ", " 10000 "}},
      {"resistivity", -1, 4, 2, 2, 6, 1, 5 * 8, {" .1 ", " 1 ", " 10 ", " 100 ", " 1000 ", " 10000 "}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResetBilog();
    AB2MinDecade = static_cast<int16_t>(c.ab2Min);
    AB2MaxDecade = static_cast<int16_t>(c.ab2Max);
    RhoMinDecade = static_cast<int16_t>(c.rhoMin);
    RhoMaxDecade = c.rhoMax;
    DrawBilogFrame();
    const PlotBox& box = Bilog();
    EXPECT_NE(box.ScaleWidth(), 0.0);
    EXPECT_NE(box.ScaleHeight(), 0.0);
    if (c.ab2Min == c.ab2Max) EXPECT_NEAR(box.ScaleWidth(), -0.0001, 1e-12);
    if (c.rhoMin == c.rhoMax) EXPECT_NEAR(box.ScaleHeight(), -0.0001, 1e-12);

    // Vertical decade lines come first, then the horizontal ones; on a
    // zero-span axis either kind shrinks to a point.
    std::vector<PlotOp> decade = Lines(0x000000);
    ASSERT_EQ(decade.size(), c.verticalDecades + c.horizontalDecades);
    for (size_t i = 0; i < decade.size(); ++i) {
      if (i < c.verticalDecades) {
        EXPECT_EQ(decade[i].x1, c.ab2Min + static_cast<int>(i));
        EXPECT_EQ(decade[i].x2, decade[i].x1);
      } else {
        EXPECT_EQ(decade[i].y1, c.rhoMin + static_cast<int>(i - c.verticalDecades));
        EXPECT_EQ(decade[i].y2, decade[i].y1);
      }
    }
    EXPECT_EQ(Lines(kGrid).size(), c.minor);

    std::vector<QString> texts = Texts();
    ASSERT_EQ(texts.size(), c.labels.size() + 2);
    EXPECT_EQ(std::vector<QString>(texts.begin(), texts.end() - 2), c.labels);
    EXPECT_EQ(MarkerHalfSize, (c.ab2Max - c.ab2Min + c.rhoMax - c.rhoMin) * 0.0018);
  }
}

TEST_F(BilogFrame, MarksPointsInsideTheValueWindowLimitsIncluded) {
  AB2MinValue = 1;
  AB2MaxValue = 1000;
  RhoMinValue = 10;
  RhoMaxValue = 1000;
  struct Case {
    double s, rho;
    bool marked;
  } cases[] = {
      {1, 100, true},    {1000, 100, true},    {100, 10, true},     {100, 1000, true},    {20, 50, true},
      {0.999, 100, false}, {1000.01, 100, false}, {100, 9.999, false}, {100, 1000.5, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.s << " " << c.rho);
    ResetBilog();
    SetPoints({{c.s, c.rho}});
    DrawBilogFrame();
    std::vector<PlotOp> markers = Markers();
    ASSERT_EQ(markers.size(), c.marked ? 1u : 0u);
    if (!c.marked) continue;
    const double m = MarkerHalfSize;
    EXPECT_DOUBLE_EQ(markers[0].x1, L(c.s) - m);
    EXPECT_DOUBLE_EQ(markers[0].y1, L(c.rho) - m);
    EXPECT_DOUBLE_EQ(markers[0].x2, L(c.s) + m);
    EXPECT_DOUBLE_EQ(markers[0].y2, L(c.rho) + m);
    // Markers come last, after the grids.
    EXPECT_EQ(Bilog().Ops().back().colour, kPoints);
  }
}

TEST_F(BilogFrame, PointWithoutALogarithmIsLeftOutAndTheOthersAreStillMarked) {
  AB2MinValue = 0;
  RhoMinValue = 0;
  SetPoints({{2, 30}, {0, 50}, {5, 0}, {10, 80}});
  DrawBilogFrame();
  std::vector<PlotOp> markers = Markers();
  ASSERT_EQ(markers.size(), 2u);
  EXPECT_DOUBLE_EQ(markers[0].x1 + MarkerHalfSize, L(2));
  EXPECT_DOUBLE_EQ(markers[1].x1 + MarkerHalfSize, L(10));
  EXPECT_EQ(Bilog().MousePointer().get(), Pointer::Cross);
}

TEST_F(BilogFrame, FieldModeDrawsTheFrameWithoutThePoints) {
  SetPoints({{2, 30}, {10, 80}});
  ModeWord = "NORMAL";
  DrawBilogFrame();
  std::vector<PlotOp> normal = Bilog().Ops();
  ASSERT_EQ(Markers().size(), 2u);

  ModeWord = "FIELD";
  DrawBilogFrame();
  EXPECT_TRUE(Markers().empty());
  EXPECT_EQ(Bilog().Ops().size(), normal.size() - 2);
  EXPECT_EQ(Texts().size(), 12u);
}

TEST_F(BilogFrame, SpacingTitleFollowsTheArrayButtons) {
  struct Case {
    int16_t option1, option2;
    const char* title;
  } cases[] = {{kTrue, kFalse, "   AB/2 [m]"}, {kFalse, kTrue, "   AM [m]"}, {kFalse, kFalse, "   a [m]"}};
  for (const Case& c : cases) {
    Option1 = c.option1;
    Option2 = c.option2;
    Option3 = c.option1 || c.option2 ? kFalse : kTrue;
    DrawBilogFrame();
    EXPECT_EQ(Texts().back(), c.title);
  }
}

TEST(DecadeLabel, GeneralNumberFormWithABlankOnEachSide) {
  struct Case {
    int k;
    const char* text;
  } cases[] = {{-2, " .01 "}, {-1, " .1 "}, {0, " 1 "}, {1, " 10 "}, {4, " 10000 "}, {6, " 1000000 "}};
  for (const Case& c : cases) EXPECT_EQ(DecadeLabel(c.k), c.text) << c.k;
}

}  // namespace
}  // namespace tellumo
