#include "record/alarm_db.h"

#include <algorithm>
#include <cstring>

#include "text/path_text.h"

namespace {
constexpr size_t kHeaderBytes = sizeof(ALARM_DB_HEADER);
constexpr size_t kItemBytes = sizeof(ALARM_DB_ITEM);

std::vector<uint8_t> ReadWhole(RecordFile& file) {
  const uint64_t size = file.Size();
  // Never more than the header and a list far beyond the cap of any file this program writes.
  constexpr uint64_t kLimit = kHeaderBytes + uint64_t{65535} * kItemBytes;
  std::vector<uint8_t> bytes(static_cast<size_t>(std::min(size, kLimit)));
  bytes.resize(file.ReadAt(0, bytes.data(), bytes.size()));
  return bytes;
}

void CopyText(char* field, size_t fieldSize, const std::string& text) {
  std::memset(field, 0, fieldSize);
  std::memcpy(field, text.data(), std::min(text.size(), fieldSize - 1));
}
}  // namespace

AlarmListContent ParseAlarmList(const uint8_t* bytes, size_t size) {
  AlarmListContent out;
  if (size < kHeaderBytes) return out;
  ALARM_DB_HEADER header;
  std::memcpy(&header, bytes, kHeaderBytes);
  out.fMagicOk = header.wMagic == kAlarmDbMagic;
  out.wHeaderCount = header.wCount;
  // A damaged count never reaches past the items the file holds.
  const size_t count = std::min<size_t>(header.wCount, (size - kHeaderBytes) / kItemBytes);
  out.items.resize(count);
  if (count) std::memcpy(out.items.data(), bytes + kHeaderBytes, count * kItemBytes);
  for (ALARM_DB_ITEM& item : out.items) {
    item.szPath[sizeof item.szPath - 1] = 0;
    item.strSourceIP[sizeof item.strSourceIP - 1] = 0;
  }
  return out;
}

std::vector<uint8_t> EncodeAlarmList(uint16_t count, const std::vector<ALARM_DB_ITEM>& items) {
  std::vector<uint8_t> bytes(kHeaderBytes + items.size() * kItemBytes);
  const ALARM_DB_HEADER header{kAlarmDbMagic, count};
  std::memcpy(bytes.data(), &header, kHeaderBytes);
  if (!items.empty())
    std::memcpy(bytes.data() + kHeaderBytes, items.data(), items.size() * kItemBytes);
  return bytes;
}

void SystemConfig::Bind(RecordFileSystem* fs, std::string programFolder,
                        void (*trace)(const char*)) {
  std::lock_guard<std::mutex> lock(m_hAlarmDBSem);
  m_fs = fs;
  m_strProgramFolder = std::move(programFolder);
  m_trace = trace;
}

void SystemConfig::Trace(const char* text) const {
  if (m_trace) m_trace(text);
}

std::string SystemConfig::ListPath() const {
  std::string folder = m_strProgramFolder;
  EnsureFolderBackslash(folder);
  return folder + kAlarmDbFileName;
}

bool SystemConfig::ReplaceWhole(const std::string& path, const std::vector<uint8_t>& bytes) {
  const std::string temp = path + ".tmp";
  {
    std::unique_ptr<RecordFile> file = m_fs->Open(temp, FileOpenMode::kCreateAlways);
    if (!file) return false;
    if (!file->WriteAt(0, bytes.data(), bytes.size()) || !file->Flush()) {
      file.reset();
      m_fs->Remove(temp);
      return false;
    }
  }
  if (!m_fs->Replace(temp, path)) {
    m_fs->Remove(temp);
    return false;
  }
  return true;
}

int SystemConfig::AlarmDB_FreeBuffer() {
  std::lock_guard<std::mutex> lock(m_hAlarmDBSem);
  m_lpAlarmDBItem_Struct.clear();
  m_lpAlarmDBItem_Struct.shrink_to_fit();
  return 1;
}

