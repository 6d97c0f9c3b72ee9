// Sends one CGI command to the device on a new TCP connection and reads its reply.
#pragma once

#include <cstdint>

class CGIParamList;
class DeviceSession;

// The status of a reply other than 200 arrives in dwStatus; dwReserved is not written.
struct CgiReplyStatus {
  uint32_t dwReserved;
  uint32_t dwStatus;
};
static_assert(sizeof(CgiReplyStatus) == 8);

struct CgiRequestOptions {
  uint16_t sendTimeoutSeconds = 15;     // each wait while sending
  uint16_t receiveTimeoutSeconds = 15;  // each receive
  // A login that cannot connect reports "Create connection is time out" through the
  // connect-error reporter.
  bool showConnectError = false;
};

// One command: what is sent, where the reply goes. Every output may be null.
struct CgiRequest {
  uint8_t command = 0;          // row of the command table; login (0) and reboot (13) differ
  const char* query = nullptr;  // path and query, up to its zero byte
  const void* body = nullptr;   // null: a request without body
  uint32_t bodyLength = 0;
  // At most replyCapacity body bytes arrive in reply; without reply no body is read. The body
  // is not zero-terminated.
  void* reply = nullptr;
  uint32_t replyCapacity = 0;
  CgiRequestOptions options;
  CgiReplyStatus* status = nullptr;  // the status of a reply other than 200
  uint32_t* replyLength = nullptr;   // the body bytes delivered
  // 1 when every announced body byte arrived, 0 when a receive failed part way (the result is
  // still 1 with the shorter count).
  uint32_t* bodyComplete = nullptr;

  // The command and query of a built request.
  static CgiRequest Of(const CGIParamList& list);
};

// Sends the request to the session's server and port and reads the reply. Returns 1 when the
// device answered with status 200 (or, for the reboot command, as soon as the request was sent),
// else 0.
//  - A body announced longer than the capacity or the 4096-byte reply buffer fails with 0.
//    The reply, its length and completeness are untouched on failure.
//  - The login command to a host name keeps the name in the session and connects it by the
//    resolved dotted address from then on, whether or not the login succeeds.
//  - After a status 200 the pending web port and server text become the session's.
// A request that would exceed 4096 bytes is not sent (0).
// On a thread with a RequestCancelScope: nothing is sent once its request is set, and a request
// in flight when it is set ends within a fraction of a second with 0, delivering nothing (no
// status, body, length or completeness).
int VorozSendCommand(const CgiRequest& request, DeviceSession& session);

// Where a connect failure of a request with showConnectError goes (the main window's status
// line); null: nowhere.
using ConnectErrorReporter = void (*)(const char* text);
void SetConnectErrorReporter(ConnectErrorReporter reporter);
