#include "platform/grid_model.h"
