// The PTZ panel of the real program under Wine against devsim: the PTZ button and its select-PTZ
// dialog choose and leave cameras, a click on the picture in hot-point mode turns the camera and
// marks the spot for four frames, a refused select leaves everything as it was, a device table
// changed in the settings sheet ends PTZ control of a camera that is no longer one, and the
// R.E.T.R. button follows the state the device reports.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/program_fixture.h"
#include "tests/support/remote_tree.h"
#include "tests/support/text_file.h"
#include "tests/support/window_capture.h"
#include "tests/support/hex_text.h"

namespace {

namespace ts = testsupport;
using testsupport::DevsimRequest;

constexpr int kPanelOpen = 8192;
constexpr int kChannel1Key = 8250;
constexpr int kPtzButton = 8312;
constexpr int kRetrButton = 8331;
constexpr int kMarkedFrames = 1102;
constexpr int kNumberEdit = 1040;
constexpr int kEscButton = 1068;
constexpr char kSelectTitle[] = "Select PTZ device";
constexpr char kSendFailed[] = "Send command to device is failed !!";
constexpr int kSystemConfigButton = 1006;
constexpr int kSheetTree = 0x7EEE;
constexpr int kSheetApply = 8001;
constexpr int kDeviceList = 1404, kDeviceEdit = 1119, kDeviceType = 1195, kDeviceId = 1040;

// An RZ4K (firmware 1060) at 640 x 228 whose capability mask allows the hot point, with twelve
// PTZ cameras of row 11 at addresses 11-22 on its bus.
const std::vector<std::string> kRecorderWithCameras = {
    "--product",
    "RZ4K",
    "--capability-mask",
    "0x2",
    "--set",
    "slaves=11:1:0,12:1:0,13:1:0,14:1:0,15:1:0,16:1:0,17:1:0,18:1:0,19:1:0,20:1:0,21:1:0,22:1:0"};

class PtzProgram : public ts::ProgramFixture {
 protected:
  PtzProgram() : ProgramFixture({.folderPrefix = "ostrova-ptz", .devsimArgs = {"--fps", "20"}}) {}

  void SetUp() override {
    ProgramFixture::SetUp();
    SetSetting("Image Resolution", "0");
  }

  // Logs in and opens the tool panel: back once the panel shows the PTZ button (a test that
  // needs the button asserts it).
  HWND Start(const std::vector<std::string>& devsimArgs) {
    HWND main = StartAndLogIn(devsimArgs);
    if (main) {
      Click(main, kPanelOpen);
      ts::WaitUntil([&] { return IsWindowVisible(GetDlgItem(main, kPtzButton)) != FALSE; }, 10000);
    }
    return main;
  }

  // Presses the PTZ button and waits for its dialog.
  HWND OpenSelectDialog(HWND main) {
    Click(main, kPtzButton);
    HWND dialog = ts::WaitForWindow(m_process.Id(), kSelectTitle, 10000);
    if (!dialog) ADD_FAILURE() << "no select-PTZ dialog; message boxes: " << MessageBoxes();
    return dialog;
  }

  // Chooses camera n in the dialog; true once the dialog has closed.
  bool ChooseCamera(HWND dialog, int n) {
    const std::string text = std::to_string(n);
    SendMessageA(GetDlgItem(dialog, kNumberEdit), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(text.c_str()));
    Click(dialog, IDOK);
    return ts::WaitUntil([&] { return !IsWindow(dialog); });
  }

  std::vector<DevsimRequest> Rs485() const { return m_device.RequestsOf("/RS485Cmd.cgi"); }

  bool WaitForRs485(size_t n) {
    return ts::WaitUntil([&] { return Rs485().size() >= n; });
  }

  // A click of the left button at a point of the window's client area, through the input queue
  // as a user's (a posted button-down would start the window's drag without its button-up).
  static void ClickAt(HWND window, int x, int y) {
    // Where the window has settled: a layout change after the panel or a dialog moves it.
    ts::WaitUntil([&] {
      RECT before{}, after{};
      GetWindowRect(window, &before);
      Sleep(300);
      GetWindowRect(window, &after);
      return EqualRect(&before, &after) != FALSE;
    });
    POINT p{x, y};
    ClientToScreen(window, &p);
    SetForegroundWindow(window);
    SetCursorPos(p.x, p.y);
    Sleep(100);
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    // Each event carries its place, so neither lands where the pointer was a moment before.
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    for (INPUT& i : input) {
      i.mi.dx = static_cast<LONG>(p.x * 65535 / (w > 1 ? w - 1 : 1));
      i.mi.dy = static_cast<LONG>(p.y * 65535 / (h > 1 ? h - 1 : 1));
    }
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input[0], sizeof(INPUT));
    Sleep(50);
    SendInput(1, &input[1], sizeof(INPUT));
  }

