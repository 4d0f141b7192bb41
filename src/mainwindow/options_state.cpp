#include "mainwindow/options_state.h"
