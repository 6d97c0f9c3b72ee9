// The device's user levels and the string ids of their names, shared by the account and
// online-users pages.
#pragma once

#include <cstdint>

inline constexpr uint16_t kLevelGuest = 0, kLevelNormal = 10, kLevelHigh = 20,
                          kLevelSupervisor = 30;
inline constexpr uint32_t kTextGuest = 3013, kTextNormalUser = 3012, kTextHighUser = 8332,
                          kTextSupervisor = 3011;

// The name's string id of one of the four levels; 0 for any other value.
constexpr uint32_t UserLevelTextId(uint16_t level) {
  switch (level) {
    case kLevelGuest:
      return kTextGuest;
    case kLevelNormal:
      return kTextNormalUser;
    case kLevelHigh:
      return kTextHighUser;
    case kLevelSupervisor:
      return kTextSupervisor;
    default:
      return 0;
  }
}
