#include "modelling/misfit_fit.h"
