// The native device simulator run from a Windows test under Wine: started through /bin/sh on a
// free loopback port, switched at run time through its control paths, its request log read
// back, stopped by its process id.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/win_process.h"

namespace testsupport {

// One request as the simulator logged it.
struct DevsimRequest {
  int64_t tMs = 0;  // wall clock when the request was complete
  std::string path;
  std::string target;               // path and query as sent
  std::string head;                 // the request head byte for byte
  std::string body;                 // the body bytes
  int status = -1;                  // -1: no reply was sent
  std::vector<std::string> params;  // "name=value" in order
  std::vector<std::string> faults;  // the faults applied to the request
};

class DevsimChild {
 public:
  DevsimChild();
  ~DevsimChild();
  DevsimChild(const DevsimChild&) = delete;
  DevsimChild& operator=(const DevsimChild&) = delete;

  // Starts devsim with args (plus its port, port file and log); false with error() set when it
  // does not come up within 10 s.
  bool Start(const std::vector<std::string>& args = {});
  // SIGTERM, then waits up to 10 s for the process to end.
  void Stop();

  int port() const { return m_port; }
  int pid() const { return m_pid; }
  const std::string& error() const { return m_error; }
  std::string StderrText() const;

  // A control request over winsock ("/_devsim/fault?name=stream-drop&count=1"; the caller has
  // started winsock); the reply body, or "" when it failed.
  std::string Control(const std::string& target) const;
  // The complete log lines so far.
  std::vector<DevsimRequest> Requests() const;
  // The requests of one path, in log order.
  std::vector<DevsimRequest> RequestsOf(const std::string& path) const;

 private:
  TempFolder m_folder;
  std::string m_unixFolder;  // ends in a slash
  int m_pid = 0;
  int m_port = 0;
  std::string m_error;
};

}  // namespace testsupport
