// The colour-adjust dialog on the display: values shown per family, what Apply sends, typed and
// scrolled values, Default, the send failure and Close.
#include "mainwnd/color_adjust_dlg.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/win_process.h"
#include "tests/support/window_capture.h"

namespace ts = testsupport;

namespace {

class ColorAdjustDlgTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // The skin lies beside the test, as beside the program.
    ASSERT_TRUE(::SetCurrentDirectoryA(ts::ThisExeFolder().c_str()));
    INITCOMMONCONTROLSEX cc{sizeof cc, ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&cc);
  }
  void SetUp() override {
    m_folder = std::make_unique<ts::TempFolder>("coloradjust");
    ::SetEnvironmentVariableA("OST_MSGBOX_LOG", m_folder->File("msgbox.log").c_str());
  }
  void TearDown() override {
    m_dialog.reset();
    ::SetEnvironmentVariableA("OST_MSGBOX_LOG", nullptr);
  }

  // Opens the dialog modelessly for a device reporting these values.
  void Open(ColorFamily family, ColorValues device, bool sendSucceeds = true) {
    m_dialog = std::make_unique<CColorAdjustDlg>(nullptr, family,
                                                 [this, sendSucceeds](const ColorValues& v) {
                                                   m_sent.push_back(v);
                                                   return sendSucceeds;
                                                 });
    m_dialog->m_nDevBrightness = device.brightness;
    m_dialog->m_nDevContrast = device.contrast;
    m_dialog->m_nDevHue = device.hue;
    ASSERT_TRUE(m_dialog->Create());
    ::ShowWindow(Window(), SW_SHOW);
  }
  HWND Window() const { return m_dialog->GetSafeHwnd(); }
  std::string Text(int id) const { return ts::ItemText(Window(), id); }
  int SliderPos(int id) const {
    return static_cast<int>(::SendMessageA(::GetDlgItem(Window(), id), TBM_GETPOS, 0, 0));
  }
  // Shown values as "brightness/contrast/hue", edits and sliders alike.
  std::string Shown() const {
    std::ostringstream s;
    s << Text(CColorAdjustDlg::kBrightnessEdit) << '/' << Text(CColorAdjustDlg::kContrastEdit)
      << '/' << Text(CColorAdjustDlg::kHueEdit) << " sliders "
      << SliderPos(CColorAdjustDlg::kBrightnessSlider) << '/'
      << SliderPos(CColorAdjustDlg::kContrastSlider) << '/'
      << SliderPos(CColorAdjustDlg::kHueSlider);
    return s.str();
  }
  void Press(int id) {
    ::SendMessageA(Window(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(Window(), id)));
  }
  std::string MessageBoxes() const {
    std::ifstream in(m_folder->File("msgbox.log"));
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  std::unique_ptr<ts::TempFolder> m_folder;
  std::unique_ptr<CColorAdjustDlg> m_dialog;
  std::vector<ColorValues> m_sent;
};

TEST_F(ColorAdjustDlgTest, ShowsTheDeviceValuesAndApplySendsThemBackUnchanged) {
  struct Case {
    const char* name;
    ColorFamily family;
    ColorValues device;
    const char* shown;
  };
  const Case cases[] = {
      {"shift family", ColorFamily::Shift, {0, 96, 2}, "128/96/130 sliders 128/96/130"},
      {"plain family", ColorFamily::Plain, {128, 96, 128}, "128/96/128 sliders 128/96/128"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    m_sent.clear();
    Open(c.family, c.device);
    EXPECT_EQ(Shown(), c.shown);
    Press(IDOK);
    Press(IDOK);
    ASSERT_EQ(m_sent.size(), 2u);  // each press sends; the dialog stays open
    EXPECT_EQ(m_sent[1].brightness, c.device.brightness);
    EXPECT_EQ(m_sent[1].contrast, c.device.contrast);
    EXPECT_EQ(m_sent[1].hue, c.device.hue);
    EXPECT_TRUE(::IsWindow(Window()));
    if (!ts::ScreenshotFolder().empty() && c.family == ColorFamily::Shift) {
      ::UpdateWindow(Window());
      EXPECT_TRUE(ts::SaveWindowImage(Window(), ts::ScreenshotFolder() + "color_adjust.bmp"));
    }
    m_dialog.reset();
  }
}

TEST_F(ColorAdjustDlgTest, TypedAndScrolledValuesReachFieldSliderAndDevice) {
  Open(ColorFamily::Shift, {0, 96, 2});
  ::SetDlgItemTextA(Window(), CColorAdjustDlg::kBrightnessEdit, "300");
  ::SetDlgItemTextA(Window(), CColorAdjustDlg::kContrastEdit, "a7b");
  ::SetDlgItemTextA(Window(), CColorAdjustDlg::kHueEdit, "");  // the value stays, and shows
  EXPECT_EQ(Shown(), "255/7/130 sliders 255/7/130");

  // The sliders move themselves, then tell: a page step and End from the keyboard (End's
  // message carries no position), Home, and a drag.
  auto slider = [&](int id) { return ::GetDlgItem(Window(), id); };
  ::SendMessageA(slider(CColorAdjustDlg::kHueSlider), WM_KEYDOWN, VK_NEXT, 0);
  HWND contrast = slider(CColorAdjustDlg::kContrastSlider);
  ::SendMessageA(contrast, TBM_SETPOS, TRUE, 250);
  ::SendMessageA(Window(), WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, 250),
                 reinterpret_cast<LPARAM>(contrast));
  EXPECT_EQ(Shown(), "255/250/140 sliders 255/250/140");
  ::SendMessageA(contrast, WM_KEYDOWN, VK_END, 0);
  ::SendMessageA(slider(CColorAdjustDlg::kBrightnessSlider), WM_KEYDOWN, VK_HOME, 0);
  EXPECT_EQ(Shown(), "0/255/140 sliders 0/255/140");

  Press(IDOK);
  ASSERT_EQ(m_sent.size(), 1u);
  EXPECT_EQ(m_sent[0].brightness, 128);  // 0 shown is 128 on the device
  EXPECT_EQ(m_sent[0].contrast, 255);
  EXPECT_EQ(m_sent[0].hue, 12);
}

TEST_F(ColorAdjustDlgTest, DefaultFillsTheControlsWithoutSending) {
  Open(ColorFamily::Shift, {0, 96, 2});
  Press(CColorAdjustDlg::kDefaultButton);
  EXPECT_EQ(Shown(), "175/150/130 sliders 175/150/130");
  EXPECT_TRUE(m_sent.empty());
}

TEST_F(ColorAdjustDlgTest, FailedSendSaysSoAndKeepsTheDialogOpen) {
  Open(ColorFamily::Plain, {128, 96, 128}, false);
  ::SetDlgItemTextA(Window(), CColorAdjustDlg::kHueEdit, "40");
  Press(IDOK);
  EXPECT_NE(MessageBoxes().find("Send command timeout"), std::string::npos) << MessageBoxes();
  EXPECT_TRUE(::IsWindow(Window()));
  EXPECT_EQ(Text(CColorAdjustDlg::kHueEdit), "40");
}

TEST_F(ColorAdjustDlgTest, CloseEndsTheDialogWithoutSending) {
  Open(ColorFamily::Shift, {0, 96, 2});
  HWND window = Window();
  Press(CColorAdjustDlg::kCloseButton);
  EXPECT_FALSE(::IsWindow(window));
  EXPECT_TRUE(m_sent.empty());
}

}  // namespace
