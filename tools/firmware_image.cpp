#include "tools/firmware_image.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

bool MemoryFirmwareSource::Read(uint8_t* out, size_t n) {
  if (n > m_size - m_pos) return false;
  if (n != 0) std::memcpy(out, m_data + m_pos, n);
  m_pos += n;
  return true;
}

ImageRead ParseFirmwareImage(FirmwareSource& source, ParsedFirmwareImage& out) {
  out = {};
  const uint64_t size = source.Size();
  if (size == 0 || size > UINT32_MAX) return ImageRead::kReadFailed;
  ParsedFirmwareImage image;
  image.dwTotalSize = static_cast<uint32_t>(size);
  uint64_t consumed = 0;
  try {
    while (consumed < size) {
      if (image.records.size() == kMaxFirmwareRecords) return ImageRead::kReadFailed;
      if (size - consumed < kFirmwareRecordHeaderSize) return ImageRead::kReadFailed;
      uint8_t h[kFirmwareRecordHeaderSize];
      if (!source.Read(h, sizeof h)) return ImageRead::kReadFailed;
      consumed += sizeof h;
      const uint32_t header = static_cast<uint32_t>(h[0]) | static_cast<uint32_t>(h[1]) << 8 |
                              static_cast<uint32_t>(h[2]) << 16 | static_cast<uint32_t>(h[3]) << 24;
      FirmwareRecord record;
      record.dwLength = header >> 4;
      record.byType = static_cast<uint8_t>(header & 15);
      if (record.dwLength > size - consumed) return ImageRead::kReadFailed;
      record.data.resize(record.dwLength);
      if (record.dwLength != 0 && !source.Read(record.data.data(), record.dwLength))
        return ImageRead::kReadFailed;
      consumed += record.dwLength;
      image.records.push_back(std::move(record));
    }
  } catch (const std::bad_alloc&) {
    return ImageRead::kReadFailed;
  }
  out = std::move(image);
  return ImageRead::kOk;
}

namespace {

class FileFirmwareSource : public FirmwareSource {
 public:
  FileFirmwareSource(std::FILE* file, uint64_t size) : m_file(file), m_size(size) {}
  uint64_t Size() const override { return m_size; }
  bool Read(uint8_t* out, size_t n) override { return std::fread(out, 1, n, m_file) == n; }

 private:
  std::FILE* m_file;
  uint64_t m_size;
};

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

// The size of an open file, or none.
std::optional<uint64_t> FileSize(std::FILE* f) {
  if (std::fseek(f, 0, SEEK_END) != 0) return std::nullopt;
#ifdef _WIN32
  const int64_t end = _ftelli64(f);
#else
  const int64_t end = ftello(f);
#endif
  if (end < 0 || std::fseek(f, 0, SEEK_SET) != 0) return std::nullopt;
  return static_cast<uint64_t>(end);
}

}  // namespace

ImageRead ReadFirmwareImageFile(const std::string& path, ParsedFirmwareImage& out) {
  out = {};
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) return ImageRead::kCannotOpen;
  const std::optional<uint64_t> size = FileSize(file.get());
  if (!size) return ImageRead::kReadFailed;
  FileFirmwareSource source(file.get(), *size);
  return ParseFirmwareImage(source, out);
}

int ImageReadMessageId(ImageRead result) {
  switch (result) {
    case ImageRead::kOk:
      return 0;
    case ImageRead::kCannotOpen:
      return kMsgOpenFirmwareFailed;
    case ImageRead::kReadFailed:
      break;
  }
  return kMsgReadFirmwareFailed;
}

namespace {

constexpr const char* kSharedPartNames[kFileSetRows] = {
    nullptr,     "BOOT.BIN",   "MCU.BIN",    "QX087.BIN",  "QX008.BIN", "HTML.BIN",  "LANGU1.GZ",
    "LANGU2.GZ", "LANGU3.GZ",  "LANGU4.GZ",  "LANGU5.GZ",  "LANGU6.GZ", "LANGU7.GZ", "LANGU8.GZ",
    "LANGU9.GZ", "LANGU10.GZ", "LANGU11.GZ", "PLAYER.BIN", nullptr};

}  // namespace

std::optional<FileSetModel> FileSetModelOf(std::string_view productId) {
  if (productId == "RZ1K") return FileSetModel::kRZ1K;
  if (productId == "RZ3K") return FileSetModel::kRZ3K;
  if (productId == "RZ4K") return FileSetModel::kRZ4K;
  return std::nullopt;
}

const char* FileSetPartName(FileSetModel model, int row) {
  if (row < 0 || row >= kFileSetRows) return nullptr;
  if (row != 0) return kSharedPartNames[row];
  switch (model) {
    case FileSetModel::kRZ1K:
      return "KERNEL16.BIN";
    case FileSetModel::kRZ3K:
      return "KERNEL8.BIN";
    case FileSetModel::kRZ4K:
      return "KERNEL4.BIN";
  }
  return nullptr;
}

FileSetTable::FileSetTable(FileSetModel m) : model(m) {
  for (int row = 0; row < kFileSetRows; ++row)
    rows[static_cast<size_t>(row)].name = FileSetPartName(m, row);
}

void FileSetTable::Clear() {
  for (UpgradeFileEntry& e : rows) {
    e.loaded = 0;
    e.size = 0;
    e.data = {};
  }
}

std::optional<std::vector<uint8_t>> ReadWholeFile(const std::string& path) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) return std::nullopt;
  const std::optional<uint64_t> size = FileSize(file.get());
  if (!size || *size > UINT32_MAX) return std::nullopt;
  try {
    std::vector<uint8_t> data(static_cast<size_t>(*size));
    if (!data.empty() && std::fread(data.data(), 1, data.size(), file.get()) != data.size())
      return std::nullopt;
    return data;
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

FileSetLoad LoadFileSet(const std::string& folder, FileSetTable& table,
                        const WholeFileReader& read) {
  FileSetLoad load;
  table.Clear();
  for (UpgradeFileEntry& e : table.rows) {
    if (e.name == nullptr) continue;
    std::optional<std::vector<uint8_t>> data = read(folder + "\\" + e.name);
    if (!data) continue;
    const uint64_t total = uint64_t{load.dwLoadedTotal} + data->size();
    if (total > UINT32_MAX) continue;
    e.size = static_cast<uint32_t>(data->size());
    e.data = std::move(*data);
    e.loaded = 1;
    load.dwLoadedTotal = static_cast<uint32_t>(total);
    ++load.byLoadedCount;
  }
  return load;
}
