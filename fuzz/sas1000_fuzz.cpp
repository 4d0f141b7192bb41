// The SAS1000 .amp reader: whatever the bytes, the points it gives are
// finite, never more than one past what a sounding keeps, none when it
// refuses the file; taken over, they make a sounding that saves and reads
// back.
#include <algorithm>
#include <cmath>

#include "fuzz_support.h"
#include "importers/import_frame.h"
#include "sounding/sounding_record.h"
#include "importers/sas1000_import.h"

using namespace tellumo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::InputScope scope;
  const ImportResult r = ReadSas1000File(fuzz::Bytes(data, size));
  if (r.sounding.points.size() > 52) fuzz::Fail(QStringLiteral("more than 52 points"));
  if (r.outcome == ImportResult::Outcome::Refused && (!r.sounding.points.empty() || r.messages.size() != 1))
    fuzz::Fail(QStringLiteral("a refusal without its one reason, or with points"));
  for (const auto& p : r.sounding.points)
    for (const auto& c : p)
      if (!std::isfinite(c.value())) fuzz::Fail(QStringLiteral("a point that is not finite"));
  if (r.outcome != ImportResult::Outcome::Refused && !r.sounding.points.empty()) {
    PutImportedSounding(r.sounding);
    fuzz::CheckSoundingShape();
    fuzz::CheckSavedSoundingReadsBack();
  }
  return 0;
}
