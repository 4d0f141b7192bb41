#include "platform/bilog_view.h"
