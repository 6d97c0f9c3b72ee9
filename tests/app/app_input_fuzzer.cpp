// Bytes from files and streams through the parsers that read them: the stream scan, the
// firmware header check, the text conversions, the caption split and the settings text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "net/firmware_header.h"
#include "text/ini_text.h"
#include "record/pes_scan.h"
#include "text/string_pair.h"
#include "text/text_bytes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);

  uint32_t stamp = 0, r1 = 0, r2 = 0, r3 = 0;
  uint8_t type = 0;
  ScanPesTimestamp(data, size, &stamp, &r1, &r2, &r3, &type);

  uint32_t headerLength = 0;
  CheckFirmwareFileHeader(data, size, 0, &headerLength, "1035");

  uint8_t bytes[6];
  HexStringToBytes(text, bytes, sizeof bytes, ':');
  SplitToNumbers(text, bytes, 4, ".");
  CheckMacString(text, bytes);

  char first[kStringPairBufferBytes], second[kStringPairBufferBytes];
  SplitStringPair(text, first, second);

  IniText ini(text);
  (void)ini.Get("Ostrova", "Server Name");
  ini.Set("Ostrova", "ServerPort", "80");
  (void)ini.ToString();
  return 0;
}
