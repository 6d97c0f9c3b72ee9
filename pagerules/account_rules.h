// The account page's rules: the five accounts of the SECURE block, the choice maps, the checks
// of an added or edited account and the maximum-users filter.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

inline constexpr size_t kAccountSlots = 5;
inline constexpr size_t kAccountTextMax = 15;  // name and password, each in 16 bytes

struct AccountRecord {
  int bUsed = 0;
  uint16_t wLevel = 0;
  uint32_t nLifeTime = 1;
  std::string strName;
  std::string strPassword;
  bool operator==(const AccountRecord&) const = default;
};

struct AccountTable {
  std::array<AccountRecord, kAccountSlots> entries{};
  uint16_t count = 0;
  uint32_t maxUsers = 5;
};

// The used entries of the block in block order.
AccountTable LoadAccounts(std::span<const uint8_t> secure);
// Writes the table when accountsChanged (used entries whole; free entries' names and passwords
// zeroed) and MaxUsers when its low byte differs. True when anything was written.
bool StoreAccounts(const AccountTable& table, bool accountsChanged, std::span<uint8_t> secure);

// Choice maps: combo index to value and back.
uint32_t LifeTimeOfIndex(int index);    // 1, 5, 10, 60, 1440, 0xFFFFFFFF; 1 outside
uint16_t LevelOfIndex(int index);       // 30, 20, 10, 0; 0 outside
int IndexOfLifeTime(uint32_t minutes);  // 0-4, else 5
int IndexOfLevel(uint16_t level);       // 10 -> 2, 20 -> 1, 30 -> 0, else 3
// String ids of the list texts of a level (column 1 of the list).
uint32_t LevelTextId(uint16_t level);  // 0 GUEST, 10 NORMAL, 20 HIGH, other SUPERVISOR

// Login names compare without regard to case.
bool SameLoginName(std::string_view a, std::string_view b);
// Every blank removed.
std::string RemoveBlanks(std::string_view text);

enum class AccountCheck {
  kOk,
  kIncomplete,   // empty name or password, or a choice not made
  kTooLong,      // more than 15 characters
  kNameExists,   // another used entry has this name (with case)
  kTableFull,    // five accounts already
  kOverMaxUsers  // as many accounts as the maximum of users
};

struct AccountEdit {
  std::string name;
  std::string password;
  int lifeTimeIndex = -1;
  int levelIndex = -1;
};

// editIndex: the entry being edited, or -1 when adding.
AccountCheck CheckAccount(const AccountTable& table, int editIndex, const AccountEdit& edit);

// The maximum-users edit after typing: the value kept, and whether message 4043 is due. Nothing
// happens to an empty text or one without digits.
struct MaxUsersFilter {
  bool changed = false;
  bool message = false;
  uint32_t value = 0;
};
MaxUsersFilter FilterMaxUsers(std::string_view text);
