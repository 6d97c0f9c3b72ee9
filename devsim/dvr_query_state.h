// The recorder's clock settings and record settings that "/GetDvrDate.cgi", "/SetDvrDate.cgi",
// "/GetRecordSetting.cgi" and "/SetRecordSetting.cgi" read and change (recorders with firmware
// "1058" or newer only).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "devsim/device_clock.h"
#include "devsim/http_request.h"

namespace devsim {

struct DvrDateState {
  // The recorder's clock runs this many seconds ahead of the host's local clock, unless frozen.
  int64_t offset_seconds = 0;
  std::optional<DeviceClock> frozen;  // "dvrdate.clock": a clock that does not run
  int format = 0;                     // 0 Y-M-D, 1 M-D-Y, 2 D-M-Y
  int daylight_saving = 0;
  int start_week = 1, start_day = 0, start_month = 2, start_hour = 2, start_minute = 0;
  int end_week = 0, end_day = 0, end_month = 10, end_hour = 2, end_minute = 0;
  int adjust_hour = 1, adjust_minute = 0;
  std::string reply_text;  // when not empty: the whole "/GetDvrDate.cgi" reply
};

struct DvrRecordState {
  int manual = 1, event = 1, timer = 0;
  std::optional<int> video_type;  // unset: 0 for VIDEOMODE 0 (525 lines), else 1
  int rec_mode = 0;
  int manual_rate = 0, motion_rate = 1, timer_rate = 2;
  int overwrite = 1, quality = 8, record_fix = 1;
  int support_mode = 7, support_ips_share = 3;
  std::string reply_text;  // when not empty: the whole "/GetRecordSetting.cgi" reply
};

struct DvrQueryState {
  DvrDateState date;
  DvrRecordState record;
};

// Recorders (RZ1K, RZ3K, RZ4K) with firmware "1058" or newer (a text that is not four
// characters long counts as newer) know the four commands.
bool KnowsDvrQueries(std::string_view product_id, std::string_view firmware);

// The recorder's clock now.
DeviceClock DvrClockNow(const DvrDateState& s);

// "YEAR=..;MONTH=..;...;ADJUSTMINUTE=..;" with the short keys first.
std::string DvrDateReplyText(const DvrDateState& s);
// "MANUAL=..;...;SUPPORTIPSSHARE=..;"; video_mode is the profile's VIDEOMODE text.
std::string DvrRecordReplyText(const DvrRecordState& s, std::string_view video_mode);

// Checks the "/SetDvrDate.cgi" keys (every key in the client's order, values in range) and applies
// the parts whose change flag is 1. An error names the first bad key and changes nothing; on
// success decoded says what changed.
bool ApplySetDvrDate(const std::vector<QueryParam>& params, DvrDateState& s, std::string* error,
                     std::string* decoded);
// The same for "/SetRecordSetting.cgi": each change key 0, or 1 followed by its value key.
bool ApplySetRecordSetting(const std::vector<QueryParam>& params, DvrRecordState& s,
                           std::string* error, std::string* decoded);

// "dvrdate.<key>" and "dvrrec.<key>" settings (keys as in the replies, lower case; also
// "dvrdate.clock=YYYY-MM-DDTHH:MM:SS", "dvrdate.reply_text", "dvrrec.reply_text").
bool IsDvrQuerySetting(std::string_view key);
bool ApplyDvrQuerySetting(std::string_view key, std::string_view value, DvrQueryState& s,
                          std::string* error);

struct DvrQuerySettingHelp {
  std::string_view key;
  std::string_view help;
};
const std::vector<DvrQuerySettingHelp>& DvrQuerySettingKeys();

}  // namespace devsim
