#include "record/record_recovery.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <vector>

#include "text/path_text.h"

namespace {
constexpr uint32_t kHeadFlags = recfmt::kFlagFrameNumber | recfmt::kFlagLength |
                                recfmt::kFlagWidth | recfmt::kFlagHeight | recfmt::kFlagTimeStamp |
                                recfmt::kFlagChannel | recfmt::kFlagSpare | recfmt::kFlagFive |
                                recfmt::kFlagMagic | recfmt::kFlagHeadLength | recfmt::kFlagSum;

uint32_t U32(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}
uint16_t U16(const uint8_t* p) {
  uint16_t v;
  std::memcpy(&v, p, 2);
  return v;
}

bool ReadHeader(RecordFile& file, RECORD_FILE_HEADER& header) {
  uint8_t bytes[recfmt::kFirstFrameOffset];
  if (file.ReadAt(0, bytes, sizeof bytes) != sizeof bytes) return false;
  std::memcpy(&header, bytes, sizeof header);
  return header.wMagic == recfmt::kMagic && header.wHeaderLength == recfmt::kHeaderLength &&
         header.wVersion == recfmt::kHeaderVersion && header.dwFlags == recfmt::kHeaderFlags &&
         std::equal(kRecordHeaderTail.begin(), kRecordHeaderTail.end(), bytes + sizeof header);
}

struct FrameHead {
  uint32_t number = 0;
  uint32_t length = 0;
  uint32_t timeStamp = 0;
  uint32_t headLength = 0;
};

// The frame record head at offset when it is exactly one this program writes.
bool ReadFrameHead(RecordFile& file, uint64_t offset, FrameHead& out) {
  std::array<uint8_t, recfmt::kMaxRecordHeadBytes> bytes{};
  const size_t got = file.ReadAt(offset, bytes.data(), bytes.size());
  if (got < 31) return false;
  const uint32_t flags = U32(bytes.data());
  if (flags != kHeadFlags && flags != (kHeadFlags | recfmt::kFlagNoPicture)) return false;
  RECORD_FRAME_INFO info{};
  info.dwFrameNumber = U32(&bytes[4]);
  info.dwLength = U32(&bytes[8]);
  info.wWidth = U16(&bytes[12]);
  info.wHeight = U16(&bytes[14]);
  info.dwTimeStamp = U32(&bytes[16]);
  info.byChannel = bytes[20];
  info.bySpare = bytes[21];
  info.dwNoPicture = (flags & recfmt::kFlagNoPicture) ? 1 : 0;
  if (info.dwLength > recfmt::kMaxFrameBytes) return false;
  std::array<uint8_t, recfmt::kMaxRecordHeadBytes> expected;
  const size_t length = BuildFrameRecordHead(info, expected);
  if (got < length || !std::equal(expected.begin(), expected.begin() + length, bytes.begin()))
    return false;
  out.number = info.dwFrameNumber;
  out.length = info.dwLength;
  out.timeStamp = info.dwTimeStamp;
  out.headLength = static_cast<uint32_t>(length);
  return true;
}

// A finished file told by its header, its trailing count, its index and its last frame alone.
bool LooksFinished(RecordFile& file, const RECORD_FILE_HEADER& header, uint64_t size,
                   RecordFileScan& scan) {
  const uint32_t n = header.dwFrameCount;
  if (n > recfmt::kMaxFramesPerFile) return false;
  const uint64_t indexBytes = uint64_t{n} * 8 + 4;
  if (size < recfmt::kFirstFrameOffset + indexBytes) return false;
  const uint64_t indexStart = size - indexBytes;
  std::vector<uint8_t> index(static_cast<size_t>(indexBytes));
  if (file.ReadAt(indexStart, index.data(), index.size()) != index.size()) return false;
  if (U32(&index[index.size() - 4]) != n) return false;
  uint32_t previous = 0;
  for (uint32_t i = 0; i < n; ++i) {
    const uint32_t at = U32(&index[size_t{i} * 8]);
    if (U32(&index[size_t{i} * 8 + 4]) != 0) return false;
    if ((i == 0 && at != recfmt::kFirstFrameOffset) || (i > 0 && at <= previous) ||
        at >= indexStart)
      return false;
    previous = at;
  }
  if (n == 0) {
    if (indexStart != recfmt::kFirstFrameOffset || header.dwFirstTimeStamp ||
        header.dwLastTimeStamp)
      return false;
  } else {
    FrameHead last;
    if (!ReadFrameHead(file, previous, last) || last.number != n ||
        uint64_t{previous} + last.headLength + last.length != indexStart ||
        last.timeStamp != header.dwLastTimeStamp)
      return false;
    scan.lastTimeStamp = last.timeStamp;
    scan.firstTimeStamp = header.dwFirstTimeStamp;
  }
  scan.finished = true;
  scan.frames = n;
  scan.wholeEnd = static_cast<uint32_t>(indexStart);
  return true;
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string DottedAddress(const uint8_t (&a)[4]) {
  char text[20];
  std::snprintf(text, sizeof text, "%u.%u.%u.%u", a[0], a[1], a[2], a[3]);
  return text;
}
}  // namespace

RecordFileScan ScanRecordFile(RecordFile& file) {
  RecordFileScan scan;
  RECORD_FILE_HEADER header;
  if (!ReadHeader(file, header)) return scan;
  scan.headerOk = true;
  scan.wholeEnd = recfmt::kFirstFrameOffset;
  const uint64_t size = file.Size();
  if (LooksFinished(file, header, size, scan)) return scan;
  // Walk the frame records from the first; the first that is not whole ends the file.
  uint64_t at = recfmt::kFirstFrameOffset;
  while (scan.frames < recfmt::kMaxFramesPerFile) {
    FrameHead head;
    if (!ReadFrameHead(file, at, head) || head.number != scan.frames + 1) break;
    const uint64_t end = at + head.headLength + head.length;
    if (end > size || end > UINT32_MAX) break;
    if (scan.frames == 0) scan.firstTimeStamp = head.timeStamp;
    scan.offsets.push_back(static_cast<uint32_t>(at));
    scan.lastTimeStamp = head.timeStamp;
    ++scan.frames;
    at = end;
  }
  scan.wholeEnd = static_cast<uint32_t>(at);
  return scan;
}

RecoveryResult RecoverRecordFile(RecordFileSystem& fs, const std::string& path) {
  RecoveryResult result;
  std::unique_ptr<RecordFile> file = fs.Open(path, FileOpenMode::kOpenUnshared);
  if (!file) {
    result.outcome = fs.Exists(path) ? RecoveryOutcome::kInUse : RecoveryOutcome::kNotOurs;
    return result;
  }
  const uint64_t size = file->Size();
  if (size < recfmt::kFirstFrameOffset) {
    // Created, header not yet (or not wholly) written: no frame was ever in it.
    uint8_t magic[2] = {0, 0};
    const size_t got = file->ReadAt(0, magic, std::min<uint64_t>(size, 2));
    const uint16_t expected = recfmt::kMagic;
    if (got >= 1 && magic[0] != (expected & 0xFF)) return result;
    if (got == 2 && magic[1] != (expected >> 8)) return result;
    file.reset();
    result.outcome = fs.Remove(path) ? RecoveryOutcome::kRemoved : RecoveryOutcome::kFailed;
    return result;
  }
  RECORD_FILE_HEADER header;
  if (!ReadHeader(*file, header)) return result;
  result.alarm = header.byRecordKind == 1;
  result.created = header.stCreated;
  std::memcpy(result.serverAddress, header.byServerAddress, 4);

  const RecordFileScan scan = ScanRecordFile(*file);
  result.frames = scan.frames;
  if (scan.finished) {
    result.outcome = RecoveryOutcome::kWhole;
    return result;
  }
  // As a normal close leaves it: frames, then {offset, 0} per frame and the count.
  const std::vector<uint32_t>& offsets = scan.offsets;
  header.dwFrameCount = static_cast<uint32_t>(offsets.size());
  header.dwFirstTimeStamp = offsets.empty() ? 0 : scan.firstTimeStamp;
  header.dwLastTimeStamp = offsets.empty() ? 0 : scan.lastTimeStamp;
  const std::vector<uint8_t> index =
      BuildRecordIndex(offsets.data(), static_cast<uint32_t>(offsets.size()));
  const bool ok = file->Truncate(scan.wholeEnd) && file->WriteAt(0, &header, sizeof header) &&
                  file->WriteAt(scan.wholeEnd, index.data(), index.size()) && file->Flush();
  result.frames = header.dwFrameCount;
  result.outcome = ok ? RecoveryOutcome::kRepaired : RecoveryOutcome::kFailed;
  return result;
}

bool IsRecordFileName(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  const std::string name = Lower(slash == std::string::npos ? path : path.substr(slash + 1));
  const bool known = name.rfind("user_mjpeg_", 0) == 0 || name.rfind("alarm_mjpeg_", 0) == 0;
  return known && name.size() > 4 && name.compare(name.size() - 4, 4, ".qdx") == 0;
}

void RecordFolderRecovery::Bind(RecordFileSystem* fs, SystemConfig* alarmDb,
                                void (*trace)(const char*)) {
  std::lock_guard<std::mutex> lock(m_lock);
  m_fs = fs;
  m_alarmDb = alarmDb;
  m_trace = trace;
}

int RecordFolderRecovery::RecoverFolder(const std::string& folderIn) {
  std::lock_guard<std::mutex> lock(m_lock);
  if (!m_fs || folderIn.empty()) return 0;
  std::string folder = folderIn;
  EnsureFolderBackslash(folder);
  if (!m_scanned.insert(Lower(folder)).second) return 0;
  int finished = 0;
  for (const std::string& path : m_fs->ListFolder(folder)) {
    if (!IsRecordFileName(path)) continue;
    const RecoveryResult r = RecoverRecordFile(*m_fs, path);
    char line[400];
    switch (r.outcome) {
      case RecoveryOutcome::kRepaired:
        ++finished;
        std::snprintf(line, sizeof line, "Unfinished record file finished: %s (%u frames)",
                      path.c_str(), r.frames);
        break;
      case RecoveryOutcome::kRemoved:
        std::snprintf(line, sizeof line, "Record file without a header removed: %s", path.c_str());
        break;
      case RecoveryOutcome::kFailed:
        std::snprintf(line, sizeof line, "Unfinished record file could not be finished: %s",
                      path.c_str());
        break;
      default:
        continue;
    }
    if (m_trace) m_trace(line);
    if (r.outcome == RecoveryOutcome::kRepaired && r.alarm && m_alarmDb)
      m_alarmDb->AlarmDB_AppendMissing(path, r.created, r.frames, DottedAddress(r.serverAddress));
  }
  return finished;
}
