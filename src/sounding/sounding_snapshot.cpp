#include "sounding/sounding_snapshot.h"

#include <algorithm>

#include "mainwindow/program_state.h"
#include "modelling/layer_table.h"
#include "modelling/modelling_state.h"
#include "sounding/open_save.h"
#include "sounding/sounding_file.h"

namespace tellumo {

namespace {

// One direction of the copy; Take and Restore differ only in which side is
// the source, so both run through this one list.
template <bool kToSnapshot, class Record>
void Exchange(Record& snapshot) {
  auto move = [](auto& kept, auto& live) {
    if constexpr (kToSnapshot) kept = live;
    else live = kept;
  };
  auto moveArray = [](auto& kept, auto& live) {
    if constexpr (kToSnapshot) std::copy(std::begin(live), std::end(live), std::begin(kept));
    else std::copy(std::begin(kept), std::end(kept), std::begin(live));
  };
  for (int r = 0; r < kFieldRows; ++r) moveArray(snapshot.FieldData[r], tellumo::FieldData[r]);
  move(snapshot.PointCount, tellumo::PointCount);
  for (int r = 0; r < kLayerRows; ++r) moveArray(snapshot.LayerModel[r], tellumo::LayerModel[r]);
  move(snapshot.LayerCount, tellumo::LayerCount);
  move(snapshot.LayerModelAsRead, tellumo::LayerModelAsRead);
  move(snapshot.SoundingComment, tellumo::SoundingComment);
  move(snapshot.InstrumentName, tellumo::InstrumentName);
  move(snapshot.GraphTitle, tellumo::GraphTitle);
  move(snapshot.SoundingX, tellumo::SoundingX);
  move(snapshot.SoundingY, tellumo::SoundingY);
  move(snapshot.SoundingZ, tellumo::SoundingZ);
  move(snapshot.SoundingAzimuth, tellumo::SoundingAzimuth);
  move(snapshot.FilePath, tellumo::FilePath);
  move(snapshot.FileTitle, tellumo::FileTitle);
  move(snapshot.CurrentFolder, tellumo::CurrentFolder);
  move(snapshot.FileVersion, tellumo::FileVersion);
  move(snapshot.ResistivityDivisor, tellumo::ResistivityDivisor);
  moveArray(snapshot.RecentFiles, tellumo::RecentFiles);
  move(snapshot.SoundingReadFailed, tellumo::SoundingReadFailed);
  move(snapshot.ConvertedFromOlderFormat, tellumo::ConvertedFromOlderFormat);
  move(snapshot.MaxSpacing, tellumo::MaxSpacing);
  move(snapshot.HalfArrayFactor, tellumo::HalfArrayFactor);
  move(snapshot.ShiftedFlag, tellumo::ShiftedFlag);
  move(snapshot.CurveComputed, tellumo::CurveComputed);
  move(snapshot.CurveValid, tellumo::CurveValid);
  move(snapshot.StartingUp, tellumo::StartingUp);
  move(snapshot.AutoModelThreshold, tellumo::AutoModelThreshold);
  move(snapshot.ModeWord, tellumo::ModeWord);
  for (int s = 0; s < kSuperposedSlots; ++s)
    for (int c = 0; c < 3; ++c) moveArray(snapshot.SuperposedModels[s][c], tellumo::SuperposedModels[s][c]);
  moveArray(snapshot.SuperposedLayerCounts, tellumo::SuperposedLayerCounts);
  move(snapshot.SuperposedCount, tellumo::SuperposedCount);
  move(snapshot.SuperposedShown, tellumo::SuperposedShown);
  move(snapshot.SuperposedSlotTaken, tellumo::SuperposedSlotTaken);
  move(snapshot.FreshSoundingFlag, tellumo::FreshSoundingFlag);
}

}  // namespace

SoundingSnapshot SoundingSnapshot::Take() {
  SoundingSnapshot s;
  Exchange<true>(s);
  return s;
}

void SoundingSnapshot::Restore() const {
  Exchange<false>(*this);
}

}  // namespace tellumo
