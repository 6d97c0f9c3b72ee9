// The request text of one device command: a GET line, fixed header lines, an optional body.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The whole request, header and body, must fit this many bytes.
inline constexpr size_t kDeviceRequestBufferSize = 4096;

// Builds the request for requestText (path and query). With a body (body not null) the header
// carries "Content-Length" and the body bytes follow the blank line. host is the client's own
// address text. False, with out left empty, when the request would exceed
// kDeviceRequestBufferSize.
bool BuildDeviceHttpRequest(std::string_view requestText, const uint8_t* body, uint32_t bodyLen,
                            std::string_view host, std::string& out);
