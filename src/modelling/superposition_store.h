#pragma once
// Store of up to 20 layered models drawn together with the current one.
#include <cstdint>

#include "platform/vb.h"

namespace tellumo {

inline constexpr int kSuperposedSlots = 22;  // slots 0..21
inline constexpr int kMaxSuperposed = 20;

// [slot][column 1 resistivity, 2 thickness][layer 1..20]
extern vb::Cell SuperposedModels[kSuperposedSlots][3][22];
extern int16_t SuperposedLayerCounts[kSuperposedSlots];
extern int16_t SuperposedCount;
extern int16_t SuperposedShown;
extern int16_t SuperposedSlotTaken;
extern int16_t SuperposeExtra;
// 1 superposition on, -1 off.
extern int16_t SuperposeSwitch;
extern int16_t FreshSoundingFlag;
extern int16_t CurrentSoundingPass;

// Keeps the model held before a sounding file replaces it, whether
// superposition is on or off; at 20 stored models the last slot is replaced.
void StoreHeldModel();

// Copies LayerModel (resistivity, thickness of layers 1..20, LayerCount) into
// a slot, and a slot back into LayerModel.
void CopyModelToSlot(int slot);
void CopySlotToModel(int slot);

// Empty store; switch off; current pass True: the start-up state.
void ResetSuperpositionStore();

}  // namespace tellumo
