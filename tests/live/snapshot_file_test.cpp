// Snapshot files on the Windows file system: JPEG through the codec DLL, BMP, same-second names,
// unwritable folders.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "live/jpeg_decode.h"
#include "live/snapshot.h"
#include "tests/live/test_pictures.h"

using namespace livetest;

namespace {

class TempDir {
 public:
  TempDir() {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    m_path = std::string(base) + "ost_snap_" + std::to_string(GetCurrentProcessId()) + "_" +
             std::to_string(GetTickCount());
    CreateDirectoryA(m_path.c_str(), nullptr);
  }
  ~TempDir() {
    WIN32_FIND_DATAA f;
    HANDLE h = FindFirstFileA((m_path + "\\*").c_str(), &f);
    if (h != INVALID_HANDLE_VALUE) {
      do {
        if (!(f.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
          DeleteFileA((m_path + "\\" + f.cFileName).c_str());
      } while (FindNextFileA(h, &f));
      FindClose(h);
    }
    RemoveDirectoryA(m_path.c_str());
  }
  const std::string& Path() const { return m_path; }

 private:
  std::string m_path;
};

std::vector<uint8_t> ReadAll(const std::string& path) {
  std::vector<uint8_t> out;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return out;
  uint8_t buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.insert(out.end(), buf, buf + n);
  std::fclose(f);
  return out;
}

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24;
}

constexpr LocalClock kTime{2006, 2, 3, 9, 5, 7};

// A bottom-up picture: the bottom half white, the top half black.
std::vector<uint8_t> BottomUpPicture(int w, int h) {
  return TopDownPicture(w, h, [h](int, int y) {
    return y < h / 2 ? Bgr{255, 255, 255} : Bgr{0, 0, 0};
  });
}

TEST(SnapshotFile, JpegKeepsSizeAndRowOrderWithOrWithoutFinalBackslash) {
  TempDir dir;
  const int w = 64, h = 48;
  const std::vector<uint8_t> picture = BottomUpPicture(w, h);
  ASSERT_EQ(SaveSnapshotAt(dir.Path().c_str(), picture.data(), w, h, 1, kTime), 1);
  const std::string path = dir.Path() + "\\060203T090507.jpg";
  ASSERT_TRUE(Exists(path));
  const std::vector<uint8_t> jpeg = ReadAll(path);
  std::vector<uint8_t> back(picture.size());
  uint16_t ow = 0, oh = 0;
  ASSERT_EQ(DecodeJpegToDib(jpeg.data(), static_cast<uint32_t>(jpeg.size()), back.data(),
                            static_cast<uint32_t>(back.size()), &ow, &oh),
            1);
  EXPECT_EQ(ow, w);
  EXPECT_EQ(oh, h);
  EXPECT_LE(MaxDifference(back.data(), picture.data(), back.size()), 16);

  // The same second again, the folder with its backslash: a second file beside the first.
  ASSERT_EQ(SaveSnapshotAt((dir.Path() + "\\").c_str(), picture.data(), w, h, 1, kTime), 1);
  EXPECT_TRUE(Exists(dir.Path() + "\\060203T090507_2.jpg"));
  EXPECT_EQ(ReadAll(path), jpeg);  // the first is kept
}

TEST(SnapshotFile, BitmapHeadersAndRowsAsStored) {
  TempDir dir;
  const int w = 6, h = 2;
  const std::vector<uint8_t> picture = BottomUpPicture(w, h);
  ASSERT_EQ(SaveSnapshotAt(dir.Path().c_str(), picture.data(), w, h, 0, kTime), 1);
  const std::vector<uint8_t> bmp = ReadAll(dir.Path() + "\\060203T090507.bmp");
  ASSERT_EQ(bmp.size(), 54u + w * h * 3);
  EXPECT_EQ(bmp[0], 'B');
  EXPECT_EQ(bmp[1], 'M');
  EXPECT_EQ(Le32(bmp, 2), 54u + w * h * 3);
  EXPECT_EQ(Le32(bmp, 10), 54u);
  EXPECT_EQ(Le32(bmp, 14), 40u);
  EXPECT_EQ(Le32(bmp, 18), uint32_t(w));
  EXPECT_EQ(Le32(bmp, 22), uint32_t(h));
  EXPECT_EQ(bmp[26] | bmp[27] << 8, 1);
  EXPECT_EQ(bmp[28] | bmp[29] << 8, 24);
  EXPECT_EQ(std::vector<uint8_t>(bmp.begin() + 54, bmp.end()), picture);
}

TEST(SnapshotFile, UnwritableFolderGivesNoFile) {
  TempDir dir;
  const std::vector<uint8_t> picture = BottomUpPicture(8, 8);
  const std::string missing = dir.Path() + "\\no such folder";
  EXPECT_EQ(SaveSnapshotAt(missing.c_str(), picture.data(), 8, 8, 1, kTime), 0);
  EXPECT_EQ(SaveSnapshotAt(missing.c_str(), picture.data(), 8, 8, 0, kTime), 0);
  EXPECT_FALSE(Exists(missing + "\\060203T090507.jpg"));
  EXPECT_FALSE(Exists(missing));
}

}  // namespace
