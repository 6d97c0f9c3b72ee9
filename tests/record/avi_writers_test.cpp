// The carried AVI writers under Wine's Video for Windows: a movie written with a codec Wine has
// (read back frame by frame), the failure message and no file left when the "MPG4" codec is
// missing, a frame of another size refused alone, and the compression dialog of the stream
// writer shown and cancelled.
#include <windows.h>

#include <gtest/gtest.h>
#include <vfw.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "record/avi_writers.h"
#include "tests/support/text_file.h"
#include "tests/support/win_process.h"

namespace {
namespace ts = testsupport;

constexpr char kRenderError[] = "Error Occured While Rendering the Movie";

struct AviContents {
  bool opened = false;
  DWORD handler = 0;
  LONG frames = 0;
  LONG width = 0, height = 0;
};

AviContents ReadAvi(const std::string& path) {
  AviContents c;
  ::AVIFileInit();
  PAVIFILE file = nullptr;
  if (::AVIFileOpenA(&file, path.c_str(), OF_READ | OF_SHARE_DENY_WRITE, nullptr) == AVIERR_OK) {
    PAVISTREAM stream = nullptr;
    if (::AVIFileGetStream(file, &stream, streamtypeVIDEO, 0) == AVIERR_OK) {
      c.opened = true;
      AVISTREAMINFOA info{};
      ::AVIStreamInfoA(stream, &info, sizeof info);
      c.handler = info.fccHandler;
      c.frames = ::AVIStreamLength(stream);
      c.width = info.rcFrame.right - info.rcFrame.left;
      c.height = info.rcFrame.bottom - info.rcFrame.top;
      ::AVIStreamRelease(stream);
    }
    ::AVIFileRelease(file);
  }
  ::AVIFileExit();
  return c;
}

// A bitmap of the screen's format with a pattern that changes with n.
HBITMAP Picture(int width, int height, int n) {
  HDC screen = ::GetDC(nullptr);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
  HDC dc = ::CreateCompatibleDC(screen);
  HGDIOBJ old = ::SelectObject(dc, bitmap);
  for (int y = 0; y < height; y += 8) {
    HBRUSH brush = ::CreateSolidBrush(RGB((y * 4 + n * 20) & 255, n * 30 & 255, 128));
    RECT r{0, y, width, y + 8};
    ::FillRect(dc, &r, brush);
    ::DeleteObject(brush);
  }
  ::SelectObject(dc, old);
  ::DeleteDC(dc);
  ::ReleaseDC(nullptr, screen);
  return bitmap;
}

class AviWriters : public ::testing::Test {
 protected:
  void SetUp() override {
    ::SetEnvironmentVariableA("OST_MSGBOX_LOG", m_folder.File("messages.txt").c_str());
  }
  void TearDown() override { ::SetEnvironmentVariableA("OST_MSGBOX_LOG", nullptr); }
  std::string Messages() const { return ts::ReadFileText(m_folder.File("messages.txt")); }

  ts::TempFolder m_folder{"ostrova-avi"};
};

// Raw 8-bit frames through the full-frames codec of Video for Windows (Wine's run-length codec
// refuses the format): every frame is one sample of the file.
TEST_F(AviWriters, MovieWithACodecWineHas) {
  const std::string path = m_folder.File("movie.avi");
  {
    CAviMovieWriter writer(path, mmioFOURCC('D', 'I', 'B', ' '));
    EXPECT_EQ(writer.GetState(), CAviMovieWriter::kReady);
    std::vector<uint8_t> frame(160 * 120);
    for (int n = 0; n < 20; ++n) {
      for (size_t i = 0; i < frame.size(); ++i)
        frame[i] = static_cast<uint8_t>((i / 160 + n) / 8 * 8);
      ASSERT_EQ(writer.AppendNewFrame(160, 120, frame.data(), 8), S_OK) << n << Messages();
    }
    EXPECT_EQ(writer.GetState(), CAviMovieWriter::kWriting);
    // A frame of another size is refused; the movie goes on.
    std::vector<uint8_t> other(80 * 60);
    EXPECT_EQ(writer.AppendNewFrame(80, 60, other.data(), 8), CAviMovieWriter::kFailed);
    EXPECT_EQ(writer.AppendNewFrame(160, 120, frame.data(), 8), S_OK);
    EXPECT_EQ(writer.Samples(), 21);
  }
  const AviContents avi = ReadAvi(path);
  ASSERT_TRUE(avi.opened);
  EXPECT_EQ(avi.frames, 21);
  EXPECT_EQ(avi.width, 160);
  EXPECT_EQ(avi.height, 120);
  EXPECT_EQ(Messages(), "");
}

// Without an "MPG4" codec (Wine has none) the first frame fails with the message, the writer
// closes for good and no file is left that looks like a movie.
TEST_F(AviWriters, MissingMpg4CodecFailsWithTheMessage) {
  const std::string path = m_folder.File("mpg4.avi");
  CAviMovieWriter writer(path);
  HBITMAP picture = Picture(64, 48, 1);
  EXPECT_EQ(writer.AppendNewFrame(picture), static_cast<HRESULT>(0x80004005));
  EXPECT_EQ(writer.GetState(), CAviMovieWriter::kClosed);
  EXPECT_EQ(writer.AppendNewFrame(picture), static_cast<HRESULT>(0x80004005));
  ::DeleteObject(picture);
  EXPECT_EQ(Messages(), std::string(kRenderError) + "\n");
  EXPECT_FALSE(ts::FileExists(path));
}

// The stream writer asks for its codec in the system's compression dialog; cancelling it ends
// the writer for good, with no file.
TEST_F(AviWriters, StreamWriterCompressionDialogCancelled) {
  ASSERT_GT(::VideoForWindowsVersion(), 0x109FFFFu);
  const std::string path = m_folder.File("stream.avi");
  CAviStreamWriter writer(path, -1, -1, 25);
  ASSERT_TRUE(writer.IsOK());
  std::atomic<bool> seen{false};
  std::thread canceller([&] {
    const DWORD pid = ::GetCurrentProcessId();
    HWND dialog = ts::WaitForWindowIf(
        pid,
        [](HWND w) {
          char cls[16] = {};
          ::GetClassNameA(w, cls, sizeof cls);
          return std::string(cls) == "#32770";
        },
        60000);
    if (!dialog) return;
    seen = true;
    ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  HBITMAP picture = Picture(64, 48, 2);
  EXPECT_FALSE(writer.AddFrame(picture));
  canceller.join();
  EXPECT_TRUE(seen);
  EXPECT_FALSE(writer.IsOK());
  EXPECT_FALSE(writer.AddFrame(picture));
  ::DeleteObject(picture);
  EXPECT_EQ(writer.Frames(), 0);
  EXPECT_FALSE(ts::FileExists(path));
}

}  // namespace
