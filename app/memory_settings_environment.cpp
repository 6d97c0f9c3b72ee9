#include "app/memory_settings_environment.h"

#include "text/ini_text.h"

std::optional<std::string> MemorySettingsEnvironment::ReadProfileValue(const std::string& file,
                                                                       const std::string& section,
                                                                       const std::string& key) {
  const auto it = files.find(file);
  if (it == files.end()) return std::nullopt;
  return IniText(it->second).Get(section, key);
}

bool MemorySettingsEnvironment::WriteProfileValue(const std::string& file,
                                                  const std::string& section,
                                                  const std::string& key,
                                                  const std::string& value) {
  writes.push_back({file, section, key, value});
  IniText ini(files[file]);
  ini.Set(section, key, value);
  files[file] = ini.ToString();
  return true;
}

bool MemorySettingsEnvironment::CreateFolder(const std::string& path) {
  folderRequests.push_back(path);
  return !path.empty() && folders.insert(path).second;
}
