#include "printing/print_state.h"
