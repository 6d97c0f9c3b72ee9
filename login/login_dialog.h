// The login window: the program's first window, a small skinned window without caption in
// which the user types the device's address, web port, user name and password and logs in.
// It also opens the device tools that work before a login (address book, device search,
// player, program copy and, for an administrator, the firmware upgrade).
#pragma once

#include <windows.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "ui/zev_button.h"
#include "platform/dialog.h"
#include "platform/gdi.h"
#include "platform/tooltip.h"

struct LoginAttempt;

class LoginDialog : public ost::Dialog {
 public:
  static constexpr UINT kTemplateId = 302;
  // Controls of the template.
  static constexpr int kEditUser = 1040;
  static constexpr int kEditServer = 1042;
  static constexpr int kEditPassword = 1043;
  static constexpr int kEditPort = 1044;
  static constexpr int kEditBitRate = 1376;
  // Buttons made at run time.
  static constexpr int kAddressButton = 8440;
  static constexpr int kSearchButton = 8441;
  static constexpr int kPlayerButton = 8442;
  static constexpr int kCopyButton = 8443;
  static constexpr int kConnectButton = 8444;
  static constexpr int kCancelButton = 8445;
  static constexpr int kUpgradeFirmwareButton = 8527;

  static constexpr int kToolButtonCount = 7;
  static constexpr int kLabelButtonCount = 4;
  static constexpr int kSkinBitmapCount = 11;
  static constexpr int kDigitBitmapCount = 11;
  // Paint rectangles (left, top, right, bottom), window pixels.
  struct PaintRect {
    int16_t left, top, right, bottom;
    RECT ToRect() const { return RECT{left, top, right, bottom}; }
  };

  explicit LoginDialog(HWND parent);
  ~LoginDialog() override;

  // The newest "*.qdx" of the record folder in upper case, or empty.
  static std::string FindNewestRecordFile();

  // Texts of the edit boxes.
  std::string m_strEditUser;
  std::string m_strEditPassword;
  std::string m_strEditServer;
  std::string m_strEditPort;
  std::string m_strEditBitRate;
  int32_t m_iPortValue = 0;

  HANDLE m_hLoginThread = nullptr;
  DWORD m_dwLoginThreadId = 0;
  HANDLE m_hAnimateThread = nullptr;
  DWORD m_dwAnimateThreadId = 0;
  HANDLE m_hLoginEvent = nullptr;

  int32_t m_fShowStatus = 0;
  std::string m_strStatusText;
  std::atomic<int32_t> m_fAnimating{0};
  uint8_t m_byAnimStep = 0;

  std::unique_ptr<ost::ToolTip> m_pToolTip;
  std::array<ost::Bitmap, kSkinBitmapCount> m_SkinBitmaps;
  std::array<ost::Bitmap, kDigitBitmapCount> m_DigitBitmaps;
  std::array<CZevButton, kToolButtonCount> m_ToolButtons;
  std::array<CZevButton, kLabelButtonCount> m_LabelButtons;

  PaintRect m_rcWindow, m_rcLeftTop, m_rcRightTop, m_rcLeftDown, m_rcRightDown, m_rcTopMiddle1,
      m_rcTopMiddle2;

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(ost::DataExchange& dx) override;
  bool PreTranslateMessage(MSG* msg) override;
  void OnPaint() override;
  void OnLButtonDown(UINT flags, POINT point) override;
  // Only a login ends the window with 1: a stray IDOK does nothing.
  void OnOK() override {}

  void OnAddressButton();
  void OnSearchButton();
  void OnPlayerButton();
  void OnCopyProgramButton();
  void OnConnectButton();
  void OnCancelButton();
  void OnUpgradeFirmwareButton();
  void OnChangePortEdit();
  LRESULT OnLoginFailed(WPARAM reason, LPARAM);
  LRESULT OnLoginAnimate(WPARAM, LPARAM);
  LRESULT OnLoginEnterKey(WPARAM, LPARAM);
  LRESULT OnLoginSuccess(WPARAM, LPARAM);

 private:
  bool LoadSkin();
  bool CreateButtons();
  RECT ProgressBarRect() const;
  // Ends the current attempt's threads: the animation at once, the login thread as soon as its
  // request in flight is cut short (a later attempt's thread waits for it; the destructor joins
  // it).
  void EndAttempt();
  void JoinAnimateThread();

  std::shared_ptr<LoginAttempt> m_pAttempt;
  bool m_fLoginRunning = false;  // a login thread of this window has not reported yet
};
