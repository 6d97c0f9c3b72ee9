// The LAN device search dialog against the simulator's search responder, in the network
// namespace tests/support/search-netns makes (skipped anywhere else: it broadcasts).
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <atomic>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "app/app_data.h"
#include "net/device_session.h"
#include "tests/login/login_window_fixture.h"
#include "tests/support/window_capture.h"

namespace logintest {
namespace {

namespace ts = testsupport;
using L = LoginDialog;

// With OST_SCREENSHOT_DIR set, saves the window there as name.bmp.
void Screenshot(HWND window, const char* name) {
  const std::string folder = ts::ScreenshotFolder();
  if (!folder.empty()) ts::SaveWindowImage(window, folder + name + ".bmp");
}

const std::string kA =
    "type=83,mac=02:1a:2b:3c:4d:01,ip=10.77.0.20,mask=255.255.255.0,"
    "gateway=10.77.0.1,dns=10.77.0.1,port=80,user=admin,password=1234";
const std::string kB =
    "type=113,mac=02:1a:2b:3c:4d:02,ip=10.77.0.21,mask=255.255.255.0,"
    "gateway=10.77.0.1,dns=10.77.0.1,port=81";
const std::string kC =
    "type=200,mac=02:1a:2b:3c:ff:ff,ip=10.77.0.22,mask=255.255.255.0,"
    "gateway=10.77.0.1,dns=10.77.0.1,port=82,user=admin,password=1234,dhcp=1";
const std::string kD =
    "type=87,mac=02:1a:2b:3c:4d:04,ip=10.77.0.23,mask=255.255.255.0,"
    "gateway=10.77.0.1,dns=10.77.0.1,port=83,silent=1";

std::string Cell(HWND list, int row, int column) {
  char text[128] = {};
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  ::SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  return text;
}

std::vector<std::string> Rows(HWND dlg) {
  HWND list = ::GetDlgItem(dlg, 1093);
  std::vector<std::string> rows;
  const int n = static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  for (int r = 0; r < n; ++r) {
    std::string row;
    for (int c = 0; c < 5; ++c) {
      if (c != 0) row += '|';
      row += Cell(list, r, c);
    }
    rows.push_back(row);
  }
  return rows;
}

std::string Caption(HWND w) {
  char text[64] = {};
  ::GetWindowTextA(w, text, sizeof text);
  return text;
}

class DeviceSearch : public LoginWindowTest {
 protected:
  void SetUp() override {
    if (!std::getenv("OST_SEARCH_NETNS"))
      GTEST_SKIP() << "broadcasts: runs only inside tests/support/search-netns";
    LoginWindowTest::SetUp();
  }

