// Control wrappers: tooltip, progress bar, list and combo boxes, edit.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "platform/controls.h"
#include "platform/tooltip.h"
#include "res/resource.h"
#include "tests/platform/test_form.h"

namespace ost_test {
namespace {

class Controls : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(form.Create()); }
  void TearDown() override { form.DestroyWindow(); }
  TestForm form;
};

TEST_F(Controls, ToolTipHoldsTheTextsOfItsTools) {
  ost::ToolTip tip;
  ASSERT_TRUE(tip.Create(form.GetSafeHwnd()));
  EXPECT_TRUE(tip.GetStyle() & TTS_ALWAYSTIP);
  HWND apply = form.GetDlgItem(IDC_TEST_APPLY);
  ASSERT_TRUE(tip.AddTool(form.GetSafeHwnd(), std::string("LOGIN")));
  ASSERT_TRUE(tip.AddTool(apply, static_cast<UINT>(IDS_TIP_CONNECT)));
  EXPECT_EQ(tip.GetToolCount(), 2);
  EXPECT_EQ(tip.GetToolText(form.GetSafeHwnd()), "LOGIN");
  EXPECT_EQ(tip.GetToolText(apply), "Connect");
  EXPECT_EQ(tip.GetToolText(form.GetDlgItem(IDOK)), "");
  // A two-state button changes its text in place: still one tool.
  tip.UpdateTipText(apply, "Disconnect");
  EXPECT_EQ(tip.GetToolText(apply), "Disconnect");
  EXPECT_EQ(tip.GetToolCount(), 2);
  MSG move{apply, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3), ::GetTickCount(), {0, 0}};
  tip.RelayEvent(&move);
}

TEST_F(Controls, ToolTipGoesWithItsOwner) {
  ost::ToolTip tip;
  ASSERT_TRUE(tip.Create(form.GetSafeHwnd()));
  HWND tipWindow = tip.GetSafeHwnd();
  form.DestroyWindow();
  EXPECT_FALSE(::IsWindow(tipWindow));
  EXPECT_EQ(tip.GetSafeHwnd(), nullptr);
}

TEST_F(Controls, ProgressBarKeepsItsPosition) {
  ost::ProgressBar bar;
  ASSERT_TRUE(bar.Create(WS_CHILD | WS_VISIBLE, RECT{0, 0, 180, 12}, form.GetSafeHwnd(), 9200));
  bar.SetRange(0, 18);
  EXPECT_EQ(bar.SetPos(5), 0);
  EXPECT_EQ(bar.GetPos(), 5);
  bar.SetStep(2);
  EXPECT_EQ(bar.StepIt(), 5);
  EXPECT_EQ(bar.GetPos(), 7);
}

TEST_F(Controls, ListAndComboBoxesAddSelectAndRead) {
  ost::ListBox list;
  ASSERT_TRUE(list.Create(WS_CHILD | LBS_NOTIFY, RECT{0, 0, 100, 80}, form.GetSafeHwnd(), 9201));
  EXPECT_EQ(list.AddString("first"), 0);
  EXPECT_EQ(list.AddString("second"), 1);
  EXPECT_EQ(list.GetCount(), 2);
  EXPECT_EQ(list.GetCurSel(), LB_ERR);
  EXPECT_TRUE(list.SetCurSel(1));
  EXPECT_EQ(list.GetCurSel(), 1);
  EXPECT_EQ(list.GetItemText(1), "second");
  EXPECT_EQ(list.GetItemText(5), "");
  list.ResetContent();
  EXPECT_EQ(list.GetCount(), 0);

  ost::ComboBox combo;  // the dialog's own combo box, filled by the form
  combo.Attach(form.GetDlgItem(IDC_TEST_COMBO));
  EXPECT_EQ(combo.GetCount(), 3);
  EXPECT_EQ(combo.GetItemText(2), "two");
  EXPECT_TRUE(combo.SetCurSel(0));
  EXPECT_EQ(combo.GetCurSel(), 0);
  EXPECT_FALSE(combo.SetCurSel(7));
  combo.Detach();
  EXPECT_TRUE(::IsWindow(form.GetDlgItem(IDC_TEST_COMBO)));  // an attached window stays
}

TEST_F(Controls, EditCaretGoesWhereItIsPut) {
  ost::Edit edit;
  edit.Attach(form.GetDlgItem(IDC_TEST_NAME));
  edit.SetText("12345");
  edit.SetSel(5, 5);
  DWORD start = 0, end = 0;
  edit.Send(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 5u);
  EXPECT_EQ(end, 5u);
  edit.SetLimitText(3);
  EXPECT_EQ(edit.Send(EM_GETLIMITTEXT), 3);
  edit.Detach();
}

}  // namespace
}  // namespace ost_test
