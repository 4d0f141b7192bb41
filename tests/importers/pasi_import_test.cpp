#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QString>
#include <optional>
#include <vector>

#include "importers/import_commands.h"
#include "importers/import_frame.h"
#include "importers/pasi_import.h"
#include "mainwindow/field_data.h"
#include "mainwindow/program_state.h"
#include "mainwindow/ui_hooks.h"
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

// AB/2, MN/2, deltaV (µV), I (µA) of a point; resistivity and K stay empty.
struct Point {
  double ab2, mn2, dv, i;
};

void ExpectPoints(const ImportResult& r, const std::vector<Point>& want) {
  ASSERT_EQ(r.sounding.points.size(), want.size());
  for (size_t k = 0; k < want.size(); ++k) {
    const auto& p = r.sounding.points[k];
    EXPECT_DOUBLE_EQ(p[0].value(), want[k].ab2) << "AB/2 of point " << k + 1;
    EXPECT_TRUE(p[1].empty()) << "rho of point " << k + 1;
    EXPECT_DOUBLE_EQ(p[2].value(), want[k].mn2) << "MN/2 of point " << k + 1;
    EXPECT_DOUBLE_EQ(p[3].value(), want[k].dv) << "dV of point " << k + 1;
    EXPECT_TRUE(p[4].empty()) << "K of point " << k + 1;
    EXPECT_DOUBLE_EQ(p[5].value(), want[k].i) << "I of point " << k + 1;
  }
}

const std::vector<Point> kThreePoints = {
    {1.5, 0.5, 1000, 100000},
    {2.5, 0.5, 500, 100000},
    {4, 0.5, 100, 50000},
};

struct ReadCase {
  const char* file;
  std::vector<Point> points;
  std::optional<QString> array;
  int16_t maxSpacing;
};

class PasiRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(PasiRead, GivesTheReadingsInMicroUnits) {
  const ReadCase& c = GetParam();
  const ImportResult r = ReadPasiFile(test::Fixture(c.file));
  EXPECT_EQ(r.outcome, Outcome::Read);
  EXPECT_TRUE(r.messages.isEmpty());
  ExpectPoints(r, c.points);
  EXPECT_EQ(r.sounding.arrayCode, c.array);
  EXPECT_EQ(r.sounding.maxSpacing, c.maxSpacing);
  EXPECT_EQ(r.sounding.instrument, QStringLiteral("PASI"));
  EXPECT_EQ(r.sounding.comment, QStringLiteral("Date : .."));
  for (const QString* t : {&r.sounding.title, &r.sounding.x, &r.sounding.y, &r.sounding.z, &r.sounding.azimuth})
    EXPECT_TRUE(t->isEmpty());
  EXPECT_TRUE(r.sounding.layers.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, PasiRead,
    ::testing::Values(
        ReadCase{"import_pasi_schlumberger.TXT", kThreePoints, QStringLiteral("0"), 1},
        // LF ends, a blank line between rows and blank lines at the end.
        ReadCase{"import_pasi_lf_blank_lines.TXT", kThreePoints, QStringLiteral("0"), 1},
        // Not all capitals: no array; header and rows separated by commas;
        // I = 1 A and deltaV = 0.001 V give 1000000 µA and 1000 µV.
        ReadCase{"import_pasi_mixed_case_commas.TXT", {{1.5, 0.5, 1000, 1000000}, {10, 1, 4, 20000}}, std::nullopt,
                 1},
        // The two header items alone: no readings.
        ReadCase{"import_pasi_header_only.TXT", {}, QStringLiteral("0"), 0}));

struct BadCase {
  const char* name;
  QByteArray bytes;
  size_t points;
  int line;
};

TEST(Pasi, AReadingErrorKeepsTheRowsBeforeIt) {
  const BadCase cases[] = {
      {"empty", QByteArray(), 0, 1},
      {"one header item", QByteArray("SCHLUMBERGER\r\n"), 0, 1},
      {"row cut short", test::Fixture("import_pasi_truncated.TXT"), 2, 5},
      {"not a number", test::Fixture("import_pasi_not_a_number.TXT"), 1, 4},
      {"AB/2 beyond 16 bits", QByteArray("SCHLUMBERGER\r\nd\r\n1 1 0 1 1 0 0\r\n40000 1 0 1 1 0 0\r\n"), 1, 4},
      {"I beyond what a sounding file holds", QByteArray("SCHLUMBERGER\r\nd\r\n1 1 0 1e33 1 0 0\r\n"), 0, 3},
      {"I beyond the double range", QByteArray("SCHLUMBERGER\r\nd\r\n1 1 0 1e305 1 0 0\r\n"), 0, 3},
  };
  for (const BadCase& c : cases) {
    const ImportResult r = ReadPasiFile(c.bytes);
    EXPECT_EQ(r.outcome, Outcome::ReadingError) << c.name;
    EXPECT_EQ(r.sounding.points.size(), c.points) << c.name;
    EXPECT_EQ(r.line, c.line) << c.name;
    EXPECT_TRUE(r.messages.isEmpty()) << c.name;
  }
  ExpectPoints(ReadPasiFile(test::Fixture("import_pasi_truncated.TXT")), {kThreePoints[0], kThreePoints[1]});
}

TEST(Pasi, StopsOneRowPastFiftyOne) {
  const ImportResult r = ReadPasiFile(test::Fixture("import_pasi_52_rows.TXT"));
  EXPECT_EQ(r.outcome, Outcome::Read);
  ASSERT_EQ(r.sounding.points.size(), 52u);
  EXPECT_DOUBLE_EQ(r.sounding.points[51][0].value(), 52.0);
  // The range follows the 51 points kept: 51 m is decade 2.
  EXPECT_EQ(r.sounding.maxSpacing, 2);
}

TEST(Pasi, TemplateRowsFollowTheArray) {
  struct Case {
    const char* file;
    bool wenner;
    std::optional<std::vector<std::pair<std::optional<double>, double>>> rows;
  };
  using Rows = std::vector<std::pair<std::optional<double>, double>>;
  const Case cases[] = {
      // Two numbers a row, blank- or comma-separated.
      {"import_pasi_template_ves.TXT", false, Rows{{1, 0.5}, {1.5, 0.5}, {2, 0.5}, {3, 0.5}}},
      // Wenner: one number a row, the second spacing.
      {"import_pasi_template_wen.TXT", true, Rows{{std::nullopt, 1}, {std::nullopt, 2}, {std::nullopt, 3}}},
      // Three numbers cannot be read as pairs.
      {"import_pasi_template_wen.TXT", false, std::nullopt},
      {"import_pasi_template_not_a_number.TXT", false, std::nullopt},
      {"import_pasi_template_52_rows.TXT", false, std::nullopt},
  };
  for (const Case& c : cases) {
    const auto got = ParsePasiTemplate(test::Fixture(c.file), c.wenner);
    ASSERT_EQ(got.has_value(), c.rows.has_value()) << c.file;
    if (!got) continue;
    ASSERT_EQ(got->size(), c.rows->size()) << c.file;
    for (size_t k = 0; k < got->size(); ++k) {
      const auto& want = (*c.rows)[k];
      if (want.first) EXPECT_DOUBLE_EQ((*got)[k][0].value(), *want.first) << c.file << " row " << k + 1;
      else EXPECT_TRUE((*got)[k][0].empty()) << c.file << " row " << k + 1;
      EXPECT_DOUBLE_EQ((*got)[k][1].value(), want.second) << c.file << " row " << k + 1;
    }
  }
}

TEST(Pasi, TemplateOfFiftyOneRowsIsTakenWhereTheGridsReaderStopsAtFifty) {
  const auto rows = ParsePasiTemplate(test::Fixture("import_pasi_template_51_rows.TXT"), false);
  ASSERT_TRUE(rows.has_value());
  ASSERT_EQ(rows->size(), 51u);
  EXPECT_DOUBLE_EQ((*rows)[50][0].value(), 51.0);
}

TEST(Pasi, AnEmptyTemplateHasNoRows) {
  for (const QByteArray& b : {QByteArray(), QByteArray("\r\n \r\n\x1a")}) {
    const auto rows = ParsePasiTemplate(b, false);
    ASSERT_TRUE(rows.has_value());
    EXPECT_TRUE(rows->empty());
  }
}

// The PASI conversion through the menu: the spacing template first, then
// the data file, saved beside it after the usual question.
class PasiCommandTest : public test::ImportCommandTest {
 protected:
  void SetUp() override {
    ImportCommandTest::SetUp();
    Hooks();
  }
  void Hooks() { Ui().setMainCaption = [this](const QString& c) { captions.push_back(c); }; }
  QString Offer(const QByteArray& bytes, const char* name = "pasi1.TXT") {
    return ImportCommandTest::Offer(bytes, name);
  }
  // A sounding open before, with texts, a model and the dipole array.
  static void OpenSomething() { ImportCommandTest::OpenSomething("1"); }
  std::vector<QString> captions;
};

TEST_F(PasiCommandTest, SavesTheReadingsAndSelectsSchlumberger) {
  OpenSomething();
  Offer(test::Fixture("import_pasi_schlumberger.TXT"));
  boxes.answer(MsgAnswer::Yes);
  PASI_Click();
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "Recording File " + folder + "pasi1.TM3");
  ASSERT_EQ(dialogs.requests.size(), 1u);
  EXPECT_EQ(dialogs.requests[0].filter, "Fichier Tellumo *.TXT    ");
  EXPECT_EQ(dialogs.requests[0].title, "TELLUMO File selection");
  EXPECT_EQ(dialogs.requests[0].fileName, "*.TXT");

