#include "mainwindow/main_controls_state.h"
