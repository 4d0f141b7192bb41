#include "profiles/profile_state.h"
