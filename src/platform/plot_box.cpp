#include "platform/plot_box.h"
