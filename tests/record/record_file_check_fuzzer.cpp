// Fuzz target: the player stand-in's check of a record file.
#include <cstddef>
#include <cstdint>

#include "platform/player/record_file_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const RecordFileVerdict v = CheckRecordFile(data, size);
  if (v.ok && (v.timeStamps.size() != v.frames || v.dataStarts.size() != v.frames))
    __builtin_trap();
  VerdictText(v);
  return 0;
}
