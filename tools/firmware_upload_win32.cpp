#include "tools/firmware_upload_win32.h"

#include "net/device_http_request.h"
#include "net/device_reply.h"

namespace {

constexpr int kHoldSendSeconds = 10;
constexpr int kChunkSeconds = 15;
constexpr int kStreamReplySeconds = 15;

void CloseQuietly(CBlockingSocket& s) {
  try {
    s.Close();
  } catch (const CBlockingSocketException&) {
    s.m_hSocket = 0;
  }
}

}  // namespace

SocketUploadTransport::SocketUploadTransport(UpgradeMethod method, std::string server,
                                             uint16_t port, std::string host, HANDLE stopEvent)
    : m_method(method),
      m_strServer(std::move(server)),
      m_wPort(port),
      m_strHost(std::move(host)),
      m_hStop(stopEvent),
      m_cancel(stopEvent),
      m_nStreamSendSeconds(method == UpgradeMethod::kFileSetStreamed ? 40 : 10) {}

SocketUploadTransport::~SocketUploadTransport() {
  CloseQuietly(m_stream);
  CloseQuietly(m_hold);
}

bool SocketUploadTransport::Connect(CBlockingSocket& socket) {
  try {
    socket.SetCancel(&m_cancel);
    socket.Create(SOCK_STREAM);
    const CSockAddr address(m_strServer.c_str(), m_wPort);
    socket.Connect(address);
    return true;
  } catch (const CBlockingSocketException&) {
    CloseQuietly(socket);
    return false;
  }
}

bool SocketUploadTransport::OpenHold(const std::string& request) {
  if (m_cancel.IsSet() || !Connect(m_hold)) return false;
  if (m_method == UpgradeMethod::kFileSetStreamed) {
    const int size = 2048;
    ::setsockopt(m_hold, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&size), sizeof size);
  }
  try {
    m_hold.WriteAll(request.data(), static_cast<int>(request.size()), kHoldSendSeconds);
    return true;
  } catch (const CBlockingSocketException&) {
    CloseQuietly(m_hold);
    return false;
  }
}

void SocketUploadTransport::CloseHold() {
  CloseQuietly(m_hold);
}

PieceResult SocketUploadTransport::SendChunk(const std::string& query, const uint8_t* body,
                                             uint32_t size) {
  std::string request;
  if (!BuildDeviceHttpRequest(query, body, size, m_strHost, request)) return PieceResult::kNotSent;
  CBlockingSocket socket;
  if (m_cancel.IsSet() || !Connect(socket)) return PieceResult::kNotSent;
  try {
    socket.WriteAll(request.data(), static_cast<int>(request.size()), kChunkSeconds);
  } catch (const CBlockingSocketException&) {
    CloseQuietly(socket);
    return PieceResult::kNotSent;
  }
  const ReplyReceiveFn receive = [&](uint8_t* buf, int32_t ask) {
    return static_cast<int32_t>(socket.Receive(reinterpret_cast<char*>(buf), ask, kChunkSeconds));
  };
  const DeviceReplyResult reply = ReadDeviceReply(receive, nullptr, 0, {});
  CloseQuietly(socket);
  if (!reply.statusReceived) return PieceResult::kUnanswered;
  return reply.status == 200 ? PieceResult::kAccepted : PieceResult::kRefused;
}

bool SocketUploadTransport::OpenStream(const std::string& request) {
  if (m_cancel.IsSet() || !Connect(m_stream)) return false;
  try {
    m_stream.WriteAll(request.data(), static_cast<int>(request.size()), m_nStreamSendSeconds);
    return true;
  } catch (const CBlockingSocketException&) {
    CloseQuietly(m_stream);
    return false;
  }
}

bool SocketUploadTransport::SendStreamPiece(const uint8_t* data, uint32_t size) {
  try {
    m_stream.WriteAll(reinterpret_cast<const char*>(data), static_cast<int>(size),
                      m_nStreamSendSeconds);
    return true;
  } catch (const CBlockingSocketException&) {
    CloseQuietly(m_stream);
    return false;
  }
}

int32_t SocketUploadTransport::FinishStream() {
  char reply[512];
  const int n = m_stream.Receive(reply, sizeof reply, kStreamReplySeconds);
  CloseQuietly(m_stream);
  if (n <= 0) return 0;
  const std::string_view text(reply, static_cast<size_t>(n));
  if (text.rfind("HTTP/", 0) != 0) return 0;
  return ParseReplyHeader(text).status;
}

void SocketUploadTransport::Pause(uint32_t ms) {
  ::WaitForSingleObject(m_hStop, ms);
}
