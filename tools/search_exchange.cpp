#include "tools/search_exchange.h"

#include <algorithm>

namespace {

constexpr DWORD kSliceMs = 100;

struct SocketCloser {
  SOCKET s;
  ~SocketCloser() {
    if (s != INVALID_SOCKET) ::closesocket(s);
  }
};

// Waits up to ms for a datagram; 1 readable, 0 nothing, -1 failed or stopped.
int WaitReadable(SOCKET s, DWORD ms, const std::atomic<bool>* stop) {
  const DWORD start = ::GetTickCount();
  while (true) {
    if (stop && *stop) return -1;
    const DWORD passed = ::GetTickCount() - start;
    if (passed >= ms) return 0;
    const DWORD slice = std::min(kSliceMs, ms - passed);
    fd_set set;
    FD_ZERO(&set);
    FD_SET(s, &set);
    timeval tv{static_cast<long>(slice / 1000), static_cast<long>(slice % 1000) * 1000};
    const int r = ::select(0, &set, nullptr, nullptr, &tv);
    if (r == SOCKET_ERROR) return -1;
    if (r > 0) return 1;
  }
}

}  // namespace

bool SendSearchBroadcast(const SEARCH_PACKET& packet, const std::string& ownAddress) {
  SocketCloser s{::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP)};
  if (s.s == INVALID_SOCKET) return false;
  const BOOL on = TRUE;
  if (::setsockopt(s.s, SOL_SOCKET, SO_BROADCAST, reinterpret_cast<const char*>(&on), sizeof on) !=
      0)
    return false;
  sockaddr_in local{};
  local.sin_family = AF_INET;
  local.sin_port = htons(kSearchRequestPort);
  local.sin_addr.s_addr = ::inet_addr(ownAddress.c_str());
  if (::bind(s.s, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) return false;
  sockaddr_in target{};
  target.sin_family = AF_INET;
  target.sin_port = htons(kSearchDevicePort);
  target.sin_addr.s_addr = INADDR_BROADCAST;
  const auto bytes = EncodeSearchPacket(packet);
  return ::sendto(s.s, reinterpret_cast<const char*>(bytes.data()), static_cast<int>(bytes.size()),
                  0, reinterpret_cast<const sockaddr*>(&target),
                  sizeof target) == static_cast<int>(bytes.size());
}

SOCKET OpenSearchReplySocket(bool* bindFailed) {
  *bindFailed = false;
  SOCKET s = ::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
  if (s == INVALID_SOCKET) return s;
  sockaddr_in any{};
  any.sin_family = AF_INET;
  any.sin_port = htons(kSearchReplyPort);
  any.sin_addr.s_addr = INADDR_ANY;
  if (::bind(s, reinterpret_cast<const sockaddr*>(&any), sizeof any) != 0) {
    ::closesocket(s);
    *bindFailed = true;
    return INVALID_SOCKET;
  }
  return s;
}

namespace {

// One datagram into packet: 1 a search packet, 0 another size (skipped), -1 receive failure.
int ReceivePacket(SOCKET s, SEARCH_PACKET* packet) {
  uint8_t buffer[512];
  const int n = ::recv(s, reinterpret_cast<char*>(buffer), sizeof buffer, 0);
  if (n == SOCKET_ERROR) return ::WSAGetLastError() == WSAEMSGSIZE ? 0 : -1;
  const auto decoded = DecodeSearchPacket(buffer, static_cast<size_t>(n));
  if (!decoded) return 0;
  *packet = *decoded;
  return 1;
}

std::array<uint8_t, 4> AddressBytes(const std::string& dotted) {
  std::array<uint8_t, 4> out{};
  if (const auto a = ParseStrictAddress(dotted)) out = *a;
  return out;
}

}  // namespace

SearchEnd RunSearch(const std::string& ownAddress, const SearchCallbacks& callbacks,
                    const std::atomic<bool>& stop) {
  bool bindFailed = false;
  SocketCloser s{OpenSearchReplySocket(&bindFailed)};
  if (s.s == INVALID_SOCKET) return bindFailed ? SearchEnd::kBindFailed : SearchEnd::kNoSocket;
  if (!SendSearchBroadcast(MakeSearchRequest(AddressBytes(ownAddress)), ownAddress))
    callbacks.sendFailed();
  const DWORD start = ::GetTickCount();
  while (::GetTickCount() - start < 10000) {
    const DWORD waitStart = ::GetTickCount();
    bool got = false;
    while (!got && ::GetTickCount() - waitStart < 5000) {
      const int r = WaitReadable(s.s, 5000 - (::GetTickCount() - waitStart), &stop);
      if (r < 0) return stop ? SearchEnd::kStopped : SearchEnd::kDone;
      if (r == 0) return SearchEnd::kDone;
      SEARCH_PACKET packet;
      const int k = ReceivePacket(s.s, &packet);
      if (k < 0) return SearchEnd::kDone;
      if (k == 1) {
        callbacks.reply(packet);
        got = true;
      }
    }
    if (!got) break;
  }
  return SearchEnd::kDone;
}

SetupEnd RunSetupExchange(const SEARCH_PACKET& request, const std::string& ownAddress, DWORD waitMs,
                          SEARCH_PACKET* reply, const std::function<void()>& sendFailed) {
  bool bindFailed = false;
  SocketCloser s{OpenSearchReplySocket(&bindFailed)};
  if (s.s == INVALID_SOCKET) return bindFailed ? SetupEnd::kBindFailed : SetupEnd::kNoSocket;
  if (!SendSearchBroadcast(request, ownAddress)) sendFailed();
  const DWORD start = ::GetTickCount();
  while (true) {
    const DWORD passed = ::GetTickCount() - start;
    if (passed >= waitMs) return SetupEnd::kTimeout;
    const int r = WaitReadable(s.s, waitMs - passed, nullptr);
    if (r < 0) return SetupEnd::kBindFailed;
    if (r == 0) return SetupEnd::kTimeout;
    const int k = ReceivePacket(s.s, reply);
    if (k < 0) return SetupEnd::kReceiveFailed;
    if (k == 1) return SetupEnd::kReply;
  }
}
