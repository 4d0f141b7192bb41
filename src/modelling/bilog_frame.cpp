#include "modelling/bilog_frame.h"
