// The device's LAN search responder: simulated devices answering "QX_SEARCH", "QX_SET_IP" and
// "QX_RESET" datagrams on UDP port 7777, replying to port 3332 of the sender. It runs only
// inside the network namespace a test created and named in OST_SEARCH_NETNS.
#pragma once

#include <array>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace devsim {

struct SearchDevice {
  uint8_t type = 83;
  std::array<uint8_t, 6> mac{};
  std::array<uint8_t, 4> ip{}, mask{255, 255, 255, 0}, gateway{}, dns{};
  uint16_t port = 80;
  std::string user = "revuv", password = "revuv";
  bool dhcp = false;    // set-up answers 2
  bool silent = false;  // set-up goes unanswered
  int delay_ms = 0;     // before its search reply
};

// "type=83,mac=02:1a:2b:3c:4d:5e,ip=10.77.0.20,mask=..,gateway=..,dns=..,port=80,user=..,
// password=..,dhcp=1,silent=1,delay=ms"; false with *error set on a bad key or value.
bool ParseSearchDevice(const std::string& spec, SearchDevice* out, std::string* error);

class SearchResponder {
 public:
  ~SearchResponder();
  // Binds 0.0.0.0:port and starts answering; false with *error set outside the test's network
  // namespace or when the port cannot be bound.
  bool Start(std::vector<SearchDevice> devices, uint16_t port, uint16_t reply_port,
             std::string* error);
  void Stop();

 private:
  void Run();
  void Answer(const uint8_t* packet, uint32_t from_ip);

  std::mutex mu_;
  std::vector<SearchDevice> devices_;  // current settings
  std::vector<SearchDevice> factory_;  // what a reset restores
  int fd_ = -1;
  int stop_pipe_[2] = {-1, -1};
  uint16_t reply_port_ = 3332;
  std::thread thread_;
};

}  // namespace devsim
