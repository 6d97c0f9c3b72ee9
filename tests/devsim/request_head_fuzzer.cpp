// Fuzzes the request head parser: any bytes, no crash, and a complete head is self-consistent.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "devsim/http_request.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  devsim::HeadParse r = devsim::ParseRequestHead(text);
  if (r.status == devsim::HeadStatus::kComplete) {
    const auto& h = r.head;
    if (h.head_size > size || h.head_size > devsim::kMaxHeadBytes) std::abort();
    if (text.substr(h.head_size - 4, 4) != "\r\n\r\n") std::abort();
    if (h.target.empty() || h.target.front() != '/') std::abort();
    if (h.path.find('?') != std::string::npos) std::abort();
    if (h.content_length && *h.content_length > devsim::kMaxBodyBytes) std::abort();
    for (const auto& p : h.params) {
      if (p.name.find('&') != std::string::npos) std::abort();
    }
  }
  return 0;
}
