#include "modelling/model_window_state.h"
