#include "tests/devsim/devsim_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace devsim_test {
namespace {

pid_t Spawn(const std::vector<std::string>& args, int* out_fd, const std::string& stderr_path) {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return -1;
  std::vector<char*> argv;
  std::string exe = DEVSIM_EXE;
  argv.push_back(exe.data());
  std::vector<std::string> copy = args;
  for (auto& a : copy) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = fork();
  if (pid == 0) {
    dup2(fds[1], STDOUT_FILENO);
    int err = stderr_path.empty() ? fds[1]
                                  : open(stderr_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(err < 0 ? fds[1] : err, STDERR_FILENO);
    execv(exe.c_str(), argv.data());
    _exit(127);
  }
  close(fds[1]);
  if (pid < 0) {
    close(fds[0]);
    return -1;
  }
  *out_fd = fds[0];
  return pid;
}

// Reads until EOF or until `stop_at` appears; gives up after timeout_ms.
std::string ReadOutput(int fd, int timeout_ms, const std::string& stop_at) {
  std::string out;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (true) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                    deadline - std::chrono::steady_clock::now())
                    .count();
    if (left <= 0) break;
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, static_cast<int>(left)) <= 0) break;
    char buf[512];
    ssize_t n = read(fd, buf, sizeof buf);
    if (n <= 0) break;
    out.append(buf, static_cast<size_t>(n));
    if (!stop_at.empty() && out.find(stop_at) != std::string::npos) break;
  }
  return out;
}

int WaitExit(pid_t pid, int timeout_ms) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (std::chrono::steady_clock::now() < deadline) {
    int status = 0;
    pid_t r = waitpid(pid, &status, WNOHANG);
    if (r == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return -2;
}

}  // namespace

DevsimProcess::~DevsimProcess() {
  if (pid_ > 0 && Stop() < 0 && pid_ > 0) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
}

bool DevsimProcess::Start(const std::vector<std::string>& args) {
  std::vector<std::string> all = args;
  bool has_port = false;
  for (const auto& a : args) has_port = has_port || a == "--port";
  if (!has_port) {
    all.push_back("--port");
    all.push_back("auto");
  }
  int fd = -1;
  stderr_path_ = TempPath("devsim.stderr");
  pid_ = Spawn(all, &fd, stderr_path_);
  if (pid_ < 0) {
    error_ = "fork failed";
    return false;
  }
  std::string out = ReadOutput(fd, 10000, "\n");
  close(fd);  // later output goes nowhere (devsim ignores SIGPIPE)
  if (out.rfind("PORT ", 0) != 0) {
    error_ = "devsim did not start: " + out + StderrText();
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
    return false;
  }
  port_ = std::atoi(out.c_str() + 5);
  return true;
}

int DevsimProcess::Stop() {
  if (pid_ <= 0) return -1;
  kill(pid_, SIGTERM);
  int status = WaitExit(pid_, 10000);
  if (status == -2) return -1;  // still running: the destructor kills it
  pid_ = -1;
  return status;
}

std::string DevsimProcess::StderrText() const {
  std::ifstream in(stderr_path_);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

int RunDevsim(const std::vector<std::string>& args, std::string* out) {
  int fd = -1;
  pid_t pid = Spawn(args, &fd, "");
  if (pid < 0) return -1;
  *out = ReadOutput(fd, 10000, "");
  close(fd);
  int status = WaitExit(pid, 10000);
  if (status == -2) {
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
  }
  return status;
}

namespace {

// The test program's temporary folder, removed when the program ends.
class TempFolder {
 public:
  TempFolder()
      : path_(std::filesystem::temp_directory_path() /
              ("devsim_test_" + std::to_string(getpid()))) {
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace

std::string TempPath(const std::string& name) {
  static TempFolder folder;
  static std::atomic<int> counter{0};
  return (folder.path() / (std::to_string(++counter) + "_" + name)).string();
}

}  // namespace devsim_test
