// The sounding file reader (TM3 versions 5 and 3, ELQ version 2.2). Each
// input is read twice, as a TM3 and as an ELQ, since the file's extension
// and not its bytes tells the reader which divisors a version-2.2 file uses.
#include "fuzz_support.h"
#include "sounding/sounding_file.h"
#include "sounding/sounding_record.h"

using namespace tellumo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes = fuzz::Bytes(data, size);
  for (const int16_t version : {int16_t{3}, int16_t{2}}) {
    fuzz::InputScope scope;
    FileTitle = version == 2 ? QStringLiteral("fuzz.ELQ") : QStringLiteral("fuzz.TM3");
    FileVersion = version;
    const bool ok = ReadSoundingBytes(bytes);
    fuzz::CheckSoundingShape();
    if (ok) fuzz::CheckSavedSoundingReadsBack();
  }
  return 0;
}
