#include "ui/dark_skin.h"

#include <commctrl.h>

#include "platform/gdi.h"

namespace ost {
namespace {

// Window properties the skin keeps on the windows it serves.
constexpr const char* kSkinnedButton = "Ostrova.SkinButton";  // a push button it draws
constexpr const char* kHotButton = "Ostrova.SkinHot";         // the mouse is over the button
constexpr const char* kClosePressed = "Ostrova.SkinClose";    // the close box is held down

HBRUSH BodyBrush() {
  static HBRUSH brush = ::CreateSolidBrush(skin::kBody);  // lives as long as the program
  return brush;
}

std::string ClassOf(HWND hwnd) {
  char name[32] = {};
  ::GetClassNameA(hwnd, name, sizeof name);
  return name;
}

bool IsClass(HWND hwnd, const char* name) {
  return ::lstrcmpiA(ClassOf(hwnd).c_str(), name) == 0;
}

void FillRectColour(HDC dc, const RECT& r, COLORREF colour) {
  const COLORREF old = ::SetBkColor(dc, colour);
  ::ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
  ::SetBkColor(dc, old);
}

void FrameRectColour(HDC dc, const RECT& r, COLORREF colour) {
  FillRectColour(dc, RECT{r.left, r.top, r.right, r.top + 1}, colour);
  FillRectColour(dc, RECT{r.left, r.bottom - 1, r.right, r.bottom}, colour);
  FillRectColour(dc, RECT{r.left, r.top, r.left + 1, r.bottom}, colour);
  FillRectColour(dc, RECT{r.right - 1, r.top, r.right, r.bottom}, colour);
}

// A rectangle with its corners cut by one pixel, filled, with an edge of another colour.
void RoundedBox(HDC dc, const RECT& r, COLORREF fill, COLORREF edge) {
  FillRectColour(dc, RECT{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}, fill);
  FillRectColour(dc, RECT{r.left + 1, r.top, r.right - 1, r.top + 1}, edge);
  FillRectColour(dc, RECT{r.left + 1, r.bottom - 1, r.right - 1, r.bottom}, edge);
  FillRectColour(dc, RECT{r.left, r.top + 1, r.left + 1, r.bottom - 1}, edge);
  FillRectColour(dc, RECT{r.right - 1, r.top + 1, r.right, r.bottom - 1}, edge);
}

// ---- push buttons ---------------------------------------------------------------------------

// Tracks the mouse over a push button the skin draws, for its hover face.
LRESULT CALLBACK ButtonProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR) {
  switch (msg) {
    case WM_MOUSEMOVE:
      if (::GetPropA(hwnd, kHotButton) == nullptr) {
        ::SetPropA(hwnd, kHotButton, reinterpret_cast<HANDLE>(1));
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd, 0};
        ::TrackMouseEvent(&track);
        ::InvalidateRect(hwnd, nullptr, FALSE);
      }
      break;
    case WM_MOUSELEAVE:
      ::RemovePropA(hwnd, kHotButton);
      ::InvalidateRect(hwnd, nullptr, FALSE);
      break;
    case WM_LBUTTONDBLCLK:
      // An owner-drawn button reports a quick second click as a double click: keep it a click.
      return ::DefSubclassProc(hwnd, WM_LBUTTONDOWN, wp, lp);
    case WM_NCDESTROY:
      ::RemovePropA(hwnd, kHotButton);
      ::RemovePropA(hwnd, kSkinnedButton);
      ::RemoveWindowSubclass(hwnd, ButtonProc, id);
      break;
    default:
      break;
  }
  return ::DefSubclassProc(hwnd, msg, wp, lp);
}

// The dialog's own push buttons become owner-drawn; buttons that already draw themselves (or are
// handled by an object of their own) keep their drawing.
BOOL CALLBACK AdoptButton(HWND child, LPARAM lp) {
  HWND dialog = reinterpret_cast<HWND>(lp);
  if (::GetParent(child) != dialog || !IsClass(child, "Button") || Wnd::FromHandle(child))
    return TRUE;
  const LONG_PTR style = ::GetWindowLongPtrA(child, GWL_STYLE);
  const LONG_PTR type = style & BS_TYPEMASK;
  if (type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON) return TRUE;
  ::SetWindowLongPtrA(child, GWL_STYLE,
                      (style & ~static_cast<LONG_PTR>(BS_TYPEMASK)) | BS_OWNERDRAW);
  ::SetPropA(child, kSkinnedButton, reinterpret_cast<HANDLE>(1));
  ::SetWindowSubclass(child, ButtonProc, 1, 0);
  ::InvalidateRect(child, nullptr, TRUE);
  return TRUE;
}

