// Dialogs: data exchange, message dispatch and the modal loop, driven in-process.
#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include "tests/platform/gui_test_support.h"
#include "tests/platform/test_form.h"

namespace ost_test {
namespace {

std::string ItemText(HWND dialog, int id) {
  char buffer[256] = {};
  ::GetDlgItemTextA(dialog, id, buffer, sizeof buffer);
  return buffer;
}

class ModelessForm : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(form.Create());
    hwnd = form.GetSafeHwnd();
    form.ShowWindow(SW_SHOW);
  }
  void TearDown() override {
    if (::IsWindow(hwnd)) form.DestroyWindow();
  }

  TestForm form;
  HWND hwnd = nullptr;
};

TEST_F(ModelessForm, InitDialogLoadsTheMembersIntoTheControls) {
  EXPECT_EQ(form.initCalls, 1);
  EXPECT_EQ(ost::Wnd::FromHandle(hwnd), &form);
  EXPECT_EQ(ItemText(hwnd, IDC_TEST_NAME), "alpha");
  EXPECT_EQ(ItemText(hwnd, IDC_TEST_NUMBER), "-12");
  EXPECT_EQ(ItemText(hwnd, IDC_TEST_PORT), "80");
  EXPECT_EQ(ItemText(hwnd, IDC_TEST_LIMITED), "abc");
  EXPECT_EQ(::IsDlgButtonChecked(hwnd, IDC_TEST_CHECK), BST_CHECKED);
  EXPECT_EQ(::SendDlgItemMessageA(hwnd, IDC_TEST_COMBO, CB_GETCURSEL, 0, 0), 1);
  // The limit of the limited text reaches its edit control.
  EXPECT_EQ(::SendDlgItemMessageA(hwnd, IDC_TEST_LIMITED, EM_GETLIMITTEXT, 0, 0), 5);
}

TEST_F(ModelessForm, SavingReadsEveryControlBack) {
  ::SetDlgItemTextA(hwnd, IDC_TEST_NAME, "bravo charlie");
  ::SetDlgItemTextA(hwnd, IDC_TEST_NUMBER, " -2147483648 ");
  ::SetDlgItemTextA(hwnd, IDC_TEST_PORT, "65535");
  ::SetDlgItemTextA(hwnd, IDC_TEST_LIMITED, "12345");
  ::CheckDlgButton(hwnd, IDC_TEST_CHECK, BST_UNCHECKED);
  ::SendDlgItemMessageA(hwnd, IDC_TEST_COMBO, CB_SETCURSEL, 2, 0);
  ASSERT_TRUE(form.UpdateData(true));
  EXPECT_EQ(form.name, "bravo charlie");
  EXPECT_EQ(form.number, INT32_MIN);
  EXPECT_EQ(form.port, 65535);
  EXPECT_EQ(form.limited, "12345");
  EXPECT_EQ(form.check, 0);
  EXPECT_EQ(form.comboIndex, 2);
}

TEST_F(ModelessForm, SavingStopsAtTheFirstInvalidValueAndFocusesIt) {
  struct Case {
    int id;
    const char* text;
  };
  const Case cases[] = {
      {IDC_TEST_NUMBER, "12x"},     {IDC_TEST_NUMBER, ""}, {IDC_TEST_NUMBER, "2147483648"},
      {IDC_TEST_PORT, "65536"},     {IDC_TEST_PORT, "-1"}, {IDC_TEST_PORT, "0x50"},
      {IDC_TEST_LIMITED, "123456"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("control ") + std::to_string(c.id) + " text '" + c.text + "'");
    ASSERT_TRUE(form.UpdateData(false));
    ::SetDlgItemTextA(hwnd, c.id, c.text);
    // A value after the invalid one is not taken.
    ::CheckDlgButton(hwnd, IDC_TEST_CHECK, BST_UNCHECKED);
    EXPECT_FALSE(form.UpdateData(true));
    EXPECT_EQ(::GetFocus(), ::GetDlgItem(hwnd, c.id));
    EXPECT_EQ(form.number, -12);
    EXPECT_EQ(form.port, 80);
    EXPECT_EQ(form.limited, "abc");
    EXPECT_EQ(form.check, 1);
  }
}

