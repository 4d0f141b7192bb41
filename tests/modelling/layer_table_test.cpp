#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

#include "mainwindow/main_controls_state.h"
#include "mainwindow/options_state.h"
#include "mainwindow/program_state.h"
#include "modelling/layer_table.h"
#include "modelling/model_window_state.h"
#include "modelling/modelling_state.h"
#include "modelling/round_parameter.h"
#include "sounding/sounding_record.h"
#include "support/fixtures.h"

namespace tellumo {
namespace {

using test::kBlack;
using test::kRed;
using test::kWhite;
using test::kYellow;

class LayerTableTest : public test::StateTest {
 protected:
  void SetUp() override {
    StateTest::SetUp();
    ModelWindowLoader = nullptr;
  }
  void TearDown() override {
    ModelWindowLoader = nullptr;
    ResetModelWindowState();
    StateTest::TearDown();
  }

  // Resistivity and thickness of layers 1, 2, ...
  static void SetModel(std::initializer_list<std::pair<double, double>> layers) {
    int i = 1;
    for (const auto& [rho, t] : layers) {
      LayerModel[i][kLayerRho] = rho;
      LayerModel[i][kLayerThickness] = t;
      ++i;
    }
  }
  static double Rho(int i) { return LayerModel[i][kLayerRho].value(); }
  static double Thick(int i) { return LayerModel[i][kLayerThickness].value(); }
  static double Depth(int i) { return LayerModel[i][kLayerDepth].value(); }
};

double Rounded(int column, double value) {
  LayerModel[3][column] = value;
  int16_t c = static_cast<int16_t>(column);
  int16_t l = 3;
  RoundParameter(c, l);
  return LayerModel[3][column].value();
}

TEST_F(LayerTableTest, RoundParameterSteps) {
  struct Case {
    int column;
    int16_t decimals;
    double value;
    double expected;
  };
  const Case cases[] = {
      // Resistivities: whole ohm.m from 10 up, else three significant digits.
      {kLayerRho, 0, 1234.56, 1235},
      {kLayerRho, 0, 10.0, 10},
      {kLayerRho, 0, 12.5, 12},  // halves go to the even neighbour
      {kLayerRho, 0, 13.5, 14},
      {kLayerRho, 0, 9.96, 10},
      {kLayerRho, 0, 5.678, 5.7},
      {kLayerRho, 0, 1.0, 1},
      {kLayerRho, 0, 0.4567, 0.46},
      {kLayerRho, 0, 0.1, 0.1},
      {kLayerRho, 0, 0.01234, 0.012},
      {kLayerRho, 2, 5.678, 5.7},  // the decimals setting is for lengths only
      // Lengths, automatic decimals.
      {kLayerThickness, 0, 12.3456, 12},
      {kLayerThickness, 0, 3.456, 3.5},
      {kLayerThickness, 0, 0.45678, 0.46},
      {kLayerDepth, 0, 12.3456, 12},
      {kLayerDepth, 0, 0.45678, 0.46},
      // Fixed decimals.
      {kLayerThickness, 1, 12.34, 12.3},
      {kLayerThickness, 1, 3.456, 3.5},
      {kLayerDepth, 1, 123.45, 123.4},
      {kLayerThickness, 2, 3.456, 3.46},
      {kLayerDepth, 2, 12.3456, 12.35},
      // Another setting rounds to whole metres.
      {kLayerThickness, 3, 3.456, 3},
      {kLayerThickness, 3, 2.5, 2},
      // A positive thickness keeps at least one rounding step...
      {kLayerThickness, 0, 0.004, 0.01},
      {kLayerThickness, 1, 0.04, 0.1},
      {kLayerThickness, 2, 0.001, 0.01},
      {kLayerThickness, 3, 0.3, 1},
      // ... and so does a positive resistivity (0 would mean "no layer"),
      {kLayerRho, 0, 0.0004, 0.001},
      {kLayerRho, 0, 0.0005, 0.001},
      // but a depth may round to 0 (the first layer's top is the surface),
      {kLayerDepth, 0, 0.001, 0},
      {kLayerDepth, 1, 0.001, 0},
      // and 0 stays 0.
      {kLayerThickness, 0, 0.0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "column " << c.column << " decimals " << c.decimals << " value " << c.value);
    ThicknessDecimals = c.decimals;
    EXPECT_DOUBLE_EQ(Rounded(c.column, c.value), c.expected);
    EXPECT_EQ(LayerModel[3][c.column].kind(), vb::Cell::Kind::Double);
  }
}

TEST_F(LayerTableTest, RoundParameterOverflowLeavesTheValue) {
  LayerModel[2][kLayerRho] = 3e9;
  int16_t c = kLayerRho, l = 2;
  try {
    RoundParameter(c, l);
    ADD_FAILURE() << "no error";
  } catch (const vb::VbError& e) {
    EXPECT_EQ(e.number(), vb::kErrOverflow);
  }
  EXPECT_EQ(Rho(2), 3e9);
}

TEST_F(LayerTableTest, DepthsFollowTheThicknessesUpToTheHalfSpace) {
  SetModel({{100, 2}, {20, 5}, {500, 0}, {30, 4}, {40, 6}});
  LayerModel[20][kLayerRho] = 7.0;
  LayerCount = 9;
  UpdateLayerDepths();
  EXPECT_EQ(LayerCount, 3);
  EXPECT_DOUBLE_EQ(Depth(1), 0);
  EXPECT_DOUBLE_EQ(Depth(2), 2);
  EXPECT_DOUBLE_EQ(Depth(3), 7);
  EXPECT_DOUBLE_EQ(Thick(3), 0);
  for (int i = 4; i <= 20; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(Rho(i), 0.0);
    EXPECT_EQ(Thick(i), 0.0);
    EXPECT_EQ(Depth(i), 0.0);
  }
}

TEST_F(LayerTableTest, FirstLayerOfThicknessZeroIsTheHalfSpaceAlone) {
  SetModel({{100.4, 0}, {20, 5}, {500, 0}});
  LayerModel[2][kLayerDepth] = 9.0;
  UpdateLayerDepths();
  EXPECT_EQ(LayerCount, 1);
  EXPECT_DOUBLE_EQ(Rho(1), 100);
  EXPECT_DOUBLE_EQ(Depth(1), 0);
  // The rows below are left as they were.
  EXPECT_DOUBLE_EQ(Rho(2), 20);
  EXPECT_DOUBLE_EQ(Thick(2), 5);
  EXPECT_DOUBLE_EQ(Depth(2), 9);
  EXPECT_DOUBLE_EQ(Rho(3), 500);
}

TEST_F(LayerTableTest, ATinyResistivityKeepsItsLayerThroughTheTable) {
  SetModel({{100, 2}, {0.0004, 5}, {500, 0}});
  ModelToGrid();
  EXPECT_EQ(Grid1.TextMatrix(2, 0), " .001  ");
  GridToModel();
  EXPECT_EQ(LayerCount, 3);
  EXPECT_DOUBLE_EQ(Rho(3), 500);
}

TEST_F(LayerTableTest, MissingResistivitiesBecomeOneThousandth) {
  SetModel({{100, 2}, {0, 5}, {0, 0}});
  LayerModel[2][kLayerRho].clear();
  UpdateLayerDepths();
  EXPECT_EQ(LayerCount, 3);
  EXPECT_DOUBLE_EQ(Rho(2), 0.001);
  EXPECT_DOUBLE_EQ(Rho(3), 0.001);
  ModelToGrid();
  EXPECT_EQ(Grid1.TextMatrix(2, 0), " .001  ");
}

TEST_F(LayerTableTest, TwentyLayersWithThicknessAllCount) {
  for (int i = 1; i <= 20; ++i) {
    LayerModel[i][kLayerRho] = 10.0 * i;
    LayerModel[i][kLayerThickness] = 1.0;
  }
  LayerCount = 4;
  UpdateLayerDepths();
  EXPECT_EQ(LayerCount, 20);
  EXPECT_DOUBLE_EQ(Depth(20), 19);
}

TEST_F(LayerTableTest, AThinLayerStaysALayer) {
  // 4 mm rounds to 1 cm, not to 0: the layer below is still there.
  SetModel({{100, 0.004}, {20, 5}, {500, 0}});
  UpdateLayerDepths();
  EXPECT_EQ(LayerCount, 3);
  EXPECT_DOUBLE_EQ(Thick(1), 0.01);
  EXPECT_DOUBLE_EQ(Depth(2), 0.01);
  EXPECT_DOUBLE_EQ(Depth(3), 5);  // automatic decimals: one decimal from 1 m
}

// A file's model, as read, goes through the depth update and the table
// unrounded: the depths follow the thicknesses to the last digit, the
// half-space and the cleared rows are as always, a missing resistivity still
// becomes 0.001; reading the table back keeps even the digits its text lacks.
TEST_F(LayerTableTest, AModelAsReadIsNeitherRoundedNorReadBackFromItsText) {
  SetModel({{85.5, 2.25}, {0, 14.5}, {300.5, 0}, {30, 4}});
  // 2^24 / 100 as a single: its text keeps seven digits of the eight.
  LayerModel[1][kLayerRho] = 167772.16f;
  LayerModelAsRead = true;
  UpdateLayerDepths();
  EXPECT_EQ(LayerCount, 3);
  EXPECT_EQ(Rho(1), static_cast<double>(167772.16f));
  EXPECT_EQ(Thick(1), 2.25);
  EXPECT_EQ(Rho(2), 0.001);
  EXPECT_EQ(Thick(2), 14.5);
  EXPECT_EQ(Rho(3), 300.5);
  EXPECT_EQ(Depth(1), 0.0);
  EXPECT_EQ(Depth(2), 2.25);
  EXPECT_EQ(Depth(3), 16.75);
  EXPECT_EQ(Rho(4), 0.0);

  ModelToGrid();
  EXPECT_EQ(Grid1.TextMatrix(1, 0), " 167772.2  ");
  EXPECT_EQ(Grid1.TextMatrix(1, 1), " 2.25  ");
  EXPECT_EQ(Grid1.TextMatrix(3, 2), " 16.75  ");
  Text18.Text = "typed comment";
  GridToModel();
  EXPECT_EQ(Rho(1), static_cast<double>(167772.16f));
  EXPECT_EQ(Depth(3), 16.75);
  EXPECT_EQ(SoundingComment, "typed comment") << "the boxes are read all the same";

  // Once the model is the program's, the same table is read and rounded.
  LayerModelAsRead = false;
  GridToModel();
  EXPECT_EQ(Rho(1), 167772);
  EXPECT_EQ(Thick(1), 2.2);
  EXPECT_EQ(Rho(3), 300);
  EXPECT_EQ(Depth(3), 16);
}

// A file's thicknesses are singles: the depths derived from them are single
// sums and the table shows them as short as the file's values, never as a
// single widened to a double (1.39999997615814) that pushes the altitudes out.
TEST_F(LayerTableTest, ADepthFromAFilesThicknessesIsShownAsShortAsThey) {
  LayerModel[1][kLayerRho] = 111.0f;
  LayerModel[1][kLayerThickness] = 1.4f;
  LayerModel[2][kLayerRho] = 18.0f;
  LayerModel[2][kLayerThickness] = 7.3f;
  LayerModel[3][kLayerRho] = 3047.0f;
  LayerModel[3][kLayerThickness] = 0.0f;
  SoundingZ = "312.5";
  LayerModelAsRead = true;
  ModelToGrid();
  EXPECT_EQ(LayerCount, 3);
  EXPECT_EQ(Depth(2), static_cast<double>(1.4f));
  EXPECT_EQ(Depth(3), static_cast<double>(1.4f + 7.3f));
  EXPECT_EQ(Grid1.TextMatrix(2, 2), " 1.4  ");
  EXPECT_EQ(Grid1.TextMatrix(3, 2), " 8.7  ");
  EXPECT_EQ(Grid1.TextMatrix(2, 3), " 311.1  ");
  EXPECT_EQ(Grid1.TextMatrix(3, 3), " 303.8  ");
  EXPECT_EQ(Thick(2), static_cast<double>(7.3f)) << "the thicknesses stay as read";
}

TEST_F(LayerTableTest, AltitudesFromTheGroundAltitude) {
  struct Case {
    int16_t decimals;
    const char* z;
    double depth2;
    double altitude1;
    double altitude2;
  };
  const Case cases[] = {
      {0, "120", 3.5, 120, 116.5},
      {1, "120", 3.5, 120, 116.5},
      {2, "120", 3.46, 120, 116.54},
      {0, "120.7 m", 3.5, 120.7, 117.2},  // the number at the start of the text
      {0, "0.25", 3.5, 0.2, -3.2},        // tenths, halves to the even neighbour
      {0, "-5", 3.5, -5, -8.5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.decimals << " " << c.z);
    ResetLayerTableState();
    SetModel({{100, 3.456}, {20, 0}});
    ThicknessDecimals = c.decimals;
    SoundingZ = QString::fromUtf8(c.z);
    UpdateLayerDepths();
    EXPECT_DOUBLE_EQ(Depth(2), c.depth2);
    EXPECT_DOUBLE_EQ(LayerAltitudes[1], c.altitude1);
    EXPECT_DOUBLE_EQ(LayerAltitudes[2], c.altitude2);
  }

  // Without a ground altitude the altitudes are not touched.
  ResetLayerTableState();
  LayerAltitudes[2] = 55.0;
  SoundingZ.clear();
  SetModel({{100, 3}, {20, 0}});
  UpdateLayerDepths();
  EXPECT_EQ(LayerAltitudes[2], 55.0);
}

TEST_F(LayerTableTest, AltitudeOverflowFailsInTheCaller) {
  SetModel({{100, 3}, {20, 0}});
  SoundingZ = "1E12";
  EXPECT_THROW(UpdateLayerDepths(), vb::VbError);
}

TEST_F(LayerTableTest, FormatGridNumberPadsToTheDecimals) {
  struct Case {
    int16_t decimals;
    vb::Cell value;
    const char* text;
  };
  const Case cases[] = {
      {0, 12.0, " 12"},
      {0, 0.5, " .5"},
      {0, -0.5, "-.5"},
      {0, 3.456, " 3.456"},
      {0, vb::Cell(1.3f), " 1.3"},  // a single keeps its own digits
      {1, 3.0, " 3.0"},
      {1, 3.5, " 3.5"},
      {1, -2.0, "-2.0"},
      {1, 0.0, " 0.0"},
      {1, vb::Cell(), " 0.0"},
      {2, 3.5, " 3.50"},
      {2, 3.0, " 3.00"},
      {2, 3.25, " 3.25"},
      {2, 0.05, " .05"},
      {2, 0.0, " 0.00"},
      {2, 116.54, " 116.54"},
      {2, -8.5, "-8.50"},
      // More decimals than asked for, or an exponent: shown as they stand,
      // never with a second decimal point.
      {1, 3.25, " 3.25"},
      {2, 3.456, " 3.456"},
      {2, 1e-05, " 1E-05"},
      {1, 1e20, " 1E+20"},
      // Settings the list does not offer show the plain text.
      {3, 3.0, " 3"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.decimals << " " << c.text);
    ThicknessDecimals = c.decimals;
    EXPECT_EQ(FormatGridNumber(c.value), QString::fromLatin1(c.text));
  }
}

TEST_F(LayerTableTest, ModelToGridFillsTheTableAndTheBoxes) {
  SetModel({{100, 2}, {0.5, 5}, {500, 0}, {30, 4}});
  SoundingZ = "120";
  SoundingX = "12.5";
  SoundingY = "7";
  SoundingAzimuth = "N45";
  SoundingComment = "near the well";
  GraphTitle = "SEV 3";
  Grid1.setTextMatrix(0, 1, "Thickness");
  Grid1.setTextMatrix(5, 2, "stale");
  ModelToGrid();

  const char* expected[21][4] = {
      {"", "Thickness", "", ""},
      {" 100  ", " 2  ", "", " 120  "},
      {" .5  ", " 5  ", " 2  ", " 118  "},
      {" 500  ", "", " 7  ", " 113  "},
  };
  for (int r = 0; r <= 20; ++r)
    for (int c = 0; c < 4; ++c) {
      SCOPED_TRACE(testing::Message() << "row " << r << " col " << c);
      EXPECT_EQ(Grid1.TextMatrix(r, c), QString::fromLatin1(r <= 3 ? expected[r][c] : ""));
    }
  EXPECT_TRUE(Grid1.Redraw());
  EXPECT_EQ(X_Texte1.Text, "12.5");
  EXPECT_EQ(Y_Texte2.Text, "7");
  EXPECT_EQ(Z_Texte3.Text, "120");
  EXPECT_EQ(Azimtext.Text, "N45");
  EXPECT_EQ(Text18.Text, "near the well");
  EXPECT_EQ(Text29.Text, "SEV 3");
}

TEST_F(LayerTableTest, ModelToGridWithoutGroundAltitudeLeavesTheAltitudeColumnEmpty) {
  SetModel({{100, 2}, {20, 0}});
  ThicknessDecimals = 2;
  Grid1.setTextMatrix(2, 3, " 99  ");
  ModelToGrid();
  EXPECT_EQ(Grid1.TextMatrix(1, 1), " 2.00  ");
  EXPECT_EQ(Grid1.TextMatrix(2, 2), " 2.00  ");
  EXPECT_EQ(Grid1.TextMatrix(1, 3), "");
  EXPECT_EQ(Grid1.TextMatrix(2, 3), "");
}

TEST_F(LayerTableTest, FixedValuesAreMarkedYellowWithRedText) {
  struct Case {
    int16_t code;
    bool rhoFixed;
    bool thicknessFixed;
  };
  const Case cases[] = {{0, false, false}, {1, true, false}, {2, false, true}, {3, true, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    ResetModelWindowState();
    SetModel({{100, 2}, {20, 5}, {500, 0}});
    LayerFixCode[2] = c.code;
    ModelToGrid();
    EXPECT_EQ(Grid1.CellBackColorAt(2, 0), c.rhoFixed ? kYellow : kWhite);
    EXPECT_EQ(Grid1.CellForeColorAt(2, 0), c.rhoFixed ? kRed : kBlack);
    EXPECT_EQ(Grid1.CellBackColorAt(2, 1), c.thicknessFixed ? kYellow : kWhite);
    EXPECT_EQ(Grid1.CellForeColorAt(2, 1), c.thicknessFixed ? kRed : kBlack);
    // The other layers stay free, and a mark is taken off again.
    EXPECT_EQ(Grid1.CellBackColorAt(1, 0), kWhite);
    LayerFixCode[2] = 0;
    ModelToGrid();
    EXPECT_EQ(Grid1.CellBackColorAt(2, 0), kWhite);
    EXPECT_EQ(Grid1.CellBackColorAt(2, 1), kWhite);
  }
}

TEST_F(LayerTableTest, ModelToGridAnnouncesOneRefresh) {
  SetModel({{100, 2}, {20, 0}});
  int refreshes = 0, others = 0;
  const int id = Grid1.addListener([&](const GridChange& c) {
    (c.kind == GridChange::Kind::Refresh ? refreshes : others)++;
  });
  ModelToGrid();
  Grid1.removeListener(id);
  EXPECT_EQ(refreshes, 1);
  EXPECT_EQ(others, 0);
}

TEST_F(LayerTableTest, ModelToGridContinuesPastCellsItCannotWrite) {
  SetModel({{100, 2}, {20, 5}, {500, 0}});
  SoundingX = "12";
  Grid1.setRows(3);  // rows 3 to 20 are missing
  ModelToGrid();
  EXPECT_EQ(Grid1.TextMatrix(2, 0), " 20  ");
  EXPECT_EQ(Grid1.TextMatrix(2, 2), " 2  ");
  EXPECT_TRUE(Grid1.Redraw());
  EXPECT_EQ(X_Texte1.Text, "12");
}

TEST_F(LayerTableTest, ModelToGridKeepsTheHeadingWhenTheDepthsFail) {
  // The altitude overflows at layer 1, before any half-space was found, so
  // the layer count is still 0; the heading row is not the half-space.
  SetModel({{100, 2}, {20, 0}});
  SoundingZ = "1E12";
  LayerCount = 0;
  Grid1.setTextMatrix(0, 1, "Thickness");
  ModelToGrid();
  EXPECT_EQ(Grid1.TextMatrix(0, 1), "Thickness");
  EXPECT_EQ(Grid1.TextMatrix(1, 0), " 100  ");
}

TEST_F(LayerTableTest, TouchingTheTableLoadsTheModelWindow) {
  int loads = 0;
  ModelWindowLoader = [&] { ++loads; };
  ModelToGrid();
  EXPECT_EQ(loads, 1);
  GridToModel();
  EXPECT_GE(loads, 2);
}

TEST_F(LayerTableTest, GridToModelReadsTypedValuesAndDerivesTheRest) {
  const char* typed[][3] = {
      {"100  ", "2  ", ""},
      {".5  ", "5  ", "999  "},  // the depth column is never read back
      {"500  ", "", ""},
      {"30  ", "4  ", ""},  // below the half-space: cleared
      {"abc", "3", ""},
  };
  for (int r = 0; r < 5; ++r)
    for (int c = 0; c < 3; ++c) Grid1.setTextMatrix(r + 1, c, typed[r][c]);
  LayerFixCode[1] = 2;
  LayerFixCode[3] = 1;
  X_Texte1.Text = "12.5";
  Y_Texte2.Text = "7";
  Z_Texte3.Text = "120";
  Azimtext.Text = "N45";
  Text18.Text = "comment";
  Text29.Text = "title";

  GridToModel();

  EXPECT_EQ(LayerCount, 3);
  EXPECT_DOUBLE_EQ(Rho(1), 100);
  EXPECT_DOUBLE_EQ(Thick(1), 2);
  EXPECT_DOUBLE_EQ(Rho(2), 0.5);
  EXPECT_DOUBLE_EQ(Depth(2), 2);
  EXPECT_DOUBLE_EQ(Rho(3), 500);
  EXPECT_DOUBLE_EQ(Depth(3), 7);
  EXPECT_EQ(Rho(4), 0.0);
  EXPECT_EQ(Rho(5), 0.0);
  EXPECT_EQ(SoundingX, "12.5");
  EXPECT_EQ(SoundingY, "7");
  EXPECT_EQ(SoundingZ, "120");
  EXPECT_EQ(SoundingAzimuth, "N45");
  EXPECT_EQ(SoundingComment, "comment");
  EXPECT_EQ(GraphTitle, "title");

  EXPECT_EQ(Grid1.TextMatrix(2, 2), " 2  ");
  EXPECT_EQ(Grid1.TextMatrix(3, 1), "");
  EXPECT_EQ(Grid1.TextMatrix(3, 3), " 113  ");
  EXPECT_EQ(Grid1.TextMatrix(4, 0), "");
  EXPECT_EQ(Grid1.TextMatrix(5, 1), "");
  EXPECT_EQ(Grid1.CellBackColorAt(1, 1), kYellow);
  EXPECT_EQ(Grid1.CellBackColorAt(3, 0), kYellow);
  EXPECT_EQ(Grid1.CellBackColorAt(1, 0), kWhite);

  // The table now shows the model: reading it again changes nothing.
  double before[21][3];
  for (int i = 1; i <= 20; ++i)
    for (int c = 1; c <= 3; ++c) before[i][c - 1] = LayerModel[i][c].value();
  GridToModel();
  EXPECT_EQ(LayerCount, 3);
  for (int i = 1; i <= 20; ++i)
    for (int c = 1; c <= 3; ++c) {
      SCOPED_TRACE(testing::Message() << "layer " << i << " column " << c);
      EXPECT_EQ(LayerModel[i][c].value(), before[i][c - 1]);
    }
  EXPECT_EQ(Grid1.CellBackColorAt(1, 1), kYellow);
}

TEST_F(LayerTableTest, GridToModelFailureKeepsWhatWasRead) {
  SetModel({{1, 1}, {2, 2}, {3, 3}});
  SoundingX = "old";
  X_Texte1.Text = "new";
  Grid1.setTextMatrix(1, 0, "100  ");
  Grid1.setTextMatrix(1, 1, "2  ");
  Grid1.setRows(2);  // row 2 cannot be read
  boxes.answer(MsgAnswer::OK);

  GridToModel();

  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "Model impossible...");
  EXPECT_EQ(boxes.boxes[0].buttons, MsgButtons::OK);
  EXPECT_EQ(boxes.boxes[0].icon, MsgIcon::Exclamation);
  EXPECT_EQ(boxes.boxes[0].caption, ProgramTitle);
  EXPECT_DOUBLE_EQ(Rho(1), 100);
  EXPECT_DOUBLE_EQ(Thick(1), 2);
  EXPECT_DOUBLE_EQ(Rho(2), 2);
  EXPECT_EQ(SoundingX, "old");
}

TEST_F(LayerTableTest, GridToModelMessageIsTheSameInEveryLanguage) {
  Grid1.setRows(1);
  for (int lang = 0; lang < 3; ++lang) {
    IsFrench = lang == 0 ? kTrue : kFalse;
    IsSpanish = lang == 1 ? kTrue : kFalse;
    boxes.answer(MsgAnswer::OK);
    GridToModel();
  }
  ASSERT_EQ(boxes.boxes.size(), 3u);
  for (const auto& b : boxes.boxes) EXPECT_EQ(b.text, "Model impossible...");
}

}  // namespace
}  // namespace tellumo
