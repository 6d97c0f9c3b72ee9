#include "devsim/recordings.h"

#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <string_view>

#include "devsim/device.h"
#include "devsim/handlers.h"
#include "devsim/socket_io.h"

namespace devsim {
namespace {

constexpr int kSendTimeoutMs = 30000;
constexpr uint32_t kChunkEnd = 1, kChunkOther = 2, kChunkData = 3, kChunkAbort = 6;

void PutU32(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>(v >> (8 * i)));
}

std::string Header(uint32_t length, uint32_t type) {
  std::string h;
  PutU32(h, length);
  PutU32(h, type);
  return h;
}

// Record i of a disk's list, newest first: kinds in turn, one every seven minutes.
void SearchEntry(int disk, int i, uint8_t* e) {
  static constexpr uint8_t kKinds[] = {0, 16, 48, 240, 32, 5, 21};
  std::memset(e, 0, 16);
  e[0] = static_cast<uint8_t>(i);
  e[1] = static_cast<uint8_t>(i >> 8);
  uint8_t kind = kKinds[i % 7];
  if (kind < 32) kind = static_cast<uint8_t>((kind & 16) | ((i / 7 + kind) % 16));
  e[7] = kind;
  const int minutes = 24 * 60 * 200 - 7 * i;  // counted back from day 200 of the year
  const int day = minutes / (24 * 60);
  e[8] = static_cast<uint8_t>(7 + disk % 3);
  e[9] = static_cast<uint8_t>(1 + day / 28 % 12);
  e[10] = static_cast<uint8_t>(1 + day % 28);
  e[11] = static_cast<uint8_t>(minutes / 60 % 24);
  e[12] = static_cast<uint8_t>(minutes % 60);
  e[13] = static_cast<uint8_t>(i % 60);
}

bool KindOfType(uint8_t kind, int type) {
  switch (type) {
    case 3:
      return kind == 48;
    case 15:
      return kind == 240;
    case 0:
      return kind < 16;
    case 1:
      return kind >= 16 && kind < 32;
    default:
      return true;  // 8 and no TYPE: every record
  }
}

std::string SessionKey(const Request& request) {
  return request.session ? request.session->id : std::string();
}

}  // namespace

uint8_t BackupPayloadByte(uint32_t seed, uint64_t i) {
  const uint64_t x = (i + seed) * 0x9E3779B97F4A7C15ull;
  return static_cast<uint8_t>((x >> 56) ^ i);
}

Reply HandleGetDvrHdd(Device& device, const Request&) {
  const RecordingSettings& r = device.profile.recordings;
  std::string body(reinterpret_cast<const char*>(r.disks.data()), r.disks.size());
  body.push_back(static_cast<char>(r.disk_flag));
  return {200, body, ""};
}

Reply HandleGetSearchList(Device& device, const Request& request) {
  const RecordingSettings& r = device.profile.recordings;
  const std::string* state = FindParam(request.head.params, "STATE");
  const auto disk = DecimalParam(request, "HDD", 255);
  if (!state || (*state != "LAST" && *state != "PREV") || !disk)
    return BadRequest("STATE=LAST|PREV and HDD=0-255");
  const std::string* type_text = FindParam(request.head.params, "TYPE");
  const auto type = type_text ? DecimalParam(request, "TYPE", 255) : std::optional<int>(8);
  if (!type) return BadRequest("TYPE decimal");
  int& sent = device.recordings.search_sent[SessionKey(request)];
  if (*state == "LAST") sent = 0;
  std::string entries;
  int matched = 0, added = 0;
  for (int i = 0; i < r.search_entries && added < r.search_page; ++i) {
    uint8_t e[16];
    SearchEntry(*disk, i, e);
    if (!KindOfType(e[7], *type)) continue;
    if (matched++ < sent) continue;
    entries.append(reinterpret_cast<const char*>(e), 16);
    ++added;
  }
  sent += added;
  const size_t claimed = entries.size() + static_cast<size_t>(r.search_overstate);
  std::string body = {0, 0, static_cast<char>(claimed & 0xFF),
                      static_cast<char>(claimed >> 8 & 0xFF)};
  body += entries;
  return {200, body,
          "state=" + *state + " hdd=" + std::to_string(*disk) +
              " entries=" + std::to_string(added) + " sent=" + std::to_string(sent)};
}

Reply HandleCancelBackup(Device& device, const Request&) {
  device.recordings.cancel_generation.fetch_add(1);
  return {200, "", "cancel running=" + std::to_string(device.recordings.backups_running.load())};
}

