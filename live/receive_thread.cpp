// The receive thread: one stream connection per session.
#include "net/blocking_socket.h"  // winsock2.h ahead of windows.h

#include <atomic>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>

#include "app/app_data.h"
#include "session/kernel_mailbox.h"
#include "net/local_ip.h"
#include "platform/trace_log.h"
#include "live/frame_splitter.h"
#include "live/live_view_binding.h"
#include "live/socket_frame_source.h"
#include "live/stream_request.h"
#include "live/stream_threads.h"
#include "net/device_session.h"

std::atomic<uint32_t> StreamStatusCode{0};

namespace {

constexpr DWORD kFreeSlotWaitMs = 10000;
constexpr int kSendTimeoutSeconds = 10;

enum class SlotWait { kSlot, kStop, kEnded, kTimedOut, kFailed };

void ZeroWord(uint32_t& word) {
  std::atomic_ref<uint32_t>(word).store(0);
}

// The quiet stop: no kernel message.
void StopQuietly(APP_DATA& a, CBlockingSocket& socket) {
  a.SessionActiveFlag = 0;
  a.StreamRunningFlag = 0;
  socket.Cleanup();
  SetEvent(a.h_FeedBackForNotifyResetEvent);
}

// Every other end: the socket is closed and a relogin is asked for.
void EndSession(APP_DATA& a, CBlockingSocket& socket, const char* traceLine, uint32_t statusCode,
                bool clearFlags) {
  if (statusCode) StreamStatusCode = statusCode;
  TraceLogWrite(traceLine);
  if (clearFlags) {
    a.SessionActiveFlag = 0;
    a.StreamRunningFlag = 0;
  }
  socket.Cleanup();  // errors of the close itself do not matter
  SendKernelMessage(Get_Image_TimeOut_Message, nullptr);
}

SlotWait WaitForFreeSlot(APP_DATA& a) {
  const HANDLE handles[] = {a.SocketBufferFreeSem, a.h_EndofGetJpegImageEvent,
                            a.h_NotifyGetJPEGImageThreadResetEvent};
  const DWORD n = handles[2] ? 3 : 2;
  const DWORD r = WaitForMultipleObjects(n, handles, FALSE, kFreeSlotWaitMs);
  if (r == WAIT_OBJECT_0) return SlotWait::kSlot;
  if (r == WAIT_OBJECT_0 + 2) return SlotWait::kStop;
  if (r == WAIT_OBJECT_0 + 1) {
    // Both stop events at once (the session resources going away) is a stop request.
    if (handles[2] && WaitForSingleObject(handles[2], 0) == WAIT_OBJECT_0) return SlotWait::kStop;
    return SlotWait::kEnded;
  }
  return r == WAIT_TIMEOUT ? SlotWait::kTimedOut : SlotWait::kFailed;
}

// Connects and sends the stream request; false (the session ended) on failure.
bool OpenStream(APP_DATA& a, CBlockingSocket& socket) {
  std::string server, cookie;
  uint16_t port = 0;
  {
    std::lock_guard<std::mutex> lock(SessionMutex());
    server = a.m_Settings.m_strServerName;
    port = a.m_Settings.m_wWebPort;
    cookie.assign(g_szCookie, strnlen(g_szCookie, sizeof g_szCookie));
  }
  try {
    socket.Create(SOCK_STREAM);
    const CSockAddr address = server.empty() ? CBlockingSocket::GetHostByName(server.c_str(), port)
                                             : CSockAddr(server.c_str(), port);
    socket.Connect(address);
  } catch (const CBlockingSocketException&) {
    EndSession(a, socket, "sClient.Connect failed", kStreamConnectFailed, true);
    return false;
  }
  const std::string request = BuildStreamRequest(cookie, g_strLocalIPAddress);
  try {
    if (request.empty()) throw CBlockingSocketException("Write");
    socket.Write(request.data(), static_cast<int>(request.size()), kSendTimeoutSeconds);
  } catch (const CBlockingSocketException&) {
    EndSession(a, socket, "sClient.Write failed", 0, true);
    return false;
  }
  return true;
}

}  // namespace

