#include "mainwnd/color_adjust_dlg.h"

#include <commctrl.h>

#include <string>

#include "app/app_data.h"
#include "net/cgi_command_table.h"
#include "net/cgi_param_list.h"
#include "net/device_session.h"
#include "net/voroz_send_command.h"
#include "platform/message_box.h"
#include "platform/strings.h"
#include "res/resource.h"
#include "ui/dark_skin.h"

namespace {

// The body is the skin's dialog body, from the title bar to the bottom frame line.
constexpr COLORREF kInterior = ost::skin::kBody;
constexpr COLORREF kTitleText = ost::skin::kText;
constexpr int kBottomTop = 183, kTitleBottom = 32, kSideWidth = 10;
constexpr int kPageSize = 10;
constexpr int kMinusLabel = 2781, kPlusLabel = 2784;  // three of each, top to bottom

const char* const kFrameFiles[] = {
    "BMP\\TitleLeft.bmp",    "BMP\\TilteBar_ess.bmp",  "BMP\\TitleRight.bmp",
    "BMP\\LeftSide_ess.bmp", "BMP\\RightSide_ess.bmp", "BMP\\BottomLeft.bmp",
    "BMP\\Bottom_ess.bmp",   "BMP\\BottomRight.bmp",   "BMP\\Player_Logo.bmp",
};

struct Row {
  int slider, edit, icon;
  const char* iconFile;
  int y;
};
constexpr Row kRows[] = {
    {CColorAdjustDlg::kBrightnessSlider, CColorAdjustDlg::kBrightnessEdit,
     CColorAdjustDlg::kBrightnessIcon, "BMP\\Dialog_Brightness.bmp", 47},
    {CColorAdjustDlg::kContrastSlider, CColorAdjustDlg::kContrastEdit,
     CColorAdjustDlg::kContrastIcon, "BMP\\Dialog_Contrast.bmp", 87},
    {CColorAdjustDlg::kHueSlider, CColorAdjustDlg::kHueEdit, CColorAdjustDlg::kHueIcon,
     "BMP\\Dialog_Hue.bmp", 127},
};

// "/SetColor.cgi" to the logged-in device: contrast, brightness and hue as decimal numbers.
bool SendSetColor(const ColorValues& device) {
  CGIParamList request(kCgiSetColor);
  if (g_szCookie[0] != '\0') request.AddParam("Cookie", g_szCookie);
  request.AddParamInt("CON", device.contrast);
  request.AddParamInt("BRI", device.brightness);
  request.AddParamInt("HUE", device.hue);
  CgiReplyStatus status{};
  CgiRequest send = CgiRequest::Of(request);
  send.status = &status;
  return VorozSendCommand(send, ProgramDeviceSession()) != 0;
}

std::string ItemText(HWND dialog, int id) {
  char text[32] = {};
  ::GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

}  // namespace

CColorAdjustDlg::CColorAdjustDlg(HWND parent, ColorFamily family, Sender sender)
    : ost::Dialog(kTemplateId, parent), m_family(family), m_send(std::move(sender)) {
  if (!m_send) m_send = SendSetColor;
  MapCommand(kDefaultButton, &CColorAdjustDlg::OnDefault);
  MapCommand(kCloseButton, &CColorAdjustDlg::OnClose);
  for (const Row& r : kRows) {
    const int edit = r.edit;
    MapNotify(edit, EN_CHANGE, [this, edit] { OnEditChange(edit); });
  }
  MapNotify(kSaturationEdit, EN_CHANGE, [this] { OnEditChange(kSaturationEdit); });
  MapMessage(WM_HSCROLL, &CColorAdjustDlg::OnHScroll);
  SetSkin(&ost::DarkDialogSkin());
}

CColorAdjustDlg::~CColorAdjustDlg() {
  // The buttons and the tooltip are children of the window: they go before it does.
  if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) ::DestroyWindow(UnsubclassWindow());
}

void CColorAdjustDlg::DoDataExchange(ost::DataExchange& dx) {
  dx.Text(kBrightnessEdit, m_nBrightness);
  dx.Text(kContrastEdit, m_nContrast);
  dx.Text(kHueEdit, m_nHue);
  dx.Text(kSaturationEdit, m_nSaturation);
}

