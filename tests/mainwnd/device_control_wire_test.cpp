// Device control in the program against the device simulator: tool-button commands become
// "/RS485Cmd.cgi" requests with the shipped CtrlFile.ini's scripts, the channel bar switches and
// follows the stream's channel, and a model row past the table is refused.
#include <winsock2.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/app_data.h"
#include "app/ctrl_file_load.h"
#include "ui/zev_button.h"
#include "mainwnd/channel_bar.h"
#include "mainwnd/device_control_win32.h"
#include "net/local_ip.h"
#include "platform/wnd.h"
#include "program/program_objects.h"
#include "tests/support/device_login.h"
#include "tests/support/devsim_child.h"
#include "tests/support/text_file.h"
#include "tests/support/win_process.h"
#include "tests/support/hex_text.h"

namespace {

using testsupport::DevsimRequest;

// A top-level window that hands its button clicks to device control and lets its owner-drawn
// buttons draw themselves, as the main window does.
class HostWnd : public ost::Wnd {
 protected:
  bool OnCommand(WPARAM wp, LPARAM) override {
    return HIWORD(wp) == BN_CLICKED && OnDeviceControlCommand(LOWORD(wp));
  }
};

LRESULT CALLBACK HostClassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  return DefWindowProcA(hwnd, msg, wp, lp);
}

// With OST_SCREENSHOT_DIR set, saves the window's client area there as a 24-bit BMP.
void SaveScreenshot(HWND hwnd, const char* name) {
  char dir[MAX_PATH] = {};
  if (!GetEnvironmentVariableA("OST_SCREENSHOT_DIR", dir, sizeof dir)) return;
  RECT rc;
  GetClientRect(hwnd, &rc);
  const int w = rc.right, h = rc.bottom;
  HDC wdc = GetDC(hwnd);
  HDC mdc = CreateCompatibleDC(wdc);
  HBITMAP bmp = CreateCompatibleBitmap(wdc, w, h);
  HGDIOBJ old = SelectObject(mdc, bmp);
  BitBlt(mdc, 0, 0, w, h, wdc, 0, 0, SRCCOPY);
  SelectObject(mdc, old);
  BITMAPINFOHEADER bi{sizeof bi, w, h, 1, 24, BI_RGB};
  const int stride = (w * 3 + 3) & ~3;
  std::vector<char> pixels(size_t(stride) * h);
  GetDIBits(mdc, bmp, 0, h, pixels.data(), reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS);
  BITMAPFILEHEADER bf{0x4D42, DWORD(sizeof bf + sizeof bi + pixels.size()), 0, 0,
                      DWORD(sizeof bf + sizeof bi)};
  std::string data(reinterpret_cast<const char*>(&bf), sizeof bf);
  data.append(reinterpret_cast<const char*>(&bi), sizeof bi);
  data.append(pixels.data(), pixels.size());
  testsupport::WriteFileText(std::string(dir) + "\\" + name, data);
  DeleteObject(bmp);
  DeleteDC(mdc);
  ReleaseDC(hwnd, wdc);
}

void Pump() {
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
}

class DeviceControlWireTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    WSADATA wsa;
    ASSERT_EQ(WSAStartup(MAKEWORD(1, 1), &wsa), 0);
    char local[16] = {};
    GetLocalIpString(local, sizeof local);
    g_strLocalIPAddress = local;
  }

  void SetUp() override {
    m_msgLog = m_folder.File("messages.txt");
    SetEnvironmentVariableA("OST_MSGBOX_LOG", m_msgLog.c_str());
    m_objects = std::make_unique<ProgramObjects>();
    g_lpApp = new APP_DATA(m_objects->Parts());
    ASSERT_EQ(LoadCtrlFile(), 1);  // the shipped file beside the test
    MapProtocolsToDevices();
    std::strcpy(g_szCookie, "C0FFEE");
  }

  void TearDown() override {
    m_hostWnd.DestroyWindow();
    g_lpApp->m_ChannelBar.Destroy();
    m_devsim.Stop();
    FreeCtrlDeviceRecords();
    m_objects.reset();
    delete g_lpApp;
    g_lpApp = nullptr;
    SetEnvironmentVariableA("OST_MSGBOX_LOG", nullptr);
  }

  void StartDevice(const char* product, std::vector<std::string> args = {}) {
    args.insert(args.end(), {"--product", product, "--no-cookie-check"});
    ASSERT_TRUE(m_devsim.Start(args)) << m_devsim.error();
    testsupport::PointProgramSessionAt(static_cast<uint16_t>(m_devsim.port()));
    g_lpApp->str_ProductID = product;
  }

  // The requests of path since the last call, as "target | body".
  std::vector<std::string> Sent() {
    std::vector<std::string> out;
    const auto all = m_devsim.Requests();
    for (size_t i = m_seen; i < all.size(); ++i)
      out.push_back(all[i].target +
                    (all[i].body.empty() ? "" : " | " + testsupport::SpacedHex(all[i].body)));
    m_seen = all.size();
    return out;
  }

  std::string Messages() const { return testsupport::ReadFileText(m_msgLog); }

  HWND Host() {
    if (m_host) return m_host;
    WNDCLASSA wc{};
    wc.lpfnWndProc = HostClassProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "DeviceControlTestHost";
    wc.hbrBackground = CreateSolidBrush(RGB(0x24, 0x29, 0x31));  // the main window's channel card
    RegisterClassA(&wc);
    EXPECT_TRUE(m_hostWnd.CreateEx(0, "DeviceControlTestHost", "channel bar", WS_POPUP | WS_VISIBLE,
                                   0, 0, 420, 80, nullptr, 0));
    m_host = m_hostWnd.GetSafeHwnd();
    return m_host;
  }

  void Click(uint16_t id) {
    HWND button = g_lpApp->m_ChannelBar.ButtonWindow(id);
    ASSERT_NE(button, nullptr) << id;
    SendMessageA(Host(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(button));
    Pump();
  }

  testsupport::TempFolder m_folder{"device-control"};
  std::unique_ptr<ProgramObjects> m_objects;
  std::string m_msgLog;
  testsupport::DevsimChild m_devsim;
  size_t m_seen = 0;
  HWND m_host = nullptr;
  HostWnd m_hostWnd;
};

TEST_F(DeviceControlWireTest, RecorderKeysOfTheThreeRecorderRows) {
  struct Case {
    const char* product;
    uint8_t row;
  };
  for (const Case c : {Case{"RZ1K", 19}, Case{"RZ3K", 22}, Case{"RZ4K", 23}}) {
    SCOPED_TRACE(c.product);
    m_devsim.Stop();
    m_seen = 0;
    StartDevice(c.product);
    C_ControlD& list = g_lpApp->m_ControlD;
    list.Clear();
    list.Add(0, 0, c.row, CDS_CHANNEL);
    list.MakeCurrent(CDS_CHANNEL, 0);
    g_lpApp->byUserClass = 0;
    EXPECT_TRUE(OnDeviceControlCommand(8250));  // CH1: A0 kind address level code sum
    g_lpApp->fTurboMode = 1;
    g_lpApp->byTurboRepeatStep = 5;
    EXPECT_TRUE(OnDeviceControlCommand(8240));  // joystick left repeats with turbo
    EXPECT_TRUE(OnDeviceControlCommand(8227));  // RECORD (key 48): a channel key never repeats
    g_lpApp->fTurboMode = 0;
    const std::string q = "/RS485Cmd.cgi?Control=RZ1K&MASTER=1&Cookie=C0FFEE";
    const std::vector<std::string> expected = {
        q + " | 06 A0 01 00 3C 01 DE 01 32", q + " | 06 A0 01 00 3C 50 2D 05 32",
        q + " | 06 A0 01 00 3C 46 23 01 32",  // the second variant of the "%A" script
    };
    EXPECT_EQ(Sent(), expected);
  }
  EXPECT_EQ(Messages(), "");
}

