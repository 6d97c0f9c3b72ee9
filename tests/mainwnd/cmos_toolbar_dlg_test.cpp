// The camera-sensor toolbar against the device simulator: clicks send zoom and rotate for the
// reported state, the buttons follow WM_CMOSSTATE, a failed command says so, the keyboard cannot
// close it, and it opens beside the main window and follows it.
#include <winsock2.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/app_data.h"
#include "mainwnd/cmos_toolbar_dlg.h"
#include "net/local_ip.h"
#include "program/program_objects.h"
#include "platform/message_loop.h"
#include "tests/support/device_login.h"
#include "tests/support/devsim_child.h"
#include "tests/support/text_file.h"
#include "tests/support/win_process.h"
#include "tests/support/window_capture.h"
#include "ui/zev_button.h"

namespace ts = testsupport;

namespace {

void Pump() {
  MSG m;
  while (::PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) ost::ProcessMessage(m);
}

LRESULT CALLBACK MainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  return ::DefWindowProcA(hwnd, msg, wp, lp);
}

class CmosToolBarTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    WSADATA wsa;
    ASSERT_EQ(::WSAStartup(MAKEWORD(1, 1), &wsa), 0);
    char local[16] = {};
    GetLocalIpString(local, sizeof local);
    g_strLocalIPAddress = local;
    WNDCLASSA wc{};
    wc.lpfnWndProc = MainProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "CmosToolBarTestMain";
    wc.hbrBackground = ::CreateSolidBrush(RGB(0x30, 0x36, 0x3E));
    ::RegisterClassA(&wc);
  }

  void SetUp() override {
    // The skin lies beside the test, as beside the program.
    ASSERT_TRUE(::SetCurrentDirectoryA(ts::ThisExeFolder().c_str()));
    m_msgLog = m_folder.File("messages.txt");
    ::SetEnvironmentVariableA("OST_MSGBOX_LOG", m_msgLog.c_str());
    m_objects = std::make_unique<ProgramObjects>();
    g_lpApp = new APP_DATA(m_objects->Parts());
    std::strcpy(g_szCookie, "C0FFEE");
    ASSERT_TRUE(m_devsim.Start({"--product", "RZ8P", "--no-cookie-check"})) << m_devsim.error();
    ts::PointProgramSessionAt(static_cast<uint16_t>(m_devsim.port()));
    // A main window centred in the work area, as the main window opens.
    RECT work{};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    m_main = ::CreateWindowExA(0, "CmosToolBarTestMain", "main", WS_POPUP | WS_VISIBLE,
                               (work.right - work.left - kMainWidth) / 2,
                               (work.bottom - work.top - kMainHeight) / 2, kMainWidth, kMainHeight,
                               nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(m_main, nullptr);
  }

  void TearDown() override {
    g_lpApp->m_CmosToolBar.Close();
    ::DestroyWindow(m_main);
    m_devsim.Stop();
    delete g_lpApp;
    g_lpApp = nullptr;
    m_objects.reset();
    g_szCookie[0] = '\0';
    ::SetEnvironmentVariableA("OST_MSGBOX_LOG", nullptr);
  }

  CCmosToolBarDlg& ToolBar() { return g_lpApp->m_CmosToolBar; }
  HWND Window() { return ToolBar().GetSafeHwnd(); }

  void Open() {
    ASSERT_TRUE(ToolBar().OpenBeside(m_main));
    ASSERT_NE(Window(), nullptr);
    Pump();
  }

  // A click as the mouse makes it: down and up inside the button.
  void Click(int id) {
    HWND button = ::GetDlgItem(Window(), id);
    ASSERT_NE(button, nullptr) << id;
    ::SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(15, 15));
    ::SendMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(15, 15));
    Pump();
  }

  void Report(uint8_t state) {
    ToolBar().PostState(state);
    Pump();
  }

  // The faces the eight buttons show, as digits (views first).
  std::string Faces() {
    std::string out;
    for (const CmosButton& b : kCmosButtons) {
      auto* button = dynamic_cast<CZevButton*>(ost::Wnd::FromHandle(::GetDlgItem(Window(), b.id)));
      out += button != nullptr ? char('0' + button->m_wState) : '?';
    }
    return out;
  }

  // The targets sent since the last call.
  std::vector<std::string> Sent() {
    std::vector<std::string> out;
    const auto all = m_devsim.Requests();
    for (size_t i = m_seen; i < all.size(); ++i) out.push_back(all[i].target);
    m_seen = all.size();
    return out;
  }

  std::string Messages() const { return ts::ReadFileText(m_msgLog); }

  // The tool-tip text the toolbar's tool-tip holds for one of its buttons.
  std::string TipOf(int id) { return ts::ToolTipTextOf(Window(), ::GetDlgItem(Window(), id)); }

  static constexpr int kMainWidth = 730, kMainHeight = 600;
  ts::TempFolder m_folder{"cmos-toolbar"};
  std::string m_msgLog;
  ts::DevsimChild m_devsim;
  std::unique_ptr<ProgramObjects> m_objects;
  size_t m_seen = 0;
  HWND m_main = nullptr;
};

