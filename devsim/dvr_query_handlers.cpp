// The recorder's clock and record settings as query keys: "/GetDvrDate.cgi", "/SetDvrDate.cgi",
// "/GetRecordSetting.cgi", "/SetRecordSetting.cgi". Recorders with older firmware, and other
// devices, do not know them (404).
#include "devsim/dvr_query_state.h"
#include "devsim/handlers.h"

namespace devsim {
namespace {

bool Knows(const Device& device) {
  return KnowsDvrQueries(device.profile.product_id, device.profile.firmware);
}

Reply NotKnown() {
  return {404, ""};
}

}  // namespace

Reply HandleGetDvrDate(Device& device, const Request&) {
  if (!Knows(device)) return NotKnown();
  return {200, DvrDateReplyText(device.profile.dvr_query.date)};
}

Reply HandleSetDvrDate(Device& device, const Request& request) {
  if (!Knows(device)) return NotKnown();
  std::string error, decoded;
  if (!ApplySetDvrDate(request.head.params, device.profile.dvr_query.date, &error, &decoded))
    return BadRequest(error);
  return {200, "", decoded};
}

Reply HandleGetRecordSetting(Device& device, const Request&) {
  if (!Knows(device)) return NotKnown();
  return {200, DvrRecordReplyText(device.profile.dvr_query.record, device.profile.videomode)};
}

Reply HandleSetRecordSetting(Device& device, const Request& request) {
  if (!Knows(device)) return NotKnown();
  std::string error, decoded;
  if (!ApplySetRecordSetting(request.head.params, device.profile.dvr_query.record, &error,
                             &decoded))
    return BadRequest(error);
  return {200, "", decoded};
}

}  // namespace devsim
