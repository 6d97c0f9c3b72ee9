#include "platform/strings.h"

#include <atomic>
#include <cstdio>
#include <vector>

namespace ost {
namespace {

std::atomic<HINSTANCE> g_resourceModule{nullptr};

}  // namespace

HINSTANCE ResourceModule() {
  HINSTANCE module = g_resourceModule.load();
  return module != nullptr ? module : ::GetModuleHandleA(nullptr);
}

void SetResourceModule(HINSTANCE module) {
  g_resourceModule.store(module);
}

bool TryLoadResString(UINT id, std::string& text) {
  // A string-table text holds at most 4097 characters; grow until it fits.
  for (int size = 256; size <= 8192; size *= 2) {
    std::vector<char> buffer(static_cast<size_t>(size), '\0');
    int length = ::LoadStringA(ResourceModule(), id, buffer.data(), size);
    if (length <= 0) {
      text.clear();
      return false;
    }
    if (length < size - 1) {
      text.assign(buffer.data(), static_cast<size_t>(length));
      return true;
    }
  }
  text.clear();
  return false;
}

std::string LoadResString(UINT id) {
  std::string text;
  TryLoadResString(id, text);
  return text;
}

std::string FormatV(const char* format, va_list args) {
  va_list probe;
  va_copy(probe, args);
  char small[256];
  int length = std::vsnprintf(small, sizeof small, format, probe);
  va_end(probe);
  if (length < 0) return {};
  if (static_cast<size_t>(length) < sizeof small)
    return std::string(small, static_cast<size_t>(length));
  std::string text(static_cast<size_t>(length) + 1, '\0');
  std::vsnprintf(text.data(), text.size(), format, args);
  text.resize(static_cast<size_t>(length));
  return text;
}

std::string Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = FormatV(format, args);
  va_end(args);
  return text;
}

}  // namespace ost
