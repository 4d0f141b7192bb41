// The field-data computation on the grid model: K and the apparent
// resistivity by array, rounding, the end of the data, the marine-floor
// correction, shifting, the order of the rows, and when pending edits are
// computed.
#include <gtest/gtest.h>

#include <vector>

#include "mainwindow/data_tab.h"
#include "mainwindow/field_data.h"
#include "mainwindow/grid_editing.h"
#include "mainwindow/program_state.h"
#include "mainwindow/templates.h"
#include "modelling/bilog_frame.h"
#include "modelling/modelling_state.h"
#include "sounding/sounding_record.h"
#include "support/fixtures.h"

namespace tellumo {
namespace {

class FieldDataTest : public test::StateTest {
 protected:
  void SetUp() override {
    StateTest::SetUp();
    Option1 = kTrue;
    FileTitle = QStringLiteral("typed.TM3");  // not a new sounding: no template
    LayOutDataGrid();
  }

  // Grid row r: MN/2 (or BN), AB/2, ΔV, I, and the resistivity cell.
  void Type(int r, const char* c1, const char* c2, const char* c3 = "", const char* c4 = "", const char* rho = "") {
    GridModel& g = BuildGrid();
    g.setTextMatrix(r, 1, QString::fromUtf8(c1));
    g.setTextMatrix(r, 2, QString::fromUtf8(c2));
    g.setTextMatrix(r, 3, QString::fromUtf8(c3));
    g.setTextMatrix(r, 4, QString::fromUtf8(c4));
    g.setTextMatrix(r, 6, QString::fromUtf8(rho));
  }
  // Rows without readings, each with a spacing and a typed resistivity.
  void TypeResistivities(const std::vector<double>& spacings, const std::vector<double>& rhos) {
    for (size_t i = 0; i < spacings.size(); ++i)
      Type(static_cast<int>(i + 1), "", QString::number(spacings[i]).toUtf8().constData(), "", "",
           QString::number(rhos[i]).toUtf8().constData());
  }
  static QString Cell(int r, int c) { return BuildGrid().TextMatrix(r, c); }
};

void SetArray(int code) {
  Option1 = code == 0 ? kTrue : kFalse;
  Option2 = code == 1 ? kTrue : kFalse;
  Option3 = code == 2 ? kTrue : kFalse;
}

TEST_F(FieldDataTest, KAndResistivityByArray) {
  struct Case {
    const char* name;
    int array;  // 0 Schlumberger, 1 dipole, 2 Wenner
    int16_t half;
    const char *c1, *c2, *c3, *c4;
    double k;
    const char* kText;
    double rho;
    const char* rhoText;
  } cases[] = {
      {"Schlumberger", 0, 1, "1", "10", "100", "100", 156, " 156", 156, " 156"},
      {"Schlumberger half array", 0, 2, "1", "10", "100", "100", 311, " 311", 311, " 311"},
      {"Schlumberger negative readings", 0, 1, "1", "10", "-50", "-100", 156, " 156", 78, " 78"},
      {"Wenner ignores column 1", 2, 1, "5", "10", "1", "1", 62.83, " 62.83", 62.8, " 62.8"},
      {"Wenner half array", 2, 2, "", "10", "1", "1", 126, " 126", 126, " 126"},
      {"dipole has no half array", 1, 2, "60", "10", "1", "1", 126, " 126", 126, " 126"},
      {"dipole with BN greater than 3 AM", 1, 1, "40", "10", "1", "1", 251, " 251", 251, " 251"},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(tc.name);
    ResetFieldDataState();
    EmptyFieldData();
    SetArray(tc.array);
    HalfArrayFactor = tc.half;
    LayOutDataGrid();
    for (int r = 1; r <= 2; ++r) Type(r, "", "", "", "", "");
    Type(1, tc.c1, tc.c2, tc.c3, tc.c4);
    ComputeFieldData();
    EXPECT_EQ(PointCount, 1);
    EXPECT_NEAR(FieldData[1][kKFactor], tc.k, 1e-9);
    EXPECT_EQ(Cell(1, 5), QString::fromUtf8(tc.kText));
    EXPECT_NEAR(FieldData[1][kRhoApparent], tc.rho, 1e-9);
    EXPECT_EQ(Cell(1, 6), QString::fromUtf8(tc.rhoText));
    EXPECT_DOUBLE_EQ(FieldData[1][kSpacing1], 10);
    EXPECT_DOUBLE_EQ(FieldData[1][kDeltaV], QString::fromUtf8(tc.c3).toDouble());
    EXPECT_DOUBLE_EQ(FieldData[1][kCurrent], QString::fromUtf8(tc.c4).toDouble());
    if (tc.array == 2) EXPECT_TRUE(FieldData[1][kSpacing2].empty());
    else EXPECT_DOUBLE_EQ(FieldData[1][kSpacing2], QString::fromUtf8(tc.c1).toDouble());
  }
}

TEST_F(FieldDataTest, DipoleSpacingsAreRewrittenWhole) {
  SetArray(1);
  Type(1, "60.0", "12.5", "1", "1");
  Type(2, "1000", "300", "1", "1");
  ComputeFieldData();
  EXPECT_EQ(Cell(1, 1), " 60");
  EXPECT_EQ(Cell(1, 2), " 12.5");
  EXPECT_EQ(Cell(2, 1), " 1000");
  EXPECT_EQ(Cell(2, 2), " 300");
  // And they read back to the same K.
  const double k1 = FieldData[1][kKFactor], k2 = FieldData[2][kKFactor];
  ComputeFieldData();
  EXPECT_EQ(FieldData[1][kKFactor].value(), k1);
  EXPECT_EQ(FieldData[2][kKFactor].value(), k2);
}

// A row with readings whose K or resistivity is zero or negative is
// refused with the whole computation: the rows stay as typed, FieldData,
// PointCount and MaxSpacing as the last computation left them, and the
// message names the first such row.
TEST_F(FieldDataTest, ImpossibleRowsAreRefusedAndKeptAsTyped) {
  struct Row {
    const char *c1, *c2, *c3, *c4;
    const char* rho = "";
  };
  const char* sRule = "(greater than 0, MN/2 smaller than AB/2): nothing was computed.";
  const char* dRule = "(greater than 0, BN greater than 3 × AM): nothing was computed.";
  struct Case {
    const char* name;
    int array;
    int16_t shifted;
    std::vector<Row> rows;
    QString message;
  } cases[] = {
      {"Schlumberger MN/2 beyond AB/2", 0, 0, {{"1", "10", "100", "100"}, {"20", "10", "10", "10"}},
       QStringLiteral("Row 2: the geometric factor K comes out zero or negative (K = -23.56). Check the spacings of "
                      "this row ") + sRule},
      {"Schlumberger AB/2 1 and MN/2 2", 0, 0, {{"2", "1", "10", "10"}},
       QStringLiteral("Row 1: the geometric factor K comes out zero or negative (K = -2.36). Check the spacings of "
                      "this row ") + sRule},
      {"Schlumberger MN/2 equal to AB/2", 0, 0, {{"10", "10", "10", "10"}},
       QStringLiteral("Row 1: the geometric factor K comes out zero or negative (K = 0). Check the spacings of this "
                      "row ") + sRule},
      {"dipole with BN equal to AM, as the old template had", 1, 0, {{"10", "10", "1", "1"}},
       QStringLiteral("Row 1: the geometric factor K comes out zero or negative (K = -31.42). Check the spacings of "
                      "this row ") + dRule},
      // 1/AM = 3/BN: no K at all; with shifting on, the row would also have
      // made a junction with the row before at the same spacing.
      {"dipole without K", 1, 1, {{"60", "10", "1", "1"}, {"30", "10", "2", "1"}, {"90", "15", "1", "1"}},
       QStringLiteral("Row 2: the geometric factor K comes out zero or negative. Check the spacings of this row ") +
           dRule},
      {"readings without MN/2 and without a resistivity", 0, 0, {{"", "10", "100", "100"}},
       QStringLiteral("Row 1: the geometric factor K comes out zero or negative. Check the spacings of this row ") +
           sRule},
      {"Wenner readings without a", 2, 0, {{"", "", "1", "1"}},
       QStringLiteral("Row 1: the geometric factor K comes out zero or negative. Check the spacings of this row (a "
                      "greater than 0): nothing was computed.")},
      {"DeltaV and I of opposite signs", 0, 0, {{"1", "10", "100", "100"}, {"1", "20", "-50", "100"}},
       QStringLiteral("Row 2: the apparent resistivity comes out zero or negative (-313.5 ohm.m). Check DeltaV and I "
                      "of this row: nothing was computed.")},
      {"a resistivity below its two decimals", 0, 0, {{"1", "10", ".001", "100"}},
       QStringLiteral("Row 1: the apparent resistivity comes out zero or negative (0 ohm.m). Check DeltaV and I of "
                      "this row: nothing was computed.")},
      // Without a spacing the point would stand at 0 and the ordering would
      // move it above the row typed before it.
      {"a resistivity typed on a row without a spacing", 0, 0, {{"1", "10", "100", "100"}, {"", "", "", "", "12"}},
       QStringLiteral("Row 2: a resistivity without its spacing (AB/2 empty or 0). Type the spacing of this row or "
                      "empty it: nothing was computed.")},
      {"a first spacing of 0 with shifting on", 2, 1, {{"", "0", "", "", "100"}, {"", "10", "", "", "200"}},
       QStringLiteral("Row 1: a resistivity without its spacing (a empty or 0). Type the spacing of this row or "
                      "empty it: nothing was computed.")},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(tc.name);
    ResetFieldDataState();
    ResetDataTabState();
    EmptyFieldData();
    SetArray(tc.array);
    ShiftedFlag = tc.shifted;
    LayOutDataGrid();
    // The points of a computation before, which the refusal keeps.
    PointCount = 7;
    MaxSpacing = 77;
    FieldData[1][kSpacing1] = 5.0;
    FieldData[1][kRhoApparent] = 33.0;
    for (size_t i = 0; i < tc.rows.size(); ++i) {
      const Row& row = tc.rows[i];
      Type(static_cast<int>(i + 1), row.c1, row.c2, row.c3, row.c4, row.rho);
    }
    BuildGrid().setTextMatrix(2, 5, QStringLiteral(" 999"));  // a K shown before stays too
    std::vector<QString> before;
    for (int r = 1; r <= 50; ++r)
      for (int c = 1; c <= 6; ++c) before.push_back(Cell(r, c));
    BuildGrid().setRow(3);
    BuildGrid().setCol(4);
    boxes.boxes.clear();
    boxes.answer(MsgAnswer::OK);

    ComputeFieldData();

    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, tc.message);
    EXPECT_EQ(boxes.boxes[0].icon, MsgIcon::Exclamation);
    size_t k = 0;
    for (int r = 1; r <= 50; ++r)
      for (int c = 1; c <= 6; ++c) EXPECT_EQ(Cell(r, c), before[k++]) << r << "," << c;
    EXPECT_EQ(PointCount, 7);
    EXPECT_EQ(MaxSpacing, 77);
    EXPECT_DOUBLE_EQ(FieldData[1][kSpacing1], 5.0);
    EXPECT_DOUBLE_EQ(FieldData[1][kRhoApparent], 33.0);
    EXPECT_TRUE(FieldData[2][kKFactor].empty());
    EXPECT_EQ(BuildGrid().Row(), 3);
    EXPECT_EQ(BuildGrid().Col(), 4);
    EXPECT_TRUE(BuildGrid().Redraw());
    EXPECT_TRUE(FieldDataRefused());
    // The grid stays ahead of FieldData until the user's correction computes.
    EXPECT_TRUE(FieldDataPending());
  }
}

// The refusals speak the user's language, each naming its row.
TEST_F(FieldDataTest, RefusalsInFrenchAndSpanish) {
  struct Row {
    const char *c1, *c2, *c3, *c4, *rho;
  };
  const struct {
    const char* name;
    std::vector<Row> rows;
    const char* water;  // the marine floor box ticked with this water resistivity
    const char *french, *spanish;
  } cases[] = {
      {"K",
       {{"1", "10", "100", "100", ""}, {"20", "10", "10", "10", ""}},
       nullptr,
       "Ligne 2 : le facteur géométrique K est nul ou négatif (K = -23.56). Vérifiez les espacements de cette ligne "
       "(supérieurs à 0, MN/2 inférieur à AB/2) : rien n'a été calculé.",
       "Línea 2: el factor geométrico K es nulo o negativo (K = -23.56). Controle los espaciados de esta línea "
       "(mayores que 0, MN/2 menor que AB/2): no se ha calculado nada."},
      {"resistivity",
       {{"1", "10", "100", "100", ""}, {"1", "20", "-50", "100", ""}},
       nullptr,
       "Ligne 2 : la résistivité apparente est nulle ou négative (-313.5 ohm.m). Vérifiez DeltaV et I de cette "
       "ligne : rien n'a été calculé.",
       "Línea 2: la resistividad aparente es nula o negativa (-313.5 ohm.m). Controle DeltaV e I de esta línea: no "
       "se ha calculado nada."},
      {"spacing",
       {{"1", "10", "100", "100", ""}, {"", "", "", "", "12"}},
       nullptr,
       "Ligne 2 : une résistivité sans espacement (AB/2 vide ou nul). Tapez l'espacement de cette ligne ou videz-la "
       ": rien n'a été calculé.",
       "Línea 2: una resistividad sin espaciado (AB/2 vacío o nulo). Escriba el espaciado de esta línea o vacíela: "
       "no se ha calculado nada."},
      {"marine floor",
       {{"", "10", "", "", "5"}, {"", "20", "", "", "55"}},
       "40",
       "Ligne 2 : la résistivité apparente ( 55 ohm.m) n'est pas inférieure à celle de l'eau ( 40 ohm.m). La "
       "correction de fond marin donnerait une résistivité nulle ou négative : rien n'a été calculé.",
       "Línea 2: la resistividad aparente ( 55 ohm.m) no es inferior a la del agua ( 40 ohm.m). La corrección de "
       "fondo marino daría una resistividad nula o negativa: no se ha calculado nada."},
  };
  for (const auto& tc : cases)
    for (const bool french : {true, false}) {
      SCOPED_TRACE(std::string(tc.name) + (french ? " in French" : " in Spanish"));
      ResetFieldDataState();
      ResetDataTabState();
      EmptyFieldData();
      LayOutDataGrid();
      IsFrench = french ? kTrue : kFalse;
      IsSpanish = french ? kFalse : kTrue;
      Marine_floor.Value = tc.water ? 1 : 0;
      Reau.Text = QString::fromUtf8(tc.water ? tc.water : "");
      for (size_t i = 0; i < tc.rows.size(); ++i) {
        const Row& r = tc.rows[i];
        Type(static_cast<int>(i + 1), r.c1, r.c2, r.c3, r.c4, r.rho);
      }
      boxes.boxes.clear();
      boxes.answer(MsgAnswer::OK);
      ComputeFieldData();
      ASSERT_EQ(boxes.boxes.size(), 1u);
      EXPECT_EQ(boxes.boxes[0].text.toStdString(), french ? tc.french : tc.spanish);
    }
  IsFrench = IsSpanish = kFalse;
}

TEST_F(FieldDataTest, RowsThatAreNoImpossiblePointsAreComputedWithoutAWord) {
  // An instrument file without MN/2: the row has readings but no K, and
  // takes the point's own resistivity as the file gave it.
  Type(1, "", "10", "500", ".1", " 12.5");
  FieldData[1][kRhoUnshifted] = 12.5;
  Type(2, "1", "20", "100", "100");
  // The data end at the empty row 3: row 4 is not read, whatever it holds.
  Type(4, "20", "10", "10", "10");
  ComputeFieldData();
  EXPECT_TRUE(boxes.boxes.empty());
  EXPECT_FALSE(FieldDataRefused());
  EXPECT_EQ(PointCount, 2);
  EXPECT_DOUBLE_EQ(FieldData[1][kRhoApparent], 12.5);
  EXPECT_DOUBLE_EQ(FieldData[2][kRhoApparent], 627);
  EXPECT_EQ(Cell(4, 1), "20");
  EXPECT_EQ(Cell(4, 5), "");
  // Corrected, the refused row computes and the refusal is over.
  Type(2, "20", "10", "10", "10");
  boxes.answer(MsgAnswer::OK);
  ComputeFieldData();
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_TRUE(FieldDataRefused());
  Type(2, "1", "20", "100", "100");
  ComputeFieldData();
  EXPECT_EQ(boxes.boxes.size(), 1u);
  EXPECT_FALSE(FieldDataRefused());
  EXPECT_FALSE(FieldDataPending());
}

TEST_F(FieldDataTest, ResistivityIsRoundedByMagnitude) {
  TypeResistivities({10, 20, 30, 40}, {123.4, 12.34, 1.234, 0.0567});
  Type(5, "1", "50", "3.144", "100");  // K 3925: 123.402 from the readings
  ComputeFieldData();
  const double stored[] = {123, 12.3, 1.23, 0.06, 123};
  const char* shown[] = {" 123", " 12.3", " 1.23", " .06", " 123"};
  for (int r = 1; r <= 5; ++r) {
    EXPECT_DOUBLE_EQ(FieldData[r][kRhoApparent], stored[r - 1]) << r;
    EXPECT_EQ(Cell(r, 6), shown[r - 1]) << r;
  }
}

TEST_F(FieldDataTest, FirstRowWithoutValuesEndsTheData) {
  Type(1, "1", "10", "100", "100");
  Type(2, "1", "20", "100", "100");
  Type(3, "1", "30");  // a spacing, but no readings and no resistivity
  Type(4, "1", "40", "100", "100");
  FieldData[4][kSpacing1] = 999.0;
  MaxSpacing = 77;
  ComputeFieldData();
  EXPECT_EQ(PointCount, 2);
  EXPECT_EQ(MaxSpacing, 20);
  EXPECT_DOUBLE_EQ(FieldData[3][kSpacing1], 30);  // the empty row's zeros are stored
  EXPECT_EQ(FieldData[3][kRhoApparent].value(), 0.0);
  // Rows below it are neither read nor changed.
  EXPECT_DOUBLE_EQ(FieldData[4][kSpacing1], 999.0);
  EXPECT_EQ(Cell(4, 5), "");
  EXPECT_EQ(Cell(4, 6), "");
}

TEST_F(FieldDataTest, EmptyGridHasNoPoints) {
  PointCount = 12;
  MaxSpacing = 500;
  ComputeFieldData();
  EXPECT_EQ(PointCount, 0);
  EXPECT_EQ(MaxSpacing, 0);
}

TEST_F(FieldDataTest, FiftyRowsOfDataAndTheLargestSpacing) {
  for (int r = 1; r <= 50; ++r) Type(r, "1", QByteArray::number(10 + r).constData(), "10", "10");
  Type(49, "1", "250.4", "10", "10");
  Type(50, "1", "40000", "10", "10");  // beyond the 16-bit range: leaves it
  ComputeFieldData();
  EXPECT_EQ(PointCount, 50);
  EXPECT_EQ(MaxSpacing, 250);
}

TEST_F(FieldDataTest, ShiftingJoinsSegments) {
  struct Case {
    const char* name;
    int16_t shifted;
    std::vector<double> spacings, rhos, expected;
  } cases[] = {
      {"junction at row 3", 1, {10, 20, 20, 30}, {100, 200, 50, 60}, {100, 200, 200, 240}},
      {"shifting off", 0, {10, 20, 20, 30}, {100, 200, 50, 60}, {100, 200, 50, 60}},
      {"repeat in rows 1 and 2 is a plain junction", 1, {10, 10, 20}, {100, 50, 60}, {100, 100, 120}},
      {"two-point segment between junctions",
       1,
       {10, 20, 20, 30, 30, 40},
       {100, 200, 50, 60, 20, 30},
       {100, 200, 173, 60, 69.3, 104}},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(tc.name);
    ResetDataTabState();
    EmptyFieldData();
    LayOutDataGrid();
    ShiftedFlag = tc.shifted;
    TypeResistivities(tc.spacings, tc.rhos);
    // Every run starts again from the unshifted values: a second one agrees.
    for (int run = 0; run < 2; ++run) {
      ComputeFieldData();
      ASSERT_EQ(PointCount, static_cast<int>(tc.expected.size()));
      for (size_t i = 0; i < tc.expected.size(); ++i)
        EXPECT_DOUBLE_EQ(FieldData[i + 1][kRhoApparent], tc.expected[i]) << "run " << run << " row " << i + 1;
    }
  }
}

TEST_F(FieldDataTest, RowsOutOfOrderAreExchanged) {
  Type(1, "1", "20", "10", "100");  // K 627, rho 62.7
  Type(2, "1", "10", "50", "100");  // K 156, rho 78
  FieldData[1][kRhoUnshifted] = 5.0;
  FieldData[2][kRhoUnshifted] = 6.0;
  ComputeFieldData();
  EXPECT_EQ(PointCount, 2);
  EXPECT_DOUBLE_EQ(FieldData[1][kSpacing1], 10);
  EXPECT_DOUBLE_EQ(FieldData[1][kRhoApparent], 78);
  EXPECT_DOUBLE_EQ(FieldData[1][kDeltaV], 50);
  EXPECT_DOUBLE_EQ(FieldData[1][kRhoUnshifted], 6.0);  // column 7 moves with its point
  EXPECT_DOUBLE_EQ(FieldData[2][kSpacing1], 20);
  EXPECT_DOUBLE_EQ(FieldData[2][kRhoApparent], 62.7);
  const char* row1[] = {" 1", " 10", " 50", " 100", " 156", " 78"};
  const char* row2[] = {" 1", " 20", " 10", " 100", " 627", " 62.7"};
  for (int c = 1; c <= 6; ++c) {
    EXPECT_EQ(Cell(1, c), row1[c - 1]) << c;
    EXPECT_EQ(Cell(2, c), row2[c - 1]) << c;
  }
}

TEST_F(FieldDataTest, MarineFloorCorrection) {
  struct Case {
    const char* water;
    double typed, expected;
  } cases[] = {
      {"10", 5, 10},     // 5·10/(10 − 5)
      {"10", 2, 2.5},
      {"1 ohm", .5, 1},  // the leading number of the box
  };
  Marine_floor.Value = 1;
  for (const auto& tc : cases) {
    SCOPED_TRACE(tc.water);
    EmptyFieldData();
    Reau.Text = QString::fromUtf8(tc.water);
    TypeResistivities({10}, {tc.typed});
    ComputeFieldData();
    EXPECT_DOUBLE_EQ(FieldData[1][kRhoApparent], tc.expected);
  }
}

TEST_F(FieldDataTest, MarineFloorRefusesAnEmptyOrZeroWaterResistivity) {
  Marine_floor.Value = 1;
  for (const char* water : {"", "0", "-3"}) {
    SCOPED_TRACE(water);
    EmptyFieldData();
    Reau.Text = QString::fromUtf8(water);
    boxes.answer(MsgAnswer::OK);
    TypeResistivities({10, 20}, {50, 80});
    ComputeFieldData();
    ASSERT_FALSE(boxes.boxes.empty());
    EXPECT_EQ(boxes.boxes.back().text,
              "The water resistivity is empty or zero: the marine floor correction is not applied.");
    EXPECT_EQ(boxes.boxes.back().icon, MsgIcon::Exclamation);
    // The points are kept, uncorrected, instead of all becoming 0.
    EXPECT_EQ(PointCount, 2);
    EXPECT_DOUBLE_EQ(FieldData[2][kRhoApparent], 80);
  }
}

TEST_F(FieldDataTest, MarineFloorRefusesResistivitiesAtOrAboveTheWater) {
  // rho·W/(W − rho): infinite at W, negative above. The computation is
  // refused whole and names the first such row.
  Marine_floor.Value = 1;
  Reau.Text = QStringLiteral("40");
  for (double third : {40.0, 55.0}) {
    SCOPED_TRACE(third);
    EmptyFieldData();
    PointCount = 9;
    MaxSpacing = 77;
    TypeResistivities({10, 20, 30, 40}, {5, 20, third, 10});
    boxes.answer(MsgAnswer::OK);
    ComputeFieldData();
    ASSERT_FALSE(boxes.boxes.empty());
    EXPECT_TRUE(boxes.boxes.back().text.startsWith("Row 3: the apparent resistivity (")) << boxes.boxes.back().text.toStdString();
    EXPECT_TRUE(boxes.boxes.back().text.endsWith("nothing was computed."));
    EXPECT_EQ(PointCount, 9);
    EXPECT_EQ(MaxSpacing, 77);
    EXPECT_TRUE(FieldData[1][kRhoApparent].empty());
    EXPECT_EQ(Cell(1, 6), "5");
    EXPECT_EQ(Cell(1, 5), "");
  }
}

TEST_F(FieldDataTest, TypedResistivityAndTheUnshiftedValue) {
  // Loaded from a file: the unshifted value wins over the shown one.
  Type(1, "", "10", "", "", " 200");
  FieldData[1][kRhoUnshifted] = 50.0;
  // A row just inserted holds the placeholder -1: it becomes 1.
  Type(2, "", "20");
  FieldData[2][kRhoUnshifted] = -1.0;
  // A typed resistivity is taken while the point has no unshifted value.
  Type(3, "", "30", "", "", "75");
  ComputeFieldData();
  EXPECT_EQ(PointCount, 3);
  EXPECT_DOUBLE_EQ(FieldData[1][kRhoApparent], 50);
  EXPECT_DOUBLE_EQ(FieldData[2][kRhoApparent], 1);
  EXPECT_DOUBLE_EQ(FieldData[2][kRhoUnshifted], 1);
  EXPECT_DOUBLE_EQ(FieldData[3][kRhoUnshifted], 75);
}

TEST_F(FieldDataTest, KShownInSixCharactersButNeverLosingIntegerDigits) {
  struct Case {
    vb::Cell k;
    const char* text;
  } cases[] = {
      {62.8317, " 62.83"}, {1234.567, " 1234."}, {15706.0, " 15706"}, {123456.0, " 123456"},
      {-123456.0, "-123456"}, {1e20, " 1E+20"},  {vb::Cell(), ""},   {1.29999995f, " 1.3"},
  };
  for (const auto& tc : cases) EXPECT_EQ(KFactorText(tc.k), QString::fromUtf8(tc.text)) << tc.text;

  Type(1, "0.1", "200", "1", "1");
  ComputeFieldData();
  EXPECT_DOUBLE_EQ(FieldData[1][kKFactor], 628320);
  EXPECT_EQ(Cell(1, 5), " 628320");
}

TEST_F(FieldDataTest, SelectionAndRedrawAreRestored) {
  Type(1, "1", "10", "100", "100");
  GridModel& g = BuildGrid();
  g.setRow(7);
  g.setCol(3);
  ComputeFieldData();
  EXPECT_EQ(g.Row(), 7);
  EXPECT_EQ(g.Col(), 3);
  EXPECT_TRUE(g.Redraw());
}

TEST_F(FieldDataTest, TheComputingControls) {
  int focus = 0;
  int tab = 0;
  DataTabUi().focusGrid = [&] { ++focus; };
  DataTabUi().shownTab = [&] { return tab; };
  Type(1, "1", "10", "100", "100");

  FreshCellFlag = 0;
  Computation_Click();
  EXPECT_EQ(FreshCellFlag, 1);
  EXPECT_DOUBLE_EQ(FieldData[1][kKFactor], 156);
  EXPECT_FALSE(Bilog().Ops().empty());
  EXPECT_EQ(focus, 1);

  Check10.Value = 1;
  Check10_Click();
  EXPECT_EQ(HalfArrayFactor, 2);
  EXPECT_DOUBLE_EQ(FieldData[1][kKFactor], 311);
  EXPECT_EQ(focus, 1);  // the grid takes the focus only on the data tab

  tab = 1;
  TypeResistivities({10, 20, 20}, {100, 200, 50});
  lissbox.Value = 1;
  lissbox_Click();
  EXPECT_EQ(ShiftedFlag, 1);
  EXPECT_DOUBLE_EQ(FieldData[3][kRhoApparent], 200);
  EXPECT_EQ(focus, 2);
}

TEST_F(FieldDataTest, PendingEditsAreComputedBeforeTheLayout) {
  // Typed, not computed: the next layout computes them.
  Type(1, "1", "10", "100", "100");
  BuildGrid().setRow(1);
  BuildGrid().setCol(3);
  FreshCellFlag = 0;
  int16_t key = '0';
  BuildGrid_KeyDown(key, 0);  // ΔV 1000
  EXPECT_TRUE(FieldDataPending());
  Load_build();
  EXPECT_EQ(PointCount, 1);
  EXPECT_DOUBLE_EQ(FieldData[1][kDeltaV], 1000);
  EXPECT_DOUBLE_EQ(FieldData[1][kRhoApparent], 1560);
  EXPECT_FALSE(FieldDataPending());
}

TEST_F(FieldDataTest, RowsTypedBeyondAGapSurviveTheLayout) {
  Type(1, "1", "10", "100", "100");
  Type(3, "1", "30", "100", "100");  // after an empty row 2
  MarkGridEdited();
  Load_build();
  EXPECT_EQ(PointCount, 1);
  EXPECT_EQ(Cell(3, 2), "30");
  EXPECT_EQ(Cell(3, 3), "100");
  // Computed and laid out once more, the rows below the data stay: only the
  // user removes them, or a save of the rows before the empty one.
  Load_build();
  EXPECT_EQ(PointCount, 1);
  EXPECT_EQ(Cell(3, 2), "30");
  EXPECT_EQ(Cell(3, 3), "100");
}

TEST_F(FieldDataTest, AFilledGridIsNotComputedAgain) {
  // A point as read from a file, with an unrounded K: the layout keeps it.
  PointCount = 1;
  FieldData[1][kSpacing1] = 10.0f;
  FieldData[1][kSpacing2] = 1.0f;
  FieldData[1][kDeltaV] = 100.0f;
  FieldData[1][kCurrent] = 100.0f;
  FieldData[1][kKFactor] = 155.5f;
  FieldData[1][kRhoApparent] = 150.0f;
  FillDataGrid();
  Load_build();
  EXPECT_FLOAT_EQ(static_cast<float>(FieldData[1][kKFactor].value()), 155.5f);
  EXPECT_EQ(FieldData[1][kRhoApparent].kind(), vb::Cell::Kind::Single);
}

TEST_F(FieldDataTest, EditsOfASoundingReplacedSinceAreNotComputed) {
  Type(1, "1", "10", "100", "100");
  MarkGridEdited();
  // Another sounding arrives without going through the grid.
  EmptyFieldData();
  PointCount = 1;
  FieldData[1][kSpacing1] = 3.0;
  FieldData[1][kRhoApparent] = 42.0;
  EXPECT_FALSE(ComputePendingFieldData());
  EXPECT_DOUBLE_EQ(FieldData[1][kRhoApparent], 42.0);
  EXPECT_FALSE(FieldDataPending());
}

}  // namespace
}  // namespace tellumo
