// GDI helpers: bitmaps from files, copies, stretching, fills, regions.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/gdi.h"
#include "tests/platform/test_form.h"

namespace ost_test {
namespace {

// Writes a bottom-up 24-bit .bmp; pixel(x, y) gives the colour of each pixel.
void WriteBmp(const std::string& path, int width, int height, COLORREF (*pixel)(int, int)) {
  const int rowBytes = (width * 3 + 3) & ~3;
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(rowBytes * height);
  std::vector<uint8_t> rows(static_cast<size_t>(rowBytes * height), 0);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      COLORREF c = pixel(x, y);
      uint8_t* p = &rows[static_cast<size_t>((height - 1 - y) * rowBytes + x * 3)];
      p[0] = GetBValue(c);
      p[1] = GetGValue(c);
      p[2] = GetRValue(c);
    }
  }
  FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fwrite(&file, sizeof file, 1, f);
  std::fwrite(&info, sizeof info, 1, f);
  std::fwrite(rows.data(), 1, rows.size(), f);
  std::fclose(f);
}

// Four quadrant colours on a 4 x 2 picture.
COLORREF Quadrants(int x, int y) {
  if (y == 0) return x < 2 ? RGB(255, 0, 0) : RGB(0, 255, 0);
  return x < 2 ? RGB(0, 0, 255) : RGB(255, 255, 0);
}

// A 24-bit drawing surface.
class Surface {
 public:
  Surface(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), width, -height, 1, 24, BI_RGB};
    void* bits = nullptr;
    m_bitmap.Reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    m_dc = std::make_unique<ost::MemoryDc>(nullptr, m_bitmap.Get());
    ost::FillSolidRect(Dc(), RECT{0, 0, width, height}, RGB(255, 255, 255));
  }
  HDC Dc() const { return m_dc->Get(); }
  COLORREF Pixel(int x, int y) const { return ::GetPixel(Dc(), x, y); }

 private:
  ost::GdiObject<HBITMAP> m_bitmap;
  std::unique_ptr<ost::MemoryDc> m_dc;
};

class Gdi : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    folder = std::string(temp) + "ost_gdi_test_" + std::to_string(::GetCurrentProcessId());
    ::CreateDirectoryA(folder.c_str(), nullptr);
    ::CreateDirectoryA((folder + "\\BMP").c_str(), nullptr);
    WriteBmp(folder + "\\BMP\\quad.bmp", 4, 2, &Quadrants);
    ::GetCurrentDirectoryA(MAX_PATH, previousFolder);
    ::SetCurrentDirectoryA(folder.c_str());
  }
  void TearDown() override {
    ::SetCurrentDirectoryA(previousFolder);
    ::DeleteFileA((folder + "\\BMP\\quad.bmp").c_str());
    ::RemoveDirectoryA((folder + "\\BMP").c_str());
    ::RemoveDirectoryA(folder.c_str());
  }
  std::string folder;
  char previousFolder[MAX_PATH] = {};
};

TEST_F(Gdi, BitmapLoadsFromARelativePathAtItsOwnSize) {
  ost::Bitmap bitmap;
  ASSERT_TRUE(bitmap.LoadFromFile("BMP\\quad.bmp"));
  EXPECT_EQ(bitmap.Width(), 4);
  EXPECT_EQ(bitmap.Height(), 2);
  EXPECT_FALSE(bitmap.LoadFromFile("BMP\\missing.bmp"));
  EXPECT_FALSE(bitmap);
  EXPECT_EQ(bitmap.Width(), 0);
}

TEST_F(Gdi, BlitCopiesAndStretchScalesTheWholeBitmap) {
  ost::Bitmap bitmap;
  ASSERT_TRUE(bitmap.LoadFromFile("BMP\\quad.bmp"));
  Surface surface(20, 20);
  ASSERT_TRUE(ost::BlitBitmap(surface.Dc(), 1, 1, 4, 2, bitmap.Get()));
  EXPECT_EQ(surface.Pixel(1, 1), RGB(255, 0, 0));
  EXPECT_EQ(surface.Pixel(4, 2), RGB(255, 255, 0));
  EXPECT_EQ(surface.Pixel(5, 1), RGB(255, 255, 255));  // nothing beyond the block

  ASSERT_TRUE(ost::StretchBitmap(surface.Dc(), RECT{10, 10, 18, 14}, bitmap));
  EXPECT_EQ(surface.Pixel(10, 10), RGB(255, 0, 0));
  EXPECT_EQ(surface.Pixel(17, 10), RGB(0, 255, 0));
  EXPECT_EQ(surface.Pixel(10, 13), RGB(0, 0, 255));
  EXPECT_EQ(surface.Pixel(17, 13), RGB(255, 255, 0));
  EXPECT_EQ(surface.Pixel(18, 14), RGB(255, 255, 255));
}

TEST_F(Gdi, FillFrameAndText) {
  Surface surface(40, 30);
  ost::FillSolidRect(surface.Dc(), RECT{2, 2, 10, 10}, RGB(157, 216, 244));
  EXPECT_EQ(surface.Pixel(9, 9), RGB(157, 216, 244));
  EXPECT_EQ(surface.Pixel(10, 10), RGB(255, 255, 255));
  ost::FrameSolidRect(surface.Dc(), RECT{12, 2, 20, 10}, RGB(0, 20, 255));
  EXPECT_EQ(surface.Pixel(12, 2), RGB(0, 20, 255));
  EXPECT_EQ(surface.Pixel(19, 9), RGB(0, 20, 255));
  EXPECT_EQ(surface.Pixel(15, 5), RGB(255, 255, 255));

  ost::DrawTextAt(surface.Dc(), 0, 12, "WW", RGB(0, 0, 0));
  int dark = 0;
  for (int y = 12; y < 30; ++y) {
    for (int x = 0; x < 40; ++x) dark += surface.Pixel(x, y) == RGB(0, 0, 0);
  }
  EXPECT_GT(dark, 0);
  EXPECT_EQ(::GetBkMode(surface.Dc()), OPAQUE);  // the context's settings are restored
}

TEST(WindowRegion, RoundedRectangleClipsTheCorners) {
  TestForm form;
  ASSERT_TRUE(form.Create());
  form.MoveWindow(0, 0, 304, 341);
  ost::Region region = ost::RoundRectRegion(RECT{0, 0, 304, 341}, 15, 15);
  ASSERT_TRUE(region);
  ASSERT_TRUE(form.SetWindowRgn(region.Release(), true));
  ost::Region copy(::CreateRectRgn(0, 0, 0, 0));
  ASSERT_EQ(::GetWindowRgn(form.GetSafeHwnd(), copy.Get()), COMPLEXREGION);
  EXPECT_FALSE(::PtInRegion(copy.Get(), 0, 0));
  EXPECT_TRUE(::PtInRegion(copy.Get(), 7, 7));
  EXPECT_TRUE(::PtInRegion(copy.Get(), 152, 0));
  EXPECT_FALSE(::PtInRegion(copy.Get(), 303, 340));
  form.DestroyWindow();
}

}  // namespace
}  // namespace ost_test
