#include "platform/load_string_pair.h"

#include <windows.h>

#include "text/string_pair.h"

int LoadStringPair(uint32_t stringId, char* first, char* second) {
  char text[1024] = {};
  const int n = LoadStringA(GetModuleHandleA(nullptr), stringId, text, sizeof text);
  return SplitStringPair(std::string_view(text, n > 0 ? static_cast<size_t>(n) : 0), first, second);
}