  // The PTZ button's text, which is its tool-tip.
  static std::string PtzTip(HWND main) { return ts::ItemText(main, kPtzButton); }

  static uint32_t Marked(HWND main) {
    const std::string text = ts::ItemText(main, kMarkedFrames);
    return text.rfind("Marked: ", 0) == 0 ? static_cast<uint32_t>(std::stoul(text.substr(8))) : 0;
  }

  void CloseAndWait(HWND main) {
    ts::CloseMainWindow(main);
    DWORD code = 99;
    ASSERT_TRUE(m_process.WaitExit(30000, &code));
    EXPECT_EQ(code, 0u);
  }
};

// Camera 3 from the recorder, camera 12 from camera 3, then back to the control centre: each
// press asks the recorder for its cameras first; the button's tip says whether PTZ control is on.
TEST_F(PtzProgram, SelectTwoCamerasThenLeave) {
  HWND main = Start(kRecorderWithCameras);
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(PtzTip(main), "PTZ_CONTROL_OFF");

  HWND dialog = OpenSelectDialog(main);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(ts::ItemText(dialog, kNumberEdit), "1");
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, kEscButton)));  // from the recorder
  ASSERT_TRUE(ChooseCamera(dialog, 3));
  ASSERT_TRUE(WaitForRs485(1));
  EXPECT_TRUE(ts::WaitUntil([&] { return PtzTip(main) == "PTZ_CONTROL_ON"; }));

  dialog = OpenSelectDialog(main);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(ts::ItemText(dialog, kNumberEdit), "3");  // the camera now controlled
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog, kEscButton)));
  ASSERT_TRUE(ChooseCamera(dialog, 12));
  ASSERT_TRUE(WaitForRs485(2));
  EXPECT_EQ(PtzTip(main), "PTZ_CONTROL_ON");

  dialog = OpenSelectDialog(main);
  ASSERT_NE(dialog, nullptr);
  Click(dialog, kEscButton);
  ASSERT_TRUE(WaitForRs485(3));
  EXPECT_TRUE(ts::WaitUntil([&] { return PtzTip(main) == "PTZ_CONTROL_OFF"; }));

  const std::vector<DevsimRequest> sent = Rs485();
  ASSERT_EQ(sent.size(), 3u);
  EXPECT_EQ(testsupport::SpacedHex(sent[0].body), "02 05 08 01 32");
  EXPECT_EQ(testsupport::SpacedHex(sent[1].body), "02 06 07 01 32");
  EXPECT_EQ(testsupport::SpacedHex(sent[2].body), "01 10 01 32");
  for (const DevsimRequest& r : sent) {
    EXPECT_EQ(r.status, 200);
    ASSERT_GE(r.params.size(), 3u);
    EXPECT_EQ(r.params[0], "Control=RZ1K");
    EXPECT_EQ(r.params[1], "MASTER=1");
    EXPECT_EQ(r.params[2].rfind("Cookie=", 0), 0u);
  }
  EXPECT_EQ(m_device.RequestsOf("/PTZReset.cgi").size(), 3u);
  EXPECT_TRUE(MessageBoxes().empty()) << MessageBoxes();
  CloseAndWait(main);
}

// In hot-point mode a click on the picture sends the clicked cell to the camera, and the renderer
// draws the marker on the next four frames and no more.
TEST_F(PtzProgram, HotPointClickTurnsTheCameraAndMarksFourFrames) {
  HWND main = Start(kRecorderWithCameras);
  ASSERT_NE(main, nullptr);
  HWND dialog = OpenSelectDialog(main);
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(ChooseCamera(dialog, 3));
  ASSERT_TRUE(WaitForRs485(1));
  ASSERT_TRUE(ts::WaitUntil([&] { return PtzTip(main) == "PTZ_CONTROL_ON"; }));
  EXPECT_EQ(Marked(main), 0u);

  // The picture starts at (42, 96) and is 640 x 456: cells 40 x 38 pixels; column 2, row 1.
  ClickAt(main, 42 + 81, 96 + 39);
  ASSERT_TRUE(WaitForRs485(2)) << MessageBoxes();
  const DevsimRequest click = Rs485()[1];
  EXPECT_EQ(testsupport::SpacedHex(click.body), "07 D0 0D 3C 52 12 00 7D 01 32");
  EXPECT_EQ(click.params,
            (std::vector<std::string>{"Control=RZ1K", "CH=2", "MASTER=0", click.params.back()}));
  ASSERT_TRUE(ts::WaitUntil([&] { return Marked(main) == 4; }));
  EXPECT_TRUE(FramesGrow(main, 10));
  Sleep(300);
  EXPECT_EQ(Marked(main), 4u);
  EXPECT_TRUE(MessageBoxes().empty()) << MessageBoxes();
  CloseAndWait(main);
}

