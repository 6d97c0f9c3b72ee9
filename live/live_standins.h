// The live-view objects the application data embeds: the frame-header parser and the display
// mode, and the alarm wave file.
#pragma once

#include <cstdint>
#include <string>

#include "live/alarm_wave.h"
#include "live/display_mode.h"
#include "live/rtp_header_parser.h"