BOOL CColorAdjustDlg::OnInitDialog() {
  ost::Dialog::OnInitDialog();
  ::SetWindowTextA(m_hWnd, "Color Adjust");
  RECT work{};
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  MoveWindow(work.left + (work.right - work.left - kWidth) / 2,
             work.top + (work.bottom - work.top - kHeight) / 2, kWidth, kHeight);
  ost::Region region = ost::RoundRectRegion(RECT{0, 0, kWidth, kHeight}, 5, 5);
  if (region && SetWindowRgn(region.Get(), true)) region.Release();
  // Without its frame or its tooltip the dialog does not open.
  for (int i = 0; i < kFrameCount; ++i) {
    if (!m_frame[i].LoadFromFile(kFrameFiles[i])) {
      EndDialog(-1);
      return FALSE;
    }
  }

  m_pToolTip = std::make_unique<ost::ToolTip>();
  if (!m_pToolTip->Create(m_hWnd, TTS_ALWAYSTIP)) {
    m_pToolTip.reset();
    EndDialog(-1);
    return FALSE;
  }
  ost::SkinToolTip(m_pToolTip->GetSafeHwnd());
  CreateButtons();

  for (const Row& r : kRows) {
    if (HWND slider = GetDlgItem(r.slider)) {
      ::MoveWindow(slider, 60, r.y, 150, 20, TRUE);
      ::SendMessageA(slider, TBM_SETRANGE, TRUE, MAKELPARAM(0, 255));
      ::SendMessageA(slider, TBM_SETPAGESIZE, 0, kPageSize);
      ::SendMessageA(slider, TBM_SETTICFREQ, 1, 0);
    }
    if (HWND edit = GetDlgItem(r.edit)) ::MoveWindow(edit, 240, r.y, 40, 20, TRUE);
  }
  for (int i = 0; i < 3; ++i) {
    if (HWND minus = GetDlgItem(kMinusLabel + i)) ::MoveWindow(minus, 50, kRows[i].y, 8, 20, TRUE);
    if (HWND plus = GetDlgItem(kPlusLabel + i)) ::MoveWindow(plus, 215, kRows[i].y, 10, 20, TRUE);
  }
  for (int hidden : {kSaturationSlider, kSaturationEdit})
    if (HWND item = GetDlgItem(hidden)) ::ShowWindow(item, SW_HIDE);

  const ColorValues shown = ShownColors(m_family, {m_nDevBrightness, m_nDevContrast, m_nDevHue},
                                        {m_nBrightness, m_nContrast, m_nHue});
  m_nBrightness = shown.brightness;
  m_nContrast = shown.contrast;
  m_nHue = shown.hue;
  m_nBrightnessPos = m_nBrightness;
  m_nContrastPos = m_nContrast;
  m_nHuePos = m_nHue;
  m_nSaturationPos = m_nSaturation;
  Refresh();
  return TRUE;
}

bool CColorAdjustDlg::CreateButtons() {
  struct Skinned {
    CZevButton& button;
    int id;
    RECT rect;
    UINT face, over;
  };
  // Apply (id 1) sends and stays open; the button with id 2 closes, so it reads "OK".  One row
  // of equal buttons in the middle of the window (the bottom band is of one piece with the body).
  Skinned skinned[] = {
      {m_btnDefault, kDefaultButton, {24, 160, 104, 185}, 4212, 4213},
      {m_btnOK, IDOK, {112, 160, 192, 185}, 4210, 4211},
      {m_btnCancel, IDCANCEL, {200, 160, 280, 185}, 4208, 4209},
  };
  bool ok = true;
  for (Skinned& s : skinned) {
    HWND item = GetDlgItem(s.id);
    if (item == nullptr || !s.button.SubclassWindow(item)) {
      ok = false;
      continue;
    }
    ::MoveWindow(item, s.rect.left, s.rect.top, s.rect.right - s.rect.left,
                 s.rect.bottom - s.rect.top, TRUE);
    const std::string face = ost::LoadResString(s.face), over = ost::LoadResString(s.over);
    s.button.LoadButtonBitmap(face.c_str(), over.c_str(), over.c_str(), CZevButton::kPressHover);
  }
  const DWORD style = WS_CHILD | WS_VISIBLE | BS_OWNERDRAW;
  ok = m_btnClose.Create("", style, RECT{280, 8, 293, 21}, m_hWnd, kCloseButton) && ok;
  m_btnClose.LoadButtonBitmap("BMP\\Title_Bar_Close.bmp", "BMP\\Title_Bar_Close_a.bmp",
                              "BMP\\Title_Bar_Close_a.bmp", CZevButton::kPressHover);
  for (size_t i = 0; i < m_btnIcons.size(); ++i) {
    const Row& r = kRows[i];
    ok = m_btnIcons[i].Create("", style, RECT{15, r.y, 35, r.y + 20}, m_hWnd, r.icon) && ok;
    m_btnIcons[i].LoadButtonBitmap(r.iconFile, CZevButton::kSingleFace);
    m_pToolTip->AddTool(m_btnIcons[i].GetSafeHwnd(), static_cast<UINT>(r.icon));
  }
  return ok;
}

void CColorAdjustDlg::Refresh() {
  m_refreshing = true;
  const std::pair<int, int> sliders[] = {{kBrightnessSlider, m_nBrightnessPos},
                                         {kContrastSlider, m_nContrastPos},
                                         {kHueSlider, m_nHuePos},
                                         {kSaturationSlider, m_nSaturationPos}};
  for (const auto& [id, pos] : sliders)
    if (HWND slider = GetDlgItem(id)) ::SendMessageA(slider, TBM_SETPOS, TRUE, pos);
  UpdateData(false);
  m_refreshing = false;
}

