// The real program under Wine against devsim: the alarm sound follows the stream's motion word
// and a click in the main window, the colour dialog shows and stores the device's colour, and
// the camera-sensor toolbar follows the sensor byte of the stream.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "tests/support/program_fixture.h"
#include "tests/support/text_file.h"
#include "tests/support/window_capture.h"

namespace {

namespace ts = testsupport;
using testsupport::DevsimRequest;

constexpr int kColorButton = 999;
constexpr int kBrightnessEdit = 1040, kContrastEdit = 1041, kHueEdit = 1042;
constexpr int kBrightnessSlider = 1313, kContrastSlider = 1315, kHueSlider = 1316;
constexpr int kColorClose = 8300;

class MainWindowProgram : public ts::ProgramFixture {
 protected:
  MainWindowProgram()
      : ProgramFixture({.folderPrefix = "ostrova-program",
                        .devsimArgs = {"--fps", "20"},
                        .fileVariables = {{"OST_SOUND_LOG", "sound.log"}}}) {}

  std::vector<std::string> SoundLog() const { return ts::ReadLines(m_folder.File("sound.log")); }
  bool SoundLogIs(const std::vector<std::string>& lines, DWORD timeoutMs = 15000) const {
    return ts::WaitUntil([&] { return SoundLog() == lines; }, timeoutMs);
  }

  // The targets devsim got since the last call, of the given paths.
  std::vector<std::string> Sent(const std::vector<std::string>& paths) {
    std::vector<std::string> out;
    const std::vector<DevsimRequest> all = m_device.Requests();
    for (size_t i = m_seen; i < all.size(); ++i)
      for (const std::string& p : paths)
        if (all[i].path == p) out.push_back(all[i].target.substr(all[i].target.find('?') + 1));
    m_seen = all.size();
    return out;
  }
  std::string Cookie() const {
    const std::vector<std::string> cookies = Params("/Getdeviceinfo.cgi", "Cookie");
    return "Cookie=" + (cookies.empty() ? std::string("?") : cookies.front());
  }

