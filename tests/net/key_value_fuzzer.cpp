// Fuzzes the key-value reply reader through the login and device-information replies.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "net/control_device_list.h"
#include "net/device_info_reply.h"
#include "net/login_reply.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const KeyValueReply reply(data, size);

  for (int options = 0; options < 4; ++options) {
    LoginReplyRecord login;
    ApplyLoginReply(reply, {(options & 1) != 0, (options & 2) != 0}, login);
    if (login.szCookie[sizeof login.szCookie - 1] != 0) __builtin_trap();
  }

  for (int options = 0; options < 4; ++options) {
    DeviceInfoRecord info;
    C_ControlD controls;
    ApplyDeviceInfoReply(reply, {(options & 1) != 0, (options & 2) != 0}, info, controls);
    if (controls.Count() > C_ControlD::kMaxEntries) __builtin_trap();
    if (info.str_BootVersion.size() > KeyValueReply::kMaxValueLength) __builtin_trap();
  }
  return 0;
}
