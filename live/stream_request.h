// The request that opens the live stream: "/Getvideo.cgi" with the session cookie, in the same
// framing as every other device request, sent as one block.
#pragma once

#include <cstddef>
#include <string>

inline constexpr size_t kStreamRequestMaxBytes = 512;

// The request text (eight CR LF lines, the last one empty); empty when it would be longer than
// kStreamRequestMaxBytes.
std::string BuildStreamRequest(const std::string& cookie, const std::string& localIpAddress);
