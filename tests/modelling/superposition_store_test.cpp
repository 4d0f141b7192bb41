#include "modelling/superposition_store.h"

#include <gtest/gtest.h>

#include "sounding/sounding_record.h"
#include "support/fixtures.h"

namespace tellumo {
namespace {

class SuperpositionStoreTest : public test::StateTest {};

TEST_F(SuperpositionStoreTest, FirstStoreAfterStartUpKeepsAnEmptyModel) {
  EXPECT_EQ(SuperposeSwitch, -1);
  EXPECT_EQ(CurrentSoundingPass, kTrue);
  StoreHeldModel();
  EXPECT_EQ(SuperposedCount, 1);
  EXPECT_EQ(SuperposedShown, 1);
  EXPECT_EQ(SuperposedSlotTaken, 1);
  EXPECT_EQ(SuperposedLayerCounts[1], 0);
  EXPECT_EQ(SuperposedModels[1][1][1].value(), 0.0);
}

TEST_F(SuperpositionStoreTest, AtTwentyTheLastSlotIsReplaced) {
  for (int n = 1; n <= 21; ++n) {
    LayerModel[1][kLayerRho] = static_cast<float>(n);
    LayerModel[1][kLayerThickness] = 2.0f;
    LayerModel[1][kLayerDepth] = 7.0f;
    LayerCount = 2;
    StoreHeldModel();
  }
  EXPECT_EQ(SuperposedCount, 20);
  EXPECT_EQ(SuperposedShown, 20);
  EXPECT_DOUBLE_EQ(SuperposedModels[19][1][1], 19.0);
  EXPECT_DOUBLE_EQ(SuperposedModels[20][1][1], 21.0);
  EXPECT_EQ(SuperposedModels[20][1][1].kind(), vb::Cell::Kind::Double);
  EXPECT_TRUE(SuperposedModels[21][1][1].empty());

  // Copying back overwrites resistivity and thickness, never the depths.
  EmptyLayerModel();
  LayerModel[1][kLayerDepth] = 3.0f;
  CopySlotToModel(19);
  EXPECT_DOUBLE_EQ(LayerModel[1][kLayerRho], 19.0);
  EXPECT_DOUBLE_EQ(LayerModel[1][kLayerThickness], 2.0);
  EXPECT_FLOAT_EQ(LayerModel[1][kLayerDepth], 3.0f);
  EXPECT_EQ(LayerCount, 2);
}

}  // namespace
}  // namespace tellumo
