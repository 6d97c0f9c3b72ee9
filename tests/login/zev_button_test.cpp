// The skinned button on the display: which face each style shows as the mouse moves, presses
// and leaves, the state list, SetState, the loaders' failures and reloading.
#include <gtest/gtest.h>

#include <string>

#include "ui/zev_button.h"
#include "platform/message_loop.h"
#include "tests/login/bitmap_file.h"
#include "tests/support/win_process.h"

namespace {

namespace ts = testsupport;

constexpr COLORREF kRed = RGB(220, 0, 0);
constexpr COLORREF kGreen = RGB(0, 200, 0);
constexpr COLORREF kBlue = RGB(0, 0, 230);
constexpr COLORREF kYellow = RGB(230, 230, 0);
constexpr COLORREF kCyan = RGB(0, 220, 220);
constexpr int kButtonId = 8444;
constexpr int kSize = 34;

// A plain top-level window that routes clicks and owner drawing like the program's windows.
class Parent : public ost::Wnd {
 public:
  bool Create() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "ZevButtonTestParent";
    wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
    ::RegisterClassA(&wc);
    if (!CreateEx(0, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE, 60, 60, 200, 200, nullptr, 0))
      return false;
    MapCommand(kButtonId, [this] { ++clicks; });
    return true;
  }
  int clicks = 0;
};

class ZevButton : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_folder = new ts::TempFolder("zevbutton");
    struct Face {
      const char* name;
      COLORREF colour;
    };
    for (const Face& f :
         {Face{"flat.bmp", kRed}, Face{"focus.bmp", kGreen}, Face{"selected.bmp", kBlue},
          Face{"s0.bmp", kYellow}, Face{"s0_over.bmp", kCyan}, Face{"s1.bmp", kBlue},
          Face{"s1_over.bmp", kGreen}, Face{"s2.bmp", kRed}, Face{"s2_over.bmp", kRed}})
      ASSERT_TRUE(logintest::WriteBitmapFile(File(f.name), kSize, kSize, f.colour));
    // Larger than the button: red in its top-left button-sized corner, green elsewhere.
    ASSERT_TRUE(logintest::WriteBitmapFile(File("large.bmp"), 2 * kSize, 2 * kSize, kGreen, kSize,
                                           kSize, kRed));
  }
  static void TearDownTestSuite() {
    delete s_folder;
    s_folder = nullptr;
  }
  static std::string File(const std::string& name) { return s_folder->File(name); }

  void SetUp() override {
    ASSERT_TRUE(parent.Create());
    ASSERT_TRUE(button.Create("", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_BITMAP | BS_OWNERDRAW,
                              RECT{20, 20, 20 + kSize, 20 + kSize}, parent.GetSafeHwnd(),
                              kButtonId));
    // The mouse starts away from the button.
    ::SetCursorPos(5, 5);
    Pump();
  }
  void TearDown() override { parent.DestroyWindow(); }

  void Pump(DWORD ms = 60) {
    ost::PumpMessagesUntil([] { return false; }, ms);
  }
  // The colour the button shows at (x, y).
  COLORREF Shown(int x = kSize / 2, int y = kSize / 2) {
    Pump();
    HDC dc = ::GetDC(button.GetSafeHwnd());
    const COLORREF c = ::GetPixel(dc, x, y);
    ::ReleaseDC(button.GetSafeHwnd(), dc);
    return c;
  }
  void Repaint() {
    button.Invalidate();
    button.UpdateWindow();
  }
  void MouseOver() {
    const RECT r = button.GetWindowRect();
    ::SetCursorPos(r.left + kSize / 2, r.top + kSize / 2);
    button.Send(WM_MOUSEMOVE, 0, MAKELPARAM(kSize / 2, kSize / 2));
  }
  void MouseAway() {
    ::SetCursorPos(5, 5);
    ost::PumpMessagesUntil([&] { return button.m_bHover == 0; }, 3000);
  }
  void LoadThreeFaces(uint16_t style) {
    ASSERT_EQ(button.LoadButtonBitmap(File("flat.bmp").c_str(), File("focus.bmp").c_str(),
                                      File("selected.bmp").c_str(), style),
              1);
    Repaint();
  }
  int LoadStates(uint16_t count, uint16_t style, const char* missing = nullptr) {
    std::string names[3][2] = {{File("s0.bmp"), File("s0_over.bmp")},
                               {File("s1.bmp"), File("s1_over.bmp")},
                               {File("s2.bmp"), File("s2_over.bmp")}};
    if (missing != nullptr) names[1][0] = File(missing);
    const char* files[3][2];
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 2; ++j) files[i][j] = names[i][j].c_str();
    return button.LoadButtonBitmap(count, files, style);
  }

  static ts::TempFolder* s_folder;
  Parent parent;
  CZevButton button;
};

