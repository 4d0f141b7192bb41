#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QString>
#include <optional>
#include <vector>

#include "importers/import_commands.h"
#include "importers/import_frame.h"
#include "importers/sas1000_import.h"
#include "mainwindow/field_data.h"
#include "mainwindow/program_state.h"
#include "modelling/engine_hooks.h"
#include "modelling/modelling_state.h"
#include "platform/pointer_state.h"
#include "sounding/sounding_file.h"
#include "sounding/sounding_record.h"
#include "sounding/sounding_snapshot.h"
#include "support/fixtures.h"
#include "support/import_fixture.h"
#include "support/saving_fixture.h"
#include "support/snapshot_expect.h"

namespace tellumo {
namespace {

using Outcome = ImportResult::Outcome;

// Expected point: AB/2, rho, MN/2, deltaV (mV), K, I; nullopt for a cell the
// file leaves empty.
struct Point {
  std::optional<double> ab2, rho, mn2, dv, k, i;
};

void ExpectCell(const vb::Cell& c, std::optional<double> v, const char* what, size_t row) {
  if (!v) {
    EXPECT_TRUE(c.empty()) << what << " of point " << row + 1 << " is " << c.value();
  } else {
    EXPECT_FALSE(c.empty()) << what << " of point " << row + 1;
    EXPECT_DOUBLE_EQ(c.value(), *v) << what << " of point " << row + 1;
  }
}

void ExpectPoints(const ImportResult& r, const std::vector<Point>& want) {
  ASSERT_EQ(r.sounding.points.size(), want.size());
  for (size_t i = 0; i < want.size(); ++i) {
    const auto& p = r.sounding.points[i];
    ExpectCell(p[0], want[i].ab2, "AB/2", i);
    ExpectCell(p[1], want[i].rho, "rho", i);
    ExpectCell(p[2], want[i].mn2, "MN/2", i);
    ExpectCell(p[3], want[i].dv, "dV", i);
    ExpectCell(p[4], want[i].k, "K", i);
    ExpectCell(p[5], want[i].i, "I", i);
  }
}

struct ReadCase {
  const char* file;
  std::vector<Point> points;
  int16_t maxSpacing;
};

class Sas1000Read : public ::testing::TestWithParam<ReadCase> {};

TEST_P(Sas1000Read, GivesThePointsOfTheGeometry) {
  const ReadCase& c = GetParam();
  const ImportResult r = ReadSas1000File(test::Fixture(c.file));
  EXPECT_EQ(r.outcome, Outcome::Read);
  EXPECT_TRUE(r.messages.isEmpty());
  ExpectPoints(r, c.points);
  EXPECT_EQ(r.sounding.maxSpacing, c.maxSpacing);
  EXPECT_TRUE(r.sounding.layers.empty());
  EXPECT_FALSE(r.sounding.arrayCode.has_value());
}

const std::vector<Point> kIndexCode10 = {
    {7, 12.5, 1, 500, 0, 0.1},
    {11, 20, 1, 250, 0, 0.2},
    {22, 35.5, 2, 10, 0, 0.05},
};

INSTANTIATE_TEST_SUITE_P(
    Fixtures, Sas1000Read,
    ::testing::Values(
        // a (2p + q) / 2 and a q / 2; deltaV from V to mV.
        ReadCase{"import_sas1000_index_code10.amp", kIndexCode10, 1},
        ReadCase{"import_sas1000_index_lf_blank_line.amp", kIndexCode10, 1},
        // a p, and MN/2 0.
        ReadCase{"import_sas1000_index_code1.amp", {{3, 100, 0, 4, 0, 0.1}, {15, 150.5, 0, 2, 0, 0.2}}, 1},
        // xN - xM, whatever the current electrodes; a row with commas too.
        ReadCase{"import_sas1000_xyz_code2.amp", {{10, 12.5, 0, 500, 0, 0.1}, {40, 30.25, 0, 20, 0, 0.2}}, 2},
        // (xB - xA) / 2 and (xN - xM) / 2.
        ReadCase{"import_sas1000_xyz_code10.amp", {{15, 12.5, 1, 500, 0, 0.1}}, 1},
        // An array code without a geometry: the spacings stay empty.
        ReadCase{"import_sas1000_code4.amp", {{std::nullopt, 12.5, std::nullopt, 500, 0, 0.1}}, 0}));

TEST(Sas1000, StationTextsKeepTheirBlanksAndTheOtherTextsStayEmpty) {
  const ImportResult r = ReadSas1000File(test::Fixture("import_sas1000_index_code10.amp"));
  EXPECT_EQ(r.sounding.x, QStringLiteral("    612345.50"));
  EXPECT_EQ(r.sounding.y, QStringLiteral("   4512345.25"));
  EXPECT_EQ(r.sounding.z, QStringLiteral("       123.4"));
  EXPECT_TRUE(r.sounding.comment.isEmpty());
  EXPECT_TRUE(r.sounding.instrument.isEmpty());
  EXPECT_TRUE(r.sounding.title.isEmpty());
  EXPECT_TRUE(r.sounding.azimuth.isEmpty());
}

// A header of 27 lines with the station line and the three header values
// given, then the rows.
QByteArray Amp(const char* station, const char* count, const char* code, const char* type, const char* spacing,
               std::initializer_list<const char*> rows) {
  QByteArray b = "first\r\nsecond\r\nthird\r\n";
  b += QByteArray(station) + "\r\n";
  b += QByteArray(43, 'n') + count + "\r\n";
  b += "sixth\r\nseventh\r\n";
  b += QByteArray(31, '.') + code + "\r\n";
  b += QByteArray(31, '.') + type + "\r\n";
  b += QByteArray(31, '.') + spacing + "\r\n";
  for (int k = 11; k <= 27; ++k) b += "filler\r\n";
  for (const char* row : rows) b += QByteArray(row) + "\r\n";
  return b;
}

TEST(Sas1000, StationColumnsCountFromTheFirstCharacterAfterTheBlanks) {
  struct Case {
    QByteArray station;
    const char* x;
    const char* y;
    const char* z;
  };
  const QByteArray prefix(31, 's');
  const Case cases[] = {
      // Leading blanks are skipped before the columns are counted.
      {"   " + prefix + "1111111111111" + "2222222222222" + "333333333333", "1111111111111", "2222222222222",
       "333333333333"},
      // 57 characters: no Z.
      {prefix + "1111111111111" + "2222222222222", "1111111111111", "2222222222222", ""},
      // 62 characters: a shorter Z.
      {prefix + "1111111111111" + "2222222222222" + "33333", "1111111111111", "2222222222222", "33333"},
      // Shorter than column 32: nothing.
      {"short", "", "", ""},
  };
  for (const Case& c : cases) {
    const ImportResult r = ReadSas1000File(Amp(c.station.constData(), "1", "1", "Index", "1", {"1 1 0 2 0 0.1 0.004 100 0"}));
    EXPECT_EQ(r.outcome, Outcome::Read) << c.station.constData();
    EXPECT_EQ(r.sounding.x, QString::fromLatin1(c.x)) << c.station.constData();
    EXPECT_EQ(r.sounding.y, QString::fromLatin1(c.y)) << c.station.constData();
    EXPECT_EQ(r.sounding.z, QString::fromLatin1(c.z)) << c.station.constData();
  }
}

TEST(Sas1000, HeaderValuesAreTakenOnlyFromTheirColumns) {
  // The count a column too early and the values beyond column 32 read as
  // nothing: no fallback to another place in the line.
  const QByteArray b = Amp("station", "2", " 1", "Index", "   2", {"1 1 0 3 0 0.1 0.5 10 0", "2 1 0 5 0 0.1 0.5 10 0"});
  const ImportResult r = ReadSas1000File(b);
  EXPECT_EQ(r.outcome, Outcome::Read);
  ExpectPoints(r, {{6, 10, 0, 500, 0, 0.1}, {10, 10, 0, 500, 0, 0.1}});

  // A code written two columns late leaves columns 32 and 33 blank: code 0,
  // which has no geometry.
  const ImportResult late = ReadSas1000File(Amp("station", "1", "  10", "Index", "2", {"1 1 0 3 1 0.1 0.5 10 0"}));
  ExpectPoints(late, {{std::nullopt, 10, std::nullopt, 500, 0, 0.1}});
}

struct BadCase {
  const char* name;
  QByteArray bytes;
  Outcome outcome;
  size_t points;
  int line;
  QString message;
};

TEST(Sas1000, MalformedFilesSayWhatHappened) {
  const QString type = Sas1000CoordinateTypeText();
  const BadCase cases[] = {
      {"empty", QByteArray(), Outcome::ReadingError, 0, 1, {}},
      {"header only", test::Fixture("import_sas1000_header_only.amp"), Outcome::ReadingError, 0, 28, {}},
      {"truncated in a row", test::Fixture("import_sas1000_truncated.amp"), Outcome::ReadingError, 2, 30, {}},
      {"not a number", test::Fixture("import_sas1000_not_a_number.amp"), Outcome::ReadingError, 1, 29, {}},
      {"lower-case index", test::Fixture("import_sas1000_lowercase_index.amp"), Outcome::Refused, 0, 9, type},
      {"XYZ:2", test::Fixture("import_sas1000_xyz2.amp"), Outcome::Refused, 0, 9, type},
      {"negative count", test::Fixture("import_sas1000_negative_count.amp"), Outcome::Refused, 0, 5, QString()},
      {"count not a number", test::Fixture("import_sas1000_count_not_a_number.amp"), Outcome::Refused, 0, 5,
       QString()},
      {"count beyond 16 bits", Amp("s", "40000", "1", "Index", "1", {}), Outcome::ReadingError, 0, 5, {}},
      {"spacing beyond 16 bits", Amp("s", "2", "1", "Index", "1", {"1 1 0 2 0 0.1 1 5 0", "1 1 0 40000 0 0.1 1 5 0"}),
       Outcome::ReadingError, 1, 29, {}},
      {"I beyond what a sounding file holds", Amp("s", "1", "1", "Index", "1", {"1 1 0 2 0 1e39 1 5 0"}),
       Outcome::ReadingError, 0, 28, {}},
      {"deltaV beyond the double range", Amp("s", "1", "1", "Index", "1", {"1 1 0 2 0 0.1 1e306 5 0"}),
       Outcome::ReadingError, 0, 28, {}},
  };
  for (const BadCase& c : cases) {
    const ImportResult r = ReadSas1000File(c.bytes);
    EXPECT_EQ(r.outcome, c.outcome) << c.name;
    EXPECT_EQ(r.sounding.points.size(), c.points) << c.name;
    EXPECT_EQ(r.line, c.line) << c.name;
    if (c.outcome == Outcome::Refused) {
      ASSERT_EQ(r.messages.size(), 1) << c.name;
      if (!c.message.isEmpty()) EXPECT_EQ(r.messages[0], c.message) << c.name;
    } else {
      EXPECT_TRUE(r.messages.isEmpty()) << c.name;
    }
  }
}

TEST(Sas1000, ReadingsBeforeAnErrorAreKept) {
  const ImportResult r = ReadSas1000File(test::Fixture("import_sas1000_truncated.amp"));
  ExpectPoints(r, {kIndexCode10[0], kIndexCode10[1]});
}

TEST(Sas1000, NoReadingsAnnouncedReadsNothingWhateverTheType) {
  const ImportResult r = ReadSas1000File(Amp("s", "0", "10", "bogus", "2", {}));
  EXPECT_EQ(r.outcome, Outcome::Read);
  EXPECT_TRUE(r.sounding.points.empty());
}

TEST(Sas1000, StopsOneReadingPastFiftyOne) {
  const ImportResult r = ReadSas1000File(test::Fixture("import_sas1000_53_readings.amp"));
  EXPECT_EQ(r.outcome, Outcome::Read);
  ASSERT_EQ(r.sounding.points.size(), 52u);
  EXPECT_DOUBLE_EQ(r.sounding.points[50][0].value(), 51.0);
  EXPECT_DOUBLE_EQ(r.sounding.points[51][0].value(), 52.0);
  // The range follows the points kept: 51 m is decade 2.
  EXPECT_EQ(r.sounding.maxSpacing, 2);
}

TEST(Sas1000, MaxSpacingIsTheDecadeOfTheLargestRoundedSpacing) {
  struct Case {
    const char* p;
    int16_t decade;
  };
  // 0 for 1 to 3 m, 1 for 4 to 31 m, 2 for 32 to 316 m, 3 for 317 to 3161 m.
  const Case cases[] = {{"3", 0}, {"3.4", 0}, {"4", 1}, {"31", 1}, {"32", 2}, {"316", 2}, {"317", 3}, {"3161", 3}};
  for (const Case& c : cases) {
    const QByteArray row = QByteArray("1 1 0 ") + c.p + " 0 0.1 0.5 10 0";
    const ImportResult r = ReadSas1000File(Amp("s", "1", "1", "Index", "1", {row.constData()}));
    EXPECT_EQ(r.sounding.maxSpacing, c.decade) << c.p;
  }
}

// The SAS1000 conversion through the menu: the sounding saved beside the
// .amp file after the usual question.
class Sas1000CommandTest : public test::ImportCommandTest {
 protected:
  QString Offer(const QByteArray& bytes, const char* name = "station1.amp") {
    return ImportCommandTest::Offer(bytes, name);
  }
  // A sounding open before, with texts, a model and the dipole array.
  static void OpenSomething() { ImportCommandTest::OpenSomething("1"); }
  QString RecordingQuestion() const { return "Recording File " + folder + "station1.TM3"; }
};

TEST_F(Sas1000CommandTest, SavesTheReadingsBesideTheFile) {
  OpenSomething();
  Offer(test::Fixture("import_sas1000_index_code10.amp"));
  boxes.answer(MsgAnswer::Yes);
  SAS1000_Click();
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, RecordingQuestion());
  EXPECT_EQ(boxes.boxes[0].buttons, MsgButtons::YesNo);
  EXPECT_EQ(dialogs.requests[0].filter, "Fichier Tellumo *.amp");
  EXPECT_EQ(dialogs.requests[0].title, "TELLUMO File selection");
  EXPECT_EQ(dialogs.requests[0].fileName, "*.amp");

