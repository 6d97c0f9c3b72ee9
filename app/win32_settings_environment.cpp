#include "app/win32_settings_environment.h"

#include <windows.h>

#include <vector>

#include "platform/message_box.h"

namespace {
// Returned for a missing key; no stored value looks like it.
constexpr char kMissingKeyMark[] = "\x01\x02<missing>\x02\x01";
constexpr DWORD kProfileValueMax = 1u << 20;
constexpr DWORD kModulePathMax = 1u << 16;
constexpr DWORD kDesktopValueBytes = 260;
constexpr char kShellFoldersKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
}  // namespace

std::optional<std::string> Win32SettingsEnvironment::ReadProfileValue(const std::string& file,
                                                                      const std::string& section,
                                                                      const std::string& key) {
  std::vector<char> buffer(1024);
  for (;;) {
    const DWORD size = static_cast<DWORD>(buffer.size());
    const DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), kMissingKeyMark,
                                             buffer.data(), size, file.c_str());
    if (n + 1 < size || size >= kProfileValueMax) {
      std::string value(buffer.data(), n);
      if (value == kMissingKeyMark) return std::nullopt;
      return value;
    }
    buffer.resize(buffer.size() * 2);
  }
}

bool Win32SettingsEnvironment::WriteProfileValue(const std::string& file,
                                                 const std::string& section, const std::string& key,
                                                 const std::string& value) {
  return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str()) != 0;
}

std::optional<std::string> Win32SettingsEnvironment::DesktopFolder() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kShellFoldersKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
    return std::nullopt;
  char value[kDesktopValueBytes + 1] = {};
  DWORD size = kDesktopValueBytes;
  DWORD type = 0;
  const LONG rc =
      RegQueryValueExA(key, "Desktop", nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
  RegCloseKey(key);
  if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return std::string();
  return std::string(value);  // stops at the value's terminating zero
}

bool Win32SettingsEnvironment::CreateFolder(const std::string& path) {
  return CreateDirectoryA(path.c_str(), nullptr) != 0;
}

std::optional<std::string> Win32SettingsEnvironment::ExecutablePath() {
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    const DWORD size = static_cast<DWORD>(buffer.size());
    const DWORD n = GetModuleFileNameA(nullptr, buffer.data(), size);
    if (n == 0) return std::nullopt;
    if (n < size) return std::string(buffer.data(), n);
    if (size >= kModulePathMax) return std::nullopt;  // still cut: no usable folder
    buffer.resize(buffer.size() * 2);
  }
}

void Win32SettingsEnvironment::ShowMessage(uint32_t stringId) {
  OstMessageBoxId(stringId, MB_OK);
}
