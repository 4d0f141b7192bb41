#include "platform/profile_file.h"
