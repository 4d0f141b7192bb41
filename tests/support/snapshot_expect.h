#pragma once
// Compares two copies of what a reading or an opening may change, member by
// member, so that a refused file is seen to leave every value alone.
#include "sounding/sounding_snapshot.h"

namespace tellumo::test {

namespace snapshot_parts {
// Which parts of two records must agree.
enum Parts : unsigned {
  kNumbers = 1,    // points, file identity, flags, store
  kLayers = 2,     // the model
  kTexts = 4,      // the seven texts
  kReadFlag = 8,   // SoundingReadFailed
  kAll = 15,
};
}  // namespace snapshot_parts

void ExpectSame(const SoundingSnapshot& a, const SoundingSnapshot& b, unsigned parts = snapshot_parts::kAll);

}  // namespace tellumo::test
