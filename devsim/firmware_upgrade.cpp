#include "devsim/firmware_upgrade.h"

#include <charconv>
#include <cstdio>

#include "devsim/handlers.h"

namespace devsim {
namespace {

std::optional<uint64_t> Decimal(const std::string* text) {
  if (!text || text->empty() || text->size() > 12) return std::nullopt;
  uint64_t v = 0;
  const auto r = std::from_chars(text->data(), text->data() + text->size(), v);
  if (r.ec != std::errc() || r.ptr != text->data() + text->size()) return std::nullopt;
  return v;
}

}  // namespace

uint64_t Fnv1a64(std::string_view data) {
  uint64_t h = 1469598103934665603ull;
  for (unsigned char c : data) {
    h ^= c;
    h *= 1099511628211ull;
  }
  return h;
}

void FirmwareStore::HoldOpened() {
  std::lock_guard lock(mu_);
  ++holds_;
}

void FirmwareStore::HoldClosed() {
  std::lock_guard lock(mu_);
  --holds_;
  ++holds_closed_;
}

int FirmwareStore::OpenHolds() const {
  std::lock_guard lock(mu_);
  return holds_;
}

Reply FirmwareStore::Chunked(const RequestHead& head, std::string_view body) {
  std::lock_guard lock(mu_);
  if (body.size() > kMaxChunkedBody) return {400, "piece over 900 bytes"};
  const std::string* upgrade = FindParam(head.params, "Upgrade");
  const std::string* type = FindParam(head.params, "Type");
  if (upgrade && *upgrade == "Cancel") {
    pending_ = false;
    cancels_.push_back(head.path + "?Upgrade=Cancel");
    return {200, ""};
  }
  if (upgrade && *upgrade == "Start") {
    const std::optional<uint64_t> size = Decimal(FindParam(head.params, "FileSize"));
    if (!size) return {400, "FileSize missing"};
    if (body.size() > *size) return {400, "more bytes than FileSize"};
    pending_part_ = {"chunked", type ? *type : "", std::string(body), false, false};
    pending_closed_ = holds_closed_;
    pending_size_ = *size;
    pending_ = true;
  } else {
    if (!pending_) return {400, "no part started"};
    pending_part_.data.append(body);
    if (pending_part_.data.size() > pending_size_) {
      pending_ = false;
      return {400, "more bytes than FileSize"};
    }
    if (upgrade && *upgrade == "Finished") {
      if (type) pending_part_.type = *type;
      const std::string* reboot = FindParam(head.params, "Reboot");
      pending_part_.reboot = reboot && *reboot == "1";
      if (pending_part_.data.size() != pending_size_) {
        pending_ = false;
        return {400, "fewer bytes than FileSize"};
      }
    } else if (upgrade) {
      return {400, "unknown Upgrade value"};
    }
  }
  // A part is whole after Finished, or at a Start that carried all its bytes.
  const bool whole =
      upgrade && (*upgrade == "Finished" || pending_part_.data.size() == pending_size_);
  if (whole) {
    // The hold connection must be up when the part is whole and none closed while it came.
    pending_part_.hold_open = holds_ > 0 && holds_closed_ == pending_closed_;
    parts_.push_back(pending_part_);
    pending_ = false;
  }
  return {200, ""};
}

Reply FirmwareStore::Streamed(const RequestHead& head, std::string_view body) {
  std::lock_guard lock(mu_);
  const std::string* type = FindParam(head.params, "Type");
  const std::string* reboot = FindParam(head.params, "REBOOT");
  parts_.push_back(
      {"streamed", type ? *type : "", std::string(body), reboot && *reboot == "1", holds_ > 0});
  return {200, "OK"};
}

Reply FirmwareStore::Cancel(std::string_view path) {
  std::lock_guard lock(mu_);
  pending_ = false;
  cancels_.emplace_back(path);
  return {200, ""};
}

std::string FirmwareStore::Listing() const {
  std::lock_guard lock(mu_);
  std::string out;
  char fnv[20];
  for (const auto& p : parts_) {
    std::snprintf(fnv, sizeof fnv, "%016llx", static_cast<unsigned long long>(Fnv1a64(p.data)));
    out += "part method=" + p.method + " type=" + p.type +
           " size=" + std::to_string(p.data.size()) + " fnv=" + fnv +
           " reboot=" + (p.reboot ? "1" : "0") + " hold=" + (p.hold_open ? "1" : "0") + "\n";
  }
  for (const auto& c : cancels_) out += "cancel path=" + c + "\n";
  out += "holds open=" + std::to_string(holds_) + "\n";
  return out;
}

void FirmwareStore::Clear() {
  std::lock_guard lock(mu_);
  parts_.clear();
  cancels_.clear();
  pending_ = false;
}

std::optional<uint64_t> StreamedUploadLength(const RequestHead& head) {
  if (head.path != "/UpgradeFW2.cgi") return 0;
  const std::optional<uint64_t> size = Decimal(FindParam(head.params, "FILESIZE"));
  if (!size || *size > kMaxStreamedPart) return std::nullopt;
  return size;
}

bool IsHoldRequest(const RequestHead& head) {
  const std::string* fake = FindParam(head.params, "Fake");
  return head.path == "/Getvideo.cgi" && fake && *fake == "1";
}

Reply HandleUpgradeFW(Device& device, const Request& request) {
  return device.firmware.Chunked(request.head, request.body);
}

Reply HandleUpgradeFW2(Device& device, const Request& request) {
  return device.firmware.Streamed(request.head, request.body);
}

Reply HandleCancelUpgrade(Device& device, const Request& request) {
  return device.firmware.Cancel(request.head.path);
}

Reply HandleGetVersion(Device& device, const Request&) {
  const DeviceProfile& p = device.profile;
  return {200, p.version_text.empty() ? p.firmware : p.version_text};
}

}  // namespace devsim
