// Fuzz target: a command line parsed into a script and turned into an RS-485 body and query,
// with the mark values and addressing taken from the first input bytes.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "mainwnd/rs485_command.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 6) return 0;
  Rs485MarkValues marks;
  marks.byLevelCode = LevelCodeOfAccessClass(data[0]);
  marks.byLastChannelAddress = data[1];
  marks.byLastPtzAddress = data[2];
  marks.fRzkWithoutMultiChannel = data[3] & 1;
  marks.fPresetMode = data[3] & 2;
  const uint8_t repeat = data[4];
  const std::string_view line(reinterpret_cast<const char*>(data + 6), size - 6);

  CtrlDeviceRecord record;
  for (uint8_t i = 0; i < 10; ++i) record.byParam[i] = uint8_t(data[5] + i);
  ControlCommandScript& script = record.KeyScript[0];
  ParseHexCommand(script, line);
  script.lpRecord = (data[3] & 4) ? &record : nullptr;
  const Rs485Body body = BuildRs485Body(script, repeat, marks);
  if (body.outcome == Rs485BodyOutcome::kOk) {
    if (body.bytes.size() > kRs485BodyMax || body.bytes.size() != size_t(body.bytes[0]) + 3)
      __builtin_trap();
  } else if (!body.bytes.empty()) {
    __builtin_trap();
  }

  static const char* const kProducts[] = {"RZ1K", "RZ2K", "RZ3K", "RZ4K", "RZ5M", "RZ8P", ""};
  Rs485Addressing a;
  a.productId = kProducts[data[0] % 7];
  a.byMultiChannel = data[3] & 8;
  a.fCurrentInChannelGroup = data[3] & 16;
  a.byPosition = data[1];
  a.byCurrentModelRow = data[2];
  a.byLastChannelModelRow = data[5];
  a.wKeyFlags = uint16_t(data[4] << 8);
  a.cookie = "C";
  CGIParamList request(11);
  BuildRs485Query(request, a);
  if (request.m_strQuery.rfind("/RS485Cmd.cgi?Control=RZ1K&", 0) != 0) __builtin_trap();
  return 0;
}
