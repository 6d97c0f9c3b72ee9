#include "app/setting_ini.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {
constexpr const char* kSettingFileName = "Setting.ini";
constexpr const char* kDefaultPassword = "revuv";
constexpr const char* kDefaultServerName = "192.168.1.10";
constexpr const char* kDefaultNetworkFileDir = "c:\\";
constexpr const char* kAlarmWaveName = "alarm.wav";

constexpr std::array<const char*, CSettingINI::kKeyCount> kKeyNames = {
    "Ostrova",
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
    "Write CD Close Option",
};

// A number as the private-profile number function reads it: leading blanks, a sign, decimal
// digits up to the first other character, kept modulo 2^32.
uint32_t ParseProfileNumber(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  uint32_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
    value = value * 10u + static_cast<uint32_t>(text[i] - '0');
  return negative ? 0u - value : value;
}
}  // namespace

CSettingINI::CSettingINI() {
  std::copy(kKeyNames.begin(), kKeyNames.end(), m_strKeyName.begin());
  m_strPassword = kDefaultPassword;
  m_strUsername = kDefaultPassword;
  m_strServerName = kDefaultServerName;
}

void CSettingINI::AttachEnvironment(SettingsEnvironment* environment, uint8_t* byTurboRepeatStep) {
  m_pEnvironment = environment;
  m_pbyTurboRepeatStep = byTurboRepeatStep;
}

std::string CSettingINI::SettingFilePath() const {
  return m_strExeDir + kSettingFileName;
}

std::string CSettingINI::ReadText(size_t key, const std::string& defaultValue) {
  std::optional<std::string> value = m_pEnvironment->ReadProfileValue(
      SettingFilePath(), m_strKeyName[kSection], m_strKeyName[key]);
  if (!value) return defaultValue;
  if (value->size() > kTextMax) value->resize(kTextMax);
  return std::move(*value);
}

uint32_t CSettingINI::ReadNumber(size_t key, uint32_t defaultValue) {
  const std::optional<std::string> value = m_pEnvironment->ReadProfileValue(
      SettingFilePath(), m_strKeyName[kSection], m_strKeyName[key]);
  if (!value || value->empty()) return defaultValue;
  return ParseProfileNumber(*value);
}

