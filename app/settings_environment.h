// What the client settings need from the platform: private-profile files, the Desktop shell
// folder, folder creation, the executable's path and message boxes by string id.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

class SettingsEnvironment {
 public:
  virtual ~SettingsEnvironment() = default;

  // The value of key in section of the private-profile file; nullopt when the key is missing.
  virtual std::optional<std::string> ReadProfileValue(const std::string& file,
                                                      const std::string& section,
                                                      const std::string& key) = 0;
  // Writes key=value into section, creating the file and the section when missing.
  virtual bool WriteProfileValue(const std::string& file, const std::string& section,
                                 const std::string& key, const std::string& value) = 0;
  // The user's Desktop folder as the shell folders record it: nullopt when their registry key
  // cannot be opened, an empty text when it opens but holds no readable "Desktop" value.
  virtual std::optional<std::string> DesktopFolder() = 0;
  // Creates one folder level; false when it cannot (also when it exists already).
  virtual bool CreateFolder(const std::string& path) = 0;
  // The executable's full path; nullopt when it cannot be had completely.
  virtual std::optional<std::string> ExecutablePath() = 0;
  // A message box with the string-table text stringId and an OK button.
  virtual void ShowMessage(uint32_t stringId) = 0;
};