Reply HandleNetworkBackup(Device&, const Request& request) {
  static constexpr const char* kKeys[] = {"Year",   "Month", "Day", "Hour", "Minute",
                                          "Second", "Num",   "CH",  "Size"};
  static constexpr int kHigh[] = {9999, 12, 31, 23, 59, 59, 255, 15, 500};
  int v[9];
  std::string decoded;
  for (int k = 0; k < 9; ++k) {
    const auto n = DecimalParam(request, kKeys[k], kHigh[k]);
    const std::string* text = FindParam(request.head.params, kKeys[k]);
    if (k == 0 && text && text->size() == 4) {  // the year has four digits
      v[k] = std::atoi(text->c_str());
    } else if (!n) {
      return BadRequest("NetworkBk.cgi: Year Month Day Hour Minute Second Num CH Size");
    } else {
      v[k] = *n;
    }
    decoded += (k ? " " : "") + std::string(kKeys[k]) + "=" + std::to_string(v[k]);
  }
  return {200, "", decoded};
}

BackupPlan PlanBackup(Device& device, const RequestHead& head) {
  BackupPlan plan;
  plan.settings = device.profile.recordings;
  auto param = [&](const char* name) {
    const std::string* t = FindParam(head.params, name);
    return t ? std::atoi(t->c_str()) : 0;
  };
  plan.seed =
      static_cast<uint32_t>(param("CH") * 1000003 + param("Num") * 7919 + param("Day") * 31 +
                            param("Hour") * 3600 + param("Minute") * 60 + param("Second"));
  plan.bytes = plan.settings.backup_bytes >= 0 ? plan.settings.backup_bytes
                                               : static_cast<int64_t>(param("Size")) << 20;
  plan.cancel_generation = device.recordings.cancel_generation.load();
  return plan;
}

void ServeNetworkBackup(int fd, RecordingState& state, int stop_fd, const BackupPlan& plan) {
  state.backups_running.fetch_add(1);
  const RecordingSettings& s = plan.settings;
  {
    std::lock_guard lock(state.payload_mu);
    state.last_payload.clear();
  }
  auto send = [&](const std::string& bytes) {
    if (s.scenario != BackupScenario::kSplit) return SendAll(fd, bytes, stop_fd, kSendTimeoutMs);
    for (char c : bytes)
      if (!SendAll(fd, std::string_view(&c, 1), stop_fd, kSendTimeoutMs)) return false;
    return true;
  };
  auto cancelled = [&] { return state.cancel_generation.load() != plan.cancel_generation; };
  // Unpaced chunks go out in writes of up to 64 KB (the bytes on the wire are the same), so that
  // the sender keeps up with a fast reader; paced and split replies write each chunk alone.
  const bool batch = s.chunk_delay_ms <= 0 && s.scenario != BackupScenario::kSplit;
  std::string pending;
  auto flush = [&] {
    if (pending.empty()) return true;
    const bool sent = send(pending);
    pending.clear();
    return sent;
  };
  uint32_t rng = plan.seed * 2654435761u + 1;
  uint64_t at = 0;
  int chunks = 0;
  bool ok = true, finish = true;
  while (ok && s.scenario != BackupScenario::kEndFirst && at < static_cast<uint64_t>(plan.bytes)) {
    if (s.chunk_delay_ms > 0 && !Pause(stop_fd, s.chunk_delay_ms)) ok = false;
    if (!ok || cancelled()) {
      ok = false;
      break;
    }
    if (chunks == s.abort_after) {
      if (!flush()) {
        ok = false;
        break;
      }
      if (s.scenario == BackupScenario::kAbort) {
        ok = send(Header(0, kChunkAbort));
        finish = false;
        break;
      }
      if (s.scenario == BackupScenario::kStall) {
        WaitForPeerClose(fd, stop_fd, -1);
        ok = false;
        break;
      }
      if (s.scenario == BackupScenario::kOversize) {
        ok = send(Header(4096, kChunkData) + std::string(4096, 'X'));
        finish = false;
        break;
      }
    }
    rng = rng * 1103515245u + 12345u;
    const uint64_t n = std::min<uint64_t>(1 + (rng >> 8) % 2048, plan.bytes - at);
    std::string chunk;
    if (s.scenario == BackupScenario::kOtherType) chunk = Header(777, kChunkOther);
    chunk += Header(static_cast<uint32_t>(n), kChunkData);
    const size_t data_at = chunk.size();
    for (uint64_t i = 0; i < n; ++i)
      chunk.push_back(static_cast<char>(BackupPayloadByte(plan.seed, at + i)));
    if (s.scenario == BackupScenario::kClose && chunks == s.abort_after) {
      send(chunk.substr(0, data_at + n / 2));
      ok = false;
      break;
    }
    if (batch) {
      pending += chunk;
      if (pending.size() >= 65536) ok = flush();
    } else {
      ok = send(chunk);
    }
    if (ok) {
      std::lock_guard lock(state.payload_mu);
      if (state.last_payload.size() + n <= RecordingState::kKeptPayload)
        state.last_payload.insert(state.last_payload.end(),
                                  chunk.begin() + static_cast<long>(data_at), chunk.end());
    }
    at += n;
    ++chunks;
  }
  if (ok && finish) {
    pending += Header(0, kChunkEnd);
    ok = flush();
  } else if (ok) {
    ok = flush();
  }
  state.backups_running.fetch_sub(1);
  if (ok)
    CloseGracefully(fd, stop_fd);
  else
    close(fd);
}

}  // namespace devsim
