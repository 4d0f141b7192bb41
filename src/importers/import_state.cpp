#include "importers/import_state.h"

namespace tellumo {

// Nothing of the importers outlives a conversion yet.
void ResetImportState() {}

}  // namespace tellumo
