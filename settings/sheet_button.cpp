#include "settings/sheet_button.h"

#include "platform/gdi.h"
#include "platform/property_page.h"

namespace {
constexpr COLORREF kFace = RGB(0x2C, 0x33, 0x3D);
constexpr COLORREF kFacePressed = RGB(0x17, 0x7F, 0x76);
constexpr COLORREF kFrame = RGB(0x4A, 0x55, 0x63);
}  // namespace

void SheetButton::PreSubclassWindow() {
  ModifyStyle(0, BS_OWNERDRAW);
}

void SheetButton::DrawItem(DRAWITEMSTRUCT* item) {
  HDC dc = item->hDC;
  const RECT r = item->rcItem;
  const bool pressed = (item->itemState & ODS_SELECTED) != 0;
  const bool disabled = (item->itemState & ODS_DISABLED) != 0;
  const bool focused = (item->itemState & ODS_FOCUS) != 0;
  ost::FillSolidRect(dc, r, pressed ? kFacePressed : kFace);
  ost::FrameSolidRect(dc, r, focused ? ost::kPageAccent : kFrame);
  const std::string text = GetText();
  RECT t = r;
  const int mode = ::SetBkMode(dc, TRANSPARENT);
  const COLORREF colour = ::SetTextColor(dc, disabled ? ost::kPageDimText : ost::kPageText);
  ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &t,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  ::SetTextColor(dc, colour);
  ::SetBkMode(dc, mode);
}
