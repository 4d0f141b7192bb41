#include "sounding/older_formats.h"

#include <gtest/gtest.h>

#include "mainwindow/program_state.h"
#include "modelling/modelling_state.h"
#include "modelling/superposition_store.h"
#include "sounding/sounding_file.h"
#include "sounding/sounding_record.h"
#include "support/fixtures.h"

namespace tellumo {
namespace {

using test::FixturePath;

// What the previous sounding leaves behind, so that a leak shows.
void FillPreviousSounding() {
  for (int j = 1; j <= 20; ++j) {
    LayerModel[j][kLayerRho] = 999.0f;
    LayerModel[j][kLayerThickness] = 9.0f;
    LayerModel[j][kLayerDepth] = 9.0f;
  }
  SoundingComment = InstrumentName = GraphTitle = "old";
  SoundingX = SoundingY = SoundingZ = SoundingAzimuth = "old";
  MaxSpacing = 500;
  FileVersion = 5;
  ResistivityDivisor = 10;
  HalfArrayFactor = 2;
}

class OlderFormatsTest : public test::StateTest {
 protected:
  void SetUp() override {
    StateTest::SetUp();
    FillPreviousSounding();
  }
  // The current reader's own values stay as they were.
  void ExpectCurrentReaderValuesUntouched() {
    EXPECT_EQ(FileVersion, 5);
    EXPECT_EQ(ResistivityDivisor, 10);
    EXPECT_EQ(HalfArrayFactor, 2);
    EXPECT_EQ(SuperposedCount, 0);
    EXPECT_EQ(FreshSoundingFlag, 0);
  }
};

TEST_F(OlderFormatsTest, DosFileGivesPointsModelAndTitle) {
  FileTitle = "x.SEV";
  ReadDosSevFile(FixturePath("dos_12_points_3_layers.SEV"));
  EXPECT_EQ(PointCount, 12);
  EXPECT_EQ(GraphTitle, "Sondage Nord");
  EXPECT_FLOAT_EQ(FieldData[1][kRhoApparent], 101.0f);
  EXPECT_FLOAT_EQ(FieldData[1][kSpacing1], 2.0f);
  EXPECT_FLOAT_EQ(FieldData[12][kSpacing1], 24.0f);
  EXPECT_FLOAT_EQ(FieldData[12][kRhoApparent], 112.0f);
  for (int k = kSpacing2; k <= kCurrent; ++k) EXPECT_EQ(FieldData[7][k].value(), 0.0);
  EXPECT_TRUE(FieldData[7][kRhoUnshifted].empty());
  EXPECT_FLOAT_EQ(LayerModel[1][kLayerRho], 50.0f);
  EXPECT_FLOAT_EQ(LayerModel[2][kLayerThickness], 8.0f);
  EXPECT_FLOAT_EQ(LayerModel[3][kLayerRho], 200.0f);
  // Nothing of the previous model continues after the file's layers.
  EXPECT_TRUE(LayerModel[4][kLayerRho].empty());
  EXPECT_TRUE(LayerModel[1][kLayerDepth].empty());
  EXPECT_EQ(MaxSpacing, 24);
  for (const QString* t : {&SoundingComment, &InstrumentName, &SoundingX, &SoundingY, &SoundingZ, &SoundingAzimuth})
    EXPECT_EQ(*t, "");
  ExpectCurrentReaderValuesUntouched();
}

TEST_F(OlderFormatsTest, DosTitleKeepsItsComma) {
  struct {
    const char* file;
    const char* title;
  } cases[] = {{"dos_title_with_comma.SEV", "Sondage 1, ligne B"}, {"dos_quoted_title.SEV", "Site, 3"}};
  for (const auto& c : cases) {
    FileTitle = "x.SEV";
    ReadDosSevFile(FixturePath(c.file));
    EXPECT_EQ(GraphTitle, c.title);
    EXPECT_EQ(PointCount, 2) << c.file;
    EXPECT_FLOAT_EQ(FieldData[2][kSpacing1], 4.0f) << c.file;
    EXPECT_FLOAT_EQ(LayerModel[1][kLayerRho], 50.0f) << c.file;
  }
}

// A file that cannot be read to its end is refused whole, with the message
// naming the file and the line; the previous sounding stays as it was.
TEST_F(OlderFormatsTest, UnreadableFilesAreRefusedAndChangeNothing) {
  struct Case {
    const char* file;
    bool dos;
    const char* where;
  } cases[] = {
      {"dos_truncated.SEV", true, "dos_truncated.SEV, line 6"},
      {"dos_negative_count.SEV", true, "dos_negative_count.SEV, line 3"},
      {"v1_truncated.TLQ", false, "v1_truncated.TLQ, line 3"},
      {"v1_negative_count.TLQ", false, "v1_negative_count.TLQ, line 1"},
      {"no-such-file.SEV", true, "no-such-file.SEV"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    FillPreviousSounding();
    PointCount = 7;
    FieldData[2][kRhoApparent] = 33.0f;
    FileTitle = "x.SEV";
    boxes.boxes.clear();
    boxes.answer(MsgAnswer::OK);
    const bool taken = c.dos ? ReadDosSevFile(FixturePath(c.file)) : ReadSoundingFileV1(FixturePath(c.file));
    EXPECT_FALSE(taken);
    EXPECT_EQ(PointCount, 7);
    EXPECT_FLOAT_EQ(FieldData[2][kRhoApparent], 33.0f);
    EXPECT_FLOAT_EQ(LayerModel[1][kLayerRho], 999.0f);
    EXPECT_EQ(GraphTitle, "old");
    EXPECT_EQ(SoundingZ, "old");
    EXPECT_EQ(MaxSpacing, 500);
    ExpectCurrentReaderValuesUntouched();
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_TRUE(boxes.boxes[0].text.startsWith("Reading File Error...")) << boxes.boxes[0].text.toStdString();
    EXPECT_TRUE(boxes.boxes[0].text.endsWith(QString::fromUtf8(c.where))) << boxes.boxes[0].text.toStdString();
  }
}

TEST_F(OlderFormatsTest, DosWithoutATitleAsksForAFile) {
  boxes.answer(MsgAnswer::OK);
  FileTitle.clear();
  ReadDosSevFile(FixturePath("dos_12_points_3_layers.SEV"));
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "First select a File ");
  EXPECT_EQ(GraphTitle, "old");
}

TEST_F(OlderFormatsTest, TooManyPointsStopAtTheTable) {
  // 60 points announced, each line complete: 51 are stored, the count says 51.
  QByteArray dos = "T\r\nx\r\n0,60,0\r\n";
  QByteArray v1 = "60\r\n";
  for (int i = 1; i <= 60; ++i) {
    dos += "0,0,100," + QByteArray::number(i) + "\r\n";
    v1 += QByteArray::number(i * 100) + ",100\r\n";
  }
  boxes.answer(MsgAnswer::OK);
  EXPECT_TRUE(ReadDosSevBytes(dos));
  EXPECT_EQ(PointCount, 51);
  EXPECT_FLOAT_EQ(FieldData[51][kSpacing1], 51.0f);
  boxes.answer(MsgAnswer::OK);
  EXPECT_TRUE(ReadSoundingV1Bytes(v1));
  EXPECT_EQ(PointCount, 51);
  EXPECT_FLOAT_EQ(FieldData[51][kSpacing1], 51.0f);
  ASSERT_EQ(boxes.boxes.size(), 2u);
  // The message says where the table ended: the line of point 52.
  EXPECT_TRUE(boxes.boxes[0].text.endsWith("Line 55")) << boxes.boxes[0].text.toStdString();
  EXPECT_TRUE(boxes.boxes[1].text.endsWith("Line 53")) << boxes.boxes[1].text.toStdString();
  // Shortened in memory: a save asks for a name rather than overwrite.
  EXPECT_EQ(SoundingReadFailed, kTrue);
}

TEST_F(OlderFormatsTest, Version1FileIsReadUnscaled) {
  ReadSoundingFileV1(FixturePath("v1_three_points.TLQ"));
  EXPECT_EQ(PointCount, 3);
  EXPECT_FLOAT_EQ(FieldData[1][kSpacing1], 1.5f);
  EXPECT_FLOAT_EQ(FieldData[1][kRhoApparent], 85.2f);
  EXPECT_EQ(FieldData[1][kSpacing2].value(), 0.0);
  EXPECT_TRUE(FieldData[1][kRhoUnshifted].empty());
  EXPECT_FLOAT_EQ(LayerModel[1][kLayerRho], 50.0f);
  EXPECT_FLOAT_EQ(LayerModel[1][kLayerThickness], 2.0f);
  EXPECT_FLOAT_EQ(LayerModel[2][kLayerDepth], 2.0f);
  EXPECT_TRUE(LayerModel[11][kLayerRho].empty());
  EXPECT_EQ(MaxSpacing, 6);
  EXPECT_EQ(SoundingComment, "c");
  EXPECT_EQ(SoundingAzimuth, "4");
  ExpectCurrentReaderValuesUntouched();
}

}  // namespace
}  // namespace tellumo
