// The local alarm list "AlarmData.dat": a 4-byte header (magic 0x9987, item count) and 316-byte
// items, at most 1024, oldest first. SystemConfig holds the item of the alarm recording in
// progress and appends it when the recording's file closes; the alarm list page loads, marks
// and rewrites. A rewrite, and an append that drops the oldest item, build the new file beside
// the old one and put it in place in one step, so the list is never lost half-way.
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "record/record_file_format.h"
#include "record/record_file_system.h"

#pragma pack(push, 1)
struct ALARM_DB_HEADER {
  uint16_t wMagic;
  uint16_t wCount;
};
struct ALARM_DB_ITEM {
  uint16_t wItemNumber;
  uint8_t byReserved;
  uint8_t byFlags;    // kAlarmItemNoFile, kAlarmItemDeleted
  RecordTime stTime;  // day of week and milliseconds 0
  char szPath[260];   // zero-terminated
  uint32_t dwFrames;
  char strSourceIP[32];  // the "Server Name" setting, zero-terminated
};
#pragma pack(pop)
static_assert(sizeof(ALARM_DB_HEADER) == 4);
static_assert(sizeof(ALARM_DB_ITEM) == 316);

inline constexpr uint16_t kAlarmDbMagic = 0x9987;
inline constexpr uint32_t kAlarmDbMaxItems = 1024;
inline constexpr uint8_t kAlarmItemNoFile = 1;
inline constexpr uint8_t kAlarmItemDeleted = 2;
inline constexpr char kAlarmDbFileName[] = "AlarmData.dat";

// A list file read from its bytes: the items are those the header counts and the file holds.
struct AlarmListContent {
  bool fMagicOk = false;
  uint16_t wHeaderCount = 0;
  std::vector<ALARM_DB_ITEM> items;
};
AlarmListContent ParseAlarmList(const uint8_t* bytes, size_t size);
std::vector<uint8_t> EncodeAlarmList(uint16_t count, const std::vector<ALARM_DB_ITEM>& items);

class SystemConfig {
 public:
  SystemConfig() = default;
  SystemConfig(const SystemConfig&) = delete;
  SystemConfig& operator=(const SystemConfig&) = delete;

  // The file system and the program folder (the list file lives there).
  void Bind(RecordFileSystem* fs, std::string programFolder, void (*trace)(const char*));

  // Nothing is held open between operations.
  void CloseFile() {}
  int AlarmDB_FreeBuffer();
  // Sizes the in-memory array by the header count and zero-fills it.
  int AlarmDB_AllocateBuffer();
  // Starts the item of a new alarm record file: zero-filled, with its path. 0 when the path does
  // not fit the item (259 characters at most).
  int AlarmDB_PrepareItem(const std::string& path);
  // The local time at which the file's first frame was stored.
  void AlarmDB_StampTime(const RecordTime& t);
  // Appends the prepared item with its frame count and server text. 1; 0 when the file has a
  // wrong magic (it is left as it is) or cannot be written.
  int AlarmDB_AppendItem(uint32_t frames, const std::string& strSourceIP);
  // Appends an item for an alarm record file finished after the program that wrote it ended,
  // unless the list already has its path. 1 when listed (now or before).
  int AlarmDB_AppendMissing(const std::string& path, const RecordTime& t, uint32_t frames,
                            const std::string& strSourceIP);
  // Reads the list file into the in-memory array (the alarm list page's load). 1 when read.
  int AlarmDB_LoadItems();
  // Rewrites the file without the items the in-memory array marks deleted, then frees the
  // array; only when m_bRewritePending is set. 1 when written.
  int AlarmDB_Rewrite();

  std::string m_strAlarmDBPath;
  uint32_t m_bRewritePending = 0;
  ALARM_DB_HEADER m_AlarmDBHeader{};
  ALARM_DB_ITEM m_PendingItem{};
  std::vector<ALARM_DB_ITEM> m_lpAlarmDBItem_Struct;  // the loaded items, by their own count

 private:
  std::string ListPath() const;
  int AppendLocked(const ALARM_DB_ITEM& item);
  bool ReplaceWhole(const std::string& path, const std::vector<uint8_t>& bytes);
  void Trace(const char* text) const;

  std::mutex m_hAlarmDBSem;
  RecordFileSystem* m_fs = nullptr;
  std::string m_strProgramFolder;
  void (*m_trace)(const char*) = nullptr;
};
