#include "pagerules/account_rules.h"

#include <algorithm>
#include <cctype>

#include "pagerules/field_text.h"

namespace {

constexpr size_t kMaxUsersOffset = 2;
constexpr size_t kNameOffset = 8, kPasswordOffset = 88, kTextWidth = 16;
constexpr size_t kLevelOffset = 168, kLifeOffset = 176;
constexpr uint32_t kLifeTimes[] = {1, 5, 10, 60, 1440, 0xFFFFFFFFu};
constexpr uint16_t kLevels[] = {30, 20, 10, 0};

}  // namespace

AccountTable LoadAccounts(std::span<const uint8_t> secure) {
  AccountTable t;
  t.maxUsers = secure.size() > kMaxUsersOffset ? secure[kMaxUsersOffset] : 0;
  for (size_t i = 0; i < kAccountSlots; ++i) {
    std::string name = FieldText(BlockField(secure, kNameOffset + i * kTextWidth, kTextWidth));
    if (name.empty()) continue;
    AccountEntry& e = t.entries[t.count++];
    e.bUsed = 1;
    e.strName = std::move(name);
    e.strPassword = FieldText(BlockField(secure, kPasswordOffset + i * kTextWidth, kTextWidth));
    e.wLevel = secure.size() > kLevelOffset + i ? secure[kLevelOffset + i] : 0;
    e.nLifeTime = ReadU32(secure, kLifeOffset + i * 4);
  }
  return t;
}

bool StoreAccounts(const AccountTable& table, bool accountsChanged, std::span<uint8_t> secure) {
  bool written = false;
  if (accountsChanged) {
    for (size_t i = 0; i < kAccountSlots; ++i) {
      const AccountEntry& e = table.entries[i];
      auto name = BlockField(secure, kNameOffset + i * kTextWidth, kTextWidth);
      auto password = BlockField(secure, kPasswordOffset + i * kTextWidth, kTextWidth);
      if (e.bUsed) {
        if (secure.size() > kLevelOffset + i) secure[kLevelOffset + i] = static_cast<uint8_t>(e.wLevel);
        WriteU32(secure, kLifeOffset + i * 4, e.nLifeTime);
        WriteFieldText(name, e.strName);
        WriteFieldText(password, e.strPassword);
      } else {
        std::fill(name.begin(), name.end(), uint8_t{0});
        std::fill(password.begin(), password.end(), uint8_t{0});
      }
    }
    written = true;
  }
  const auto maxUsers = static_cast<uint8_t>(table.maxUsers);
  if (secure.size() > kMaxUsersOffset && secure[kMaxUsersOffset] != maxUsers) {
    secure[kMaxUsersOffset] = maxUsers;
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
    case 10: return 2;
    case 20: return 1;
    case 30: return 0;
    default: return 3;
  }
}

uint32_t LevelTextId(uint16_t level) {
  switch (level) {
    case 0: return 3013;
    case 10: return 3012;
    case 20: return 8332;
    default: return 3011;
  }
}

bool SameLoginName(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
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
  if (edit.name.empty() || edit.password.empty() || edit.lifeTimeIndex < 0 ||
      edit.levelIndex < 0)
    return AccountCheck::kIncomplete;
  if (edit.name.size() > kAccountTextMax || edit.password.size() > kAccountTextMax)
    return AccountCheck::kTooLong;
  for (size_t i = 0; i < kAccountSlots; ++i) {
    const AccountEntry& e = table.entries[i];
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
