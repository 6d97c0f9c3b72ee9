#include "tools/icon_button.h"

#include <shellapi.h>

#include <cstring>

namespace {

constexpr int kHintWidth = 400;

// A new bitmap, compatible with the screen, in which every pixel but those of the transparent
// colour went through `change`.
template <typename Change>
HBITMAP RecolouredBitmap(HBITMAP source, int w, int h, COLORREF transparent, Change change) {
  HDC screen = ::GetDC(nullptr);
  HDC from = ::CreateCompatibleDC(screen);
  HDC to = ::CreateCompatibleDC(screen);
  HBITMAP result = from && to ? ::CreateCompatibleBitmap(screen, w, h) : nullptr;
  if (result != nullptr) {
    HGDIOBJ oldFrom = ::SelectObject(from, source);
    HGDIOBJ oldTo = ::SelectObject(to, result);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const COLORREF c = ::GetPixel(from, x, y);
        ::SetPixel(to, x, y, c == transparent ? c : static_cast<COLORREF>(change(c)));
      }
    ::SelectObject(from, oldFrom);
    ::SelectObject(to, oldTo);
  }
  if (from) ::DeleteDC(from);
  if (to) ::DeleteDC(to);
  ::ReleaseDC(nullptr, screen);
  return result;
}

// The monochrome mask of a bitmap (1 where the transparent colour is); the bitmap's
// transparent pixels become black.
HBITMAP MakeMaskBitmap(HBITMAP bitmap, int w, int h, COLORREF transparent) {
  HBITMAP mask = ::CreateBitmap(w, h, 1, 1, nullptr);
  if (mask == nullptr) return nullptr;
  HDC colourDc = ::CreateCompatibleDC(nullptr);
  HDC maskDc = ::CreateCompatibleDC(nullptr);
  HGDIOBJ oldColour = ::SelectObject(colourDc, bitmap);
  HGDIOBJ oldMask = ::SelectObject(maskDc, mask);
  ::SetBkColor(colourDc, transparent);
  ::BitBlt(maskDc, 0, 0, w, h, colourDc, 0, 0, SRCCOPY);
  ::SetBkColor(colourDc, RGB(255, 255, 255));
  ::SetTextColor(colourDc, RGB(0, 0, 0));
  ::BitBlt(colourDc, 0, 0, w, h, maskDc, 0, 0, 0x00220326);  // destination AND NOT mask
  ::SelectObject(colourDc, oldColour);
  ::SelectObject(maskDc, oldMask);
  ::DeleteDC(colourDc);
  ::DeleteDC(maskDc);
  return mask;
}

bool BitmapSize(HBITMAP bitmap, int& w, int& h) {
  BITMAP info{};
  if (bitmap == nullptr || ::GetObjectA(bitmap, sizeof info, &info) == 0) return false;
  w = info.bmWidth;
  h = info.bmHeight;
  return true;
}

bool IconSize(HICON icon, int& w, int& h) {
  ICONINFO info{};
  if (icon == nullptr || !::GetIconInfo(icon, &info)) return false;
  w = static_cast<int>(info.xHotspot) * 2;
  h = static_cast<int>(info.yHotspot) * 2;
  if (info.hbmColor) ::DeleteObject(info.hbmColor);
  if (info.hbmMask) ::DeleteObject(info.hbmMask);
  return true;
}

template <typename Change>
HICON RecolouredIcon(HICON icon, Change change) {
  ICONINFO info{};
  if (!::GetIconInfo(icon, &info)) return nullptr;
  HICON result = nullptr;
  int w = static_cast<int>(info.xHotspot) * 2, h = static_cast<int>(info.yHotspot) * 2;
  if (info.hbmColor != nullptr) {
    // Black stays black (the icon's transparent part in its colour image).
    HBITMAP colour = RecolouredBitmap(info.hbmColor, w, h, RGB(0, 0, 0), change);
    if (colour != nullptr) {
      ICONINFO made = info;
      made.hbmColor = colour;
      result = ::CreateIconIndirect(&made);
      ::DeleteObject(colour);
    }
    ::DeleteObject(info.hbmColor);
  }
  if (info.hbmMask) ::DeleteObject(info.hbmMask);
  return result;
}

