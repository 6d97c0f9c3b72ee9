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
#include "session/live_view_binding.h"
#include "live/socket_frame_source.h"
#include "live/stream_pipeline.h"
#include "live/stream_request.h"
#include "session/stream_threads.h"
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
void StopQuietly(CStreamPipeline& p, CBlockingSocket& socket) {
  p.SessionActiveFlag = 0;
  p.StreamRunningFlag = 0;
  socket.Cleanup();
  SetEvent(p.h_FeedBackForNotifyResetEvent);
}

// Every other end: the socket is closed and a relogin is asked for.
void EndSession(CStreamPipeline& p, CBlockingSocket& socket, const char* traceLine,
                uint32_t statusCode, bool clearFlags) {
  if (statusCode) StreamStatusCode = statusCode;
  TraceLogWrite(traceLine);
  if (clearFlags) {
    p.SessionActiveFlag = 0;
    p.StreamRunningFlag = 0;
  }
  socket.Cleanup();  // errors of the close itself do not matter
  SendKernelMessage(Get_Image_TimeOut_Message, nullptr);
}

SlotWait WaitForFreeSlot(CStreamPipeline& p) {
  CRingSemaphore* slots = p.m_SocketRing.h_FreeSem;
  if (!slots) return SlotWait::kFailed;
  const HANDLE stops[] = {p.h_EndofGetJpegImageEvent, p.h_NotifyGetJPEGImageThreadResetEvent};
  const DWORD n = stops[1] ? 2 : 1;
  // A free slot goes first, as the stop requests are also noticed while reading.
  const DWORD r = slots->Wait(stops, n, kFreeSlotWaitMs, true);
  if (r == WAIT_OBJECT_0) return SlotWait::kSlot;
  if (r == WAIT_OBJECT_0 + 2) return SlotWait::kStop;
  if (r == WAIT_OBJECT_0 + 1) {
    // Both stop events at once (the session resources going away) is a stop request.
    if (stops[1] && WaitForSingleObject(stops[1], 0) == WAIT_OBJECT_0) return SlotWait::kStop;
    return SlotWait::kEnded;
  }
  return r == WAIT_TIMEOUT ? SlotWait::kTimedOut : SlotWait::kFailed;
}

// Where the stream comes from: the session's device and cookie.
struct StreamTarget {
  std::string server, cookie;
  uint16_t port = 0;
};

StreamTarget SessionStreamTarget() {
  const DeviceSession& session = ProgramDeviceSession();
  StreamTarget target{session.Server(), {}, session.Port()};
  std::lock_guard<std::mutex> lock(SessionMutex());
  target.cookie.assign(g_szCookie, strnlen(g_szCookie, sizeof g_szCookie));
  return target;
}

// Connects and sends the stream request; false (the session ended) on failure.
bool OpenStream(CStreamPipeline& p, CBlockingSocket& socket) {
  const auto [server, cookie, port] = SessionStreamTarget();
  try {
    socket.Create(SOCK_STREAM);
    const CSockAddr address = server.empty() ? CBlockingSocket::GetHostByName(server.c_str(), port)
                                             : CSockAddr(server.c_str(), port);
    socket.Connect(address);
  } catch (const CBlockingSocketException&) {
    EndSession(p, socket, "sClient.Connect failed", kStreamConnectFailed, true);
    return false;
  }
  const std::string request = BuildStreamRequest(cookie, g_strLocalIPAddress);
  try {
    if (request.empty()) throw CBlockingSocketException("Write");
    socket.Write(request.data(), static_cast<int>(request.size()), kSendTimeoutSeconds);
  } catch (const CBlockingSocketException&) {
    EndSession(p, socket, "sClient.Write failed", 0, true);
    return false;
  }
  return true;
}

}  // namespace

DWORD WINAPI Jpeg_TCP_Get_Image_Data_Thread(LPVOID param) {
  CStreamPipeline& p = *static_cast<CStreamPipeline*>(param);
  // The end event also wakes the wait, so a session that never started still stops cleanly.
  const HANDLE start[] = {p.h_StartToGetJpegImageEvent, p.h_EndofGetJpegImageEvent};
  if (WaitForMultipleObjects(2, start, FALSE, INFINITE) != WAIT_OBJECT_0) return 0;

  TraceLogWrite("Got start event");
  p.SessionActiveFlag = 1;
  ResetEvent(p.h_NotifyGetJPEGImageThreadResetEvent);
  if (g_lpApp->h_Process_Reply_TerminateEvent) ResetEvent(g_lpApp->h_Process_Reply_TerminateEvent);
  SetEvent(p.h_StartToShowImageEvent);
  StreamStatistics& stats = p.m_Statistics;
  std::atomic_ref<uint32_t>(stats.dwRateTick).store(GetTickCount());
  ZeroWord(stats.dwRateBytes);
  ZeroWord(stats.dwShownFrames);
  ZeroWord(stats.dwRateFramesLast);
  ZeroWord(stats.dwLastKbps);
  BindLiveViewObjects();

  CBlockingSocket socket;
  if (!OpenStream(p, socket)) return 0;

  auto splitter = std::make_unique<CFrameSplitter>();
  auto source = std::make_unique<SocketFrameSource>(
      socket, p.h_NotifyGetJPEGImageThreadResetEvent, p.h_EndofGetJpegImageEvent,
      SocketFrameSource::SessionWords{&p.StreamRunningFlag, &p.fVideoConnected,
                                      &stats.dwRateBytes});
  CFrameRing<RTPH_Struct>& ring = p.m_SocketRing;
  for (;;) {
    if (source->StopRequested()) {
      StopQuietly(p, socket);
      return 0;
    }
    switch (WaitForFreeSlot(p)) {
      case SlotWait::kSlot:
        break;
      case SlotWait::kStop:
        StopQuietly(p, socket);
        return 0;
      case SlotWait::kEnded:
        EndSession(p, socket, "dwResult == (WAIT_OBJECT_0 + 1) Get_Image_TimeOut_Message",
                   kStreamEndedWaitingForSlot, true);
        return 0;
      case SlotWait::kTimedOut:
        EndSession(p, socket, "dwResult == WAIT_TIMEOUT Get_Image_TimeOut_Message",
                   kStreamNoFreeSlot, true);
        return 0;
      case SlotWait::kFailed:
        EndSession(p, socket, "dwResult == else Get_Image_TimeOut_Message", 0, true);
        return 0;
    }

    // The parse step: every header the splitter parses reacts here at once (alarm sound, alarm
    // recording, channel switch, clock, ...), also one whose picture is then dropped.
    StreamFrame frame;
    const CFrameSplitter::Outcome outcome =
        splitter->NextFrame(*source, p.m_RTPHeaderParser, &p.m_HeaderReactions, ring.WriteSlot(),
                            ring.dw_SlotBytes, &frame);
    switch (outcome) {
      case CFrameSplitter::Outcome::kFrame:
        ring.WriteRecord() = frame.header;
        ring.CommitWrite();
        break;
      case CFrameSplitter::Outcome::kStopped:
        StopQuietly(p, socket);
        return 0;
      case CFrameSplitter::Outcome::kHeaderReadFailed:
        EndSession(p, socket, "if (RtpRecvLength == SOCKET_ERROR)", 0, false);
        return 0;
      case CFrameSplitter::Outcome::kHeaderTooLong:
        EndSession(p, socket, "iReceiveLength <= 0", kStreamHeaderTooLong, false);
        return 0;
      case CFrameSplitter::Outcome::kBodyReadFailed:
        EndSession(p, socket, "RtpRecvLength == SOCKET_ERROR", 0, false);
        return 0;
    }
  }
}
