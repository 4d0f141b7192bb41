#include "modelling/forward_computation.h"
