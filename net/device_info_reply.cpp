#include "net/device_info_reply.h"

#include "net/device_family.h"

namespace {
// Device-information keys are searched without their "=", which is skipped unchecked.
constexpr size_t kSkip = 1;
constexpr uint32_t kListedDeviceValue = 2400;

// A device type of 1 is model row 11.
uint8_t KindOfType(int32_t type) {
  return type == 1 ? 11 : static_cast<uint8_t>(type);
}

void ApplyBasicItems(const KeyValueReply& reply, DeviceInfoRecord& record) {
  if (auto v = reply.Number("VIDEOMODE", kSkip)) record.byVideoMode = static_cast<uint8_t>(*v);
  if (auto v = reply.Number("USERLEVEL", kSkip)) record.w_UserLevel = static_cast<uint16_t>(*v);
  if (auto v = reply.Text("Boot-Version", kSkip)) record.str_BootVersion = std::move(*v);
  if (auto v = reply.Text("2041-Version", kSkip)) record.str_2041Version = std::move(*v);
  if (auto v = reply.Text("FPGA-Version", kSkip)) record.str_FPGAVersion = std::move(*v);
}

// Reads key at or after pos; on success moves pos to the ";" that ends its value.
std::optional<int32_t> NextListValue(const KeyValueReply& reply, std::string_view key,
                                     size_t& pos) {
  const auto item = reply.Find(key, kSkip, pos);
  if (!item) return std::nullopt;
  pos = item->terminator;
  return ReplyDecimal(item->value.substr(0, KeyValueReply::kMaxValueLength));
}
}  // namespace

void ApplyDeviceInfoReply(const KeyValueReply& reply, const DeviceInfoOptions& options,
                          DeviceInfoRecord& record, C_ControlD& controls) {
  if (auto v = reply.Number("LIFETIME", kSkip)) record.dwLifeTimeMinutes = *v;
  if (!options.full) {
    ApplyBasicItems(reply, record);
    return;
  }

  const auto multi = reply.Number("MULTICH", kSkip);
  record.byMultiChannel = multi ? static_cast<uint8_t>(*multi) : 0;

  uint8_t kind = 0;
  uint8_t address = 0;
  if (const auto link = reply.Number("LINKDEVICE", kSkip)) {
    kind = static_cast<uint8_t>(*link);
    controls.Add(0, 0, kind, C_ControlD::kChannelDevice);
  } else if (const auto masters = reply.Number("MASTERNUM", kSkip)) {
    const uint8_t count = static_cast<uint8_t>(*masters);
    size_t pos = 0;
    for (uint8_t i = 0; i < count; ++i) {
      if (auto id = NextListValue(reply, "MID", pos)) address = static_cast<uint8_t>(*id);
      if (auto type = NextListValue(reply, "MTYPE", pos)) kind = KindOfType(*type);
      controls.Add(kListedDeviceValue, address, kind, C_ControlD::kChannelDevice);
    }
  }

  if (const auto retr = reply.Number("RETR", kSkip); retr && options.retrAllowed) {
    controls.Clear();
    uint8_t row = 0;
    switch (kind) {
      case 14:
        row = 19;
        break;
      case 20:
        row = 22;
        break;
      case 21:
        row = 23;
        break;
      default:
        break;
    }
    if (row) controls.Add(0, 0, row, C_ControlD::kChannelDevice);
    controls.SetRETRState(static_cast<uint8_t>(*retr));
  }

  ApplyBasicItems(reply, record);

  if (const auto slaves = reply.Number("SLAVENUM", kSkip)) {
    const uint8_t count = static_cast<uint8_t>(*slaves);
    const uint16_t flag =
        record.byMultiChannel ? C_ControlD::kChannelDevice : C_ControlD::kBusDevice;
    size_t pos = 0;
    for (uint8_t i = 0; i < count; ++i) {
      if (auto id = NextListValue(reply, "SID", pos)) address = static_cast<uint8_t>(*id);
      if (auto type = NextListValue(reply, "STYPE", pos)) kind = KindOfType(*type);
      if (auto protocol = NextListValue(reply, "SPROTOCOL", pos);
          protocol && kind == 11 && *protocol == 1)
        kind = 18;
      controls.Add(kListedDeviceValue, address, kind, flag);
    }
  }
}

void BuildDeviceInfoRequest(CGIParamList& request, const DeviceInfoRequestParams& params) {
  if (!params.cookie.empty()) request.AddParam("Cookie", params.cookie);
  request.AddParamInt("RES", params.resolution);
  request.AddParamInt("QUA", params.quality);
  if (params.channel) request.AddParamInt("CH", *params.channel);
  if (params.newFrameHeader) request.AddParamInt("NEWHR", 1);
}

uint8_t ClampSelectedChannel(std::string_view productId, uint8_t channel) {
  if (productId == "RZ1K") return channel > 16 ? 0 : channel;
  if (productId == "RZ3K") return channel > 8 ? 0 : channel;
  if (productId == "RZ4K") return channel > 4 ? 0 : channel;
  if (productId == "RZ2K") return (channel > 2 || channel == 0) ? 1 : channel;
  return channel;
}

bool FetchesCapabilityMask(std::string_view productId, std::string_view fwVersion) {
  return IsRZKSeriesProduct(productId) && CompareVersionString("1035", fwVersion) != 2;
}

bool UsesNewFrameHeader(std::string_view productId, std::string_view fwVersion) {
  if (IsRZKSeriesProduct(productId)) return CompareVersionString("1046", fwVersion) != 2;
  if (IsRZ2KProduct(productId)) return CompareVersionString("1006", fwVersion) != 2;
  return IsRZ8PProduct(productId);
}

bool RetrItemAllowed(std::string_view productId, std::string_view fwVersion,
                     uint32_t capabilityMask) {
  return !FetchesCapabilityMask(productId, fwVersion) || TestDeviceMaskBit(0x1, capabilityMask);
}
