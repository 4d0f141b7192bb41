#include "modelling/page_drawing.h"
