#include "net/blocking_socket.h"

#include <ws2tcpip.h>

#include <cstring>

#include "net/request_cancel.h"

namespace {
uint64_t SecondsToMs(int seconds) {
  return seconds < 0 ? 0 : static_cast<uint64_t>(seconds) * 1000;
}

// One select on the socket: readability, writability, or for a connect writability or failure.
int SelectOnce(SOCKET s, bool read, bool write, bool failure, uint64_t timeoutMs, bool* writable) {
  fd_set readSet, writeSet, failSet;
  FD_ZERO(&readSet);
  FD_ZERO(&writeSet);
  FD_ZERO(&failSet);
  if (read) FD_SET(s, &readSet);
  if (write) FD_SET(s, &writeSet);
  if (failure) FD_SET(s, &failSet);
  timeval tv{static_cast<long>(timeoutMs / 1000), static_cast<long>(timeoutMs % 1000 * 1000)};
  const int n = select(0, read ? &readSet : nullptr, write ? &writeSet : nullptr,
                       failure ? &failSet : nullptr, &tv);
  if (writable) *writable = n > 0 && FD_ISSET(s, &writeSet);
  return n;
}
}  // namespace

bool CBlockingSocketException::GetErrorMessage(char*, unsigned, unsigned*) const {
  return true;
}

CSockAddr::CSockAddr() : sockaddr_in{} {
  sin_family = AF_INET;
  sin_port = 0;
  sin_addr.s_addr = 0;
}

CSockAddr::CSockAddr(const char* dotted, uint16_t port) : sockaddr_in{} {
  sin_family = AF_INET;
  sin_port = htons(port);
  sin_addr.s_addr = inet_addr(dotted);
}

CSockAddr::CSockAddr(const sockaddr_in& address) : sockaddr_in(address) {}

void CBlockingSocket::Create(int type) {
  const SOCKET s = socket(AF_INET, type, 0);
  if (s == INVALID_SOCKET) throw CBlockingSocketException("Create");
  m_hSocket = s;
}

void CBlockingSocket::Bind(const sockaddr* address) {
  if (bind(m_hSocket, address, sizeof(sockaddr_in)) == SOCKET_ERROR)
    throw CBlockingSocketException("Bind");
}

void CBlockingSocket::Listen() {
  if (listen(m_hSocket, 5) == SOCKET_ERROR) throw CBlockingSocketException("Listen");
}

int CBlockingSocket::Accept(CBlockingSocket& connection, LPSOCKADDR address) {
  int length = sizeof(sockaddr_in);
  const SOCKET s = accept(m_hSocket, address, &length);
  if (s == INVALID_SOCKET) {
    if (WSAGetLastError() == WSAEINTR) return 0;
    throw CBlockingSocketException("Accept");
  }
  connection.m_hSocket = s;
  return 1;
}

void CBlockingSocket::Close() {
  if (m_hSocket == 0) return;
  if (closesocket(m_hSocket) == SOCKET_ERROR) throw CBlockingSocketException("Close");
  m_bConnected = 0;
  m_hSocket = 0;
}

void CBlockingSocket::Cleanup() {
  if (m_hSocket == 0) return;
  closesocket(m_hSocket);
  m_hSocket = 0;
}

void CBlockingSocket::Connect(const sockaddr* address) {
  if (m_pCancel && m_pCancel->IsSet()) throw CBlockingSocketException("Connect");
  // A non-blocking connect bounded by kConnectTimeoutSeconds, then back to blocking mode.
  u_long nonBlocking = 1;
  if (ioctlsocket(m_hSocket, FIONBIO, &nonBlocking) == SOCKET_ERROR)
    throw CBlockingSocketException("Connect");
  bool connected = connect(m_hSocket, address, sizeof(sockaddr_in)) != SOCKET_ERROR;
  if (!connected && WSAGetLastError() == WSAEWOULDBLOCK) {
    bool writable = false;
    if (Wait(Readiness::kConnect, SecondsToMs(kConnectTimeoutSeconds), &writable) > 0 && writable) {
      int error = 0;
      int length = sizeof error;
      connected = getsockopt(m_hSocket, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error),
                             &length) == 0 &&
                  error == 0;
    }
  }
  u_long blocking = 0;
  if (ioctlsocket(m_hSocket, FIONBIO, &blocking) == SOCKET_ERROR) connected = false;
  if (!connected) throw CBlockingSocketException("Connect");
  m_bConnected = 1;
}

int CBlockingSocket::Wait(Readiness kind, uint64_t timeoutMs, bool* writable) const {
  const bool read = kind == Readiness::kRead;
  const bool connect = kind == Readiness::kConnect;
  if (writable) *writable = false;
  if (!m_pCancel) return SelectOnce(m_hSocket, read, !read, connect, timeoutMs, writable);
  const ULONGLONG start = GetTickCount64();
  for (;;) {
    if (m_pCancel->IsSet()) return 0;
    const uint64_t elapsed = GetTickCount64() - start;
    const uint64_t left = elapsed >= timeoutMs ? 0 : timeoutMs - elapsed;
    const uint64_t slice =
        left < RequestCancel::kCancelSliceMs ? left : RequestCancel::kCancelSliceMs;
    const int n = SelectOnce(m_hSocket, read, !read, connect, slice, writable);
    if (n != 0 || left == slice) return n;
  }
}

