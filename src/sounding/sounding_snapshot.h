#pragma once
// Everything that reading or opening a sounding file may change, held apart
// from the live values. A reader takes a copy before it starts and puts it
// back when the file is refused, so that a failed or cancelled read leaves the
// sounding, its model, the superposition store, the names, the caption's path
// and the recent list exactly as they were. Member names are the shared
// values' own.
#include <QString>
#include <cstdint>

#include "modelling/superposition_store.h"
#include "sounding/sounding_record.h"

namespace tellumo {

struct SoundingSnapshot {
  // The sounding.
  vb::Cell FieldData[kFieldRows][kFieldCols];
  int16_t PointCount = 0;
  vb::Cell LayerModel[kLayerRows][kLayerCols];
  int16_t LayerCount = 0;
  // Whether the model is still the file's own (it goes with the model: a
  // model put back is rounded or kept as it was before).
  bool LayerModelAsRead = false;
  QString SoundingComment, InstrumentName, GraphTitle, SoundingX, SoundingY, SoundingZ, SoundingAzimuth;
  // Its file.
  QString FilePath, FileTitle, CurrentFolder;
  int16_t FileVersion = 0;
  int16_t ResistivityDivisor = 0;
  QString RecentFiles[6];
  int16_t SoundingReadFailed = 0;
  int16_t ConvertedFromOlderFormat = 0;
  // What a reading sets besides the data.
  int16_t MaxSpacing = 0;
  int16_t HalfArrayFactor = 1;
  int16_t ShiftedFlag = 0;
  int16_t CurveComputed = 0;
  int16_t CurveValid = 0;
  int16_t StartingUp = 0;
  double AutoModelThreshold = 0.0;
  QString ModeWord;
  // The superposition store (a reading pushes the model held before it).
  vb::Cell SuperposedModels[kSuperposedSlots][3][22];
  int16_t SuperposedLayerCounts[kSuperposedSlots] = {};
  int16_t SuperposedCount = 0;
  int16_t SuperposedShown = 0;
  int16_t SuperposedSlotTaken = 0;
  int16_t FreshSoundingFlag = 0;

  // A copy of the live values.
  static SoundingSnapshot Take();
  // Puts the copy back into the live values.
  void Restore() const;
};

}  // namespace tellumo
