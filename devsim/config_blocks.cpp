#include "devsim/config_blocks.h"
#include "devsim/key_value_lines.h"

#include <algorithm>
#include <array>

namespace devsim {

const std::vector<BlockInfo>& Blocks() {
  static const std::vector<BlockInfo> kTable = {
      {"INF", 44, true, true},      {"IP", 24, true, true},        {"SECURE", 196, true, true},
      {"DNS", 12, true, true},      {"SMTP", 440, true, true},     {"FTP", 104, true, true},
      {"PPPOE", 68, true, true},    {"SYSTEM", 36, true, true},    {"SNTP", 36, true, true},
      {"IMG", 12, true, true},      {"RS485", 124, true, true},    {"ALARM", 24, true, true},
      {"ONLINE", 240, true, true},  {"DVRLIVE", 772, true, false}, {"DVROSD", 20, true, false},
      {"DVRREC", 132, true, false}, {"PERI", 16, false, true},
  };
  return kTable;
}

const BlockInfo* FindBlock(std::string_view name) {
  for (const auto& b : Blocks()) {
    if (b.name == name) return &b;
  }
  return nullptr;
}

Family FamilyOf(std::string_view product_id) {
  static constexpr std::array<std::string_view, 5> kVideoServers = {"RZ2K", "RZ5M", "RZ6M", "RZ7M",
                                                                    "RZ8P"};
  for (auto id : kVideoServers) {
    if (id == product_id) return Family::kVideoServer;
  }
  return Family::kDvr;
}

BlockStore::BlockStore() {
  for (const auto& b : Blocks()) blocks_[std::string(b.name)] = std::vector<uint8_t>(b.size, 0);
}

const std::vector<uint8_t>& BlockStore::Get(std::string_view name) const {
  return blocks_.find(name)->second;
}

bool BlockStore::Set(std::string_view name, const std::vector<uint8_t>& bytes) {
  auto it = blocks_.find(name);
  if (it == blocks_.end() || it->second.size() != bytes.size()) return false;
  it->second = bytes;
  return true;
}

void BlockStore::SetCapabilityMask(uint32_t mask) {
  auto& inf = blocks_.find("INF")->second;
  for (size_t i = 0; i < 4; ++i)
    inf[kInfCapabilityOffset + i] = static_cast<uint8_t>(mask >> (8 * i));
}

std::string BlockStore::ComposeAll(Family family, uint32_t online_length) const {
  std::string out;
  for (const auto& b : Blocks()) {
    if (b.name == kOnlineOption) continue;
    if (family == Family::kDvr ? !b.dvr : !b.video_server) continue;
    const auto& bytes = Get(b.name);
    out.append(bytes.begin(), bytes.end());
  }
  const auto& online = Get(kOnlineOption);
  out.append(online.begin(), online.begin() + std::min<size_t>(online_length, online.size()));
  return out;
}

std::string ToHex(const uint8_t* data, size_t size) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out;
  out.reserve(size * 2);
  for (size_t i = 0; i < size; ++i) {
    out += kDigits[data[i] >> 4];
    out += kDigits[data[i] & 15];
  }
  return out;
}

std::optional<std::vector<uint8_t>> ParseHex(std::string_view hex) {
  std::vector<uint8_t> out;
  int high = -1;
  for (char c : hex) {
    int v;
    if (c >= '0' && c <= '9')
      v = c - '0';
    else if (c >= 'a' && c <= 'f')
      v = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
      v = c - 'A' + 10;
    else if (c == ' ' || c == '\t' || c == ':' || c == '\r')
      continue;
    else
      return std::nullopt;
    if (high < 0) {
      high = v;
    } else {
      out.push_back(static_cast<uint8_t>(high * 16 + v));
      high = -1;
    }
  }
  if (high >= 0) return std::nullopt;
  return out;
}

std::string BlockStore::ToText() const {
  std::string out;
  for (const auto& b : Blocks()) {
    const auto& bytes = Get(b.name);
    out += std::string(b.name) + "=" + ToHex(bytes.data(), bytes.size()) + "\n";
  }
  return out;
}

bool BlockStore::ApplyLine(std::string_view name, std::string_view hex, std::string* error) {
  const BlockInfo* info = FindBlock(name);
  if (!info) {
    *error = "unknown block " + std::string(name);
    return false;
  }
  auto bytes = ParseHex(hex);
  if (!bytes) {
    *error = "bad hex for block " + std::string(name);
    return false;
  }
  if (bytes->size() > info->size) {
    *error = "block " + std::string(name) + " is " + std::to_string(info->size) + " bytes";
    return false;
  }
  bytes->resize(info->size, 0);
  Set(name, *bytes);
  explicit_.insert(std::string(name));
  return true;
}

bool BlockStore::ApplyText(std::string_view text, std::string* error) {
  return ForEachKeyValueLine(
      text, "expected NAME=hex",
      [&](std::string_view name, std::string_view value, std::string* why) {
        return ApplyLine(name, value, why);
      },
      error);
}

}  // namespace devsim
