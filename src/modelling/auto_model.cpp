#include "modelling/auto_model.h"
