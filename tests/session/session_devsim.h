// The device simulator for the session tests: started through /bin/sh on a free loopback port,
// switched at run time through its control paths, its request log read back with the time of
// each request, stopped by its process id.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/win_process.h"

namespace sessiontest {

struct DevsimRequest {
  int64_t tMs = 0;  // wall clock when the request was complete
  std::string path;
  std::string target;
  int status = -1;  // -1: no reply was sent
  std::vector<std::string> faults;
};

class Devsim {
 public:
  Devsim();
  ~Devsim();
  Devsim(const Devsim&) = delete;
  Devsim& operator=(const Devsim&) = delete;

  // Starts devsim with args (plus its port, port file and log); false when it does not come up.
  bool Start(const std::vector<std::string>& args = {});
  void Stop();
  int Port() const { return m_port; }
  const std::string& Error() const { return m_error; }

  // A control request ("/_devsim/fault?name=stream-drop&count=1"); the reply body, or "" when
  // it failed.
  std::string Control(const std::string& target) const;
  std::vector<DevsimRequest> Requests() const;
  // The requests of one path, in log order.
  std::vector<DevsimRequest> RequestsOf(const std::string& path) const;

 private:
  testsupport::TempFolder m_folder;
  std::string m_unixFolder;
  int m_pid = 0;
  int m_port = 0;
  std::string m_error;
};

}  // namespace sessiontest
