#include "record/record_file_system.h"

#include "record/record_file_format.h"

std::unique_ptr<RecordFile> CreateUnusedRecordFile(RecordFileSystem& fs, const std::string& name,
                                                   std::string& usedName) {
  // A name of an earlier file of the same second is never written over.
  constexpr unsigned kMaxNumber = 999;
  for (unsigned n = 1; n <= kMaxNumber; ++n) {
    const std::string candidate = n == 1 ? name : NumberedRecordFileName(name, n);
    if (fs.Exists(candidate)) continue;
    std::unique_ptr<RecordFile> file = fs.Open(candidate, FileOpenMode::kCreateNew);
    if (file) {
      usedName = candidate;
      return file;
    }
    if (!fs.Exists(candidate)) return nullptr;  // not a name clash: the folder refuses
  }
  return nullptr;
}
