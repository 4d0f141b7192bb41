#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "mainwindow/program_state.h"
#include "modelling/auto_model.h"
#include "modelling/engine_hooks.h"
#include "modelling/modelling_state.h"
#include "platform/pointer_state.h"
#include "sounding/sounding_record.h"
#include "support/fixtures.h"

namespace tellumo {
namespace {

class AutoModelTest : public test::StateTest {
 protected:
  void SetUp() override {
    StateTest::SetUp();
    AutoModelThreshold = 0.3;
    ScreenPointer().clearHistory();
    BilogPointer().clearHistory();
  }

  static void ExpectBusyThenReady() {
    EXPECT_EQ(BilogPointer().history(), (std::vector<Pointer>{Pointer::Hourglass, Pointer::Cross}));
    EXPECT_EQ(ScreenPointer().history(), (std::vector<Pointer>{Pointer::Hourglass, Pointer::Arrow}));
  }

  // Field points 1, 2, ... from spacings and apparent resistivities.
  static void SetPoints(const std::vector<double>& a, const std::vector<double>& rho) {
    for (size_t k = 0; k < a.size(); ++k) {
      FieldData[k + 1][kSpacing1] = a[k];
      FieldData[k + 1][kRhoApparent] = rho[k];
    }
    PointCount = static_cast<int16_t>(a.size());
  }

  // Points at spacings 1, 2, 4, 8, ... whose log-log slopes between
  // neighbours are `slopes`, starting from rho1.
  static void SetSlopes(double rho1, const std::vector<double>& slopes) {
    std::vector<double> a{1.0}, rho{rho1};
    for (double s : slopes) {
      a.push_back(a.back() * 2.0);
      rho.push_back(rho.back() * std::pow(2.0, s));
    }
    SetPoints(a, rho);
  }

  // A model the creation must replace or, when it refuses, leave alone.
  static void SetOldModel() {
    for (int i = 1; i <= 3; ++i) {
      LayerModel[i][kLayerRho] = 11.0 * i;
      LayerModel[i][kLayerThickness] = i < 3 ? 1.5 * i : 0.0;
      LayerModel[i][kLayerDepth] = 7.0 * i;
      LayerFixCode[i] = 3;
    }
    LayerCount = 3;
  }

