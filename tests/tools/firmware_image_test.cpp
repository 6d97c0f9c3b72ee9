// Firmware images and file sets: the record format, every refusal before an upload, the tables.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <vector>

#include "tools/firmware_image.h"

namespace {

std::vector<uint8_t> Header(uint32_t length, uint8_t type) {
  const uint32_t h = length << 4 | type;
  return {uint8_t(h), uint8_t(h >> 8), uint8_t(h >> 16), uint8_t(h >> 24)};
}

std::vector<uint8_t> Record(uint32_t length, uint8_t type, uint8_t fill = 0xA5) {
  std::vector<uint8_t> r(4 + size_t{length}, fill);
  const std::vector<uint8_t> h = Header(length, type);
  std::copy(h.begin(), h.end(), r.begin());
  return r;
}

ImageRead Parse(const std::vector<uint8_t>& bytes, ParsedFirmwareImage& image) {
  MemoryFirmwareSource source(bytes.data(), bytes.size());
  return ParseFirmwareImage(source, image);
}

TEST(FirmwareImage, ValidImagesKeepEveryRecordInFileOrder) {
  ParsedFirmwareImage image;
  ASSERT_EQ(Parse({0, 0, 0, 0}, image), ImageRead::kOk);
  ASSERT_EQ(image.records.size(), 1u);
  EXPECT_EQ(image.records[0].dwLength, 0u);
  EXPECT_EQ(image.dwTotalSize, 4u);

  std::vector<uint8_t> bytes = {0x31, 0x12, 0x00, 0x00};  // 4657: kernel, 291 bytes
  bytes.insert(bytes.end(), 291, 7);
  const std::vector<uint8_t> html = Record(5, 4, 9), other = Record(3, 9, 1);
  bytes.insert(bytes.end(), html.begin(), html.end());
  bytes.insert(bytes.end(), other.begin(), other.end());
  ASSERT_EQ(Parse(bytes, image), ImageRead::kOk);
  ASSERT_EQ(image.records.size(), 3u);
  EXPECT_EQ(image.records[0].byType, 1);
  EXPECT_EQ(image.records[0].dwLength, 291u);
  EXPECT_EQ(image.records[0].data, std::vector<uint8_t>(291, 7));
  EXPECT_EQ(image.records[1].byType, 4);
  EXPECT_EQ(image.records[1].data, std::vector<uint8_t>(5, 9));
  EXPECT_EQ(image.records[2].byType, 9);
  EXPECT_EQ(image.dwTotalSize, bytes.size());
}

TEST(FirmwareImage, DamagedImagesAreRefusedWholeBeforeAnyUpload) {
  std::vector<uint8_t> overrun = Header(1000, 1);
  overrun.insert(overrun.end(), 10, 0);
  std::vector<uint8_t> huge = Header(0x0FFFFFFF, 1);  // 268 MB announced, nothing behind it
  std::vector<uint8_t> tail = Record(8, 0);
  tail.push_back(0x10);  // a second header cut after one byte
  std::vector<uint8_t> tooMany;
  for (int i = 0; i < 256; ++i) tooMany.insert(tooMany.end(), {0, 0, 0, 0});
  const struct {
    const char* what;
    std::vector<uint8_t> bytes;
  } cases[] = {
      {"empty file", {}},
      {"three bytes", {1, 2, 3}},
      {"record runs past the end", overrun},
      {"huge length", huge},
      {"file ends inside a header", tail},
      {"256 records", tooMany},
  };
  for (const auto& c : cases) {
    ParsedFirmwareImage image;
    image.records.resize(2);
    EXPECT_EQ(Parse(c.bytes, image), ImageRead::kReadFailed) << c.what;
    EXPECT_TRUE(image.records.empty()) << c.what;
    EXPECT_EQ(ImageReadMessageId(ImageRead::kReadFailed), 4057);
  }
  std::vector<uint8_t> most(255 * 4, 0);
  ParsedFirmwareImage image;
  EXPECT_EQ(Parse(most, image), ImageRead::kOk);
  EXPECT_EQ(image.records.size(), 255u);
}

// A source whose data read fails part way, as a disk error would.
class FailingSource : public FirmwareSource {
 public:
  explicit FailingSource(std::vector<uint8_t> bytes) : m_bytes(std::move(bytes)) {}
  uint64_t Size() const override { return m_bytes.size(); }
  bool Read(uint8_t* out, size_t n) override {
    if (n > 4) return false;
    std::copy_n(m_bytes.begin() + static_cast<long>(m_pos), n, out);
    m_pos += n;
    return true;
  }

