#include "importers/import_state.h"
