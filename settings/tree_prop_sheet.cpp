#include "settings/tree_prop_sheet.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>

#include "app/progress_channel.h"
#include "settings/settings_ids.h"
#include "settings/settings_messages.h"
#include "ui/dark_skin.h"

namespace {

// The skin: the frame caption runs from a deep blue into the page's grey.
constexpr COLORREF kCaptionLeft = RGB(0x1C, 0x4E, 0x80);
constexpr COLORREF kCaptionText = RGB(0xF2, 0xF4, 0xF6);
constexpr COLORREF kTreeBack = RGB(0x24, 0x29, 0x31);
constexpr COLORREF kTreeLines = RGB(0x4A, 0x55, 0x63);
// The title and progress boxes keep the sheet's own colours.
constexpr COLORREF kTitleFill = RGB(0, 50, 128);
constexpr COLORREF kTitleLight = RGB(0, 100, 230);
constexpr COLORREF kTitleDark = RGB(0, 25, 64);
constexpr COLORREF kTitleText = RGB(255, 255, 0);
constexpr COLORREF kProgressFill = RGB(0, 100, 255);
constexpr COLORREF kProgressBar = RGB(196, 255, 0);
constexpr COLORREF kProgressBarDark = RGB(100, 128, 0);
constexpr COLORREF kProgressBarLight = RGB(255, 255, 0);

RECT ToRect(const SheetRect& r) {
  return RECT{r.left, r.top, r.right, r.bottom};
}

// A 3D border: light top and left, dark bottom and right, on the rectangle and one pixel in.
void Border3d(HDC dc, RECT r, COLORREF light, COLORREF dark) {
  for (int i = 0; i < 2; ++i) {
    ost::FillSolidRect(dc, RECT{r.left, r.top, r.right, r.top + 1}, light);
    ost::FillSolidRect(dc, RECT{r.left, r.top, r.left + 1, r.bottom}, light);
    ost::FillSolidRect(dc, RECT{r.left, r.bottom - 1, r.right, r.bottom}, dark);
    ost::FillSolidRect(dc, RECT{r.right - 1, r.top, r.right, r.bottom}, dark);
    ::InflateRect(&r, -1, -1);
  }
}

COLORREF Blend(COLORREF a, COLORREF b, int i, int n) {
  if (n <= 0) return a;
  auto mix = [&](int ca, int cb) { return ca + (cb - ca) * i / n; };
  return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)),
             mix(GetBValue(a), GetBValue(b)));
}

const char kFrameClass[] = "OstPageFrame";

}  // namespace

// ---- CPageFrame -----------------------------------------------------------------------------

RECT CPageFrame::ClientRect() const {
  RECT r{};
  if (HWND w = FrameWindow()) ::GetClientRect(w, &r);
  return r;
}

void CPageFrame::InvalidateArea(const RECT& area) {
  if (HWND w = FrameWindow()) ::InvalidateRect(w, &area, TRUE);
}

void CPageFrame::SetCaptionVisible(bool visible) {
  m_captionVisible = visible;
  InvalidateArea(CaptionArea());
}

void CPageFrame::SetCaptionBarHeight(int height) {
  m_captionHeight = height;
  InvalidateArea(CaptionArea());
}

void CPageFrame::SetCaptionText(const std::string& text) {
  m_captionText = text;
  InvalidateArea(CaptionArea());
}

void CPageFrame::SetMessageText(const std::string& text) {
  m_messageText = text;
  InvalidateArea(MessageArea());
}

void CPageFrame::SetMessageFormat(UINT flags) {
  m_messageFormat = flags;
  InvalidateArea(MessageArea());
}

void CPageFrame::PaintFrame(HDC dc) {
  if (m_captionVisible) PaintCaption(dc, CaptionArea(), m_captionText);
  PaintMessage(dc, MessageArea(), m_messageText, m_messageFormat);
}

RECT CPageFrame::MessageArea() const {
  RECT r = ClientRect();
  if (m_captionVisible) r.top += m_captionHeight;
  return r;
}

void CPageFrame::PaintMessage(HDC dc, const RECT& rect, const std::string& text, UINT flags) {
  ost::SelectedObject font(dc, ::GetStockObject(DEFAULT_GUI_FONT));
  const int mode = ::SetBkMode(dc, TRANSPARENT);
  const COLORREF colour = ::SetTextColor(dc, ost::kPageDimText);
  RECT r = rect;
  ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, flags);
  ::SetTextColor(dc, colour);
  ::SetBkMode(dc, mode);
}