COLORREF GreyOf(COLORREF c) {
  return GreyColour(c);
}
COLORREF DarkerOf(COLORREF c) {
  return DarkenColour(c, 0.25);
}

}  // namespace

CIconButton::CIconButton() {
  ResetColours(false);
}

CIconButton::~CIconButton() {
  DropSavedBackground();
  FreeImages(true);
  if (m_hCursor) ::DestroyCursor(m_hCursor);
  if (m_hMenu) ::DestroyMenu(m_hMenu);
  if (m_hCaptionFont) ::DeleteObject(m_hCaptionFont);
}

void CIconButton::Repaint(bool repaint) {
  if (repaint && m_hWnd) ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CIconButton::FreeImages(bool destroy) {
  for (IconRecord& r : m_icons) {
    if (destroy && r.icon) ::DestroyIcon(r.icon);
    r = IconRecord{};
  }
  for (BitmapRecord& r : m_bitmaps) {
    if (destroy) {
      if (r.bitmap) ::DeleteObject(r.bitmap);
      if (r.mask) ::DeleteObject(r.mask);
    }
    r = BitmapRecord{};
  }
}

int CIconButton::AssignIcons(HICON active, intptr_t resting) {
  FreeImages(true);
  if (active == nullptr) {
    Repaint(true);
    return kDone;
  }
  m_icons[0].icon = active;
  if (!IconSize(active, m_icons[0].width, m_icons[0].height)) {
    FreeImages(true);
    return kNoResource;
  }
  HICON second = nullptr;
  if (resting == kGreyCopy)
    second = RecolouredIcon(active, GreyOf);
  else if (resting == kDarkerCopy)
    second = RecolouredIcon(active, DarkerOf);
  else
    second = reinterpret_cast<HICON>(resting);
  if (second != nullptr) {
    m_icons[1].icon = second;
    if (!IconSize(second, m_icons[1].width, m_icons[1].height)) {
      FreeImages(true);
      return kNoResource;
    }
  }
  Repaint(true);
  return kDone;
}

int CIconButton::AssignIconFiles(const char* activePath, const char* restingPath) {
  auto load = [](const char* path) -> HICON {
    if (path == nullptr || ::GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) return nullptr;
    return static_cast<HICON>(::LoadImageA(nullptr, path, IMAGE_ICON, 0, 0, LR_LOADFROMFILE));
  };
  HICON active = load(activePath);
  HICON resting = load(restingPath);
  if (active == nullptr && resting != nullptr) ::DestroyIcon(resting);
  return AssignIcons(active, reinterpret_cast<intptr_t>(active ? resting : nullptr));
}

int CIconButton::AssignBitmaps(HBITMAP active, COLORREF transparent, intptr_t resting,
                               COLORREF restingTransparent) {
  FreeImages(true);
  if (active == nullptr) {
    Repaint(true);
    return kDone;
  }
  BitmapRecord& first = m_bitmaps[0];
  first.bitmap = active;
  first.transparent = transparent;
  if (!BitmapSize(active, first.width, first.height)) {
    FreeImages(true);
    return kNoResource;
  }
  // Copies are made before the mask blackens the active bitmap's transparent pixels.
  HBITMAP second = reinterpret_cast<HBITMAP>(resting);
  if (resting == kGreyCopy || resting == kDarkerCopy) {
    second = resting == kGreyCopy
                 ? RecolouredBitmap(active, first.width, first.height, transparent, GreyOf)
                 : RecolouredBitmap(active, first.width, first.height, transparent, DarkerOf);
    restingTransparent = transparent;
  }
  first.mask = MakeMaskBitmap(active, first.width, first.height, transparent);
  if (first.mask == nullptr) {
    if (second != nullptr && second != reinterpret_cast<HBITMAP>(resting)) ::DeleteObject(second);
    FreeImages(true);
    return kNoMask;
  }
  if (second == nullptr) {
    Repaint(true);
    return kDone;
  }
  BitmapRecord& rest = m_bitmaps[1];
  rest.bitmap = second;
  rest.transparent = restingTransparent;
  if (!BitmapSize(second, rest.width, rest.height)) {
    FreeImages(true);
    return kNoResource;
  }
  rest.mask = MakeMaskBitmap(second, rest.width, rest.height, restingTransparent);
  if (rest.mask == nullptr) {
    FreeImages(true);
    return kNoMask;
  }
  Repaint(true);
  return kDone;
}

int CIconButton::AssignBitmapFiles(const char* activePath, COLORREF transparent, intptr_t request,
                                   const char* restingPath, COLORREF restingTransparent) {
  auto load = [](const char* path) -> HBITMAP {
    if (path == nullptr || ::GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) return nullptr;
    return static_cast<HBITMAP>(
        ::LoadImageA(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
  };
  HBITMAP active = load(activePath);
  HBITMAP resting = load(restingPath);
  intptr_t second = reinterpret_cast<intptr_t>(resting);
  if (resting == nullptr) second = request == kGreyCopy || request == kDarkerCopy ? request : 0;
  if (active == nullptr && resting != nullptr) {
    ::DeleteObject(resting);
    second = 0;
  }
  return AssignBitmaps(active, transparent, second, restingTransparent);
}

void CIconButton::FitToImage() {
  int w = 0, h = 0;
  if (m_icons[0].icon) {
    w = m_icons[0].width;
    h = m_icons[0].height;
  } else if (m_bitmaps[0].bitmap) {
    w = m_bitmaps[0].width;
    h = m_bitmaps[0].height;
  } else {
    return;
  }
  ::SetWindowPos(m_hWnd, nullptr, 0, 0, w, h,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
  m_nMarginX = m_nMarginY = 0;
}

int CIconButton::SetFlatLook(bool on, bool repaint) {
  m_fFlat = on;
  Repaint(repaint);
  return kDone;
}
int CIconButton::SetFlatFrame(bool on, bool repaint) {
  m_fFlatFrame = on;
  Repaint(repaint);
  return kDone;
}
int CIconButton::SetFlatFocusRect(bool on, bool repaint) {
  m_fFlatFocusRect = on;
  Repaint(repaint);
  return kDone;
}
int CIconButton::SetImageAlignment(int alignment, bool repaint) {
  if (alignment < 0 || alignment > 3) return kBadAlignment;
  m_byAlignment = static_cast<uint8_t>(alignment);
  Repaint(repaint);
  return kDone;
}
int CIconButton::SetPressedShift(int style, bool repaint) {
  if (style == 0) {
    m_nShiftX = m_nShiftY = 1;
  } else if (style == 1) {
    m_nShiftX = 0;
    m_nShiftY = 2;
  } else {
    return kBadShiftStyle;
  }
  Repaint(repaint);
  return kDone;
}

void CIconButton::SetCaptionFont(int tenthsOfPoint, const char* face) {
  if (m_hCaptionFont) ::DeleteObject(m_hCaptionFont);
  HDC dc = ::GetDC(m_hWnd);
  LOGFONTA font{};
  POINT size{0, ::MulDiv(tenthsOfPoint, ::GetDeviceCaps(dc, LOGPIXELSY), 720)};
  font.lfHeight = -size.y;
  std::strncpy(font.lfFaceName, face != nullptr ? face : "", sizeof font.lfFaceName - 1);
  m_hCaptionFont = ::CreateFontIndirectA(&font);
  ::ReleaseDC(m_hWnd, dc);
}

int CIconButton::ResetColours(bool repaint) {
  for (int i = 0; i < 6; ++i)
    m_crColours[i] = ::GetSysColor(i % 2 == 0 ? COLOR_BTNFACE : COLOR_BTNTEXT);
  Repaint(repaint);
  return kDone;
}
int CIconButton::SetStateColour(int index, COLORREF colour, bool repaint) {
  if (index < 0 || index > 5) return kBadColourIndex;
  m_crColours[index] = colour;
  Repaint(repaint);
  return kDone;
}
int CIconButton::GetStateColour(int index, COLORREF& colour) const {
  if (index < 0 || index > 5) return kBadColourIndex;
  colour = m_crColours[index];
  return kDone;
}
int CIconButton::ShiftStateColour(int index, int shade, bool repaint) {
  if (index < 0 || index > 5) return kBadColourIndex;
  ButtonColour c = m_crColours[index];
  if (!ShiftColour(c, shade)) return kBadShade;
  m_crColours[index] = c;
  Repaint(repaint);
  return kDone;
}

int CIconButton::SetChecked(int state, bool repaint) {
  if (m_fCheckBox) {
    m_nCheck = state != 0 ? 1 : 0;
    Repaint(repaint);
  }
  return kDone;
}

int CIconButton::SetTrackAlways(bool on) {
  m_fTrackAlways = on;
  return kDone;
}

void CIconButton::DropSavedBackground() {
  if (m_hSavedDc && m_hSavedPrevious) ::SelectObject(m_hSavedDc, m_hSavedPrevious);
  if (m_hSavedBitmap) ::DeleteObject(m_hSavedBitmap);
  if (m_hSavedDc) ::DeleteDC(m_hSavedDc);
  m_hSavedDc = nullptr;
  m_hSavedBitmap = nullptr;
  m_hSavedPrevious = nullptr;
}

void CIconButton::EnableTransparency(bool repaint) {
  m_fTransparent = true;
  DropSavedBackground();
  Repaint(repaint);
}

int CIconButton::CaptureBackground(HDC dc) {
  if (!m_fTransparent || dc == nullptr) return kBadShade;
  DropSavedBackground();
  RECT client{}, onParent{};
  ::GetClientRect(m_hWnd, &client);
  ::GetWindowRect(m_hWnd, &onParent);
  ::MapWindowPoints(nullptr, ::GetParent(m_hWnd), reinterpret_cast<POINT*>(&onParent), 2);
  m_hSavedDc = ::CreateCompatibleDC(dc);
  m_hSavedBitmap = ::CreateCompatibleBitmap(dc, client.right, client.bottom);
  m_hSavedPrevious = ::SelectObject(m_hSavedDc, m_hSavedBitmap);
  ::BitBlt(m_hSavedDc, 0, 0, client.right, client.bottom, dc, onParent.left, onParent.top, SRCCOPY);
  return kDone;
}

void CIconButton::PaintSavedBackground(HDC dc) {
  RECT client{};
  ::GetClientRect(m_hWnd, &client);
  if (m_hSavedDc == nullptr) {
    HWND parent = ::GetParent(m_hWnd);
    HDC parentDc = ::GetDC(parent);
    m_fTransparent = true;
    CaptureBackground(parentDc);
    ::ReleaseDC(parent, parentDc);
  }
  ::BitBlt(dc, 0, 0, client.right, client.bottom, m_hSavedDc, 0, 0, SRCCOPY);
}

int CIconButton::AssignCursor(HCURSOR cursor) {
  if (cursor == nullptr) return 0;
  if (m_hCursor) ::DestroyCursor(m_hCursor);
  m_hCursor = cursor;
  return 1;
}

void CIconButton::SetHintText(const char* text, bool activate) {
  if (text == nullptr) return;
  if (!m_hint.GetSafeHwnd()) {
    m_hint.Create(m_hWnd);
    ::SendMessageA(m_hint.GetSafeHwnd(), TTM_SETMAXTIPWIDTH, 0, kHintWidth);
  }
  if (!m_fHintTool)
    m_fHintTool = m_hint.AddTool(m_hWnd, text);
  else
    m_hint.UpdateTipText(m_hWnd, text);
  ::SendMessageA(m_hint.GetSafeHwnd(), TTM_ACTIVATE, activate ? TRUE : FALSE, 0);
}

int CIconButton::AttachMenu(HMENU menu, HWND owner, bool repaint) {
  if (m_hMenu) ::DestroyMenu(m_hMenu);
  m_hMenu = menu;
  m_hMenuOwner = menu ? owner : nullptr;
  m_fMenuShown = false;
  Repaint(repaint);
  return kDone;
}

int CIconButton::SetMenuNotify(HWND window, UINT message, LPARAM parameter) {
  m_hNotifyWnd = window;
  m_uNotifyMsg = message;
  m_lNotifyParam = parameter;
  return kDone;
}

int CIconButton::SetLinkTarget(const char* text) {
  std::memset(m_szLink, 0, sizeof m_szLink);
  if (text != nullptr) std::strncpy(m_szLink, text, sizeof m_szLink - 1);
  return kDone;
}

void CIconButton::PreSubclassWindow() {
  LONG_PTR style = ::GetWindowLongPtrA(m_hWnd, GWL_STYLE);
  m_nType = static_cast<int>(style & 0x1F);
  if (style & 2) m_fCheckBox = true;
  if (m_nType == BS_DEFPUSHBUTTON) {
    m_fDefault = true;
    m_nType = 0;
  }
  ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, (style & ~0x1F) | BS_OWNERDRAW);
  ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void CIconButton::CancelHover() {
  if (m_fFlat && m_fHover) {
    m_fHover = false;
    Repaint(true);
  }
}

void CIconButton::OnClicked() {
  ::SetFocus(m_hWnd);
  if (m_fCheckBox) {
    m_nCheck = !m_nCheck;
    Repaint(true);
  } else if (m_hMenu != nullptr) {
    RECT r{};
    ::GetWindowRect(m_hWnd, &r);
    m_fMenuShown = true;
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    HMENU sub = ::GetSubMenu(m_hMenu, 0);
    UINT command = 0;
    if (sub != nullptr) {
      if (m_hNotifyWnd)
        ::SendMessageA(m_hNotifyWnd, m_uNotifyMsg, reinterpret_cast<WPARAM>(sub), m_lNotifyParam);
      command = static_cast<UINT>(::TrackPopupMenu(
          sub, TPM_LEFTALIGN | TPM_LEFTBUTTON | TPM_RIGHTBUTTON | TPM_NONOTIFY | TPM_RETURNCMD,
          r.left, r.bottom, 0, m_hWnd, nullptr));
    }
    m_fMenuShown = false;
    Repaint(true);
    if (command != 0) ::PostMessageA(m_hMenuOwner, WM_COMMAND, MAKEWPARAM(command, 0), 0);
  } else if (m_szLink[0] != '\0') {
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_FLAG_NO_UI;
    info.lpVerb = "open";
    info.lpFile = m_szLink;
    info.nShow = SW_SHOWMAXIMIZED;
    ::ShellExecuteExA(&info);
  }
}

LRESULT CIconButton::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_GETDLGCODE:
      return (Default() & ~(DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) |
             (m_fDefault ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
    case BM_SETSTYLE: {
      const UINT type = static_cast<UINT>(wp) & 0x1F;
      if (type == BS_DEFPUSHBUTTON) m_fDefault = true;
      if (type == BS_PUSHBUTTON) m_fDefault = false;
      return ost::Button::WindowProc(msg, (wp & ~0x1Fu) | BS_OWNERDRAW, lp);
    }
    case BM_SETCHECK:
      SetChecked(wp == 1 || wp == 2 ? 1 : 0, true);
      return 0;
    case BM_GETCHECK:
      return m_nCheck;
    case WM_ENABLE: {
      const LRESULT r = Default();
      if (!wp) {
        HWND parent = ::GetParent(m_hWnd);
        HWND next = ::GetNextDlgTabItem(parent, m_hWnd, FALSE);
        ::SetFocus(next != nullptr && next != m_hWnd ? next : parent);
        CancelHover();
      }
      return r;
    }
    case WM_KILLFOCUS:
    case WM_CANCELMODE:
    case WM_MOUSELEAVE: {
      const LRESULT r = Default();
      CancelHover();
      return r;
    }
    case WM_ACTIVATE: {
      const LRESULT r = Default();
      if (LOWORD(wp) == WA_INACTIVE) CancelHover();
      return r;
    }
    case WM_SETCURSOR:
      if (m_hCursor) {
        ::SetCursor(m_hCursor);
        return TRUE;
      }
      break;
    case WM_MOUSEMOVE: {
      if (m_hint.GetSafeHwnd()) {
        MSG relay{m_hWnd, msg, wp, lp, 0, {}};
        m_hint.RelayEvent(&relay);
      }
      const LRESULT r = Default();
      POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
      ::ClientToScreen(m_hWnd, &p);
      HWND under = ::WindowFromPoint(p);
      if ((wp & MK_LBUTTON) && !m_fHover) return r;
      if (!m_fFlat) return r;
      const bool active = m_fTrackAlways || ::GetActiveWindow() != nullptr;
      if (under == m_hWnd && active) {
        if (!m_fHover) {
          m_fHover = true;
          Repaint(true);
          TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, m_hWnd, 0};
          ::TrackMouseEvent(&track);
        }
      } else {
        CancelHover();
      }
      return r;
    }
    case WM_LBUTTONDBLCLK:
      // A double click is a second press.
      return ::SendMessageA(m_hWnd, WM_LBUTTONDOWN, wp, lp);
    case WM_LBUTTONUP: {
      // A release over the pressed button is a click: its action first, then the parent's
      // notification.
      const bool pushed = (::SendMessageA(m_hWnd, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
      POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
      RECT client{};
      ::GetClientRect(m_hWnd, &client);
      if (pushed && ::PtInRect(&client, p)) {
        ::ReleaseCapture();
        ::SendMessageA(m_hWnd, BM_SETSTATE, FALSE, 0);
        OnClicked();
        ::SendMessageA(::GetParent(m_hWnd), WM_COMMAND,
                       MAKEWPARAM(::GetDlgCtrlID(m_hWnd), BN_CLICKED),
                       reinterpret_cast<LPARAM>(m_hWnd));
        return 0;
      }
      break;
    }
    case WM_SYSCOLORCHANGE:
      Default();
      DropSavedBackground();
      ResetColours(true);
      return 0;
    default:
      break;
  }
  return ost::Button::WindowProc(msg, wp, lp);
}

int CIconButton::WhichImage() const {
  if (m_fPressed || (m_fHover && !m_fCheckBox)) return 0;
  const bool hasResting = m_icons[1].icon != nullptr || m_bitmaps[1].bitmap != nullptr;
  return hasResting ? 1 : 0;
}

void CIconButton::DrawBackground(HDC dc, RECT& rect) {
  if (!m_fFlat && (m_fFocused || m_fDefault)) {
    HBRUSH black = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
    ::FrameRect(dc, &rect, black);
    ::InflateRect(&rect, -1, -1);
  }
  const COLORREF colour = m_crColours[(m_fHover || m_fPressed) ? 0 : m_fFocused ? 4 : 2];
  HBRUSH brush = ::CreateSolidBrush(colour);
  ::FillRect(dc, &rect, brush);
  ::DeleteObject(brush);
}

void CIconButton::DrawFrame(HDC dc, const RECT& rc) {
  auto line = [dc](int colourIndex, POINT a, POINT b, POINT c) {
    HPEN pen = ::CreatePen(PS_SOLID, 1, ::GetSysColor(colourIndex));
    HGDIOBJ old = ::SelectObject(dc, pen);
    ::MoveToEx(dc, a.x, a.y, nullptr);
    ::LineTo(dc, b.x, b.y);
    ::LineTo(dc, c.x, c.y);
    ::SelectObject(dc, old);
    ::DeleteObject(pen);
  };
  RECT r = rc;
  if (m_fPressed) {
    if (m_fFlat) {
      if (m_fFlatFrame) {
        ::DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
      }
    } else {
      HBRUSH shadow = ::CreateSolidBrush(::GetSysColor(COLOR_BTNSHADOW));
      ::FrameRect(dc, &r, shadow);
      ::DeleteObject(shadow);
    }
    return;
  }
  if (m_fFlat) {
    if (m_fHover && m_fFlatFrame) ::DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
    return;
  }
  const int L = r.left, T = r.top, R = r.right, B = r.bottom;
  line(COLOR_BTNHIGHLIGHT, {L, B - 1}, {L, T}, {R, T});
  line(COLOR_3DLIGHT, {L + 1, B - 1}, {L + 1, T + 1}, {R, T + 1});
  line(COLOR_3DDKSHADOW, {L, B - 1}, {R - 1, B - 1}, {R - 1, T - 1});
  line(COLOR_BTNSHADOW, {L + 1, B - 2}, {R - 2, B - 2}, {R - 2, T});
}

void CIconButton::DrawImage(HDC dc, bool hasCaption, const RECT& item, RECT& caption) {
  const int which = WhichImage();
  const bool icon = m_icons[0].icon != nullptr;
  const int w = icon ? m_icons[which].width : m_bitmaps[which].width;
  const int h = icon ? m_icons[which].height : m_bitmaps[which].height;
  RECT client{};
  ::GetClientRect(m_hWnd, &client);
  ImagePlacementInput in;
  in.item = {item.left, item.top, item.right, item.bottom};
  in.imageWidth = w;
  in.imageHeight = h;
  in.marginX = m_nMarginX;
  in.marginY = m_nMarginY;
  in.alignment = m_byAlignment;
  in.hasCaption = hasCaption;
  in.pressedShift = m_fPressed && !m_fCheckBox;
  in.shiftX = m_nShiftX;
  in.shiftY = m_nShiftY;
  in.clientRight = client.right;
  ButtonRect cap{caption.left, caption.top, caption.right, caption.bottom};
  const ButtonRect at = PlaceButtonImage(in, cap);
  caption = RECT{cap.left, cap.top, cap.right, cap.bottom};
  m_rcLastImage = RECT{at.left, at.top, at.left + w, at.top + h};
  if (icon) {
    ::DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(m_icons[which].icon), 0, at.left,
                 at.top, w, h, DST_ICON | (m_fDisabled ? DSS_DISABLED : DSS_NORMAL));
    return;
  }
  const BitmapRecord& b = m_bitmaps[which];
  HDC memory = ::CreateCompatibleDC(dc);
  if (!m_fDisabled) {
    ::SetTextColor(dc, RGB(0, 0, 0));
    HGDIOBJ old = ::SelectObject(memory, b.mask);
    ::BitBlt(dc, at.left, at.top, w, h, memory, 0, 0, SRCAND);
    ::SelectObject(memory, b.bitmap);
    ::BitBlt(dc, at.left, at.top, w, h, memory, 0, 0, SRCPAINT);
    ::SelectObject(memory, old);
  } else {
    HBITMAP composed = ::CreateCompatibleBitmap(dc, w, h);
    HDC target = ::CreateCompatibleDC(dc);
    HGDIOBJ oldTarget = ::SelectObject(target, composed);
    RECT all{0, 0, w, h};
    ::FillRect(target, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    ::SetBkColor(target, RGB(255, 255, 255));
    ::SetTextColor(target, RGB(0, 0, 0));
    HGDIOBJ old = ::SelectObject(memory, b.mask);
    ::BitBlt(target, 0, 0, w, h, memory, 0, 0, SRCAND);
    ::SelectObject(memory, b.bitmap);
    ::BitBlt(target, 0, 0, w, h, memory, 0, 0, SRCPAINT);
    ::SelectObject(memory, old);
    ::SelectObject(target, oldTarget);
    ::DeleteDC(target);
    ::DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(composed), 0, at.left, at.top, w, h,
                 DST_BITMAP | DSS_DISABLED);
    ::DeleteObject(composed);
  }
  ::DeleteDC(memory);
}

void CIconButton::DrawCaption(HDC dc, const std::string& text, RECT caption) {
  if (m_fPressed && !m_fCheckBox) ::OffsetRect(&caption, m_nShiftX, m_nShiftY);
  HGDIOBJ oldFont = m_hCaptionFont ? ::SelectObject(dc, m_hCaptionFont) : nullptr;
  RECT measured = caption;
  ::DrawTextA(dc, text.c_str(), -1, &measured, DT_WORDBREAK | DT_CENTER | DT_CALCRECT);
  ::OffsetRect(&measured,
               (caption.right - caption.left - (measured.right - measured.left)) / 2 -
                   (measured.left - caption.left),
               (caption.bottom - caption.top - (measured.bottom - measured.top)) / 2 -
                   (measured.top - caption.top));
  ::SetBkMode(dc, TRANSPARENT);
  if (m_fDisabled) {
    RECT moved = measured;
    ::OffsetRect(&moved, 1, 1);
    ::SetTextColor(dc, ::GetSysColor(COLOR_3DHILIGHT));
    ::DrawTextA(dc, text.c_str(), -1, &moved, DT_WORDBREAK | DT_CENTER);
    ::SetTextColor(dc, ::GetSysColor(COLOR_3DSHADOW));
  } else {
    const int textIndex = (m_fHover || m_fPressed) ? 1 : m_fFocused ? 5 : 3;
    ::SetTextColor(dc, m_crColours[textIndex]);
    ::SetBkColor(dc, m_crColours[textIndex - 1]);
  }
  ::DrawTextA(dc, text.c_str(), -1, &measured, DT_WORDBREAK | DT_CENTER);
  if (oldFont) ::SelectObject(dc, oldFont);
}

void CIconButton::DrawItem(DRAWITEMSTRUCT* item) {
  HDC dc = item->hDC;
  const bool selected = (item->itemState & ODS_SELECTED) != 0;
  m_fPressed = m_fCheckBox ? (selected || m_nCheck != 0) : (selected || (m_hMenu && m_fMenuShown));
  m_fFocused = (item->itemState & ODS_FOCUS) != 0;
  m_fDisabled = (item->itemState & ODS_DISABLED) != 0;
  RECT rect = item->rcItem;
  ::SetBkMode(dc, TRANSPARENT);
  if (m_fTransparent)
    PaintSavedBackground(dc);
  else
    DrawBackground(dc, rect);
  DrawFrame(dc, rect);
  char text[256] = {};
  ::GetWindowTextA(m_hWnd, text, sizeof text);
  const std::string caption = text;
  RECT captionRect = item->rcItem;
  if (m_icons[0].icon != nullptr) {
    DrawImage(dc, !caption.empty(), item->rcItem, captionRect);
  } else if (m_bitmaps[0].bitmap != nullptr) {
    ::SetBkColor(dc, RGB(255, 255, 255));
    DrawImage(dc, !caption.empty(), item->rcItem, captionRect);
  }
  if (!caption.empty()) DrawCaption(dc, caption, captionRect);
  if (m_fFocused && (!m_fFlat || m_fFlatFocusRect)) {
    RECT focus = rect;
    ::InflateRect(&focus, -3, -3);
    ::DrawFocusRect(dc, &focus);
  }
}
