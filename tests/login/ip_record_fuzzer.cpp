// Fuzz target: "IPRecord.dat" as the address book reads it; a decoded book encodes back to the
// same whole records, apart from the zeroed bytes after each text and the reserved word.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "tools/ip_record.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<AddressBookRow> rows;
  if (!DecodeIpRecords(data, size, rows)) return 0;
  if (rows.size() != size / kIpRecordSize) __builtin_trap();
  const std::vector<uint8_t> image = EncodeIpRecords(rows);
  if (image.size() != rows.size() * kIpRecordSize) __builtin_trap();
  std::vector<AddressBookRow> again;
  if (!DecodeIpRecords(image.data(), image.size(), again) || again.size() != rows.size())
    __builtin_trap();
  for (size_t i = 0; i < rows.size(); ++i) {
    // A text without its NUL loses its 128th character; everything else round-trips.
    const auto same = [](const std::string& a, const std::string& b) {
      return a == b || (a.size() == kIpRecordTextSize && b == a.substr(0, kIpRecordTextSize - 1));
    };
    if (!same(rows[i].strUser, again[i].strUser) ||
        !same(rows[i].strIpAddress, again[i].strIpAddress) ||
        !same(rows[i].strComment, again[i].strComment) || rows[i].wMajorPort != again[i].wMajorPort)
      __builtin_trap();
  }
  return 0;
}
