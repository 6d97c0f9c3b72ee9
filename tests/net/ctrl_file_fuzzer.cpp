// Fuzz target: the CtrlFile.ini parser and the link to the model rows.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "net/ctrl_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CtrlFileContents contents;
  size_t messages = 0;
  ParseCtrlFileText(std::string_view(reinterpret_cast<const char*>(data), size), contents,
                    [&](uint32_t) { ++messages; });
  if (contents.records.size() > kCtrlFileMaxDevices) __builtin_trap();
  for (const CtrlDeviceRecord& r : contents.records) {
    if (r.szName[sizeof r.szName - 1] != '\0') __builtin_trap();
    for (const ControlCommandScript& s : r.KeyScript) {
      if (s.lpBytes.size() != s.byCount || s.marks.size() != s.byCount) __builtin_trap();
      if (s.lpRecord && s.lpRecord != &r) __builtin_trap();
    }
  }
  const auto links = MapProtocolsToDevices(contents.records);
  for (const CtrlDeviceRecord* l : links) {
    if (l &&
        (l < contents.records.data() || l >= contents.records.data() + contents.records.size()))
      __builtin_trap();
  }
  return 0;
}
