#include "record/playback_search.h"

#include "net/cgi_command_table.h"
#include "net/cgi_param_list.h"
#include "record/network_backup.h"

std::string BuildPlaybackSearchQuery(std::string_view cookie, const PlaybackSearch& s) {
  CGIParamList q(kCgiSearchPlayBack);
  if (!cookie.empty()) q.AddParam("Cookie", cookie);
  q.AddParam("searchType", s.event ? "event" : "time");
  if (s.event) {
    q.AddParamInt("channelNum", s.channelIndex);
    q.AddParamInt("eventType", s.alarm ? 0 : 1);
  }
  q.AddParamInt("year", s.year - 2000);
  q.AddParamInt("month", s.month);
  q.AddParamInt("day", s.day);
  q.AddParamInt("hour", s.hour);
  q.AddParamInt("min", s.minute);
  q.AddParamInt("sec", s.second);
  if (s.disk)
    q.AddParamInt("hddNum", *s.disk);
  else
    q.AddParam("hddNum", "ALL");
  return q.m_strQuery;
}

int PlaybackSearchChannels(std::string_view productId) {
  if (productId == "RZ4K") return 4;
  if (productId == "RZ3K") return 8;
  if (productId == "RZ1K") return 16;
  return 0;
}

std::vector<std::string> PlaybackSearchDiskEntries(const std::vector<int>& disks) {
  std::vector<std::string> entries;
  for (int disk : disks) entries.push_back(DiskName(disk));
  entries.emplace_back("ALL");
  return entries;
}

std::vector<std::string> PlaybackSearchChannelEntries(int count) {
  std::vector<std::string> entries;
  for (int i = 1; i <= count; ++i) entries.push_back(std::to_string(i));
  return entries;
}

PlaybackSearch PlaybackSearchOf(const PlaybackSearchSelection& s) {
  PlaybackSearch p;
  p.event = s.searchType == "EVENT SEARCH";
  p.channelIndex = s.channelIndex;
  p.alarm = s.eventType == "ALARM";
  p.year = s.year;
  p.month = s.month;
  p.day = s.day;
  p.hour = s.hour;
  p.minute = s.minute;
  p.second = s.second;
  for (int disk = 0; disk < 256; ++disk)
    if (DiskName(disk) == s.disk) p.disk = disk;
  return p;
}
