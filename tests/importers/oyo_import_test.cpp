#include <gtest/gtest.h>

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <array>
#include <vector>

#include <QDir>
#include <QFile>

#include "importers/import_commands.h"
#include "importers/oyo_import.h"
#include "mainwindow/field_data.h"
#include "mainwindow/main_controls_state.h"
#include "mainwindow/program_state.h"
#include "mainwindow/ui_hooks.h"
#include "modelling/engine_hooks.h"
#include "modelling/modelling_state.h"
#include "platform/pointer_state.h"
#include "sounding/sounding_record.h"
#include "sounding/sounding_snapshot.h"
#include "support/file_variants.h"
#include "support/fixtures.h"
#include "support/import_fixture.h"
#include "support/saving_fixture.h"
#include "support/snapshot_expect.h"

namespace tellumo {
namespace {

using Row = std::array<double, 6>;  // AB/2, rho, MN/2, dV, K, I
using Outcome = ImportResult::Outcome;

const std::vector<Row> kThreeRows = {
    {1.5f, 12.5f, 0.5f, 250, 0, 100}, {0.25f, 35.5f, 0.1f, 40, 0, 50}, {0.75f, 8.25f, 0.2f, 10, 0, 20}};

void ExpectPoints(const ImportedSounding& s, const std::vector<Row>& rows, const char* where) {
  ASSERT_EQ(s.points.size(), rows.size()) << where;
  for (size_t i = 0; i < rows.size(); ++i)
    for (size_t c = 0; c < 6; ++c) {
      EXPECT_EQ(s.points[i][c].value(), rows[i][c]) << where << ", point " << i + 1 << ", column " << c + 1;
      // Single cells: the sounding file writes each as the single it is.
      EXPECT_EQ(s.points[i][c].kind(), vb::Cell::Kind::Single) << where;
    }
}

// The fixture with line `index` (from 0) replaced by `line` (CR LF added).
QByteArray WithLine(size_t index, const QByteArray& line) {
  test::Lines lines = test::SplitLines(test::Fixture("import_oyo_three_rows.csv"));
  lines.at(index) = line + "\r\n";
  return test::Join(lines);
}

QByteArray DataRow(int no, double ab2) {
  return QByteArray::number(no) + "," + QByteArray::number(ab2) + ",0.5,100,250,0,12.5,0,0,0,0,OK,-\r\n";
}

class OyoParseTest : public test::StateTest {};

TEST_F(OyoParseTest, ReadsTheRowsAndTheArray) {
  const ImportResult r = ParseOyo(test::Fixture("import_oyo_three_rows.csv"));
  EXPECT_EQ(r.outcome, Outcome::Read);
  EXPECT_TRUE(r.messages.isEmpty());
  ExpectPoints(r.sounding, kThreeRows, "fixture");
  EXPECT_EQ(r.sounding.arrayCode, QString("0"));
  for (const QString* t : {&r.sounding.comment, &r.sounding.instrument, &r.sounding.title, &r.sounding.x,
                           &r.sounding.y, &r.sounding.z, &r.sounding.azimuth})
    EXPECT_TRUE(t->isEmpty());
  EXPECT_TRUE(r.sounding.layers.empty());
}

TEST_F(OyoParseTest, TheArrayWordIsExactAndAnUnknownOneIsTold) {
  const struct {
    const char* word;
    const char* code;
    bool warned;
  } cases[] = {{"SCHLUMBERGER", "0", false}, {"DIPOLE_DIPOLE", "1", false}, {"WENNER", "2", false},
               {"wenner", "2", true},        {"schlumberger", "2", true},   {"POLE_POLE", "2", true}};
  for (const auto& c : cases) {
    const ImportResult r = ParseOyo(WithLine(9, QByteArray("Array,") + c.word));
    EXPECT_EQ(r.outcome, Outcome::Read) << c.word;
    EXPECT_EQ(r.sounding.arrayCode, QString(c.code)) << c.word;
    const QStringList warning = {QString("Unknown array type \"%1\": the sounding is taken as Wenner.").arg(c.word)};
    EXPECT_EQ(r.messages, c.warned ? warning : QStringList()) << c.word;
    EXPECT_EQ(r.sounding.points.size(), 3u) << c.word;
  }
}

TEST_F(OyoParseTest, LayoutsOfTheSameFileReadAlike) {
  const QByteArray fixture = test::Fixture("import_oyo_three_rows.csv");
  QByteArray lf = fixture;
  lf.replace("\r\n", "\n");
  const QByteArray blanks = WithLine(14, "1 1.5 0.5  100 250 0 12.5 0 0 0 0,OK,-");
  const struct {
    const char* name;
    QByteArray bytes;
  } cases[] = {{"LF ends", lf}, {"trailing blank line", fixture + "\r\n"}, {"blank-separated numbers", blanks}};
  for (const auto& c : cases) {
    const ImportResult r = ParseOyo(c.bytes);
    EXPECT_EQ(r.outcome, Outcome::Read) << c.name;
    ExpectPoints(r.sounding, kThreeRows, c.name);
  }
}

TEST_F(OyoParseTest, BadFilesAreRefusedOrKeepTheRowsBeforeTheFault) {
  const QByteArray fixture = test::Fixture("import_oyo_three_rows.csv");
  const test::Lines lines = test::SplitLines(fixture);
  QByteArray sixty = WithLine(10, "Count,60");
  sixty = test::Join(test::SplitLines(sixty), 0, 14);
  for (int i = 1; i <= 60; ++i) sixty += DataRow(i, i);
  const struct {
    const char* name;
    QByteArray bytes;
    Outcome outcome;
    int line;
    size_t points;
    QStringList messages;
  } cases[] = {
      {"empty", "", Outcome::ReadingError, 1, 0, {}},
      {"cut before the mode", test::Join(lines, 0, 3), Outcome::ReadingError, 4, 0, {}},
      {"header only", test::Join(lines, 0, 14), Outcome::ReadingError, 15, 0, {}},
      {"mode in lower case", WithLine(4, "Mode,resistivity"), Outcome::Refused, 5, 0, {"Only resistivity mode"}},
      {"count not a number", WithLine(10, "Count,three"), Outcome::ReadingError, 11, 0, {}},
      {"negative count", WithLine(10, "Count,-2"), Outcome::ReadingError, 11, 0, {}},
      {"count beyond 16 bits", WithLine(10, "Count,40000"), Outcome::ReadingError, 11, 0, {}},
      {"no rows", WithLine(10, "Count,0"), Outcome::Read, 0, 0, {}},
      {"fewer rows than the count", WithLine(10, "Count,5"), Outcome::ReadingError, 18, 3, {}},
      {"item not a number", WithLine(15, "2,0.25,0.1,fifty,40,0,35.5,0,0,0,0,OK,-"), Outcome::ReadingError, 16, 1, {}},
      {"resistivity the sounding file cannot hold", WithLine(15, "2,0.25,0.1,50,40,0,1e37,0,0,0,0,OK,-"),
       Outcome::ReadingError, 16, 1, {}},
      {"truncated row", test::Join(lines, 0, 16) + "3,0.75,0.2", Outcome::ReadingError, 17, 2, {}},
      {"over 51 rows", sixty, Outcome::Read, 0, 52, {}},
  };
  for (const auto& c : cases) {
    const ImportResult r = ParseOyo(c.bytes);
    EXPECT_EQ(r.outcome, c.outcome) << c.name;
    EXPECT_EQ(r.line, c.line) << c.name;
    EXPECT_EQ(r.sounding.points.size(), c.points) << c.name;
    EXPECT_EQ(r.messages, c.messages) << c.name;
  }
}


// The OYO conversion through the menu: the sounding file written beside the
// csv file, then opened on the data tab.
class OyoCommandTest : public test::ImportCommandTest {
 protected:
  void SetUp() override {
    ImportCommandTest::SetUp();
    Ui().showTab = [this](int t) { tabs.push_back(t); };
  }
  QString Offer(const QByteArray& bytes, const char* name = "line1.csv") {
    return ImportCommandTest::Offer(bytes, name);
  }
  void Write(const QString& name, const QByteArray& bytes) { Put(bytes, name); }
  // A sounding open before, with texts, a model and the dipole array.
  static void OpenSomething() { ImportCommandTest::OpenSomething("1"); }
  std::vector<int> tabs;
};

TEST_F(OyoCommandTest, WritesTheSoundingFileAndOpensItOnTheDataTab) {
  OpenSomething();
  Offer(test::Fixture("import_oyo_three_rows.csv"));
  OYO_Click();
  EXPECT_TRUE(boxes.boxes.empty());
  ASSERT_EQ(dialogs.requests.size(), 1u);
  EXPECT_EQ(dialogs.requests[0].kind, DialogKind::Open);
  EXPECT_EQ(dialogs.requests[0].filter, "File OYO *.csv");
  EXPECT_EQ(dialogs.requests[0].title, "OYO file selection");
  EXPECT_EQ(dialogs.requests[0].fileName, "*.csv");
  EXPECT_EQ(Read("line1.TM3"), test::Fixture("import_oyo_three_rows.TM3"));
  EXPECT_EQ(FilePath, folder + "line1.TM3");
  EXPECT_EQ(FileTitle, "line1.TM3");
  EXPECT_EQ(PointCount, 3);
  EXPECT_EQ(FieldData[2][kSpacing1].value(), 0.25f);
  EXPECT_EQ(LayerCount, 0);
  EXPECT_TRUE(SoundingComment.isEmpty());
  EXPECT_TRUE(SoundingAzimuth.isEmpty());
  EXPECT_EQ(ArrayCode, "0");
  EXPECT_EQ(Text4.Text, "Schlumberger");
  EXPECT_EQ(Option1, kTrue);
  EXPECT_EQ(Option2, kFalse);
  EXPECT_EQ(tabs, std::vector<int>({1}));
  EXPECT_EQ(BilogPointer().get(), Pointer::Cross);
}

TEST_F(OyoCommandTest, AnExistingSoundingFileIsReplacedOnlyAfterAsking) {
  for (const MsgAnswer answer : {MsgAnswer::No, MsgAnswer::Yes}) {
    // Each round starts from a saved sounding (the first leaves its import
    // unsaved, which the second would otherwise ask about).
    SoundingModified = kFalse;
    Write("line1.TM3", "older file\r\n");
    Offer(test::Fixture("import_oyo_three_rows.csv"));
    boxes.answer(answer);
    OYO_Click();
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "The file " + folder + "line1.TM3 already exists. Replace it?");
    EXPECT_EQ(boxes.boxes[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(Read("line1.TM3"),
              answer == MsgAnswer::Yes ? test::Fixture("import_oyo_three_rows.TM3") : QByteArray("older file\r\n"));
    EXPECT_EQ(tabs.size(), answer == MsgAnswer::Yes ? 1u : 0u);
    boxes.boxes.clear();
  }
}

TEST_F(OyoCommandTest, RefusalsAndCancelLeaveEverythingAsItWas) {
  const QByteArray fixture = test::Fixture("import_oyo_three_rows.csv");
  QByteArray lowerMode = fixture;
  lowerMode.replace("Mode,Resistivity", "Mode,resistivity");
  QByteArray noRows = fixture;
  noRows.replace("Count,3", "Count,0");
  QByteArray badCount = fixture;
  badCount.replace("Count,3", "Count,-3");
  const struct {
    const char* name;
    QByteArray bytes;  // empty: the dialog is cancelled
    QString box;
  } cases[] = {
      {"cancel", {}, {}},
      {"mode", lowerMode, "Only resistivity mode"},
      {"no rows", noRows, "The file holds no readings: nothing was converted."},
      {"negative count", badCount, "Reading File Error ..."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    StartProgram();
    Ui().showTab = [this](int t) { tabs.push_back(t); };
    OpenSomething();
    ModeWord = "before";
    if (c.bytes.isEmpty()) {
      dialogs.cancel();
    } else {
      Offer(c.bytes);
      boxes.answer(MsgAnswer::OK);
    }
    const SoundingSnapshot before = SoundingSnapshot::Take();
    OYO_Click();
    test::ExpectSame(SoundingSnapshot::Take(), before);
    EXPECT_EQ(ModeWord, "before");
    EXPECT_EQ(ArrayCode, "1");
    EXPECT_EQ(Option2, kTrue);
    EXPECT_FALSE(QFile::exists(folder + "line1.TM3"));
    EXPECT_TRUE(tabs.empty());
    EXPECT_EQ(BilogPointer().get(), Pointer::Cross);
    if (c.box.isEmpty()) {
      EXPECT_TRUE(boxes.boxes.empty());
    } else {
      ASSERT_EQ(boxes.boxes.size(), 1u);
      EXPECT_EQ(boxes.boxes[0].text, c.box);
      // The reader's own box for another mode: OK only, no icon, the
      // application's caption rather than the program title.
      if (c.box == "Only resistivity mode") {
        EXPECT_EQ(boxes.boxes[0].buttons, MsgButtons::OK);
        EXPECT_EQ(boxes.boxes[0].icon, MsgIcon::None);
        EXPECT_EQ(boxes.boxes[0].caption, QCoreApplication::applicationName());
        EXPECT_NE(boxes.boxes[0].caption, ProgramTitle);
      }
    }
    boxes.boxes.clear();
  }
}

TEST_F(OyoCommandTest, AFailedWriteIsToldAndOpensNothing) {
  // A folder in the sounding file's place cannot be replaced by the file.
  ASSERT_TRUE(QDir(folder).mkdir("line1.TM3"));
  OpenSomething();
  Offer(test::Fixture("import_oyo_three_rows.csv"));
  boxes.answer(MsgAnswer::Yes);
  boxes.answer(MsgAnswer::OK);
  OYO_Click();
  ASSERT_EQ(boxes.boxes.size(), 2u);
  EXPECT_EQ(boxes.boxes[1].text, "Recording File Error...");
  EXPECT_TRUE(tabs.empty());
  EXPECT_NE(FileTitle, "line1.TM3");
}

TEST_F(OyoCommandTest, ComputingTheDataTabAfterwardsKeepsThePoints) {
  Offer(test::Fixture("import_oyo_three_rows.csv"));
  OYO_Click();
  ASSERT_EQ(PointCount, 3);
  Computation_Click();
  ASSERT_EQ(PointCount, 3);
  for (size_t i = 0; i < kThreeRows.size(); ++i) {
    // Sorted by spacing on opening: 0.25, 0.75, 1.5.
    const auto& row = kThreeRows[i == 0 ? 1 : i == 1 ? 2 : 0];
    EXPECT_FLOAT_EQ(FieldData[i + 1][kSpacing1].value(), row[0]) << i;
    EXPECT_FLOAT_EQ(FieldData[i + 1][kSpacing2].value(), row[2]) << i;
    EXPECT_FLOAT_EQ(FieldData[i + 1][kDeltaV].value(), row[3]) << i;
    EXPECT_FLOAT_EQ(FieldData[i + 1][kCurrent].value(), row[5]) << i;
  }
}

}  // namespace
}  // namespace tellumo
