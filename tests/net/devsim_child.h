// Runs the native device simulator from a Windows test under Wine: started through /bin/sh on a
// free loopback port, stopped by its process id, its request log read back.
#pragma once

#include <string>
#include <vector>

#include "tests/support/win_process.h"

namespace nettest {

// One request as the simulator logged it.
struct LoggedRequest {
  std::string path;
  std::string target;               // path and query as sent
  std::string head;                 // the request head byte for byte
  std::string body;                 // the body bytes
  int status = -1;                  // -1: no reply was sent
  std::vector<std::string> params;  // "name=value" in order
};

class DevsimChild {
 public:
  DevsimChild();
  ~DevsimChild();
  DevsimChild(const DevsimChild&) = delete;
  DevsimChild& operator=(const DevsimChild&) = delete;

  // Starts devsim with args (plus its port, port file and log); false with error() set when it
  // does not come up within 10 s.
  bool Start(const std::vector<std::string>& args);
  // SIGTERM, then waits up to 10 s for the process to end.
  void Stop();

  int port() const { return m_port; }
  int pid() const { return m_pid; }
  const std::string& error() const { return m_error; }
  std::vector<LoggedRequest> Requests() const;
  std::string StderrText() const;

 private:
  testsupport::TempFolder m_folder;
  std::string m_unixFolder;
  int m_pid = 0;
  int m_port = 0;
  std::string m_error;
};

// Starts a Unix program through Wine (no handle comes back). False when it could not start.
bool RunUnixProgram(const std::string& program, const std::string& commandLine);

// Decodes one JSON string literal starting at text[pos] (the opening quote); bytes are
// \u00XX escapes. Advances pos past the closing quote.
bool DecodeJsonString(const std::string& text, size_t& pos, std::string& out);

}  // namespace nettest
