// The playback search request ("/SearchPlayBack.cgi"): by time, or by event on one channel,
// from a date and time on one disk or all of them.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct PlaybackSearch {
  bool event = false;    // event search (else time search)
  int channelIndex = 0;  // 0-based, event search only
  bool alarm = false;    // event type "ALARM" (else "MOTION"), event search only
  int year = 2000, month = 1, day = 1, hour = 0, minute = 0, second = 0;
  std::optional<int> disk;  // the disk's bit number; none: "ALL"
};

// "/SearchPlayBack.cgi?[Cookie=..&]searchType=..[&channelNum=..&eventType=..]&year=..&month=..
// &day=..&hour=..&min=..&sec=..&hddNum=..".
std::string BuildPlaybackSearchQuery(std::string_view cookie, const PlaybackSearch& s);

// Channels of the search by Product-ID: RZ4K 4, RZ3K 8, RZ1K 16; 0 for any other.
int PlaybackSearchChannels(std::string_view productId);

// The dialog's combo entries: search types, event types, the disk entries (the listed disks'
// names, then "ALL", also without disks) and the channel entries ("1" to count).
inline constexpr const char* kPlaybackSearchTypes[] = {"TIME SEARCH", "EVENT SEARCH"};
inline constexpr const char* kPlaybackEventTypes[] = {"MOTION", "ALARM"};
std::vector<std::string> PlaybackSearchDiskEntries(const std::vector<int>& disks);
std::vector<std::string> PlaybackSearchChannelEntries(int count);

// What the dialog's selections ask for, by the texts of the selected entries.
struct PlaybackSearchSelection {
  std::string searchType;  // "TIME SEARCH" or "EVENT SEARCH"
  std::string eventType;   // "MOTION" or "ALARM"
  std::string disk;        // a disk name or "ALL"
  int channelIndex = 0;
  int year = 2000, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};
// An unknown disk name counts as "ALL".
PlaybackSearch PlaybackSearchOf(const PlaybackSearchSelection& s);
