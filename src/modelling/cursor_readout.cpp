#include "modelling/cursor_readout.h"
