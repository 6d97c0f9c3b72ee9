// The one registry of the program's window-message numbers: which folder owns which. Each folder
// names its own messages in its messages header and checks them against this registry.
#pragma once

#include <cstdint>

namespace ost::msg {

inline constexpr uint32_t kUserBase = 0x0400;  // WM_USER
inline constexpr uint32_t kAppBase = 0x8000;   // WM_APP

enum class Owner { kNone, kLive, kSession, kLogin, kMainWnd, kTools, kRecord, kSettings };

// Numbers WM_USER + n that the device's clients have always used, fixed for compatibility with
// what is posted between windows. No two folders share a number.
inline constexpr struct {
  uint32_t n;
  Owner owner;
} kFixedUserMessages[] = {
    {2, Owner::kLive},      {3, Owner::kMainWnd},   {4, Owner::kMainWnd},   {5, Owner::kMainWnd},
    {6, Owner::kMainWnd},   {8, Owner::kMainWnd},   {9, Owner::kMainWnd},   {10, Owner::kMainWnd},
    {11, Owner::kMainWnd},  {12, Owner::kSession},  {15, Owner::kLogin},    {16, Owner::kLogin},
    {19, Owner::kLive},     {27, Owner::kSession},  {32, Owner::kLive},     {33, Owner::kLogin},
    {34, Owner::kLogin},    {43, Owner::kLogin},    {40, Owner::kTools},    {41, Owner::kTools},
    {42, Owner::kTools},    {21, Owner::kSettings}, {28, Owner::kSettings}, {18, Owner::kSettings},
    {20, Owner::kSettings},
};

// Our own messages: WM_APP + a range of 32 numbers per folder.
inline constexpr uint32_t kRangeSize = 0x20;
constexpr uint32_t RangeFirst(Owner owner) {
  switch (owner) {
    case Owner::kSession:
      return kAppBase + 0x120;
    case Owner::kMainWnd:
      return kAppBase + 0x140;
    case Owner::kLive:
      return kAppBase + 0x160;
    case Owner::kLogin:
      return kAppBase + 0x180;
    case Owner::kTools:
      return kAppBase + 0x1A0;
    case Owner::kRecord:
      return kAppBase + 0x1C0;
    case Owner::kSettings:
      return kAppBase + 0x1E0;
    case Owner::kNone:
      break;
  }
  return 0;
}

// Who owns message number m: a fixed WM_USER number or a folder's WM_APP range.
constexpr Owner OwnerOf(uint32_t m) {
  for (const auto& fixed : kFixedUserMessages)
    if (m == kUserBase + fixed.n) return fixed.owner;
  for (Owner o : {Owner::kSession, Owner::kMainWnd, Owner::kLive, Owner::kLogin, Owner::kTools,
                  Owner::kRecord, Owner::kSettings}) {
    if (m >= RangeFirst(o) && m < RangeFirst(o) + kRangeSize) return o;
  }
  return Owner::kNone;
}

constexpr bool FixedNumbersAreDistinct() {
  for (const auto& a : kFixedUserMessages) {
    int seen = 0;
    for (const auto& b : kFixedUserMessages) seen += a.n == b.n ? 1 : 0;
    if (seen != 1) return false;
  }
  return true;
}
static_assert(FixedNumbersAreDistinct(), "a WM_USER number is registered twice");

}  // namespace ost::msg

#ifdef _WIN32
#include <windows.h>
static_assert(WM_USER == ost::msg::kUserBase && WM_APP == ost::msg::kAppBase);
#endif