TEST_F(CmosToolBarTest, ClicksAskForTheOppositeOfTheReportedState) {
  Open();
  EXPECT_EQ(Faces(), "10000000");
  const std::string zoom = "/OV9653Zoom.cgi?Cookie=C0FFEE&MODE=";
  const std::string rotate = "/OV9653Rotate.cgi?Cookie=C0FFEE&";
  struct Case {
    uint8_t reported;  // the state the device reported before the click
    int button;
    std::string sent;
    const char* faces;  // after the click: still the reported state
  };
  const Case cases[] = {
      {0x00, 8603, zoom + "3", "10000000"},
      {0x00, 8606, rotate + "HR=1&VR=0", "10000000"},
      {0x00, 8607, rotate + "VR=1&HR=0", "10000000"},
      {0x03, 8600, zoom + "0", "00010000"},
      {0xC2, 8606, rotate + "HR=0&VR=1", "00100011"},
      {0xC2, 8607, rotate + "VR=0&HR=1", "00100011"},
      {0x45, 8605, zoom + "5", "00000101"},  // the view shown already: asked again
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "state " << int(c.reported) << ", button " << c.button);
    Report(c.reported);
    Click(c.button);
    EXPECT_EQ(Sent(), std::vector<std::string>{c.sent});
    EXPECT_EQ(Faces(), c.faces);
  }
  EXPECT_EQ(Messages(), "");
}

