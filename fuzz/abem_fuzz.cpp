// The ABEM .VES parser, then the frame putting what it returned into the
// sounding record as a conversion does.
#include <cmath>

#include "fuzz_support.h"
#include "importers/abem_import.h"
#include "importers/import_frame.h"

using namespace tellumo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const ImportResult r = ReadAbemVesBytes(fuzz::Bytes(data, size));
  if (r.outcome == ImportResult::Outcome::Refused) {
    if (!r.sounding.points.empty() || r.messages.isEmpty())
      fuzz::Fail(QStringLiteral("a refusal that took points or said nothing"));
    return 0;
  }
  if (r.sounding.maxSpacing < 0 || r.sounding.maxSpacing > 5)
    fuzz::Fail(QStringLiteral("decade %1").arg(r.sounding.maxSpacing));
  for (const auto& p : r.sounding.points)
    for (const vb::Cell& c : p)
      if (!std::isfinite(c.value())) fuzz::Fail(QStringLiteral("a point value not finite"));
  for (const auto& l : r.sounding.layers)
    for (const vb::Cell& c : l)
      if (!std::isfinite(c.value())) fuzz::Fail(QStringLiteral("a layer value not finite"));
  fuzz::InputScope scope;
  PutImportedSounding(r.sounding);
  fuzz::CheckSoundingShape();
  return 0;
}
