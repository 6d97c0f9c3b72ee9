// The dialogs and controls nothing in the program opens, in a test-only host: the connecting
// box, the buzzer test against the device simulator, the MPEG4 stream setting, the information
// box, the icon button, and the date-time editor with its spin, drop-down and calendar under
// two regional settings.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "app/app_data.h"
#include "net/device_session.h"
#include "platform/message_loop.h"
#include "program/program_objects.h"
#include "tests/login/bitmap_file.h"
#include "tests/support/device_login.h"
#include "tests/support/devsim_child.h"
#include "tests/support/text_file.h"
#include "tests/support/win_process.h"
#include "tests/support/window_capture.h"
#include "tools/calendar_wnd.h"
#include "tools/carried_dialogs.h"
#include "tools/date_time_editor.h"
#include "tools/icon_button.h"

namespace ts = testsupport;

namespace {

ProgramObjects* g_objects = nullptr;
ts::TempFolder* g_folder = nullptr;

class Carried : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    WSADATA wsa;
    ASSERT_EQ(::WSAStartup(MAKEWORD(1, 1), &wsa), 0);
    g_objects = new ProgramObjects();
    ASSERT_EQ(CreateAppData(g_objects->Parts()), 1);
    g_folder = new ts::TempFolder("carried");
    ::SetEnvironmentVariableA("OST_MSGBOX_LOG", g_folder->File("msgbox.log").c_str());
    ASSERT_TRUE(::SetCurrentDirectoryA(g_folder->Path().c_str()));
  }
  static void TearDownTestSuite() {
    ::SetEnvironmentVariableA("OST_MSGBOX_LOG", nullptr);
    delete g_lpApp;
    g_lpApp = nullptr;
    delete g_objects;
    g_objects = nullptr;
    ::SetCurrentDirectoryA(ts::ThisExeFolder().c_str());
    delete g_folder;
    g_folder = nullptr;
    ::WSACleanup();
  }
  void SetUp() override { ::DeleteFileA(g_folder->File("msgbox.log").c_str()); }
  static std::vector<std::string> MessageBoxes() {
    return ts::ReadLines(g_folder->File("msgbox.log"));
  }
  static bool Pump(const std::function<bool()>& done, DWORD ms = 20000) {
    return ost::PumpMessagesUntil(done, ms);
  }
};

// A plain top-level window in the skin's dark colour that hosts controls.
class Host : public ost::Wnd {
 public:
  bool Open(int width, int height) {
    static const bool registered = [] {
      WNDCLASSA wc{};
      wc.lpfnWndProc = ::DefWindowProcA;
      wc.hInstance = ::GetModuleHandleA(nullptr);
      wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
      wc.hbrBackground = ::CreateSolidBrush(RGB(0x1E, 0x22, 0x28));
      wc.lpszClassName = "OstCarriedHost";
      return ::RegisterClassA(&wc) != 0;
    }();
    return registered &&
           CreateEx(0, "OstCarriedHost", "Carried controls",
                    WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, 40, 40, width, height, nullptr, 0);
  }
  std::vector<int> clicks;

 protected:
  bool OnCommand(WPARAM wp, LPARAM lp) override {
    if (HIWORD(wp) == BN_CLICKED) clicks.push_back(LOWORD(wp));
    return ost::Wnd::OnCommand(wp, lp);
  }
};

void Shot(HWND window, const std::string& name) {
  const std::string folder = ts::ScreenshotFolder();
  if (folder.empty()) return;
  ::RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  ost::PumpMessagesUntil([] { return false; }, 200);
  ts::SaveWindowImage(window, folder + name + ".bmp");
}

