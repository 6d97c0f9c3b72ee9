#include "pagerules/account_rules.h"

#include <algorithm>
#include <cctype>

#include "net/sys_cfg_fields.h"
#include "pagerules/user_levels.h"

namespace {

constexpr uint32_t kLifeTimes[] = {1, 5, 10, 60, 1440, 0xFFFFFFFFu};
constexpr uint16_t kLevels[] = {kLevelSupervisor, kLevelHigh, kLevelNormal, kLevelGuest};

}  // namespace

AccountTable LoadAccounts(std::span<const uint8_t> secure) {
  using namespace cfg::secure;
  AccountTable t;
  t.maxUsers = CfgGetUint(secure, kMaxUsers);
  for (unsigned i = 0; i < kAccountSlots; ++i) {
    std::string name = CfgGetText(secure, kUserName, i);
    if (name.empty()) continue;
    AccountRecord& e = t.entries[t.count++];
    e.bUsed = 1;
    e.strName = std::move(name);
    e.strPassword = CfgGetText(secure, kUserPassword, i);
    e.wLevel = static_cast<uint16_t>(CfgGetUint(secure, kUserLevel, i));
    e.nLifeTime = CfgGetUint(secure, kUserLifeTime, i);
  }
  return t;
}

bool StoreAccounts(const AccountTable& table, bool accountsChanged, std::span<uint8_t> secure) {
  using namespace cfg::secure;
  bool written = false;
  if (accountsChanged) {
    for (unsigned i = 0; i < kAccountSlots; ++i) {
      const AccountRecord& e = table.entries[i];
      CfgClear(secure, kUserName, i);
      CfgClear(secure, kUserPassword, i);
      if (!e.bUsed) continue;  // a free entry's level and life time stay
      CfgSetUint(secure, kUserLevel, e.wLevel, i);
      CfgSetUint(secure, kUserLifeTime, e.nLifeTime, i);
      CfgSetText(secure, kUserName, e.strName, i);
      CfgSetText(secure, kUserPassword, e.strPassword, i);
    }
    written = true;
  }
  const uint32_t maxUsers = table.maxUsers & 0xFF;
  if (CfgEntryFits(kMaxUsers, 0, secure.size()) && CfgGetUint(secure, kMaxUsers) != maxUsers) {
    CfgSetUint(secure, kMaxUsers, maxUsers);
    written = true;
  }
  return written;
}

uint32_t LifeTimeOfIndex(int index) {
  return index >= 0 && index < 6 ? kLifeTimes[index] : 1;
}

uint16_t LevelOfIndex(int index) {
  return index >= 0 && index < 4 ? kLevels[index] : 0;
}

int IndexOfLifeTime(uint32_t minutes) {
  for (int i = 0; i < 5; ++i)
    if (kLifeTimes[i] == minutes) return i;
  return 5;
}

int IndexOfLevel(uint16_t level) {
  switch (level) {
    case 10:
      return 2;
    case 20:
      return 1;
    case 30:
      return 0;
    default:
      return 3;
  }
}

uint32_t LevelTextId(uint16_t level) {
  const uint32_t id = UserLevelTextId(level);
  return id != 0 ? id : kTextSupervisor;
}

bool SameLoginName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

std::string RemoveBlanks(std::string_view text) {
  std::string out;
  for (char c : text)
    if (c != ' ') out.push_back(c);
  return out;
}

AccountCheck CheckAccount(const AccountTable& table, int editIndex, const AccountEdit& edit) {
  if (edit.name.empty() || edit.password.empty() || edit.lifeTimeIndex < 0 || edit.levelIndex < 0)
    return AccountCheck::kIncomplete;
  if (edit.name.size() > kAccountTextMax || edit.password.size() > kAccountTextMax)
    return AccountCheck::kTooLong;
  for (size_t i = 0; i < kAccountSlots; ++i) {
    const AccountRecord& e = table.entries[i];
    if (e.bUsed && static_cast<int>(i) != editIndex && e.strName == edit.name)
      return AccountCheck::kNameExists;
  }
  if (editIndex < 0) {
    if (table.count >= kAccountSlots) return AccountCheck::kTableFull;
    if (table.maxUsers != 0 && table.count >= table.maxUsers) return AccountCheck::kOverMaxUsers;
  }
  return AccountCheck::kOk;
}

MaxUsersFilter FilterMaxUsers(std::string_view text) {
  MaxUsersFilter f;
  uint64_t n = 0;
  bool digits = false;
  for (char c : text) {
    if (c < '0' || c > '9') continue;
    digits = true;
    n = std::min<uint64_t>(n * 10 + static_cast<uint64_t>(c - '0'), 1000000);
  }
  if (!digits) return f;
  f.changed = true;
  f.value = static_cast<uint32_t>(n);
  if (n > 5) {
    f.message = true;
    f.value = 5;
  } else if (n == 0) {
    f.message = true;
    f.value = 3;
  }
  return f;
}
