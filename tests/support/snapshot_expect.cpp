#include "support/snapshot_expect.h"

#include <gtest/gtest.h>

namespace tellumo::test {

using namespace snapshot_parts;

void ExpectSame(const SoundingSnapshot& a, const SoundingSnapshot& b, unsigned parts) {
  if (parts & kNumbers) {
    for (int r = 0; r < kFieldRows; ++r)
      for (int c = 0; c < kFieldCols; ++c)
        EXPECT_TRUE(a.FieldData[r][c].identical(b.FieldData[r][c])) << "FieldData " << r << "," << c;
    EXPECT_EQ(a.PointCount, b.PointCount);
    EXPECT_EQ(a.FilePath, b.FilePath);
    EXPECT_EQ(a.FileTitle, b.FileTitle);
    EXPECT_EQ(a.CurrentFolder, b.CurrentFolder);
    EXPECT_EQ(a.FileVersion, b.FileVersion);
    EXPECT_EQ(a.ResistivityDivisor, b.ResistivityDivisor);
    for (int i = 1; i <= 5; ++i) EXPECT_EQ(a.RecentFiles[i], b.RecentFiles[i]) << "recent " << i;
    EXPECT_EQ(a.ConvertedFromOlderFormat, b.ConvertedFromOlderFormat);
    EXPECT_EQ(a.MaxSpacing, b.MaxSpacing);
    EXPECT_EQ(a.HalfArrayFactor, b.HalfArrayFactor);
    EXPECT_EQ(a.ShiftedFlag, b.ShiftedFlag);
    EXPECT_EQ(a.CurveComputed, b.CurveComputed);
    EXPECT_EQ(a.CurveValid, b.CurveValid);
    EXPECT_EQ(a.StartingUp, b.StartingUp);
    EXPECT_EQ(a.AutoModelThreshold, b.AutoModelThreshold);
    EXPECT_EQ(a.ModeWord, b.ModeWord);
    for (int s = 0; s < kSuperposedSlots; ++s)
      for (int c = 0; c < 3; ++c)
        for (int j = 0; j < 22; ++j)
          EXPECT_TRUE(a.SuperposedModels[s][c][j].identical(b.SuperposedModels[s][c][j]))
              << "store " << s << "," << c << "," << j;
    for (int s = 0; s < kSuperposedSlots; ++s) EXPECT_EQ(a.SuperposedLayerCounts[s], b.SuperposedLayerCounts[s]);
    EXPECT_EQ(a.SuperposedCount, b.SuperposedCount);
    EXPECT_EQ(a.SuperposedShown, b.SuperposedShown);
    EXPECT_EQ(a.SuperposedSlotTaken, b.SuperposedSlotTaken);
    EXPECT_EQ(a.FreshSoundingFlag, b.FreshSoundingFlag);
  }
  if (parts & kLayers) {
    for (int r = 0; r < kLayerRows; ++r)
      for (int c = 0; c < kLayerCols; ++c)
        EXPECT_TRUE(a.LayerModel[r][c].identical(b.LayerModel[r][c])) << "LayerModel " << r << "," << c;
    EXPECT_EQ(a.LayerCount, b.LayerCount);
  }
  if (parts & kTexts) {
    EXPECT_EQ(a.SoundingComment, b.SoundingComment);
    EXPECT_EQ(a.InstrumentName, b.InstrumentName);
    EXPECT_EQ(a.GraphTitle, b.GraphTitle);
    EXPECT_EQ(a.SoundingX, b.SoundingX);
    EXPECT_EQ(a.SoundingY, b.SoundingY);
    EXPECT_EQ(a.SoundingZ, b.SoundingZ);
    EXPECT_EQ(a.SoundingAzimuth, b.SoundingAzimuth);
  }
  if (parts & kReadFlag) EXPECT_EQ(a.SoundingReadFailed, b.SoundingReadFailed);
}


}  // namespace tellumo::test