TEST_F(ModelessForm, LoadingChangesOnlyTextsThatDiffer) {
  int before = form.nameChanges;
  ASSERT_TRUE(form.UpdateData(false));
  EXPECT_EQ(form.nameChanges, before);  // an unchanged text raises no EN_CHANGE
  form.name = "delta";
  ASSERT_TRUE(form.UpdateData(false));
  EXPECT_EQ(form.nameChanges, before + 1);
  EXPECT_EQ(ItemText(hwnd, IDC_TEST_NAME), "delta");
}

TEST_F(ModelessForm, CommandsAndUserMessagesReachTheirHandlers) {
  form.Send(WM_COMMAND, MAKEWPARAM(IDC_TEST_APPLY, BN_CLICKED),
            reinterpret_cast<LPARAM>(::GetDlgItem(hwnd, IDC_TEST_APPLY)));
  EXPECT_EQ(form.applyClicks, 1);
  // A click goes through the queue as a real one does.
  ASSERT_TRUE(::PostMessageA(::GetDlgItem(hwnd, IDC_TEST_APPLY), BM_CLICK, 0, 0));
  EXPECT_TRUE(PumpUntil([&] { return form.applyClicks == 2; }));
  // A notification other than the mapped one is not taken for it.
  form.Send(WM_COMMAND, MAKEWPARAM(IDC_TEST_APPLY, BN_SETFOCUS), 0);
  EXPECT_EQ(form.applyClicks, 2);

  EXPECT_EQ(form.Send(kSumMessage, 30, 12), 42);
  ASSERT_TRUE(form.Post(kPostedMessage, 0, 1234));
  EXPECT_EQ(form.postedCalls, 0);
  EXPECT_TRUE(PumpUntil([&] { return form.postedCalls == 1; }));
  EXPECT_EQ(form.postedValue, 1234);

  int changes = form.nameChanges;
  ::SetDlgItemTextA(hwnd, IDC_TEST_NAME, "echo");
  EXPECT_EQ(form.nameChanges, changes + 1);
}

TEST_F(ModelessForm, TimerPaintColourAndMouseHandlersRun) {
  ASSERT_TRUE(form.SetTimer(1, 10));
  EXPECT_TRUE(PumpUntil([&] { return form.timerTicks >= 2; }));
  form.KillTimer(1);

  form.paints = 0;
  form.Invalidate();
  form.UpdateWindow();
  EXPECT_GE(form.paints, 1);

  form.staticColours = 0;
  HWND label = ::GetDlgItem(hwnd, IDC_TEST_LABEL);
  ::InvalidateRect(label, nullptr, TRUE);
  ::UpdateWindow(label);
  EXPECT_GE(form.staticColours, 1);

  form.Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(-3, 17));
  EXPECT_EQ(form.leftClicks, 1);
  EXPECT_EQ(form.lastClick.x, -3);
  EXPECT_EQ(form.lastClick.y, 17);
}

TEST_F(ModelessForm, PreTranslateMessageSeesKeysOfItsControls) {
  HWND edit = ::GetDlgItem(hwnd, IDC_TEST_NAME);
  ::SetFocus(edit);
  ASSERT_TRUE(::PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 1));
  EXPECT_TRUE(PumpUntil([&] { return form.enterKeys == 1; }));
  EXPECT_TRUE(::IsWindow(hwnd));  // swallowed: no default button pressed

  // Escape takes the dialog's usual path: IDCANCEL ends (destroys) a modeless dialog.
  ASSERT_TRUE(::PostMessageA(edit, WM_KEYDOWN, VK_ESCAPE, 1));
  EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(hwnd); }));
  EXPECT_EQ(form.GetResult(), IDCANCEL);
  EXPECT_EQ(form.GetSafeHwnd(), nullptr);
  EXPECT_EQ(ost::Wnd::FromHandle(hwnd), nullptr);
}

constexpr INT_PTR kNotEndedByTheTest = -2;