 private:
  std::vector<uint8_t> m_bytes;
  size_t m_pos = 0;
};

TEST(FirmwareImage, AFailedDataReadIsRefused) {
  FailingSource source(Record(100, 1));
  ParsedFirmwareImage image;
  EXPECT_EQ(ParseFirmwareImage(source, image), ImageRead::kReadFailed);
  EXPECT_TRUE(image.records.empty());
}

TEST(FirmwareImage, AMissingFileCannotBeOpened) {
  ParsedFirmwareImage image;
  const ImageRead r = ReadFirmwareImageFile("/nonexistent/folder/KERNEL.BIN", image);
  EXPECT_EQ(r, ImageRead::kCannotOpen);
  EXPECT_EQ(ImageReadMessageId(r), 4047);
}

TEST(FileSet, TablesDifferOnlyInTheKernelRow) {
  EXPECT_STREQ(FileSetPartName(FileSetModel::kRZ1K, 0), "KERNEL16.BIN");
  EXPECT_STREQ(FileSetPartName(FileSetModel::kRZ3K, 0), "KERNEL8.BIN");
  EXPECT_STREQ(FileSetPartName(FileSetModel::kRZ4K, 0), "KERNEL4.BIN");
  const std::pair<int, const char*> shared[] = {
      {1, "BOOT.BIN"}, {2, "MCU.BIN"},   {3, "QX087.BIN"},   {4, "QX008.BIN"},
      {5, "HTML.BIN"}, {6, "LANGU1.GZ"}, {16, "LANGU11.GZ"}, {17, "PLAYER.BIN"}};
  for (const auto& [row, name] : shared)
    for (FileSetModel m : {FileSetModel::kRZ1K, FileSetModel::kRZ3K, FileSetModel::kRZ4K})
      EXPECT_STREQ(FileSetPartName(m, row), name) << row;
  EXPECT_EQ(FileSetPartName(FileSetModel::kRZ1K, 18), nullptr);
  EXPECT_EQ(FileSetModelOf("RZ3K"), FileSetModel::kRZ3K);
  EXPECT_EQ(FileSetModelOf("RZ2K"), std::nullopt);
}

TEST(FileSet, LoadsTheNamedPartsThatCanBeRead) {
  std::map<std::string, std::vector<uint8_t>> disk = {
      {"D:\\fw\\BOOT.BIN", std::vector<uint8_t>(1000, 1)},
      {"D:\\fw\\PLAYER.BIN", std::vector<uint8_t>(3000, 2)},
      {"D:\\fw\\KERNEL16.BIN", std::vector<uint8_t>(50, 3)},  // not the RZ3K's kernel
      {"D:\\fw\\MCU.BIN", {}},                                // empty, still a part
  };
  const WholeFileReader read = [&](const std::string& path) -> std::optional<std::vector<uint8_t>> {
    const auto it = disk.find(path);
    if (it == disk.end()) return std::nullopt;
    return it->second;
  };
  FileSetTable table(FileSetModel::kRZ3K);
  table.rows[5].loaded = 1;  // left from an earlier load
  const FileSetLoad load = LoadFileSet("D:\\fw", table, read);
  EXPECT_EQ(load.byLoadedCount, 3);
  EXPECT_EQ(load.dwLoadedTotal, 4000u);
  EXPECT_EQ(table.rows[0].loaded, 0);
  EXPECT_EQ(table.rows[1].loaded, 1);
  EXPECT_EQ(table.rows[1].size, 1000u);
  EXPECT_EQ(table.rows[2].loaded, 1);
  EXPECT_EQ(table.rows[2].size, 0u);
  EXPECT_EQ(table.rows[5].loaded, 0);
  EXPECT_EQ(table.rows[17].data, std::vector<uint8_t>(3000, 2));

  disk.clear();
  EXPECT_EQ(LoadFileSet("D:\\fw", table, read).byLoadedCount, 0);
  EXPECT_EQ(table.rows[1].loaded, 0);
  EXPECT_TRUE(table.rows[1].data.empty());
}

}  // namespace