RECT CPageFrame::CaptionArea() const {
  RECT r = ClientRect();
  r.bottom = m_captionVisible ? r.top + m_captionHeight : r.top;
  return r;
}

void CPageFrame::PaintCaption(HDC, const RECT&, const std::string&) {}

// ---- CPageFrameWnd --------------------------------------------------------------------------

bool CPageFrameWnd::CreateFrameWindow(DWORD style, const RECT& rect, HWND parent, int id) {
  WNDCLASSA wc{};
  HINSTANCE instance = ::GetModuleHandleA(nullptr);
  if (!::GetClassInfoA(instance, kFrameClass, &wc)) {
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = nullptr;
    wc.lpszClassName = kFrameClass;
    if (!::RegisterClassA(&wc)) return false;
  }
  return CreateEx(0, kFrameClass, "Page Frame", style, rect.left, rect.top, rect.right - rect.left,
                  rect.bottom - rect.top, parent, id);
}

RECT CPageFrameWnd::MessageArea() const {
  RECT r = ClientRect();
  if (CaptionVisible()) r.top += CaptionHeight() + 1;
  return r;
}

void CPageFrameWnd::PaintCaption(HDC dc, const RECT& rect, const std::string& text) {
  if (rect.bottom <= rect.top) return;
  const int width = rect.right - rect.left;
  for (int x = rect.left; x <= rect.right; ++x) {
    ost::FillSolidRect(dc, RECT{x, rect.top, x + 1, rect.bottom},
                       Blend(kCaptionLeft, ost::kPageBack, x - rect.left, width));
  }
  RECT textRect = rect;
  textRect.left += 3 + 2;
  ost::SelectedObject font(dc, ::GetStockObject(DEFAULT_GUI_FONT));
  const int mode = ::SetBkMode(dc, TRANSPARENT);
  const COLORREF colour = ::SetTextColor(dc, kCaptionText);
  ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
              DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
  ::SetTextColor(dc, colour);
  ::SetBkMode(dc, mode);
}

void CPageFrameWnd::OnPaint() {
  ost::PaintDc paint(m_hWnd);
  PaintFrame(paint.Get());
}

LRESULT CPageFrameWnd::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_ERASEBKGND) {
    RECT r = ClientRect();
    ost::FillSolidRect(reinterpret_cast<HDC>(wp), r, ost::kPageBack);
    return 1;
  }
  return ost::Wnd::WindowProc(msg, wp, lp);
}

// ---- CTreePropSheet -------------------------------------------------------------------------

CTreePropSheet::CTreePropSheet(std::string caption, HWND parent, int initialPage,
                               std::string productId)
    : ost::Dialog(kTreeSheetTemplate, parent),
      m_caption(std::move(caption)),
      m_parentWnd(parent),
      m_initialPage(initialPage),
      m_productId(std::move(productId)) {
  // The title bar in the main window's skin.
  SetSkin(&ost::DarkDialogSkin());
  MapMessage(WM_NOTIFY,
             [this](WPARAM, LPARAM lp) { return OnNotify(reinterpret_cast<NMHDR*>(lp)); });
  MapMessage(WM_SHEET_PROGRESS, [this](WPARAM, LPARAM) -> LRESULT {
    if (m_progressActive.load()) {
      InvalidateRect(ToRect(m_boxes.progress), false);
    } else {
      Invalidate(true);
    }
    return 0;
  });
}

CTreePropSheet::~CTreePropSheet() {
  if (m_serving) g_pProgressChannel->StopServing();
  // The pages' objects belong to the derived sheet, which has already destroyed them.
}

void CTreePropSheet::AddPage(ost::PropertyPage* page) {
  if (page != nullptr) m_pages.push_back(page);
}

ost::PropertyPage* CTreePropSheet::GetPage(int index) const {
  return index >= 0 && index < GetPageCount() ? m_pages[static_cast<size_t>(index)] : nullptr;
}

int CTreePropSheet::PageIndexOf(const std::string& caption) const {
  for (int i = 0; i < GetPageCount(); ++i)
    if (m_pages[static_cast<size_t>(i)]->Caption() == caption) return i;
  return -1;
}

