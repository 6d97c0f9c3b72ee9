#include "text/string_pair.h"

#include <algorithm>
#include <cstring>

namespace {
void CopyCut(std::string_view part, char* out) {
  const size_t n = std::min(part.size(), kStringPairBufferBytes - 1);
  std::memcpy(out, part.data(), n);
}
}  // namespace

int SplitStringPair(std::string_view text, char* first, char* second) {
  std::memset(first, 0, kStringPairBufferBytes);
  std::memset(second, 0, kStringPairBufferBytes);
  const size_t p = text.find('$');
  if (p == std::string_view::npos) {
    CopyCut(text, first);
    return 1;
  }
  CopyCut(text.substr(0, p), first);
  CopyCut(text.substr(p + 1), second);
  return 1;
}
