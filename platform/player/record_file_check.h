// The player stand-in's check of a ".qdx" record file: header, extension and end word, every
// frame record (presence flags, number, lengths, byte sum, end word), the index and the trailing
// count. Written from the file layout alone, apart from the recorder's code, so that tests can
// ask it whether a recorded file is whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct RecordFileVerdict {
  bool ok = false;
  std::string reason;  // the first fault found; empty when ok
  uint32_t frames = 0;
  uint8_t kind = 0;  // header byte 59: 1 alarm, 0 manual
  uint32_t firstTimeStamp = 0;
  uint32_t lastTimeStamp = 0;
  std::vector<uint32_t> timeStamps;    // of each frame, in order
  std::vector<uint32_t> recordStarts;  // file offset of each frame record
  std::vector<uint32_t> dataStarts;    // file offset of each frame's JPEG data
};

RecordFileVerdict CheckRecordFile(const uint8_t* bytes, size_t size);
// "OK frames=N kind=K" or "BAD <reason>".
std::string VerdictText(const RecordFileVerdict& verdict);
