#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>
#include <array>
#include <vector>

#include <QDir>
#include <QFile>

#include "importers/astier_import.h"
#include "importers/import_commands.h"
#include "mainwindow/field_data.h"
#include "mainwindow/program_state.h"
#include "mainwindow/ui_hooks.h"
#include "modelling/engine_hooks.h"
#include "modelling/modelling_state.h"
#include "platform/pointer_state.h"
#include "sounding/sounding_record.h"
#include "sounding/sounding_snapshot.h"
#include "support/fixtures.h"
#include "support/import_fixture.h"
#include "support/saving_fixture.h"
#include "support/snapshot_expect.h"

namespace tellumo {
namespace {

using Outcome = ImportResult::Outcome;

// AB/2 and rho of each point; the other four columns are 0.
void ExpectPairs(const ImportedSounding& s, const std::vector<std::array<float, 2>>& pairs, const char* where) {
  ASSERT_EQ(s.points.size(), pairs.size()) << where;
  for (size_t i = 0; i < pairs.size(); ++i) {
    EXPECT_EQ(s.points[i][0].value(), pairs[i][0]) << where << ", point " << i + 1;
    EXPECT_EQ(s.points[i][1].value(), pairs[i][1]) << where << ", point " << i + 1;
    for (size_t c = 2; c < 6; ++c) EXPECT_EQ(s.points[i][c].value(), 0.0) << where << ", point " << i + 1;
    for (size_t c = 0; c < 6; ++c) EXPECT_EQ(s.points[i][c].kind(), vb::Cell::Kind::Single) << where;
  }
}

const std::vector<std::array<float, 2>> kThreePairs = {{0.25f, 35.5f}, {1.5f, 12.5f}, {10.0f, 120.0f}};

class AstierParseTest : public test::StateTest {};

TEST_F(AstierParseTest, ReadsTheTextsAndThePairs) {
  const ImportResult r = ParseAstier(test::Fixture("import_astier_three_pairs.dat"));
  EXPECT_EQ(r.outcome, Outcome::Read);
  EXPECT_TRUE(r.messages.isEmpty());
  ExpectPairs(r.sounding, kThreePairs, "fixture");
  // A profile name holding a blank stays whole.
  EXPECT_EQ(r.sounding.comment, "Profil P3 nord SEV No 12");
  EXPECT_EQ(r.sounding.instrument, "");
  EXPECT_EQ(r.sounding.title, "2");
  EXPECT_EQ(r.sounding.x, "0");
  EXPECT_EQ(r.sounding.y, "0");
  EXPECT_EQ(r.sounding.z, "245");
  EXPECT_EQ(r.sounding.azimuth, "");
  EXPECT_FALSE(r.sounding.arrayCode.has_value());
}

TEST_F(AstierParseTest, EveryValueIsAnItemOfItsOwn) {
  const struct {
    const char* name;
    QByteArray bytes;
  } cases[] = {
      {"one value per line, LF ends", "P3 nord\n12\n245\n0\n0\n0\n3\n0.25\n35.5\n1.5\n12.5\n10\n120\n"},
      {"commas, pairs on one line", "P3 nord,12,245\r\n0,0,0,3\r\n0.25,35.5,1.5,12.5,10,120\r\n"},
      {"trailing blank lines", test::Fixture("import_astier_three_pairs.dat") + "\r\n\r\n"},
      {"quoted name", "\"P3 nord\"\r\n12\r\n245\r\n0 0 0\r\n3\r\n0.25 35.5 1.5 12.5 10 120"},
  };
  for (const auto& c : cases) {
    const ImportResult r = ParseAstier(c.bytes);
    EXPECT_EQ(r.outcome, Outcome::Read) << c.name;
    EXPECT_EQ(r.sounding.comment, "Profil P3 nord SEV No 12") << c.name;
    EXPECT_EQ(r.sounding.z, "245") << c.name;
    ExpectPairs(r.sounding, kThreePairs, c.name);
  }
}

TEST_F(AstierParseTest, ACommaInTheNameShiftsEveryLaterItem) {
  const ImportResult r = ParseAstier("P3,nord\r\n12\r\n245\r\n0 0 0\r\n3\r\n0.25 35.5\r\n");
  EXPECT_EQ(r.sounding.comment, "Profil P3 SEV No nord");
  EXPECT_EQ(r.sounding.z, "12");
  // 245 and two zeros are the three numbers; the last zero is the count.
  EXPECT_EQ(r.outcome, Outcome::Read);
  EXPECT_TRUE(r.sounding.points.empty());
}

TEST_F(AstierParseTest, BadFilesAreRefusedOrKeepThePairsBeforeTheFault) {
  const QByteArray head = "P3\r\n12\r\n245\r\n0 0 0\r\n";
  QByteArray sixty = head + "60\r\n";
  for (int i = 1; i <= 60; ++i) sixty += QByteArray::number(i) + " 100\r\n";
  const struct {
    const char* name;
    QByteArray bytes;
    Outcome outcome;
    int line;
    size_t points;
  } cases[] = {
      {"empty", "", Outcome::ReadingError, 1, 0},
      {"texts only", "P3\r\n12\r\n245\r\n", Outcome::ReadingError, 4, 0},
      {"header only", head + "3\r\n", Outcome::ReadingError, 6, 0},
      {"count not a number", head + "three\r\n1 10\r\n", Outcome::ReadingError, 5, 0},
      {"negative count", head + "-1\r\n1 10\r\n", Outcome::ReadingError, 5, 0},
      {"no pairs", head + "0\r\n", Outcome::Read, 0, 0},
      {"fewer pairs than the count", head + "3\r\n1 10\r\n2 20\r\n", Outcome::ReadingError, 8, 2},
      {"value not a number", head + "3\r\n1 10\r\n2 x\r\n3 30\r\n", Outcome::ReadingError, 7, 1},
      {"resistivity the sounding file cannot hold", head + "2\r\n1 10\r\n2 1e37\r\n", Outcome::ReadingError, 7, 1},
      {"over 51 pairs", sixty, Outcome::Read, 0, 52},
  };
  for (const auto& c : cases) {
    const ImportResult r = ParseAstier(c.bytes);
    EXPECT_EQ(r.outcome, c.outcome) << c.name;
    EXPECT_EQ(r.line, c.line) << c.name;
    EXPECT_EQ(r.sounding.points.size(), c.points) << c.name;
    EXPECT_TRUE(r.messages.isEmpty()) << c.name;
  }
}


// The Astier conversion through the menu: the sounding file written beside
// the dat file, then opened on the data tab; the array in force stays.
class AstierCommandTest : public test::ImportCommandTest {
 protected:
  void SetUp() override {
    ImportCommandTest::SetUp();
    Ui().showTab = [this](int t) { tabs.push_back(t); };
  }
  void Offer(const QByteArray& bytes) { ImportCommandTest::Offer(bytes, "sev12.dat"); }
  // A sounding open before, with texts, a model and the Wenner array.
  static void OpenSomething() { ImportCommandTest::OpenSomething("2"); }
  std::vector<int> tabs;
};

TEST_F(AstierCommandTest, WritesTheSoundingFileKeepingTheAzimuthAndOpensIt) {
  OpenSomething();
  Offer(test::Fixture("import_astier_three_pairs.dat"));
  astier_Click();
  EXPECT_TRUE(boxes.boxes.empty());
  ASSERT_EQ(dialogs.requests.size(), 1u);
  EXPECT_EQ(dialogs.requests[0].kind, DialogKind::Open);
  EXPECT_EQ(dialogs.requests[0].filter, "Fichier Astier *.dat");
  EXPECT_EQ(dialogs.requests[0].title, "ASTIER file selection");
  EXPECT_EQ(dialogs.requests[0].fileName, "*.dat");
  EXPECT_EQ(Read("sev12.TM3"), test::Fixture("import_astier_three_pairs.TM3"));
  EXPECT_EQ(FilePath, folder + "sev12.TM3");
  EXPECT_EQ(FileTitle, "sev12.TM3");
  EXPECT_EQ(PointCount, 3);
  EXPECT_EQ(LayerCount, 0);
  EXPECT_EQ(SoundingComment, "Profil P3 nord SEV No 12");
  EXPECT_EQ(InstrumentName, "");
  EXPECT_EQ(GraphTitle, "2");
  EXPECT_EQ(SoundingX, "0");
  EXPECT_EQ(SoundingY, "0");
  EXPECT_EQ(SoundingZ, "245");
  EXPECT_EQ(SoundingAzimuth, "N45");
  EXPECT_EQ(ArrayCode, "2");
  EXPECT_EQ(Option3, kTrue);
  EXPECT_EQ(tabs, std::vector<int>({1}));
  EXPECT_EQ(BilogPointer().get(), Pointer::Cross);

  // A second import of the same file replaces it after the question.
  QFile::remove(folder + "sev12.dat");
  Offer("Q1\r\n7\r\n100\r\n0 0 0\r\n1\r\n2 50\r\n");
  boxes.answer(MsgAnswer::Yes);
  astier_Click();
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "The file " + folder + "sev12.TM3 already exists. Replace it?");
  EXPECT_EQ(SoundingComment, "Profil Q1 SEV No 7");
  EXPECT_EQ(PointCount, 1);
  EXPECT_TRUE(Read("sev12.TM3").startsWith("1.5\r\n20,5000,0,0,0,0\r\n"));
}

TEST_F(AstierCommandTest, RefusalsAndCancelLeaveEverythingAsItWas) {
  const struct {
    const char* name;
    QByteArray bytes;  // empty: the dialog is cancelled
    QString box;
  } cases[] = {
      {"cancel", {}, {}},
      {"no pairs", "P3\r\n12\r\n245\r\n0 0 0\r\n0\r\n", "The file holds no readings: nothing was converted."},
      {"count not a number", "P3\r\n12\r\n245\r\n0 0 0\r\nn\r\n1 10\r\n", "Reading File Error ..."},
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
    astier_Click();
    test::ExpectSame(SoundingSnapshot::Take(), before);
    EXPECT_EQ(ModeWord, "before");
    EXPECT_FALSE(QFile::exists(folder + "sev12.TM3"));
    EXPECT_TRUE(tabs.empty());
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

TEST_F(AstierCommandTest, FewerPairsThanTheCountGiveThePairsReadAfterTheError) {
  Offer("P3\r\n12\r\n245\r\n0 0 0\r\n3\r\n1 10\r\n2 20\r\n");
  boxes.answer(MsgAnswer::OK);
  astier_Click();
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "Reading File Error ...");
  EXPECT_EQ(PointCount, 2);
  EXPECT_TRUE(Read("sev12.TM3").startsWith("2.5\r\n10,1000,0,0,0,0\r\n20,2000,0,0,0,0\r\n0,0,0\r\n"));
}

TEST_F(AstierCommandTest, ComputingTheDataTabAfterwardsKeepsThePoints) {
  Offer(test::Fixture("import_astier_three_pairs.dat"));
  astier_Click();
  ASSERT_EQ(PointCount, 3);
  Computation_Click();
  ASSERT_EQ(PointCount, 3);
  for (int i = 1; i <= 3; ++i) {
    EXPECT_FLOAT_EQ(FieldData[i][kSpacing1].value(), kThreePairs[i - 1][0]) << i;
    EXPECT_FLOAT_EQ(FieldData[i][kRhoApparent].value(), kThreePairs[i - 1][1]) << i;
  }
}

}  // namespace
}  // namespace tellumo
