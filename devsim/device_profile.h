// What the simulated device says about itself: identity, accounts, device-information items.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "devsim/config_blocks.h"
#include "devsim/device_log.h"
#include "devsim/dvr_query_state.h"
#include "devsim/live_settings.h"
#include "devsim/recording_settings.h"

namespace devsim {

struct Account {
  std::string user;
  std::string password;
  int level = 30;
  std::optional<std::string> lifetime;  // LIFETIME value for this account
};

// Device-information item values are sent as written (any text), so tests can send odd values.
// An empty text leaves the item out of the reply.
struct DeviceProfile {
  // Login reply items (empty: item left out).
  std::string product_id;
  std::string firmware;
  std::string mac;
  std::string host_name;
  std::optional<Family> layout;  // unset: by Product-ID

  std::vector<Account> accounts;
  int login_denied_status = 401;  // 0: a 200 reply without Session-ID
  bool check_cookie = true;
  int session_id_length = 16;
  uint32_t online_length = 24;  // bytes of ONLINE served alone and at the end of "ALL"
  uint32_t capability_mask = 0;
  bool seed_blocks = true;
  bool follow_web_port = true;  // an IP block with a new web port: listen there too  // blocks not
                                // given explicitly start with the product's settings

  // Device-information items.  lifetime and userlevel unset: taken from the session's account.
  std::optional<std::string> lifetime;
  std::string multich;
  std::string linkdevice;
  std::string masters;  // "MID:MTYPE,..."
  std::string retr;
  std::string videomode;
  std::optional<std::string> userlevel;
  std::string boot_version;
  std::string version_2041;
  std::string fpga_version;
  std::string slaves;        // "SID:STYPE:SPROTOCOL,..."
  std::string devinfo_text;  // when not empty: the whole reply, items ignored
  std::string version_text;  // "/GetVersion.cgi" body; empty: the firmware text

  // The picture's colour ("/GetColor.cgi" items; "/SetColor.cgi" stores decimal numbers).
  std::string color_con = "128";
  std::string color_bri = "0";
  std::string color_hue = "0";

  LogSettings log;    // the "log." settings
  LiveSettings live;  // the "stream." settings
  RecordingSettings recordings;  // the "backup." and "search." settings

  DvrQueryState dvr_query;  // the "dvrdate." and "dvrrec." settings

  Family EffectiveFamily() const { return layout ? *layout : FamilyOf(product_id); }
};

// Built-in profile names: the eight Product-IDs and "invalid" (Product-ID "ABCD", DVR layout).
std::vector<std::string> BuiltinProfileNames();
std::optional<DeviceProfile> BuiltinProfile(std::string_view name);

// The account every profile starts with.
inline constexpr std::string_view kDefaultUser = "revuv";
inline constexpr std::string_view kDefaultPassword = "revuv";

// One key=value setting applied to a profile and the blocks ("block.NAME=hex" sets a block).
bool ApplySetting(std::string_view key, std::string_view value, DeviceProfile& profile,
                  BlockStore& blocks, std::string* error);

// A profile file: key=value lines, '#' comments, blank lines ignored.
bool ApplySettingsText(std::string_view text, DeviceProfile& profile, BlockStore& blocks,
                       std::string* error);

// The keys ApplySetting knows, with one line of help each.
struct SettingHelp {
  std::string_view key;
  std::string_view help;
};
const std::vector<SettingHelp>& SettingKeys();

// The login reply text for a session id (empty id: no Session-ID item).
std::string LoginReplyText(const DeviceProfile& profile, std::string_view session_id,
                           std::string_view product_override);

// The device-information reply text for the account that asks.
std::string DeviceInfoText(const DeviceProfile& profile, const Account* account);
// "CON=..;BRI=..;HUE=..;", each item left out when empty.
std::string ColorText(const DeviceProfile& p);
// "SLAVENUM=n;" and each slave's "SID", "STYPE", "SPROTOCOL" items, as many whole slaves as fit
// in limit bytes (empty without slaves).
std::string SlaveListText(const DeviceProfile& p, size_t limit);

}  // namespace devsim
