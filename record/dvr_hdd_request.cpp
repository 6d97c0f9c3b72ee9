#include "record/dvr_hdd_request.h"

#include "app/app_data.h"
#include "net/cgi_command_table.h"
#include "net/cgi_param_list.h"
#include "net/voroz_send_command.h"

bool RequestDvrHdd(DeviceSession* session, DvrHddReply& out) {
  if (!session) return false;
  uint8_t reply[1024] = {};
  uint32_t length = 0;
  CGIParamList list(kCgiGetDvrHDD);
  if (g_szCookie[0]) list.AddParam("Cookie", g_szCookie);
  CgiRequest request = CgiRequest::Of(list);
  request.reply = reply;
  request.replyCapacity = sizeof reply;
  request.replyLength = &length;
  return VorozSendCommand(request, *session) && DecodeDvrHddReply(reply, length, out);
}