  EXPECT_EQ(Read("station1.TM3"), test::Fixture("import_sas1000_index_code10.TM3"));
  EXPECT_EQ(FilePath, folder + "station1.TM3");
  EXPECT_EQ(PointCount, 3);
  for (int i = 1; i <= 3; ++i) {
    EXPECT_DOUBLE_EQ(FieldData[i][kSpacing1].value(), *kIndexCode10[i - 1].ab2) << i;
    EXPECT_DOUBLE_EQ(FieldData[i][kDeltaV].value(), *kIndexCode10[i - 1].dv) << i;
  }
  // Nothing of the sounding before: no model, no texts; the array buttons
  // are not the file's business.
  EXPECT_EQ(LayerCount, 0);
  EXPECT_FALSE(HasModel());
  EXPECT_TRUE(SoundingComment.isEmpty());
  EXPECT_TRUE(InstrumentName.isEmpty());
  EXPECT_TRUE(SoundingAzimuth.isEmpty());
  EXPECT_EQ(SoundingX, "    612345.50");
  EXPECT_EQ(ArrayCode, "1");
  EXPECT_EQ(Option2, kTrue);
  EXPECT_EQ(MaxSpacing, 1);
  EXPECT_EQ(BilogPointer().get(), Pointer::Cross);
}

TEST_F(Sas1000CommandTest, RefusalsAndCancelLeaveEverythingAsItWas) {
  const struct {
    const char* name;
    QByteArray bytes;  // empty: the dialog is cancelled
    QString box;
    MsgIcon icon;
  } cases[] = {
      {"cancel", {}, {}, MsgIcon::None},
      {"lower-case index", test::Fixture("import_sas1000_lowercase_index.amp"),
       "Coordinate types other than Index and XYZ:1 not supported", MsgIcon::None},
      {"negative count", test::Fixture("import_sas1000_negative_count.amp"),
       "The number of readings in the file is not valid: nothing was converted.", MsgIcon::Exclamation},
      {"count not a number", test::Fixture("import_sas1000_count_not_a_number.amp"),
       "The number of readings in the file is not valid: nothing was converted.", MsgIcon::Exclamation},
      {"no readings", Amp("s", "0", "10", "Index", "2", {}), NoReadingsText(), MsgIcon::Exclamation},
      {"header only", test::Fixture("import_sas1000_header_only.amp"), "Reading File Error ...",
       MsgIcon::Exclamation},
      {"empty file", QByteArray(" "), "Reading File Error ...", MsgIcon::Exclamation},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    StartProgram();
    OpenSomething();
    ModeWord = "before";
    if (c.bytes.isEmpty()) {
      dialogs.cancel();
    } else {
      Offer(c.bytes);
      boxes.answer(MsgAnswer::OK);
    }
    const SoundingSnapshot before = SoundingSnapshot::Take();
    SAS1000_Click();
    test::ExpectSame(SoundingSnapshot::Take(), before);
    EXPECT_EQ(ModeWord, "before");
    EXPECT_EQ(ArrayCode, "1");
    EXPECT_EQ(Option2, kTrue);
    EXPECT_FALSE(QFile::exists(folder + "station1.TM3"));
    EXPECT_EQ(BilogPointer().get(), Pointer::Cross);
    if (c.box.isEmpty()) {
      EXPECT_TRUE(boxes.boxes.empty());
    } else {
      ASSERT_EQ(boxes.boxes.size(), 1u);
      EXPECT_EQ(boxes.boxes[0].text, c.box);
      EXPECT_EQ(boxes.boxes[0].icon, c.icon);
      EXPECT_EQ(boxes.boxes[0].buttons, MsgButtons::OK);
    }
    boxes.boxes.clear();
  }
}

TEST_F(Sas1000CommandTest, AReadingErrorOffersTheReadingsBeforeIt) {
  for (const bool french : {false, true}) {
    SCOPED_TRACE(french);
    StartProgram();
    IsFrench = french ? kTrue : kFalse;
    OpenSomething();
    QFile::remove(folder + "station1.TM3");  // not the question before replacing it
    Offer(test::Fixture("import_sas1000_truncated.amp"));
    boxes.answer(MsgAnswer::OK);
    boxes.answer(MsgAnswer::Yes);
    SAS1000_Click();
    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_EQ(boxes.boxes[0].text, french ? "Erreur lors de la lecture du fichier..." : "Reading File Error ...");
    EXPECT_EQ(boxes.boxes[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(PointCount, 2);
    EXPECT_TRUE(FieldData[3][kSpacing1].empty());
    EXPECT_TRUE(QFile::exists(folder + "station1.TM3"));
    EXPECT_EQ(Read("station1.TM3"), SoundingFileV5Bytes());
    boxes.boxes.clear();
  }
}

TEST_F(Sas1000CommandTest, MoreThanFiftyOneReadingsKeepTheFirstFiftyOne) {
  Offer(test::Fixture("import_sas1000_53_readings.amp"));
  boxes.answer(MsgAnswer::OK);
  boxes.answer(MsgAnswer::Yes);
  SAS1000_Click();
  ASSERT_EQ(boxes.boxes.size(), 2u);
  EXPECT_EQ(boxes.boxes[0].text, FirstPointsOnlyText());
  EXPECT_EQ(PointCount, 51);
  EXPECT_DOUBLE_EQ(FieldData[51][kSpacing1].value(), 51.0);
  EXPECT_TRUE(QFile::exists(folder + "station1.TM3"));
}

TEST_F(Sas1000CommandTest, ComputingTheDataTabAfterwardsKeepsThePoints) {
  Offer(test::Fixture("import_sas1000_xyz_code2.amp"));
  boxes.answer(MsgAnswer::Yes);
  SAS1000_Click();
  ASSERT_EQ(PointCount, 2);
  Computation_Click();
  ASSERT_EQ(PointCount, 2);
  EXPECT_DOUBLE_EQ(FieldData[1][kSpacing1].value(), 10.0);
  EXPECT_DOUBLE_EQ(FieldData[2][kSpacing1].value(), 40.0);
  EXPECT_DOUBLE_EQ(FieldData[1][kDeltaV].value(), 500.0);
  EXPECT_DOUBLE_EQ(FieldData[2][kCurrent].value(), 0.2);
}

}  // namespace
}  // namespace tellumo
