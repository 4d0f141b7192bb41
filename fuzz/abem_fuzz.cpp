// The ABEM .VES parser, then the frame putting what it returned into the
// sounding record as a conversion does.
#include "fuzz_support.h"
#include "importers/abem_import.h"

using namespace tellumo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::CheckOneSoundingImport(ReadAbemVesFile(fuzz::Bytes(data, size)), 5);
  return 0;
}
