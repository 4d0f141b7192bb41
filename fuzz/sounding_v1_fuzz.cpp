// The reader of version 1.0 sounding files (TLQ).
#include "fuzz_support.h"
#include "sounding/older_formats.h"
#include "sounding/sounding_record.h"

using namespace tellumo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::InputScope scope;
  FileTitle = QStringLiteral("fuzz.TLQ");
  const bool ok = ReadSoundingV1Bytes(fuzz::Bytes(data, size));
  fuzz::CheckSoundingShape();
  if (ok) fuzz::CheckSavedSoundingReadsBack();
  return 0;
}
