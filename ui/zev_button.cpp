#include "ui/zev_button.h"

#include "platform/trace_log.h"
#include "platform/gdi.h"

namespace {

// A face file at its own size; a relative name is taken from the current folder.
HBITMAP LoadFace(const char* file) {
  if (file == nullptr) return nullptr;
  return static_cast<HBITMAP>(::LoadImageA(nullptr, file, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
}

void ReleaseBitmap(HBITMAP& bitmap) {
  if (bitmap != nullptr) {
    ::DeleteObject(bitmap);
    bitmap = nullptr;
  }
}

}  // namespace

CZevButton::CZevButton() {
  MapMessage(WM_MOUSELEAVE, &CZevButton::OnMouseLeave);
}

CZevButton::~CZevButton() {
  ReleaseFaces();
  ReleaseStateLists();
  m_Outline.RemoveAllPoints();
}

void CZevButton::ReleaseFaces() {
  ReleaseBitmap(m_hFlatBitmap);
  ReleaseBitmap(m_hFocusBitmap);
  ReleaseBitmap(m_hSelectedBitmap);
}

void CZevButton::ReleaseStateLists() {
  for (HBITMAP& b : m_phStateBitmaps) ReleaseBitmap(b);
  for (HBITMAP& b : m_phStateFocusBitmaps) ReleaseBitmap(b);
  m_phStateBitmaps.clear();
  m_phStateFocusBitmaps.clear();
}

void CZevButton::PreSubclassWindow() {
  ost::Button::PreSubclassWindow();
  ModifyStyle(0, BS_OWNERDRAW);
}

int CZevButton::LoadButtonBitmap(const char* file, uint16_t style) {
  ReleaseStateLists();
  m_wStateCount = 0;
  m_phStateBitmaps.assign(1, LoadFace(file));
  if (m_phStateBitmaps[0] == nullptr) {
    DebugTrace("CZevButton::LoadButtonBitmap : load the m_hFocusBitmap image is failed \n");
    return 0;
  }
  m_wStyle = style;
  return 1;
}

int CZevButton::LoadButtonBitmap(uint16_t count, const char* const (*files)[2], uint16_t style) {
  ReleaseStateLists();
  m_wStateCount = count;
  m_phStateBitmaps.assign(count, nullptr);
  m_phStateFocusBitmaps.assign(count, nullptr);
  for (uint16_t i = 0; i < count; ++i) {
    m_phStateBitmaps[i] = files != nullptr ? LoadFace(files[i][0]) : nullptr;
    if (m_phStateBitmaps[i] == nullptr) {
      DebugTrace("CZevButton::LoadButtonBitmap : load the m_hFocusBitmap image is failed \n");
      return 0;
    }
    m_phStateFocusBitmaps[i] = LoadFace(files[i][1]);
    if (m_phStateFocusBitmaps[i] == nullptr) {
      DebugTrace("CZevButton::LoadButtonBitmap : load the m_hFocusBitmap image is failed \n");
      return 0;
    }
  }
  // A shorter list than before must not leave the current state past its end.
  if (m_wState >= m_wStateCount) m_wState = 0;
  m_wStyle = style;
  return 1;
}

int CZevButton::LoadButtonBitmap(const char* flat, const char* focus, const char* selected,
                                 uint16_t style) {
  ReleaseFaces();
  m_hFlatBitmap = LoadFace(flat);
  if (m_hFlatBitmap == nullptr) {
    DebugTrace("CZevButton::LoadButtonBitmap : load the m_hFlatBitmap image is failed \n");
    return 0;
  }
  m_hFocusBitmap = LoadFace(focus);
  if (m_hFocusBitmap == nullptr) {
    DebugTrace("CZevButton::LoadButtonBitmap : load the m_hFocusBitmap image is failed \n");
    return 0;
  }
  m_hSelectedBitmap = LoadFace(selected);
  if (m_hSelectedBitmap == nullptr) {
    DebugTrace("CZevButton::LoadButtonBitmap : load the m_hSelectedBitmap image is failed \n");
    return 0;
  }
  m_wStyle = style;
  return 1;
}

HBITMAP CZevButton::StateFace(bool mouseOver) const {
  const std::vector<HBITMAP>& faces = mouseOver ? m_phStateFocusBitmaps : m_phStateBitmaps;
  return m_wState < faces.size() ? faces[m_wState] : nullptr;
}

bool CZevButton::HoverStyle() const {
  return (m_wStyle & (kHover | kStateListClick | kPressHover | kStateListSet)) != 0;
}

void CZevButton::PaintFace(HBITMAP face) const {
  const RECT r = GetWindowRect();
  PaintFace(face, r.right - r.left, r.bottom - r.top);
}

void CZevButton::PaintFace(HBITMAP face, int width, int height) const {
  if (face == nullptr || m_hWnd == nullptr) return;
  ost::ClientDc dc(m_hWnd);
  if (dc.Get() == nullptr) return;
  ost::MemoryDc memory(dc.Get(), face);
  ::BitBlt(dc.Get(), 0, 0, width, height, memory.Get(), 0, 0, SRCCOPY);
}

int CZevButton::SetState(int position) {
  if (position == -1) return m_wState == 0 ? m_wStateCount - 1 : m_wState - 1;
  if (position >= 0 && position < m_wStateCount) m_wState = static_cast<uint16_t>(position);
  if (m_phStateBitmaps.empty()) return -1;
  PaintFace(StateFace(false));
  return 1;
}

void CZevButton::StepStateBack() {
  if (m_wStateCount == 0) return;
  m_wState = m_wState == 0 ? m_wStateCount - 1 : m_wState - 1;
  PaintFace(StateFace(false));
}

void CZevButton::SetFaceState(int state) {
  switch (state) {
    case 1:
      m_wState = 1;
      PaintFace(m_hFlatBitmap);
      break;
    case 2:
      m_wState = 2;
      PaintFace(m_hFocusBitmap);
      break;
    case 3:
      m_wState = 3;
      PaintFace(m_hSelectedBitmap);
      break;
    default:
      break;
  }
}

void CZevButton::SetRegionShape(int shape) {
  const RECT c = GetClientRect();
  m_Outline.Build(OutlineRect{c.left, c.top, c.right, c.bottom}, shape);
  HRGN region = nullptr;
  if (m_Outline.CreateLayerRegion(&region, 0)) SetWindowRgn(region, true);
}

void CZevButton::SetRegionFromOutline(const CButtonOutline& outline) {
  m_Outline.CopyFrom(outline);
  HRGN region = nullptr;
  if (m_Outline.CreateLayerRegion(&region, 0)) SetWindowRgn(region, true);
}

void CZevButton::DrawItem(DRAWITEMSTRUCT* item) {
  HBITMAP face = nullptr;
  if (m_wStyle & kSingleFace) {
    face = m_phStateBitmaps.empty() ? nullptr : m_phStateBitmaps[0];
  } else if (m_wStyle & kFixedThreeState) {
    face = m_wState == 1   ? m_hFlatBitmap
           : m_wState == 2 ? m_hFocusBitmap
           : m_wState == 3 ? m_hSelectedBitmap
                           : nullptr;
  } else if (m_wStyle & (kPress | kPressHover)) {
    face = m_bUp ? m_hFlatBitmap : m_hSelectedBitmap;
  } else if (m_wStyle & kThreeStateCycle) {
    face = m_wState == 0   ? m_hFlatBitmap
           : m_wState == 1 ? m_hFocusBitmap
           : m_wState == 2 ? m_hSelectedBitmap
                           : nullptr;
  } else if (m_wStyle & (kStateListClick | kStateListSet)) {
    face = StateFace(false);
  } else {
    face = m_bUp ? m_hFlatBitmap : m_hSelectedBitmap;
  }
  PaintFace(face, item->rcItem.right - item->rcItem.left, item->rcItem.bottom - item->rcItem.top);
}

void CZevButton::OnMouseMove(UINT, POINT point) {
  Default();
  if (m_bHover || !HoverStyle()) return;
  const RECT r = GetWindowRect();
  const int width = r.right - r.left;
  const int height = r.bottom - r.top;
  if (point.x < 0 || point.x > width - 1 || point.y < 0 || point.y > height - 1) return;
  TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, m_hWnd, HOVER_DEFAULT};
  ::TrackMouseEvent(&track);
  m_bHover = 1;
  PaintFace((m_wStyle & (kStateListClick | kStateListSet)) ? StateFace(true) : m_hFocusBitmap);
}

LRESULT CZevButton::OnMouseLeave(WPARAM, LPARAM) {
  if (!m_bHover || !HoverStyle()) return 0;
  m_bHover = 0;
  PaintFace((m_wStyle & (kStateListClick | kStateListSet)) ? StateFace(false) : m_hFlatBitmap);
  return 0;
}

void CZevButton::OnLButtonDown(UINT, POINT) {
  DebugTrace("Enter CZevButton::OnLButtonDown function \n");
  if (m_wStyle & (kPress | kPressHover)) {
    if (m_bUp) TogglePressed();
  } else if (m_wStyle & kThreeStateCycle) {
    StepThreeState();
  } else if (m_wStyle & kStateListClick) {
    StepState();
  }
  Default();
}

void CZevButton::OnLButtonUp(UINT, POINT) {
  DebugTrace("Enter CZevButton::OnLButtonUp function \n");
  if ((m_wStyle & (kPress | kPressHover)) && !m_bUp) TogglePressed();
  Default();
}

void CZevButton::OnSetFocus(HWND) {
  Default();
}

void CZevButton::OnKillFocus(HWND) {
  Default();
}

void CZevButton::TogglePressed() {
  m_bUp = m_bUp ? 0 : 1;
  PaintFace(m_bUp ? m_hFlatBitmap : m_hSelectedBitmap);
}

void CZevButton::StepThreeState() {
  switch (m_wState) {
    case 0:
      m_wState = 1;
      PaintFace(m_hFocusBitmap);
      break;
    case 1:
      m_wState = 2;
      PaintFace(m_hSelectedBitmap);
      break;
    case 2:
      m_wState = 0;
      PaintFace(m_hFlatBitmap);
      break;
    default:
      break;
  }
}

void CZevButton::StepState() {
  m_wState = (m_wState + 1 < m_wStateCount) ? static_cast<uint16_t>(m_wState + 1) : 0;
  PaintFace(StateFace(false));
}
