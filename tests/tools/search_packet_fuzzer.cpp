// Fuzzes the search datagram decoder, the reply texts and the address checks.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "tools/search_packet.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (const auto p = DecodeSearchPacket(data, size)) {
    const SearchReplyTexts t = SearchReplyToTexts(*p);
    if (!ParseStrictAddress(t.ip) || !ParseMacText(t.mac)) __builtin_trap();
    DeviceTypeText(p->byTypeOrResult);
    SetupResultMessageId(SetupCommand::kSetIp, p->byTypeOrResult);
  }
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (const auto a = ParseStrictAddress(text)) {
    if (ParseStrictAddress(DottedText(a->data())) != a) __builtin_trap();
  }
  ParseMacText(text);
  return 0;
}