int SystemConfig::AlarmDB_AllocateBuffer() {
  std::lock_guard<std::mutex> lock(m_hAlarmDBSem);
  m_lpAlarmDBItem_Struct.assign(m_AlarmDBHeader.wCount, ALARM_DB_ITEM{});
  return 1;
}

int SystemConfig::AlarmDB_PrepareItem(const std::string& path) {
  std::lock_guard<std::mutex> lock(m_hAlarmDBSem);
  std::memset(&m_PendingItem, 0, sizeof m_PendingItem);
  if (path.size() >= sizeof m_PendingItem.szPath) return 0;
  CopyText(m_PendingItem.szPath, sizeof m_PendingItem.szPath, path);
  return 1;
}

void SystemConfig::AlarmDB_StampTime(const RecordTime& t) {
  std::lock_guard<std::mutex> lock(m_hAlarmDBSem);
  m_PendingItem.stTime = t;
  m_PendingItem.stTime.wDayOfWeek = 0;
  m_PendingItem.stTime.wMilliseconds = 0;
}

int SystemConfig::AlarmDB_AppendItem(uint32_t frames, const std::string& strSourceIP) {
  std::lock_guard<std::mutex> lock(m_hAlarmDBSem);
  m_PendingItem.dwFrames = frames;
  CopyText(m_PendingItem.strSourceIP, sizeof m_PendingItem.strSourceIP, strSourceIP);
  return AppendLocked(m_PendingItem);
}

int SystemConfig::AlarmDB_AppendMissing(const std::string& path, const RecordTime& t,
                                        uint32_t frames, const std::string& strSourceIP) {
  std::lock_guard<std::mutex> lock(m_hAlarmDBSem);
  if (!m_fs) return 0;
  ALARM_DB_ITEM item{};
  if (path.size() >= sizeof item.szPath) return 0;
  CopyText(item.szPath, sizeof item.szPath, path);
  if (std::unique_ptr<RecordFile> file = m_fs->Open(ListPath(), FileOpenMode::kOpenExisting)) {
    const std::vector<uint8_t> bytes = ReadWhole(*file);
    const AlarmListContent list = ParseAlarmList(bytes.data(), bytes.size());
    for (const ALARM_DB_ITEM& listed : list.items)
      if (std::strncmp(listed.szPath, item.szPath, sizeof item.szPath) == 0) return 1;
  }
  item.stTime = t;
  item.stTime.wDayOfWeek = 0;
  item.stTime.wMilliseconds = 0;
  item.dwFrames = frames;
  CopyText(item.strSourceIP, sizeof item.strSourceIP, strSourceIP);
  return AppendLocked(item);
}

int SystemConfig::AppendLocked(const ALARM_DB_ITEM& itemIn) {
  if (!m_fs) return 0;
  ALARM_DB_ITEM item = itemIn;
  item.wItemNumber = m_AlarmDBHeader.wCount;
  m_AlarmDBHeader.wCount = static_cast<uint16_t>(m_AlarmDBHeader.wCount + 1);
  m_strAlarmDBPath = ListPath();

  std::unique_ptr<RecordFile> file = m_fs->Open(m_strAlarmDBPath, FileOpenMode::kOpenExisting);
  if (!file) {
    if (m_fs->Exists(m_strAlarmDBPath)) {
      Trace("SystemConfig::AlarmDB_AppendItem : AlarmData.dat cannot be opened");
      return 0;
    }
    const std::vector<ALARM_DB_ITEM> one{item};
    if (!ReplaceWhole(m_strAlarmDBPath, EncodeAlarmList(1, one))) {
      Trace("SystemConfig::AlarmDB_AppendItem : AlarmData.dat cannot be created");
      return 0;
    }
    return 1;
  }
  const std::vector<uint8_t> bytes = ReadWhole(*file);
  AlarmListContent list = ParseAlarmList(bytes.data(), bytes.size());
  if (!list.fMagicOk) {
    Trace("SystemConfig::AlarmDB_AppendItem : AlarmData.dat has a wrong magic, left as it is");
    return 0;
  }
  const size_t count = list.items.size();
  if (count < kAlarmDbMaxItems) {
    // The item first, then the count: a break in between leaves the old list whole.
    const ALARM_DB_HEADER header{kAlarmDbMagic, static_cast<uint16_t>(count + 1)};
    const uint64_t end = kHeaderBytes + (count + 1) * kItemBytes;
    const bool ok = file->WriteAt(kHeaderBytes + count * kItemBytes, &item, kItemBytes) &&
                    file->WriteAt(0, &header, kHeaderBytes) &&
                    (file->Size() == end || file->Truncate(end));
    if (!ok) Trace("SystemConfig::AlarmDB_AppendItem : AlarmData.dat write failed");
    return ok ? 1 : 0;
  }
  file.reset();
  // Full: the oldest item goes.
  std::vector<ALARM_DB_ITEM> items(list.items.end() - (kAlarmDbMaxItems - 1), list.items.end());
  items.push_back(item);
  if (!ReplaceWhole(m_strAlarmDBPath,
                    EncodeAlarmList(static_cast<uint16_t>(items.size()), items))) {
    Trace("SystemConfig::AlarmDB_AppendItem : AlarmData.dat write failed");
    return 0;
  }
  return 1;
}

