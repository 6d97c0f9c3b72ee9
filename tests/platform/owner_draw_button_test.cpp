// A subclassed dialog button turned owner-drawn: drawing through the parent's WM_DRAWITEM,
// mouse tracking and clicks.
#include <gtest/gtest.h>

#include "platform/controls.h"
#include "tests/platform/gui_test_support.h"
#include "tests/platform/test_form.h"

namespace ost_test {
namespace {

class SkinButton : public ost::Button {
 public:
  SkinButton() { MapMessage(WM_MOUSELEAVE, &SkinButton::OnMouseLeave); }

  int draws = 0;
  HWND drawnWindow = nullptr;
  UINT drawnType = 0;
  int presses = 0;
  int leaves = 0;
  bool tracking = false;

 protected:
  void PreSubclassWindow() override {
    ost::Button::PreSubclassWindow();
    ModifyStyle(0, BS_OWNERDRAW);
  }
  void DrawItem(DRAWITEMSTRUCT* item) override {
    ++draws;
    drawnWindow = item->hwndItem;
    drawnType = item->CtlType;
    ost::FillSolidRect(item->hDC, item->rcItem, RGB(200, 10, 10));
  }
  void OnMouseMove(UINT flags, POINT point) override {
    Default();
    (void)flags;
    (void)point;
    if (tracking) return;
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, m_hWnd, HOVER_DEFAULT};
    tracking = ::TrackMouseEvent(&track) != FALSE;
  }
  void OnLButtonDown(UINT flags, POINT point) override {
    ++presses;
    ost::Button::OnLButtonDown(flags, point);  // captures the mouse and makes the click
  }

 private:
  LRESULT OnMouseLeave(WPARAM, LPARAM) {
    ++leaves;
    tracking = false;
    return 0;
  }
};

class OwnerDrawButton : public ::testing::Test {
 protected:
  void SetUp() override {
    form.MapClick(IDC_TEST_SKIN, [this] { ++clicks; });
    ASSERT_TRUE(form.Create());
    form.SetWindowPos(HWND_TOP, 40, 40, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    ASSERT_TRUE(button.SubclassDlgItem(IDC_TEST_SKIN, form.GetSafeHwnd()));
  }
  void TearDown() override {
    if (form.GetSafeHwnd() != nullptr) form.DestroyWindow();
  }

  class Form : public TestForm {
   public:
    void MapClick(int id, std::function<void()> handler) { MapCommand(id, std::move(handler)); }
  };
  Form form;
  SkinButton button;
  int clicks = 0;
};

TEST_F(OwnerDrawButton, SubclassingAddsOwnerDrawAndDrawItemPaintsTheButton) {
  HWND hwnd = button.GetSafeHwnd();
  EXPECT_EQ(ost::Wnd::FromHandle(hwnd), &button);
  EXPECT_EQ(button.GetStyle() & BS_TYPEMASK, static_cast<DWORD>(BS_OWNERDRAW));
  button.draws = 0;
  button.Invalidate();
  button.UpdateWindow();
  EXPECT_GE(button.draws, 1);
  EXPECT_EQ(button.drawnWindow, hwnd);
  EXPECT_EQ(button.drawnType, static_cast<UINT>(ODT_BUTTON));
  ost::ClientDc dc(hwnd);
  EXPECT_EQ(::GetPixel(dc.Get(), 2, 2), RGB(200, 10, 10));
}

TEST_F(OwnerDrawButton, ClicksStillReachTheParent) {
  ASSERT_TRUE(button.Post(BM_CLICK));
  EXPECT_TRUE(PumpUntil([&] { return clicks == 1; }));
  EXPECT_EQ(button.presses, 1);
}

TEST_F(OwnerDrawButton, MouseLeaveArrivesAfterTheCursorLeaves) {
  RECT r = button.GetWindowRect();
  ASSERT_TRUE(::SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2));
  PumpFor(50);
  button.Send(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  ASSERT_TRUE(button.tracking);
  EXPECT_EQ(button.leaves, 0);
  RECT f = form.GetWindowRect();
  ASSERT_TRUE(::SetCursorPos(f.right + 200, f.bottom + 200));
  EXPECT_TRUE(PumpUntil([&] { return button.leaves == 1; }));
  EXPECT_FALSE(button.tracking);
}

TEST_F(OwnerDrawButton, DestroyingTheParentDetachesTheButton) {
  HWND hwnd = button.GetSafeHwnd();
  form.DestroyWindow();
  EXPECT_FALSE(::IsWindow(hwnd));
  EXPECT_EQ(button.GetSafeHwnd(), nullptr);
}

TEST(CreatedButton, IsOwnedSubclassedAndDestroyedWithItsObject) {
  TestForm form;
  ASSERT_TRUE(form.Create());
  HWND hwnd = nullptr;
  {
    SkinButton button;
    ASSERT_TRUE(button.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, RECT{0, 0, 34, 34},
                              form.GetSafeHwnd(), 8440));
    hwnd = button.GetSafeHwnd();
    EXPECT_EQ(form.GetDlgItem(8440), hwnd);
    EXPECT_EQ(ost::Wnd::FromHandle(hwnd), &button);
  }
  EXPECT_FALSE(::IsWindow(hwnd));
  EXPECT_TRUE(::IsWindow(form.GetSafeHwnd()));
  form.DestroyWindow();
}

}  // namespace
}  // namespace ost_test