// A modal run driven from a helper thread: `drive` gets the dialog window once it exists and
// is expected to end the run; if it does not, the helper ends it with kNotEndedByTheTest.
INT_PTR RunModal(TestForm& form, const std::function<void(HWND)>& drive) {
  std::thread driver([&] {
    if (!WaitUntil([&] { return form.createdWindow.load() != nullptr; })) return;
    HWND dialog = form.createdWindow.load();
    drive(dialog);
    if (!WaitUntil([&] { return !::IsWindow(dialog); })) {
      ::PostMessageA(dialog, kEndMessage, static_cast<WPARAM>(kNotEndedByTheTest), 0);
    }
  });
  INT_PTR result = form.DoModal();
  driver.join();
  return result;
}

TEST(ModalDialog, EndsWithTheResultOfEachWayOut) {
  struct Case {
    const char* name;
    std::function<void(HWND)> end;
    INT_PTR expected;
  };
  const Case cases[] = {
      {"OK button", [](HWND d) { ::PostMessageA(::GetDlgItem(d, IDOK), BM_CLICK, 0, 0); }, IDOK},
      {"Cancel button", [](HWND d) { ::PostMessageA(::GetDlgItem(d, IDCANCEL), BM_CLICK, 0, 0); },
       IDCANCEL},
      {"Escape key",
       [](HWND d) { ::PostMessageA(::GetDlgItem(d, IDC_TEST_NAME), WM_KEYDOWN, VK_ESCAPE, 1); },
       IDCANCEL},
      {"WM_CLOSE", [](HWND d) { ::PostMessageA(d, WM_CLOSE, 0, 0); }, IDCANCEL},
      {"EndDialog from a handler", [](HWND d) { ::PostMessageA(d, kEndMessage, 77, 0); }, 77},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TestForm form;
    EXPECT_EQ(RunModal(form, c.end), c.expected);
    EXPECT_EQ(form.GetSafeHwnd(), nullptr);
    EXPECT_FALSE(::IsWindow(form.createdWindow.load()));
  }
}

TEST(ModalDialog, OkSavesTheTypedValuesAndRefusesInvalidOnes) {
  TestForm form;
  std::string seenName;
  INT_PTR result = RunModal(form, [&](HWND d) {
    seenName = ItemText(d, IDC_TEST_NAME);  // loaded by the dialog's thread
    ::SetDlgItemTextA(d, IDC_TEST_NAME, "modal");
    ::SetDlgItemTextA(d, IDC_TEST_NUMBER, "not a number");
    ::SendMessageA(::GetDlgItem(d, IDOK), BM_CLICK, 0, 0);
    // Refused: the dialog stays open.
    bool stillOpen = ::IsWindow(d) && ::IsWindowVisible(d);
    ::SetDlgItemTextA(d, IDC_TEST_NUMBER, "99");
    if (stillOpen) ::PostMessageA(::GetDlgItem(d, IDOK), BM_CLICK, 0, 0);
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(seenName, "alpha");
  EXPECT_EQ(form.name, "modal");
  EXPECT_EQ(form.number, 99);
}

TEST(ModalDialog, DisablesItsParentWhileItRuns) {
  TestForm parent;
  ASSERT_TRUE(parent.Create());
  HWND parentWindow = parent.GetSafeHwnd();
  TestForm child(parentWindow);
  bool parentEnabledDuringRun = true;
  INT_PTR result = RunModal(child, [&](HWND d) {
    parentEnabledDuringRun = ::IsWindowEnabled(parentWindow) != FALSE;
    ::PostMessageA(d, kEndMessage, 5, 0);
  });
  EXPECT_EQ(result, 5);
  EXPECT_FALSE(parentEnabledDuringRun);
  EXPECT_TRUE(::IsWindowEnabled(parentWindow));
  parent.DestroyWindow();
}

TEST(ModalDialog, EndDialogDuringInitDialogReturnsAtOnce) {
  class EndsAtOnce : public TestForm {
    BOOL OnInitDialog() override {
      TestForm::OnInitDialog();
      EndDialog(3);
      return TRUE;
    }
  };
  EndsAtOnce form;
  EXPECT_EQ(form.DoModal(), 3);
  EXPECT_EQ(form.GetSafeHwnd(), nullptr);
}

TEST(ModalDialog, MissingTemplateFails) {
  ost::Dialog dialog(4242);
  EXPECT_EQ(dialog.DoModal(), -1);
  EXPECT_FALSE(dialog.Create());
}

}  // namespace
}  // namespace ost_test
