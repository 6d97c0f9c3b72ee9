#include "record/search_list.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "net/cgi_command_table.h"
#include "net/cgi_param_list.h"

namespace {
bool IsAlarm(uint8_t kind) {
  return kind < 16;
}
bool IsMotion(uint8_t kind) {
  return kind >= 16 && kind < 32;
}
constexpr uint8_t kKindTimer = 32, kKindManual = 48, kKindSystem = 240;
}  // namespace

std::string BuildSearchListQuery(std::string_view cookie, bool first, int disk, int listType) {
  static constexpr int kTypeValue[] = {8, 3, 15, 0, 1};
  CGIParamList q(kCgiGetSearchList);
  if (!cookie.empty()) q.AddParam("Cookie", cookie);
  q.AddParam("STATE", first ? "LAST" : "PREV");
  q.AddParamInt("HDD", disk);
  if (listType >= kListAll && listType <= kListMotion) q.AddParamInt("TYPE", kTypeValue[listType]);
  return q.m_strQuery;
}

std::vector<SearchListEntry> DecodeSearchListReply(const uint8_t* data, size_t received) {
  std::vector<SearchListEntry> entries;
  if (data == nullptr || received < kSearchListHeaderSize) return entries;
  if (received > kSearchListReplyRoom) received = kSearchListReplyRoom;
  size_t bytes = static_cast<size_t>(data[2]) | static_cast<size_t>(data[3]) << 8;
  if (bytes > received - kSearchListHeaderSize) bytes = received - kSearchListHeaderSize;
  const size_t count = bytes / sizeof(SearchListEntry);
  entries.resize(count);
  if (count)
    std::memcpy(entries.data(), data + kSearchListHeaderSize, count * sizeof(SearchListEntry));
  return entries;
}

std::string SearchListTitle(int listType) {
  static constexpr const char* kTitles[] = {"Full Record List",   "Manual Record List",
                                            "System Record List", "Alarm Record List",
                                            "Motion Record List", "Timer Record List"};
  if (listType < kListAll || listType > kListTimer) return {};
  return kTitles[listType];
}

SearchListFilter FilterForListType(int listType) {
  SearchListFilter f;
  switch (listType) {
    case kListAll:
      f = {true, true, true, true};
      break;
    case kListManual:
      f.manual = true;
      break;
    case kListSystem:
      f.system = true;
      break;
    case kListAlarm:
      f.alarm = true;
      break;
    case kListMotion:
      f.motion = true;
      break;
    default:
      break;
  }
  return f;
}

bool EntryShown(const SearchListEntry& e, const SearchListFilter& f) {
  if (IsAlarm(e.kind)) return f.alarm;
  if (IsMotion(e.kind)) return f.motion;
  if (e.kind == kKindManual) return f.manual;
  if (e.kind == kKindSystem) return f.system;
  if (e.kind == kKindTimer) return f.alarm && f.manual && f.motion && f.system;
  return false;
}

SearchListRow SearchListRowTexts(const SearchListEntry& e) {
  SearchListRow row;
  char text[64];
  if (IsAlarm(e.kind) || IsMotion(e.kind)) {
    row.event = IsAlarm(e.kind) ? "ALARM" : "MOTION";
    std::snprintf(text, sizeof text, "%2d", (e.kind & 15) + 1);
    row.channel = text;
  } else if (e.kind == kKindTimer || e.kind == kKindManual || e.kind == kKindSystem) {
    row.event = e.kind == kKindTimer ? "TIMER" : e.kind == kKindManual ? "MANUAL" : "SYSTEM";
    row.channel = "ALL";
  }
  std::snprintf(text, sizeof text, "%.4d-%.2d-%.2d  %.2d:%.2d:%.2d", e.year + 2000, e.month, e.day,
                e.hour, e.minute, e.second);
  row.time = text;
  return row;
}

BackupPreset MakeBackupPreset(const SearchListEntry& e, int diskIndex) {
  BackupPreset p{};
  p.waiting = 1;
  if (IsAlarm(e.kind))
    p.kind = 0;
  else if (IsMotion(e.kind))
    p.kind = 1;
  else if (e.kind == kKindManual)
    p.kind = 3;
  else if (e.kind == kKindSystem)
    p.kind = 15;
  p.year = e.year;
  p.month = e.month;
  p.day = e.day;
  p.hour = e.hour;
  p.minute = e.minute;
  p.second = e.second;
  p.diskIndex = static_cast<uint8_t>(diskIndex);
  if (IsAlarm(e.kind) || IsMotion(e.kind)) p.channel = static_cast<uint8_t>((e.kind & 15) + 1);
  return p;
}

SearchListChoices SearchListChoicesOf(const std::vector<int>& disks, int savedDisk, int savedType,
                                      int savedMax) {
  SearchListChoices c;
  if (!disks.empty()) c.diskIndex = 0;
  for (size_t i = 0; i < disks.size(); ++i)
    if (disks[i] == savedDisk) c.diskIndex = static_cast<int>(i);
  c.listType = savedType >= kListAll && savedType <= kListTimer ? savedType : kListAll;
  c.maximum = std::clamp(savedMax, 0, kSearchListMaxEntries);
  return c;
}
