#include "devsim/device_profile.h"
#include "devsim/key_value_lines.h"

#include <algorithm>
#include <cstdlib>

namespace devsim {
namespace {

struct BuiltinRow {
  std::string_view name;
  std::string_view product_id;
  std::string_view firmware;
  std::string_view mac;
  std::string_view host_name;
  std::string_view linkdevice;
};

constexpr BuiltinRow kBuiltins[] = {
    {"RZ1K", "RZ1K", "1060", "0011223344AA", "dvr", "14"},
    {"RZ2K", "RZ2K", "1010", "0011223344B2", "vserver", ""},
    {"RZ3K", "RZ3K", "1060", "0011223344A3", "dvr", "20"},
    {"RZ4K", "RZ4K", "1060", "0011223344A4", "dvr", "21"},
    {"RZ5M", "RZ5M", "1010", "0011223344B5", "vserver", ""},
    {"RZ6M", "RZ6M", "1010", "0011223344B6", "vserver", ""},
    {"RZ7M", "RZ7M", "1010", "0011223344B7", "vserver", ""},
    {"RZ8P", "RZ8P", "1010", "0011223344B8", "camera", ""},
    {"invalid", "ABCD", "1060", "0011223344C0", "dvr", ""},
};

std::optional<int64_t> ParseNumber(std::string_view s) {
  if (s.empty() || s.size() > 20) return std::nullopt;
  std::string text(s);
  char* end = nullptr;
  int base = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X') ? 16 : 10;
  long long v = std::strtoll(text.c_str(), &end, base);
  if (end != text.c_str() + text.size()) return std::nullopt;
  return static_cast<int64_t>(v);
}

std::vector<std::string_view> Split(std::string_view s, char sep) {
  std::vector<std::string_view> out;
  size_t start = 0;
  while (true) {
    size_t p = s.find(sep, start);
    out.push_back(s.substr(start, p == std::string_view::npos ? p : p - start));
    if (p == std::string_view::npos) break;
    start = p + 1;
  }
  return out;
}

// Values go into "key=value;" items: no ';' allowed.
bool ItemValueOk(std::string_view value, std::string_view key, std::string* error) {
  if (value.find(';') == std::string_view::npos) return true;
  *error = std::string(key) + ": value must not contain ';' (use devinfo_text)";
  return false;
}

// "a:b,c:d" with `fields` texts per entry, none empty.
bool DeviceListOk(std::string_view value, size_t fields, std::string_view key, std::string* error) {
  if (value.empty()) return true;
  for (auto entry : Split(value, ',')) {
    auto parts = Split(entry, ':');
    bool ok = parts.size() == fields &&
              std::none_of(parts.begin(), parts.end(), [](auto p) { return p.empty(); });
    if (!ok) {
      *error = std::string(key) + ": expected " + (fields == 2 ? "ID:TYPE" : "ID:TYPE:PROTOCOL") +
               " entries separated by ','";
      return false;
    }
  }
  return ItemValueOk(value, key, error);
}

bool ParseAccount(std::string_view value, Account& account, std::string* error) {
  auto parts = Split(value, ':');
  std::optional<int64_t> level;
  if (parts.size() >= 3 && parts.size() <= 4) level = ParseNumber(parts[2]);
  if (!level || parts[0].empty()) {
    *error = "account: expected USER:PASSWORD:LEVEL[:LIFETIME]";
    return false;
  }
  account.user = std::string(parts[0]);
  account.password = std::string(parts[1]);
  account.level = static_cast<int>(*level);
  if (parts.size() == 4) account.lifetime = std::string(parts[3]);
  return ItemValueOk(value, "account", error);
}

void AppendItem(std::string& out, std::string_view key, std::string_view value) {
  if (value.empty()) return;
  out += key;
  out += '=';
  out += value;
  out += ';';
}

}  // namespace

std::vector<std::string> BuiltinProfileNames() {
  std::vector<std::string> out;
  for (const auto& row : kBuiltins) out.emplace_back(row.name);
  return out;
}

std::optional<DeviceProfile> BuiltinProfile(std::string_view name) {
  for (const auto& row : kBuiltins) {
    if (row.name != name) continue;
    DeviceProfile p;
    p.product_id = row.product_id;
    p.firmware = row.firmware;
    p.mac = row.mac;
    p.host_name = row.host_name;
    p.accounts = {{std::string(kDefaultUser), std::string(kDefaultPassword), 30, std::nullopt}};
    p.multich = "0";
    p.linkdevice = row.linkdevice;
    p.videomode = "0";
    p.boot_version = "1001";
    p.version_2041 = "1002";
    p.fpga_version = "1003";
    return p;
  }
  return std::nullopt;
}

const std::vector<SettingHelp>& SettingKeys() {
  static const std::vector<SettingHelp> kKeys = [] {
    std::vector<SettingHelp> keys = {
        {"profile", "NAME: start again from a built-in profile (RZ1K..RZ8P, invalid)"},
        {"product_id", "Product-ID of the login reply (any text; empty: item left out)"},
        {"firmware", "Firmware-Version (empty: item left out)"},
        {"mac", "MAC-Address (empty: item left out)"},
        {"host_name", "Host-Name (empty: item left out)"},
        {"layout", "auto | dvr | video-server: layout of ALL and the blocks served"},
        {"account", "USER:PASSWORD:LEVEL[:LIFETIME]: add or replace an account"},
        {"remove_account", "USER: remove an account"},
        {"login_denied_status", "status for wrong credentials (0: 200 without Session-ID)"},
        {"check_cookie", "1 | 0: later requests need the Cookie of a login"},
        {"session_id_length", "length of each new Session-ID (1..200)"},
        {"online_length", "bytes of ONLINE served (0..240)"},
        {"capability_mask", "32-bit mask written to INF bytes 20-23 (decimal or 0x hex)"},
        {"follow_web_port",
         "1 (default): an IP block write with a new web port (bytes 16-17) "
         "makes devsim listen on that port too; 0: it does not"},
        {"seed_blocks",
         "1 (default): blocks not set explicitly start with the product's "
         "settings; 0: zero-filled"},
        {"lifetime", "LIFETIME text; 'account': the account's lifetime (default); empty: left out"},
        {"multich", "MULTICH text"},
        {"linkdevice", "LINKDEVICE text (when set, no MASTERNUM items follow)"},
        {"masters", "MID:MTYPE,...: MASTERNUM and its MID/MTYPE items"},
        {"retr", "RETR text"},
        {"videomode", "VIDEOMODE text"},
        {"userlevel", "USERLEVEL text; 'account': the account's level (default); empty: left out"},
        {"boot_version", "Boot-Version text"},
        {"version_2041", "2041-Version text"},
        {"fpga_version", "FPGA-Version text"},
        {"version_text", "\"/GetVersion.cgi\" body (empty: the firmware text)"},
        {"slaves", "SID:STYPE:SPROTOCOL,...: SLAVENUM and its items"},
        {"devinfo_text", "the whole device-information reply (empty: built from the items)"},
        {"color_con", "CON text of /GetColor.cgi (default 128; empty: left out)"},
        {"color_bri", "BRI text of /GetColor.cgi (default 0; empty: left out)"},
        {"color_hue", "HUE text of /GetColor.cgi (default 0; empty: left out)"},
        {"block.NAME", "hex bytes of block NAME (shorter: zero-filled)"},
    };
    keys.push_back({"log.length", "entries in the device log of /Getlog.cgi (0..100000)"});
    keys.push_back({"log.page", "entries per /Getlog.cgi page (1..128, default 30)"});
    for (const auto& k : LiveSettingKeys()) keys.push_back({k.key, k.help});
    for (const auto& k : DvrQuerySettingKeys()) keys.push_back({k.key, k.help});
    for (const auto& k : RecordingSettingKeys()) keys.push_back({k.key, k.help});
    return keys;
  }();
  return kKeys;
}

bool ApplySetting(std::string_view key, std::string_view value, DeviceProfile& p,
                  BlockStore& blocks, std::string* error) {
  auto text_item = [&](std::string& field) {
    if (!ItemValueOk(value, key, error)) return false;
    field = std::string(value);
    return true;
  };
  auto number = [&](int64_t lo, int64_t hi) -> std::optional<int64_t> {
    auto v = ParseNumber(value);
    if (!v || *v < lo || *v > hi) {
      *error = std::string(key) + ": expected a number from " + std::to_string(lo) + " to " +
               std::to_string(hi);
      return std::nullopt;
    }
    return v;
  };
  auto from_account = [&](std::optional<std::string>& field) {
    if (value == "account") {
      field.reset();
      return true;
    }
    if (!ItemValueOk(value, key, error)) return false;
    field = std::string(value);
    return true;
  };

  if (key.rfind("block.", 0) == 0) return blocks.ApplyLine(key.substr(6), value, error);
  if (key.rfind("log.", 0) == 0) return ApplyLogSetting(key.substr(4), value, p.log, error);
  if (key.rfind(kBackupPrefix, 0) == 0 || key.rfind(kSearchPrefix, 0) == 0)
    return ApplyRecordingSetting(key, value, p.recordings, error);
  if (key.rfind(kLivePrefix, 0) == 0) {
    return ApplyLiveSetting(key.substr(kLivePrefix.size()), value, p.live, error);
  }
  if (key == "profile") {
    auto base = BuiltinProfile(value);
    if (!base) {
      *error = "profile: unknown built-in profile " + std::string(value);
      return false;
    }
    p = *base;
    blocks.SetCapabilityMask(p.capability_mask);
    return true;
  }
  if (key == "product_id") return text_item(p.product_id);
  if (key == "firmware") return text_item(p.firmware);
  if (key == "mac") return text_item(p.mac);
  if (key == "host_name") return text_item(p.host_name);
  if (key == "layout") {
    if (value == "auto")
      p.layout.reset();
    else if (value == "dvr")
      p.layout = Family::kDvr;
    else if (value == "video-server")
      p.layout = Family::kVideoServer;
    else {
      *error = "layout: expected auto, dvr or video-server";
      return false;
    }
    return true;
  }
  if (key == "account") {
    Account a;
    if (!ParseAccount(value, a, error)) return false;
    auto it = std::find_if(p.accounts.begin(), p.accounts.end(),
                           [&](const Account& x) { return x.user == a.user; });
    if (it != p.accounts.end())
      *it = a;
    else
      p.accounts.push_back(a);
    return true;
  }
  if (key == "remove_account") {
    std::erase_if(p.accounts, [&](const Account& x) { return x.user == value; });
    return true;
  }
  if (key == "login_denied_status") {
    auto v = number(0, 999);
    if (!v) return false;
    p.login_denied_status = static_cast<int>(*v);
    return true;
  }
  if (key == "check_cookie") {
    auto v = number(0, 1);
    if (!v) return false;
    p.check_cookie = *v == 1;
    return true;
  }
  if (key == "session_id_length") {
    auto v = number(1, 200);
    if (!v) return false;
    p.session_id_length = static_cast<int>(*v);
    return true;
  }
  if (key == "online_length") {
    auto v = number(0, FindBlock(kOnlineOption)->size);
    if (!v) return false;
    p.online_length = static_cast<uint32_t>(*v);
    return true;
  }
  if (key == "follow_web_port") {
    auto v = number(0, 1);
    if (!v) return false;
    p.follow_web_port = *v == 1;
    return true;
  }
  if (key == "seed_blocks") {
    auto v = number(0, 1);
    if (!v) return false;
    p.seed_blocks = *v == 1;
    return true;
  }
  if (key == "capability_mask") {
    auto v = number(0, 0xFFFFFFFFll);
    if (!v) return false;
    p.capability_mask = static_cast<uint32_t>(*v);
    blocks.SetCapabilityMask(p.capability_mask);
    return true;
  }
  if (key == "lifetime") return from_account(p.lifetime);
  if (key == "userlevel") return from_account(p.userlevel);
  if (key == "multich") return text_item(p.multich);
  if (key == "linkdevice") return text_item(p.linkdevice);
  if (key == "retr") return text_item(p.retr);
  if (key == "videomode") return text_item(p.videomode);
  if (key == "boot_version") return text_item(p.boot_version);
  if (key == "version_2041") return text_item(p.version_2041);
  if (key == "fpga_version") return text_item(p.fpga_version);
  if (key == "version_text") return text_item(p.version_text);
  if (key == "color_con") return text_item(p.color_con);
  if (key == "color_bri") return text_item(p.color_bri);
  if (key == "color_hue") return text_item(p.color_hue);
  if (key == "masters") {
    if (!DeviceListOk(value, 2, key, error)) return false;
    p.masters = std::string(value);
    return true;
  }
  if (key == "slaves") {
    if (!DeviceListOk(value, 3, key, error)) return false;
    p.slaves = std::string(value);
    return true;
  }
  if (IsDvrQuerySetting(key)) return ApplyDvrQuerySetting(key, value, p.dvr_query, error);
  if (key == "devinfo_text") {
    p.devinfo_text = std::string(value);
    return true;
  }
  *error = "unknown setting " + std::string(key);
  return false;
}

bool ApplySettingsText(std::string_view text, DeviceProfile& profile, BlockStore& blocks,
                       std::string* error) {
  return ForEachKeyValueLine(
      text, "expected key=value",
      [&](std::string_view name, std::string_view value, std::string* why) {
        return ApplySetting(name, value, profile, blocks, why);
      },
      error);
}

std::string LoginReplyText(const DeviceProfile& p, std::string_view session_id,
                           std::string_view product_override) {
  std::string out;
  AppendItem(out, "Session-ID", session_id);
  AppendItem(out, "Firmware-Version", p.firmware);
  AppendItem(out, "Product-ID", product_override.empty() ? p.product_id : product_override);
  AppendItem(out, "MAC-Address", p.mac);
  AppendItem(out, "Host-Name", p.host_name);
  return out;
}

std::string DeviceInfoText(const DeviceProfile& p, const Account* account) {
  if (!p.devinfo_text.empty()) return p.devinfo_text;
  std::string out;
  std::string lifetime =
      p.lifetime ? *p.lifetime : (account && account->lifetime ? *account->lifetime : "");
  std::string level = p.userlevel ? *p.userlevel : (account ? std::to_string(account->level) : "");
  AppendItem(out, "LIFETIME", lifetime);
  AppendItem(out, "MULTICH", p.multich);
  if (!p.linkdevice.empty()) {
    AppendItem(out, "LINKDEVICE", p.linkdevice);
  } else if (!p.masters.empty()) {
    auto entries = Split(p.masters, ',');
    AppendItem(out, "MASTERNUM", std::to_string(entries.size()));
    for (auto e : entries) {
      auto f = Split(e, ':');
      AppendItem(out, "MID", f[0]);
      AppendItem(out, "MTYPE", f[1]);
    }
  }
  AppendItem(out, "RETR", p.retr);
  AppendItem(out, "VIDEOMODE", p.videomode);
  AppendItem(out, "USERLEVEL", level);
  AppendItem(out, "Boot-Version", p.boot_version);
  AppendItem(out, "2041-Version", p.version_2041);
  AppendItem(out, "FPGA-Version", p.fpga_version);
  if (!p.slaves.empty()) out += SlaveListText(p, std::string::npos);
  return out;
}

std::string SlaveListText(const DeviceProfile& p, size_t limit) {
  std::string out;
  if (p.slaves.empty()) return out;
  auto entries = Split(p.slaves, ',');
  // Whole slaves only, as many as fit within limit.
  std::vector<std::string> items;
  for (auto e : entries) {
    auto f = Split(e, ':');
    std::string item;
    AppendItem(item, "SID", f[0]);
    AppendItem(item, "STYPE", f[1]);
    AppendItem(item, "SPROTOCOL", f[2]);
    items.push_back(std::move(item));
  }
  size_t n = items.size();
  for (;;) {
    std::string text;
    AppendItem(text, "SLAVENUM", std::to_string(n));
    for (size_t i = 0; i < n; ++i) text += items[i];
    if (text.size() <= limit || n == 0) return text;
    --n;
  }
}

std::string ColorText(const DeviceProfile& p) {
  std::string out;
  AppendItem(out, "CON", p.color_con);
  AppendItem(out, "BRI", p.color_bri);
  AppendItem(out, "HUE", p.color_hue);
  return out;
}

}  // namespace devsim
