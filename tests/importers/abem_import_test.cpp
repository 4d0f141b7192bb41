#include "importers/abem_import.h"

#include <gtest/gtest.h>

#include <QFile>
#include <vector>

#include "importers/import_commands.h"
#include "importers/import_frame.h"
#include "mainwindow/field_data.h"
#include "modelling/modelling_state.h"
#include "modelling/engine_hooks.h"
#include "platform/text_file.h"
#include "sounding/sounding_file.h"
#include "sounding/open_save.h"
#include "sounding/sounding_record.h"
#include "sounding/sounding_snapshot.h"
#include "support/fixtures.h"
#include "support/saving_fixture.h"
#include "support/snapshot_expect.h"

namespace tellumo {
namespace {

using Outcome = ImportResult::Outcome;

struct Point {
  double ab2, rho;
};
struct Layer {
  double rho, thickness, depth;
};

TEST(AbemParser, FixturesGivePointsLayersAndName) {
  struct Case {
    const char* fixture;
    Outcome outcome;
    QString comment;
    std::vector<Point> points;
    std::vector<Layer> layers;
    int maxSpacing;
    int line;  // where reading stopped or the file was refused
  } cases[] = {
      // Blank-separated numbers, CR LF, a trailing blank line that is never read.
      {"import_abem_three_points.VES", Outcome::Read, "Station 12", {{1.5, 12.5}, {3, 20}, {10, 35.5}},
       {{10, 2.5, 0}, {50, 0, 2.5}}, 1, 0},
      // Comma-separated, LF ends, a quoted name holding a comma; 40 m is decade 2.
      {"import_abem_quoted_name_lf.VES", Outcome::Read, "Site 4, north", {{1, 100}, {40, 80}}, {}, 2, 0},
      // The unquoted name ends at its comma; "north" is then no integer.
      {"import_abem_unquoted_comma.VES", Outcome::ReadingError, "Site 4", {}, {}, 0, 1},
      // Only whole rows are kept.
      {"import_abem_truncated.VES", Outcome::ReadingError, "Station 12", {{1.5, 12.5}, {3, 20}}, {}, 0, 7},
      {"import_abem_not_a_number.VES", Outcome::ReadingError, "Station 12", {{1.5, 12.5}}, {}, 0, 5},
      {"import_abem_negative_count.VES", Outcome::Refused, "", {}, {}, 0, 3},
      {"import_abem_header_only.VES", Outcome::ReadingError, "Station 12", {}, {}, 0, 3},
      {"import_abem_empty.VES", Outcome::ReadingError, "", {}, {}, 0, 1},
      {"import_abem_no_points.VES", Outcome::Read, "Station 12", {}, {{10, 0, 0}}, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fixture);
    const ImportResult r = ReadAbemVesFile(test::Fixture(c.fixture));
    EXPECT_EQ(r.outcome, c.outcome);
    EXPECT_EQ(r.line, c.line);
    EXPECT_EQ(r.messages.isEmpty(), c.outcome != Outcome::Refused);
    const ImportedSounding& s = r.sounding;
    EXPECT_EQ(s.comment, c.comment);
    ASSERT_EQ(s.points.size(), c.points.size());
    for (size_t i = 0; i < s.points.size(); ++i) {
      EXPECT_EQ(s.points[i][0].value(), c.points[i].ab2);
      EXPECT_EQ(s.points[i][1].value(), c.points[i].rho);
      for (int k = 2; k < 6; ++k) {
        EXPECT_FALSE(s.points[i][k].empty());  // MN/2, deltaV, K and I are 0, not missing
        EXPECT_EQ(s.points[i][k].value(), 0.0);
      }
    }
    ASSERT_EQ(s.layers.size(), c.layers.size());
    for (size_t j = 0; j < s.layers.size(); ++j) {
      EXPECT_EQ(s.layers[j][0].value(), c.layers[j].rho);
      EXPECT_EQ(s.layers[j][1].value(), c.layers[j].thickness);
      EXPECT_EQ(s.layers[j][2].value(), c.layers[j].depth);
    }
    if (c.outcome != Outcome::Refused) EXPECT_EQ(s.maxSpacing, c.maxSpacing);
    EXPECT_TRUE(s.instrument.isEmpty() && s.title.isEmpty() && s.x.isEmpty() && s.z.isEmpty());
    EXPECT_FALSE(s.arrayCode.has_value());
  }
}

TEST(AbemParser, CountsAndSpacingsOutOfRange) {
  struct Case {
    const char* bytes;
    Outcome outcome;
    size_t points;
  } cases[] = {
      {"a\n1\nxyz\n", Outcome::Refused, 0},           // point count not a number
      {"a\n1\n40000\n", Outcome::Refused, 0},         // beyond 16 bits
      {"a\n1\n1\n5 10 0\n-1\n", Outcome::Refused, 0},  // negative layer count
      {"a\n1\n1.4\n5 10 0\n0\n", Outcome::Read, 1},   // a count is rounded
      // An AB/2 that no 16-bit spacing range holds stops the reading there.
      {"a\n1\n2\n5 10 0\n40000 10 0\n0\n", Outcome::ReadingError, 1},
      {"a\n1\n1\n1e999 10 0\n0\n", Outcome::ReadingError, 0},
  };
  for (const Case& c : cases) {
    const ImportResult r = ReadAbemVesFile(c.bytes);
    EXPECT_EQ(r.outcome, c.outcome) << c.bytes;
    EXPECT_EQ(r.sounding.points.size(), c.points) << c.bytes;
  }
}

TEST(AbemParser, EveryRowReadIsReturnedForTheFrameToKeep) {
  QByteArray bytes = "Long\r\n1\r\n60\r\n";
  for (int i = 1; i <= 60; ++i) bytes += QByteArray::number(i) + " " + QByteArray::number(i * 10) + " 0\r\n";
  bytes += "22\r\n";
  for (int j = 1; j <= 22; ++j) bytes += QByteArray::number(j) + " 0 1 0 2 0 0\r\n";
  const ImportResult r = ReadAbemVesFile(bytes);
  EXPECT_EQ(r.outcome, Outcome::Read);
  EXPECT_EQ(r.sounding.points.size(), 60u);
  EXPECT_EQ(r.sounding.layers.size(), 22u);
  EXPECT_EQ(r.sounding.maxSpacing, 2);  // 60 m
}

// The menu item through the frame, on files in a scratch folder.
class AbemImportTest : public test::SavingTest {
 protected:
  QString Copy(const QString& fixture, const QString& as) {
    const QString to = folder + as;
    QFile::remove(to);
    EXPECT_TRUE(QFile::copy(test::FixturePath(fixture), to));
    return to;
  }
  QString Put(const QByteArray& bytes, const QString& as) {
    QFile f(folder + as);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return folder + as;
  }
  // A sounding of another survey, open before the import.
  static void OpenSoundingBefore() {
    PointCount = 2;
    FieldData[1][kSpacing1] = 7.0f;
    FieldData[1][kRhoApparent] = 70.0f;
    FieldData[2][kSpacing1] = 9.0f;
    FieldData[2][kRhoApparent] = 90.0f;
    LayerModel[1][kLayerRho] = 300.0f;
    LayerModel[1][kLayerThickness] = 4.0f;
    LayerModel[2][kLayerRho] = 30.0f;
    LayerCount = 2;
    SoundingComment = "old comment";
    InstrumentName = "old instrument";
    SoundingX = "123";
    SoundingZ = "45";
    FilePath = "/elsewhere/old.TM3";
    FileTitle = "old.TM3";
    ModeWord = "";
  }
  std::vector<QString> Texts() const {
    std::vector<QString> out;
    for (const auto& b : boxes.boxes) out.push_back(b.text);
    return out;
  }
};

TEST_F(AbemImportTest, FilesBecomeSoundingFilesBesideThem) {
  struct Case {
    const char* fixture;
    std::vector<QString> before;  // boxes before the save question
    int points;
    int layers;
    QString comment;
  } cases[] = {
      {"import_abem_three_points.VES", {}, 3, 2, "Station 12"},
      {"import_abem_quoted_name_lf.VES", {}, 2, 0, "Site 4, north"},
      // The points read before a reading error are offered.
      {"import_abem_truncated.VES", {"Reading File Error ..."}, 2, 0, "Station 12"},
      {"import_abem_not_a_number.VES", {"Reading File Error ..."}, 1, 0, "Station 12"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fixture);
    StartProgram();
    boxes.boxes.clear();
    OpenSoundingBefore();
    const QString path = Copy(c.fixture, "station.ves");
    const QString target = folder + "station.TM3";
    dialogs.choose(path);
    for (size_t k = 0; k < c.before.size(); ++k) boxes.answer(MsgAnswer::OK);
    boxes.answer(MsgAnswer::Yes);
    NAbem_Click();

    std::vector<QString> expected = c.before;
    expected.push_back("Recording File " + target);
    EXPECT_EQ(Texts(), expected);
    EXPECT_EQ(boxes.boxes.back().buttons, MsgButtons::YesNo);
    const DialogRequest& d = dialogs.requests.back();
    EXPECT_EQ(d.filter, "Fichier Tellumo *.VES");
    EXPECT_EQ(d.title, "TELLUMO File selection");
    EXPECT_EQ(d.fileName, "*.VES");
    EXPECT_EQ(d.flags, 0x80000);
    EXPECT_EQ(FilePath, target);
    EXPECT_EQ(BilogPointer().get(), Pointer::Cross);

    // The file written holds the import and nothing of the sounding before.
    EXPECT_EQ(ReadFileBytes(target), SoundingFileV5Bytes());
    ResetAllState();
    ASSERT_TRUE(OpenSoundingFileAt(target));
    EXPECT_EQ(PointCount, c.points);
    EXPECT_EQ(FieldData[1][kSpacing1].value(), c.points ? (c.comment == "Site 4, north" ? 1.0 : 1.5) : 0.0);
    EXPECT_EQ(FieldData[c.points][kKFactor].value(), 0.0);
    EXPECT_EQ(HasModel(), c.layers > 0);
    EXPECT_EQ(LayerModel[c.layers + 1][kLayerRho].value(), 0.0);
    EXPECT_EQ(SoundingComment, c.comment);
    EXPECT_EQ(InstrumentName, "");
    EXPECT_EQ(SoundingX, "");
    EXPECT_EQ(SoundingZ, "");
    QFile::remove(target);
  }
}

TEST_F(AbemImportTest, TheLayersOfTheFileAreTheModel) {
  OpenSoundingBefore();
  dialogs.choose(Copy("import_abem_three_points.VES", "s.VES"));
  boxes.answer(MsgAnswer::Yes);
  NAbem_Click();
  EXPECT_EQ(LayerCount, 2);
  EXPECT_EQ(LayerModel[1][kLayerRho].value(), 10.0);
  EXPECT_EQ(LayerModel[1][kLayerThickness].value(), 2.5);
  EXPECT_EQ(LayerModel[2][kLayerRho].value(), 50.0);
  EXPECT_EQ(LayerModel[2][kLayerDepth].value(), 2.5);
  EXPECT_EQ(LayerModel[3][kLayerRho].value(), 0.0);
  EXPECT_EQ(FieldData[3][kRhoApparent].value(), 35.5);
  EXPECT_TRUE(FieldData[4][kSpacing1].empty());  // the rows of the sounding before are gone
}

TEST_F(AbemImportTest, RefusedOrUnreadableFilesLeaveTheSoundingAsItWas) {
  struct Case {
    const char* fixture;
    QString message;
  } cases[] = {
      {"import_abem_negative_count.VES",
       "Number of points or layers negative or unreadable (line 3): the file is not converted."},
      {"import_abem_unquoted_comma.VES", "Reading File Error ..."},
      {"import_abem_header_only.VES", "Reading File Error ..."},
      {"import_abem_empty.VES", "Reading File Error ..."},
      {"import_abem_no_points.VES", "The file holds no readings: nothing was converted."},
      {nullptr, "Reading File Error ..."},  // the file is gone by the time it is read
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fixture ? c.fixture : "missing");
    StartProgram();
    boxes.boxes.clear();
    OpenSoundingBefore();
    const SoundingSnapshot before = SoundingSnapshot::Take();
    dialogs.choose(c.fixture ? Copy(c.fixture, "bad.VES") : folder + "missing.VES");
    boxes.answer(MsgAnswer::OK);
    NAbem_Click();
    EXPECT_EQ(Texts(), std::vector<QString>{c.message});
    EXPECT_EQ(boxes.boxes[0].icon, MsgIcon::Exclamation);
    test::ExpectSame(SoundingSnapshot::Take(), before);
    EXPECT_FALSE(QFile::exists(folder + "bad.TM3"));
    EXPECT_EQ(BilogPointer().get(), Pointer::Cross);
    QFile::remove(folder + "bad.VES");
  }
}

TEST_F(AbemImportTest, CancelChangesNothingAndSaysNothing) {
  OpenSoundingBefore();
  ModeWord = "FIELD";
  const SoundingSnapshot before = SoundingSnapshot::Take();
  dialogs.cancel();
  NAbem_Click();
  EXPECT_TRUE(boxes.boxes.empty());
  test::ExpectSame(SoundingSnapshot::Take(), before);
  EXPECT_EQ(ModeWord, "FIELD");
  EXPECT_EQ(BilogPointer().get(), Pointer::Cross);
}

TEST_F(AbemImportTest, MorePointsOrLayersThanASoundingHoldsKeepsTheFirst) {
  QByteArray bytes = "Long\r\n1\r\n53\r\n";
  for (int i = 1; i <= 53; ++i) bytes += QByteArray::number(i) + " " + QByteArray::number(i * 10) + " 0\r\n";
  bytes += "21\r\n";
  for (int j = 1; j <= 21; ++j) bytes += QByteArray::number(j) + " 0 1 0 2 0 0\r\n";
  dialogs.choose(Put(bytes, "long.VES"));
  boxes.answer(MsgAnswer::OK);
  boxes.answer(MsgAnswer::OK);
  boxes.answer(MsgAnswer::Yes);
  NAbem_Click();
  EXPECT_EQ(Texts(), (std::vector<QString>{"The file holds more than 51 points: only the first 51 are kept.",
                                           "The file holds more than 20 layers: only the first 20 are kept.",
                                           "Recording File " + folder + "long.TM3"}));
  EXPECT_EQ(PointCount, 51);
  EXPECT_EQ(FieldData[51][kSpacing1].value(), 51.0);
  EXPECT_EQ(LayerCount, 20);
  EXPECT_EQ(ReadFileBytes(folder + "long.TM3"), SoundingFileV5Bytes());
}

// A conversion that writes nothing leaves the sounding from before, under
// its own names: a later save cannot land on the foreign file or its TM3.
TEST_F(AbemImportTest, DeclinedSaveKeepsTheSoundingBefore) {
  OpenSoundingBefore();
  const SoundingSnapshot before = SoundingSnapshot::Take();
  dialogs.choose(Copy("import_abem_three_points.VES", "s.VES"));
  boxes.answer(MsgAnswer::No);  // not under that name
  dialogs.cancel();             // and no other
  NAbem_Click();
  EXPECT_FALSE(QFile::exists(folder + "s.TM3"));
  test::ExpectSame(SoundingSnapshot::Take(), before);
  EXPECT_EQ(FilePath, "/elsewhere/old.TM3");
}

TEST_F(AbemImportTest, ComputingTheDataTabAfterAnImportKeepsItsPoints) {
  OpenSoundingBefore();
  dialogs.choose(Copy("import_abem_three_points.VES", "s.VES"));
  boxes.answer(MsgAnswer::Yes);
  NAbem_Click();
  boxes.expectAny();
  Computation_Click();
  EXPECT_EQ(PointCount, 3);
  EXPECT_EQ(FieldData[1][kSpacing1].value(), 1.5);
  EXPECT_EQ(FieldData[3][kSpacing1].value(), 10.0);
  EXPECT_EQ(FieldData[3][kRhoApparent].value(), 35.5);
}

}  // namespace
}  // namespace tellumo
