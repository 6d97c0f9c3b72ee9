#include "record/avi_writers.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/message_box.h"
#include "platform/strings.h"

namespace {
constexpr UINT kErrorCaption = 4024;
constexpr UINT kRenderError = 4025;
constexpr LONG kKeyFrameEvery = 15;
constexpr DWORD kMovieCompressFlags = AVICOMPRESSF_KEYFRAMES | AVICOMPRESSF_VALID;  // 12
constexpr DWORD kMinimumVfwVersion = 0x109FFFF;

size_t RowBytes(int width, int bitsPerPixel) {
  return ((static_cast<size_t>(width) * static_cast<size_t>(bitsPerPixel) + 31) / 32) * 4;
}

// A bitmap's pixels as bottom-up 32-bit rows; false when it cannot be read.
bool BitmapBits32(HBITMAP bitmap, int& width, int& height, std::vector<uint8_t>& bits) {
  BITMAP bm{};
  if (!bitmap || !::GetObjectA(bitmap, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0)
    return false;
  width = bm.bmWidth;
  height = bm.bmHeight;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  bits.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
  HDC dc = ::GetDC(nullptr);
  const int rows =
      ::GetDIBits(dc, bitmap, 0, static_cast<UINT>(height), bits.data(), &info, DIB_RGB_COLORS);
  ::ReleaseDC(nullptr, dc);
  return rows == height;
}

BITMAPINFOHEADER FrameFormat(int width, int height, int bitsPerPixel) {
  BITMAPINFOHEADER h{};
  h.biSize = sizeof h;
  h.biWidth = width;
  h.biHeight = height;
  h.biPlanes = 1;
  h.biBitCount = static_cast<WORD>(bitsPerPixel);
  h.biCompression = BI_RGB;
  h.biSizeImage = static_cast<DWORD>(RowBytes(width, bitsPerPixel) * static_cast<size_t>(height));
  return h;
}

// 8-bit frames carry a grey palette behind their format.
std::vector<uint8_t> FormatBytes(const BITMAPINFOHEADER& h) {
  std::vector<uint8_t> bytes(sizeof h);
  std::memcpy(bytes.data(), &h, sizeof h);
  if (h.biBitCount == 8) {
    BITMAPINFOHEADER& with = *reinterpret_cast<BITMAPINFOHEADER*>(bytes.data());
    with.biClrUsed = 256;
    for (int i = 0; i < 256; ++i) {
      const RGBQUAD grey{static_cast<BYTE>(i), static_cast<BYTE>(i), static_cast<BYTE>(i), 0};
      const auto* p = reinterpret_cast<const uint8_t*>(&grey);
      bytes.insert(bytes.end(), p, p + sizeof grey);
    }
  }
  return bytes;
}
}  // namespace

// ---- CAviMovieWriter ----

CAviMovieWriter::CAviMovieWriter(std::string fileName, DWORD handler)
    : m_fileName(std::move(fileName)), m_handler(handler) {
  ::AVIFileInit();
  m_libraryOpen = true;
}

CAviMovieWriter::~CAviMovieWriter() {
  ReleaseMemory();
  if (m_libraryOpen) ::AVIFileExit();
}

void CAviMovieWriter::ReleaseMemory() {
  if (m_pCompressedStream) ::AVIStreamRelease(m_pCompressedStream);
  if (m_pStream) ::AVIStreamRelease(m_pStream);
  if (m_pAviFile) ::AVIFileRelease(m_pAviFile);
  m_pCompressedStream = m_pStream = nullptr;
  m_pAviFile = nullptr;
  m_buffer.clear();
}

HRESULT CAviMovieWriter::Fail() {
  const bool created = m_pAviFile != nullptr;
  ReleaseMemory();
  // Nothing playable was made: no file that looks like a movie stays behind.
  if (created) ::DeleteFileA(m_fileName.c_str());
  m_state = kClosed;
  OstMessageBox(ost::LoadResString(kRenderError).c_str(), MB_OK | MB_ICONERROR,
                ost::LoadResString(kErrorCaption).c_str());
  return kFailed;
}

HRESULT CAviMovieWriter::AppendNewFrame(HBITMAP bitmap) {
  if (m_state == kClosed) return kFailed;
  int width = 0, height = 0;
  std::vector<uint8_t> bits;
  if (!BitmapBits32(bitmap, width, height, bits)) return m_state == kReady ? Fail() : kFailed;
  return Append(width, height, bits.data(), 32);
}

HRESULT CAviMovieWriter::AppendNewFrame(int width, int height, const void* bits, int bitsPerPixel) {
  if (m_state == kClosed) return kFailed;
  const bool known =
      bitsPerPixel == 8 || bitsPerPixel == 16 || bitsPerPixel == 24 || bitsPerPixel == 32;
  if (!bits || width <= 0 || height <= 0 || !known) return m_state == kReady ? Fail() : kFailed;
  return Append(width, height, bits, bitsPerPixel);
}

HRESULT CAviMovieWriter::Append(int width, int height, const void* bits, int bitsPerPixel) {
  if (m_state == kReady) {
    const HRESULT started = Start(width, height, bitsPerPixel);
    if (started != S_OK) return started;
  } else if (width != m_format.biWidth || height != m_format.biHeight ||
             bitsPerPixel != m_format.biBitCount) {
    return kFailed;  // the stream's format is fixed by its first frame
  }
  const size_t size = m_format.biSizeImage;
  std::memcpy(m_buffer.data(), bits, size);
  if (::AVIStreamWrite(m_pCompressedStream, m_lSample, 1, m_buffer.data(), static_cast<LONG>(size),
                       0, nullptr, nullptr) != AVIERR_OK)
    return Fail();
  ++m_lSample;
  return S_OK;
}

HRESULT CAviMovieWriter::Start(int width, int height, int bitsPerPixel) {
  m_format = FrameFormat(width, height, bitsPerPixel);
  const size_t screen = static_cast<size_t>(std::max(0, ::GetSystemMetrics(SM_CXSCREEN))) *
                        static_cast<size_t>(std::max(0, ::GetSystemMetrics(SM_CYSCREEN))) * 4;
  m_buffer.assign(std::max<size_t>(screen, m_format.biSizeImage), 0);
  if (::AVIFileOpenA(&m_pAviFile, m_fileName.c_str(), OF_WRITE | OF_CREATE, nullptr) != AVIERR_OK) {
    m_pAviFile = nullptr;
    return Fail();
  }
  AVISTREAMINFOA info{};
  info.fccType = streamtypeVIDEO;
  info.fccHandler = m_handler;
  info.dwScale = 1;
  info.dwRate = 1;
  info.dwSuggestedBufferSize = static_cast<DWORD>(m_buffer.size());
  ::SetRect(&info.rcFrame, 0, 0, width, height);
  if (::AVIFileCreateStreamA(m_pAviFile, &m_pStream, &info) != AVIERR_OK) {
    m_pStream = nullptr;
    return Fail();
  }
  AVICOMPRESSOPTIONS options{};
  options.fccType = streamtypeVIDEO;
  options.fccHandler = m_handler;
  options.dwKeyFrameEvery = kKeyFrameEvery;
  options.dwFlags = kMovieCompressFlags;
  if (::AVIMakeCompressedStream(&m_pCompressedStream, m_pStream, &options, nullptr) != AVIERR_OK) {
    m_pCompressedStream = nullptr;
    return Fail();
  }
  std::vector<uint8_t> format = FormatBytes(m_format);
  if (::AVIStreamSetFormat(m_pCompressedStream, 0, format.data(),
                           static_cast<LONG>(format.size())) != AVIERR_OK)
    return Fail();
  m_state = kWriting;
  return S_OK;
}

// ---- CAviStreamWriter ----

CAviStreamWriter::CAviStreamWriter(std::string fileName, int width, int height, int framesPerSecond,
                                   HWND owner)
    : m_fileName(std::move(fileName)),
      m_width(width),
      m_height(height),
      m_fps(framesPerSecond),
      m_owner(owner) {
  // The system library's version (its export by ordinal 2).
  if (::VideoForWindowsVersion() <= kMinimumVfwVersion) return;
  ::AVIFileInit();
  m_libraryOpen = true;
  m_ok = true;
}

CAviStreamWriter::~CAviStreamWriter() {
  Release();
  if (m_libraryOpen) ::AVIFileExit();
}

void CAviStreamWriter::Release() {
  if (m_pCompressedStream) ::AVIStreamRelease(m_pCompressedStream);
  if (m_pStream) ::AVIStreamRelease(m_pStream);
  if (m_pAviFile) ::AVIFileRelease(m_pAviFile);
  m_pCompressedStream = m_pStream = nullptr;
  m_pAviFile = nullptr;
}

bool CAviStreamWriter::AddFrame(HBITMAP bitmap) {
  if (!m_ok) return false;
  int width = 0, height = 0;
  if (!BitmapBits32(bitmap, width, height, m_bits)) return false;
  if (m_frames == 0) {
    if (m_width < 0) m_width = width;
    if (m_height < 0) m_height = height;
  }
  if (width != m_width || height != m_height) return false;
  if (m_frames == 0 && !Start()) {
    const bool created = m_pAviFile != nullptr;
    Release();
    if (created) ::DeleteFileA(m_fileName.c_str());
    m_ok = false;
    return false;
  }
  if (::AVIStreamWrite(m_pCompressedStream, m_frames, 1, m_bits.data(),
                       static_cast<LONG>(m_bits.size()), AVIIF_KEYFRAME, nullptr,
                       nullptr) != AVIERR_OK) {
    Release();
    m_ok = false;
    return false;
  }
  ++m_frames;
  return true;
}

bool CAviStreamWriter::Start() {
  if (::AVIFileOpenA(&m_pAviFile, m_fileName.c_str(), OF_WRITE | OF_CREATE, nullptr) != AVIERR_OK) {
    m_pAviFile = nullptr;
    return false;
  }
  AVISTREAMINFOA info{};
  info.fccType = streamtypeVIDEO;
  info.fccHandler = mmioFOURCC('m', 'p', 'g', '4');
  info.dwScale = 100;
  info.dwRate = m_fps > 0 ? static_cast<DWORD>(m_fps) * 100 : 1;
  info.dwSuggestedBufferSize = static_cast<DWORD>(m_bits.size());
  ::SetRect(&info.rcFrame, 0, 0, m_width, m_height);
  if (::AVIFileCreateStreamA(m_pAviFile, &m_pStream, &info) != AVIERR_OK) {
    m_pStream = nullptr;
    return false;
  }
  AVICOMPRESSOPTIONS options{};
  options.fccType = streamtypeVIDEO;
  options.fccHandler = mmioFOURCC('m', 'p', 'g', '4');
  options.dwFlags = AVICOMPRESSF_VALID;  // 8
  AVICOMPRESSOPTIONS* list[1] = {&options};
  if (!::AVISaveOptions(m_owner, 0, 1, &m_pStream, list)) return false;  // cancelled
  const HRESULT made =
      ::AVIMakeCompressedStream(&m_pCompressedStream, m_pStream, &options, nullptr);
  ::AVISaveOptionsFree(1, list);
  if (made != AVIERR_OK) {
    m_pCompressedStream = nullptr;
    return false;
  }
  const BITMAPINFOHEADER format = FrameFormat(m_width, m_height, 32);
  return ::AVIStreamSetFormat(m_pCompressedStream, 0, const_cast<BITMAPINFOHEADER*>(&format),
                              sizeof format) == AVIERR_OK;
}
