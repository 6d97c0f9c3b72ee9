// The select-PTZ dialog on the display: the number it starts with, the buttons of a channel and
// of a PTZ unit, the three results, the tool-tip of ESC and the prompt for a missing number.
#include "mainwnd/select_ptz_dlg.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>

#include "platform/message_loop.h"
#include "tests/support/text_file.h"
#include "tests/support/win_process.h"
#include "tests/support/window_capture.h"

namespace ts = testsupport;

namespace {

void Pump() {
  MSG m;
  while (::PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&m);
    ::DispatchMessageA(&m);
  }
}

// The control's rectangle in its dialog's client coordinates.
RECT ItemRect(HWND dialog, int id) {
  RECT r{};
  HWND item = ::GetDlgItem(dialog, id);
  ::GetWindowRect(item, &r);
  ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

class SelectPtzDlgTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_msgLog = m_folder.File("messages.txt");
    ::SetEnvironmentVariableA("OST_MSGBOX_LOG", m_msgLog.c_str());
    // The recorder and a camera in the channel group, three PTZ units.
    m_list.Add(0, 0, 19, CDS_CHANNEL);
    m_list.Add(2400, 1, 11, CDS_CHANNEL);
    m_list.Add(2400, 3, 11, CDS_PTZ);
    m_list.Add(2400, 4, 18, CDS_PTZ);
    m_list.Add(2400, 5, 8, CDS_PTZ);
  }
  void TearDown() override {
    m_dialog.reset();
    ::SetEnvironmentVariableA("OST_MSGBOX_LOG", nullptr);
  }

  // Opens the dialog modelessly with the n-th unit of a group current.
  void Open(uint8_t group, uint8_t n, float scale = 1.0f) {
    ASSERT_EQ(m_list.MakeCurrent(group, n), 0);
    m_dialog = std::make_unique<CSelectPTZDlg>(nullptr, m_list, scale);
    ASSERT_TRUE(m_dialog->Create());
    ::ShowWindow(Window(), SW_SHOW);
    Pump();
  }
  HWND Window() const { return m_dialog->GetSafeHwnd(); }
  void Press(int id) {
    ::SendMessageA(Window(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(Window(), id)));
    Pump();
  }
  bool Visible(int id) const { return ::IsWindowVisible(::GetDlgItem(Window(), id)) != FALSE; }
  std::string Messages() const { return ts::ReadFileText(m_msgLog); }

  // The tool-tip text the dialog's tool-tip holds for a control.
  std::string TipOf(HWND control) { return ts::ToolTipTextOf(Window(), control); }

  void Screenshot(const char* name) {
    if (ts::ScreenshotFolder().empty()) return;
    // As the user sees it: the dialog active, its drawing through to the screen.
    ::SetForegroundWindow(Window());
    ::RedrawWindow(Window(), nullptr, nullptr,
                   RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    ost::PumpMessagesUntil([] { return false; }, 300);
    EXPECT_TRUE(ts::SaveWindowImage(Window(), ts::ScreenshotFolder() + name));
  }

  ts::TempFolder m_folder{"select-ptz"};
  std::string m_msgLog;
  C_ControlD m_list;
  std::unique_ptr<CSelectPTZDlg> m_dialog;
};