// A select the device refuses: message 4065; the recorder stays the unit keys go to, the button
// keeps its face and tip, and a click on the picture sends nothing.
TEST_F(PtzProgram, RefusedSelectLeavesTheButtonAndTheUnit) {
  HWND main = Start(kRecorderWithCameras);
  ASSERT_NE(main, nullptr);
  HWND button = GetDlgItem(main, kPtzButton);
  ASSERT_TRUE(IsWindowVisible(button));
  // The face once the panel has settled: the same pixels twice, 300 ms apart.
  std::vector<uint8_t> face;
  ASSERT_TRUE(ts::WaitUntil([&] {
    face = ts::WindowPixels(button);
    Sleep(300);
    return !face.empty() && ts::WindowPixels(button) == face;
  }));

  ASSERT_NE(m_device.Control("/_devsim/fault?name=status&code=500&path=/RS485Cmd.cgi&count=1"), "");
  HWND dialog = OpenSelectDialog(main);
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(ChooseCamera(dialog, 3));
  ASSERT_TRUE(ts::WaitUntil([&] { return MessageBoxes().find(kSendFailed) != std::string::npos; }))
      << MessageBoxes();
  ASSERT_TRUE(WaitForRs485(1));
  EXPECT_EQ(Rs485()[0].status, 500);
  Sleep(300);
  EXPECT_EQ(PtzTip(main), "PTZ_CONTROL_OFF");
  EXPECT_EQ(ts::WindowPixels(button), face);

  ClickAt(main, 42 + 81, 96 + 39);
  Sleep(500);
  Click(main, kChannel1Key);  // the recorder's CH1 key
  ASSERT_TRUE(WaitForRs485(2));
  Sleep(500);
  const std::vector<DevsimRequest> sent = Rs485();
  ASSERT_EQ(sent.size(), 2u) << "a hot-point click was sent";
  EXPECT_EQ(sent[1].params[1], "MASTER=1");
  EXPECT_EQ(Marked(main), 0u);

  // The next select goes through and changes the face.
  dialog = OpenSelectDialog(main);
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(ChooseCamera(dialog, 3));
  ASSERT_TRUE(ts::WaitUntil([&] { return PtzTip(main) == "PTZ_CONTROL_ON"; }));
  EXPECT_TRUE(ts::WaitUntil([&] { return ts::WindowPixels(button) != face; }));
  CloseAndWait(main);
}

