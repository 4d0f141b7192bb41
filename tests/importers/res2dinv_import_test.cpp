#include "importers/res2dinv_import.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iterator>

#include "platform/language.h"
#include "platform/vb.h"
#include "sounding/sounding_record.h"
#include "support/fixtures.h"

namespace tellumo {
namespace {

TEST(Res2dinvImport, HeaderRefusalsAndReadingErrors) {
  struct Case {
    const char* bytes;
    const char* message;
    bool readingError;
  } cases[] = {
      {"T\n5\n2\n3\n0\n0\n", "Only for Wenner spread", false},
      {"T\n5\n1\n5001\n0\n0\n", "Max. 5000 mesures", false},
      {"T\n5\n4\n5000\n0\n1\n", "Not for IP surveys", false},
      {"", "Error during reading", true},
      {"T\n5\n1\n3\n0\n0\n0 5 10\n5 5 12\n", "Error during reading", true},  // a row missing
      {"T\n5\n1\n2\n0\n0\n0 5 abc\n5 5 12\n", "Error during reading", true},
      {"T\nfive\n1\n", "Error during reading", true},
  };
  for (const Case& c : cases) {
    const Res2dinvRead r = ReadRes2dinvBytes(QByteArray(c.bytes));
    EXPECT_EQ(r.message, QString(c.message)) << c.bytes;
    EXPECT_EQ(r.readingError, c.readingError) << c.bytes;
  }
}

TEST(Res2dinvImport, TheTitleIsReadWholeAndRowsStandAtTheirCentres) {
  const Res2dinvRead r = ReadRes2dinvBytes(test::Fixture("import_res2dinv_three_levels.dat"));
  ASSERT_TRUE(r.ok()) << r.message.toStdString();
  EXPECT_EQ(r.data.title, QString("Line 7, north part"));
  EXPECT_FLOAT_EQ(r.data.unitSpacing, 5.0F);
  ASSERT_EQ(r.data.rows.size(), 7U);  // nothing after row N is read
  EXPECT_DOUBLE_EQ(r.data.rows[0][0], 0.0);
  EXPECT_DOUBLE_EQ(r.data.rows[5][0], 46.0);
  EXPECT_DOUBLE_EQ(r.data.rows[6][2], 70.0);
}

TEST(Res2dinvImport, BlanksAndCommasSeparateRowsAlike) {
  const Res2dinvRead blanks = ReadRes2dinvBytes("T\n5 1 2 0 0\n0 5 10\n5   5 12\n");
  const Res2dinvRead commas = ReadRes2dinvBytes("T\n5,1,2,0,0\n0,5,10,5,5,12\n");
  ASSERT_TRUE(blanks.ok());
  ASSERT_TRUE(commas.ok());
  EXPECT_EQ(blanks.data.rows, commas.data.rows);
}

TEST(Res2dinvImport, LevelsAreRunsOfOneSpacingAndTheLastRowIsNoPartOfTheExtent) {
  Res2dinvData d;
  d.unitSpacing = 1.0F;
  d.rows = {{0, 5, 1}, {10, 5, 1}, {4, 10, 1}, {3, 5, 1}, {900, 5, 1}};
  Res2dinvExtent e;
  ASSERT_TRUE(MeasureRes2dinv(d, e));
  EXPECT_EQ(e.levelCounts, (std::vector<int>{2, 1, 2}));
  EXPECT_DOUBLE_EQ(e.xmin, 0.0);
  EXPECT_DOUBLE_EQ(e.xmax, 10.0);
  EXPECT_EQ(e.k0, 1);
}

TEST(Res2dinvImport, AnExtentWithoutRangeOrFiftyOneLevelsIsAnError) {
  Res2dinvExtent e;
  Res2dinvData two;
  two.rows = {{0, 5, 1}, {10, 5, 1}};
  EXPECT_FALSE(MeasureRes2dinv(two, e));
  Res2dinvData still;
  still.rows = {{3, 5, 1}, {3, 6, 1}, {3, 7, 1}, {9, 8, 1}};
  EXPECT_FALSE(MeasureRes2dinv(still, e));
  Res2dinvData wide;  // the coordinates along it would overflow
  wide.rows = {{-1e304, 5, 1}, {1e304, 5, 1}, {0, 5, 1}};
  EXPECT_FALSE(MeasureRes2dinv(wide, e));
  Res2dinvData levels;
  for (int i = 0; i < 51; ++i) levels.rows.push_back({double(i), double(i + 1), 1.0});
  EXPECT_FALSE(MeasureRes2dinv(levels, e));
  levels.rows.pop_back();
  EXPECT_TRUE(MeasureRes2dinv(levels, e));
}

TEST(Res2dinvImport, WindowsAveragePerLevelWithBoundsIncluded) {
  const Res2dinvRead r = ReadRes2dinvBytes(test::Fixture("import_res2dinv_three_levels.dat"));
  Res2dinvExtent e;
  ASSERT_TRUE(MeasureRes2dinv(r.data, e));
  EXPECT_DOUBLE_EQ(e.range(), 100.0);
  EXPECT_EQ(e.k0, 1);
  struct Point {
    double a, rho;
  };
  struct Case {
    int s;
    std::vector<Point> points;
    const char* y;
  } cases[] = {
      // Level 1 windows are 25 m wide; level 2 is trimmed to 17.5 m from
      // xmin + 15, level 3 to 10 m from xmin + 30. The centre at 25 lies on
      // the boundary and counts in soundings 1 and 2.
      {1, {{5, 15}, {10, 40}}, " 12.5"},
      {2, {{5, 20}, {10, 50}, {15, 60}}, " 37.5"},
      {3, {}, " 62.5"},
      {4, {{5, 30}}, " 87.5"},
  };
  for (const Case& c : cases) {
    const ImportedSounding s = ExtractSounding(r.data, e, c.s, 4, 0.0F, 12.5F).sounding;
    ASSERT_EQ(s.points.size(), c.points.size()) << c.s;
    for (size_t i = 0; i < c.points.size(); ++i) {
      EXPECT_DOUBLE_EQ(s.points[i][0].value(), c.points[i].a) << c.s;
      EXPECT_DOUBLE_EQ(s.points[i][1].value(), c.points[i].rho) << c.s;
      EXPECT_TRUE(s.points[i][2].empty());
    }
    EXPECT_EQ(s.x, QString(" 0"));
    EXPECT_EQ(s.y, QString(c.y));
    EXPECT_EQ(s.z, QString("12.5"));
    EXPECT_EQ(s.azimuth, QString("0"));
    EXPECT_EQ(s.title, QString("Line 7, north part"));
    EXPECT_TRUE(s.comment.isEmpty() && s.instrument.isEmpty());
    EXPECT_EQ(s.maxSpacing, 2);
  }
}

TEST(Res2dinvImport, ADeepLevelIsPlacedBeforeItsWidthIsRaised) {
  // range 100, u 5, k0 1: level 4 is 2.5 m wide, placed from xmin + 45 in
  // steps of 2.5 m, then widened to 10 m.
  Res2dinvData d;
  d.unitSpacing = 5.0F;
  d.rows = {{0, 1, 1}, {100, 1, 1}, {0, 2, 1}, {0, 3, 1}, {54.9, 4, 7}, {57.6, 4, 9}, {0, 4, 0}};
  Res2dinvExtent e;
  ASSERT_TRUE(MeasureRes2dinv(d, e));
  ASSERT_EQ(e.levelCounts.size(), 4U);
  const ImportedSounding s2 = ExtractSounding(d, e, 2, 4, 0.0F, 0.0F).sounding;  // [47.5, 57.5]
  ASSERT_FALSE(s2.points.empty());
  EXPECT_DOUBLE_EQ(s2.points.back()[1].value(), 7.0);
  const ImportedSounding s3 = ExtractSounding(d, e, 3, 4, 0.0F, 0.0F).sounding;  // [50, 60]
  EXPECT_DOUBLE_EQ(s3.points.back()[1].value(), 8.0);
}

TEST(Res2dinvImport, CoordinatesFollowTheAzimuthFloored) {
  Res2dinvData d;
  d.unitSpacing = 1.0F;
  d.rows = {{0, 1, 10}, {100, 1, 10}, {0, 1, 10}};
  Res2dinvExtent e;
  ASSERT_TRUE(MeasureRes2dinv(d, e));
  // n = 1: one sounding over the whole extent, d = range / 2.
  const ImportedSounding east = ExtractSounding(d, e, 1, 1, 90.0F, -3.0F).sounding;
  EXPECT_EQ(east.y, QString(" 0"));
  EXPECT_EQ(east.z, QString("-3"));
  EXPECT_EQ(east.azimuth, QString("90"));
  const ImportedSounding south = ExtractSounding(d, e, 1, 1, 180.0F, 0.0F).sounding;
  EXPECT_EQ(south.y, QString("-50"));
}

// One level of unit spacing 1 over 5 m: one sounding's window.
bool FiveMetreLine(Res2dinvData& d, Res2dinvExtent& e) {
  d.unitSpacing = 1.0F;
  d.rows = {{0, 1, 10}, {5, 1, 10}, {0, 1, 10}};
  return MeasureRes2dinv(d, e);
}

// The coordinates of every sounding of a line 5 m long cut into 25, against
// the order of products worked out here: (10000 sin θ) · range ·
// (s/n − 1/(2n)), floored at the fourth decimal, added to the first
// electrode. Taken in another order, four of the offsets at azimuth 0 end
// one unit lower or higher in their last digit.
TEST(Res2dinvImport, CoordinatesAreTheFirstElectrodePlusTheOffsetInTheirOrderOfProducts) {
  Res2dinvData d;
  Res2dinvExtent e;
  ASSERT_TRUE(FiveMetreLine(d, e));
  ASSERT_EQ(e.range(), 5.0);
  const int n = 25;
  const struct {
    float x, y;
  } firsts[] = {{0, 0}, {1000, 2000}};
  for (const float azimuth : {0.0F, 30.0F, 90.0F}) {
    for (const auto& first : firsts) {
      for (int s = 1; s <= n; ++s) {
        const double theta = azimuth * 0.01745329;
        const double east = 10000.0 * std::sin(theta);
        const double north = 10000.0 * std::cos(theta);
        const double middle = static_cast<double>(s) / n - 1.0 / (2.0 * n);
        const QString x = vb::Str(double(first.x) + std::floor(east * 5.0 * middle) / 10000.0);
        const QString y = vb::Str(double(first.y) + std::floor(north * 5.0 * middle) / 10000.0);
        const ImportedSounding got = ExtractSounding(d, e, s, n, azimuth, 0.0F, first.x, first.y).sounding;
        EXPECT_EQ(got.x, x) << azimuth << " " << first.x << " " << s;
        EXPECT_EQ(got.y, y) << azimuth << " " << first.x << " " << s;
      }
    }
  }
  const struct {
    int s;
    float firstY;
    const char* y;
  } pinned[] = {{3, 0, " .5"}, {9, 0, " 1.7"}, {15, 0, " 2.8999"}, {24, 0, " 4.7"}, {3, 2000, " 2000.5"},
                {15, 2000, " 2002.8999"}};
  for (const auto& p : pinned)
    EXPECT_EQ(ExtractSounding(d, e, p.s, n, 0.0F, 0.0F, 1000.0F, p.firstY).sounding.y, QString(p.y)) << p.s;
  EXPECT_EQ(ExtractSounding(d, e, 3, n, 0.0F, 0.0F, 1000.0F, 0.0F).sounding.x, QString(" 1000"));
}

// The first electrode counts as typed: a coordinate with decimals does not
// bring the digits of its single-precision form into X and Y.
TEST(Res2dinvImport, AFirstElectrodeWithDecimalsGivesItsOwnDigits) {
  Res2dinvData d;
  Res2dinvExtent e;
  ASSERT_TRUE(FiveMetreLine(d, e));
  const struct {
    float azimuth, x, y;
    const char *wantX, *wantY;
  } cases[] = {{0.0F, 0.1F, 12.3F, " .1", " 14.8"},
               {90.0F, 1234.56F, -7.7F, " 1237.0599", "-7.7"},
               {0.0F, -0.3F, 0.7F, "-.3", " 3.2"}};
  for (const auto& c : cases) {
    const ImportedSounding s = ExtractSounding(d, e, 1, 1, c.azimuth, 0.0F, c.x, c.y).sounding;
    EXPECT_EQ(s.x, QString(c.wantX)) << c.x;
    EXPECT_EQ(s.y, QString(c.wantY)) << c.y;
  }
}

// The same soundings from a data set given by its midpoints (item 5 = 1) as
// from the same set given by its first electrodes (item 5 = 0): midpoints
// stand where they are, first electrodes move 1.5 a along the line.
TEST(Res2dinvImport, MidpointsAndFirstElectrodesOfOneDataSetExtractTheSameSoundings) {
  const struct {
    double first, a, rho;
  } rows[] = {{0, 2, 10}, {2, 2, 12}, {4, 2, 14}, {6, 2, 16}, {8, 2, 18}, {10, 2, 20},
              {0, 4, 30}, {2, 4, 32}, {4, 4, 34}, {0, 6, 50}, {2, 6, 52}, {0, 6, 50}};
  auto file = [&](int xLocation) {
    QByteArray bytes = "Line\r\n2\r\n1\r\n" + QByteArray::number(std::size(rows)) + "\r\n" +
                       QByteArray::number(xLocation) + "\r\n0\r\n";
    for (const auto& r : rows) {
      const double x = xLocation == 1 ? r.first + 1.5 * r.a : r.first;
      bytes += QByteArray::number(x) + " " + QByteArray::number(r.a) + " " + QByteArray::number(r.rho) + "\r\n";
    }
    return bytes;
  };
  const Res2dinvRead firsts = ReadRes2dinvBytes(file(0));
  const Res2dinvRead midpoints = ReadRes2dinvBytes(file(1));
  ASSERT_TRUE(firsts.ok() && midpoints.ok());
  EXPECT_EQ(firsts.data.rows, midpoints.data.rows);
  EXPECT_DOUBLE_EQ(midpoints.data.rows[0][0], 3.0);
  Res2dinvExtent e1, e2;
  ASSERT_TRUE(MeasureRes2dinv(firsts.data, e1));
  ASSERT_TRUE(MeasureRes2dinv(midpoints.data, e2));
  const int n = 3;
  for (int s = 1; s <= n; ++s) {
    const ImportedSounding a = ExtractSounding(firsts.data, e1, s, n, 30.0F, 5.0F, 100.0F, 200.0F).sounding;
    const ImportedSounding b = ExtractSounding(midpoints.data, e2, s, n, 30.0F, 5.0F, 100.0F, 200.0F).sounding;
    ASSERT_FALSE(a.points.empty()) << s;
    ASSERT_EQ(a.points.size(), b.points.size()) << s;
    for (size_t i = 0; i < a.points.size(); ++i) {
      EXPECT_EQ(a.points[i][0].value(), b.points[i][0].value()) << s;
      EXPECT_EQ(a.points[i][1].value(), b.points[i][1].value()) << s;
    }
    EXPECT_EQ(a.x, b.x);
    EXPECT_EQ(a.y, b.y);
  }
}

TEST(Res2dinvImport, ASmallExtentStillGivesAComputationRange) {
  Res2dinvData d;
  d.unitSpacing = 0.1F;
  d.rows = {{0, 0.1, 10}, {2, 0.1, 10}, {0, 0.1, 10}};
  Res2dinvExtent e;
  ASSERT_TRUE(MeasureRes2dinv(d, e));
  EXPECT_EQ(ExtractSounding(d, e, 1, 1, 0.0F, 0.0F).sounding.maxSpacing, 1);
}

TEST(Res2dinvImport, TargetNamesNumberTheSoundingsBesideTheDataFile) {
  EXPECT_EQ(Res2dinvTargetName("/lines/p1.dat", 1), QString("/lines/p1_ 1.TM3"));
  EXPECT_EQ(Res2dinvTargetName("/lines/p1.dat", 12), QString("/lines/p1_ 12.TM3"));
  EXPECT_EQ(Res2dinvTargetName("/lines/p1.data", 2), QString("/lines/p1._ 2.TM3"));
  EXPECT_EQ(Res2dinvTargetName("/lines/ab", 3), QString("/lines/ab_ 3.TM3"));
}

TEST(Res2dinvImport, TheDialogKeepsItsValuesAndTakesLeadingNumbers) {
  ResetRes2dinvState();
  IsFrench = kFalse;
  IsSpanish = kFalse;
  R2diForm f = MakeR2diForm();
  EXPECT_EQ(f.Label1, QString("Number of soundings to extract (max. 100)"));
  EXPECT_EQ(f.Label4, QString("Altitude"));
  f.Text1 = " 2.5";
  f.Text2 = "10m";
  f.Text3 = "x";
  f.Text4 = "4 5";
  f.Text5 = "-12.25";
  R2DI_par_Command1_Click(f);
  EXPECT_EQ(ExtractCount, 2);  // halves to even
  EXPECT_FLOAT_EQ(FirstElectrodeX, 10.0F);
  EXPECT_FLOAT_EQ(FirstElectrodeY, 0.0F);
  EXPECT_FLOAT_EQ(LineAzimuth, 45.0F);
  EXPECT_FLOAT_EQ(LineAltitude, -12.25F);
  IsFrench = kTrue;
  const R2diForm again = MakeR2diForm();
  EXPECT_EQ(again.Label3, QString("Azimut"));
  EXPECT_EQ(again.Text1, QString("2"));
  EXPECT_EQ(again.Text5, QString("-12.25"));
  IsFrench = kFalse;
  ResetRes2dinvState();
}

}  // namespace
}  // namespace tellumo