  // Waits for the end of the search that is running (the list filled, the caption at rest).
  static bool WaitSearchEnd(HWND dlg, size_t rows) {
    return ts::WaitUntil(
        [&] {
          return Caption(dlg) == "Stop_Search" && Rows(dlg).size() == rows &&
                 ::IsWindowEnabled(::GetDlgItem(dlg, IDOK));
        },
        30000);
  }
  static void Select(HWND dlg, int row) {
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageA(::GetDlgItem(dlg, 1093), LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                   reinterpret_cast<LPARAM>(&item));
  }
  // Presses a set-up button and answers the authority dialog (none: cancels it).
  void SetUpWith(HWND dlg, int button, const char* user, const char* password) {
    const size_t boxes = MessageBoxes().size();
    ::PostMessageA(::GetDlgItem(dlg, button), BM_CLICK, 0, 0);
    if (HWND auth = WaitForOwnWindow("Confirm Authority", 10000)) {
      if (user) {
        ::SetDlgItemTextA(auth, 1040, user);
        ::SetDlgItemTextA(auth, 1043, password);
        Screenshot(auth, "confirm_authority");
        ::PostMessageA(::GetDlgItem(auth, IDOK), BM_CLICK, 0, 0);
      } else {
        ::PostMessageA(::GetDlgItem(auth, IDCANCEL), BM_CLICK, 0, 0);
      }
    }
    ts::WaitUntil([&] { return MessageBoxes().size() > boxes; }, 30000);
  }
  std::string LastBox() const {
    const auto boxes = MessageBoxes();
    return boxes.empty() ? "" : boxes.back();
  }
};

TEST_F(DeviceSearch, ListsMovesAndResetsDevicesAndHandsTheChoiceOver) {
  StartDevice(
      {"--search-device", kA, "--search-device", kB, "--search-device", kC, "--search-device", kD});
  g_lpApp->m_Settings.m_wLastMac1 = g_lpApp->m_Settings.m_wLastMac2 = 255;  // before any login
  OpenWindow();
  std::vector<std::string> first, afterApply, afterReset, boxes;
  std::string badAddressBox, typeBox, stage = "no dialog";
  Helper([&] {
    HWND dlg = WaitForOwnWindow("SEARCH", 30000);
    if (!dlg && !(dlg = WaitForOwnWindowWithItem(1093, 1000))) return;
    stage = "first search";
    const bool firstEnded = WaitSearchEnd(dlg, 4);
    first = Rows(dlg);
    if (!firstEnded) return;
    Select(dlg, 3);
    ::RedrawWindow(dlg, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Screenshot(dlg, "device_search");
    stage = "set-up";

    Select(dlg, 2);  // B, a network DVR: no set-up
    SetUpWith(dlg, 1095, nullptr, nullptr);
    typeBox = LastBox();

    Select(dlg, 3);  // A
    ::SetDlgItemTextA(dlg, 1096, "10.77.0.300");
    SetUpWith(dlg, 1095, "admin", "1234");
    badAddressBox = LastBox();
    ::SetDlgItemTextA(dlg, 1096, "10.77.0.30");
    ::SetDlgItemTextA(dlg, 1097, "8080");
    SetUpWith(dlg, 1095, "admin", "wrong");
    SetUpWith(dlg, 1095, "admin", "1234");
    Select(dlg, 1);  // C: DHCP
    SetUpWith(dlg, 1101, "admin", "1234");
    Select(dlg, 0);  // D: never answers a set-up
    SetUpWith(dlg, 1101, "revuv", "revuv");

    ::PostMessageA(::GetDlgItem(dlg, 1094), BM_CLICK, 0, 0);
    ts::WaitUntil([&] { return Caption(dlg) != "Stop_Search"; }, 5000);
    stage = "second search";
    if (!WaitSearchEnd(dlg, 4)) return;
    afterApply = Rows(dlg);
    stage = "reset";

    Select(dlg, 3);  // A at its new address: back to the factory settings
    SetUpWith(dlg, 1101, "admin", "1234");
    ::PostMessageA(::GetDlgItem(dlg, 1094), BM_CLICK, 0, 0);
    ts::WaitUntil([&] { return Caption(dlg) != "Stop_Search"; }, 5000);
    stage = "third search";
    if (!WaitSearchEnd(dlg, 4)) return;
    afterReset = Rows(dlg);
    stage = "ok";

    ::PostMessageA(dlg, WM_KEYDOWN, VK_ESCAPE, 0);  // swallowed
    Select(dlg, 2);
    ::PostMessageA(::GetDlgItem(dlg, IDOK), BM_CLICK, 0, 0);
  });
  Click(L::kSearchButton);
  const bool handedOver = PumpUntil([&] { return Text(L::kEditServer) == "10.77.0.21"; }, 120000);
  JoinHelpers();
  ASSERT_TRUE(handedOver) << stage << "\n"
                          << ::testing::PrintToString(first) << "\n"
                          << ::testing::PrintToString(MessageBoxes()) << "\n"
                          << m_device.StderrText();

  EXPECT_EQ(first, (std::vector<std::string>{
                       "10.77.0.23|02:1a:2b:3c:4d:04|83|16CH MPEG4 DVR|",
                       "10.77.0.22|02:1a:2b:3c:ff:ff|82|Video Server|PREVIOUS",
                       "10.77.0.21|02:1a:2b:3c:4d:02|81|4CH NETWORK DVR|",
                       "10.77.0.20|02:1a:2b:3c:4d:01|80|4CH MPEG4 DVR|",
                   }));
  EXPECT_EQ(typeBox, "It couldn't modify the Network setting");
  EXPECT_EQ(badAddressBox, "Please enter an address of four numbers from 0 to 255.");
  ASSERT_GE(afterApply.size(), 4u);
  EXPECT_EQ(afterApply[3], "10.77.0.30|02:1a:2b:3c:4d:01|8080|4CH MPEG4 DVR|");
  ASSERT_GE(afterReset.size(), 4u);
  EXPECT_EQ(afterReset[3], "10.77.0.20|02:1a:2b:3c:4d:01|80|4CH MPEG4 DVR|");
  EXPECT_EQ(MessageBoxes(), (std::vector<std::string>{
                                "It couldn't modify the Network setting",
                                "Please enter an address of four numbers from 0 to 255.",
                                "Username or password is not correct",
                                "Apply setting is successfully",
                                "Server connection type is not static mode.You couldn't change "
                                "networking setting here.",
                                "Send command timeout",
                                "Reset to default is successfully.It will take several seconds "
                                "to finish reset process",
                            }));
  EXPECT_EQ(Text(L::kEditPort), "81");
  std::lock_guard<std::mutex> lock(SessionMutex());
  EXPECT_EQ(g_lpApp->m_Settings.m_strServerName, "10.77.0.21");
  EXPECT_EQ(g_lpApp->m_Settings.m_wWebPort, 81);
}

TEST_F(DeviceSearch, NoDeviceEndsTheSearchAndOkRecordsNothing) {
  StartDevice({"--search-device", kA, "--search-port", "7778"});  // nobody on 7777
  OpenWindow();
  bool ended = false;
  Helper([&] {
    HWND dlg = WaitForOwnWindowWithItem(1093, 30000);
    if (!dlg) return;
    ended = WaitSearchEnd(dlg, 0);
    ::PostMessageA(::GetDlgItem(dlg, 1095), BM_CLICK, 0, 0);  // nothing selected
    ts::WaitUntil([&] { return !MessageBoxes().empty(); });
    ::PostMessageA(::GetDlgItem(dlg, IDOK), BM_CLICK, 0, 0);
  });
  Click(L::kSearchButton);
  ASSERT_TRUE(PumpUntil([&] { return !WaitForOwnWindowWithItem(1093, 0) && m_runningHelpers == 0; },
                        60000));
  JoinHelpers();
  EXPECT_TRUE(ended);
  EXPECT_EQ(MessageBoxes(), std::vector<std::string>{"Need select a item form list"});
  EXPECT_EQ(Text(L::kEditServer), "127.0.0.1");
}

}  // namespace
}  // namespace logintest