  size_t m_seen = 0;
};

// ---- Alarm sound ----------------------------------------------------------------------------

// A motion word in the stream's headers starts the sound, its absence stops it; a click silences
// it for the rest of that alarm; closing the window during an alarm stops it too.  "end 0": the
// playback thread opened the device and ended on its stop event.
TEST_F(MainWindowProgram, AlarmSoundFollowsTheMotionWordAndAClickStopsIt) {
  HWND main = StartAndLogIn({"--product", "RZ2K"});
  ASSERT_NE(main, nullptr);
  EXPECT_TRUE(SoundLog().empty());

  ASSERT_EQ(m_device.Control("/_devsim/set?stream.motion=0x4"), "ok\n");
  ASSERT_TRUE(SoundLogIs({"start"})) << MessageBoxes();
  Sleep(500);  // playing
  ASSERT_EQ(m_device.Control("/_devsim/set?stream.motion=off"), "ok\n");
  ASSERT_TRUE(SoundLogIs({"start", "end 0"}));

  ASSERT_EQ(m_device.Control("/_devsim/set?stream.motion=0x0"), "ok\n");  // present, value 0
  ASSERT_TRUE(SoundLogIs({"start", "end 0", "start"}));
  Sleep(300);
  RECT r{};
  GetClientRect(main, &r);
  const LPARAM at = MAKELPARAM(r.right / 2, r.bottom / 2);
  PostMessageA(main, WM_LBUTTONDOWN, MK_LBUTTON, at);
  Sleep(200);
  PostMessageA(main, WM_LBUTTONUP, 0, at);
  ASSERT_TRUE(SoundLogIs({"start", "end 0", "start", "end 0"}));
  // The alarm goes on, silenced: no new start until it has ended.
  ASSERT_TRUE(FramesGrow(main, 20));
  EXPECT_EQ(SoundLog().size(), 4u);

  ASSERT_EQ(m_device.Control("/_devsim/set?stream.motion=off"), "ok\n");
  ASSERT_TRUE(FramesGrow(main, 10));
  ASSERT_EQ(m_device.Control("/_devsim/set?stream.motion=0x4"), "ok\n");
  ASSERT_TRUE(SoundLogIs({"start", "end 0", "start", "end 0", "start"}));
  CloseAndWait(main);
  EXPECT_EQ(SoundLog(),
            (std::vector<std::string>{"start", "end 0", "start", "end 0", "start", "end 0"}));
  EXPECT_TRUE(MessageBoxes().empty()) << MessageBoxes();
}

// ---- Colour ---------------------------------------------------------------------------------

struct ColorDialog {
  HWND window;
  std::string Shown() const {
    const auto pos = [&](int id) {
      return std::to_string(SendMessageA(GetDlgItem(window, id), TBM_GETPOS, 0, 0));
    };
    return ts::ItemText(window, kBrightnessEdit) + "/" + ts::ItemText(window, kContrastEdit) + "/" +
           ts::ItemText(window, kHueEdit) + " sliders " + pos(kBrightnessSlider) + "/" +
           pos(kContrastSlider) + "/" + pos(kHueSlider);
  }
  void Type(int id, const char* text) const {
    SendMessageA(GetDlgItem(window, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
  }
};

// The colour button reads "/GetColor.cgi" and opens the dialog with what the device reports
// (brightness and hue shifted by 128 for the families that need it, contrast 128 when the reply
// has none); Apply stores the new values on the device, where the next opening finds them.
TEST_F(MainWindowProgram, ColourDialogShowsAndStoresTheDevicesColour) {
  struct Case {
    const char* name;
    std::vector<std::string> devsim;
    const char* shown;
    const char* typed[3];  // brightness, contrast, hue
    const char* sent;
    const char* stored;  // devsim's reply afterwards
    const char* shownAgain;
  };
  const Case cases[] = {
      {"shift family",
       {"--product", "RZ2K", "--set", "color_bri=0", "--set", "color_con=96", "--set",
        "color_hue=2"},
       "128/96/130 sliders 128/96/130",
       {"200", "100", "120"},
       "CON=100&BRI=72&HUE=248",
       "CON=100;BRI=72;HUE=248;",
       "200/100/120 sliders 200/100/120"},
      {"plain family, no contrast in the reply",
       {"--product", "RZ1K", "--set", "multich=1", "--set", "color_con=", "--set", "color_bri=128",
        "--set", "color_hue=96"},
       "128/128/96 sliders 128/128/96",
       {"5", "300", "250"},
       "CON=255&BRI=5&HUE=250",
       "CON=255;BRI=5;HUE=250;",
       "5/255/250 sliders 5/255/250"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HWND main = StartAndLogIn(c.devsim);
    ASSERT_NE(main, nullptr);
    const auto open = [&] {
      ts::PostClick(main, kColorButton);
      return ColorDialog{ts::WaitForWindowIf(m_process.Id(), [](HWND w) {
        return GetDlgItem(w, kHueSlider) != nullptr && IsWindowVisible(w);
      })};
    };
    Sent({"/GetColor.cgi", "/SetColor.cgi"});
    ColorDialog dialog = open();
    ASSERT_NE(dialog.window, nullptr) << MessageBoxes();
    EXPECT_EQ(Sent({"/GetColor.cgi", "/SetColor.cgi"}), std::vector<std::string>{Cookie()});
    EXPECT_EQ(dialog.Shown(), c.shown);

    dialog.Type(kBrightnessEdit, c.typed[0]);
    dialog.Type(kContrastEdit, c.typed[1]);
    dialog.Type(kHueEdit, c.typed[2]);
    ts::PostClick(dialog.window, IDOK);
    std::vector<std::string> sent;
    ASSERT_TRUE(ts::WaitUntil([&] {
      sent = Sent({"/SetColor.cgi"});
      return !sent.empty();
    }));
    EXPECT_EQ(sent, std::vector<std::string>{Cookie() + "&" + c.sent});
    EXPECT_TRUE(IsWindow(dialog.window)) << "Apply keeps the dialog open";

    ts::PostClick(dialog.window, kColorClose);
    ASSERT_TRUE(ts::WaitUntil([&] { return !IsWindow(dialog.window); }));
    EXPECT_TRUE(Sent({"/SetColor.cgi"}).empty()) << "Close sends nothing";
    EXPECT_EQ(m_device.Control("/GetColor.cgi?" + Cookie()), c.stored);
    dialog = open();
    ASSERT_NE(dialog.window, nullptr);
    EXPECT_EQ(dialog.Shown(), c.shownAgain);
    if (&c == &cases[0] && !ts::ScreenshotFolder().empty()) {
      // The values the device stored, read back with "/GetColor.cgi".
      RedrawWindow(dialog.window, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
      Sleep(300);
      EXPECT_TRUE(
          ts::SaveWindowImage(dialog.window, ts::ScreenshotFolder() + "color_adjust_devsim.bmp"));
    }
    ts::PostClick(dialog.window, IDCANCEL);
    ASSERT_TRUE(ts::WaitUntil([&] { return !IsWindow(dialog.window); }));
    EXPECT_TRUE(Sent({"/SetColor.cgi"}).empty()) << "Cancel sends nothing";
    EXPECT_TRUE(MessageBoxes().empty()) << MessageBoxes();
    CloseAndWait(main);
    m_device.Stop();
    m_seen = 0;
  }
}

// ---- Camera-sensor toolbar ------------------------------------------------------------------

// What a window shows on the screen, pixel by pixel.
std::vector<uint32_t> Pixels(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  std::vector<uint32_t> out(static_cast<size_t>(w) * h);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  SelectObject(memory, old);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  GetDIBits(memory, bitmap, 0, static_cast<UINT>(h), out.data(), &info, DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return out;
}

// On an RZ8P the toolbar sends the view and flip commands; the device's answer comes back only
// through the sensor byte of the stream's headers: the pressed view button follows it, and so
// does what the next flip click asks for.
TEST_F(MainWindowProgram, CameraSensorToolbarFollowsTheStreamsSensorByte) {
  HWND main = StartAndLogIn({"--product", "RZ8P"});
  ASSERT_NE(main, nullptr);
  HWND bar = ts::WaitForWindowIf(
      m_process.Id(), [](HWND w) { return GetDlgItem(w, 8603) != nullptr && IsWindowVisible(w); });
  ASSERT_NE(bar, nullptr);
  const auto click = [&](int id) {
    HWND button = GetDlgItem(bar, id);
    PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(15, 15));
    PostMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(15, 15));
  };
  const std::vector<std::string> paths = {"/OV9653Zoom.cgi", "/OV9653Rotate.cgi"};
  const auto sent = [&](size_t n) {
    std::vector<std::string> out;
    ts::WaitUntil(
        [&] {
          for (const std::string& t : Sent(paths)) out.push_back(t.substr(t.find('&') + 1));
          return out.size() >= n;
        },
        kHangMs);
    return out;
  };
  Sent(paths);
  ASSERT_TRUE(FramesGrow(main, 2));
  const std::vector<uint32_t> fullPressed = Pixels(GetDlgItem(bar, 8600));
  const std::vector<uint32_t> quadReleased = Pixels(GetDlgItem(bar, 8603));

  // The toolbar takes each state the stream reports in: the state log shows it, and the next
  // click asks from there.
  const auto reported = [&](const std::string& state) {
    return ts::WaitUntil([&] { return LastEvent("sensor ") == state; }, kHangMs);
  };
  click(8603);
  EXPECT_EQ(sent(1), std::vector<std::string>{"MODE=3"});
  ASSERT_TRUE(reported("view=3 hr=0 vr=0")) << EventLogText();
  EXPECT_TRUE(ts::WaitUntil([&] {
    return Pixels(GetDlgItem(bar, 8603)) != quadReleased &&
           Pixels(GetDlgItem(bar, 8600)) != fullPressed;
  })) << "the view buttons did not follow the stream";

  // Each click asks for the opposite of what the stream reported last.
  struct Step {
    int button;
    const char* sent;
    const char* state;  // as the stream reports it after the command
  };
  const Step steps[] = {
      {8606, "HR=1&VR=0", "view=3 hr=1 vr=0"}, {8606, "HR=0&VR=0", "view=3 hr=0 vr=0"},
      {8607, "VR=1&HR=0", "view=3 hr=0 vr=1"}, {8606, "HR=1&VR=1", "view=3 hr=1 vr=1"},
      {8607, "VR=0&HR=1", "view=3 hr=1 vr=0"},
  };
  for (const Step& step : steps) {
    const std::vector<uint32_t> before = Pixels(GetDlgItem(bar, step.button));
    click(step.button);
    EXPECT_EQ(sent(1), std::vector<std::string>{step.sent});
    ASSERT_TRUE(reported(step.state)) << step.sent << "\n" << EventLogText();
    // The button shows the new state.
    ASSERT_TRUE(ts::WaitUntil([&] { return Pixels(GetDlgItem(bar, step.button)) != before; }))
        << step.sent;
  }
  EXPECT_TRUE(MessageBoxes().empty()) << MessageBoxes();
  CloseAndWait(main);
}

}  // namespace
