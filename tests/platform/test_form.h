// A dialog of the framework tests: every kind of exchanged value, a command, user messages,
// a timer, painting, colours, mouse and key handling, each counted.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>

#include "platform/controls.h"
#include "platform/dialog.h"
#include "platform/gdi.h"
#include "tests/platform/test_resource.h"

namespace ost_test {

constexpr UINT kEnterKeyMessage = WM_USER + 33;
constexpr UINT kSumMessage = WM_USER + 7;
constexpr UINT kPostedMessage = WM_USER + 8;
constexpr UINT kEndMessage = WM_USER + 9;

class TestForm : public ost::Dialog {
 public:
  explicit TestForm(HWND parent = nullptr) : ost::Dialog(IDD_TEST_FORM, parent) {
    MapCommand(IDC_TEST_APPLY, &TestForm::OnApply);
    MapNotify(IDC_TEST_NAME, EN_CHANGE, &TestForm::OnNameChange);
    MapMessage(kSumMessage, &TestForm::OnSum);
    MapMessage(kPostedMessage, &TestForm::OnPosted);
    MapMessage(kEnterKeyMessage, &TestForm::OnEnterKey);
    MapMessage(kEndMessage, [this](WPARAM wp, LPARAM) -> LRESULT {
      EndDialog(static_cast<INT_PTR>(wp));
      return 0;
    });
  }

  // Exchanged values.
  std::string name = "alpha";
  int number = -12;
  uint16_t port = 80;
  std::string limited = "abc";
  int check = 1;
  int comboIndex = 1;

  // What happened.
  std::atomic<HWND> createdWindow{nullptr};
  int initCalls = 0;
  int applyClicks = 0;
  int nameChanges = 0;
  int postedCalls = 0;
  LPARAM postedValue = 0;
  int enterKeys = 0;
  int timerTicks = 0;
  int paints = 0;
  int staticColours = 0;
  int leftClicks = 0;
  POINT lastClick{};
  ost::Brush labelBrush = ost::SolidBrush(RGB(1, 2, 3));

 protected:
  BOOL OnInitDialog() override {
    ++initCalls;
    ost::ComboBox combo;
    combo.Attach(GetDlgItem(IDC_TEST_COMBO));
    for (const char* item : {"zero", "one", "two"}) combo.AddString(item);
    combo.Detach();
    BOOL result = ost::Dialog::OnInitDialog();
    createdWindow = m_hWnd;
    return result;
  }

  void DoDataExchange(ost::DataExchange& dx) override {
    dx.Text(IDC_TEST_NAME, name);
    dx.Text(IDC_TEST_NUMBER, number);
    dx.Text(IDC_TEST_PORT, port);
    dx.Text(IDC_TEST_LIMITED, limited, 5);
    dx.Check(IDC_TEST_CHECK, check);
    dx.ComboIndex(IDC_TEST_COMBO, comboIndex);
  }

  bool PreTranslateMessage(MSG* msg) override {
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) {
      Post(kEnterKeyMessage);
      return true;
    }
    return ost::Dialog::PreTranslateMessage(msg);
  }

  void OnPaint() override {
    ++paints;
    ost::PaintDc dc(m_hWnd);
  }

  void OnTimer(UINT_PTR id) override {
    if (id == 1) ++timerTicks;
  }

  HBRUSH OnCtlColor(HDC dc, HWND control, UINT type) override {
    if (type == WM_CTLCOLORSTATIC && control == GetDlgItem(IDC_TEST_LABEL)) {
      ++staticColours;
      return labelBrush.Get();
    }
    return ost::Dialog::OnCtlColor(dc, control, type);
  }

  void OnLButtonDown(UINT flags, POINT point) override {
    ++leftClicks;
    lastClick = point;
    ost::Dialog::OnLButtonDown(flags, point);
  }

 private:
  void OnApply() { ++applyClicks; }
  void OnNameChange() { ++nameChanges; }
  LRESULT OnSum(WPARAM wp, LPARAM lp) { return static_cast<LRESULT>(wp) + lp; }
  LRESULT OnPosted(WPARAM, LPARAM lp) {
    ++postedCalls;
    postedValue = lp;
    return 0;
  }
  LRESULT OnEnterKey(WPARAM, LPARAM) {
    ++enterKeys;
    return 0;
  }
};

}  // namespace ost_test
