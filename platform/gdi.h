// GDI helpers: owned GDI objects, device contexts with automatic release, bitmaps loaded from
// files, and the few drawing operations the skinned windows use.
#ifndef OSTROVA_PLATFORM_GDI_H
#define OSTROVA_PLATFORM_GDI_H

#include <windows.h>

#include <string>
#include <utility>

namespace ost {

// Owns one GDI object (brush, pen, font, region, bitmap) and deletes it.
template <class Handle>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(Handle handle) : m_handle(handle) {}
  ~GdiObject() { Reset(); }
  GdiObject(GdiObject&& other) noexcept : m_handle(other.Release()) {}
  GdiObject& operator=(GdiObject&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;

  Handle Get() const { return m_handle; }
  explicit operator bool() const { return m_handle != nullptr; }
  // Gives up ownership (e.g. of a region handed to SetWindowRgn).
  Handle Release() { return std::exchange(m_handle, nullptr); }
  void Reset(Handle handle = nullptr) {
    if (m_handle != nullptr) ::DeleteObject(m_handle);
    m_handle = handle;
  }

 private:
  Handle m_handle = nullptr;
};

using Brush = GdiObject<HBRUSH>;
using Pen = GdiObject<HPEN>;
using Font = GdiObject<HFONT>;
using Region = GdiObject<HRGN>;

Brush SolidBrush(COLORREF colour);
// A rounded rectangle with corner ellipses of ellipseWidth x ellipseHeight.
Region RoundRectRegion(const RECT& rect, int ellipseWidth, int ellipseHeight);
// A font of `height` pixels (negative: character height), e.g. FW_NORMAL weight.
Font CreateSimpleFont(int height, int weight, const char* face);

// A device bitmap with its size.
class Bitmap {
 public:
  Bitmap() = default;
  Bitmap(Bitmap&& other) noexcept = default;
  Bitmap& operator=(Bitmap&& other) noexcept = default;

  // Loads a .bmp file at its own size; a relative path is taken from the current folder.
  // On failure the bitmap is empty and false is returned.
  bool LoadFromFile(const std::string& path);
  void Reset();
  HBITMAP Get() const { return m_bitmap.Get(); }
  explicit operator bool() const { return static_cast<bool>(m_bitmap); }
  int Width() const { return m_width; }
  int Height() const { return m_height; }

 private:
  GdiObject<HBITMAP> m_bitmap;
  int m_width = 0;
  int m_height = 0;
};

// The client-area device context of a window (GetDC / ReleaseDC).
class ClientDc {
 public:
  explicit ClientDc(HWND hwnd) : m_hwnd(hwnd), m_dc(::GetDC(hwnd)) {}
  ~ClientDc() {
    if (m_dc != nullptr) ::ReleaseDC(m_hwnd, m_dc);
  }
  ClientDc(const ClientDc&) = delete;
  ClientDc& operator=(const ClientDc&) = delete;
  HDC Get() const { return m_dc; }

 private:
  HWND m_hwnd;
  HDC m_dc;
};

// The device context of WM_PAINT (BeginPaint / EndPaint).
class PaintDc {
 public:
  explicit PaintDc(HWND hwnd) : m_hwnd(hwnd) { m_dc = ::BeginPaint(hwnd, &m_paint); }
  ~PaintDc() { ::EndPaint(m_hwnd, &m_paint); }
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  HDC Get() const { return m_dc; }
  const RECT& PaintRect() const { return m_paint.rcPaint; }

 private:
  HWND m_hwnd;
  PAINTSTRUCT m_paint{};
  HDC m_dc = nullptr;
};

// Selects a GDI object into a device context and selects the previous one back.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(::SelectObject(dc, object)) {}
  ~SelectedObject() {
    if (m_previous != nullptr && m_previous != HGDI_ERROR) ::SelectObject(m_dc, m_previous);
  }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC m_dc;
  HGDIOBJ m_previous;
};

// A memory device context compatible with `reference` (null: the screen), with a bitmap
// selected into it for as long as it lives.
class MemoryDc {
 public:
  MemoryDc(HDC reference, HBITMAP bitmap);
  ~MemoryDc();
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  HDC Get() const { return m_dc; }

 private:
  HDC m_dc;
  HGDIOBJ m_previous = nullptr;
};

// Copies width x height pixels of `bitmap` from (sourceX, sourceY) to (x, y) of `dc`.
bool BlitBitmap(HDC dc, int x, int y, int width, int height, HBITMAP bitmap, int sourceX = 0,
                int sourceY = 0, DWORD rop = SRCCOPY);
// Draws the whole bitmap stretched to `target`.
bool StretchBitmap(HDC dc, const RECT& target, const Bitmap& bitmap);
void FillSolidRect(HDC dc, const RECT& rect, COLORREF colour);
// A one-pixel frame just inside `rect`.
void FrameSolidRect(HDC dc, const RECT& rect, COLORREF colour);
// Draws `text` with its top-left corner at (x, y) on a transparent background; `font` null
// keeps the context's font.
void DrawTextAt(HDC dc, int x, int y, const std::string& text, COLORREF colour,
                HFONT font = nullptr);

}  // namespace ost

#endif  // OSTROVA_PLATFORM_GDI_H