ts::TempFolder* ZevButton::s_folder = nullptr;

TEST_F(ZevButton, IsOwnerDrawnAndClicksReachTheParent) {
  EXPECT_EQ(button.GetStyle() & BS_TYPEMASK, static_cast<DWORD>(BS_OWNERDRAW));
  EXPECT_EQ(button.m_wStyle, 0);
  EXPECT_EQ(button.m_bUp, 1);
  button.Post(BM_CLICK);
  EXPECT_TRUE(ost::PumpMessagesUntil([&] { return parent.clicks == 1; }, 3000));
}

TEST_F(ZevButton, SubclassingAPlainButtonMakesItOwnerDrawn) {
  HWND plain =
      ::CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 100, 100, kSize,
                        kSize, parent.GetSafeHwnd(), nullptr, ::GetModuleHandleA(nullptr), nullptr);
  CZevButton subclassed;
  ASSERT_TRUE(subclassed.SubclassWindow(plain));
  EXPECT_EQ(subclassed.GetStyle() & BS_TYPEMASK, static_cast<DWORD>(BS_OWNERDRAW));
  subclassed.UnsubclassWindow();
}

TEST_F(ZevButton, PressStyleShowsTheSelectedFaceWhileHeld) {
  LoadThreeFaces(CZevButton::kPress);
  EXPECT_EQ(Shown(), kRed);
  button.Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(button.m_bUp, 0);
  EXPECT_EQ(Shown(), kBlue);
  button.Send(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(Shown(), kRed);
  EXPECT_EQ(parent.clicks, 1);
  // Released outside the button: the face comes back, no click.
  button.Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(Shown(), kBlue);
  button.Send(WM_LBUTTONUP, 0, MAKELPARAM(-50, -50));
  EXPECT_EQ(Shown(), kRed);
  EXPECT_EQ(parent.clicks, 1);
  // No hover face for a press button.
  MouseOver();
  EXPECT_EQ(Shown(), kRed);
}

TEST_F(ZevButton, HoverStyleFollowsTheMouseAndIgnoresPresses) {
  LoadThreeFaces(CZevButton::kHover);
  EXPECT_EQ(Shown(), kRed);
  MouseOver();
  EXPECT_EQ(button.m_bHover, 1);
  EXPECT_EQ(Shown(), kGreen);
  button.Send(WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
  EXPECT_EQ(Shown(), kGreen);
  MouseAway();
  EXPECT_EQ(button.m_bHover, 0);
  EXPECT_EQ(Shown(), kRed);
  button.Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(Shown(), kRed);
  button.Send(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

TEST_F(ZevButton, PressHoverStyleHasBothAndLeavingShowsTheFlatFace) {
  LoadThreeFaces(CZevButton::kPressHover);
  MouseOver();
  EXPECT_EQ(Shown(), kGreen);
  button.Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(Shown(), kBlue);
  button.Send(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(Shown(), kRed);
  MouseAway();
  EXPECT_EQ(Shown(), kRed);
}

TEST_F(ZevButton, ThreeStateStyles) {
  LoadThreeFaces(CZevButton::kThreeStateCycle);
  EXPECT_EQ(Shown(), kRed);
  const COLORREF cycle[] = {kGreen, kBlue, kRed, kGreen};
  for (COLORREF expected : cycle) {
    button.Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    button.Send(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(Shown(), expected);
  }
  LoadThreeFaces(CZevButton::kFixedThreeState);
  button.SetFaceState(3);
  Repaint();
  EXPECT_EQ(Shown(), kBlue);
  button.SetFaceState(1);
  Repaint();
  EXPECT_EQ(Shown(), kRed);
}

TEST_F(ZevButton, StateListSteppedByClicksAndSetByTheProgram) {
  ASSERT_EQ(LoadStates(2, CZevButton::kStateListClick), 1);
  Repaint();
  EXPECT_EQ(Shown(), kYellow);
  button.Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  button.Send(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(button.m_wState, 1);
  EXPECT_EQ(Shown(), kBlue);
  button.Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  button.Send(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(Shown(), kYellow);
  EXPECT_EQ(button.SetState(1), 1);
  EXPECT_EQ(Shown(), kBlue);
  button.Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  button.Send(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(button.m_wState, 0);
  // The mouse-over face of the current state, then its normal face.
  MouseOver();
  EXPECT_EQ(Shown(), kCyan);
  MouseAway();
  EXPECT_EQ(Shown(), kYellow);

  // Set by the program only: a click changes nothing.
  ASSERT_EQ(LoadStates(2, CZevButton::kStateListSet), 1);
  button.Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  button.Send(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(button.m_wState, 0);
}

TEST_F(ZevButton, SetStateResults) {
  ASSERT_EQ(LoadStates(2, CZevButton::kStateListSet), 1);
  EXPECT_EQ(button.SetState(-1), 1);  // before state 0 of two: the last
  EXPECT_EQ(button.m_wState, 0);
  EXPECT_EQ(button.SetState(1), 1);
  EXPECT_EQ(button.SetState(-1), 0);
  EXPECT_EQ(button.m_wState, 1);
  EXPECT_EQ(button.SetState(5), 1);  // outside the list: kept, repainted
  EXPECT_EQ(button.m_wState, 1);
  EXPECT_EQ(Shown(), kBlue);

  CZevButton threeFaces;
  ASSERT_EQ(threeFaces.LoadButtonBitmap(File("flat.bmp").c_str(), File("focus.bmp").c_str(),
                                        File("focus.bmp").c_str(), CZevButton::kPress),
            1);
  EXPECT_EQ(threeFaces.SetState(0), -1);
  CZevButton single;
  ASSERT_EQ(single.LoadButtonBitmap(File("s1.bmp").c_str(), CZevButton::kSingleFace), 1);
  EXPECT_EQ(single.SetState(0), 1);
}

TEST_F(ZevButton, FailedLoadsKeepTheStyle) {
  ASSERT_EQ(LoadStates(2, CZevButton::kStateListClick), 1);
  EXPECT_EQ(LoadStates(2, CZevButton::kStateListSet, "missing.bmp"), 0);
  EXPECT_EQ(button.m_wStyle, CZevButton::kStateListClick);
  EXPECT_EQ(button.m_wStateCount, 2);
  EXPECT_NE(button.m_phStateBitmaps[0], nullptr);
  EXPECT_EQ(button.m_phStateBitmaps[1], nullptr);
  EXPECT_EQ(button.LoadButtonBitmap(File("flat.bmp").c_str(), File("nothing.bmp").c_str(),
                                    File("selected.bmp").c_str(), CZevButton::kHover),
            0);
  EXPECT_EQ(button.m_wStyle, CZevButton::kStateListClick);
  EXPECT_EQ(button.m_hSelectedBitmap, nullptr);
  EXPECT_EQ(button.LoadButtonBitmap(File("nothing.bmp").c_str(), CZevButton::kSingleFace), 0);
  EXPECT_EQ(button.m_wStyle, CZevButton::kStateListClick);
  // The button paints nothing it does not hold and keeps working.
  Repaint();
  MouseOver();
  MouseAway();
}

TEST_F(ZevButton, AShorterStateListStartsAgainAtStateZero) {
  ASSERT_EQ(LoadStates(3, CZevButton::kStateListClick), 1);
  ASSERT_EQ(button.SetState(2), 1);
  ASSERT_EQ(LoadStates(2, CZevButton::kStateListClick), 1);
  EXPECT_EQ(button.m_wState, 0);
  Repaint();
  EXPECT_EQ(Shown(), kYellow);
  MouseOver();
  EXPECT_EQ(Shown(), kCyan);
  MouseAway();
  // A list that still holds the state keeps it.
  ASSERT_EQ(button.SetState(1), 1);
  ASSERT_EQ(LoadStates(3, CZevButton::kStateListClick), 1);
  EXPECT_EQ(button.m_wState, 1);
}

TEST_F(ZevButton, SingleFaceAndAFaceLargerThanTheButton) {
  ASSERT_EQ(button.LoadButtonBitmap(File("large.bmp").c_str(), CZevButton::kSingleFace), 1);
  Repaint();
  EXPECT_EQ(Shown(1, 1), kRed);
  EXPECT_EQ(Shown(kSize - 1, kSize - 1), kRed);  // cut, not shrunk
  MouseOver();
  button.Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(Shown(kSize - 1, kSize - 1), kRed);
  button.Send(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

TEST_F(ZevButton, RegionShapesClipTheWindow) {
  button.SetRegionShape(CButtonOutline::kDiamond);
  HRGN region = ::CreateRectRgn(0, 0, 0, 0);
  EXPECT_NE(::GetWindowRgn(button.GetSafeHwnd(), region), ERROR);
  EXPECT_TRUE(::PtInRegion(region, kSize / 2, kSize / 2));
  EXPECT_FALSE(::PtInRegion(region, 1, 1));
  ::DeleteObject(region);
}

}  // namespace
