// The FTP page's values in the FTP block and its port filter.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

inline constexpr uint32_t kFtpDefaultPort = 21;

struct FtpValues {
  std::string server;    // at most 31 characters
  std::string user;      // at most 15
  std::string password;  // at most 15
  std::string path;      // at most 31
  uint32_t port = kFtpDefaultPort;
};

// A stored text that does not fit its limit is loaded empty.
FtpValues LoadFtp(std::span<const uint8_t> ftp);
// Writes each value that differs from the snapshot and fits its field; true when anything was
// written.
bool StoreFtp(const FtpValues& now, const FtpValues& snapshot, std::span<uint8_t> ftp);

// What the port edit keeps of a typed text: its digits as a number 1..65535, or nothing (the
// page then shows 4054 and the port becomes 21). An empty text is left alone (empty optional,
// empty = true).
struct FtpPortFilter {
  bool empty = false;
  bool valid = false;
  uint32_t port = kFtpDefaultPort;
};
FtpPortFilter FilterFtpPort(std::string_view text);