TEST_F(DeviceControlWireTest, PtzHeadsOnTheBus) {
  StartDevice("RZ1K");
  C_ControlD& list = g_lpApp->m_ControlD;
  list.Add(0, 0, 19, CDS_CHANNEL);
  list.Add(2400, 3, 11, CDS_PTZ);
  list.Add(2400, 4, 18, CDS_PTZ);
  ASSERT_EQ(list.MakeCurrent(CDS_PTZ, 0), 0);
  OnDeviceControlCommand(8291);  // ZOOM Tele to the protocol D head at address 3
  ASSERT_EQ(list.MakeCurrent(CDS_PTZ, 1), 0);
  OnDeviceControlCommand(8250);  // preset 1, ACTION
  g_lpApp->fActionPresetMode = 1;
  OnDeviceControlCommand(8250);  // PRESET
  OnDeviceControlCommand(8283);  // AUTO: no protocol parameters for this key
  const std::vector<std::string> expected = {
      "/RS485Cmd.cgi?Control=RZ1K&CH=0&MASTER=0&Cookie=C0FFEE | 07 FF 03 00 20 00 00 23 01 32",
      "/RS485Cmd.cgi?Control=RZ1K&CH=1&MASTER=0&PELOCO=1&PROTOCOL=PELCO&Cookie=C0FFEE | 07 FF 04 "
      "00 07 00 01 0C 01 32",
      "/RS485Cmd.cgi?Control=RZ1K&CH=1&MASTER=0&PELOCO=1&PROTOCOL=PELCO&Cookie=C0FFEE | 07 FF 04 "
      "00 03 00 01 08 01 32",
      "/RS485Cmd.cgi?Control=RZ1K&CH=1&MASTER=0&Cookie=C0FFEE | 07 FF 04 00 07 00 63 6E 01 32",
  };
  EXPECT_EQ(Sent(), expected);
  EXPECT_EQ(Messages(), "");
}

TEST_F(DeviceControlWireTest, MenuGateAndUnknownModels) {
  StartDevice("RZ3K");
  C_ControlD& list = g_lpApp->m_ControlD;
  list.Add(0, 0, 22, CDS_CHANNEL);
  g_lpApp->byUserClass = 2;  // guest
  EXPECT_TRUE(OnDeviceControlCommand(8242));
  EXPECT_EQ(Sent(), std::vector<std::string>{});
  EXPECT_EQ(Messages(), "");
  g_lpApp->byUserClass = 1;
  OnDeviceControlCommand(8242);
  EXPECT_EQ(Sent().size(), 1u);

  list.Clear();
  list.Add(0, 0, 30, CDS_CHANNEL);  // a model row the device reports past the table
  OnDeviceControlCommand(8250);
  EXPECT_EQ(Sent(), std::vector<std::string>{});
  EXPECT_EQ(Messages(), "It couldn't find this device command protocol\n");

  m_devsim.Control("/_devsim/fault?name=status&code=500&count=1");
  list.Clear();
  list.Add(0, 0, 22, CDS_CHANNEL);
  OnDeviceControlCommand(8250);
  EXPECT_EQ(Sent().size(), 1u);
  EXPECT_EQ(Messages(),
            "It couldn't find this device command protocol\nSend command to device is failed !!\n");
}

