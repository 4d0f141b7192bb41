// The Geotrade .GTR parser, then the frame putting what it returned into the
// sounding record as a conversion does.
#include "fuzz_support.h"
#include "importers/geotrade_import.h"

using namespace tellumo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::CheckOneSoundingImport(ReadGeotradeFile(fuzz::Bytes(data, size)), 5);
  return 0;
}
