// The upload walk's transport over Windows sockets: the hold connection, one connection per
// chunked piece and per streamed part, all ended early by a stop event.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <string>

#include "net/blocking_socket.h"
#include "net/request_cancel.h"
#include "tools/firmware_upload.h"

class SocketUploadTransport : public UploadTransport {
 public:
  // stopEvent: manual-reset, kept open by the caller while this lives.
  SocketUploadTransport(UpgradeMethod method, std::string server, uint16_t port, std::string host,
                        HANDLE stopEvent);
  ~SocketUploadTransport() override;

  bool OpenHold(const std::string& request) override;
  void CloseHold() override;
  PieceResult SendChunk(const std::string& query, const uint8_t* body, uint32_t size) override;
  bool OpenStream(const std::string& request) override;
  bool SendStreamPiece(const uint8_t* data, uint32_t size) override;
  int32_t FinishStream() override;
  void Pause(uint32_t ms) override;

 private:
  // Creates and connects a stream socket; false (socket closed) on any failure.
  bool Connect(CBlockingSocket& socket);

  UpgradeMethod m_method;
  std::string m_strServer;
  uint16_t m_wPort;
  std::string m_strHost;
  HANDLE m_hStop;
  RequestCancel m_cancel;
  CBlockingSocket m_hold;
  CBlockingSocket m_stream;
  int m_nStreamSendSeconds;
};