TEST_F(DeviceControlWireTest, ChannelBarSwitchesAndFollowsTheStream) {
  StartDevice("RZ1K", {"--set", "multich=1", "--set", "slaves=5:1:1,6:1:0"});
  g_lpApp->byMultiChannel = 1;
  g_lpApp->m_Settings.m_bySelectedChannel = 0;
  C_ControlD& list = g_lpApp->m_ControlD;
  list.Add(0, 0, 19, CDS_CHANNEL);
  CChannelBar& bar = g_lpApp->m_ChannelBar;
  ASSERT_EQ(bar.Init(Host()), 1);

  ASSERT_TRUE(bar.IsActive());
  // Every button but the channel shown is in state 1, the page arrows included.
  auto stateOf = [&](uint16_t id) {
    auto* b = static_cast<CZevButton*>(ost::Wnd::FromHandle(bar.ButtonWindow(id)));
    return b ? int(b->m_wState) : -1;
  };
  auto expectStates = [&](uint16_t shown) {
    for (uint16_t id = 8410; id <= 8428; ++id)
      EXPECT_EQ(stateOf(id), id == shown ? 0 : 1) << "button " << id;
  };
  expectStates(8410);
  EXPECT_TRUE(IsWindowVisible(bar.ButtonWindow(8418)));   // input 8 on the first page
  EXPECT_FALSE(IsWindowVisible(bar.ButtonWindow(8419)));  // input 9 on the next
  EXPECT_FALSE(IsWindowVisible(bar.ButtonWindow(8427)));

  Click(8412);  // input 2: the slave refresh, then the switch
  EXPECT_EQ(Messages(), "");
  EXPECT_EQ(Sent(), (std::vector<std::string>{"/PTZReset.cgi?Cookie=C0FFEE",
                                              "/SetChannel.cgi?Cookie=C0FFEE&CH=2"}));
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list.At(1).byModelRow, 18);
  EXPECT_EQ(list.At(2).byAddress, 6);

  // The compose thread reports the new channel: it only posts.
  std::thread compose([&] { bar.SetCurrentChannel(2); });
  compose.join();
  EXPECT_EQ(bar.CurrentChannel(), 0);
  Pump();
  EXPECT_EQ(bar.CurrentChannel(), 2);
  EXPECT_EQ(g_lpApp->m_Settings.m_bySelectedChannel, 2);
  EXPECT_EQ(list.CurrentIndex(), 2);
  auto* lit = static_cast<CZevButton*>(ost::Wnd::FromHandle(bar.ButtonWindow(8412)));
  ASSERT_NE(lit, nullptr);
  EXPECT_EQ(lit->m_wState, 0);
  expectStates(8412);
  UpdateWindow(Host());
  Sleep(200);
  Pump();
  SaveScreenshot(Host(), "channel-bar-rz1k.bmp");

  Click(8412);  // the channel shown: only the refresh, and camera 2 stays current
  EXPECT_EQ(Sent(), std::vector<std::string>{"/PTZReset.cgi?Cookie=C0FFEE"});
  EXPECT_EQ(list.CurrentIndex(), 2);
  OnDeviceControlCommand(8250);  // keys now go to the camera on channel 2
  const auto sent = Sent();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].substr(0, sent[0].find(" |")),
            "/RS485Cmd.cgi?Control=RZ1K&CH=1&MASTER=0&Cookie=C0FFEE");

  Click(8428);  // next page
  EXPECT_TRUE(IsWindowVisible(bar.ButtonWindow(8419)));
  EXPECT_TRUE(IsWindowVisible(bar.ButtonWindow(8427)));
  EXPECT_FALSE(IsWindowVisible(bar.ButtonWindow(8410)));
  UpdateWindow(Host());
  Sleep(200);
  Pump();
  SaveScreenshot(Host(), "channel-bar-rz1k-page2.bmp");
  bar.ShowBar(1);
  EXPECT_FALSE(IsWindowVisible(bar.ButtonWindow(8419)));
  bar.ShowBar(0);
  EXPECT_TRUE(IsWindowVisible(bar.ButtonWindow(8419)));

  // The alarm auto-switch from the receive thread also only posts.
  std::thread receive([&] { bar.PostSwitchChannel(5); });
  receive.join();
  EXPECT_EQ(Sent(), std::vector<std::string>{});
  Pump();
  EXPECT_EQ(Sent(), std::vector<std::string>{"/SetChannel.cgi?Cookie=C0FFEE&CH=5"});
  EXPECT_EQ(Messages(), "");
}

}  // namespace
