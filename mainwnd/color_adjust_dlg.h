// The colour-adjust dialog: brightness, contrast and hue of the device's picture on sliders and
// number fields, sent to the device with "/SetColor.cgi" each time Apply is pressed.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <memory>

#include "ui/zev_button.h"
#include "mainwnd/color_adjust.h"
#include "platform/dialog.h"
#include "platform/gdi.h"
#include "platform/tooltip.h"

class CColorAdjustDlg : public ost::Dialog {
 public:
  static constexpr UINT kTemplateId = 278;
  static constexpr int kBrightnessSlider = 1313, kSaturationSlider = 1314;
  static constexpr int kContrastSlider = 1315, kHueSlider = 1316;
  static constexpr int kBrightnessEdit = 1040, kContrastEdit = 1041, kHueEdit = 1042;
  static constexpr int kSaturationEdit = 1043;
  static constexpr int kDefaultButton = 1306, kCloseButton = 8300;
  static constexpr int kBrightnessIcon = 8523, kContrastIcon = 8524, kHueIcon = 8525;
  static constexpr int kWidth = 304, kHeight = 196;

  // Sends the device values; false when the device did not answer.  The default sends
  // "/SetColor.cgi" to the logged-in device.
  using Sender = std::function<bool(const ColorValues& device)>;

  CColorAdjustDlg(HWND parent, ColorFamily family, Sender sender = {});
  ~CColorAdjustDlg() override;

  int m_nBrightnessPos = 0, m_nContrastPos = 0, m_nHuePos = 0, m_nSaturationPos = 0;
  int m_nBrightness = 0, m_nContrast = 96, m_nHue = 0, m_nSaturation = 0;
  int m_nDevBrightness = 0, m_nDevContrast = 96, m_nDevHue = 0, m_nDevSaturation = 0;

  bool PreTranslateMessage(MSG* msg) override;

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;
  void DoDataExchange(ost::DataExchange& dx) override;
  void OnPaint() override;
  void OnLButtonDown(UINT flags, POINT point) override;

 private:
  enum Frame {
    kTitleLeft,
    kTitleBar,
    kTitleRight,
    kLeftSide,
    kRightSide,
    kBottomLeft,
    kBottom,
    kBottomRight,
    kLogo,
    kFrameCount
  };

  // A slider with its edit and the members behind them; null members for other ids.
  struct Control {
    int slider = 0, edit = 0;
    int* pos = nullptr;
    int* value = nullptr;
  };
  Control ControlOf(int id);

  void OnDefault();
  void OnClose();
  LRESULT OnHScroll(WPARAM wp, LPARAM lp);
  void OnEditChange(int editId);
  bool CreateButtons();
  // Members into the controls, without the edits' change notices feeding back.
  void Refresh();

  ColorFamily m_family;
  Sender m_send;
  std::array<ost::Bitmap, kFrameCount> m_frame;
  std::unique_ptr<ost::ToolTip> m_pToolTip;
  CZevButton m_btnOK, m_btnCancel, m_btnDefault, m_btnClose;
  std::array<CZevButton, 3> m_btnIcons;
  bool m_refreshing = false;
};