  static double Rho(int i) { return LayerModel[i][kLayerRho].value(); }
  static double Thick(int i) { return LayerModel[i][kLayerThickness].value(); }
};

TEST_F(AutoModelTest, TwoRisingPointsGiveALayerOverAMoreResistiveHalfSpace) {
  SetOldModel();
  SetPoints({1, 10}, {10, 100});
  CreateAutomaticModel();

  const double s1 = std::log(10.0) / (std::log(10.0) - std::log(1.001));
  EXPECT_FLOAT_EQ(FieldSlopes[1], static_cast<float>(s1));
  EXPECT_EQ(FieldSlopes[0], FieldSlopes[1]);
  EXPECT_EQ(LayerCount, 2);
  EXPECT_DOUBLE_EQ(Rho(1), 10);
  EXPECT_DOUBLE_EQ(Thick(1), 1);
  EXPECT_DOUBLE_EQ(Rho(2), 160);  // Int(100 * (3 * 1.00043 + 5) / 5)
  EXPECT_DOUBLE_EQ(Thick(2), 0);
  EXPECT_EQ(Rho(3), 0.0);
  EXPECT_EQ(ModeWord, "AUTOMATIC");
  // Every layer is free again; the depths are left for the depth update.
  for (int i = 1; i <= 20; ++i) EXPECT_EQ(LayerFixCode[i], 0) << i;
  EXPECT_DOUBLE_EQ(LayerModel[2][kLayerDepth].value(), 14);
  ExpectBusyThenReady();
}

TEST_F(AutoModelTest, EndOfTheCurve) {
  struct Case {
    const char* name;
    std::vector<double> a, rho;
    int16_t layers;
    double endRho;
  };
  const Case cases[] = {
      // |ln(110 / 100)| is below 0.2: the single layer is the half-space.
      {"flat", {1, 10}, {100, 110}, 1, 100},
      // A slope below -5/3 would give a negative resistivity.
      {"steeply falling", {1, 2}, {100, 25}, 2, 0.001},
      // A falling end gives a less resistive half-space: Int(20 * (3 * -0.699 + 5) / 5) = Int(11.6).
      {"gently falling", {1, 10}, {100, 20}, 2, 11},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResetSoundingRecord();
    SetPoints(c.a, c.rho);
    CreateAutomaticModel();
    EXPECT_EQ(LayerCount, c.layers);
    EXPECT_DOUBLE_EQ(Rho(c.layers), c.endRho);
    EXPECT_DOUBLE_EQ(Thick(c.layers), 0);
  }
}

TEST_F(AutoModelTest, MonotonicSlopesMakeNoIntermediateLayer) {
  const std::vector<std::vector<double>> curves = {
      {0.2, 0.4, 0.6, 0.8},      // magnitude only grows
      {0.8, 0.6, 0.4, 0.2},      // magnitude only falls
      {-0.2, -0.4, -0.6, -0.8},  // falling curve, growing magnitude
      {-0.8, -0.6, -0.4, -0.2},
  };
  for (const auto& slopes : curves) {
    SCOPED_TRACE(slopes[0]);
    ResetSoundingRecord();
    SetSlopes(100, slopes);
    CreateAutomaticModel();
    EXPECT_EQ(LayerCount, 2);  // the first layer and the end
    EXPECT_DOUBLE_EQ(Rho(1), 100);
    EXPECT_DOUBLE_EQ(Thick(2), 0);
  }
}

TEST_F(AutoModelTest, AFlatteningStartsALayerOnlyBeyondTheThreshold) {
  // Slopes 1, 1, 0.25, then `last`: |0.25| is a strict minimum between 1 and |last|.
  struct Case {
    const char* name;
    double last;
    double threshold;
    bool newLayer;
  };
  const Case cases[] = {
      {"change exactly the threshold", 1.5, 0.5, false},
      {"change above the threshold", 1.5, 0.49, true},
      {"sign change whatever the threshold", -1.5, 5.0, true},
      {"same sign, far below the threshold", 1.5, 5.0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResetSoundingRecord();
    SetSlopes(10, {1, 1, 0.25, c.last});
    AutoModelThreshold = c.threshold;
    CreateAutomaticModel();
    // The slopes are compared in single precision; these are exact there.
    EXPECT_EQ(FieldSlopes[2], 1.0f);
    EXPECT_EQ(FieldSlopes[3], 0.25f);
    EXPECT_EQ(FieldSlopes[4], static_cast<float>(c.last));
    ASSERT_EQ(LayerCount, c.newLayer ? 3 : 2);
    if (c.newLayer) {
      EXPECT_DOUBLE_EQ(Rho(2), 40);    // the reading where the curve flattens (point 3)
      EXPECT_DOUBLE_EQ(Thick(2), 2.2);  // |0.8 * 4 - 1|
    }
    EXPECT_DOUBLE_EQ(Thick(LayerCount), 0);
  }
}

TEST_F(AutoModelTest, WennerThicknessesAreThreeTimesAsLarge) {
  struct Case {
    const char* name;
    int16_t option2, option3;
    double first, second;
  };
  const Case cases[] = {
      {"Schlumberger", 0, 0, 1, 2.2},
      {"dipole", kTrue, 0, 1, 2.2},
      // The intermediate thickness is tripled after the subtraction: |3.2 - 3| * 3.
      {"Wenner", 0, kTrue, 3, 0.6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResetSoundingRecord();
    Option2 = c.option2;
    Option3 = c.option3;
    SetSlopes(10, {1, 1, 0.25, 1.5});
    AutoModelThreshold = 0.3;
    CreateAutomaticModel();
    ASSERT_EQ(LayerCount, 3);
    EXPECT_DOUBLE_EQ(Thick(1), c.first);
    EXPECT_NEAR(Thick(2), c.second, 1e-12);
  }
}

TEST_F(AutoModelTest, ARepeatedSpacingIsNeverTestedForALayer) {
  // Points 3 and 4 share the spacing 4 m (a segment junction, with a jump).
  const double r3 = 20 * std::pow(2.0, 0.25);
  SetPoints({1, 2, 4, 4, 8, 16}, {10, 20, r3, 2 * r3, 2 * r3 * std::pow(2.0, 1.5), 2 * r3 * 8});
  CreateAutomaticModel();
  const float s1 = FieldSlopes[1];
  // At the junction its neighbours' slopes stand in: s(3) := s(2), s(2) := s(1).
  EXPECT_EQ(FieldSlopes[3], 0.25f);
  EXPECT_EQ(FieldSlopes[2], s1);
  EXPECT_EQ(FieldSlopes[4], 1.5f);
  // The flattening is found at the next point, against the slopes that stood
  // in; the layer takes the reading of point 3.
  ASSERT_EQ(LayerCount, 3);
  EXPECT_DOUBLE_EQ(Rho(2), r3);
  EXPECT_DOUBLE_EQ(Thick(2), 2.2);
}

TEST_F(AutoModelTest, NeverMoreThanTwentyLayers) {
  // Slopes +1, +0.1, -1, -0.1, ...: every small slope is a flattening with a
  // sign change around it, about 24 of them over 50 points.
  std::vector<double> a{1.0}, rho{100.0};
  const double pattern[] = {1.0, 0.1, -1.0, -0.1};
  for (int k = 0; k < 49; ++k) {
    a.push_back(a.back() * 1.25);
    rho.push_back(rho.back() * std::pow(1.25, pattern[k % 4]));
  }
  SetPoints(a, rho);
  LayerModel[21][kLayerRho] = 777.0;
  LayerModel[21][kLayerThickness] = 777.0;
  CreateAutomaticModel();

  int flattenings = 0;
  for (int i = 2; i <= 49; ++i) {
    const float s0 = FieldSlopes[i], s1 = FieldSlopes[i - 1], s2 = FieldSlopes[i - 2];
    flattenings += std::fabs(s0) > std::fabs(s1) && std::fabs(s2) > std::fabs(s1) && s0 * s2 < 0.0f;
  }
  ASSERT_GT(flattenings + 1, 20) << "the curve must ask for more layers than the model holds";
  EXPECT_EQ(LayerCount, 20);
  EXPECT_DOUBLE_EQ(Thick(20), 0);
  for (int i = 1; i < 20; ++i) EXPECT_GT(Thick(i), 0.0) << i;
  EXPECT_EQ(Rho(21), 777.0);
  EXPECT_EQ(Thick(21), 777.0);
  EXPECT_EQ(ModeWord, "AUTOMATIC");
}

TEST_F(AutoModelTest, FewerThanTwoPointsIsRefusedWithoutReadingOldRows) {
  for (int16_t count : {int16_t{1}, int16_t{0}}) {
    SCOPED_TRACE(count);
    ResetSoundingRecord();
    SetOldModel();
    // Row 2 still holds a point of an earlier sounding.
    SetPoints({1, 10}, {10, 100});
    PointCount = count;
    ModeWord = "NORMAL";
    boxes.answer(MsgAnswer::OK);
    ScreenPointer().clearHistory();
    BilogPointer().clearHistory();
    CreateAutomaticModel();

    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Automatic model impossible...");
    EXPECT_EQ(boxes.boxes[0].icon, MsgIcon::Critical);
    EXPECT_EQ(boxes.boxes[0].caption, ProgramTitle);
    boxes.boxes.clear();
    EXPECT_EQ(LayerCount, 3);
    EXPECT_DOUBLE_EQ(Rho(1), 11);
    EXPECT_DOUBLE_EQ(Thick(2), 3);
    EXPECT_EQ(LayerFixCode[1], 3);
    EXPECT_EQ(FieldSlopes[1], 0.0f);
    EXPECT_EQ(ModeWord, "NORMAL");
    ExpectBusyThenReady();
  }
}

TEST_F(AutoModelTest, AFailingLogarithmStopsAndKeepsTheLayersBuilt) {
  // A layer is found at point 5; the zero resistivity of point 6 stops the
  // creation before the end of the curve.
  SetSlopes(10, {1, 1, 0.25, 1.5});
  FieldData[6][kSpacing1] = 32.0;
  FieldData[6][kRhoApparent] = 0.0;
  PointCount = 6;
  SetOldModel();
  ModeWord = "NORMAL";
  boxes.answer(MsgAnswer::OK);
  CreateAutomaticModel();

  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "Automatic model impossible...");
  EXPECT_EQ(LayerCount, 2);
  EXPECT_DOUBLE_EQ(Rho(2), 40);
  EXPECT_DOUBLE_EQ(Thick(2), 2.2);  // no half-space was set
  EXPECT_EQ(Rho(3), 0.0);
  EXPECT_EQ(LayerFixCode[1], 0);
  EXPECT_EQ(ModeWord, "NORMAL");
}

TEST_F(AutoModelTest, BadReadingsFailInEveryLanguage) {
  struct Case {
    const char* name;
    std::vector<double> a, rho;
    int16_t french, spanish;
    const char* text;
  };
  const Case cases[] = {
      {"negative first spacing", {-1, 2}, {10, 20}, kTrue, 0, "Création du modèle automatique impossible..."},
      {"zero first resistivity", {1, 2}, {0, 20}, 0, kTrue, "Creación automática del modelo imposible..."},
      {"zero spacing inside", {1, 2, 0, 8}, {10, 20, 30, 40}, 0, 0, "Automatic model impossible..."},
      {"negative resistivity at the end", {1, 2, 4}, {10, 20, -5}, 0, 0, "Automatic model impossible..."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResetSoundingRecord();
    IsFrench = c.french;
    IsSpanish = c.spanish;
    SetPoints(c.a, c.rho);
    ModeWord.clear();
    boxes.boxes.clear();
    boxes.answer(MsgAnswer::OK);
    CreateAutomaticModel();
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, QString::fromUtf8(c.text));
    EXPECT_EQ(boxes.boxes[0].buttons, MsgButtons::OK);
    EXPECT_EQ(ModeWord, "");
  }
}

}  // namespace
}  // namespace tellumo
