#include "net/voroz_send_command.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "net/blocking_socket.h"  // winsock2.h ahead of windows.h
#include "net/cgi_command_table.h"
#include "net/cgi_param_list.h"
#include "net/device_http_request.h"
#include "net/device_reply.h"
#include "net/device_session.h"
#include "net/local_ip.h"
#include "net/request_cancel.h"

namespace {
std::atomic<ConnectErrorReporter> g_connectErrorReporter{nullptr};

// Every character a digit or a dot (the empty text included).
bool IsDottedText(const std::string& text) {
  for (char c : text)
    if (!(c >= '0' && c <= '9') && c != '.') return false;
  return true;
}

std::string DottedText(uint32_t hostOrderAddress) {
  char text[16];
  std::snprintf(text, sizeof text, "%u.%u.%u.%u", (hostOrderAddress >> 24) & 0xFF,
                (hostOrderAddress >> 16) & 0xFF, (hostOrderAddress >> 8) & 0xFF,
                hostOrderAddress & 0xFF);
  return text;
}

void CloseQuietly(CBlockingSocket& socket) {
  try {
    socket.Close();
  } catch (const CBlockingSocketException&) {
  }
  socket.Cleanup();
}
}  // namespace

void SetConnectErrorReporter(ConnectErrorReporter reporter) {
  g_connectErrorReporter = reporter;
}

CgiRequest CgiRequest::Of(const CGIParamList& list) {
  CgiRequest request;
  request.command = list.m_nCmdId;
  request.query = list.GetBuffer();
  return request;
}

int VorozSendCommand(const CgiRequest& r, DeviceSession& session) {
  if (!r.query) return 0;
  // A thread asked to stop sends nothing more; one asked while a request runs gets 0 for it.
  const RequestCancel* cancel = ThreadRequestCancel();
  const auto stopped = [cancel] { return cancel != nullptr && cancel->IsSet(); };
  if (stopped()) return 0;
  std::string request;
  if (!BuildDeviceHttpRequest(r.query, static_cast<const uint8_t*>(r.body), r.bodyLength,
                              g_strLocalIPAddress, request))
    return 0;

  CBlockingSocket socket;
  socket.SetCancel(cancel);
  try {
    socket.Create(SOCK_STREAM);

    const std::string server = session.Server();
    const uint16_t port = session.Port();
    if (server.empty()) {
      CloseQuietly(socket);
      return 0;
    }

    CSockAddr address;
    if (IsDottedText(server)) {
      address = CSockAddr(server.c_str(), port);
    } else {
      address = CBlockingSocket::GetHostByName(server.c_str(), port);
      if (r.command == kCgiLogin) session.KeepResolvedName(server, DottedText(address.IPAddr()));
    }

    try {
      socket.Connect(address);
    } catch (const CBlockingSocketException&) {
      const ConnectErrorReporter report = g_connectErrorReporter;
      if (r.options.showConnectError && r.command == kCgiLogin && report && !stopped())
        report("Create connection is time out");
      throw;
    }

    socket.WriteAll(request.data(), static_cast<int>(request.size()), r.options.sendTimeoutSeconds);
    if (r.command == kCgiReboot) {
      CloseQuietly(socket);
      return 1;
    }

    const uint16_t receiveTimeout = r.options.receiveTimeoutSeconds;
    const ReplyReceiveFn receive = [&](uint8_t* buffer, int32_t size) {
      return static_cast<int32_t>(
          socket.Receive(reinterpret_cast<char*>(buffer), size, receiveTimeout));
    };
    // The body reaches the caller's buffer only with a result that stands.
    std::vector<uint8_t> body(
        r.reply ? std::max<size_t>(1, std::min<size_t>(r.replyCapacity, kDeviceReplyBufferSize))
                : 0);
    const DeviceReplyResult reply =
        ReadDeviceReply(receive, r.reply ? body.data() : nullptr, r.reply ? r.replyCapacity : 0,
                        [&session] { session.TakeOverPendingAddress(); });
    CloseQuietly(socket);

    if (stopped()) return 0;
    if (reply.result != 1) {
      if (reply.statusReceived && reply.status != 200 && r.status)
        r.status->dwStatus = static_cast<uint32_t>(reply.status);
      return 0;
    }
    if (r.reply && reply.bodyLen > 0) std::memcpy(r.reply, body.data(), reply.bodyLen);
    if (r.replyLength) *r.replyLength = reply.bodyLen;
    if (r.bodyComplete) *r.bodyComplete = reply.bodyComplete ? 1 : 0;
    return 1;
  } catch (const CBlockingSocketException&) {
    CloseQuietly(socket);
    return 0;
  }
}