  EXPECT_EQ(Read("pasi1.TM3"), test::Fixture("import_pasi_schlumberger.TM3"));
  EXPECT_EQ(PointCount, 3);
  for (int i = 1; i <= 3; ++i) {
    EXPECT_DOUBLE_EQ(FieldData[i][kSpacing1].value(), kThreePoints[i - 1].ab2) << i;
    EXPECT_DOUBLE_EQ(FieldData[i][kCurrent].value(), kThreePoints[i - 1].i) << i;
  }
  EXPECT_EQ(InstrumentName, "PASI");
  EXPECT_EQ(SoundingComment, "Date : ..");
  EXPECT_TRUE(SoundingX.isEmpty());
  EXPECT_FALSE(HasModel());
  // The button, not the code: the code follows when the options are applied.
  EXPECT_EQ(Option1, kTrue);
  EXPECT_EQ(Option2, kFalse);
  EXPECT_EQ(ArrayCode, "1");
  // The template read at once: no caption names it.
  for (const QString& c : captions) EXPECT_FALSE(c.contains(DataTemplateFile)) << c.toStdString();
  EXPECT_EQ(BilogPointer().get(), Pointer::Cross);
}

TEST_F(PasiCommandTest, RefusalsAndCancelLeaveEverythingAsItWas) {
  const struct {
    const char* name;
    QByteArray bytes;  // empty: the dialog is cancelled
    QString box;
  } cases[] = {
      {"cancel", {}, {}},
      {"header only", test::Fixture("import_pasi_header_only.TXT"), NoReadingsText()},
      {"one header item", QByteArray("SCHLUMBERGER"), "Reading File Error ..."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    StartProgram();
    Hooks();
    OpenSomething();
    ModeWord = "before";
    if (c.bytes.isEmpty()) {
      dialogs.cancel();
    } else {
      Offer(c.bytes);
      boxes.answer(MsgAnswer::OK);
    }
    const SoundingSnapshot before = SoundingSnapshot::Take();
    PASI_Click();
    test::ExpectSame(SoundingSnapshot::Take(), before);
    EXPECT_EQ(ModeWord, "before");
    EXPECT_EQ(Option2, kTrue);
    EXPECT_EQ(Option1, kFalse);
    EXPECT_FALSE(QFile::exists(folder + "pasi1.TM3"));
    EXPECT_EQ(BilogPointer().get(), Pointer::Cross);
    if (c.box.isEmpty()) {
      EXPECT_TRUE(boxes.boxes.empty());
    } else {
      ASSERT_EQ(boxes.boxes.size(), 1u);
      EXPECT_EQ(boxes.boxes[0].text, c.box);
    }
    boxes.boxes.clear();
  }
}

TEST_F(PasiCommandTest, ATemplateThatCannotBeReadIsLocatedFirst) {
  const QString good = Put(test::Fixture("import_pasi_template_ves.TXT"), "located.TXT");
  const QString bad = Put(test::Fixture("import_pasi_template_52_rows.TXT"), "bad.TXT");
  const QString missing = folder + "DATAVES.TXT";
  const struct {
    const char* name;
    QString current;  // DataTemplateFile before
    std::optional<QString> located;  // nothing: the locating dialog is cancelled
    std::vector<QString> boxes;
    bool converted;
  } cases[] = {
      {"missing, located", missing, good,
       {"File " + missing + " is wrong or not found.  Find it and verify...", "Recording File " + folder + "pasi1.TM3"},
       true},
      {"too many rows, located", bad, good,
       {"File " + bad + " is wrong or not found.  Find it and verify...", "Recording File " + folder + "pasi1.TM3"},
       true},
      {"missing, cancelled", missing, std::nullopt, {"File " + missing + " is wrong or not found.  Find it and verify..."},
       false},
      {"missing, a bad one located", missing, bad,
       {"File " + missing + " is wrong or not found.  Find it and verify...", "File " + bad + " is corrupted...."},
       false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    StartProgram();
    Hooks();
    captions.clear();
    QFile::remove(folder + "pasi1.TM3");
    OpenSomething();
    ModeWord = "before";
    DataTemplateFile = c.current;
    if (c.located) dialogs.choose(*c.located);
    else dialogs.cancel();
    if (c.converted) Offer(test::Fixture("import_pasi_schlumberger.TXT"));
    for (size_t k = 0; k < c.boxes.size(); ++k) boxes.answer(k + 1 == c.boxes.size() && c.converted ? MsgAnswer::Yes : MsgAnswer::OK);
    const SoundingSnapshot before = SoundingSnapshot::Take();
    PASI_Click();

    ASSERT_EQ(boxes.boxes.size(), c.boxes.size());
    for (size_t k = 0; k < c.boxes.size(); ++k) EXPECT_EQ(boxes.boxes[k].text, c.boxes[k]) << k;
    EXPECT_EQ(boxes.boxes[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(dialogs.requests[0].filter, "AB/MN File (*.TXT)|*.TXT");
    EXPECT_EQ(dialogs.requests[0].title, "AB/MN file location");
    EXPECT_EQ(dialogs.requests[0].fileName, "*.TXT");
    // A located file stays the template, whatever comes of the conversion.
    EXPECT_EQ(DataTemplateFile, c.located ? *c.located : c.current);
    if (c.located) {
      ASSERT_FALSE(captions.empty());
      EXPECT_EQ(captions.front(), "Tellumo 6.4 [" + *c.located + "]");
    } else {
      EXPECT_TRUE(captions.empty());
    }
    EXPECT_EQ(QFile::exists(folder + "pasi1.TM3"), c.converted);
    if (c.converted) {
      EXPECT_EQ(PointCount, 3);
      EXPECT_TRUE(ModeWord.isEmpty());
    } else {
      test::ExpectSame(SoundingSnapshot::Take(), before);
      EXPECT_EQ(ModeWord, "before");
    }
    EXPECT_EQ(BilogPointer().get(), Pointer::Cross);
    boxes.boxes.clear();
  }
}

TEST_F(PasiCommandTest, TheWennerTemplateHasOneSpacingARow) {
  // Under Wenner the pairs of DATAVES are read one number a row, so any
  // count of numbers reads; a Schlumberger template of three numbers does
  // not.
  Option1 = kFalse;
  Option3 = kTrue;
  DataTemplateFile = test::FixturePath("import_pasi_template_wen.TXT");
  Offer(test::Fixture("import_pasi_schlumberger.TXT"));
  boxes.answer(MsgAnswer::Yes);
  PASI_Click();
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(PointCount, 3);
  EXPECT_EQ(Option1, kTrue);
}

TEST_F(PasiCommandTest, AReadingErrorShowsThePasiTextAndOffersTheRowsBeforeIt) {
  for (const bool spanish : {false, true}) {
    SCOPED_TRACE(spanish);
    StartProgram();
    IsSpanish = spanish ? kTrue : kFalse;
    QFile::remove(folder + "pasi1.TM3");  // not the question before replacing it
    Offer(test::Fixture("import_pasi_truncated.TXT"));
    boxes.answer(MsgAnswer::OK);
    boxes.answer(MsgAnswer::Yes);
    PASI_Click();
    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_EQ(boxes.boxes[0].text, spanish ? "Error de lecture fichero ..." : "Reading File Error ...");
    EXPECT_EQ(PointCount, 2);
    EXPECT_EQ(Read("pasi1.TM3"), SoundingFileV5Bytes());
    boxes.boxes.clear();
  }
}

TEST_F(PasiCommandTest, MoreThanFiftyOneRowsKeepTheFirstFiftyOne) {
  Offer(test::Fixture("import_pasi_52_rows.TXT"));
  boxes.answer(MsgAnswer::OK);
  boxes.answer(MsgAnswer::Yes);
  PASI_Click();
  ASSERT_EQ(boxes.boxes.size(), 2u);
  EXPECT_EQ(boxes.boxes[0].text, FirstPointsOnlyText());
  EXPECT_EQ(PointCount, 51);
}

TEST_F(PasiCommandTest, ComputingTheDataTabAfterwardsKeepsThePoints) {
  Offer(test::Fixture("import_pasi_schlumberger.TXT"));
  boxes.answer(MsgAnswer::Yes);
  PASI_Click();
  ASSERT_EQ(PointCount, 3);
  Computation_Click();
  ASSERT_EQ(PointCount, 3);
  for (int i = 1; i <= 3; ++i) {
    EXPECT_DOUBLE_EQ(FieldData[i][kSpacing1].value(), kThreePoints[i - 1].ab2) << i;
    EXPECT_DOUBLE_EQ(FieldData[i][kSpacing2].value(), kThreePoints[i - 1].mn2) << i;
    EXPECT_DOUBLE_EQ(FieldData[i][kDeltaV].value(), kThreePoints[i - 1].dv) << i;
    EXPECT_DOUBLE_EQ(FieldData[i][kCurrent].value(), kThreePoints[i - 1].i) << i;
  }
  // The computation fills the resistivity the file does not give.
  EXPECT_GT(FieldData[1][kRhoApparent].value(), 0.0);
}

}  // namespace
}  // namespace tellumo