void DrawAdoptedButton(HWND dialog, const DRAWITEMSTRUCT& item) {
  SkinButtonState state;
  state.pressed = (item.itemState & ODS_SELECTED) != 0;
  state.focused = (item.itemState & ODS_FOCUS) != 0;
  state.disabled = (item.itemState & ODS_DISABLED) != 0;
  state.hot = ::GetPropA(item.hwndItem, kHotButton) != nullptr;
  const LRESULT def = ::SendMessageA(dialog, DM_GETDEFID, 0, 0);
  state.primary = HIWORD(def) == DC_HASDEFID && LOWORD(def) == item.CtlID;
  DrawSkinButton(item.hDC, item.rcItem, WindowText(item.hwndItem), state);
}

// ---- sliders --------------------------------------------------------------------------------

// The slider's own focus rectangle is a dotted frame drawn over the body: the skin shows the
// focus in the knob instead, so the frame is painted over with the body.
LRESULT CALLBACK SliderProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR) {
  switch (msg) {
    case WM_PAINT: {
      const LRESULT result = ::DefSubclassProc(hwnd, msg, wp, lp);
      if (wp == 0 && ::GetFocus() == hwnd) {
        HDC dc = ::GetDC(hwnd);
        if (dc != nullptr) {
          RECT r;
          ::GetClientRect(hwnd, &r);
          ::FrameRect(dc, &r, BodyBrush());
          ::ReleaseDC(hwnd, dc);
        }
      }
      return result;
    }
    case WM_NCDESTROY:
      ::RemoveWindowSubclass(hwnd, SliderProc, id);
      break;
    case WM_ERASEBKGND:
      break;
    default: {
      // The knob is larger than the slider's own thumb: a move repaints the whole slider, so no
      // part of the knob stays behind.
      const LRESULT before = ::DefSubclassProc(hwnd, TBM_GETPOS, 0, 0);
      const LRESULT result = ::DefSubclassProc(hwnd, msg, wp, lp);
      if (::IsWindow(hwnd) && ::DefSubclassProc(hwnd, TBM_GETPOS, 0, 0) != before)
        ::InvalidateRect(hwnd, nullptr, TRUE);
      return result;
    }
  }
  return ::DefSubclassProc(hwnd, msg, wp, lp);
}

BOOL CALLBACK AdoptSlider(HWND child, LPARAM lp) {
  if (::GetParent(child) == reinterpret_cast<HWND>(lp) && IsClass(child, TRACKBAR_CLASSA))
    ::SetWindowSubclass(child, SliderProc, 1, 0);
  return TRUE;
}

// ---- title bar ------------------------------------------------------------------------------

struct FrameGeometry {
  RECT window;   // the whole window, at 0, 0
  RECT client;   // the client area in window coordinates
  RECT caption;  // the title bar (between the frame's sides, above the client area)
  RECT close;    // the close box; empty without a system menu
};

FrameGeometry GeometryOf(HWND hwnd) {
  FrameGeometry g{};
  RECT w;
  ::GetWindowRect(hwnd, &w);
  RECT c;
  ::GetClientRect(hwnd, &c);
  ::MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&c), 2);
  ::OffsetRect(&c, -w.left, -w.top);
  ::OffsetRect(&w, -w.left, -w.top);
  g.window = w;
  g.client = c;
  const int side = c.left;
  g.caption = RECT{side, side, w.right - side, c.top};
  if ((::GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_SYSMENU) != 0) {
    // Where the system's hit test puts the close box.
    const int size = ::GetSystemMetrics(SM_CYCAPTION) - 1;
    g.close = RECT{g.caption.right - ::GetSystemMetrics(SM_CXSIZE), g.caption.top, g.caption.right,
                   g.caption.top + size};
  }
  return g;
}

