// Fuzz target: "AlarmData.dat" as read by the list's load, append and rewrite.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "record/alarm_db.h"
#include "tests/record/memory_file_system.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const AlarmListContent parsed = ParseAlarmList(data, size);
  if (parsed.items.size() > parsed.wHeaderCount) __builtin_trap();

  MemoryFileSystem fs;
  fs.Put("P\\AlarmData.dat", std::vector<uint8_t>(data, data + size));
  SystemConfig db;
  db.Bind(&fs, "P", nullptr);
  db.AlarmDB_PrepareItem("C:\\rec\\a.qdx");
  db.AlarmDB_AppendItem(3, "10.0.0.1");
  if (db.AlarmDB_LoadItems()) {
    if (!db.m_lpAlarmDBItem_Struct.empty())
      db.m_lpAlarmDBItem_Struct[0].byFlags = kAlarmItemDeleted;
    db.m_bRewritePending = 1;
    db.AlarmDB_Rewrite();
    const std::vector<uint8_t> after = fs.Content("P\\AlarmData.dat");
    const AlarmListContent again = ParseAlarmList(after.data(), after.size());
    if (!again.fMagicOk || again.items.size() != again.wHeaderCount) __builtin_trap();
  }
  return 0;
}
