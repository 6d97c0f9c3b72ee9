#include "net/sys_cfg_transfer.h"

#include <cstring>
#include <mutex>

#include "net/blocking_socket.h"  // winsock2.h ahead of windows.h
#include "net/cgi_command_table.h"
#include "net/cgi_param_list.h"
#include "net/device_reply.h"
#include "net/device_session.h"
#include "net/sys_cfg_blocks.h"
#include "net/voroz_send_command.h"

namespace {
constexpr uint16_t kGetTimeoutSeconds = 45;
constexpr uint16_t kSetTimeoutSeconds = 15;
}  // namespace

int FetchSysCfg(DeviceSession& session, std::string_view cookie, uint8_t option, uint32_t size,
                std::vector<uint8_t>& reply, uint32_t& length) {
  CGIParamList list(kCgiGetSysCfg);
  BuildGetSysCfgRequest(list, option, size, cookie);
  reply.assign(kDeviceReplyBufferSize, 0);
  uint32_t complete = 0;
  CgiRequest request = CgiRequest::Of(list);
  request.reply = reply.data();
  request.replyCapacity = static_cast<uint32_t>(reply.size());
  request.options = {.sendTimeoutSeconds = kGetTimeoutSeconds,
                     .receiveTimeoutSeconds = kGetTimeoutSeconds};
  request.replyLength = &length;
  request.bodyComplete = &complete;
  return VorozSendCommand(request, session) && complete ? 1 : 0;
}

int GetSysCfgBlock(DeviceSession& session, std::string_view cookie, uint8_t option,
                   void* destination, uint32_t size) {
  if (option >= kSysCfgAll || !destination) return 0;
  std::vector<uint8_t> reply;
  uint32_t length = 0;
  if (!FetchSysCfg(session, cookie, option, size, reply, length)) return 0;
  std::lock_guard<std::mutex> lock(SysCfgBlockMutex());
  if (option == kSysCfgOnline) {
    std::memcpy(destination, reply.data(), length < size ? length : size);
    return 1;
  }
  if (length > size) return 0;
  std::memcpy(destination, reply.data(), length);
  std::memset(static_cast<uint8_t*>(destination) + length, 0, size - length);
  return 1;
}

int SetSysCfgBlock(DeviceSession& session, std::string_view cookie, uint8_t option,
                   const void* block, uint32_t size, uint32_t refresh) {
  if (option >= kSysCfgAll || (!block && size)) return 0;
  CGIParamList request(kCgiSetSysCfg);
  BuildSetSysCfgRequest(request, option, refresh != 0, cookie);
  std::vector<uint8_t> body(size);
  {
    std::lock_guard<std::mutex> lock(SysCfgBlockMutex());
    if (size) std::memcpy(body.data(), block, size);
  }
  CgiRequest send = CgiRequest::Of(request);
  send.body = body.data();
  send.bodyLength = size;
  send.options = {.sendTimeoutSeconds = kSetTimeoutSeconds,
                  .receiveTimeoutSeconds = kSetTimeoutSeconds};
  return VorozSendCommand(send, session);
}
