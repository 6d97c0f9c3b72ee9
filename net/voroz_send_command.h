// Sends one CGI command to the device on a new TCP connection and reads its reply.
#pragma once

#include <cstdint>

// The status of a reply other than 200 arrives in dwStatus; dwReserved is not written.
struct CgiReplyStatus {
  uint32_t dwReserved;
  uint32_t dwStatus;
};
static_assert(sizeof(CgiReplyStatus) == 8);

// Sends pszRequest (path and query, up to its zero byte) with an optional body to the device
// named by the settings' server name and web port, and reads the reply. Returns 1 when the device
// answered with status 200 (or, for the reboot command 13, as soon as the request was sent), else
// 0.
//  - pStatus (may be null) receives the status of a reply other than 200.
//  - pReply receives at most dwReplyCapacity body bytes and pdwReplyLen their count; a body
//    announced longer than the capacity or the 4096-byte reply buffer fails with 0. Without
//    pReply no body is read. Both are untouched on failure; the body is not zero-terminated.
//  - pfBodyComplete (may be null) is set to 1 when every announced body byte arrived, 0 when a
//    receive failed part way (the result is still 1 with the shorter count).
//  - The login command 0 to a host name keeps the name in m_szServerHostName and replaces
//    m_strServerName by the resolved dotted address.
//  - After a status 200 the pending web port and server text are taken over.
//  - wShowConnectError 1: a login that cannot connect reports "Create connection is time out"
//    through the connect-error reporter.
// A request that would exceed 4096 bytes is not sent (0).
// On a thread with a RequestCancelScope: nothing is sent once its request is set, and a request
// in flight when it is set ends within a fraction of a second with 0, delivering nothing (no
// status, body, length or completeness).
int VorozSendCommand(uint8_t nCommand, const char* pszRequest, int32_t nRequestLen,
                     const void* pBody, uint32_t dwBodyLen, CgiReplyStatus* pStatus,
                     int32_t nStatusSize, void* pReply, uint32_t dwReplyCapacity,
                     uint32_t* pdwReplyLen, uint16_t wSendTimeout, uint16_t wRecvTimeout,
                     uint16_t wShowConnectError, uint32_t* pfBodyComplete = nullptr);

// Where a connect failure of argument wShowConnectError goes (the main window's status line);
// null: nowhere.
using ConnectErrorReporter = void (*)(const char* text);
void SetConnectErrorReporter(ConnectErrorReporter reporter);