int CSettingINI::ReadSettingFile() {
  if (m_pEnvironment == nullptr || m_pbyTurboRepeatStep == nullptr) return 0;
  const std::optional<std::string> exePath = m_pEnvironment->ExecutablePath();
  if (!exePath) return 0;
  const size_t lastBackslash = exePath->rfind('\\');
  m_strExeDir =
      lastBackslash == std::string::npos ? std::string() : exePath->substr(0, lastBackslash + 1);

  // Numbers keep the low bits that fit their member.
  ReadNumberInto(m_byImageQuality, kKeyImageQuality, 0);
  ReadNumberInto(m_wWebPort, kKeyServerPort, m_wWebPort);
  ReadNumberInto(m_iImageResolution, kKeyImageResolution, 1);
  ReadNumberInto(*m_pbyTurboRepeatStep, kKeyTurboRepeatStep, 5);
  ReadNumberInto(m_iBrightness, kKeyBrightness, m_iBrightness);
  ReadNumberInto(m_iContrast, kKeyContrast, m_iContrast);
  ReadNumberInto(m_iSaturation, kKeySaturation, m_iSaturation);
  ReadNumberInto(m_iSubPort, kKeySubPort, m_iSubPort);
  ReadNumberInto(m_wZoomRatio, kKeyZoomRatio, 100);
  ReadNumberInto(m_wFrameRate, kKeyFrameRate, 30);
  ReadNumberInto(m_wTargetBitRate, kKeyTargetBitRate, 400);
  ReadNumberInto(m_wPeakBitRate, kKeyPeakBitRate, 450);
  ReadNumberInto(m_wBitRateControlType, kKeyBitRateControlType, 1);
  ReadNumberInto(m_byResolutionType, kKeyResolutionType, 3);
  ReadNumberInto(m_bySelectedChannel, kKeySelectedChannel, 1);
  ReadNumberInto(m_iDynamicDownload, kKeyDynamicDownload, 0);
  ReadNumberInto(m_iWriteCD, kKeyWriteCD, 0);
  ReadNumberInto(m_wLastMac1, kKeyLastMac1, 255);
  ReadNumberInto(m_wLastMac2, kKeyLastMac2, 255);
  ReadNumberInto(m_byAlarmRecord, kKeyAlarmRecord, 1);
  ReadNumberInto(m_wAlarmEnableButton, kKeyAlarmEnableButton, 3);
  ReadNumberInto(m_iVideoQuality, kKeyVideoQuality, 0);
  ReadNumberInto(m_iAlarmResolution, kKeyAlarmResolution, 1);
  ReadNumberInto(m_dwWavPathLoword, kKeyWavPathLoword, 0);
  ReadNumberInto(m_byCloseHour, kKeyCloseHour, 0);
  ReadNumberInto(m_byCloseMinute, kKeyCloseMinute, 0);
  ReadNumberInto(m_byCloseDate, kKeyCloseDate, 0);
  ReadNumberInto(m_wSearchListHDD, kKeySearchListHDD, 0);
  ReadNumberInto(m_bySearchListType, kKeySearchListType, 0);
  ReadNumberInto(m_wSearchListMax, kKeySearchListMax, 128);
  ReadNumberInto(m_byAlarmSwitchVideo, kKeyAlarmSwitchVideo, 0);
  ReadNumberInto(m_iWriteCDClose, kKeyWriteCDClose, 0);
  m_byRetrAlarmRecord = 1;
  m_byAlarmRecordAtStart = m_byAlarmRecord;

  m_strUsername = ReadText(kKeyUsername, m_strUsername);
  m_strServerName = ReadText(kKeyServerName, kDefaultServerName);

  const std::optional<std::string> desktop = m_pEnvironment->DesktopFolder();
  if (desktop) {
    m_strDesktopPath = *desktop;
  } else {
    m_pEnvironment->ShowMessage(kMsgReadDesktopPathError);
    m_strDesktopPath.clear();
  }
  m_strRecordPath = ReadText(kKeyRecordPath, m_strDesktopPath);
  m_strSnapshotPath = ReadText(kKeySnapshotPath, m_strDesktopPath);
  m_strUpgradeFWPath = ReadText(kKeyUpgradeFWPath, m_strDesktopPath);
  m_strUpgradeDVRFWPath = ReadText(kKeyUpgradeDVRFWPath, m_strDesktopPath);
  m_strNetworkFileDir = ReadText(kKeyNetworkFileDir, kDefaultNetworkFileDir);

  if (m_strUpgradeFWPath.empty() || m_strUpgradeFWPath.back() != '\\') m_strUpgradeFWPath += '\\';
  if (!m_strUpgradeDVRFWPath.empty() && m_strUpgradeDVRFWPath.back() == '\\')
    m_strUpgradeDVRFWPath.pop_back();

  std::string defaultWave = m_strExeDir;
  if (defaultWave.empty() || defaultWave.back() != '\\') defaultWave += '\\';
  defaultWave += kAlarmWaveName;
  m_strWavPath = ReadText(kKeyWavPath, defaultWave);

  if (m_strRecordPath.empty()) m_strRecordPath = m_strDesktopPath;
  if (m_strSnapshotPath.empty()) m_strSnapshotPath = m_strDesktopPath;
  m_pEnvironment->CreateFolder(m_strRecordPath);
  m_pEnvironment->CreateFolder(m_strSnapshotPath);
  return 1;
}