TEST_F(SelectPtzDlgTest, StartsFromTheCurrentUnitWithItsButtons) {
  struct Case {
    const char* name;
    uint8_t group, n;
    float scale;
    const char* number;
    bool esc;
    RECT cancel;  // for a channel device; empty: where the template puts it
    const char* screenshot;
  };
  const Case cases[] = {
      {"second PTZ unit", CDS_PTZ, 1, 1.0f, "2", true, {}, "select_ptz.bmp"},
      {"the recorder",
       CDS_CHANNEL,
       0,
       1.0f,
       "1",
       false,
       {172, 42, 270, 79},
       "select_ptz_channel.bmp"},
      {"a camera channel, larger screen",
       CDS_CHANNEL,
       1,
       1.25f,
       "2",
       false,
       {215, 52, 337, 98},
       nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Open(c.group, c.n, c.scale);
    EXPECT_EQ(ts::WindowText(Window()), "Select PTZ device");
    EXPECT_EQ(ts::ItemText(Window(), CSelectPTZDlg::kNumberEdit), c.number);
    EXPECT_EQ(Visible(CSelectPTZDlg::kEscButton), c.esc);
    EXPECT_TRUE(Visible(IDOK));
    EXPECT_TRUE(Visible(IDCANCEL));
    const RECT cancel = ItemRect(Window(), IDCANCEL);
    if (c.esc) {
      // Three buttons in a row, none over another.
      const RECT ok = ItemRect(Window(), IDOK), esc = ItemRect(Window(), CSelectPTZDlg::kEscButton);
      EXPECT_EQ(ok.top, cancel.top);
      EXPECT_EQ(esc.top, cancel.top);
      EXPECT_LE(ok.right, cancel.left);
      EXPECT_LE(cancel.right, esc.left);
    } else {
      EXPECT_EQ(cancel.left, c.cancel.left);
      EXPECT_EQ(cancel.top, c.cancel.top);
      EXPECT_EQ(cancel.right, c.cancel.right);
      EXPECT_EQ(cancel.bottom, c.cancel.bottom);
      // Inside the dialog, as far from its right edge as OK is from its left one.
      RECT client{};
      ::GetClientRect(Window(), &client);
      const RECT ok = ItemRect(Window(), IDOK);
      EXPECT_GE(client.right - cancel.right, ok.left);
      EXPECT_GT(client.bottom, cancel.bottom);
    }
    EXPECT_EQ(m_dialog->m_hEscButton, ::GetDlgItem(Window(), CSelectPTZDlg::kEscButton));
    if (c.screenshot) Screenshot(c.screenshot);
    m_dialog.reset();
  }
}

TEST_F(SelectPtzDlgTest, ResultsForTheCaller) {
  struct Case {
    const char* name;
    int button;
    const char* typed;  // null: the number shown stays
    INT_PTR result;
    int selectNo;
  };
  const Case cases[] = {
      {"OK with the number shown", IDOK, nullptr, IDOK, 3},
      {"OK with a typed number", IDOK, "12", IDOK, 12},
      {"OK with a number out of range", IDOK, "17", IDOK, 17},  // the caller refuses it
      {"CANCEL", IDCANCEL, "5", IDCANCEL, 3},
      {"ESC, back to the control centre", CSelectPTZDlg::kEscButton, nullptr, 20, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Open(CDS_PTZ, 2);
    HWND window = Window();
    if (c.typed) ::SetDlgItemTextA(window, CSelectPTZDlg::kNumberEdit, c.typed);
    Press(c.button);
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(m_dialog->GetResult(), c.result);
    EXPECT_EQ(m_dialog->m_nSelectNo, c.selectNo);
    m_dialog.reset();
  }
  EXPECT_EQ(Messages(), "");
}

TEST_F(SelectPtzDlgTest, RunsModallyUntilEsc) {
  ASSERT_EQ(m_list.MakeCurrent(CDS_PTZ, 0), 0);
  CSelectPTZDlg dialog(nullptr, m_list, 1.0f);
  // The stand-in user presses ESC once the dialog shows it, and again while the dialog stays (a
  // command posted before the modal loop runs must not leave the test waiting).
  std::thread user([] {
    const DWORD start = ::GetTickCount();
    bool seen = false;
    while (::GetTickCount() - start < 60000) {
      const HWND found = ::FindWindowA(nullptr, "Select PTZ device");
      if (!found && seen) return;  // it ended
      const HWND esc = found ? ::GetDlgItem(found, CSelectPTZDlg::kEscButton) : nullptr;
      if (esc && ::IsWindowVisible(found) && ::IsWindowVisible(esc)) {
        seen = true;
        ::PostMessageA(found, WM_COMMAND, MAKEWPARAM(CSelectPTZDlg::kEscButton, BN_CLICKED),
                       reinterpret_cast<LPARAM>(esc));
      }
      ::Sleep(seen ? 500 : 20);
    }
  });
  EXPECT_EQ(dialog.DoModal(), 20);
  user.join();
}

TEST_F(SelectPtzDlgTest, EscTellsWhereItLeads) {
  Open(CDS_PTZ, 0);
  EXPECT_EQ(TipOf(m_dialog->m_hEscButton), "Back to control center");
  EXPECT_EQ(TipOf(::GetDlgItem(Window(), IDOK)), "");
}

TEST_F(SelectPtzDlgTest, OkWithoutANumberAsksForOneAndStaysOpen) {
  Open(CDS_PTZ, 0);
  ::SetDlgItemTextA(Window(), CSelectPTZDlg::kNumberEdit, "");
  Press(IDOK);
  EXPECT_EQ(Messages(), "Please enter an integer.\n");
  ASSERT_TRUE(::IsWindow(Window()));
  EXPECT_EQ(::GetFocus(), ::GetDlgItem(Window(), CSelectPTZDlg::kNumberEdit));
  ::SetDlgItemTextA(Window(), CSelectPTZDlg::kNumberEdit, "4");
  Press(IDOK);
  EXPECT_EQ(m_dialog->GetResult(), IDOK);
  EXPECT_EQ(m_dialog->m_nSelectNo, 4);
}

}  // namespace
