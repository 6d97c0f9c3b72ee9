#include "net/firmware_header.h"

#include <algorithm>
#include <array>

#include "net/device_family.h"

namespace {
constexpr size_t kHeaderWindow = 100;
}  // namespace

int CheckFirmwareFileHeader(const uint8_t* data, size_t size, int /*unused*/,
                            uint32_t* headerLength, std::string_view deviceVersion) {
  if (data == nullptr) return kFirmwareHeaderOtherDevice;
  const std::string_view window(reinterpret_cast<const char*>(data), std::min(size, kHeaderWindow));
  std::array<std::string_view, 3> fields;
  size_t pos = 0;
  for (auto& field : fields) {
    const size_t end = window.find(';', pos);
    if (end == std::string_view::npos) return kFirmwareHeaderOtherDevice;
    field = window.substr(pos, end - pos);
    pos = end + 1;
  }
  const auto [maker, version, model] = fields;
  if (maker != "KELVRA" || model != "RZ2KS") return kFirmwareHeaderOtherDevice;
  if (CompareVersionString(version, deviceVersion) != 2) return kFirmwareHeaderNotNewer;
  if (headerLength) *headerLength = static_cast<uint32_t>(pos);
  return kFirmwareHeaderAccepted;
}
