#include "sounding/sounding_file.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "mainwindow/program_state.h"
#include "modelling/modelling_state.h"
#include "modelling/superposition_store.h"
#include "platform/text_file.h"
#include "sounding/sounding_record.h"
#include "sounding/sounding_snapshot.h"
#include "support/fixtures.h"

namespace tellumo {
namespace {

using test::Fixture;
using test::FixturePath;

class SoundingFileTest : public test::StateTest {
 protected:
  // Reads a fixture as the opener would: title set, version guessed from the
  // extension.
  void Read(const QString& name) {
    FileTitle = name;
    FileVersion = name.endsWith("ELQ", Qt::CaseInsensitive) ? 2 : 3;
    ReadSoundingFile(FixturePath(name));
  }
};

void BuildKnownSounding() {
  PointCount = 2;
  // The worked example of the format: 1.5 m, 123.45 ohm.m, 0.5 m, 12.34 mV, 6.28 m, 10 mA.
  FieldData[1][kSpacing1] = 1.5f;
  FieldData[1][kRhoApparent] = 123.45f;
  FieldData[1][kSpacing2] = 0.5f;
  FieldData[1][kDeltaV] = 12.34f;
  FieldData[1][kKFactor] = 6.28f;
  FieldData[1][kCurrent] = 10.0f;
  // A resistivity whose scaled value needs the exponent form.
  FieldData[2][kSpacing1] = 12.0;
  FieldData[2][kRhoApparent] = 123456.78f;
  FieldData[2][kSpacing2] = 1.0;
  FieldData[2][kDeltaV] = 500.0;
  FieldData[2][kKFactor] = 314.16f;
  FieldData[2][kCurrent] = 100.0;
  LayerModel[1][kLayerRho] = 100.0f;
  LayerModel[1][kLayerThickness] = 1.5f;
  LayerModel[1][kLayerDepth] = 0.0f;
  LayerModel[2][kLayerRho] = 85.5f;
  LayerModel[2][kLayerThickness] = 2.25f;
  LayerModel[2][kLayerDepth] = 1.5f;
  LayerModel[3][kLayerRho] = 10.0f;
  LayerModel[3][kLayerThickness] = 0.0f;
  LayerModel[3][kLayerDepth] = 3.75f;
  SoundingComment = "Line A, station 3";
  InstrumentName = "SYSCAL";
  GraphTitle = "Test \"quoted\"";
  SoundingX = "712345.5";
  SoundingY = "";
  SoundingZ = "250";
  SoundingAzimuth = "N45";
}

TEST_F(SoundingFileTest, WritesVersion5ByteForByte) {
  BuildKnownSounding();
  EXPECT_EQ(SoundingFileV5Bytes(), Fixture("v5_golden.TM3"));
}

TEST_F(SoundingFileTest, WrittenFileReadsBackWithQuotesReplaced) {
  BuildKnownSounding();
  QTemporaryDir dir;
  QString path = dir.filePath("x.TM3");
  WriteSoundingFileV5(path);
  EmptyFieldData();
  EmptyLayerModel();
  FileTitle = "x.TM3";
  FileVersion = 3;
  ReadSoundingFile(path);
  EXPECT_EQ(PointCount, 2);
  EXPECT_EQ(FileVersion, 5);
  EXPECT_FLOAT_EQ(FieldData[1][kRhoApparent], 123.45f);
  // 12,345,678 goes out in full (1.2345678E+07) and comes back the same.
  EXPECT_EQ(FieldData[2][kRhoApparent].value(), 123456.78f);
  EXPECT_FLOAT_EQ(FieldData[2][kKFactor], 314.16f);
  EXPECT_FLOAT_EQ(LayerModel[2][kLayerRho], 85.5f);
  EXPECT_FLOAT_EQ(LayerModel[3][kLayerDepth], 3.75f);
  EXPECT_EQ(SoundingComment, "Line A, station 3");
  EXPECT_EQ(GraphTitle, "Test 'quoted'");
  EXPECT_EQ(SoundingY, "");
  EXPECT_EQ(SoundingAzimuth, "N45");
}

TEST_F(SoundingFileTest, EmptyCellsAndNoPointsAreWrittenAsZeros) {
  QByteArray bytes = SoundingFileV5Bytes();
  EXPECT_TRUE(bytes.startsWith(".5\r\n0,0,0\r\n"));
  EXPECT_EQ(bytes.count("\r\n"), 1 + 20 + 7);
  EXPECT_TRUE(bytes.endsWith("\"\"\r\n\"\"\r\n"));
}

TEST_F(SoundingFileTest, UnwritableValuesRaiseInsteadOfWritingGarbage) {
  PointCount = 1;
  FieldData[1][kRhoApparent] = std::numeric_limits<double>::infinity();
  EXPECT_THROW(SoundingFileV5Bytes(), vb::VbError);
  FieldData[1][kRhoApparent] = 1.0;
  LayerModel[1][kLayerRho] = 3e7;  // 3e9 does not fit the layer line's 32-bit field
  EXPECT_THROW(SoundingFileV5Bytes(), vb::VbError);
}

// Most fixtures carry a first-point resistivity far above K * dV / I, so the
// half-array test finds a half array (factor 2) in them.
struct ReadCase {
  const char* file;
  int pointCount;
  int version;
  int divisor;
  int shifted;
  int halfArray;
  bool error;           // "Reading File Error..." shown
  bool storedModel;     // the held model went to the superposition store
  double spacing2OfPoint1;
  double rhoOfPoint1;
  bool refused = false;  // the file is refused whole: nothing changes
};

class SoundingFileReadTable : public SoundingFileTest, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(SoundingFileReadTable, LeavesTheRecordAsTheFileSays) {
  const ReadCase& c = GetParam();
  if (c.error) boxes.answer(MsgAnswer::OK);
  // A sounding in memory that a refused file must leave alone.
  FieldData[1][kSpacing1] = 7.0f;
  LayerModel[1][kLayerRho] = 42.0f;
  SoundingComment = QStringLiteral("kept");
  AutoModelThreshold = 0.5;
  FileTitle = QString::fromUtf8(c.file);
  FileVersion = FileTitle.endsWith("ELQ", Qt::CaseInsensitive) ? 2 : 3;
  const SoundingSnapshot before = SoundingSnapshot::Take();
  const bool taken = ReadSoundingFile(FixturePath(FileTitle));
  EXPECT_EQ(taken, !c.refused);
  EXPECT_EQ(PointCount, c.pointCount);
  EXPECT_EQ(FileVersion, c.version);
  EXPECT_EQ(ResistivityDivisor, c.divisor);
  EXPECT_EQ(ShiftedFlag, c.shifted);
  EXPECT_EQ(HalfArrayFactor, c.halfArray);
  ASSERT_EQ(boxes.boxes.size(), c.error ? 1u : 0u);
  if (c.error) {
    // The classic message, then where reading stopped.
    EXPECT_TRUE(boxes.boxes[0].text.startsWith("Reading File Error...\n\rFile ")) << boxes.boxes[0].text.toStdString();
    EXPECT_TRUE(boxes.boxes[0].text.contains(FileTitle));
    EXPECT_EQ(boxes.boxes[0].caption, "Tellumo 6.4");
    EXPECT_EQ(boxes.boxes[0].icon, MsgIcon::Exclamation);
  }
  if (c.refused) {
    const SoundingSnapshot after = SoundingSnapshot::Take();
    EXPECT_FLOAT_EQ(FieldData[1][kSpacing1], 7.0f);
    EXPECT_FLOAT_EQ(LayerModel[1][kLayerRho], 42.0f);
    EXPECT_EQ(SoundingComment, "kept");
    EXPECT_EQ(AutoModelThreshold, 0.5);
    EXPECT_EQ(FreshSoundingFlag, before.FreshSoundingFlag);
    EXPECT_EQ(SuperposedCount, 0);
    EXPECT_EQ(after.FilePath, before.FilePath);
    return;
  }
  EXPECT_EQ(FreshSoundingFlag, kTrue);
  EXPECT_EQ(AutoModelThreshold, 0.3);
  EXPECT_EQ(SuperposedCount, c.storedModel ? 1 : 0);
  EXPECT_EQ(SuperposedSlotTaken, c.storedModel ? 1 : 0);
  if (c.pointCount > 0) {
    EXPECT_FLOAT_EQ(FieldData[1][kSpacing2], static_cast<float>(c.spacing2OfPoint1));
    EXPECT_FLOAT_EQ(FieldData[1][kRhoApparent], static_cast<float>(c.rhoOfPoint1));
    EXPECT_EQ(FieldData[1][kRhoUnshifted], FieldData[1][kRhoApparent]);
  }
  // Nothing is ever stored beyond the rows the count claims, and the count
  // never exceeds the table.
  EXPECT_LE(PointCount, 51);
  EXPECT_GE(PointCount, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, SoundingFileReadTable,
    ::testing::Values(
        ReadCase{"v5_golden.TM3", 2, 5, 100, 0, 2, false, true, 0.5, 123.45},
        ReadCase{"v3_25_points.TM3", 25, 3, 10, 0, 2, false, true, 0.5, 101},
        ReadCase{"v3_fraction_25_3.TM3", 25, 3, 10, 0, 2, false, true, 0.05, 101},
        ReadCase{"v5_12_5_named.ELQ", 12, 5, 100, 0, 2, false, true, 0.5, 101},
        ReadCase{"v22_three_points.ELQ", 3, 2, 1, 0, 2, false, true, 0.5, 100},
        ReadCase{"v5_no_points_leading_zero.TM3", 0, 5, 100, 0, 1, false, true, 0, 0},
        ReadCase{"v5_no_points_bare_fraction.TM3", 0, 5, 100, 0, 1, false, true, 0, 0},
        // The first 51 of 52 points, then the model and texts after them.
        ReadCase{"v5_52_points.TM3", 51, 5, 100, 0, 2, true, true, 0.5, 100},
        ReadCase{"v5_ends_in_points.TM3", 0, 3, 100, 0, 1, true, false, 0, 0, true},
        ReadCase{"v5_ends_after_layers.TM3", 1, 5, 100, 0, 2, false, true, 0.5, 100},
        ReadCase{"v5_half_array_311.TM3", 1, 5, 100, 0, 2, false, true, 1, 311},
        ReadCase{"v5_full_array_155_5.TM3", 1, 5, 100, 0, 1, false, true, 1, 155.5},
        ReadCase{"v5_shifted_junction.TM3", 3, 5, 100, 1, 1, false, true, 0, 100},
        ReadCase{"v5_same_spacing_other_rho.TM3", 2, 5, 100, 0, 1, false, true, 0, 120},
        ReadCase{"v5_negative_count.TM3", 0, 3, 100, 0, 1, true, false, 0, 0, true},
        ReadCase{"v5_not_a_number.TM3", 0, 3, 100, 0, 1, true, false, 0, 0, true},
        ReadCase{"v5_single_overflow.TM3", 0, 3, 100, 0, 1, true, false, 0, 0, true},
        ReadCase{"v5_lf_only.TM3", 1, 5, 100, 0, 2, false, true, 0.5, 123.45},
        ReadCase{"empty.TM3", 0, 3, 100, 0, 1, true, false, 0, 0, true},
        ReadCase{"missing-file.TM3", 0, 3, 100, 0, 1, true, false, 0, 0, true}),
    [](const auto& info) {
      std::string n = info.param.file;
      for (char& ch : n)
        if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
      return n;
    });

TEST_F(SoundingFileTest, VersionAndScalesOfTheOlderLayouts) {
  Read("v3_25_points.TM3");
  // Version 3: resistivities and second spacings divided by 10, the layer
  // resistivity by 10 too.
  EXPECT_FLOAT_EQ(FieldData[25][kSpacing1], 25.0f);
  EXPECT_FLOAT_EQ(FieldData[25][kRhoApparent], 125.0f);
  EXPECT_FLOAT_EQ(LayerModel[1][kLayerRho], 100.0f);
  EXPECT_FLOAT_EQ(LayerModel[1][kLayerThickness], 5.0f);
  EXPECT_EQ(MaxSpacing, 25);
  EXPECT_EQ(SoundingAzimuth, "N45");

  ResetSuperpositionStore();
  Read("v22_three_points.ELQ");
  // Version 2.2: resistivity unscaled, dV divided by 1000, I by 100, ten layers.
  EXPECT_FLOAT_EQ(FieldData[1][kDeltaV], 1.0f);
  EXPECT_FLOAT_EQ(FieldData[1][kCurrent], 1.0f);
  EXPECT_FLOAT_EQ(LayerModel[1][kLayerRho], 100.0f);
  EXPECT_FLOAT_EQ(LayerModel[2][kLayerRho], 20.0f);
  EXPECT_EQ(SoundingComment, "comment");
}

TEST_F(SoundingFileTest, AFileEndingAmongThePointsChangesNothing) {
  SoundingComment = "old";
  SoundingZ = "old";
  FieldData[3][kSpacing1] = 9.0f;
  boxes.answer(MsgAnswer::OK);
  Read("v5_ends_in_points.TM3");
  EXPECT_TRUE(FieldData[2][kSpacing1].empty());
  EXPECT_FLOAT_EQ(FieldData[3][kSpacing1], 9.0f);
  EXPECT_EQ(SoundingComment, "old");
  EXPECT_EQ(SoundingZ, "old");
  ASSERT_EQ(boxes.boxes.size(), 1u);
  // The line the reading could not find its field on.
  EXPECT_TRUE(boxes.boxes[0].text.endsWith("v5_ends_in_points.TM3, line 4")) << boxes.boxes[0].text.toStdString();
}

TEST_F(SoundingFileTest, FileEndingAfterTheLayersLeavesTheTextsEmpty) {
  SoundingComment = "old";
  Read("v5_ends_after_layers.TM3");
  EXPECT_EQ(SoundingComment, "");
  EXPECT_EQ(SoundingAzimuth, "");
  EXPECT_FLOAT_EQ(LayerModel[1][kLayerRho], 100.0f);
}

TEST_F(SoundingFileTest, TheHeldModelGoesToTheStoreWhateverTheSwitch) {
  SuperposeSwitch = -1;
  LayerModel[1][kLayerRho] = 42.0f;
  LayerModel[1][kLayerThickness] = 3.0f;
  LayerCount = 2;
  Read("v5_golden.TM3");
  EXPECT_EQ(SuperposedCount, 1);
  EXPECT_EQ(SuperposedShown, 1);
  EXPECT_DOUBLE_EQ(SuperposedModels[1][1][1], 42.0);
  EXPECT_DOUBLE_EQ(SuperposedModels[1][2][1], 3.0);
  EXPECT_EQ(SuperposedLayerCounts[1], 2);
  // The file's model replaced the held one, depths included.
  EXPECT_FLOAT_EQ(LayerModel[1][kLayerRho], 100.0f);
  EXPECT_FLOAT_EQ(LayerModel[2][kLayerDepth], 1.5f);
}

TEST_F(SoundingFileTest, MaxSpacingIsOnlyRaised) {
  MaxSpacing = 100;
  Read("v5_golden.TM3");
  EXPECT_EQ(MaxSpacing, 100);
  MaxSpacing = 1;
  Read("v5_golden.TM3");
  EXPECT_EQ(MaxSpacing, 12);
}

TEST_F(SoundingFileTest, WithoutAFileTitleNothingIsRead) {
  GraphTitle = "kept";
  boxes.answer(MsgAnswer::OK);
  FileTitle.clear();
  ReadSoundingFile(FixturePath("v5_golden.TM3"));
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "First, select a SEV File... ");
  EXPECT_EQ(GraphTitle, "kept");
  EXPECT_EQ(PointCount, 0);
}

TEST_F(SoundingFileTest, MessagesFollowTheLanguage) {
  struct {
    int16_t fr, es;
    const char* text;
  } cases[] = {{kTrue, 0, "Erreur lors de la lecture du fichier..."},
               {0, kTrue, "Error al leer fichero..."},
               {kTrue, kTrue, "Erreur lors de la lecture du fichier..."},
               {0, 0, "Reading File Error..."}};
  for (const auto& c : cases) {
    IsFrench = c.fr;
    IsSpanish = c.es;
    boxes.answer(MsgAnswer::OK);
    Read("empty.TM3");
    ASSERT_FALSE(boxes.boxes.empty());
    EXPECT_EQ(boxes.boxes.back().text.section(LineBreak, 0, 0).toStdString(), c.text);
  }
}

TEST_F(SoundingFileTest, WriteFailureKeepsTheOldFile) {
  QTemporaryDir dir;
  QString path = dir.filePath("keep.TM3");
  {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("old contents");
  }
  PointCount = 1;
  FieldData[1][kRhoApparent] = std::numeric_limits<double>::quiet_NaN();
  EXPECT_THROW(WriteSoundingFileV5(path), vb::VbError);
  EXPECT_EQ(ReadFileBytes(path), QByteArray("old contents"));

  FieldData[1][kRhoApparent] = 1.0;

  try {
    WriteSoundingFileV5(dir.filePath("no-such-folder/x.TM3"));
    FAIL() << "writing into a missing folder must fail";
  } catch (const vb::VbError& e) {
    EXPECT_EQ(e.number(), vb::kErrPathNotFound);
  }
}

}  // namespace
}  // namespace tellumo