// A visible top-level window of this process that holds a control with this id.
HWND OwnWindowWithItem(int id) {
  struct Search {
    int id;
    HWND found;
  } search{id, nullptr};
  ts::WaitUntil([&] {
    ::EnumWindows(
        [](HWND w, LPARAM lp) -> BOOL {
          auto* s = reinterpret_cast<Search*>(lp);
          DWORD pid = 0;
          ::GetWindowThreadProcessId(w, &pid);
          if (pid == ::GetCurrentProcessId() && ::IsWindowVisible(w) &&
              ::GetDlgItem(w, s->id) != nullptr) {
            s->found = w;
            return FALSE;
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found != nullptr;
  });
  return search.found;
}

std::atomic<UINT> g_endedWith{0xFFFF};
std::atomic<int> g_ends{0};
void RecordEnd(UINT code) {
  g_endedWith = code;
  ++g_ends;
}

// ---- connecting box

TEST_F(Carried, ConnectingBoxCountsItsDotsAndClosesWhenTheServerIsDetected) {
  CConnectingDlg::s_pfnEndProgram = &RecordEnd;
  CConnectingDlg::s_nDotCount = 1;
  ::ResetEvent(DetectServerEvent());
  std::vector<std::string> seen;
  std::thread watcher([&] {
    HWND box = OwnWindowWithItem(CConnectingDlg::kLabel);
    std::string last;
    // Every text the label shows until it has come round to one dot again.
    ts::WaitUntil(
        [&] {
          const std::string text = ts::ItemText(box, CConnectingDlg::kLabel);
          if (text != last && !text.empty()) seen.push_back(last = text);
          return seen.size() >= 12;
        },
        30000);
    ::SetEvent(DetectServerEvent());
  });
  CConnectingDlg box(nullptr);
  EXPECT_EQ(box.DoModal(), 0);
  watcher.join();
  ASSERT_GE(seen.size(), 12u);
  for (size_t i = 0; i < 11; ++i) EXPECT_EQ(seen[i], "Connecting" + std::string(i + 1, '.'));
  EXPECT_EQ(seen[11], "Connecting.");
  EXPECT_EQ(g_ends.load(), 0);

  // A second box goes on from the count the first left.
  ::ResetEvent(DetectServerEvent());
  const int next = CConnectingDlg::s_nDotCount;
  std::string first;
  std::thread second([&] {
    HWND found = OwnWindowWithItem(CConnectingDlg::kLabel);
    ts::WaitUntil([&] { return !(first = ts::ItemText(found, CConnectingDlg::kLabel)).empty(); });
    ::SetEvent(DetectServerEvent());
  });
  CConnectingDlg again(nullptr);
  EXPECT_EQ(again.DoModal(), 0);
  second.join();
  EXPECT_EQ(first, "Connecting" + std::string(static_cast<size_t>(next), '.'));
}

TEST_F(Carried, ConnectingBoxEndsTheProgramOnCancelAndWhenItGivesUp) {
  CConnectingDlg::s_pfnEndProgram = &RecordEnd;
  ::ResetEvent(DetectServerEvent());
  g_ends = 0;
  CConnectingDlg box(nullptr);
  box.m_uGiveUpMs = 300;
  ASSERT_TRUE(box.Create());
  ASSERT_TRUE(Pump([] { return g_ends.load() == 1; }));
  EXPECT_EQ(g_endedWith.load(), 0u);
  EXPECT_EQ(MessageBoxes(), std::vector<std::string>{"Cann't detect server!!"});
  ::SendMessageA(box.GetSafeHwnd(), WM_COMMAND,
                 MAKEWPARAM(CConnectingDlg::kCancelButton, BN_CLICKED), 0);
  EXPECT_EQ(g_ends.load(), 2);
  box.DestroyWindow();
}

// ---- buzzer

TEST_F(Carried, BuzzerRequestsReachTheDeviceInTheirOrders) {
  ts::DevsimChild device;
  ASSERT_TRUE(device.Start()) << device.error();
  ts::PointProgramSessionAt(static_cast<uint16_t>(device.port()));
  std::strcpy(g_szCookie, "abc");
  CBuzzerTestDlg dlg(nullptr);
  ASSERT_TRUE(dlg.Create());
  ::ShowWindow(dlg.GetSafeHwnd(), SW_SHOW);
  auto press = [&](int id) {
    ::SendMessageA(dlg.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
  };
  press(CBuzzerTestDlg::kLongButton);
  EXPECT_EQ(dlg.m_byBuzzerState, 1);
  press(CBuzzerTestDlg::kLongButton);
  press(CBuzzerTestDlg::kShortButton);
  EXPECT_EQ(dlg.m_byBuzzerState, 2);
  g_szCookie[0] = '\0';
  press(CBuzzerTestDlg::kShortButton);
  const std::vector<std::string> expected = {"/SetBuzzer.cgi?time=long&Cookie=abc",
                                             "/SetBuzzer.cgi?time=stop&Cookie=abc",
                                             "/SetBuzzer.cgi?time=long&Cookie=abc",
                                             "/SetBuzzer.cgi?Cookie=abc&time=stop",
                                             "/SetBuzzer.cgi?time=short&Cookie=abc",
                                             "/SetBuzzer.cgi?time=stop",
                                             "/SetBuzzer.cgi?time=short"};
  std::vector<std::string> targets;
  ASSERT_TRUE(ts::WaitUntil([&] {
    targets.clear();
    for (const auto& r : device.RequestsOf("/SetBuzzer.cgi")) targets.push_back(r.target);
    return targets.size() >= expected.size();
  })) << targets.size();
  EXPECT_EQ(targets, expected);
  Shot(dlg.GetSafeHwnd(), "buzzer_test");

  // The hidden check box shows and hides by message and flips with each click.
  HWND check = ::GetDlgItem(dlg.GetSafeHwnd(), CBuzzerTestDlg::kMultiChannelCheck);
  EXPECT_FALSE(::IsWindowVisible(check));
  ::SendMessageA(dlg.GetSafeHwnd(), CBuzzerTestDlg::kShowCheck, 0, 0);
  EXPECT_TRUE(::IsWindowVisible(check));
  press(CBuzzerTestDlg::kMultiChannelCheck);
  EXPECT_EQ(dlg.m_fMultiChannelTest, 1);
  EXPECT_EQ(::IsDlgButtonChecked(dlg.GetSafeHwnd(), CBuzzerTestDlg::kMultiChannelCheck),
            BST_CHECKED);
  press(CBuzzerTestDlg::kMultiChannelCheck);
  EXPECT_EQ(dlg.m_fMultiChannelTest, 0);
  ::SendMessageA(dlg.GetSafeHwnd(), CBuzzerTestDlg::kHideCheck, 0, 0);
  EXPECT_FALSE(::IsWindowVisible(check));
  dlg.DestroyWindow();
  device.Stop();
}

// ---- MPEG4 stream setting

TEST_F(Carried, StreamSettingRefusesValuesOutsideTheirRanges) {
  struct Case {
    const char *rate, *gop, *width, *height;
    bool accepted;
  } cases[] = {{"49", "1", "720", "576", false},    {"2001", "1", "720", "576", false},
               {"50", "1", "721", "576", false},    {"50", "1", "720", "577", false},
               {"50", "0", "720", "576", false},    {"", "1", "720", "576", false},
               {"50", "65535", "720", "576", true}, {"2000", "1", "1", "1", true}};
  for (const Case& c : cases) {
    CMpeg4StreamSettingDlg dlg(nullptr);
    ASSERT_TRUE(dlg.Create());
    HWND h = dlg.GetSafeHwnd();
    ::SetDlgItemTextA(h, CMpeg4StreamSettingDlg::kBitRateField, c.rate);
    ::SetDlgItemTextA(h, CMpeg4StreamSettingDlg::kGopField, c.gop);
    ::SetDlgItemTextA(h, CMpeg4StreamSettingDlg::kWidthField, c.width);
    ::SetDlgItemTextA(h, CMpeg4StreamSettingDlg::kHeightField, c.height);
    ::DeleteFileA(g_folder->File("msgbox.log").c_str());
    ::SendMessageA(h, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_EQ(::IsWindow(h) == FALSE, c.accepted) << c.rate << " " << c.width << " " << c.height;
    EXPECT_EQ(MessageBoxes().size(), c.accepted ? 0u : 1u) << c.rate;
    if (c.accepted) {
      EXPECT_EQ(std::to_string(dlg.m_uTargetBitRate), c.rate);
      EXPECT_EQ(std::to_string(dlg.m_uImageWidth), c.width);
    } else {
      if (!std::string(c.rate).empty() && std::string(c.rate) != "50") {
        EXPECT_EQ(MessageBoxes(),
                  std::vector<std::string>{"Please enter a number from 50 to 2000."});
      }
      dlg.DestroyWindow();
    }
  }
}

// ---- address list

TEST_F(Carried, AddressListIsAnEmptyShellAroundAListView) {
  CAddressListDlg dlg(nullptr);
  ASSERT_TRUE(dlg.Create());
  HWND list = ::GetDlgItem(dlg.GetSafeHwnd(), CAddressListDlg::kList);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(ts::WindowText(dlg.GetSafeHwnd()), "Address Book");
  EXPECT_EQ(::GetWindowLongPtrA(list, GWL_STYLE) & LVS_TYPEMASK, LVS_ICON);
  EXPECT_EQ(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 0);
  ::SendMessageA(dlg.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  EXPECT_FALSE(::IsWindow(dlg.GetSafeHwnd()));
}

// ---- information box

TEST_F(Carried, InformationBoxIsARoundedBoxCentredInTheWorkArea) {
  ::CreateDirectoryA(g_folder->File("BMP").c_str(), nullptr);
  ASSERT_TRUE(logintest::WriteBitmapFile(g_folder->File("BMP\\login_background.bmp"), 304, 238,
                                         RGB(0x2A, 0x30, 0x38)));
  ASSERT_TRUE(logintest::WriteBitmapFile(g_folder->File("BMP\\KELVRA_LOGO.bmp"), 71, 74,
                                         RGB(0x1F, 0xB5, 0xA8)));
  ASSERT_TRUE(
      logintest::WriteBitmapFile(g_folder->File("BMP\\login_ok.bmp"), 49, 25, RGB(60, 70, 80)));
  ASSERT_TRUE(logintest::WriteBitmapFile(g_folder->File("BMP\\login_ok_over.bmp"), 49, 25,
                                         RGB(90, 100, 110)));
  CApplicationInfoDialog dlg(nullptr);
  ASSERT_TRUE(dlg.Create());
  HWND h = dlg.GetSafeHwnd();
  RECT r{}, work{};
  ::GetWindowRect(h, &r);
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_EQ(r.right - r.left, 304);
  EXPECT_EQ(r.bottom - r.top, 238);
  EXPECT_EQ(r.left, (work.right - work.left - 304) / 2);
  EXPECT_EQ(r.top, (work.bottom - work.top - 238) / 2);
  HRGN region = ::CreateRectRgn(0, 0, 0, 0);
  EXPECT_NE(::GetWindowRgn(h, region), ERROR);
  EXPECT_FALSE(::PtInRegion(region, 0, 0));  // the corners are cut
  EXPECT_TRUE(::PtInRegion(region, 152, 119));
  ::DeleteObject(region);
  EXPECT_EQ(dlg.m_strVersion, "Version : 0.0.1.8");
  Shot(h, "information_box");
  dlg.DestroyWindow();

  // Without its background the box stops setting itself up and stays as it is.
  ::DeleteFileA(g_folder->File("BMP\\login_background.bmp").c_str());
  CApplicationInfoDialog bare(nullptr);
  ASSERT_TRUE(bare.Create());
  EXPECT_TRUE(bare.m_strVersion.empty());
  bare.DestroyWindow();
}

// ---- icon button

HBITMAP SolidBitmap(int w, int h, COLORREF colour, COLORREF corner = CLR_INVALID) {
  HDC screen = ::GetDC(nullptr);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, w, h);
  HDC dc = ::CreateCompatibleDC(screen);
  HGDIOBJ old = ::SelectObject(dc, bitmap);
  RECT all{0, 0, w, h};
  HBRUSH brush = ::CreateSolidBrush(colour);
  ::FillRect(dc, &all, brush);
  ::DeleteObject(brush);
  if (corner != CLR_INVALID) {
    RECT c{0, 0, 4, 4};
    brush = ::CreateSolidBrush(corner);
    ::FillRect(dc, &c, brush);
    ::DeleteObject(brush);
  }
  ::SelectObject(dc, old);
  ::DeleteDC(dc);
  ::ReleaseDC(nullptr, screen);
  return bitmap;
}

COLORREF PixelOf(HWND window, int x, int y) {
  ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  HDC dc = ::GetDC(window);
  const COLORREF c = ::GetPixel(dc, x, y);
  ::ReleaseDC(window, dc);
  return c;
}

TEST_F(Carried, IconButtonPlacesAndDrawsItsImages) {
  Host host;
  ASSERT_TRUE(host.Open(420, 200));
  CIconButton button;
  ASSERT_TRUE(button.CreateControl("BUTTON", "", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                                   RECT{10, 10, 50, 34}, host.GetSafeHwnd(), 501));
  HWND b = button.GetSafeHwnd();
  EXPECT_EQ(::GetWindowLongPtrA(b, GWL_STYLE) & 0x1F, BS_OWNERDRAW);
  // Red with a green corner that is transparent; the resting face is the grey copy.
  ASSERT_EQ(button.AssignBitmaps(SolidBitmap(16, 16, RGB(255, 0, 0), RGB(0, 255, 0)),
                                 RGB(0, 255, 0), CIconButton::kGreyCopy),
            CIconButton::kDone);
  ::UpdateWindow(b);
  ::RedrawWindow(b, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(button.LastImageRect().left, 12);
  EXPECT_EQ(button.LastImageRect().top, 4);
  EXPECT_EQ(PixelOf(b, 20, 12), RGB(76, 76, 76));  // at rest: grey
  const COLORREF face = PixelOf(b, 13, 5);         // the transparent corner shows the face
  EXPECT_NE(face, RGB(0, 255, 0));
  EXPECT_NE(face, RGB(0, 0, 0));
  ::SendMessageA(b, BM_SETSTATE, TRUE, 0);
  EXPECT_EQ(PixelOf(b, 20, 12), RGB(255, 0, 0));  // pressed: the active face, shifted
  EXPECT_EQ(button.LastImageRect().left, 13);
  EXPECT_EQ(button.LastImageRect().top, 5);
  ::SendMessageA(b, BM_SETSTATE, FALSE, 0);
  button.SetImageAlignment(3, true);
  PixelOf(b, 0, 0);
  EXPECT_EQ(button.LastImageRect().left, 0);
  EXPECT_EQ(button.SetImageAlignment(4, true), CIconButton::kBadAlignment);
  EXPECT_EQ(button.SetPressedShift(2, true), CIconButton::kBadShiftStyle);
  EXPECT_EQ(button.ShiftStateColour(6, 10, false), CIconButton::kBadColourIndex);
  EXPECT_EQ(button.ShiftStateColour(0, 300, false), CIconButton::kBadShade);
  button.SetStateColour(2, RGB(200, 100, 50), false);
  button.ShiftStateColour(2, 100, false);
  COLORREF shifted = 0;
  button.GetStateColour(2, shifted);
  EXPECT_EQ(shifted, RGB(255, 155, 105));
  // A missing file leaves the button without an image.
  EXPECT_EQ(button.AssignBitmapFiles("no\\such.bmp", RGB(255, 0, 0)), CIconButton::kDone);
  std::string longLink(400, 'x');
  button.SetLinkTarget(longLink.c_str());
  EXPECT_EQ(std::strlen(button.LinkTarget()), 259u);

  // A double click counts as two clicks; check-box mode inverts its state on each.
  CIconButton check;
  ASSERT_TRUE(check.CreateControl("BUTTON", "Check", WS_CHILD | WS_VISIBLE | BS_CHECKBOX,
                                  RECT{60, 10, 140, 34}, host.GetSafeHwnd(), 502));
  HWND c = check.GetSafeHwnd();
  EXPECT_TRUE(check.IsCheckBoxMode());
  const LPARAM at = MAKELPARAM(5, 5);
  ::SendMessageA(c, WM_LBUTTONDOWN, MK_LBUTTON, at);
  ::SendMessageA(c, WM_LBUTTONUP, 0, at);
  ::SendMessageA(c, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  ::SendMessageA(c, WM_LBUTTONUP, 0, at);
  EXPECT_EQ(std::count(host.clicks.begin(), host.clicks.end(), 502), 2);
  EXPECT_EQ(check.IsChecked(), 0);
  ::SendMessageA(c, WM_LBUTTONDOWN, MK_LBUTTON, at);
  ::SendMessageA(c, WM_LBUTTONUP, 0, at);
  EXPECT_EQ(check.IsChecked(), 1);
  ::SendMessageA(c, BM_SETCHECK, 3, 0);
  EXPECT_EQ(::SendMessageA(c, BM_GETCHECK, 0, 0), 0);
  ::SendMessageA(c, BM_SETCHECK, 2, 0);
  EXPECT_EQ(::SendMessageA(c, BM_GETCHECK, 0, 0), 1);

  // Faces for the screenshot: flat with a darker resting copy, not flat and default, disabled.
  CIconButton darker, framed, disabled;
  ASSERT_TRUE(darker.CreateControl("BUTTON", "Flat", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                                   RECT{150, 10, 250, 40}, host.GetSafeHwnd(), 503));
  darker.AssignBitmaps(SolidBitmap(16, 16, RGB(0x1F, 0xB5, 0xA8)), RGB(0, 255, 0),
                       CIconButton::kDarkerCopy);
  ASSERT_TRUE(framed.CreateControl("BUTTON", "Framed", WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON,
                                   RECT{260, 10, 380, 40}, host.GetSafeHwnd(), 504));
  framed.SetFlatLook(false, false);
  framed.AssignBitmaps(SolidBitmap(16, 16, RGB(240, 200, 40)), RGB(0, 255, 0));
  EXPECT_TRUE(framed.IsDefaultButton());
  ASSERT_TRUE(disabled.CreateControl("BUTTON", "Disabled", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                                     RECT{150, 60, 270, 90}, host.GetSafeHwnd(), 505));
  disabled.AssignBitmaps(SolidBitmap(16, 16, RGB(255, 0, 0)), RGB(0, 255, 0));
  disabled.SetImageAlignment(1, false);
  ::EnableWindow(disabled.GetSafeHwnd(), FALSE);
  Shot(host.GetSafeHwnd(), "icon_button");
  host.DestroyWindow();
}

// ---- date-time editor and calendar

void SetLocale(const char* shortDate, const char* dateSep, const char* timeFormat,
               const char* firstDay) {
  ::SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, shortDate);
  ::SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDATE, dateSep);
  ::SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STIMEFORMAT, timeFormat);
  ::SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IFIRSTDAYOFWEEK, firstDay);
}

DateFields Fixed() {
  return DateFields{2006, 1, 18, 9, 30, 0, 4};
}

// The drop-down button's picture, read from the current folder; red is transparent.
void WriteCalendarBitmap() {
  ::CreateDirectoryA(g_folder->File("res").c_str(), nullptr);
  ::CreateDirectoryA(g_folder->File("res\\mybutton").c_str(), nullptr);
  logintest::WriteBitmapFile(g_folder->File("res\\mybutton\\calendar.bmp"), 12, 12,
                             RGB(0x1F, 0xB5, 0xA8), 12, 3, RGB(255, 0, 0));
}

TEST_F(Carried, DateTimeEditorUnderAMonthFirstTwelveHourLocale) {
  WriteCalendarBitmap();
  SetLocale("M/d/yyyy", "/", "h:mm:ss tt", "6");
  const DateTimeLocale read = CDateTimeEditor::ReadLocaleSettings();
  ASSERT_EQ(read.dateOrder, "0") << "the locale override did not take";
  ASSERT_EQ(read.timeFormat, "0");
  const auto today = CCalendarWnd::s_pfnToday;
  CCalendarWnd::s_pfnToday = &Fixed;
  Host host;
  ASSERT_TRUE(host.Open(420, 320));
  CDateTimeEditor editor;
  ASSERT_TRUE(editor.Create(host.GetSafeHwnd(), 20, 20, 600));
  editor.SetDateTime(DateValue::FromFields(2006, 1, 31, 13, 5, 9).date);
  EXPECT_EQ(editor.Fields().Text(), "January/31/2006 01:05:09 PM ");
  EXPECT_GT(editor.Width(), 60);
  ::SetFocus(editor.GetSafeHwnd());
  EXPECT_TRUE(editor.HasFocus());
  // Through the message loop, as a key press arrives.
  auto key = [&](HWND target, UINT k) {
    MSG msg{target, WM_KEYDOWN, k, 0, 0, {}};
    ost::ProcessMessage(msg);
  };
  key(editor.GetSafeHwnd(), VK_UP);  // month: 31 January -> 28 February
  EXPECT_EQ(editor.Fields().Value(), (DateFields{2006, 2, 28, 13, 5, 9}));
  key(editor.GetSafeHwnd(), 'J');
  EXPECT_EQ(editor.Fields().Value().month, 6);
  // Arrow keys sent to the spin button still act on the editor's field.
  key(editor.SpinButton(), VK_RIGHT);
  EXPECT_EQ(editor.Fields().CurrentType(), FIELD_DAY);
  key(editor.GetSafeHwnd(), '0');
  key(editor.GetSafeHwnd(), '5');
  EXPECT_EQ(editor.Fields().Value().day, 5);
  EXPECT_EQ(editor.Fields().CurrentType(), FIELD_YEAR);
  // The spin's up arrow counts up.
  RECT spin{};
  ::GetClientRect(editor.SpinButton(), &spin);
  ::SendMessageA(editor.SpinButton(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(spin.right / 2, 2));
  ::SendMessageA(editor.SpinButton(), WM_LBUTTONUP, 0, MAKELPARAM(spin.right / 2, 2));
  EXPECT_EQ(editor.Fields().Value().year, 2007);
  EXPECT_EQ(::GetFocus(), editor.GetSafeHwnd());
  Shot(host.GetSafeHwnd(), "date_time_editor");

  // The drop-down opens the calendar on the editor's date; Sunday first.
  ::SendMessageA(editor.GetSafeHwnd(), WM_COMMAND,
                 MAKEWPARAM(CDateTimeEditor::kDropDownButton, BN_CLICKED),
                 reinterpret_cast<LPARAM>(editor.DropDownButton().GetSafeHwnd()));
  CCalendarWnd* calendar = editor.Calendar();
  ASSERT_NE(calendar, nullptr);
  EXPECT_TRUE(::IsWindowVisible(calendar->GetSafeHwnd()));
  EXPECT_EQ(calendar->FirstDayOfWeek(), 0);
  EXPECT_EQ(calendar->DayName(0), "Sun");
  // June 2007 starts on a Friday: column 5 of the first row.
  EXPECT_EQ(calendar->Cell(5).nDay, 1);
  EXPECT_EQ(calendar->Cell(4).nState, DAY_EMPTY);
  EXPECT_EQ(calendar->Cell(9).nState, DAY_SELECTED);
  RECT cal{};
  ::GetWindowRect(calendar->GetSafeHwnd(), &cal);
  EXPECT_EQ(cal.right - cal.left, 200);
  Shot(calendar->GetSafeHwnd(), "calendar");
  // Next month keeps the time; a day click sets the day at midnight and closes the calendar.
  ::SendMessageA(calendar->GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(CCalendarWnd::kNextMonth, 0), 0);
  EXPECT_EQ(editor.Fields().Value(), (DateFields{2007, 7, 5, 13, 5, 0}));
  // July 2007 starts on a Sunday: the 12th is row 1, column 4.
  ::SendMessageA(calendar->GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON,
                 MAKELPARAM(9 + 26 * 4 + 10, 46 + 19 * 1 + 8));
  EXPECT_EQ(editor.Fields().Value(), (DateFields{2007, 7, 12, 0, 0, 0}));
  ASSERT_TRUE(Pump([&] { return editor.Calendar() == nullptr; }));

  // "D" goes to today (fixed here at 18 January 2006), keeping hour and minute; today's cell is
  // marked only in today's month.
  editor.SetDateTime(DateValue::FromFields(2007, 7, 12, 13, 5, 0).date);
  ::SendMessageA(editor.GetSafeHwnd(), WM_COMMAND,
                 MAKEWPARAM(CDateTimeEditor::kDropDownButton, BN_CLICKED),
                 reinterpret_cast<LPARAM>(editor.DropDownButton().GetSafeHwnd()));
  calendar = editor.Calendar();
  ASSERT_NE(calendar, nullptr);
  for (int i = 0; i < 42; ++i) EXPECT_EQ(calendar->Cell(i).bToday, 0) << i;
  ::SendMessageA(calendar->GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(CCalendarWnd::kToday, 0), 0);
  EXPECT_EQ(editor.Fields().Value(), (DateFields{2006, 1, 18, 13, 5, 0}));
  int marked = -1;
  for (int i = 0; i < 42; ++i)
    if (calendar->Cell(i).bToday) marked = i;
  ASSERT_GE(marked, 0);
  EXPECT_EQ(calendar->Cell(marked).nDay, 18);
  // A click outside the grid changes nothing and tells the owner nothing.
  ::SendMessageA(calendar->GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 170));
  EXPECT_EQ(editor.Fields().Value(), (DateFields{2006, 1, 18, 13, 5, 0}));
  EXPECT_NE(editor.Calendar(), nullptr);
  host.DestroyWindow();
  CCalendarWnd::s_pfnToday = today;
}

TEST_F(Carried, DateTimeEditorUnderADayFirstTwentyFourHourLocale) {
  SetLocale("dd.MM.yyyy", ".", "HH:mm:ss", "0");
  const DateTimeLocale read = CDateTimeEditor::ReadLocaleSettings();
  ASSERT_EQ(read.dateOrder, "1") << "the locale override did not take";
  ASSERT_EQ(read.timeFormat, "1");
  Host host;
  ASSERT_TRUE(host.Open(420, 320));
  CDateTimeEditor editor;
  ASSERT_TRUE(editor.Create(host.GetSafeHwnd(), 20, 20, 600));
  editor.SetDateTime(DateValue::FromFields(2006, 1, 31, 13, 5, 9).date);
  EXPECT_EQ(editor.Fields().Text(), "31.January.2006 13:05:09 ");
  EXPECT_EQ(editor.Fields().FieldCount(), 6);
  ::SetFocus(editor.GetSafeHwnd());
  // A click right of the last separator leaves no field current.
  ::SendMessageA(editor.GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON,
                 MAKELPARAM(editor.Width() - 40, editor.Height() / 2));
  EXPECT_EQ(editor.Fields().CurrentField(), -1);
  const RECT second = editor.FieldRect(5);
  ::SendMessageA(editor.GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON,
                 MAKELPARAM(second.left + 2, editor.Height() / 2));
  EXPECT_EQ(editor.Fields().CurrentType(), FIELD_SECOND);
  ::SendMessageA(editor.GetSafeHwnd(), WM_KEYDOWN, VK_END, 0);
  EXPECT_EQ(editor.Fields().Value().second, 59);
  EXPECT_NE(editor.GetDateTime(), 0.0);
  DateFields out;
  DateValue{editor.GetDateTime(), true}.BreakDown(out);
  EXPECT_EQ(out, (DateFields{2006, 1, 31, 13, 5, 0}));  // seconds 0 when handed out
  ::SendMessageA(editor.GetSafeHwnd(), WM_COMMAND,
                 MAKEWPARAM(CDateTimeEditor::kDropDownButton, BN_CLICKED),
                 reinterpret_cast<LPARAM>(editor.DropDownButton().GetSafeHwnd()));
  ASSERT_NE(editor.Calendar(), nullptr);
  EXPECT_EQ(editor.Calendar()->FirstDayOfWeek(), 1);
  EXPECT_EQ(editor.Calendar()->DayName(0), "Mon");
  EXPECT_EQ(editor.Calendar()->DayName(6), "Sun");
  // January 2006 with Monday first starts in the seventh cell.
  EXPECT_EQ(editor.Calendar()->Cell(6).nDay, 1);
  Shot(host.GetSafeHwnd(), "date_time_editor_dmy");
  host.DestroyWindow();
}

}  // namespace
