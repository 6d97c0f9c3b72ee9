// A settings environment held in memory: private-profile files as texts, a Desktop folder,
// a folder set and a record of message boxes. For tests and tools without the platform.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/settings_environment.h"

class MemorySettingsEnvironment : public SettingsEnvironment {
 public:
  struct ProfileWrite {
    std::string file, section, key, value;
  };

  std::optional<std::string> ReadProfileValue(const std::string& file, const std::string& section,
                                              const std::string& key) override;
  bool WriteProfileValue(const std::string& file, const std::string& section,
                         const std::string& key, const std::string& value) override;
  std::optional<std::string> DesktopFolder() override { return desktopFolder; }
  bool CreateFolder(const std::string& path) override;
  std::optional<std::string> ExecutablePath() override { return executablePath; }
  void ShowMessage(uint32_t stringId) override { shownMessages.push_back(stringId); }

  std::map<std::string, std::string> files;  // path -> INI text
  std::optional<std::string> desktopFolder = "C:\\Users\\user\\Desktop";
  std::optional<std::string> executablePath = "C:\\Ostrova\\Ostrova.exe";
  std::set<std::string> folders;            // folders that exist
  std::vector<std::string> folderRequests;  // every CreateFolder call, in order
  std::vector<ProfileWrite> writes;         // every WriteProfileValue call, in order
  std::vector<uint32_t> shownMessages;
};