int CSettingINI::WriteSettingFile() {
  if (m_pEnvironment == nullptr || m_pbyTurboRepeatStep == nullptr) return 0;
  const std::string serverName =
      m_szServerHostName[0] != '\0' ? std::string(m_szServerHostName) : m_strServerName;
  using std::to_string;
  const std::pair<size_t, std::string> entries[] = {
      {kKeyBrightness, to_string(m_iBrightness)},
      {kKeyContrast, to_string(m_iContrast)},
      {kKeySaturation, to_string(m_iSaturation)},
      {kKeyImageResolution, to_string(m_iImageResolution)},
      {kKeyUsername, m_strUsername},
      {kKeyServerName, serverName},
      {kKeyServerPort, to_string(m_wWebPort)},
      {kKeySubPort, to_string(m_iSubPort)},
      {kKeyZoomRatio, to_string(m_wZoomRatio)},
      {kKeyFrameRate, to_string(m_wFrameRate)},
      {kKeyTargetBitRate, to_string(m_wTargetBitRate)},
      {kKeyPeakBitRate, to_string(m_wPeakBitRate)},
      {kKeyBitRateControlType, to_string(m_wBitRateControlType)},
      {kKeyResolutionType, to_string(m_byResolutionType)},
      {kKeyImageQuality, to_string(m_byImageQuality)},
      {kKeySelectedChannel, to_string(m_bySelectedChannel)},
      {kKeyDynamicDownload, to_string(m_iDynamicDownload)},
      {kKeyWriteCD, to_string(m_iWriteCD)},
      {kKeyWriteCDClose, to_string(m_iWriteCDClose)},
      {kKeyLastMac1, to_string(m_wLastMac1)},
      {kKeyLastMac2, to_string(m_wLastMac2)},
      {kKeyAlarmRecord, to_string(m_byAlarmRecord)},
      {kKeyRetrAlarmRecord, to_string(m_byRetrAlarmRecord)},
      {kKeyAlarmEnableButton, to_string(m_wAlarmEnableButton)},
      {kKeyTurboRepeatStep, to_string(*m_pbyTurboRepeatStep)},
      {kKeyVideoQuality, to_string(m_iVideoQuality)},
      {kKeyAlarmResolution, to_string(m_iAlarmResolution)},
      {kKeyWavPathLoword, to_string(m_dwWavPathLoword)},
      {kKeyCloseHour, to_string(m_byCloseHour)},
      {kKeyCloseMinute, to_string(m_byCloseMinute)},
      {kKeyCloseDate, to_string(m_byCloseDate)},
      {kKeyAlarmSwitchVideo, to_string(m_byAlarmSwitchVideo)},
      {kKeySearchListHDD, to_string(m_wSearchListHDD)},
      {kKeySearchListType, to_string(m_bySearchListType)},
      {kKeySearchListMax, to_string(m_wSearchListMax)},
      {kKeyRecordPath, m_strRecordPath},
      {kKeySnapshotPath, m_strSnapshotPath},
      {kKeyUpgradeFWPath, m_strUpgradeFWPath},
      {kKeyUpgradeDVRFWPath, m_strUpgradeDVRFWPath},
      {kKeyWavPath, m_strWavPath},
      {kKeyNetworkFileDir, m_strNetworkFileDir},
  };
  static_assert(sizeof entries / sizeof entries[0] == 41);
  const std::string file = SettingFilePath();
  for (const auto& [key, value] : entries)
    m_pEnvironment->WriteProfileValue(file, m_strKeyName[kSection], m_strKeyName[key], value);
  return 1;
}

void CSettingINI::SetServerNameFromUser(const std::string& serverText) {
  m_strServerName = serverText;
  ClearServerHostName();
}

void CSettingINI::ClearServerHostName() {
  std::memset(m_szServerHostName, 0, sizeof m_szServerHostName);
}

void CSettingINI::KeepServerHostName(std::string_view hostName) {
  ClearServerHostName();
  const size_t n = std::min(hostName.size(), sizeof m_szServerHostName - 1);
  std::memcpy(m_szServerHostName, hostName.data(), n);
}
