#include "platform/gdi.h"

namespace ost {

Brush SolidBrush(COLORREF colour) {
  return Brush(::CreateSolidBrush(colour));
}

Region RoundRectRegion(const RECT& rect, int ellipseWidth, int ellipseHeight) {
  return Region(::CreateRoundRectRgn(rect.left, rect.top, rect.right, rect.bottom, ellipseWidth,
                                     ellipseHeight));
}

Font CreateSimpleFont(int height, int weight, const char* face) {
  return Font(::CreateFontA(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                            DEFAULT_PITCH | FF_DONTCARE, face));
}

bool Bitmap::LoadFromFile(const std::string& path) {
  Reset();
  HANDLE image = ::LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
  if (image == nullptr) return false;
  m_bitmap.Reset(static_cast<HBITMAP>(image));
  BITMAP info{};
  if (::GetObjectA(m_bitmap.Get(), sizeof info, &info) == 0) {
    Reset();
    return false;
  }
  m_width = info.bmWidth;
  m_height = info.bmHeight;
  return true;
}

void Bitmap::Reset() {
  m_bitmap.Reset();
  m_width = 0;
  m_height = 0;
}

MemoryDc::MemoryDc(HDC reference, HBITMAP bitmap) : m_dc(::CreateCompatibleDC(reference)) {
  if (m_dc != nullptr && bitmap != nullptr) m_previous = ::SelectObject(m_dc, bitmap);
}

MemoryDc::~MemoryDc() {
  if (m_dc == nullptr) return;
  if (m_previous != nullptr && m_previous != HGDI_ERROR) ::SelectObject(m_dc, m_previous);
  ::DeleteDC(m_dc);
}

bool BlitBitmap(HDC dc, int x, int y, int width, int height, HBITMAP bitmap, int sourceX,
                int sourceY, DWORD rop) {
  if (dc == nullptr || bitmap == nullptr) return false;
  MemoryDc source(dc, bitmap);
  if (source.Get() == nullptr) return false;
  return ::BitBlt(dc, x, y, width, height, source.Get(), sourceX, sourceY, rop) != FALSE;
}

bool StretchBitmap(HDC dc, const RECT& target, const Bitmap& bitmap) {
  if (dc == nullptr || !bitmap) return false;
  MemoryDc source(dc, bitmap.Get());
  if (source.Get() == nullptr) return false;
  int previousMode = ::SetStretchBltMode(dc, COLORONCOLOR);
  bool drawn = ::StretchBlt(dc, target.left, target.top, target.right - target.left,
                            target.bottom - target.top, source.Get(), 0, 0, bitmap.Width(),
                            bitmap.Height(), SRCCOPY) != FALSE;
  if (previousMode != 0) ::SetStretchBltMode(dc, previousMode);
  return drawn;
}

void FillSolidRect(HDC dc, const RECT& rect, COLORREF colour) {
  Brush brush = SolidBrush(colour);
  ::FillRect(dc, &rect, brush.Get());
}

void FrameSolidRect(HDC dc, const RECT& rect, COLORREF colour) {
  Brush brush = SolidBrush(colour);
  ::FrameRect(dc, &rect, brush.Get());
}

void DrawTextAt(HDC dc, int x, int y, const std::string& text, COLORREF colour, HFONT font) {
  int previousMode = ::SetBkMode(dc, TRANSPARENT);
  COLORREF previousColour = ::SetTextColor(dc, colour);
  HGDIOBJ previousFont = font != nullptr ? ::SelectObject(dc, font) : nullptr;
  ::TextOutA(dc, x, y, text.c_str(), static_cast<int>(text.size()));
  if (previousFont != nullptr) ::SelectObject(dc, previousFont);
  ::SetTextColor(dc, previousColour);
  ::SetBkMode(dc, previousMode);
}

}  // namespace ost
