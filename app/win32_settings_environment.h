// The settings environment of the Windows program: private-profile functions, the registry's
// shell folders, CreateDirectoryA, the module file name and the framework's message box.
#pragma once

#include "app/settings_environment.h"

class Win32SettingsEnvironment : public SettingsEnvironment {
 public:
  std::optional<std::string> ReadProfileValue(const std::string& file, const std::string& section,
                                              const std::string& key) override;
  bool WriteProfileValue(const std::string& file, const std::string& section,
                         const std::string& key, const std::string& value) override;
  std::optional<std::string> DesktopFolder() override;
  bool CreateFolder(const std::string& path) override;
  std::optional<std::string> ExecutablePath() override;
  void ShowMessage(uint32_t stringId) override;
};
