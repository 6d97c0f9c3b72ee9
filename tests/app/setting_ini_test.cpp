#include "app/setting_ini.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/ini_text.h"
#include "app/memory_settings_environment.h"

namespace {

constexpr const char* kExePath = "C:\\Ostrova\\Ostrova.exe";
constexpr const char* kIniPath = "C:\\Ostrova\\Setting.ini";
constexpr const char* kDesktop = "C:\\Users\\user\\Desktop";

const std::vector<std::string> kWriteOrder = {"brightness",
                                              "contrast",
                                              "saturation",
                                              "Image Resolution",
                                              "Username",
                                              "Server Name",
                                              "ServerPort",
                                              "Sub Port Number",
                                              "Zoom Ratio",
                                              "Frame Rate",
                                              "Target Bit Rate",
                                              "Peak Bit Rate",
                                              "Control Bit Rate Type",
                                              "Resolution Type",
                                              "Image Quility",
                                              "Selected Channel",
                                              "Dynamic Download Option",
                                              "Write CD Option",
                                              "Write CD Close Option",
                                              "Last Connection MAC1",
                                              "Last Connection MAC2",
                                              "Alarm Trigger Record",
                                              "RETR Alarm Record",
                                              "Alarm Enable Button",
                                              "Turbo repeat step",
                                              "Alarm Trigger Quality",
                                              "Alarm Trigger Resolution",
                                              "Trigger Wav Path LOWORD",
                                              "Trigger Close Time Hour",
                                              "Trigger Close Time Min",
                                              "Trigger Close Time date",
                                              "Alarm auto switch video",
                                              "Search List HDD",
                                              "Search List Type",
                                              "Search List Max Number",
                                              "Record Path",
                                              "Snapshot Path",
                                              "Upgrade FW Path",
                                              "Upgrade DVR FW Path",
                                              "Trigger Wav Path",
                                              "Network File Directory"};

class SettingIniTest : public ::testing::Test {
 protected:
  SettingIniTest() {
    env.executablePath = kExePath;
    env.desktopFolder = kDesktop;
    settings.AttachEnvironment(&env, &turbo);
  }

  void GivenFile(const std::string& body) { env.files[kIniPath] = "[Ostrova]\r\n" + body; }
  std::string Written(const std::string& key) const {
    const auto value = IniText(env.files.at(kIniPath)).Get("Ostrova", key);
    return value ? *value : "<missing>";
  }