RECT CTreePropSheet::PageRect() const {
  RECT r = m_pageArea;
  if (m_pFrame) {
    RECT message = m_pFrame->MessageArea();
    ::MapWindowPoints(m_pFrame->GetSafeHwnd(), m_hWnd, reinterpret_cast<POINT*>(&message), 2);
    r = message;
  }
  return r;
}

BOOL CTreePropSheet::OnInitDialog() {
  ost::Dialog::OnInitDialog();
  SetText(m_caption);
  m_back = ost::SolidBrush(ost::kPageBack);
  m_hTab = GetDlgItem(kSheetTabControl);
  if (m_hTab == nullptr) return TRUE;
  ::ShowWindow(m_hTab, SW_HIDE);
  ::EnableWindow(m_hTab, FALSE);
  ::GetWindowRect(m_hTab, &m_pageArea);
  ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&m_pageArea), 2);

  // The sheet grows by the tree's width and 80 pixels for the title, progress and buttons.
  RECT frame = GetWindowRect();
  const int sheetWidth = frame.right - frame.left + m_treeWidth;
  const int sheetHeight = frame.bottom - frame.top + 80;
  ::SetWindowPos(m_hWnd, nullptr, 0, 0, sheetWidth, sheetHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  PlaceBesideParent();

  // Every child moves right by the tree's width.
  for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child != nullptr;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    RECT r;
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&r), 2);
    ::SetWindowPos(child, nullptr, r.left + m_treeWidth, r.top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  ::OffsetRect(&m_pageArea, m_treeWidth, 0);

  const RECT client = GetClientRect();
  const SheetRect area{m_pageArea.left - m_treeWidth, m_pageArea.top, m_pageArea.right,
                       m_pageArea.bottom};
  m_boxes = SheetBoxesFor(area, m_treeWidth, client.right, client.bottom, m_scale);

  // The frame over the page area; its caption is as high as a tab item.
  m_pFrame = NewFrameWindow();
  if (m_pFrame && m_pFrame->CreateFrameWindow(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, m_pageArea,
                                              m_hWnd, kPageFrameId)) {
    m_pFrame->SetCaptionVisible(true);
    HWND probe = ::CreateWindowExA(
        0, WC_TABCONTROLA, "", WS_CHILD, m_pageArea.left, m_pageArea.top,
        m_pageArea.right - m_pageArea.left, m_pageArea.bottom - m_pageArea.top, m_hWnd,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kProbeTabId)), nullptr, nullptr);
    int height = 20;
    if (probe != nullptr) {
      ::SendMessageA(probe, WM_SETFONT, ::SendMessageA(m_hWnd, WM_GETFONT, 0, 0), FALSE);
      TCITEMA item{};
      item.mask = TCIF_TEXT;
      item.pszText = const_cast<char*>("");
      ::SendMessageA(probe, TCM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
      RECT itemRect{};
      if (::SendMessageA(probe, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&itemRect)))
        height = itemRect.bottom - itemRect.top;
      ::DestroyWindow(probe);
    }
    m_pFrame->SetCaptionBarHeight(height);
    ::SetWindowPos(m_pFrame->GetSafeHwnd(), HWND_BOTTOM, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  // The tree.
  const RECT tree = ToRect(m_boxes.tree);
  m_hTree = ::CreateWindowExA(
      WS_EX_CLIENTEDGE | WS_EX_NOPARENTNOTIFY, WC_TREEVIEWA, "PageTree",
      WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT |
          TVS_SHOWSELALWAYS | TVS_TRACKSELECT | TVS_NOHSCROLL,
      tree.left, tree.top, tree.right - tree.left, tree.bottom - tree.top, m_hWnd,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kPageTreeId)), nullptr, nullptr);
  if (m_hTree != nullptr) {
    ::SendMessageA(m_hTree, WM_SETFONT, ::SendMessageA(m_hWnd, WM_GETFONT, 0, 0), FALSE);
    ::SendMessageA(m_hTree, TVM_SETBKCOLOR, 0, kTreeBack);
    ::SendMessageA(m_hTree, TVM_SETTEXTCOLOR, 0, ost::kPageText);
    ::SendMessageA(m_hTree, TVM_SETLINECOLOR, 0, kTreeLines);
  }

  const int titleHeight = m_boxes.title.Height();
  m_titleFont = ost::Font(::CreateFontA(
      -(titleHeight * 7 / 10), 0, 0, 0, FW_NORMAL, TRUE, FALSE, FALSE, ANSI_CHARSET, OUT_TT_PRECIS,
      CLIP_DEFAULT_PRECIS, PROOF_QUALITY, VARIABLE_PITCH | FF_ROMAN, "Times New Roman"));
  BuildPageTree();
  const int first = m_initialPage >= 0 && m_initialPage < GetPageCount() ? m_initialPage : 0;
  if (GetPageCount() > 0) SetActivePage(first);
  m_serving = g_pProgressChannel->Serve(
      [this](uint32_t command, uint32_t value) { ProgressThread(command, value); });
  return TRUE;
}