DWORD WINAPI Jpeg_TCP_Get_Image_Data_Thread(LPVOID) {
  APP_DATA& a = *g_lpApp;
  // The end event also wakes the wait, so a session that never started still stops cleanly.
  const HANDLE start[] = {a.h_StartToGetJpegImageEvent, a.h_EndofGetJpegImageEvent};
  if (WaitForMultipleObjects(2, start, FALSE, INFINITE) != WAIT_OBJECT_0) return 0;

  TraceLogWrite("Got start event");
  a.SessionActiveFlag = 1;
  ResetEvent(a.h_NotifyGetJPEGImageThreadResetEvent);
  if (a.h_Process_Reply_TerminateEvent) ResetEvent(a.h_Process_Reply_TerminateEvent);
  SetEvent(a.h_StartToShowImageEvent);
  std::atomic_ref<uint32_t>(a.dwRateTick).store(GetTickCount());
  ZeroWord(a.dwRateBytes);
  ZeroWord(a.dwShownFrames);
  ZeroWord(a.dwRateFramesLast);
  ZeroWord(a.dwLastKbps);
  BindLiveViewObjects();

  CBlockingSocket socket;
  if (!OpenStream(a, socket)) return 0;

  auto splitter = std::make_unique<CFrameSplitter>();
  SocketFrameSource source(socket, a.h_NotifyGetJPEGImageThreadResetEvent,
                           a.h_EndofGetJpegImageEvent,
                           {&a.StreamRunningFlag, &a.fVideoConnected, &a.dwRateBytes});
  for (;;) {
    if (source.StopRequested()) {
      StopQuietly(a, socket);
      return 0;
    }
    switch (WaitForFreeSlot(a)) {
      case SlotWait::kSlot:
        break;
      case SlotWait::kStop:
        StopQuietly(a, socket);
        return 0;
      case SlotWait::kEnded:
        EndSession(a, socket, "dwResult == (WAIT_OBJECT_0 + 1) Get_Image_TimeOut_Message",
                   kStreamEndedWaitingForSlot, true);
        return 0;
      case SlotWait::kTimedOut:
        EndSession(a, socket, "dwResult == WAIT_TIMEOUT Get_Image_TimeOut_Message",
                   kStreamNoFreeSlot, true);
        return 0;
      case SlotWait::kFailed:
        EndSession(a, socket, "dwResult == else Get_Image_TimeOut_Message", 0, true);
        return 0;
    }

    const uint16_t slotIndex = a.wSocketWritePos;
    uint8_t* slot = a.lp_SocketBuffer + size_t{slotIndex} * APP_DATA::kSocketSlotBytes;
    RTPH_Struct header{};
    const CFrameSplitter::Outcome outcome =
        splitter->NextFrame(source, a.m_RTPHeaderParser, slot, APP_DATA::kSocketSlotBytes, &header);
    switch (outcome) {
      case CFrameSplitter::Outcome::kFrame: {
        std::memcpy(a.lp_HeaderSlots + size_t{slotIndex} * APP_DATA::kHeaderSlotBytes, &header,
                    sizeof header);
        a.wSocketWritePos = static_cast<uint16_t>((slotIndex + 1) % a.wSocketSlots);
        ReleaseSemaphore(a.SocketBufferFilledSem, 1, nullptr);
        break;
      }
      case CFrameSplitter::Outcome::kStopped:
        StopQuietly(a, socket);
        return 0;
      case CFrameSplitter::Outcome::kHeaderReadFailed:
        EndSession(a, socket, "if (RtpRecvLength == SOCKET_ERROR)", 0, false);
        return 0;
      case CFrameSplitter::Outcome::kHeaderTooLong:
        EndSession(a, socket, "iReceiveLength <= 0", kStreamHeaderTooLong, false);
        return 0;
      case CFrameSplitter::Outcome::kBodyReadFailed:
        EndSession(a, socket, "RtpRecvLength == SOCKET_ERROR", 0, false);
        return 0;
    }
  }
}
