#include "modelling/superposition_store.h"

#include "sounding/sounding_record.h"

namespace tellumo {

vb::Cell SuperposedModels[kSuperposedSlots][3][22];
int16_t SuperposedLayerCounts[kSuperposedSlots] = {};
int16_t SuperposedCount = 0;
int16_t SuperposedShown = 0;
int16_t SuperposedSlotTaken = 0;
int16_t SuperposeExtra = 0;
int16_t SuperposeSwitch = -1;
int16_t FreshSoundingFlag = 0;
int16_t CurrentSoundingPass = kTrue;

void CopyModelToSlot(int slot) {
  for (int j = 1; j <= kMaxLayers; ++j) {
    // Stored as doubles whatever the layer cell held.
    SuperposedModels[slot][1][j] = LayerModel[j][kLayerRho].value();
    SuperposedModels[slot][2][j] = LayerModel[j][kLayerThickness].value();
  }
  SuperposedLayerCounts[slot] = LayerCount;
}

void CopySlotToModel(int slot) {
  for (int j = 1; j <= kMaxLayers; ++j) {
    LayerModel[j][kLayerRho] = SuperposedModels[slot][1][j];
    LayerModel[j][kLayerThickness] = SuperposedModels[slot][2][j];
  }
  LayerCount = SuperposedLayerCounts[slot];
}

void StoreHeldModel() {
  if (SuperposedCount < kMaxSuperposed) {
    ++SuperposedCount;
    SuperposedShown = SuperposedCount;
  }
  CopyModelToSlot(SuperposedCount);
  SuperposedSlotTaken = 1;
}

void ResetSuperpositionStore() {
  for (auto& slot : SuperposedModels)
    for (auto& col : slot)
      for (auto& c : col) c.clear();
  for (auto& n : SuperposedLayerCounts) n = 0;
  SuperposedCount = SuperposedShown = SuperposedSlotTaken = SuperposeExtra = 0;
  SuperposeSwitch = -1;
  FreshSoundingFlag = 0;
  CurrentSoundingPass = kTrue;
}

}  // namespace tellumo
