// Dialogs the program carries but nothing opens: the connecting wait box, the buzzer test
// popup, the MPEG4 stream setting, the information box and the empty address list.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "platform/dialog.h"
#include "platform/gdi.h"
#include "ui/zev_button.h"

// Signalled when the server has been detected; nothing in the program signals it.
HANDLE DetectServerEvent();

// "Connecting" with a growing row of dots until the server is detected (result 0); after the
// give-up time, or on Cancel, the program ends.
class CConnectingDlg : public ost::Dialog {
 public:
  static constexpr UINT kTemplateId = 156;
  static constexpr int kLabel = 1092;
  static constexpr int kCancelButton = 1197;
  static constexpr UINT_PTR kDotTimer = 1037;
  static constexpr UINT_PTR kGiveUpTimer = 1038;
  static constexpr UINT kIdsConnecting = 3029;
  static constexpr UINT kIdsCannotDetectServer = 4008;

  explicit CConnectingDlg(HWND parent);

  // How the program ends (the process by default); tests replace it.
  static void (*s_pfnEndProgram)(UINT exitCode);
  // The dots shown by the next tick, shared by every box of the run (1..11).
  static int s_nDotCount;

  int m_fDone = 0;
  int m_nUnused = 0;
  UINT m_uGiveUpMs = 20000;

 protected:
  BOOL OnInitDialog() override;
  void OnTimer(UINT_PTR id) override;
  HBRUSH OnCtlColor(HDC dc, HWND control, UINT type) override;

 private:
  void OnButtonCancel();
  ost::Brush m_backBrush;
};

// LONG BUZZER and SHORT BUZZER sound the device's buzzer through "/SetBuzzer.cgi"; a press
// first stops the buzzer the previous press started.
class CBuzzerTestDlg : public ost::Dialog {
 public:
  static constexpr UINT kTemplateId = 339;
  static constexpr int kLongButton = 1068;
  static constexpr int kShortButton = 1069;
  static constexpr int kMultiChannelCheck = 1468;
  static constexpr UINT kShowCheck = WM_USER + 3331;
  static constexpr UINT kHideCheck = WM_USER + 3332;
  static constexpr UINT kVideoConnected = WM_USER + 3333;
  static constexpr uint8_t kSetBuzzerCommand = 38;

  explicit CBuzzerTestDlg(HWND parent);

  int32_t m_fMultiChannelTest = 0;
  uint8_t m_byBuzzerState = 0;  // 0 none, 1 long, 2 short
  UINT_PTR m_uTimerId = 0;

  void OnLongBuzzer();
  void OnShortBuzzer();

 protected:
  BOOL OnInitDialog() override;
  void OnTimer(UINT_PTR id) override;
  void OnLButtonDown(UINT flags, POINT point) override;
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
  HBRUSH OnCtlColor(HDC dc, HWND control, UINT type) override;

 private:
  void OnMultiChannelTest();
  ost::Brush m_backBrush;
};

// Four numbers with their ranges; nothing reads them.
class CMpeg4StreamSettingDlg : public ost::Dialog {
 public:
  static constexpr UINT kTemplateId = 261;
  static constexpr int kBitRateField = 1041;
  static constexpr int kGopField = 1266;
  static constexpr int kWidthField = 1267;
  static constexpr int kHeightField = 1268;

  explicit CMpeg4StreamSettingDlg(HWND parent);

  uint32_t m_uTargetBitRate = 0;
  uint32_t m_uGOP = 0;
  uint32_t m_uImageWidth = 0;
  uint32_t m_uImageHeight = 0;

 protected:
  void DoDataExchange(ost::DataExchange& dx) override;
  // Each field in turn; the first that holds no number or lies outside its range is refused
  // with a prompt that names the range and takes the focus; the dialog stays open.
  void OnOK() override;
  HBRUSH OnCtlColor(HDC dc, HWND control, UINT type) override;

 private:
  ost::Brush m_backBrush;
};

// A 304 x 238 rounded box with the background, the logo, the version line and an OK button,
// centred in the work area and dragged from any point.
class CApplicationInfoDialog : public ost::Dialog {
 public:
  static constexpr UINT kTemplateId = 268;
  static constexpr int kWidth = 304;
  static constexpr int kHeight = 238;

  explicit CApplicationInfoDialog(HWND parent);
  ~CApplicationInfoDialog() override;

  HBITMAP m_hBackgroundBitmap = nullptr;
  BITMAP m_bmBackground{};
  HBITMAP m_hLogoBitmap = nullptr;
  BITMAP m_bmLogo{};
  std::string m_strVersion;
  CZevButton m_btnOK;

 protected:
  BOOL OnInitDialog() override;
  void OnPaint() override;
  void OnLButtonDown(UINT flags, POINT point) override;
};

// An empty shell around one list view.
class CAddressListDlg : public ost::Dialog {
 public:
  static constexpr UINT kTemplateId = 341;
  static constexpr int kList = 1470;
  explicit CAddressListDlg(HWND parent) : ost::Dialog(kTemplateId, parent) {}
};
