#include "sounding/settings_file.h"
