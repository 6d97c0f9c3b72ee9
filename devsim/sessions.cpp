#include "devsim/sessions.h"

namespace devsim {

SessionTable::SessionTable() : rng_(std::random_device{}()) {}

const Session& SessionTable::Open(const Account& account, int length) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string id;
  do {
    id.clear();
    for (int i = 0; i < length; ++i) id += kDigits[rng_() & 15];
  } while (sessions_.count(id) != 0);
  Session s;
  s.id = id;
  s.account = account;
  return sessions_[id] = std::move(s);
}

Session* SessionTable::Find(std::string_view id) {
  auto it = sessions_.find(id);
  return it == sessions_.end() ? nullptr : &it->second;
}

}  // namespace devsim
