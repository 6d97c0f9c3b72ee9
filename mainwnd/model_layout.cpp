#include "mainwnd/model_layout.h"

#include "mainwnd/main_window_rules.h"

#include "platform/load_string_pair.h"
#include "text/string_pair.h"
#include "ui/zev_button.h"
#include "platform/strings.h"
#include "platform/tooltip.h"

namespace {
constexpr DWORD kButtonStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW | BS_BITMAP;

RECT ToRect(const LayoutRect& r) {
  return {r.left, r.top, r.right, r.bottom};
}
}  // namespace

int CModelLayout::ApplyModelLayout(CZevButton* buttons, HWND parent, ost::ToolTip* toolTip,
                                   const std::string& productId, uint8_t multiChannel,
                                   uint8_t layoutClass) {
  ModelLayoutPlan plan;
  if (!PlanModelLayout(productId, multiChannel, &plan)) return 0;
  m_Plan = plan;
  m_pButtons = buttons;
  for (int i = 0; i < m_Plan.byButtonCount; ++i) {
    const MainButtonRecord& record = MainButtonTable[m_Plan.records[i]];
    CZevButton& b = m_pButtons[i];
    if (!b.GetSafeHwnd())
      b.Create("", kButtonStyle, ToRect(MainButtonRect(m_Plan, i, layoutClass)), parent,
               record.wControlId);
    if (toolTip) {
      if (record.dwFlag == 0x20) {
        char first[kStringPairBufferBytes], second[kStringPairBufferBytes];
        LoadStringPair(1005, first, second);
        toolTip->AddTool(b.GetSafeHwnd(), std::string(first));
      } else {
        toolTip->AddTool(b.GetSafeHwnd(), ost::LoadResString(record.wTipId));
      }
    }
  }
  return 1;
}

int CModelLayout::LoadButtonBitmaps(uint8_t accessClass) {
  if (!m_pButtons) return 1;
  for (int i = 0; i < m_Plan.byButtonCount; ++i) {
    const MainButtonRecord& record = MainButtonTable[m_Plan.records[i]];
    CZevButton& b = m_pButtons[i];
    const MainButtonFaces faces = FacesOfMainButton(record, accessClass);
    if (!faces.allowed) b.EnableWindow(false);
    if (faces.stateCount == 0) {
      b.LoadButtonBitmap(faces.names[0], faces.names[1], faces.names[2], record.byStyle);
    } else {
      const char* pairs[kMainButtonFaces / 2][2] = {};
      for (int s = 0; s < faces.stateCount; ++s) {
        pairs[s][0] = faces.names[2 * s];
        pairs[s][1] = faces.names[2 * s + 1];
      }
      b.LoadButtonBitmap(static_cast<uint16_t>(faces.stateCount), pairs, record.byStyle);
    }
  }
  return 1;
}

int CModelLayout::PlaceButtons(uint8_t layoutClass) {
  if (!m_pButtons) return 1;
  for (int i = 0; i < m_Plan.byButtonCount; ++i) {
    const LayoutRect r = MainButtonRect(m_Plan, i, layoutClass);
    m_pButtons[i].MoveWindow(r.left, r.top, r.Width(), r.Height(), false);
  }
  return 1;
}

int CModelLayout::ShowButtons(int show) {
  if (!m_pButtons || (show != 0 && show != 1)) return 1;
  for (int i = 0; i < m_Plan.byButtonCount; ++i) m_pButtons[i].ShowWindow(show ? SW_SHOW : SW_HIDE);
  return 1;
}

int CModelLayout::SetButtonStateByFlag(uint32_t flag, int state) {
  if (!m_pButtons) return 1;
  const int i = MainButtonIndexOfFlag(m_Plan, flag);
  if (i >= 0 && m_pButtons[i].GetSafeHwnd()) m_pButtons[i].SetState(state);
  return 1;
}

void CModelLayout::Detach() {
  m_pButtons = nullptr;
}
