// A blocking Windows Sockets wrapper with time-outs in whole seconds. Every failing operation
// except Receive and Cleanup throws CBlockingSocketException named after the operation.
// A socket given a stop request (SetCancel) ends its waits early once the request is set, as if
// they had timed out.
#pragma once

#include <winsock2.h>

#include <cstdint>
#include <exception>
#include <string>

class CBlockingSocketException : public std::exception {
 public:
  explicit CBlockingSocketException(const char* operation) : m_strOperation(operation) {}
  const char* what() const noexcept override { return m_strOperation.c_str(); }
  // Gives no text: the operation's name is the only description of a failure.
  bool GetErrorMessage(char* buffer, unsigned size, unsigned* helpContext = nullptr) const;

  std::string m_strOperation;
};

// An IPv4 socket address: family 2, port and address in network byte order, 8 unset bytes.
class CSockAddr : public sockaddr_in {
 public:
  CSockAddr();
  // Dotted text and a host-order port; text that is not a dotted address gives 255.255.255.255.
  CSockAddr(const char* dotted, uint16_t port);
  explicit CSockAddr(const sockaddr_in& address);

  operator LPSOCKADDR() { return reinterpret_cast<LPSOCKADDR>(this); }
  operator const sockaddr*() const { return reinterpret_cast<const sockaddr*>(this); }
  // The address in host byte order.
  uint32_t IPAddr() const { return ntohl(sin_addr.s_addr); }
};
static_assert(sizeof(CSockAddr) == 16);

class RequestCancel;

class CBlockingSocket {
 public:
  // Upper bound of a connect; the platform's own wait may be much longer.
  static constexpr int kConnectTimeoutSeconds = 20;

  CBlockingSocket() = default;
  // Does not close the socket: owners end with Close and/or Cleanup.
  ~CBlockingSocket() = default;
  CBlockingSocket(const CBlockingSocket&) = delete;
  CBlockingSocket& operator=(const CBlockingSocket&) = delete;

  // type: 1 stream (TCP), 2 datagram (UDP).
  void Create(int type = SOCK_STREAM);
  void Bind(const sockaddr* address);
  void Listen();
  // 1, or 0 when the wait was interrupted.
  int Accept(CBlockingSocket& connection, LPSOCKADDR address);
  // Nothing without a socket; a closesocket error throws before the fields are cleared.
  void Close();
  // Never throws; leaves m_bConnected as it is.
  void Cleanup();
  void Connect(const sockaddr* address);
  // Each sends the whole run, waiting up to seconds for writability before every send.
  int WriteAll(const char* data, int length, int seconds);
  int Write(const char* data, int length, int seconds);
  // One wait and one send: possibly fewer bytes than asked.
  int Send(const char* data, int length, int seconds);
  // Bytes received, or -1 on time-out, receive error, closed connection or no socket.
  int Receive(char* buffer, int size, int seconds);
  // Blocks until a datagram comes; seconds is not used.
  int ReceiveDatagram(char* buffer, int size, LPSOCKADDR from, int seconds);
  int SendDatagram(const char* data, int length, const sockaddr* to, int seconds);
  // Sends to m_saTarget without a wait; seconds is not used.
  int SendTo(const char* data, int length, int seconds);
  // Turns SO_BROADCAST on; 0.
  int SetSockOpt();
  void GetPeerName(LPSOCKADDR address);
  void GetSockName(LPSOCKADDR address);
  // A host name or dotted text; throws when it does not resolve.
  static CSockAddr GetHostByName(const char* name, uint16_t port = 0);
  static const char* GetHostByAddr(const sockaddr* address);

  operator SOCKET() const { return m_hSocket; }

  // The stop request the waits of Connect, Receive and the sends observe (null: none). Without
  // one each wait is a single select of the whole time-out; with one it waits in slices of
  // RequestCancel::kCancelSliceMs and ends early, as a time-out, when the request is set. Once
  // it is set, those operations fail at once as on a time-out.
  void SetCancel(const RequestCancel* cancel) { m_pCancel = cancel; }

  SOCKET m_hSocket = 0;  // 0: no socket
  CSockAddr m_saTarget;
  int32_t m_bConnected = 0;

 private:
  enum class Readiness { kRead, kWrite, kConnect };
  // Select result of a wait for `kind` up to `timeoutMs`: >0 ready, 0 time-out or stopped,
  // SOCKET_ERROR when the wait itself failed. For kConnect, *writable tells success from failure.
  int Wait(Readiness kind, uint64_t timeoutMs, bool* writable = nullptr) const;
  // 1 ready, 0 time-out, SOCKET_ERROR when the wait itself failed.
  int WaitWritable(int seconds) const;
  int WaitReadable(int seconds) const;

  const RequestCancel* m_pCancel = nullptr;
};
