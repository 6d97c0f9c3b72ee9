// The client settings and their file "Setting.ini" beside the executable.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/settings_environment.h"

inline constexpr uint32_t kMsgReadDesktopPathError = 4056;  // "Read DeskTop Path Error!!"

// Members are read and changed directly by the rest of the program. The file's section and key
// names are in m_strKeyName, by the indices of KeyIndex.
class CSettingINI {
 public:
  enum KeyIndex : size_t {
    kSection = 0,
    kKeyLanguage = 1,
    kKeyImageQuality = 2,
    kKeyServerPort = 3,
    kKeyImageResolution = 4,
    kKeyTurboRepeatStep = 5,
    kKeyUsername = 6,
    kKeyBrightness = 7,
    kKeyContrast = 8,
    kKeySaturation = 9,
    kKeyAvSwitchOption = 10,
    kKeyRetrAlarmRecord = 11,
    kKeyEnableAlarm = 12,
    kKeyAlarmDuration = 13,
    kKeyServerName = 14,
    kKeySubPort = 15,
    kKeyNetworkFileDir = 16,
    kKeyZoomRatio = 18,
    kKeyFrameRate = 19,
    kKeyTargetBitRate = 20,
    kKeyPeakBitRate = 21,
    kKeyBitRateControlType = 22,
    kKeyResolutionType = 23,
    kKeySelectedChannel = 24,
    kKeyDynamicDownload = 25,
    kKeyWriteCD = 26,
    kKeyRecordPath = 27,
    kKeySnapshotPath = 28,
    kKeyUpgradeFWPath = 29,
    kKeyLastMac1 = 30,
    kKeyLastMac2 = 31,
    kKeyAlarmRecord = 32,
    kKeyAlarmTriggerAudio = 33,
    kKeyAlarmAudioPath = 34,
    kKeyAlarmEnableButton = 35,
    kKeyVideoQuality = 36,
    kKeyAlarmResolution = 37,
    kKeyWavPath = 38,
    kKeyWavPathLoword = 39,
    kKeyCloseHour = 40,
    kKeyCloseMinute = 41,
    kKeyCloseDate = 42,
    kKeySearchListHDD = 43,
    kKeySearchListType = 44,
    kKeySearchListMax = 45,
    kKeyUpgradeDVRFWPath = 46,
    kKeyAlarmSwitchVideo = 47,
    kKeyWriteCDClose = 48,
    kKeyCount = 49,
  };

  static constexpr size_t kTextMax = 255;  // longest text value kept from the file

  CSettingINI();

  // Binds the platform and the application data's turbo repeat step, which is kept in the file
  // with the settings. Both must outlive the object's reads and writes.
  void AttachEnvironment(SettingsEnvironment* environment, uint8_t* byTurboRepeatStep);

  // Sets m_strExeDir, reads "Setting.ini" and the Desktop folder, fixes the folders up and
  // creates the record and snapshot folders. Returns 1, or 0 when no environment is attached
  // or the executable's path cannot be had (nothing is read then).
  int ReadSettingFile();
  // Writes the 41 stored keys. Returns 1, or 0 when no environment is attached.
  int WriteSettingFile();

  // A server text newly taken from user input: it replaces m_strServerName, and a host name
  // kept by an earlier login no longer applies.
  void SetServerNameFromUser(const std::string& serverText);
  void ClearServerHostName();
  // Keeps the host name a login resolved (at most 255 characters).
  void KeepServerHostName(std::string_view hostName);

  std::array<std::string, kKeyCount> m_strKeyName;
  int32_t m_iImageResolution = 0;
  int32_t m_iBrightness = 0;
  int32_t m_iContrast = 96;
  int32_t m_iSaturation = 0;
  std::string m_strPassword;  // never stored in the file
  std::string m_strUsername;
  std::string m_strServerName;
  uint16_t m_wWebPort = 80;
  char m_szServerHostName[256] = {};
  int32_t m_iSubPort = 8888;
  uint16_t m_wZoomRatio = 100;
  uint16_t m_wFrameRate = 0;
  uint16_t m_wTargetBitRate = 0;
  uint16_t m_wPeakBitRate = 0;
  uint16_t m_wBitRateControlType = 0;
  uint8_t m_byResolutionType = 0;
  uint8_t m_byImageQuality = 0;
  uint8_t m_byAlarmSwitchVideo = 0;
  uint16_t m_wSearchListHDD = 0;
  uint8_t m_bySearchListType = 0;
  uint16_t m_wSearchListMax = 0;
  uint8_t m_bySelectedChannel = 0;
  uint16_t m_wLastMac1 = 0;
  uint16_t m_wLastMac2 = 0;
  uint8_t m_byRetrAlarmRecord = 0;
  uint8_t m_byAlarmRecord = 0;
  uint8_t m_byAlarmRecordAtStart = 0;
  uint16_t m_wAlarmEnableButton = 0;
  int32_t m_iVideoQuality = 0;
  int32_t m_iAlarmResolution = 0;
  uint32_t m_dwWavPathLoword = 0;
  uint8_t m_byCloseHour = 0;
  uint8_t m_byCloseMinute = 0;
  uint8_t m_byCloseDate = 0;
  std::string m_strDesktopPath;
  std::string m_strRecordPath;
  std::string m_strSnapshotPath;
  std::string m_strUpgradeFWPath;
  std::string m_strUpgradeDVRFWPath;
  std::string m_strExeDir;  // the executable's folder, ending in a backslash
  std::string m_strWavPath;
  std::string m_strNetworkFileDir;
  int32_t m_iDynamicDownload = 0;
  int32_t m_iWriteCD = 0;
  int32_t m_iWriteCDClose = 0;
  int32_t m_iWriteCDAppendPlayer = 0;

 private:
  std::string SettingFilePath() const;
  std::string ReadText(size_t key, const std::string& defaultValue);
  uint32_t ReadNumber(size_t key, uint32_t defaultValue);
  template <typename T>
  void ReadNumberInto(T& member, size_t key, int64_t defaultValue) {
    member = static_cast<T>(ReadNumber(key, static_cast<uint32_t>(defaultValue)));
  }

  SettingsEnvironment* m_pEnvironment = nullptr;
  uint8_t* m_pbyTurboRepeatStep = nullptr;
};
