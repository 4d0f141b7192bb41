// The reader of the DOS program's sounding files (SEV).
#include "fuzz_support.h"
#include "sounding/older_formats.h"
#include "sounding/sounding_record.h"

using namespace tellumo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::InputScope scope;
  FileTitle = QStringLiteral("fuzz.SEV");
  const bool ok = ReadDosSevBytes(fuzz::Bytes(data, size));
  fuzz::CheckSoundingShape();
  if (ok) fuzz::CheckSavedSoundingReadsBack();
  return 0;
}