int CBlockingSocket::WaitWritable(int seconds) const {
  const int n = Wait(Readiness::kWrite, SecondsToMs(seconds));
  if (n == SOCKET_ERROR) return SOCKET_ERROR;
  return n > 0 ? 1 : 0;
}
int CBlockingSocket::WaitReadable(int seconds) const {
  const int n = Wait(Readiness::kRead, SecondsToMs(seconds));
  if (n == SOCKET_ERROR) return SOCKET_ERROR;
  return n > 0 ? 1 : 0;
}

int CBlockingSocket::WriteAll(const char* data, int length, int seconds) {
  int sent = 0;
  while (sent < length) {
    if (WaitWritable(seconds) == 0) throw CBlockingSocketException("Send timeout");
    const int n = send(m_hSocket, data + sent, length - sent, 0);
    if (n == SOCKET_ERROR) throw CBlockingSocketException("Send");
    sent += n;
  }
  return sent;
}

int CBlockingSocket::Write(const char* data, int length, int seconds) {
  int sent = 0;
  while (sent < length) sent += Send(data + sent, length - sent, seconds);
  return sent;
}

int CBlockingSocket::Send(const char* data, int length, int seconds) {
  if (WaitWritable(seconds) == 0) throw CBlockingSocketException("Send timeout");
  const int n = send(m_hSocket, data, length, 0);
  if (n == SOCKET_ERROR) throw CBlockingSocketException("Send");
  return n;
}

int CBlockingSocket::Receive(char* buffer, int size, int seconds) {
  if (m_hSocket == 0) return -1;
  if (WaitReadable(seconds) == 0) return -1;  // time-out
  const int n = recv(m_hSocket, buffer, size, 0);
  if (n == SOCKET_ERROR || n == 0) return -1;
  return n;
}

int CBlockingSocket::ReceiveDatagram(char* buffer, int size, LPSOCKADDR from, int) {
  int length = sizeof(sockaddr_in);
  const int n = recvfrom(m_hSocket, buffer, size, 0, from, &length);
  if (n == SOCKET_ERROR) throw CBlockingSocketException("ReceiveDatagram");
  return n;
}

int CBlockingSocket::SendDatagram(const char* data, int length, const sockaddr* to, int seconds) {
  if (WaitWritable(seconds) == 0) throw CBlockingSocketException("Send timeout");
  const int n = sendto(m_hSocket, data, length, 0, to, sizeof(sockaddr_in));
  if (n == SOCKET_ERROR) throw CBlockingSocketException("SendDatagram");
  return n;
}

int CBlockingSocket::SendTo(const char* data, int length, int) {
  const int n = sendto(m_hSocket, data, length, 0, static_cast<const sockaddr*>(m_saTarget),
                       sizeof(sockaddr_in));
  if (n == SOCKET_ERROR) throw CBlockingSocketException("Sendto");
  return n;
}

int CBlockingSocket::SetSockOpt() {
  const int32_t on = 1;
  if (setsockopt(m_hSocket, SOL_SOCKET, SO_BROADCAST, reinterpret_cast<const char*>(&on),
                 sizeof on) == SOCKET_ERROR)
    throw CBlockingSocketException("SetSockOpt");
  return 0;
}

void CBlockingSocket::GetPeerName(LPSOCKADDR address) {
  int length = sizeof(sockaddr_in);
  if (getpeername(m_hSocket, address, &length) == SOCKET_ERROR)
    throw CBlockingSocketException("GetPeerName");
}

void CBlockingSocket::GetSockName(LPSOCKADDR address) {
  int length = sizeof(sockaddr_in);
  if (getsockname(m_hSocket, address, &length) == SOCKET_ERROR)
    throw CBlockingSocketException("GetSockName");
}

CSockAddr CBlockingSocket::GetHostByName(const char* name, uint16_t port) {
  const hostent* host = name ? gethostbyname(name) : nullptr;
  if (!host || host->h_addrtype != AF_INET || host->h_length != 4 || !host->h_addr_list ||
      !host->h_addr_list[0])
    throw CBlockingSocketException("GetHostByName");
  CSockAddr address;
  address.sin_port = htons(port);
  std::memcpy(&address.sin_addr, host->h_addr_list[0], 4);
  return address;
}

const char* CBlockingSocket::GetHostByAddr(const sockaddr* address) {
  const auto* in = reinterpret_cast<const sockaddr_in*>(address);
  const hostent* host = gethostbyaddr(reinterpret_cast<const char*>(&in->sin_addr), 4, AF_INET);
  if (!host || !host->h_name) throw CBlockingSocketException("GetHostByAddr");
  return host->h_name;
}
