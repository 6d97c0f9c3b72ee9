// The login exchange: the "/Login.cgi" request and the reply that opens a session.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "net/cgi_param_list.h"
#include "net/key_value_reply.h"

// Longest session identifier the cookie holds (the buffer keeps a terminating zero).
inline constexpr size_t kSessionCookieSize = 64;

// What a login reply writes. Fields keep their value when the reply lacks their key.
struct LoginReplyRecord {
  char szCookie[kSessionCookieSize] = {};
  std::string str_FWVersion;
  std::string str_ProductID;
  char str_MACAddress[12] = {};  // exactly 12 characters, no terminator
  std::string str_HostName;
  uint16_t m_wLastMac1 = 0;
  uint16_t m_wLastMac2 = 0;
};

struct LoginReplyOptions {
  bool checkProductId = false;  // refuse a Product-ID outside the accepted eight
  bool takeMacBytes = false;    // store MAC bytes 5 and 6 in m_wLastMac1 and m_wLastMac2
};

enum class LoginReplyResult { kAccepted, kNoSession, kUnsupportedDevice };

// "/Login.cgi?Username=<user>&Password=<password>", both as typed.
void BuildLoginRequest(CGIParamList& request, std::string_view user, std::string_view password);

// Applies a login reply. Without a usable "Session-ID=" (missing, or longer than 63 characters)
// nothing is stored. A refused Product-ID leaves the cookie, firmware version and Product-ID
// stored and skips the MAC address and host name.
LoginReplyResult ApplyLoginReply(const KeyValueReply& reply, const LoginReplyOptions& options,
                                 LoginReplyRecord& record);

// True for the eight Product-IDs the client serves, compared whole and with case.
bool IsAcceptedProductId(std::string_view productId);
