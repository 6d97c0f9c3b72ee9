#include "app/win32_settings_environment.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/setting_ini.h"
#include "tests/app/temp_folder.h"

namespace {

std::string ReadBack(const std::string& file, const char* key) {
  char value[512] = {};
  GetPrivateProfileStringA("Ostrova", key, "<missing>", value, sizeof value, file.c_str());
  return value;
}

TEST(Win32SettingsEnvironment, PrivateProfileRoundTrip) {
  TempFolder folder;
  const std::string file = folder.File("Setting.ini");
  Win32SettingsEnvironment env;
  EXPECT_EQ(env.ReadProfileValue(file, "Ostrova", "ServerPort"), std::nullopt);
  ASSERT_TRUE(env.WriteProfileValue(file, "Ostrova", "ServerPort", "8080"));
  ASSERT_TRUE(env.WriteProfileValue(file, "Ostrova", "Record Path", ""));
  const std::string longText(3000, 'p');
  ASSERT_TRUE(env.WriteProfileValue(file, "Ostrova", "Long", longText));
  EXPECT_EQ(ReadBack(file, "ServerPort"), "8080");
  EXPECT_EQ(env.ReadProfileValue(file, "Ostrova", "serverport"), "8080");
  EXPECT_EQ(env.ReadProfileValue(file, "Ostrova", "Record Path"), "");
  EXPECT_EQ(env.ReadProfileValue(file, "Ostrova", "Long"), longText);
  EXPECT_EQ(env.ReadProfileValue(file, "Other", "ServerPort"), std::nullopt);
}

TEST(Win32SettingsEnvironment, DesktopFolderExecutableAndFolders) {
  Win32SettingsEnvironment env;
  const auto desktop = env.DesktopFolder();
  ASSERT_TRUE(desktop.has_value());
  EXPECT_FALSE(desktop->empty());
  const auto exe = env.ExecutablePath();
  ASSERT_TRUE(exe.has_value());
  EXPECT_TRUE(exe->ends_with("app_win32_test.exe")) << *exe;
  TempFolder folder;
  const std::string sub = folder.File("records");
  EXPECT_TRUE(env.CreateFolder(sub));
  EXPECT_FALSE(env.CreateFolder(sub));  // exists already
  EXPECT_EQ(GetFileAttributesA(sub.c_str()) & FILE_ATTRIBUTE_DIRECTORY, FILE_ATTRIBUTE_DIRECTORY);
}

TEST(Win32SettingsEnvironment, MessageByStringId) {
  TempFolder folder;
  const std::string log = folder.File("messages.log");
  ASSERT_TRUE(SetEnvironmentVariableA("OST_MSGBOX_LOG", log.c_str()));
  Win32SettingsEnvironment env;
  env.ShowMessage(4056);
  SetEnvironmentVariableA("OST_MSGBOX_LOG", nullptr);
  EXPECT_EQ(TempFolder::Read(log), "Read DeskTop Path Error!!\n");
}

// The real environment with the executable placed in a temporary folder and message boxes
// recorded instead of shown.
class PlacedEnvironment : public Win32SettingsEnvironment {
 public:
  explicit PlacedEnvironment(std::string exePath) : exePath_(std::move(exePath)) {}
  std::optional<std::string> ExecutablePath() override { return exePath_; }
  void ShowMessage(uint32_t stringId) override { messages.push_back(stringId); }
  std::vector<uint32_t> messages;

 private:
  std::string exePath_;
};

TEST(Win32SettingsEnvironment, SettingsWrittenAndReadThroughTheProfileFunctions) {
  TempFolder folder;
  PlacedEnvironment env(folder.File("Ostrova.exe"));
  uint8_t turbo = 0;
  CSettingINI settings;
  settings.AttachEnvironment(&env, &turbo);
  ASSERT_EQ(settings.ReadSettingFile(), 1);
  EXPECT_TRUE(env.messages.empty());
  EXPECT_EQ(settings.m_strExeDir, folder.Dir());
  EXPECT_FALSE(settings.m_strDesktopPath.empty());
  EXPECT_EQ(settings.m_strRecordPath, settings.m_strDesktopPath);
  settings.m_wWebPort = 8080;
  settings.m_strPassword = "typed-secret";
  settings.KeepServerHostName("dvr.local");
  ASSERT_EQ(settings.WriteSettingFile(), 1);

  const std::string file = folder.File("Setting.ini");
  EXPECT_EQ(ReadBack(file, "ServerPort"), "8080");
  EXPECT_EQ(ReadBack(file, "Server Name"), "dvr.local");
  EXPECT_EQ(ReadBack(file, "RETR Alarm Record"), "1");
  EXPECT_EQ(ReadBack(file, "Image Quility"), "0");
  EXPECT_EQ(TempFolder::Read(file).find("typed-secret"), std::string::npos);

  CSettingINI again;
  again.AttachEnvironment(&env, &turbo);
  ASSERT_EQ(again.ReadSettingFile(), 1);
  EXPECT_EQ(again.m_wWebPort, 8080);
  EXPECT_EQ(again.m_strServerName, "dvr.local");
  EXPECT_EQ(again.m_strUpgradeFWPath, settings.m_strUpgradeFWPath);
}

}  // namespace
