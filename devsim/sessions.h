// Sessions opened by "/Login.cgi": the Session-ID is the Cookie of every later request.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <string_view>

#include "devsim/device_profile.h"

namespace devsim {

struct Session {
  std::string id;
  Account account;
  // What the last "/Getdeviceinfo.cgi" of this session asked for (the stream follows it).
  std::optional<std::string> res, qua, ch;
  bool new_header = false;  // NEWHR=1 was sent
};

class SessionTable {
 public:
  SessionTable();
  // A new session with a fresh id of `length` hexadecimal digits.
  const Session& Open(const Account& account, int length);
  Session* Find(std::string_view id);
  void Clear() { sessions_.clear(); }
  size_t Count() const { return sessions_.size(); }

 private:
  std::map<std::string, Session, std::less<>> sessions_;
  std::mt19937_64 rng_;
};

}  // namespace devsim
