// The Syscal reader: whatever the bytes, at most 10 soundings, none empty,
// at most 500 readings in all, every value finite, the points a sounding
// keeps in ascending spacing, and each sounding a sounding the program can
// take, save and read back.
#include <algorithm>
#include <cmath>

#include "fuzz_support.h"
#include "importers/import_frame.h"
#include "importers/syscal_import.h"
#include "sounding/sounding_record.h"

using namespace tellumo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::InputScope scope;
  const SyscalFile f = ParseSyscal(fuzz::Bytes(data, size));
  if (f.soundings.size() > static_cast<size_t>(kMaxSyscalSoundings))
    fuzz::Fail(QStringLiteral("%1 soundings").arg(f.soundings.size()));
  if (f.outcome == ImportResult::Outcome::Refused && !f.soundings.empty()) fuzz::Fail(QStringLiteral("refused with soundings"));
  if (f.outcome == ImportResult::Outcome::ReadingError && f.line < 1) fuzz::Fail(QStringLiteral("a reading error without its line"));
  size_t total = 0;
  for (const SyscalSounding& s : f.soundings) {
    const auto& points = s.result.sounding.points;
    if (points.empty()) fuzz::Fail(QStringLiteral("an empty sounding"));
    total += points.size();
    for (size_t i = 0; i < points.size(); ++i) {
      for (const vb::Cell& c : points[i])
        if (!std::isfinite(c.value())) fuzz::Fail(QStringLiteral("a value not finite in point %1").arg(i + 1));
      if (i > 0 && i < static_cast<size_t>(kMaxFilePoints) && points[i][0].value() < points[i - 1][0].value())
        fuzz::Fail(QStringLiteral("point %1 out of order").arg(i + 1));
    }
    if (s.result.sounding.maxSpacing < 1) fuzz::Fail(QStringLiteral("MaxSpacing %1").arg(s.result.sounding.maxSpacing));
  }
  if (total > static_cast<size_t>(kMaxSyscalRecords)) fuzz::Fail(QStringLiteral("%1 readings").arg(total));
  if (!f.soundings.empty()) {
    PutImportedSounding(f.soundings.front().result.sounding);
    fuzz::CheckSoundingShape();
    fuzz::CheckSavedSoundingReadsBack();
  }
  return 0;
}
