// The main-window objects the application data refers to (the program owns them): the model
// layout, the channel bar and the camera-sensor toolbar.
#pragma once

#include <cstdint>

#include "mainwnd/channel_bar.h"
#include "mainwnd/cmos_toolbar_dlg.h"
#include "mainwnd/model_layout.h"
