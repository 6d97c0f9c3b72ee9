#include "tests/support/window_capture.h"

#include <cstdint>
#include <cstdio>
#include <vector>

namespace testsupport {

namespace {

bool ReadWindowPixels(HWND window, BITMAPINFOHEADER& info, std::vector<uint8_t>& pixels) {
  RECT r{};
  if (!::GetWindowRect(window, &r)) return false;
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return false;
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ old = ::SelectObject(memory, bitmap);
  const bool copied = ::BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY) != 0;
  ::SelectObject(memory, old);

  info = {};
  info.biSize = sizeof info;
  info.biWidth = w;
  info.biHeight = h;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  const uint32_t stride = (static_cast<uint32_t>(w) * 3 + 3) & ~3u;
  pixels.assign(static_cast<size_t>(stride) * static_cast<size_t>(h), 0);
  const bool read =
      copied && ::GetDIBits(memory, bitmap, 0, static_cast<UINT>(h), pixels.data(),
                            reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS) == h;
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  return read;
}

}  // namespace

std::vector<uint8_t> WindowPixels(HWND window) {
  BITMAPINFOHEADER info{};
  std::vector<uint8_t> pixels;
  if (!ReadWindowPixels(window, info, pixels)) pixels.clear();
  return pixels;
}

bool SaveWindowImage(HWND window, const std::string& path) {
  BITMAPINFOHEADER info{};
  std::vector<uint8_t> pixels;
  if (!ReadWindowPixels(window, info, pixels)) return false;

  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  FILE* out = std::fopen(path.c_str(), "wb");
  if (out == nullptr) return false;
  const bool ok = std::fwrite(&file, sizeof file, 1, out) == 1 &&
                  std::fwrite(&info, sizeof info, 1, out) == 1 &&
                  std::fwrite(pixels.data(), pixels.size(), 1, out) == 1;
  return std::fclose(out) == 0 && ok;
}

std::string ScreenshotFolder() {
  char folder[MAX_PATH] = {};
  const DWORD n = ::GetEnvironmentVariableA("OST_SCREENSHOT_DIR", folder, sizeof folder);
  if (n == 0 || n >= sizeof folder) return {};
  std::string path(folder);
  if (path.back() != '\\' && path.back() != '/') path += '\\';
  return path;
}

}  // namespace testsupport
