// Carried AVI writers over the Video for Windows file functions: CAviMovieWriter (screen bitmaps
// or raw frames, one compressed video stream, its codec fixed) and CAviStreamWriter (bitmaps at a
// frame rate, its codec chosen by the user in the system's compression dialog).
#pragma once

#include <windows.h>

#include <vfw.h>

#include <string>
#include <vector>

class CAviMovieWriter {
 public:
  static constexpr HRESULT kFailed = static_cast<HRESULT>(0x80004005);
  enum State { kClosed = 0, kReady = 1, kWriting = 2 };

  // Nothing is opened before the first frame. handler: the codec ("MPG4" unless a caller says
  // otherwise).
  explicit CAviMovieWriter(std::string fileName, DWORD handler = mmioFOURCC('M', 'P', 'G', '4'));
  ~CAviMovieWriter();
  CAviMovieWriter(const CAviMovieWriter&) = delete;
  CAviMovieWriter& operator=(const CAviMovieWriter&) = delete;

  // A bitmap, taken as 32 bits per pixel. S_OK, or kFailed: a frame whose size differs from the
  // first one's is refused alone; any other failure (shown in a message box) closes the writer
  // and removes its unfinished file.
  HRESULT AppendNewFrame(HBITMAP bitmap);
  // Bottom-up rows of width x height pixels of bitsPerPixel (8 with a grey palette, 16, 24, 32).
  HRESULT AppendNewFrame(int width, int height, const void* bits, int bitsPerPixel);

  State GetState() const { return m_state; }
  LONG Samples() const { return m_lSample; }

 private:
  HRESULT Append(int width, int height, const void* bits, int bitsPerPixel);
  HRESULT Start(int width, int height, int bitsPerPixel);
  HRESULT Fail();
  void ReleaseMemory();

  std::string m_fileName;
  DWORD m_handler;
  State m_state = kReady;
  bool m_libraryOpen = false;
  PAVIFILE m_pAviFile = nullptr;
  PAVISTREAM m_pStream = nullptr, m_pCompressedStream = nullptr;
  BITMAPINFOHEADER m_format{};
  std::vector<uint8_t> m_buffer;  // screen width x height x 4 bytes, at least a frame
  LONG m_lSample = 0;
};

class CAviStreamWriter {
 public:
  // Usable only with Video for Windows above 1.9 (IsOK). A negative width or height takes the
  // first frame's. owner: the window over the compression dialog (may be null).
  CAviStreamWriter(std::string fileName, int width, int height, int framesPerSecond = 0,
                   HWND owner = nullptr);
  ~CAviStreamWriter();
  CAviStreamWriter(const CAviStreamWriter&) = delete;
  CAviStreamWriter& operator=(const CAviStreamWriter&) = delete;

  // The first frame opens the file and asks for the codec; false for a frame of another size,
  // and from any failure (the dialog cancelled included) on, for good.
  bool AddFrame(HBITMAP bitmap);
  bool IsOK() const { return m_ok; }
  LONG Frames() const { return m_frames; }

 private:
  bool Start();
  void Release();

  std::string m_fileName;
  int m_width, m_height, m_fps;
  HWND m_owner;
  bool m_ok = false;
  bool m_libraryOpen = false;
  PAVIFILE m_pAviFile = nullptr;
  PAVISTREAM m_pStream = nullptr, m_pCompressedStream = nullptr;
  LONG m_frames = 0;
  std::vector<uint8_t> m_bits;
};
