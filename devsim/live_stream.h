// A "/Getvideo.cgi" connection: no HTTP reply head, just frames (header and JPEG), paced by the
// frame rate, until the peer closes, a fault drops the stream or devsim stops.
#pragma once

#include <string>

#include "devsim/device.h"

namespace devsim {

// Streams on fd and closes it.  session_id: the session whose choices the stream follows
// (empty: none, the live settings' defaults).
void ServeLiveStream(int fd, Device& device, int stop_fd, const std::string& session_id);

}  // namespace devsim
