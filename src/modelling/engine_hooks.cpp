#include "modelling/engine_hooks.h"
