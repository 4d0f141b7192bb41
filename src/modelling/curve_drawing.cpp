#include "modelling/curve_drawing.h"
