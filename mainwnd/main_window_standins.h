// The main-window objects the application data embeds: the model layout, and stand-ins for
// the channel bar and the camera-sensor toolbar until their classes replace them.
#pragma once

#include <cstdint>

#include "mainwnd/model_layout.h"

class CCmosToolBarDlg {};
class CChannelBar {};