void PaintTitleBar(HWND hwnd) {
  if ((::GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_CAPTION) != WS_CAPTION) return;
  HDC dc = ::GetWindowDC(hwnd);
  if (dc == nullptr) return;
  const FrameGeometry g = GeometryOf(hwnd);
  const bool active = ::GetActiveWindow() == hwnd;
  ::ExcludeClipRect(dc, g.client.left, g.client.top, g.client.right, g.client.bottom);
  FillRectColour(dc, g.window, skin::kTitleBar);
  FrameRectColour(dc, g.window, skin::kBorder);
  // A line of the accent under the title.
  FillRectColour(dc, RECT{g.caption.left, g.caption.bottom - 1, g.caption.right, g.caption.bottom},
                 active ? skin::kAccentDark : skin::kDivider);

  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof metrics;
  ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  Font font(::CreateFontIndirectA(&metrics.lfCaptionFont));
  RECT text = g.caption;
  text.left += 8;
  text.bottom -= 1;
  if (g.close.right > g.close.left) text.right = g.close.left - 4;
  {
    SelectedObject selected(dc, font ? font.Get() : ::GetStockObject(DEFAULT_GUI_FONT));
    const int mode = ::SetBkMode(dc, TRANSPARENT);
    const COLORREF colour = ::SetTextColor(dc, active ? skin::kText : skin::kMutedText);
    const std::string title = WindowText(hwnd);
    ::DrawTextA(dc, title.c_str(), static_cast<int>(title.size()), &text,
                DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    ::SetTextColor(dc, colour);
    ::SetBkMode(dc, mode);
  }
  if (g.close.right > g.close.left) {
    const bool pressed = ::GetPropA(hwnd, kClosePressed) != nullptr;
    const int size = 15;
    const int cx = (g.close.left + g.close.right) / 2, cy = (g.close.top + g.close.bottom) / 2;
    const RECT box{cx - size / 2, cy - size / 2, cx - size / 2 + size, cy - size / 2 + size};
    if (pressed) RoundedBox(dc, box, skin::kDanger, skin::kDanger);
    Pen pen(::CreatePen(PS_SOLID, 2, pressed ? skin::kText : skin::kMutedText));
    SelectedObject selected(dc, pen.Get());
    ::MoveToEx(dc, box.left + 4, box.top + 4, nullptr);
    ::LineTo(dc, box.right - 4, box.bottom - 4);
    ::MoveToEx(dc, box.right - 5, box.top + 4, nullptr);
    ::LineTo(dc, box.left + 3, box.bottom - 4);
  }
  ::ReleaseDC(hwnd, dc);
}

// ---- the skin -------------------------------------------------------------------------------

class DarkSkin final : public DialogSkin {
 public:
  void Attach(Dialog& dialog) override {
    HWND hwnd = dialog.GetSafeHwnd();
    ::EnumChildWindows(hwnd, AdoptButton, reinterpret_cast<LPARAM>(hwnd));
    ::EnumChildWindows(hwnd, AdoptSlider, reinterpret_cast<LPARAM>(hwnd));
    ::RedrawWindow(hwnd, nullptr, nullptr,
                   RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  }

  bool Filter(Dialog& dialog, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override {
    HWND hwnd = dialog.GetSafeHwnd();
    switch (msg) {
      case WM_CTLCOLORDLG:
        result = reinterpret_cast<LRESULT>(BodyBrush());
        return true;
      case WM_CTLCOLORSTATIC:
      case WM_CTLCOLORBTN: {
        HWND control = reinterpret_cast<HWND>(lp);
        // Edit boxes (read-only ones ask as statics) keep the dialog's edit colours.
        if (IsClass(control, "Edit")) return false;
        HDC dc = reinterpret_cast<HDC>(wp);
        ::SetTextColor(dc, ::IsWindowEnabled(control) ? skin::kText : skin::kMutedText);
        ::SetBkColor(dc, skin::kBody);
        ::SetBkMode(dc, TRANSPARENT);
        result = reinterpret_cast<LRESULT>(BodyBrush());
        return true;
      }
      case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
        if (item == nullptr || item->CtlType != ODT_BUTTON ||
            ::GetPropA(item->hwndItem, kSkinnedButton) == nullptr)
          return false;
        DrawAdoptedButton(hwnd, *item);
        result = TRUE;
        return true;
      }
      case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lp);
        if (header == nullptr || header->code != static_cast<UINT>(NM_CUSTOMDRAW) ||
            !IsClass(header->hwndFrom, TRACKBAR_CLASSA))
          return false;
        result = DrawSkinSlider(header);
        return true;
      }
      case WM_NCPAINT:
        if ((dialog.GetStyle() & WS_CAPTION) != WS_CAPTION) return false;
        PaintTitleBar(hwnd);
        result = 0;
        return true;
      case WM_NCACTIVATE:
        if ((dialog.GetStyle() & WS_CAPTION) != WS_CAPTION) return false;
        // -1: the system keeps its own title bar undrawn.
        result = dialog.DefaultFor(msg, wp, -1);
        PaintTitleBar(hwnd);
        return true;
      case WM_SETTEXT:
        if ((dialog.GetStyle() & WS_CAPTION) != WS_CAPTION) return false;
        // The system draws its title bar with the new text at once.
        result = dialog.DefaultFor(msg, wp, lp);
        PaintTitleBar(hwnd);
        return true;
      case WM_NCLBUTTONDOWN:
      case WM_NCLBUTTONDBLCLK:
        if (wp != HTCLOSE) return false;
        ::SetPropA(hwnd, kClosePressed, reinterpret_cast<HANDLE>(1));
        PaintTitleBar(hwnd);
        result = 0;
        return true;
      case WM_NCLBUTTONUP:
      case WM_NCMOUSEMOVE:
      case WM_NCMOUSELEAVE:
        if (::GetPropA(hwnd, kClosePressed) == nullptr) return false;
        if (msg == WM_NCMOUSEMOVE && wp == HTCLOSE) return false;
        ::RemovePropA(hwnd, kClosePressed);
        PaintTitleBar(hwnd);
        if (msg == WM_NCLBUTTONUP && wp == HTCLOSE)
          ::PostMessageA(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
        return false;
      case WM_NCDESTROY:
        ::RemovePropA(hwnd, kClosePressed);
        return false;
      default:
        return false;
    }
  }
};

}  // namespace