int SystemConfig::AlarmDB_LoadItems() {
  std::lock_guard<std::mutex> lock(m_hAlarmDBSem);
  if (!m_fs) return 0;
  if (m_strAlarmDBPath.empty()) m_strAlarmDBPath = ListPath();
  std::unique_ptr<RecordFile> file = m_fs->Open(m_strAlarmDBPath, FileOpenMode::kOpenExisting);
  if (!file) return 0;
  const std::vector<uint8_t> bytes = ReadWhole(*file);
  AlarmListContent list = ParseAlarmList(bytes.data(), bytes.size());
  if (!list.fMagicOk) return 0;
  m_AlarmDBHeader = ALARM_DB_HEADER{kAlarmDbMagic, static_cast<uint16_t>(list.items.size())};
  m_lpAlarmDBItem_Struct = std::move(list.items);
  return 1;
}

int SystemConfig::AlarmDB_Rewrite() {
  std::lock_guard<std::mutex> lock(m_hAlarmDBSem);
  if (!m_bRewritePending || !m_fs) return 0;
  if (m_strAlarmDBPath.empty()) m_strAlarmDBPath = ListPath();
  std::vector<ALARM_DB_ITEM> kept;
  std::unique_ptr<RecordFile> file = m_fs->Open(m_strAlarmDBPath, FileOpenMode::kOpenExisting);
  if (!file) {
    for (const ALARM_DB_ITEM& item : m_lpAlarmDBItem_Struct)
      if (!(item.byFlags & kAlarmItemDeleted)) kept.push_back(item);
  } else {
    const std::vector<uint8_t> bytes = ReadWhole(*file);
    file.reset();
    const AlarmListContent list = ParseAlarmList(bytes.data(), bytes.size());
    for (const ALARM_DB_ITEM& item : list.items) {
      const bool deleted =
          std::any_of(m_lpAlarmDBItem_Struct.begin(), m_lpAlarmDBItem_Struct.end(),
                      [&](const ALARM_DB_ITEM& m) {
                        return (m.byFlags & kAlarmItemDeleted) &&
                               std::strncmp(m.szPath, item.szPath, sizeof item.szPath) == 0;
                      });
      if (!deleted) kept.push_back(item);
    }
  }
  const bool ok =
      ReplaceWhole(m_strAlarmDBPath, EncodeAlarmList(static_cast<uint16_t>(kept.size()), kept));
  if (!ok) Trace("SystemConfig::AlarmDB_Rewrite : AlarmData.dat write failed, the old list stays");
  m_bRewritePending = 0;
  m_lpAlarmDBItem_Struct.clear();
  return ok ? 1 : 0;
}
