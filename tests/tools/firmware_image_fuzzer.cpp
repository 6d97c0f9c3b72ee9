// Fuzzes the firmware image parser and the upload parts made from what it accepts.
#include <cstddef>
#include <cstdint>

#include "tools/firmware_image.h"
#include "tools/firmware_upload.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  MemoryFirmwareSource source(data, size);
  ParsedFirmwareImage image;
  if (ParseFirmwareImage(source, image) != ImageRead::kOk) return 0;
  uint64_t total = 0;
  for (const FirmwareRecord& r : image.records) {
    if (r.data.size() != r.dwLength) __builtin_trap();
    total += 4 + r.dwLength;
  }
  if (total != image.dwTotalSize || image.records.size() > kMaxFirmwareRecords) __builtin_trap();
  ImageUploadParts(image, true);
  ImageUploadParts(image, false);
  return 0;
}