void CTreePropSheet::PlaceBesideParent() {
  if (m_parentWnd == nullptr || !::IsWindow(m_parentWnd)) return;
  RECT main{};
  ::GetWindowRect(m_parentWnd, &main);
  RECT work{};
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  const RECT sheet = GetWindowRect();
  const SheetPlacement at =
      PlaceSheet(SheetRect{main.left, main.top, main.right, main.bottom}, sheet.right - sheet.left,
                 sheet.bottom - sheet.top, work.right - work.left, work.bottom - work.top);
  if (at.mainX != main.left || at.mainY != main.top) {
    ::SetWindowPos(m_parentWnd, nullptr, at.mainX, at.mainY, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
  ::SetWindowPos(m_hWnd, nullptr, at.sheetX, at.sheetY, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void CTreePropSheet::BuildPageTree() {
  if (m_hTree == nullptr) return;
  ::SendMessageA(m_hTree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
  m_pageItems.assign(m_pages.size(), nullptr);
  const auto rows = PageTreeRows(SheetFamilyOf(m_productId));
  m_rowItems.assign(rows.size(), nullptr);
  std::vector<std::string> captions;
  for (const ost::PropertyPage* page : m_pages) captions.push_back(page->Caption());
  for (const PageTreeItem& plan : PlanPageTree(rows, captions)) {
    HTREEITEM parent =
        plan.parentRow >= 0 ? m_rowItems[static_cast<size_t>(plan.parentRow)] : TVI_ROOT;
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM;
    std::string text = rows[static_cast<size_t>(plan.row)].caption;
    insert.item.pszText = text.data();
    insert.item.lParam = plan.page;
    auto item = reinterpret_cast<HTREEITEM>(
        ::SendMessageA(m_hTree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
    m_rowItems[static_cast<size_t>(plan.row)] = item;
    m_pageItems[static_cast<size_t>(plan.page)] = item;
    if (parent != TVI_ROOT)
      ::SendMessageA(m_hTree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(parent));
  }
}

void CTreePropSheet::SelectTreeItemOf(int page) {
  if (m_hTree == nullptr || page < 0 || page >= static_cast<int>(m_pageItems.size())) return;
  HTREEITEM item = m_pageItems[static_cast<size_t>(page)];
  if (item == nullptr) return;
  m_selectionGuard = true;
  ::SendMessageA(m_hTree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
  m_selectionGuard = false;
}

bool CTreePropSheet::SetActivePage(int index) {
  ost::PropertyPage* next = GetPage(index);
  if (next == nullptr) return false;
  ost::PropertyPage* current = GetActivePage();
  if (current == next) {
    SelectTreeItemOf(index);
    RefreshPageFrame();
    return true;
  }
  if (current != nullptr && current->IsCreated()) {
    if (!current->OnKillActive()) return false;
  }
  if (!next->IsCreated() && !next->CreatePage(m_hWnd)) return false;
  if (!next->OnSetActive()) return false;
  if (current != nullptr && current->IsCreated()) current->ShowWindow(SW_HIDE);
  const RECT r = PageRect();
  next->SetWindowPos(HWND_TOP, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_SHOWWINDOW | SWP_NOACTIVATE);
  m_active = index;
  SelectTreeItemOf(index);
  RefreshPageFrame();
  return true;
}

void CTreePropSheet::RefreshPageFrame() {
  if (!m_pFrame) return;
  std::string caption;
  HTREEITEM selected =
      m_hTree ? reinterpret_cast<HTREEITEM>(::SendMessageA(m_hTree, TVM_GETNEXTITEM, TVGN_CARET, 0))
              : nullptr;
  const auto rows = PageTreeRows(SheetFamilyOf(m_productId));
  for (size_t r = 0; r < m_rowItems.size() && r < rows.size(); ++r) {
    if (selected != nullptr && m_rowItems[r] == selected && rows[r].frameCaption != nullptr) {
      caption = rows[r].frameCaption;
    }
  }
  if (caption.empty() && selected != nullptr) {
    char text[260] = {};
    TVITEMA item{};
    item.mask = TVIF_TEXT;
    item.hItem = selected;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    ::SendMessageA(m_hTree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    caption = text;
  }
  const ost::PropertyPage* page = GetActivePage();
  if (page == nullptr || !page->IsCreated() || !page->IsWindowVisible()) {
    m_pFrame->SetMessageText(MakeMessageText(caption));
  } else {
    m_pFrame->SetMessageText({});
  }
  m_pFrame->SetCaptionText(caption);
}

std::string CTreePropSheet::MakeMessageText(const std::string&) {
  return {};
}

std::unique_ptr<CPageFrameWnd> CTreePropSheet::NewFrameWindow() {
  return std::make_unique<CPageFrameWnd>();
}

LRESULT CTreePropSheet::OnNotify(NMHDR* header) {
  if (header == nullptr || header->idFrom != static_cast<UINT_PTR>(kPageTreeId)) return 0;
  switch (header->code) {
    case TVN_SELCHANGINGA:
    case TVN_SELCHANGINGW: {
      if (m_selectionGuard) return FALSE;
      const auto* change = reinterpret_cast<NMTREEVIEWA*>(header);
      const int page = static_cast<int>(change->itemNew.lParam);
      m_selectionGuard = true;
      bool refuse = false;
      if (GetPage(page) == nullptr) {
        ost::PropertyPage* current = GetActivePage();
        if (current != nullptr && current->IsCreated()) {
          if (current->OnKillActive()) {
            current->ShowWindow(SW_HIDE);
          } else {
            refuse = true;
          }
        }
      } else if (!SetActivePage(page)) {
        refuse = true;
      }
      ::SetFocus(m_hTree);
      m_selectionGuard = false;
      return refuse ? TRUE : FALSE;
    }
    case TVN_SELCHANGEDA:
    case TVN_SELCHANGEDW:
      RefreshPageFrame();
      return 0;
    case NM_CUSTOMDRAW: {
      // The selected item keeps the dark skin: the stock highlight is white on white when the tree
      // has no focus.
      auto* draw = reinterpret_cast<NMTVCUSTOMDRAW*>(header);
      if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
      if (draw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT &&
          (draw->nmcd.uItemState & CDIS_SELECTED) != 0) {
        draw->clrText = kCaptionText;
        draw->clrTextBk = kCaptionLeft;
      }
      return CDRF_DODEFAULT;
    }
    default:
      return 0;
  }
}

void CTreePropSheet::StepTree(bool forward) {
  if (m_hTree == nullptr) {
    if (GetPageCount() == 0) return;
    const int n = GetPageCount();
    SetActivePage(((m_active < 0 ? 0 : m_active) + (forward ? 1 : n - 1)) % n);
    return;
  }
  // Depth-first order of every item, wrapping at both ends.
  std::vector<HTREEITEM> order;
  std::vector<HTREEITEM> stack;
  for (auto item =
           reinterpret_cast<HTREEITEM>(::SendMessageA(m_hTree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
       item != nullptr;) {
    order.push_back(item);
    auto child = reinterpret_cast<HTREEITEM>(
        ::SendMessageA(m_hTree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)));
    if (child != nullptr) {
      stack.push_back(item);
      item = child;
      continue;
    }
    HTREEITEM next = nullptr;
    for (HTREEITEM at = item; at != nullptr;) {
      next = reinterpret_cast<HTREEITEM>(
          ::SendMessageA(m_hTree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(at)));
      if (next != nullptr || stack.empty()) break;
      at = stack.back();
      stack.pop_back();
    }
    item = next;
  }
  auto selected =
      reinterpret_cast<HTREEITEM>(::SendMessageA(m_hTree, TVM_GETNEXTITEM, TVGN_CARET, 0));
  auto at = std::find(order.begin(), order.end(), selected);
  if (order.empty() || at == order.end()) return;
  const size_t n = order.size();
  const size_t i = static_cast<size_t>(at - order.begin());
  HTREEITEM target = order[forward ? (i + 1) % n : (i + n - 1) % n];
  ::SendMessageA(m_hTree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(target));
}

bool CTreePropSheet::PreTranslateMessage(MSG* msg) {
  if (msg->message == WM_KEYDOWN && msg->wParam == VK_TAB && (::GetKeyState(VK_CONTROL) < 0)) {
    StepTree(::GetKeyState(VK_SHIFT) >= 0);
    return true;
  }
  return ost::Dialog::PreTranslateMessage(msg);
}

void CTreePropSheet::ProgressThread(uint32_t command, uint32_t value) {
  switch (command) {
    case kProgressBegin:
      m_progressCurrent = 0;
      m_progressActive = true;
      break;
    case kProgressTotal:
      m_progressCurrent = 0;
      m_progressTotal = value;
      break;
    case kProgressDraw:
      m_progressCurrent = value;
      break;
    case kProgressEnd:
      m_progressCurrent = 0;
      m_progressActive = false;
      break;
    default:
      return;
  }
  // The window thread paints; this thread only asks for it.
  if (m_hWnd != nullptr) ::PostMessageA(m_hWnd, WM_SHEET_PROGRESS, command, value);
}

void CTreePropSheet::DrawTitleBox(HDC dc) {
  const RECT box = ToRect(m_boxes.title);
  if (box.right <= box.left || box.bottom <= box.top) return;
  ost::FillSolidRect(dc, box, kTitleFill);
  Border3d(dc, box, kTitleLight, kTitleDark);
  const std::string title = SheetTitleText(m_productId);
  if (title.empty()) return;
  ost::SelectedObject font(dc, m_titleFont.Get());
  const UINT align = ::SetTextAlign(dc, TA_CENTER | TA_TOP);
  const int mode = ::SetBkMode(dc, TRANSPARENT);
  const COLORREF colour = ::SetTextColor(dc, kTitleText);
  ::TextOutA(dc, box.left + (box.right - box.left) / 2, box.top + 3, title.c_str(),
             static_cast<int>(title.size()));
  ::SetTextColor(dc, colour);
  ::SetBkMode(dc, mode);
  ::SetTextAlign(dc, align);
}

void CTreePropSheet::DrawProgressBox(HDC dc) {
  const RECT box = ToRect(m_boxes.progress);
  if (box.right <= box.left) return;
  ost::FillSolidRect(dc, box, kProgressFill);
  Border3d(dc, box, kProgressFill, kTitleDark);
  const uint32_t current = m_progressCurrent.load();
  const uint32_t total = m_progressTotal.load();
  const ProgressDrawing d = DrawProgressIn(m_boxes.progress, current, total);
  char text[32];
  ost::SelectedObject font(dc, ::GetStockObject(DEFAULT_GUI_FONT));
  if (!d.drawn) {
    if (current == 0) {
      std::snprintf(text, sizeof text, "%3u %%", 0u);
      ost::DrawTextAt(dc, box.left + 4, box.top + 3, text, kProgressBar);
    }
    return;
  }
  const RECT bar{box.left + 2, box.top + 3, box.left + 2 + d.barLength, box.bottom - 3};
  if (d.barLength > 0) {
    ost::FillSolidRect(dc, bar, kProgressBar);
    Border3d(dc, bar, kProgressBarLight, kProgressBarDark);
  }
  std::snprintf(text, sizeof text, "%3u %%", d.percent);
  ost::DrawTextAt(dc, d.textX, box.top + 3, text, d.textInsideBar ? kProgressFill : kProgressBar);
}

void CTreePropSheet::OnPaint() {
  ost::PaintDc paint(m_hWnd);
  const RECT client = GetClientRect();
  ost::FillSolidRect(paint.Get(), client, ost::kPageBack);
  DrawTitleBox(paint.Get());
  if (m_progressActive.load()) DrawProgressBox(paint.Get());
}

HBRUSH CTreePropSheet::OnCtlColor(HDC dc, HWND control, UINT type) {
  if (type == WM_CTLCOLORDLG) return m_back.Get();
  if (type == WM_CTLCOLORSTATIC || type == WM_CTLCOLORBTN) {
    ::SetTextColor(dc, ost::kPageText);
    ::SetBkColor(dc, ost::kPageBack);
    return m_back.Get();
  }
  return ost::Dialog::OnCtlColor(dc, control, type);
}

LRESULT CTreePropSheet::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_ERASEBKGND) return 1;  // OnPaint fills the whole client area
  return ost::Dialog::WindowProc(msg, wp, lp);
}
