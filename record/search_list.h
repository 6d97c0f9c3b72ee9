// The device's record list ("/GetSearchList.cgi"): the page query, the reply's 16-byte entries,
// the Full List's row texts and filters, and the record handed to the backup page.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct SearchListEntry {
  uint8_t reserved[7];
  uint8_t
      kind;  // 0-15 alarm, 16-31 motion (channel kind & 15 + 1), 32 timer, 48 manual, 240 system
  uint8_t year;  // year - 2000
  uint8_t month, day, hour, minute, second;
  uint8_t spare[2];
};
static_assert(sizeof(SearchListEntry) == 16);

inline constexpr size_t kSearchListReplyRoom = 2048;
inline constexpr size_t kSearchListHeaderSize = 4;
inline constexpr int kSearchListMaxEntries = 2048;

// List types of the page's combo (5, timer, only from a saved setting).
enum SearchListType { kListAll, kListManual, kListSystem, kListAlarm, kListMotion, kListTimer };

// "/GetSearchList.cgi?[Cookie=..&]STATE=LAST|PREV&HDD=<disk>[&TYPE=<t>]".
std::string BuildSearchListQuery(std::string_view cookie, bool first, int disk, int listType);
// The page's choices as the settings saved them: the saved disk's index in the listed disks
// (the first listed one when the saved disk is not listed, -1 without disks), the saved list
// type (0-5; "ALL" for anything else) and the maximum (at most kSearchListMaxEntries).
struct SearchListChoices {
  int diskIndex = -1;
  int listType = kListAll;
  int maximum = 0;
};
SearchListChoices SearchListChoicesOf(const std::vector<int>& disks, int savedDisk, int savedType,
                                      int savedMax);

// The entries of a page reply: u16 byte count at offset 2, entries from offset 4. The count is
// bounded by the bytes received and by kSearchListReplyRoom; a partial entry is dropped.
std::vector<SearchListEntry> DecodeSearchListReply(const uint8_t* data, size_t received);

// "Full Record List" .. "Timer Record List"; empty for an unknown type.
std::string SearchListTitle(int listType);

// The Full List's check boxes.
struct SearchListFilter {
  bool alarm = false, manual = false, motion = false, system = false;
};
SearchListFilter FilterForListType(int listType);
bool EntryShown(const SearchListEntry& e, const SearchListFilter& f);

// Texts of a row: "EVENT", "CHANNEL", "TIME".
struct SearchListRow {
  std::string event, channel, time;
};
SearchListRow SearchListRowTexts(const SearchListEntry& e);

// The record waiting for the network backup page.
struct BackupPreset {
  uint8_t waiting;
  uint8_t kind;  // 0 alarm, 1 motion, 3 manual, 15 system, else 0
  uint8_t year, month, day, hour, minute, second;
  uint8_t diskIndex;  // index in the disk list
  uint8_t channel;    // 1-16 for alarm and motion, else 0
  uint8_t zero[2];
};
static_assert(sizeof(BackupPreset) == 12);

BackupPreset MakeBackupPreset(const SearchListEntry& e, int diskIndex);
