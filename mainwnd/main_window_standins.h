// The main-window objects the application data embeds: the model layout, the channel bar, and a
// stand-in for the camera-sensor toolbar until its class replaces it.
#pragma once

#include <cstdint>

#include "mainwnd/channel_bar.h"
#include "mainwnd/model_layout.h"

class CCmosToolBarDlg {};
