// The OYO reader: whatever the bytes, a refusal or a reading error keeps no
// more than it read, at most one row past the 51 a sounding keeps, every
// value finite, an array code for every file read past its header, and the
// sounding taken can be saved and read back.
#include <algorithm>
#include <cmath>

#include "fuzz_support.h"
#include "importers/import_frame.h"
#include "importers/oyo_import.h"
#include "sounding/sounding_record.h"

using namespace tellumo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::InputScope scope;
  const ImportResult r = ParseOyo(fuzz::Bytes(data, size));
  const auto& points = r.sounding.points;
  if (points.size() > static_cast<size_t>(kMaxFilePoints) + 1) fuzz::Fail(QStringLiteral("%1 rows").arg(points.size()));
  if (r.outcome == ImportResult::Outcome::Refused && !points.empty()) fuzz::Fail(QStringLiteral("refused with rows"));
  if (r.outcome != ImportResult::Outcome::Read && r.line < 1) fuzz::Fail(QStringLiteral("no line for the fault"));
  if (!points.empty() && !r.sounding.arrayCode) fuzz::Fail(QStringLiteral("rows without an array"));
  for (const auto& p : points)
    for (const vb::Cell& c : p)
      if (!std::isfinite(c.value())) fuzz::Fail(QStringLiteral("a value not finite"));
  if (!points.empty()) {
    PutImportedSounding(r.sounding);
    fuzz::CheckSoundingShape();
    fuzz::CheckSavedSoundingReadsBack();
  }
  return 0;
}
