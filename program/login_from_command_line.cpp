// A login without the login window, from the command line or from the first device that answers
// a LAN search. Carried: nothing in the program calls it.
#include <winsock2.h>

#include <cstdio>
#include <cstring>

#include "app/app_data.h"
#include "app/login_store.h"
#include "program/pallum_app.h"
#include "net/blocking_socket.h"
#include "net/device_session.h"
#include "net/local_ip.h"
#include "net/login_exchange.h"
#include "platform/message_box.h"
#include "tools/search_packet.h"

namespace {

constexpr const char* kFallbackServer = "192.168.1.10";

// Broadcasts one search request and returns the address of the first device that answers, or
// the fallback address when none does.
std::string SearchFirstDevice(bool* sendFailed) {
  *sendFailed = false;
  unsigned a[4] = {};
  std::sscanf(g_strLocalIPAddress.c_str(), "%u.%u.%u.%u", &a[0], &a[1], &a[2], &a[3]);
  const SEARCH_PACKET request =
      MakeSearchRequest({uint8_t(a[0]), uint8_t(a[1]), uint8_t(a[2]), uint8_t(a[3])});
  try {
    CBlockingSocket sender;
    sender.Create(SOCK_DGRAM);
    CSockAddr local(g_strLocalIPAddress.c_str(), kSearchRequestPort);
    sender.Bind(local);
    sender.SetSockOpt();  // broadcast
    CSockAddr everyone("255.255.255.255", kSearchDevicePort);
    if (sender.SendDatagram(reinterpret_cast<const char*>(&request), sizeof request, everyone, 5) !=
        sizeof request) {
      *sendFailed = true;
      return {};
    }
  } catch (const CBlockingSocketException&) {
    *sendFailed = true;
    return {};
  }
  try {
    CBlockingSocket receiver;
    receiver.Create(SOCK_DGRAM);
    CSockAddr any("0.0.0.0", kSearchReplyPort);
    receiver.Bind(any);
    SEARCH_PACKET reply;
    sockaddr_in from{};
    if (receiver.ReceiveDatagram(reinterpret_cast<char*>(&reply), sizeof reply,
                                 reinterpret_cast<LPSOCKADDR>(&from), 7) < int(sizeof reply))
      return kFallbackServer;
    char text[32];
    std::snprintf(text, sizeof text, "%d.%d.%d.%d", reply.byIp[0], reply.byIp[1], reply.byIp[2],
                  reply.byIp[3]);
    return text;
  } catch (const CBlockingSocketException&) {
    return kFallbackServer;
  }
}

}  // namespace

int CPallumApp::LoginFromCommandLine() {
  const ::CSettingINI defaults;
  std::string server = m_lpCmdLine ? m_lpCmdLine : "";
  if (server.empty()) {
    server = GetCommandLineA();
    if (server.empty() || server[0] < '0' || server[0] > '9') {
      bool sendFailed = false;
      server = SearchFirstDevice(&sendFailed);
      if (sendFailed) {
        OstMessageBox("SendBroadCast is wrong");
        return 0;
      }
    }
  }
  DeviceSession session(server, 80, defaults.m_strUsername, defaults.m_strPassword);
  const LoginResult result = RunLoginExchange(session, kLoginWindowLogin, KnownDeviceOf(*g_lpApp));
  if (!StoreLogin(result, kLoginWindowLogin, session, SessionToSettings::kAddressAndAccount,
                  *g_lpApp))
    return 0;
  if (g_lpApp->str_ProductID == "RZ8P") return 0;  // only the first seven Product-IDs
  g_lpApp->w_LoginResult = kLoginSucceeded;
  return 1;
}
