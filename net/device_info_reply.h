// The device-information exchange: the "/Getdeviceinfo.cgi" request and its reply, which gives
// the account's lifetime and level, the video mode, component versions and the attached
// controllable devices.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "net/control_device_list.h"
#include "net/cgi_param_list.h"
#include "net/key_value_reply.h"

// What a device-information reply writes besides the control-device list. Fields keep their value
// when the reply lacks their key (MULTICH excepted: missing means 0).
struct DeviceInfoRecord {
  int32_t dwLifeTimeMinutes = -1;
  uint8_t byMultiChannel = 0;
  uint8_t byVideoMode = 0;
  uint16_t w_UserLevel = 0;
  std::string str_BootVersion;
  std::string str_2041Version;
  std::string str_FPGAVersion;
};

struct DeviceInfoOptions {
  // Every key; otherwise only LIFETIME, VIDEOMODE, USERLEVEL and the three version texts.
  bool full = false;
  // Whether a "RETR" item may replace the control-device list (the caller's device test).
  bool retrAllowed = true;
};

// Applies a device-information reply. With full set the caller has cleared controls beforehand.
void ApplyDeviceInfoReply(const KeyValueReply& reply, const DeviceInfoOptions& options,
                          DeviceInfoRecord& record, C_ControlD& controls);

struct DeviceInfoRequestParams {
  std::string_view cookie;  // left out when empty
  int32_t resolution = 0;
  int32_t quality = 0;
  std::optional<uint8_t> channel;  // "CH"
  bool newFrameHeader = false;     // "NEWHR=1"
};

// "/Getdeviceinfo.cgi" with Cookie, RES, QUA, then CH and NEWHR when asked for.
void BuildDeviceInfoRequest(CGIParamList& request, const DeviceInfoRequestParams& params);

// Whether the device-information step first reads the capability mask from the INF block:
// RZK-series devices with firmware not older than "1035".
bool FetchesCapabilityMask(std::string_view productId, std::string_view fwVersion);

// Whether the device sends the newer frame header, so that the request asks with "NEWHR=1":
// RZK-series from firmware "1046", "RZ2K" from "1006", and "RZ8P".
bool UsesNewFrameHeader(std::string_view productId, std::string_view fwVersion);

// Whether a "RETR" item applies: always, except on devices that read the capability mask, where
// its bit 0x1 must be set.
bool RetrItemAllowed(std::string_view productId, std::string_view fwVersion,
                     uint32_t capabilityMask);

// The selected channel limited to what the device offers: above 16 becomes 0 for "RZ1K", above 8
// for "RZ3K", above 4 for "RZ4K"; for "RZ2K" 0 or above 2 becomes 1. Other devices keep it.
uint8_t ClampSelectedChannel(std::string_view productId, uint8_t channel);