  MemorySettingsEnvironment env;
  uint8_t turbo = 0;
  CSettingINI settings;
};

TEST(SettingIniKeys, SectionAndKeyNamesAreExact) {
  const CSettingINI s;
  const char* expected[] = {"Ostrova",
                            "LANGUAGE",
                            "Image Quility",
                            "ServerPort",
                            "Image Resolution",
                            "Turbo repeat step",
                            "Username",
                            "brightness",
                            "contrast",
                            "saturation",
                            "AvSwitch Option",
                            "RETR Alarm Record",
                            "Enable_ALARM",
                            "ALARM_DURATION",
                            "Server Name",
                            "Sub Port Number",
                            "Network File Directory",
                            "",
                            "Zoom Ratio",
                            "Frame Rate",
                            "Target Bit Rate",
                            "Peak Bit Rate",
                            "Control Bit Rate Type",
                            "Resolution Type",
                            "Selected Channel",
                            "Dynamic Download Option",
                            "Write CD Option",
                            "Record Path",
                            "Snapshot Path",
                            "Upgrade FW Path",
                            "Last Connection MAC1",
                            "Last Connection MAC2",
                            "Alarm Trigger Record",
                            "Alarm Trigger Audio",
                            "Alarm Audio New Path III",
                            "Alarm Enable Button",
                            "Alarm Trigger Quality",
                            "Alarm Trigger Resolution",
                            "Trigger Wav Path",
                            "Trigger Wav Path LOWORD",
                            "Trigger Close Time Hour",
                            "Trigger Close Time Min",
                            "Trigger Close Time date",
                            "Search List HDD",
                            "Search List Type",
                            "Search List Max Number",
                            "Upgrade DVR FW Path",
                            "Alarm auto switch video",
                            "Write CD Close Option"};
  ASSERT_EQ(std::size(expected), s.m_strKeyName.size());
  for (size_t i = 0; i < std::size(expected); ++i) EXPECT_EQ(s.m_strKeyName[i], expected[i]) << i;
}

TEST(SettingIniConstruction, ConstructorValues) {
  const CSettingINI s;
  EXPECT_EQ(s.m_strUsername, "revuv");
  EXPECT_EQ(s.m_strPassword, "revuv");
  EXPECT_EQ(s.m_strServerName, "192.168.1.10");
  EXPECT_EQ(s.m_wWebPort, 80);
  EXPECT_EQ(s.m_iContrast, 96);
  EXPECT_EQ(s.m_iSubPort, 8888);
  EXPECT_EQ(s.m_wZoomRatio, 100);
  EXPECT_EQ(s.m_iImageResolution, 0);
  EXPECT_EQ(std::string(s.m_szServerHostName), "");
}

TEST_F(SettingIniTest, NoFileGivesTheDefaults) {
  ASSERT_EQ(settings.ReadSettingFile(), 1);
  EXPECT_EQ(settings.m_strExeDir, "C:\\Ostrova\\");
  EXPECT_EQ(settings.m_strUsername, "revuv");
  EXPECT_EQ(settings.m_strPassword, "revuv");
  EXPECT_EQ(settings.m_strServerName, "192.168.1.10");
  EXPECT_EQ(settings.m_wWebPort, 80);
  EXPECT_EQ(settings.m_strDesktopPath, kDesktop);
  EXPECT_EQ(settings.m_strRecordPath, kDesktop);
  EXPECT_EQ(settings.m_strSnapshotPath, kDesktop);
  EXPECT_EQ(settings.m_strUpgradeFWPath, std::string(kDesktop) + "\\");
  EXPECT_EQ(settings.m_strUpgradeDVRFWPath, kDesktop);
  EXPECT_EQ(settings.m_strWavPath, "C:\\Ostrova\\alarm.wav");
  EXPECT_EQ(settings.m_strNetworkFileDir, "c:\\");
  EXPECT_EQ(turbo, 5);
  EXPECT_EQ(settings.m_byImageQuality, 0);
  EXPECT_EQ(settings.m_iImageResolution, 1);
  EXPECT_EQ(settings.m_iBrightness, 0);
  EXPECT_EQ(settings.m_iContrast, 96);
  EXPECT_EQ(settings.m_iSubPort, 8888);
  EXPECT_EQ(settings.m_wZoomRatio, 100);
  EXPECT_EQ(settings.m_wFrameRate, 30);
  EXPECT_EQ(settings.m_wTargetBitRate, 400);
  EXPECT_EQ(settings.m_wPeakBitRate, 450);
  EXPECT_EQ(settings.m_wBitRateControlType, 1);
  EXPECT_EQ(settings.m_byResolutionType, 3);
  EXPECT_EQ(settings.m_bySelectedChannel, 1);
  EXPECT_EQ(settings.m_wLastMac1, 255);
  EXPECT_EQ(settings.m_wLastMac2, 255);
  EXPECT_EQ(settings.m_byAlarmRecord, 1);
  EXPECT_EQ(settings.m_byAlarmRecordAtStart, 1);
  EXPECT_EQ(settings.m_byRetrAlarmRecord, 1);
  EXPECT_EQ(settings.m_wAlarmEnableButton, 3);
  EXPECT_EQ(settings.m_iVideoQuality, 0);
  EXPECT_EQ(settings.m_iAlarmResolution, 1);
  EXPECT_EQ(settings.m_wSearchListMax, 128);
  EXPECT_EQ(env.folderRequests, (std::vector<std::string>{kDesktop, kDesktop}));
  EXPECT_TRUE(env.shownMessages.empty());
  EXPECT_TRUE(env.writes.empty());
}

TEST_F(SettingIniTest, WritesThe41KeysInOrderWithoutThePassword) {
  ASSERT_EQ(settings.ReadSettingFile(), 1);
  settings.m_strPassword = "s3cret-typed";
  ASSERT_EQ(settings.WriteSettingFile(), 1);
  std::vector<std::string> keys;
  for (const auto& w : env.writes) {
    EXPECT_EQ(w.file, kIniPath);
    EXPECT_EQ(w.section, "Ostrova");
    EXPECT_EQ(w.value.find("s3cret"), std::string::npos) << w.key;
    keys.push_back(w.key);
  }
  EXPECT_EQ(keys, kWriteOrder);
  EXPECT_EQ(Written("RETR Alarm Record"), "1");
  EXPECT_EQ(Written("Server Name"), "192.168.1.10");
  EXPECT_EQ(Written("Upgrade FW Path"), std::string(kDesktop) + "\\");
  EXPECT_EQ(env.files.at(kIniPath).find("s3cret"), std::string::npos);
  EXPECT_EQ(Written("Username"), "revuv");
}

TEST_F(SettingIniTest, ReadBackEqualsWhatWasWritten) {
  ASSERT_EQ(settings.ReadSettingFile(), 1);
  CSettingINI& s = settings;
  s.m_iImageResolution = 2;
  s.m_iBrightness = -5;
  s.m_iContrast = 120;
  s.m_iSaturation = 64;
  s.m_strUsername = "operator";
  s.m_strServerName = "10.1.2.3";
  s.m_wWebPort = 65535;
  s.m_iSubPort = -1;
  s.m_wZoomRatio = 250;
  s.m_wFrameRate = 25;
  s.m_wTargetBitRate = 1000;
  s.m_wPeakBitRate = 2000;
  s.m_wBitRateControlType = 2;
  s.m_byResolutionType = 4;
  s.m_byImageQuality = 255;
  s.m_bySelectedChannel = 16;
  s.m_iDynamicDownload = 1;
  s.m_iWriteCD = 1;
  s.m_iWriteCDClose = 1;
  s.m_wLastMac1 = 68;
  s.m_wLastMac2 = 170;
  s.m_byAlarmRecord = 0;
  s.m_wAlarmEnableButton = 7;
  turbo = 9;
  s.m_iVideoQuality = 2;
  s.m_iAlarmResolution = 0;
  s.m_dwWavPathLoword = 4294967295u;
  s.m_byCloseHour = 23;
  s.m_byCloseMinute = 59;
  s.m_byCloseDate = 31;
  s.m_byAlarmSwitchVideo = 1;
  s.m_wSearchListHDD = 3;
  s.m_bySearchListType = 2;
  s.m_wSearchListMax = 512;
  s.m_strRecordPath = "D:\\rec";
  s.m_strSnapshotPath = "D:\\snap";
  s.m_strUpgradeFWPath = "D:\\fw\\";
  s.m_strUpgradeDVRFWPath = "D:\\dvrfw";
  s.m_strWavPath = "D:\\sound\\bell.wav";
  s.m_strNetworkFileDir = "D:\\net\\";
  ASSERT_EQ(s.WriteSettingFile(), 1);

  uint8_t turboAgain = 0;
  CSettingINI r;
  r.AttachEnvironment(&env, &turboAgain);
  ASSERT_EQ(r.ReadSettingFile(), 1);
  EXPECT_EQ(r.m_iImageResolution, 2);
  EXPECT_EQ(r.m_iBrightness, -5);
  EXPECT_EQ(r.m_iContrast, 120);
  EXPECT_EQ(r.m_iSaturation, 64);
  EXPECT_EQ(r.m_strUsername, "operator");
  EXPECT_EQ(r.m_strServerName, "10.1.2.3");
  EXPECT_EQ(r.m_wWebPort, 65535);
  EXPECT_EQ(r.m_iSubPort, -1);
  EXPECT_EQ(r.m_wZoomRatio, 250);
  EXPECT_EQ(r.m_wFrameRate, 25);
  EXPECT_EQ(r.m_wTargetBitRate, 1000);
  EXPECT_EQ(r.m_wPeakBitRate, 2000);
  EXPECT_EQ(r.m_wBitRateControlType, 2);
  EXPECT_EQ(r.m_byResolutionType, 4);
  EXPECT_EQ(r.m_byImageQuality, 255);
  EXPECT_EQ(r.m_bySelectedChannel, 16);
  EXPECT_EQ(r.m_iDynamicDownload, 1);
  EXPECT_EQ(r.m_iWriteCD, 1);
  EXPECT_EQ(r.m_iWriteCDClose, 1);
  EXPECT_EQ(r.m_wLastMac1, 68);
  EXPECT_EQ(r.m_wLastMac2, 170);
  EXPECT_EQ(r.m_byAlarmRecord, 0);
  EXPECT_EQ(r.m_byAlarmRecordAtStart, 0);
  EXPECT_EQ(r.m_byRetrAlarmRecord, 1);
  EXPECT_EQ(r.m_wAlarmEnableButton, 7);
  EXPECT_EQ(turboAgain, 9);
  EXPECT_EQ(r.m_iVideoQuality, 2);
  EXPECT_EQ(r.m_iAlarmResolution, 0);
  EXPECT_EQ(r.m_dwWavPathLoword, 4294967295u);
  EXPECT_EQ(r.m_byCloseHour, 23);
  EXPECT_EQ(r.m_byCloseMinute, 59);
  EXPECT_EQ(r.m_byCloseDate, 31);
  EXPECT_EQ(r.m_byAlarmSwitchVideo, 1);
  EXPECT_EQ(r.m_wSearchListHDD, 3);
  EXPECT_EQ(r.m_bySearchListType, 2);
  EXPECT_EQ(r.m_wSearchListMax, 512);
  EXPECT_EQ(r.m_strRecordPath, "D:\\rec");
  EXPECT_EQ(r.m_strSnapshotPath, "D:\\snap");
  EXPECT_EQ(r.m_strUpgradeFWPath, "D:\\fw\\");
  EXPECT_EQ(r.m_strUpgradeDVRFWPath, "D:\\dvrfw");
  EXPECT_EQ(r.m_strWavPath, "D:\\sound\\bell.wav");
  EXPECT_EQ(r.m_strNetworkFileDir, "D:\\net\\");
  EXPECT_EQ(r.m_strPassword, "revuv");  // never stored
  // A second write of what was read gives the same file.
  const std::string first = env.files.at(kIniPath);
  ASSERT_EQ(r.WriteSettingFile(), 1);
  EXPECT_EQ(env.files.at(kIniPath), first);
}

TEST_F(SettingIniTest, NumbersKeepTheLowBitsOfTheirWidthAndTextsAre255Long) {
  GivenFile(
      "ServerPort=70000\r\nSelected Channel=300\r\nSearch List Max Number=-1\r\n"
      "brightness=-7\r\nTrigger Wav Path LOWORD=4294967295\r\nRETR Alarm Record=0\r\n"
      "Frame Rate=\r\nZoom Ratio=abc\r\nTurbo repeat step=261\r\nAlarm Trigger Quality=12x\r\n"
      "Username=" +
      std::string(300, 'u') + "\r\nServer Name=\r\n");
  ASSERT_EQ(settings.ReadSettingFile(), 1);
  EXPECT_EQ(settings.m_wWebPort, 4464);
  EXPECT_EQ(settings.m_bySelectedChannel, 44);
  EXPECT_EQ(settings.m_wSearchListMax, 65535);
  EXPECT_EQ(settings.m_iBrightness, -7);
  EXPECT_EQ(settings.m_dwWavPathLoword, 4294967295u);
  EXPECT_EQ(settings.m_byRetrAlarmRecord, 1);
  EXPECT_EQ(settings.m_wFrameRate, 30);  // present but empty: the default
  EXPECT_EQ(settings.m_wZoomRatio, 0);   // no digits
  EXPECT_EQ(turbo, 5);
  EXPECT_EQ(settings.m_iVideoQuality, 12);
  EXPECT_EQ(settings.m_strUsername, std::string(255, 'u'));
  EXPECT_EQ(settings.m_strServerName, "");  // present with an empty value
}

TEST_F(SettingIniTest, FolderFixUps) {
  struct Case {
    std::string body;
    std::string record, fw, dvrFw;
  } const cases[] = {
      {"Upgrade FW Path=C:\\fw\r\nUpgrade DVR FW Path=C:\\fw\\\r\n", kDesktop, "C:\\fw\\",
       "C:\\fw"},
      {"Upgrade FW Path=\r\nUpgrade DVR FW Path=\r\n", kDesktop, "\\", ""},
      {"Record Path=\r\nUpgrade FW Path=C:\\fw\\\r\nUpgrade DVR FW Path=C:\\fw\r\n", kDesktop,
       "C:\\fw\\", "C:\\fw"},
      {"Record Path=E:\\rec\r\n", "E:\\rec", std::string(kDesktop) + "\\", kDesktop},
  };
  for (const auto& c : cases) {
    MemorySettingsEnvironment e;
    e.desktopFolder = kDesktop;
    e.files[kIniPath] = "[Ostrova]\r\n" + c.body;
    uint8_t t = 0;
    CSettingINI s;
    s.AttachEnvironment(&e, &t);
    ASSERT_EQ(s.ReadSettingFile(), 1);
    EXPECT_EQ(s.m_strRecordPath, c.record) << c.body;
    EXPECT_EQ(s.m_strUpgradeFWPath, c.fw) << c.body;
    EXPECT_EQ(s.m_strUpgradeDVRFWPath, c.dvrFw) << c.body;
    EXPECT_EQ(e.folderRequests, (std::vector<std::string>{c.record, kDesktop})) << c.body;
  }
}

TEST_F(SettingIniTest, DesktopFolderUnavailable) {
  env.desktopFolder = std::nullopt;  // the shell folders key cannot be opened
  ASSERT_EQ(settings.ReadSettingFile(), 1);
  EXPECT_EQ(env.shownMessages, std::vector<uint32_t>{kMsgReadDesktopPathError});
  EXPECT_EQ(settings.m_strDesktopPath, "");
  EXPECT_EQ(settings.m_strRecordPath, "");
  EXPECT_EQ(settings.m_strSnapshotPath, "");
  EXPECT_EQ(settings.m_strUpgradeFWPath, "\\");
  EXPECT_EQ(settings.m_strUpgradeDVRFWPath, "");

  MemorySettingsEnvironment noValue;
  noValue.desktopFolder = "";  // the key opens but holds no readable value
  uint8_t t = 0;
  CSettingINI s;
  s.AttachEnvironment(&noValue, &t);
  ASSERT_EQ(s.ReadSettingFile(), 1);
  EXPECT_TRUE(noValue.shownMessages.empty());
  EXPECT_EQ(s.m_strRecordPath, "");
}

TEST_F(SettingIniTest, ServerNameWrittenFromTheKeptHostName) {
  ASSERT_EQ(settings.ReadSettingFile(), 1);
  // A login by name replaced the server text by the resolved address and kept the name.
  settings.m_strServerName = "10.0.0.5";
  settings.KeepServerHostName("dvr.local");
  ASSERT_EQ(settings.WriteSettingFile(), 1);
  EXPECT_EQ(Written("Server Name"), "dvr.local");
  // A new dotted address typed by the user drops the old name.
  settings.SetServerNameFromUser("10.0.0.9");
  EXPECT_EQ(std::string(settings.m_szServerHostName), "");
  ASSERT_EQ(settings.WriteSettingFile(), 1);
  EXPECT_EQ(Written("Server Name"), "10.0.0.9");
  // A kept name is cut to the buffer.
  settings.KeepServerHostName(std::string(400, 'h'));
  EXPECT_EQ(std::string(settings.m_szServerHostName), std::string(255, 'h'));
}

TEST_F(SettingIniTest, ExecutableFolder) {
  const std::string deep = "C:\\" + std::string(300, 'd') + "\\Ostrova.exe";
  env.executablePath = deep;
  ASSERT_EQ(settings.ReadSettingFile(), 1);
  EXPECT_EQ(settings.m_strExeDir, "C:\\" + std::string(300, 'd') + "\\");
  EXPECT_EQ(settings.m_strWavPath, settings.m_strExeDir + "alarm.wav");

  MemorySettingsEnvironment noPath;
  noPath.executablePath = std::nullopt;
  uint8_t t = 0;
  CSettingINI s;
  s.AttachEnvironment(&noPath, &t);
  EXPECT_EQ(s.ReadSettingFile(), 0);
  EXPECT_TRUE(noPath.folderRequests.empty());

  CSettingINI unattached;
  EXPECT_EQ(unattached.ReadSettingFile(), 0);
  EXPECT_EQ(unattached.WriteSettingFile(), 0);
}

TEST(IniText, FindsNamesWithoutCaseAndUpdatesInPlace) {
  IniText ini("; comment\r\n[other]\r\nkey=1\r\n\r\n[OSTROVA]\r\n Key = two \r\n\r\n[last]\r\n");
  EXPECT_EQ(ini.Get("Ostrova", "key"), "two");
  EXPECT_EQ(ini.Get("other", "KEY"), "1");
  EXPECT_EQ(ini.Get("ostrova", "missing"), std::nullopt);
  EXPECT_EQ(ini.Get("none", "key"), std::nullopt);
  ini.Set("Ostrova", "key", "3");
  ini.Set("Ostrova", "added", "4");
  ini.Set("New", "k", "");
  EXPECT_EQ(ini.ToString(),
            "; comment\r\n[other]\r\nkey=1\r\n\r\n[OSTROVA]\r\nkey=3\r\nadded=4\r\n\r\n[last]\r\n"
            "[New]\r\nk=\r\n");
  EXPECT_EQ(ini.Get("New", "k"), "");
}

}  // namespace
