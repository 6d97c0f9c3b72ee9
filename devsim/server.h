// The listener: accepts connections on a loopback address and serves each on its own thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <list>
#include <mutex>
#include <vector>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include <netinet/in.h>

#include "devsim/device.h"
#include "devsim/request_log.h"

namespace devsim {

inline constexpr int kAutoPortFirst = 2000;
inline constexpr int kAutoPortLast = 9999;

class Server {
 public:
  Server(Device& device, RequestLog* log, int read_timeout_ms);
  ~Server();
  Server(const Server&) = delete;
  Server& operator=(const Server&) = delete;

  // Binds and listens on `address` (127.0.0.0/8 only).  port nullopt: a free port from
  // kAutoPortFirst to kAutoPortLast; 0: any free port.
  bool Listen(const std::string& address, std::optional<int> port, std::string* error);
  int port() const { return port_; }
  // Listens on one more port of the same address too (from any thread); true when it listens
  // there now or did already.
  bool ListenAlso(int port);
  // Every port listened on, the first one first.
  std::vector<int> Ports() const;

  // Accepts and serves until wake_fd becomes readable.
  void Run(int wake_fd);

  // Stops every connection (their waits end at once) and joins their threads.
  void Shutdown();

 private:
  struct Worker {
    std::thread thread;
    std::shared_ptr<std::atomic<bool>> done;
  };
  void ReapFinished();
  void Accept(int listen_fd);

  Device& device_;
  RequestLog* log_;
  int read_timeout_ms_;
  int listen_fd_ = -1;
  int port_ = 0;
  in_addr_t address_ = 0;  // network order
  mutable std::mutex extra_mu_;
  std::vector<std::pair<int, int>> extra_;  // fd, port of the ports listened on besides port_
  int stop_read_ = -1;
  int stop_write_ = -1;
  uint64_t next_conn_ = 1;
  std::list<Worker> workers_;
};

}  // namespace devsim
