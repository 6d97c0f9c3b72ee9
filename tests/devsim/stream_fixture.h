// Fixture of the live-stream tests: sessions set up as the client sets them up, settings and
// the stream counters of the control interface.
#pragma once

#include <string>

#include "tests/devsim/devsim_fixture.h"
#include "tests/devsim/stream_client.h"

namespace devsim_test {

struct StreamCounts {
  int open = -1;
  long long frames = -1;
  long long encodes = -1;
};

class StreamTest : public DevsimTest {
 protected:
  // Logs in and sends "/Getdeviceinfo.cgi?Cookie=..<params>" (e.g. "&RES=1&QUA=0&CH=1&NEWHR=1");
  // returns the cookie.
  std::string OpenSession(const std::string& params);
  // "/_devsim/set?<query>", expecting "ok".
  void Set(const std::string& query);
  // "/_devsim/fault?name=<query>", expecting an id.
  void AddFault(const std::string& query);
  StreamCounts Counts();
  // Polls the counters until `open` streams are open; false after timeout_ms.
  bool WaitForOpenStreams(int open, int timeout_ms = 5000);
};

}  // namespace devsim_test
