#include "net/voroz_send_command.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "net/blocking_socket.h"  // winsock2.h ahead of windows.h
#include "app/app_data.h"
#include "net/local_ip.h"
#include "net/cgi_command_table.h"
#include "net/device_http_request.h"
#include "net/device_reply.h"
#include "net/device_session.h"
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

void TakeOverPendingAddress() {
  std::lock_guard<std::mutex> lock(SessionMutex());
  ::CSettingINI& settings = g_lpApp->m_Settings;
  if (g_fPendingWebPort) {
    settings.m_wWebPort = g_wPendingWebPort;
    g_fPendingWebPort = 0;
  }
  if (g_fPendingServerName) {
    // The client uses the new text from now on; a host name kept from a login no longer applies.
    settings.SetServerNameFromUser(g_strPendingServerName);
    g_fPendingServerName = 0;
  }
}
}  // namespace

void SetConnectErrorReporter(ConnectErrorReporter reporter) {
  g_connectErrorReporter = reporter;
}

int VorozSendCommand(uint8_t nCommand, const char* pszRequest, int32_t /*nRequestLen*/,
                     const void* pBody, uint32_t dwBodyLen, CgiReplyStatus* pStatus,
                     int32_t /*nStatusSize*/, void* pReply, uint32_t dwReplyCapacity,
                     uint32_t* pdwReplyLen, uint16_t wSendTimeout, uint16_t wRecvTimeout,
                     uint16_t wShowConnectError, uint32_t* pfBodyComplete) {
  if (!pszRequest || !g_lpApp) return 0;
  // A thread asked to stop sends nothing more; one asked while a request runs gets 0 for it.
  const RequestCancel* cancel = ThreadRequestCancel();
  const auto stopped = [cancel] { return cancel != nullptr && cancel->IsSet(); };
  if (stopped()) return 0;
  std::string request;
  if (!BuildDeviceHttpRequest(pszRequest, static_cast<const uint8_t*>(pBody), dwBodyLen,
                              g_strLocalIPAddress, request))
    return 0;

  CBlockingSocket socket;
  socket.SetCancel(cancel);
  try {
    socket.Create(SOCK_STREAM);

    std::string server;
    uint16_t port;
    {
      std::lock_guard<std::mutex> lock(SessionMutex());
      server = g_lpApp->m_Settings.m_strServerName;
      port = g_lpApp->m_Settings.m_wWebPort;
    }
    if (server.empty()) {
      CloseQuietly(socket);
      return 0;
    }

    CSockAddr address;
    if (IsDottedText(server)) {
      address = CSockAddr(server.c_str(), port);
    } else {
      address = CBlockingSocket::GetHostByName(server.c_str(), port);
      if (nCommand == kCgiLogin) {
        std::lock_guard<std::mutex> lock(SessionMutex());
        g_lpApp->m_Settings.KeepServerHostName(server);
        g_lpApp->m_Settings.m_strServerName = DottedText(address.IPAddr());
      }
    }

    try {
      socket.Connect(address);
    } catch (const CBlockingSocketException&) {
      const ConnectErrorReporter report = g_connectErrorReporter;
      if (wShowConnectError == 1 && nCommand == kCgiLogin && report && !stopped())
        report("Create connection is time out");
      throw;
    }

    socket.WriteAll(request.data(), static_cast<int>(request.size()), wSendTimeout);
    if (nCommand == kCgiReboot) {
      CloseQuietly(socket);
      return 1;
    }

    const ReplyReceiveFn receive = [&](uint8_t* buffer, int32_t size) {
      return static_cast<int32_t>(
          socket.Receive(reinterpret_cast<char*>(buffer), size, wRecvTimeout));
    };
    // The body reaches the caller's buffer only with a result that stands.
    std::vector<uint8_t> body(
        pReply ? std::max<size_t>(1, std::min<size_t>(dwReplyCapacity, kDeviceReplyBufferSize))
               : 0);
    const DeviceReplyResult reply =
        ReadDeviceReply(receive, pReply ? body.data() : nullptr, pReply ? dwReplyCapacity : 0,
                        TakeOverPendingAddress);
    CloseQuietly(socket);

    if (stopped()) return 0;
    if (reply.result != 1) {
      if (reply.statusReceived && reply.status != 200 && pStatus)
        pStatus->dwStatus = static_cast<uint32_t>(reply.status);
      return 0;
    }
    if (pReply && reply.bodyLen > 0) std::memcpy(pReply, body.data(), reply.bodyLen);
    if (pdwReplyLen) *pdwReplyLen = reply.bodyLen;
    if (pfBodyComplete) *pfBodyComplete = reply.bodyComplete ? 1 : 0;
    return 1;
  } catch (const CBlockingSocketException&) {
    CloseQuietly(socket);
    return 0;
  }
}
