// Turns one complete request into the reply and the way it is delivered.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "devsim/device.h"
#include "devsim/http_reply.h"
#include "devsim/http_request.h"

namespace devsim {

struct Outcome {
  Reply reply;
  Delivery delivery;
  std::vector<std::string> faults;  // names of the faults that fired
  bool logged = true;               // control requests are not logged
  bool opens_stream = false;        // a live stream follows in place of the reply
  bool holds = false;               // a hold connection: kept open, nothing sent
  std::string stream_session;       // the session the stream follows (empty: none)
  bool opens_backup = false;        // backup chunks follow in place of the reply
  BackupPlan backup;
};

Outcome Route(Device& device, const RequestHead& head, std::string_view body);

}  // namespace devsim
