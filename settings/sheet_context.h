// What the settings sheet hands each of its pages: the device it talks to, the block copies the
// pages edit, the snapshot of the blocks taken when the sheet opened, the client settings the
// pages show, the choices pages share with the sheet and what pages read from or tell the
// running program.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "net/sys_cfg_blocks.h"

class DeviceSession;
class MotionFrameSource;
namespace ost {
class Dialog;
}
struct SettingsSheetStart;

// The logged-in device, as the login and the device information told it.
struct SheetDevice {
  std::string productId;    // "RZ1K" ... "RZ8P"
  std::string fwVersion;    // four characters, e.g. "1058"
  uint32_t deviceMask = 0;  // INF DeviceMask
  uint8_t multiChannel = 0;
};

// The device's configuration blocks by option. The PPPOE entry is the copy of the layout in
// force for the device's firmware.
struct SheetBlocks {
  std::array<std::span<uint8_t>, kSysCfgAll> block{};
  std::span<uint8_t> operator[](uint8_t option) const {
    return option < kSysCfgAll ? block[option] : std::span<uint8_t>{};
  }
};

// The blocks' bytes when the sheet opened; pages compare with them to tell what changed.
struct BlockSnapshot {
  std::array<std::vector<uint8_t>, kSysCfgAll> block{};
  std::span<const uint8_t> operator[](uint8_t option) const {
    return option < kSysCfgAll ? std::span<const uint8_t>(block[option])
                               : std::span<const uint8_t>{};
  }
  static BlockSnapshot Of(const SheetBlocks& blocks) {
    BlockSnapshot s;
    for (size_t i = 0; i < blocks.block.size(); ++i)
      s.block[i].assign(blocks.block[i].begin(), blocks.block[i].end());
    return s;
  }
};

// Choices one page makes that the sheet's rules read: the network page's address mode and the
// DDNS page's switch, while their windows exist (unset: the block's value counts).
struct SheetChoices {
  std::optional<uint8_t> addressMode;
  std::optional<bool> ddnsEnabled;
};

// Client settings the pages edit; the sheet copies those that are set into the program's
// settings after an apply.
struct SheetClientSettings {
  std::optional<std::string> recordPath, snapshotPath, wavPath;  // "File Path"
  std::optional<uint8_t> alarmRecord, alarmAutoSwitch;           // "Alarm"
  std::optional<uint8_t> dynamicDownload;                        // "Network Backup"
  std::optional<std::string> networkFileDir;                     // "Network Backup"
  std::optional<uint8_t> turboStepIndex;                         // "General": step - 1
  std::optional<uint8_t> searchListType;                         // "Search List"
  std::optional<uint16_t> searchListHdd, searchListMax;          // "Search List"
};

// The network backup's choices kept in the client settings.
struct SheetBackupChoices {
  bool dynamicDownload = false;
  bool copyToCD = false;
};

// What pages read from and tell the running program beyond the blocks and the session. The
// program's glue answers from its application data; this base (a sheet without a program, as in
// tests) has no cookie, no settings and changes nothing.
class SheetProgram {
 public:
  virtual ~SheetProgram() = default;
  // The login's session cookie, as it is now (a relogin renews it).
  virtual std::string Cookie() const { return {}; }
  // The program's folder, where its lists and the player are.
  virtual std::string ExeDir() const { return {}; }
  // The device's MAC address as the login gave it: 12 hex digits.
  virtual std::optional<std::string> MacAddress() const { return std::nullopt; }
  // The live stream's video standard: 0 NTSC, otherwise PAL.
  virtual uint8_t VideoMode() const { return 0; }
  // The control-device list holds model 19, 22 or 23.
  virtual bool AlarmListOnDvr() const { return false; }
  // The main window, while the sheet is open.
  virtual HWND MainWindow() const { return nullptr; }
  // The control device in use is the device of a video channel.
  virtual bool ChannelDeviceCurrent() const { return false; }
  // Where the motion-area editor takes its pictures; null: it shows none.
  virtual MotionFrameSource* MotionFrames() const { return nullptr; }

  // Client settings shown by the pages; unset when the program has none.
  virtual std::optional<uint8_t> AlarmSwitchVideo() const { return std::nullopt; }
  virtual std::optional<SheetBackupChoices> BackupChoices() const { return std::nullopt; }
  virtual std::string NetworkFileDir() const { return {}; }
  // Client settings a page changes at once.
  virtual void SetDynamicDownload(bool on) { (void)on; }
  virtual void SetNetworkFileDir(const std::string& dir) { (void)dir; }

  // After the device took them: the account the client logs in with, the device's title the
  // main window shows.
  virtual void SetAccount(const std::string& user, const std::string& password) {
    (void)user;
    (void)password;
  }
  virtual void SetDeviceTitle(const std::string& title) { (void)title; }
  // Forgets the last alarm the live stream reported.
  virtual void ClearStreamAlarm() {}
};

struct SheetContext {
  SheetDevice device;
  SheetBlocks blocks;
  const BlockSnapshot* snapshot = nullptr;
  DeviceSession* session = nullptr;           // the program's device session
  const SettingsSheetStart* start = nullptr;  // client settings given at open
  SheetClientSettings* client = nullptr;      // what the pages chose
  SheetChoices* choices = nullptr;
  SheetProgram* program = nullptr;  // null: the base's answers
  HWND sheet = nullptr;             // the sheet's window
  float scale = 1.0f;               // screen pixels per inch / 96
  // Runs a page's modal dialog so that the sheet is not deleted under it.
  std::function<INT_PTR(ost::Dialog&)> runModal;
  // Disables (false) or enables the sheet's EXIT, APPLY and REBOOT.
  std::function<void(bool)> enableSheetButtons;
};