DialogSkin& DarkDialogSkin() {
  static DarkSkin skin;
  return skin;
}

void DrawSkinButton(HDC dc, const RECT& r, const std::string& text, const SkinButtonState& s) {
  // The button's corners show the body behind it.
  FillRectColour(dc, r, skin::kBody);
  COLORREF fill = s.primary ? RGB(0x1F, 0x4A, 0x49) : skin::kFace;
  COLORREF edge = s.primary ? skin::kAccentDark : skin::kFaceEdge;
  COLORREF ink = s.primary ? skin::kAccentLight : skin::kText;
  if (s.hot || s.focused) {
    fill = s.primary ? RGB(0x23, 0x5C, 0x59) : skin::kFaceHover;
    edge = skin::kAccent;
    ink = s.primary ? RGB(0xFF, 0xFF, 0xFF) : RGB(0xFF, 0xFF, 0xFF);
  }
  if (s.pressed) {
    fill = skin::kAccent;
    edge = skin::kAccentDark;
    ink = skin::kInk;
  }
  if (s.disabled) {
    fill = skin::kCard;
    edge = skin::kDivider;
    ink = skin::kMutedText;
  }
  RoundedBox(dc, r, fill, edge);
  RECT t = r;
  if (s.pressed) ::OffsetRect(&t, 1, 1);
  const int mode = ::SetBkMode(dc, TRANSPARENT);
  const COLORREF colour = ::SetTextColor(dc, ink);
  ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &t,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  ::SetTextColor(dc, colour);
  ::SetBkMode(dc, mode);
}

LRESULT DrawSkinSlider(NMHDR* header) {
  auto* draw = reinterpret_cast<NMCUSTOMDRAW*>(header);
  HWND slider = header->hwndFrom;
  switch (draw->dwDrawStage) {
    case CDDS_PREPAINT:
      return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
      break;
    default:
      return CDRF_DODEFAULT;
  }
  HDC dc = draw->hdc;
  switch (draw->dwItemSpec) {
    case TBCD_TICS:
      return CDRF_SKIPDEFAULT;
    case TBCD_CHANNEL: {
      // A thin groove, filled with the accent up to the thumb.
      RECT client;
      ::GetClientRect(slider, &client);
      const RECT channel = draw->rc;
      const int mid = (channel.top + channel.bottom) / 2;
      const RECT groove{channel.left, mid - 2, channel.right, mid + 2};
      RoundedBox(dc, groove, skin::kCard, skin::kBorder);
      RECT thumb{};
      ::SendMessageA(slider, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
      const int filled = (thumb.left + thumb.right) / 2;
      if (filled > groove.left + 1)
        FillRectColour(dc, RECT{groove.left + 1, groove.top + 1, filled, groove.bottom - 1},
                       skin::kAccentDark);
      return CDRF_SKIPDEFAULT;
    }
    case TBCD_THUMB: {
      // A round knob on the groove, centred on the slider's own thumb.
      RECT channel{};
      ::SendMessageA(slider, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
      const RECT r = draw->rc;
      const int cx = (r.left + r.right) / 2;
      const int cy = channel.bottom > channel.top ? (channel.top + channel.bottom) / 2
                                                  : (r.top + r.bottom) / 2;
      constexpr int half = 6;
      const RECT knob{cx - half, cy - half, cx + half + 1, cy + half + 1};
      const bool active = ::GetFocus() == slider || (draw->uItemState & CDIS_HOT) != 0;
      Brush fill(::CreateSolidBrush(active ? skin::kAccentLight : skin::kText));
      Pen edge(::CreatePen(PS_SOLID, 1, active ? skin::kAccent : skin::kBorder));
      SelectedObject b(dc, fill.Get());
      SelectedObject p(dc, edge.Get());
      ::Ellipse(dc, knob.left, knob.top, knob.right, knob.bottom);
      return CDRF_SKIPDEFAULT;
    }
    default:
      return CDRF_DODEFAULT;
  }
}

void SkinToolTip(HWND tip) {
  if (tip == nullptr) return;
  ::SendMessageA(tip, TTM_SETTIPBKCOLOR, skin::kCard, 0);
  ::SendMessageA(tip, TTM_SETTIPTEXTCOLOR, skin::kText, 0);
  RECT margin{4, 2, 4, 2};
  ::SendMessageA(tip, TTM_SETMARGIN, 0, reinterpret_cast<LPARAM>(&margin));
}

}  // namespace ost
