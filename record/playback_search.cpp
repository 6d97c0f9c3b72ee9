#include "record/playback_search.h"

#include "net/cgi_command_table.h"
#include "net/cgi_param_list.h"

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
