// The PASI data reader and its spacing-template reader: whatever the bytes,
// the points are finite and never more than one past what a sounding keeps,
// a template never has more than 51 rows; taken over, the points make a
// sounding that saves and reads back.
#include <algorithm>
#include <cmath>

#include "fuzz_support.h"
#include "importers/import_frame.h"
#include "sounding/sounding_record.h"
#include "importers/pasi_import.h"

using namespace tellumo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes = fuzz::Bytes(data, size);
  for (const bool wenner : {false, true}) {
    const auto rows = ParsePasiTemplate(bytes, wenner);
    if (rows && rows->size() > static_cast<size_t>(kPasiTemplateRows))
      fuzz::Fail(QStringLiteral("a template of more than 51 rows"));
  }

  fuzz::InputScope scope;
  const ImportResult r = ReadPasiFile(bytes);
  if (r.outcome == ImportResult::Outcome::Refused) fuzz::Fail(QStringLiteral("a PASI file refused"));
  if (r.sounding.points.size() > 52) fuzz::Fail(QStringLiteral("more than 52 points"));
  for (const auto& p : r.sounding.points)
    for (const auto& c : p)
      if (!std::isfinite(c.value())) fuzz::Fail(QStringLiteral("a point that is not finite"));
  if (!r.sounding.points.empty()) {
    PutImportedSounding(r.sounding);
    fuzz::CheckSoundingShape();
    fuzz::CheckSavedSoundingReadsBack();
  }
  return 0;
}
