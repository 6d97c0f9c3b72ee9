#include "record/dvr_hdd_request.h"

#include "net/cgi_command_table.h"
#include "net/cgi_param_list.h"
#include "net/voroz_send_command.h"

bool RequestDvrHdd(DeviceSession* session, const std::string& cookie, DvrHddReply& out) {
  if (!session) return false;
  uint8_t reply[1024] = {};
  uint32_t length = 0;
  CGIParamList list(kCgiGetDvrHDD);
  if (!cookie.empty()) list.AddParam("Cookie", cookie);
  CgiRequest request = CgiRequest::Of(list);
  request.reply = reply;
  request.replyCapacity = sizeof reply;
  request.replyLength = &length;
  return VorozSendCommand(request, *session) && DecodeDvrHddReply(reply, length, out);
}
