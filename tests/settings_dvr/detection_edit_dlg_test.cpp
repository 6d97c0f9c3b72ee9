// The motion-area editor on the display with a stand-in renderer: no picture and no change
// before "Setup", then the live picture under the grid, a click and a drag toggling the expected
// mask bits, the number filters, and the values "OK" hands back.
#include "settings/detection_edit_dlg.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/message_loop.h"
#include "tests/support/win_process.h"
#include "tests/support/window_capture.h"

namespace ts = testsupport;

namespace {

// Hands out a moving test picture, one frame per request, at most every 40 ms, as the renderer
// does from its own thread.
class StandInRenderer : public MotionFrameSource {
 public:
  StandInRenderer(int width, int height) : m_width(width), m_height(height) {
    m_ready = ::CreateSemaphoreA(nullptr, 0, 1, nullptr);
    m_frame.resize(static_cast<size_t>(width) * height * 3);
    m_thread = std::thread([this] { Run(); });
  }
  ~StandInRenderer() override {
    {
      std::lock_guard<std::mutex> lock(m_lock);
      m_stop = true;
    }
    m_wake.notify_all();
    m_thread.join();
    ::CloseHandle(m_ready);
  }
  void Request() override {
    {
      std::lock_guard<std::mutex> lock(m_lock);
      m_requested = false;
    }
    ::WaitForSingleObject(m_ready, 0);
    {
      std::lock_guard<std::mutex> lock(m_lock);
      m_requested = true;
    }
    m_wake.notify_all();
  }
  void Cancel() override {
    std::lock_guard<std::mutex> lock(m_lock);
    m_requested = false;
  }
  HANDLE Ready() const override { return m_ready; }
  MotionPicture Take(uint8_t* out, size_t capacity) override {
    std::lock_guard<std::mutex> lock(m_lock);
    return TakeMotionPicture(m_frame.data(), m_frame.size(), m_width, m_height, out, capacity);
  }
  int Frames() const { return m_frames; }

 private:
  void Run() {
    std::unique_lock<std::mutex> lock(m_lock);
    for (;;) {
      m_wake.wait(lock, [this] { return m_stop || m_requested; });
      if (m_stop) return;
      lock.unlock();
      std::this_thread::sleep_for(std::chrono::milliseconds(40));
      lock.lock();
      if (m_stop) return;
      if (!m_requested) continue;
      ++m_frames;
      for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x) {
          uint8_t* p = &m_frame[(static_cast<size_t>(y) * m_width + x) * 3];
          p[0] = static_cast<uint8_t>(x + m_frames * 4);
          p[1] = static_cast<uint8_t>(y);
          p[2] = static_cast<uint8_t>(128 + (x ^ y));
        }
      m_requested = false;
      ::ReleaseSemaphore(m_ready, 1, nullptr);
    }
  }

  int m_width, m_height;
  HANDLE m_ready = nullptr;
  std::vector<uint8_t> m_frame;
  std::mutex m_lock;
  std::condition_variable m_wake;
  bool m_requested = false, m_stop = false;
  std::atomic<int> m_frames{0};
  std::thread m_thread;
};

class DetectionEditDlgTest : public ::testing::Test {
 protected:
  void Open(int width, int height, uint8_t videoMode) {
    m_renderer = std::make_unique<StandInRenderer>(width, height);
    CDetectionEditDlg::Start start;
    start.rowNumber = 3;
    start.values.nDetect = 1;
    start.values.nAlarmType = 1;
    start.values.nLS = 4;
    start.values.nSS = 5;
    start.values.nTS = 6;
    start.values.nRE = 20;
    start.values.area[1] = 0x01;  // cell (0, 0)
    start.videoMode = videoMode;
    m_dialog = std::make_unique<CDetectionEditDlg>(nullptr, start, *m_renderer);
    ASSERT_TRUE(m_dialog->Create());
    ::ShowWindow(Window(), SW_SHOW);
    Pump();
  }
  void TearDown() override {
    m_dialog.reset();
    m_renderer.reset();
  }
  HWND Window() const { return m_dialog->GetSafeHwnd(); }
  static void Pump() {
    ost::PumpMessagesUntil([] { return false; }, 50);
  }
  void Press(int id) {
    ::SendMessageA(Window(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(Window(), id)));
    Pump();
  }
  // The centre of a cell in the dialog's client pixels.
  POINT Centre(int column, int row) const {
    const RECT v = m_dialog->ViewRect();
    const int rowHeight = v.bottom - v.top == 228 ? 19 : 23;
    return {v.left + 20 * column + 10, v.top + rowHeight * row + rowHeight / 2};
  }
  void Mouse(UINT msg, POINT p) {
    ::SendMessageA(Window(), msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(p.x, p.y));
  }
  void Click(POINT p) {
    Mouse(WM_MOUSEMOVE, p);
    Mouse(WM_LBUTTONDOWN, p);
    Mouse(WM_LBUTTONUP, p);
  }
  bool WaitForPicture() {
    return ost::PumpMessagesUntil([this] { return m_dialog->ImageReady(); }, 20000);
  }
  std::string ItemText(int id) const {
    char text[64] = {};
    ::GetDlgItemTextA(Window(), id, text, sizeof text);
    return text;
  }
  void Screenshot(const char* name) {
    if (ts::ScreenshotFolder().empty()) return;
    ::SetForegroundWindow(Window());
    ::RedrawWindow(Window(), nullptr, nullptr,
                   RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    ost::PumpMessagesUntil([] { return false; }, 300);
    EXPECT_TRUE(ts::SaveWindowImage(Window(), ts::ScreenshotFolder() + name));
  }

  std::unique_ptr<StandInRenderer> m_renderer;
  std::unique_ptr<CDetectionEditDlg> m_dialog;
};

TEST_F(DetectionEditDlgTest, NoPictureAndNoChangeBeforeSetup) {
  Open(320, 228, 0);
  EXPECT_EQ(ItemText(CDetectionEditDlg::kNumber), " 3");
  EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(Window(), CDetectionEditDlg::kSelectAll)));
  Click({40, 100});
  Pump();
  EXPECT_FALSE(m_dialog->ImageReady());
  EXPECT_EQ(m_renderer->Frames(), 0);
  MotionMask expected{};
  expected[1] = 0x01;
  EXPECT_EQ(m_dialog->Editor().area(), expected);
}