// The settings sheet's Device page rewrites the recorder's RS-485 table while camera 1 (channel
// 1's PTZ camera) is under PTZ control. Another channel's change keeps it; channel 1 made a plain
// camera ends PTZ control: the button goes back to its first state (the state log, the tip) and
// keys go to the recorder again.
TEST_F(PtzProgram, DeviceTableChangeEndsControlOfACameraThatIsGone) {
  HWND main = Start(kRecorderWithCameras);
  ASSERT_NE(main, nullptr);
  HWND dialog = OpenSelectDialog(main);
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(ChooseCamera(dialog, 1));
  ASSERT_TRUE(ts::WaitUntil([&] { return PtzTip(main) == "PTZ_CONTROL_ON"; }));
  ASSERT_TRUE(WaitForEvent("ptz button 1"));

  // Edits one row of the Device page and applies; true once the sheet is gone.
  auto applyRowEdit = [&](int row, int type, const char* id) {
    Click(main, kSystemConfigButton);
    HWND sheet = ts::WaitForWindow(m_process.Id(), "System setting");
    if (sheet == nullptr) return false;
    if (!ts::SelectTreeItem(GetDlgItem(sheet, kSheetTree), "Device")) return false;
    HWND page = nullptr;
    auto findPage = [&] {
      for (HWND c = GetWindow(sheet, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT))
        if (GetDlgItem(c, kDeviceList) && IsWindowVisible(c)) page = c;
      return page != nullptr;
    };
    if (!ts::WaitUntil(findPage)) return false;
    ts::SelectListRow(GetDlgItem(page, kDeviceList), row);
    ts::PostClick(page, kDeviceEdit);
    HWND edit = ts::WaitForWindow(m_process.Id(), "Edit");
    if (edit == nullptr) return false;
    SendDlgItemMessageA(edit, kDeviceType, CB_SETCURSEL, static_cast<WPARAM>(type), 0);
    SetDlgItemTextA(edit, kDeviceId, id);
    ts::PostClick(edit, IDOK);
    if (!ts::WaitUntil([&] { return !IsWindow(edit); })) return false;
    ts::PostClick(sheet, kSheetApply);
    return ts::WaitUntil([&] { return !IsWindow(sheet) || !IsWindowVisible(sheet); });
  };
  const size_t rs485Before = Rs485().size();

  // Channel 3 gets another ID: camera 1 is still a PTZ camera and stays controlled.
  ASSERT_TRUE(applyRowEdit(2, 0, "33")) << MessageBoxes();
  ASSERT_EQ(m_device.RequestsOf("/SetSysCfg.cgi").size(), 1u);
  EXPECT_EQ(EventCount("ptz button 0"), 0u);
  EXPECT_EQ(PtzTip(main), "PTZ_CONTROL_ON");

  // Channel 1 becomes a plain camera: PTZ control ends.
  ASSERT_TRUE(applyRowEdit(0, 0, "1")) << MessageBoxes();
  ASSERT_EQ(m_device.RequestsOf("/SetSysCfg.cgi").size(), 2u);
  EXPECT_TRUE(WaitForEvent("ptz button 0"));
  EXPECT_EQ(PtzTip(main), "PTZ_CONTROL_OFF");
  // The recorder's channel key goes to the recorder (MASTER=1), not to a camera.
  EXPECT_EQ(Rs485().size(), rs485Before);
  Click(main, kChannel1Key);
  ASSERT_TRUE(WaitForRs485(rs485Before + 1));
  EXPECT_EQ(Rs485().back().params[1], "MASTER=1");
  EXPECT_TRUE(MessageBoxes().empty()) << MessageBoxes();
  CloseAndWait(main);
}

// A guest on an RZ1K/RZ3K/RZ4K recorder: the PTZ button sends nothing and opens nothing.
TEST_F(PtzProgram, GuestOnARecorderGetsNothing) {
  std::vector<std::string> args = kRecorderWithCameras;
  args.insert(args.end(), {"--account", "revuv:revuv:0"});
  HWND main = Start(args);
  ASSERT_NE(main, nullptr);
  Click(main, kPtzButton);
  EXPECT_EQ(ts::WaitForWindow(m_process.Id(), kSelectTitle, 2000), nullptr);
  EXPECT_TRUE(m_device.RequestsOf("/PTZReset.cgi").empty());
  EXPECT_TRUE(Rs485().empty());
  CloseAndWait(main);
}

// R.E.T.R.: the button asks the device for the opposite of the state it reported, and follows
// only what the frame headers report.
TEST_F(PtzProgram, RetrButtonFollowsTheReportedState) {
  HWND main = Start({"--product", "RZ1K", "--set", "retr=0"});
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(ts::ItemText(main, kRetrButton), "R.E.T.R.(Disable)");
  Click(main, kRetrButton);
  EXPECT_TRUE(ts::WaitUntil([&] { return ts::ItemText(main, kRetrButton) == "R.E.T.R.(Enable)"; }));
  EXPECT_EQ(Params("/SetRetr.cgi", "SET"), std::vector<std::string>{"1"});

  // The device switches it off by itself.
  ASSERT_NE(m_device.Control("/_devsim/set?stream.retr=0"), "");
  EXPECT_TRUE(
      ts::WaitUntil([&] { return ts::ItemText(main, kRetrButton) == "R.E.T.R.(Disable)"; }));

  // A refused request: 4065, and the button stays.
  ASSERT_NE(m_device.Control("/_devsim/fault?name=status&code=500&path=/SetRetr.cgi&count=1"), "");
  Click(main, kRetrButton);
  ASSERT_TRUE(ts::WaitUntil([&] { return MessageBoxes().find(kSendFailed) != std::string::npos; }));
  EXPECT_TRUE(FramesGrow(main, 10));
  EXPECT_EQ(ts::ItemText(main, kRetrButton), "R.E.T.R.(Disable)");
  EXPECT_EQ(Params("/SetRetr.cgi", "SET"), (std::vector<std::string>{"1", "1"}));
  CloseAndWait(main);
}

}  // namespace
