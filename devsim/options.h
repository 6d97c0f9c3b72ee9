// devsim's command line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace devsim {

struct Options {
  std::string bind = "127.0.0.1";
  std::optional<int> port = 8080;  // nullopt: "auto"
  std::string port_file;
  std::string log_file;
  std::string product = "RZ1K";
  // Settings in command-line order; key "@file" reads a profile file at that point.
  std::vector<std::pair<std::string, std::string>> settings;
  std::string blocks_file;
  std::vector<std::string> faults;
  int read_timeout_ms = 30000;
  std::string record_stream;  // when set: write a stream to this file and exit
  int64_t record_frames = 100;
  // The LAN search responder: one spec per simulated device (none: no responder).
  std::vector<std::string> search_devices;
  int search_port = 7777;
  int search_reply_port = 3332;
  bool help = false;
};

// Parses argv; on error returns nullopt with *error set.
std::optional<Options> ParseOptions(int argc, char** argv, std::string* error);

std::string HelpText();

}  // namespace devsim
