#pragma once
// Shared state of the import subsystem. The one value a conversion changes for
// the rest of the program, the array code the RES2DINV conversion saves and
// restores, is the record's StartupArrayCode (sounding/sounding_record.h).

namespace tellumo {

// Start-up state of the importers' shared values.
void ResetImportState();

}  // namespace tellumo
