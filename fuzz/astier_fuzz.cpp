// The Astier reader: whatever the bytes, at most one pair past the 51 a
// sounding keeps, every value finite, the texts the file gives, and the
// sounding taken can be saved and read back.
#include <algorithm>
#include <cmath>

#include "fuzz_support.h"
#include "importers/import_frame.h"
#include "importers/astier_import.h"
#include "sounding/sounding_record.h"

using namespace tellumo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::InputScope scope;
  const ImportResult r = ParseAstier(fuzz::Bytes(data, size));
  const auto& points = r.sounding.points;
  if (points.size() > static_cast<size_t>(kMaxFilePoints) + 1) fuzz::Fail(QStringLiteral("%1 pairs").arg(points.size()));
  if (r.outcome == ImportResult::Outcome::Refused) fuzz::Fail(QStringLiteral("an Astier file is never refused"));
  if (r.outcome == ImportResult::Outcome::ReadingError && r.line < 1) fuzz::Fail(QStringLiteral("no line for the fault"));
  for (const auto& p : points)
    for (const vb::Cell& c : p)
      if (!std::isfinite(c.value())) fuzz::Fail(QStringLiteral("a value not finite"));
  if (!points.empty()) {
    if (!r.sounding.comment.startsWith(QStringLiteral("Profil ")) || r.sounding.title != QStringLiteral("2"))
      fuzz::Fail(QStringLiteral("texts not the file's"));
    PutImportedSounding(r.sounding);
    fuzz::CheckSoundingShape();
    fuzz::CheckSavedSoundingReadsBack();
  }
  return 0;
}