void CColorAdjustDlg::OnOK() {
  UpdateData(true);
  const ColorValues device = DeviceColors(m_family, {m_nBrightness, m_nContrast, m_nHue},
                                          {m_nDevBrightness, m_nDevContrast, m_nDevHue});
  m_nDevBrightness = device.brightness;
  m_nDevContrast = device.contrast;
  m_nDevHue = device.hue;
  if (!m_send(device)) OstMessageBoxId(IDS_SEND_COMMAND_TIMEOUT);
}

void CColorAdjustDlg::OnDefault() {
  if (const std::optional<ColorValues> d = DefaultColors(m_family)) {
    m_nBrightness = m_nBrightnessPos = d->brightness;
    m_nContrast = m_nContrastPos = d->contrast;
    m_nHue = m_nHuePos = d->hue;
    m_nSaturation = m_nSaturationPos = 128;
  }
  Refresh();
}

void CColorAdjustDlg::OnClose() {
  EndDialog(IDCANCEL);
}

CColorAdjustDlg::Control CColorAdjustDlg::ControlOf(int id) {
  const Control controls[] = {
      {kBrightnessSlider, kBrightnessEdit, &m_nBrightnessPos, &m_nBrightness},
      {kContrastSlider, kContrastEdit, &m_nContrastPos, &m_nContrast},
      {kHueSlider, kHueEdit, &m_nHuePos, &m_nHue},
      {kSaturationSlider, kSaturationEdit, &m_nSaturationPos, &m_nSaturation}};
  for (const Control& c : controls)
    if (c.slider == id || c.edit == id) return c;
  return {};
}

LRESULT CColorAdjustDlg::OnHScroll(WPARAM wp, LPARAM lp) {
  HWND slider = reinterpret_cast<HWND>(lp);
  const Control c = ControlOf(slider != nullptr ? ::GetDlgCtrlID(slider) : 0);
  if (c.pos != nullptr) {
    const int position = static_cast<int>(::SendMessageA(slider, TBM_GETPOS, 0, 0));
    if (const std::optional<int> v = SliderScrollValue(LOWORD(wp), position)) {
      *c.pos = *c.value = *v;
      Refresh();
    }
  }
  return Default();
}

void CColorAdjustDlg::OnEditChange(int editId) {
  const Control c = ControlOf(editId);
  if (m_refreshing || c.pos == nullptr) return;
  const std::string text = ItemText(m_hWnd, editId);
  if (const std::optional<int> v = TypedColorValue(text)) *c.pos = *c.value = *v;
  if (std::to_string(*c.value) == text) {
    if (HWND slider = GetDlgItem(c.slider)) ::SendMessageA(slider, TBM_SETPOS, TRUE, *c.pos);
    return;
  }
  // The field shows the value it stands for; the caret stays at its end.
  Refresh();
  if (HWND edit = GetDlgItem(editId)) ::SendMessageA(edit, EM_SETSEL, 32, 32);
}

void CColorAdjustDlg::OnPaint() {
  ost::PaintDc paint(m_hWnd);
  HDC dc = paint.Get();
  const int right = kWidth - kSideWidth;
  ost::FillSolidRect(dc, RECT{kSideWidth, kTitleBottom, right, kBottomTop}, kInterior);
  const std::pair<Frame, RECT> pieces[] = {
      {kTitleLeft, {0, 0, kSideWidth, kTitleBottom}},
      {kTitleBar, {kSideWidth, 0, right, kTitleBottom}},
      {kTitleRight, {right, 0, kWidth, kTitleBottom}},
      {kLeftSide, {0, kTitleBottom, kSideWidth, kBottomTop}},
      {kRightSide, {right, kTitleBottom, kWidth, kBottomTop}},
      {kBottomLeft, {0, kBottomTop, kSideWidth, kHeight}},
      {kBottom, {kSideWidth, kBottomTop, right, kHeight}},
      {kBottomRight, {right, kBottomTop, kWidth, kHeight}},
      {kLogo, {10, 7, 31, 22}},
  };
  for (const auto& [index, target] : pieces)
    if (m_frame[index]) ost::StretchBitmap(dc, target, m_frame[index]);
  char title[64] = {};
  ::GetWindowTextA(m_hWnd, title, sizeof title);
  ost::DrawTextAt(dc, 38, 9, title, kTitleText, GetFont());
}

bool CColorAdjustDlg::PreTranslateMessage(MSG* msg) {
  if (m_pToolTip) m_pToolTip->RelayEvent(msg);
  return ost::Dialog::PreTranslateMessage(msg);
}

void CColorAdjustDlg::OnLButtonDown(UINT, POINT point) {
  Post(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(point.x, point.y));
  Default();
}