TEST_F(DetectionEditDlgTest, ClickAndDragToggleCellsOverTheLivePicture) {
  struct Case {
    int width, height;
    uint8_t videoMode;
    const char* screenshot;
  } cases[] = {{320, 228, 0, "motion_editor.bmp"}, {640, 552, 1, nullptr}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.width);
    Open(c.width, c.height, c.videoMode);
    Press(CDetectionEditDlg::kSetup);
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(Window(), CDetectionEditDlg::kSetup)));
    EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(Window(), CDetectionEditDlg::kSelectAll)));
    EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(Window(), CDetectionEditDlg::kClearAll)));
    ASSERT_TRUE(WaitForPicture());
    const RECT v = m_dialog->ViewRect();
    EXPECT_EQ(v.bottom - v.top, c.videoMode == 0 ? 228 : 276);
    // The buttons stay inside the dialog, to the right of the picture.
    RECT client{}, button{};
    ::GetClientRect(Window(), &client);
    ::GetWindowRect(::GetDlgItem(Window(), CDetectionEditDlg::kClearAll), &button);
    ::MapWindowPoints(nullptr, Window(), reinterpret_cast<POINT*>(&button), 2);
    EXPECT_GE(button.left, v.right);
    EXPECT_LE(button.right, client.right);
    EXPECT_LE(v.bottom, client.bottom);

    // A click toggles cell (2, 3); a drag from (1, 1) over three columns and two rows toggles
    // six cells; cell (0, 0) stays as it was.
    Click(Centre(2, 3));
    Mouse(WM_MOUSEMOVE, Centre(1, 1));
    Mouse(WM_LBUTTONDOWN, Centre(1, 1));
    Mouse(WM_MOUSEMOVE, Centre(1, 1));
    Mouse(WM_MOUSEMOVE, Centre(2, 2));
    Mouse(WM_MOUSEMOVE, Centre(3, 2));
    Mouse(WM_LBUTTONUP, Centre(3, 2));
    Mouse(WM_MOUSEMOVE, Centre(6, 8));
    Pump();
    MotionMask expected{};
    expected[1] = 0x01;
    expected[2 * 3 + 1] = 0x04;
    expected[2 * 1 + 1] = 0x0E;
    expected[2 * 2 + 1] = 0x0E;
    EXPECT_EQ(m_dialog->Editor().area(), expected);
    if (c.screenshot) Screenshot(c.screenshot);

    // The frames keep coming while the editor is open.
    const int seen = m_renderer->Frames();
    EXPECT_TRUE(ost::PumpMessagesUntil([&] { return m_renderer->Frames() >= seen + 3; }, 20000));

    ::SendMessageA(Window(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    Pump();
    EXPECT_EQ(m_dialog->Result().area, expected);
    EXPECT_EQ(m_dialog->Result().nLS, 4);
    EXPECT_EQ(m_dialog->Result().nRE, 20);
    EXPECT_EQ(m_dialog->Result().nAlarmType, 1);
    m_dialog.reset();
    m_renderer.reset();
  }
}

TEST_F(DetectionEditDlgTest, SelectAllClearsAndClearAllSetsTheArea) {
  Open(320, 228, 0);
  Press(CDetectionEditDlg::kSetup);
  ASSERT_TRUE(WaitForPicture());
  Press(CDetectionEditDlg::kClearAll);
  MotionMask all;
  all.fill(0xFF);
  EXPECT_EQ(m_dialog->Editor().area(), all);
  Screenshot("motion_editor_clear_all.bmp");
  Press(CDetectionEditDlg::kSelectAll);
  EXPECT_EQ(m_dialog->Editor().area(), MotionMask{});
}

TEST_F(DetectionEditDlgTest, NumberEditsAreLimited) {
  Open(320, 228, 0);
  struct Case {
    int id;
    const char* typed;
    const char* shown;
  } cases[] = {{CDetectionEditDlg::kLS, "99", "15"},
               {CDetectionEditDlg::kRE, "99", "61"},
               {CDetectionEditDlg::kSS, "1x2", "12"},
               {CDetectionEditDlg::kTS, "7", "7"}};
  for (const Case& c : cases) {
    ::SetDlgItemTextA(Window(), c.id, c.typed);
    Pump();
    EXPECT_EQ(ItemText(c.id), c.shown) << c.typed;
  }
  ::SendMessageA(Window(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  Pump();
  EXPECT_EQ(m_dialog->Result().nLS, 15);
  EXPECT_EQ(m_dialog->Result().nRE, 61);
  EXPECT_EQ(m_dialog->Result().nSS, 12);
  EXPECT_EQ(m_dialog->Result().nTS, 7);
}

}  // namespace
