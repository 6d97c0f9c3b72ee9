// Starts devsim as a child process on a free loopback port and stops it by its process id.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace devsim_test {

class DevsimProcess {
 public:
  DevsimProcess() = default;
  ~DevsimProcess();
  DevsimProcess(const DevsimProcess&) = delete;
  DevsimProcess& operator=(const DevsimProcess&) = delete;

  // Runs devsim with `args` (plus "--port auto" unless args name a port) and waits for its
  // "PORT <n>" line.  False when it exits or prints nothing within 10 s; error() says why.
  bool Start(const std::vector<std::string>& args);
  // SIGTERM, then waits; returns the exit status (-1 when it did not exit normally in 10 s).
  int Stop();

  int port() const { return port_; }
  pid_t pid() const { return pid_; }
  const std::string& error() const { return error_; }
  // What devsim wrote to stderr so far (sanitizer reports end up here).
  std::string StderrText() const;

 private:
  pid_t pid_ = -1;
  int port_ = 0;
  std::string error_;
  std::string stderr_path_;
};

// Runs devsim to the end (for --help and bad options); returns the exit status and its output.
int RunDevsim(const std::vector<std::string>& args, std::string* out);

// A fresh file name in the test's temporary folder.
std::string TempPath(const std::string& name);

}  // namespace devsim_test
