#include "disc/disc_checks.h"

#include <cstring>

namespace disc {

namespace {

char UpperAscii(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

uint32_t MediaKindOf(bool hasInfo, uint32_t mask, bool keepUnknown, uint32_t previous) {
  if (!hasInfo || mask == 0) return kKindNoDisc;
  if (mask & kMediaCD) return kKindCD;
  constexpr uint32_t kDvdBits =
      0x2 | 0x4 | 0x8 | 0x10 | 0x800 | 0x1000 | 0x2000 | 0x4000 | 0x40000 | 0x80000;
  if (mask & kDvdBits) return kKindDVD;
  return keepUnknown ? previous : kKindNotWritable;
}

bool HasDvrExtension(const std::string& name) {
  if (name.size() < 4) return false;
  std::string tail = name.substr(name.size() - 4);
  for (char& c : tail) c = UpperAscii(c);
  return tail == ".DVR";
}

std::string FileNamePart(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool SameDiscName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
  }
  return true;
}

bool SpaceSuffices(uint64_t neededBytes, uint32_t freeBlocks) {
  return neededBytes + 4096 <= static_cast<uint64_t>(freeBlocks) * 2048;
}

std::string ImportResultText(int result) {
  static const char* const kTexts[] = {"an unknown error",   "a generic error",
                                       "a drive error",      "a read error",
                                       "a filesystem error", "an invalid track number"};
  if (result < 0 || result > 5) result = 0;
  return kTexts[result];
}

std::string BurnResultMessage(int result) {
  static const char* const kTexts[] = {
      "",
      "Write CD Error : unknown CD format",
      "Write CD Error : invalid drive",
      "Write CD Error : burn failed",
      "Write CD Error : function not allowed",
      "Write CD Error : drive not allowed",
      "Write CD Error : user aborted",
      "Write CD Error : bad message file",
  };
  if (result >= 0 && result <= 7) return kTexts[result];
  return "Write CD Error : unknown error";
}

std::string ItemName(const EngineIsoItem& item) {
  if (item.pLongFileName != nullptr && item.pLongFileName[0] != '\0') return item.pLongFileName;
  return std::string(item.szShortName, strnlen(item.szShortName, sizeof item.szShortName));
}

int64_t ItemEntryTime(const EngineIsoItem& item) {
  if (item.tmYear < 70 || item.tmMday == 0) return -1;
  std::tm t{};
  t.tm_sec = item.tmSec;
  t.tm_min = item.tmMin;
  t.tm_hour = item.tmHour;
  t.tm_mday = item.tmMday;
  t.tm_mon = item.tmMon;
  t.tm_year = item.tmYear;
  t.tm_isdst = -1;
  const std::time_t v = std::mktime(&t);
  return v == static_cast<std::time_t>(-1) ? -1 : static_cast<int64_t>(v);
}

bool MergeItemLists(EngineIsoItem** newList, EngineIsoItem* imported, const MergeHooks& hooks) {
  const bool both = *newList != nullptr && imported != nullptr;
  if (both) {
    for (EngineIsoItem** a = newList; *a != nullptr; a = &(*a)->pNextItem) {
      const std::string name = ItemName(**a);
      for (EngineIsoItem** b = &imported; *b != nullptr; b = &(*b)->pNextItem) {
        if (!SameDiscName(name, ItemName(**b))) continue;
        EngineIsoItem* newItem = *a;
        EngineIsoItem* oldItem = *b;
        int64_t newTime = ItemEntryTime(*newItem);
        if (newTime < 0) newTime = hooks.sourceTime(*newItem);
        const int64_t oldTime = ItemEntryTime(*oldItem);
        if (newTime < oldTime) {
          // The disc's copy is newer: it takes the new item's place.
          std::swap(newItem->pNextItem, oldItem->pNextItem);
          *a = oldItem;
          *b = newItem;
        }
        EngineIsoItem* loser = *b;
        *b = loser->pNextItem;
        loser->pNextItem = nullptr;
        hooks.releaseItem(loser);
        break;
      }
    }
  }
  EngineIsoItem** tail = newList;
  while (*tail != nullptr) tail = &(*tail)->pNextItem;
  *tail = imported;
  return both;
}

}  // namespace disc
