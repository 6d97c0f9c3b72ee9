// Firmware images (a file of typed records) and firmware file sets (a folder of fixed part
// names), read into memory and checked before anything is uploaded.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr int kMsgOpenFirmwareFailed = 4047;  // "Open firmware file is failed"
inline constexpr int kMsgReadFirmwareFailed = 4057;  // "Read Firmware file is failed"
inline constexpr int kMsgNoFirmwareInFolder = 4111;  // "The directory is not contain any ..."

// Record types the upload names.
inline constexpr uint8_t kFirmwareBootRecord = 0;
inline constexpr uint8_t kFirmwareKernelRecord = 1;
inline constexpr uint8_t kFirmwareHtmlRecord = 4;

// Record header: u32 little-endian, type in the low 4 bits, data length in the upper 28.
inline constexpr size_t kFirmwareRecordHeaderSize = 4;
inline constexpr size_t kMaxFirmwareRecords = 255;

struct FirmwareRecord {
  uint32_t dwLength = 0;
  uint8_t byType = 0;
  std::vector<uint8_t> data;  // exactly dwLength bytes
};

struct ParsedFirmwareImage {
  std::vector<FirmwareRecord> records;  // file order, at most kMaxFirmwareRecords
  uint32_t dwTotalSize = 0;             // the file size, headers included
};

// Where an image is read from: its size, then sequential reads.
class FirmwareSource {
 public:
  virtual ~FirmwareSource() = default;
  virtual uint64_t Size() const = 0;
  // Reads exactly n bytes; false when fewer arrive or the read fails.
  virtual bool Read(uint8_t* out, size_t n) = 0;
};

// An image held in memory.
class MemoryFirmwareSource : public FirmwareSource {
 public:
  MemoryFirmwareSource(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
  uint64_t Size() const override { return m_size; }
  bool Read(uint8_t* out, size_t n) override;

 private:
  const uint8_t* m_data;
  size_t m_size;
  size_t m_pos = 0;
};

enum class ImageRead { kOk, kCannotOpen, kReadFailed };

// One pass over the records. Every length is checked against the bytes left before anything is
// allocated; an empty image, a file over 4 GB, more than 255 records, a record running past the
// end, a failed read or a failed allocation all give kReadFailed with out emptied.
ImageRead ParseFirmwareImage(FirmwareSource& source, ParsedFirmwareImage& out);
// Opens the file (read-only) and parses it; kCannotOpen when it does not open.
ImageRead ReadFirmwareImageFile(const std::string& path, ParsedFirmwareImage& out);
// The message id of a failed read: 4047 or 4057; 0 for kOk.
int ImageReadMessageId(ImageRead result);

// ---- File sets ----
enum class FileSetModel { kRZ1K, kRZ3K, kRZ4K };
inline constexpr int kFileSetRows = 19;

// The model whose table a Product-ID selects; none outside the three.
std::optional<FileSetModel> FileSetModelOf(std::string_view productId);
// The part file name of a row; null for row 18 and rows out of range.
const char* FileSetPartName(FileSetModel model, int row);

struct UpgradeFileEntry {
  const char* name = nullptr;
  int32_t loaded = 0;
  uint32_t size = 0;
  std::vector<uint8_t> data;
};

struct FileSetTable {
  FileSetModel model = FileSetModel::kRZ1K;
  std::array<UpgradeFileEntry, kFileSetRows> rows;
  // Names of the model; every row unloaded.
  explicit FileSetTable(FileSetModel m);
  void Clear();
};

struct FileSetLoad {
  uint8_t byLoadedCount = 0;
  uint32_t dwLoadedTotal = 0;
};

// Reads a whole file; none when it cannot be opened or read.
using WholeFileReader = std::function<std::optional<std::vector<uint8_t>>(const std::string&)>;
// Reads files from disk (read-only, shared for reading).
std::optional<std::vector<uint8_t>> ReadWholeFile(const std::string& path);

// Clears the table, then reads folder + "\" + name for every named row; a part that cannot be
// read is skipped. The count is 0 when nothing loaded (the caller shows 4111).
FileSetLoad LoadFileSet(const std::string& folder, FileSetTable& table,
                        const WholeFileReader& read = ReadWholeFile);