TEST_F(CmosToolBarTest, ButtonsFollowTheReportedState) {
  Open();
  struct Step {
    uint8_t reported;
    const char* faces;
  };
  const Step steps[] = {
      {0x03, "00010000"}, {0xC2, "00100011"}, {0x02, "00100000"},
      {0x45, "00000101"}, {0x8F, "00000010"},  // a view without a button: none lit
      {0x00, "10000000"},
  };
  for (const Step& s : steps) {
    Report(s.reported);
    EXPECT_EQ(Faces(), s.faces) << int(s.reported);
    if (s.reported == 0xC2 && !ts::ScreenshotFolder().empty()) {
      ::RedrawWindow(Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
      ost::PumpMessagesUntil([] { return false; }, 300);  // the drawing through to the screen
      EXPECT_TRUE(ts::SaveWindowImage(Window(), ts::ScreenshotFolder() + "cmos_toolbar.bmp"));
    }
  }
  EXPECT_TRUE(Sent().empty());
  EXPECT_EQ(TipOf(8603), "Zoom Left-bottom Quad Frame");
  EXPECT_EQ(TipOf(8607), "Vertical rotate");
}

TEST_F(CmosToolBarTest, AFlipReportedOnTurnsTheNextClickAround) {
  Open();
  Click(8604);
  Click(8606);
  EXPECT_EQ(Sent(), (std::vector<std::string>{"/OV9653Zoom.cgi?Cookie=C0FFEE&MODE=4",
                                              "/OV9653Rotate.cgi?Cookie=C0FFEE&HR=1&VR=0"}));
  EXPECT_EQ(Faces(), "10000000");
  Report(0x84);
  EXPECT_EQ(Faces(), "00001010");
  Click(8606);  // now asks to turn the flip off again
  EXPECT_EQ(Sent(), std::vector<std::string>{"/OV9653Rotate.cgi?Cookie=C0FFEE&HR=0&VR=0"});
}

TEST_F(CmosToolBarTest, FailedCommandSaysSoAndChangesNothing) {
  Open();
  Report(0x41);
  ASSERT_NE(m_devsim.Control("/_devsim/fault?name=status&code=500&path=/OV9653Zoom.cgi"), "");
  ASSERT_NE(m_devsim.Control("/_devsim/fault?name=drop&path=/OV9653Rotate.cgi"), "");
  Click(8602);
  Click(8607);
  EXPECT_EQ(Messages(), "Send command timeout\nSend command timeout\n");
  EXPECT_EQ(Sent().size(), 2u);
  EXPECT_EQ(Faces(), "01000001");
  EXPECT_EQ(ToolBar().State().byViewMode, 1);
  EXPECT_EQ(ToolBar().State().bVerticalFlip, 1);
}

TEST_F(CmosToolBarTest, EnterAndEscapeDoNothing) {
  Open();
  HWND window = Window();
  HWND button = ::GetDlgItem(window, 8601);
  ::SetFocus(button);
  for (WPARAM key : {WPARAM(VK_RETURN), WPARAM(VK_ESCAPE)}) {
    ::PostMessageA(button, WM_KEYDOWN, key, 0);
    ::PostMessageA(button, WM_KEYUP, key, 0);
    Pump();
  }
  // Nor do the commands the dialog manager would make of them.
  ::SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  ::SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  Pump();
  EXPECT_TRUE(::IsWindow(window));
  EXPECT_TRUE(::IsWindowVisible(window));
  EXPECT_TRUE(Sent().empty());
}

TEST_F(CmosToolBarTest, OpensBesideTheMainWindowAndFollowsIt) {
  Open();
  RECT main{}, bar{};
  ::GetWindowRect(m_main, &main);
  ::GetWindowRect(Window(), &bar);
  EXPECT_EQ(bar.left, main.left - 43);
  EXPECT_EQ(bar.top, main.top);
  EXPECT_EQ(bar.right - bar.left, kCmosToolBarWidth);
  EXPECT_EQ(bar.bottom - bar.top, kCmosToolBarHeight);
  EXPECT_EQ(::GetWindow(Window(), GW_OWNER), m_main);
  EXPECT_TRUE(::IsWindowVisible(Window()));

  ::MoveWindow(m_main, 300, 120, kMainWidth, kMainHeight, TRUE);
  ToolBar().FollowMainWindow(m_main);
  ::GetWindowRect(Window(), &bar);
  EXPECT_EQ(bar.left, 300 - kCmosToolBarWidth + 2);
  EXPECT_EQ(bar.top, 120);
  EXPECT_EQ(bar.right - bar.left, kCmosToolBarWidth);

  // Opening again keeps the one window; after the main window's end a new one is made.
  HWND first = Window();
  ASSERT_TRUE(ToolBar().OpenBeside(m_main));
  EXPECT_EQ(Window(), first);
  ToolBar().Close();
  EXPECT_FALSE(::IsWindow(first));
  EXPECT_EQ(Window(), nullptr);
  ToolBar().PostState(0x03);  // no window: nothing to post to
  Open();
  EXPECT_NE(Window(), nullptr);
}

}  // namespace
