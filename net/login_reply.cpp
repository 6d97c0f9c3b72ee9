#include "net/login_reply.h"

#include <cstring>
#include <string>

#include "net/device_family.h"
#include "text/text_bytes.h"

bool IsAcceptedProductId(std::string_view productId) {
  for (std::string_view id : ProductIdTable)
    if (productId == id) return true;
  return false;
}

void BuildLoginRequest(CGIParamList& request, std::string_view user, std::string_view password) {
  request.AddParam("Username", user);
  request.AddParam("Password", password);
}

LoginReplyResult ApplyLoginReply(const KeyValueReply& reply, const LoginReplyOptions& options,
                                 LoginReplyRecord& record) {
  const auto session = reply.Find("Session-ID=", 0);
  if (!session || session->value.size() >= kSessionCookieSize) return LoginReplyResult::kNoSession;
  std::memset(record.szCookie, 0, sizeof record.szCookie);
  std::memcpy(record.szCookie, session->value.data(), session->value.size());

  if (auto fw = reply.Text("Firmware-Version=", 0)) record.str_FWVersion = std::move(*fw);
  if (auto pid = reply.Text("Product-ID=", 0)) {
    record.str_ProductID = std::move(*pid);
    if (options.checkProductId && !IsAcceptedProductId(record.str_ProductID))
      return LoginReplyResult::kUnsupportedDevice;
  }

  if (const auto mac = reply.Find("MAC-Address=", 0)) {
    const std::string_view value = mac->value.substr(0, KeyValueReply::kMaxValueLength);
    std::memset(record.str_MACAddress, 0, sizeof record.str_MACAddress);
    std::memcpy(
        record.str_MACAddress, value.data(),
        value.size() < sizeof record.str_MACAddress ? value.size() : sizeof record.str_MACAddress);
    uint8_t bytes[6] = {};
    if (options.takeMacBytes && CheckMacString(std::string(value), bytes)) {
      record.m_wLastMac1 = bytes[4];
      record.m_wLastMac2 = bytes[5];
    }
  }
  if (auto host = reply.Text("Host-Name=", 0)) record.str_HostName = std::move(*host);
  return LoginReplyResult::kAccepted;
}
