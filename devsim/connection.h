// One connection: read one request, answer it as the device (or a fault) would, close.
#pragma once

#include <cstdint>

#include "devsim/device.h"
#include "devsim/request_log.h"

namespace devsim {

struct ConnectionContext {
  Device& device;
  RequestLog* log;  // may be null
  int stop_fd;      // readable once devsim stops
  int read_timeout_ms;
};

// Serves the connection and closes fd.
void ServeConnection(int fd, uint64_t conn_id, const ConnectionContext& ctx);

}  // namespace devsim
