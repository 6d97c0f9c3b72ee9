// Device control: the command map of the main window's title, channel and tool buttons, the keys
// sent over the device's RS-485 bus, the slave refresh and the channel switch. The decisions are
// here; the window side supplies a DeviceControlPort (session state, the request sender,
// message boxes, the main window's own actions).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "mainwnd/channel_bar_model.h"
#include "net/control_device_list.h"
#include "net/ctrl_file.h"
#include "mainwnd/rs485_command.h"

// What a command id of the main window asks for.
enum class ToolCommandKind {
  kNone,            // not a device-control command
  kMinimise,        // 8200
  kFullScreen,      // 8201
  kClose,           // 8202
  kChannel,         // 8410-8426: value is the channel
  kPrevPage,        // 8427
  kNextPage,        // 8428
  kKey,             // value is the key index; turbo says whether it repeats while turbo is on
  kPlaybackSearch,  // 8319
  kPanel,           // 8310, 8311, 8312, 8331, 8356: turbo, power, PTZ, R.E.T.R., ACTION/PRESET
};

struct ToolCommand {
  ToolCommandKind kind = ToolCommandKind::kNone;
  uint8_t value = 0;
  bool turbo = false;
};

inline constexpr uint8_t kMenuKey = 56;

ToolCommand ToolCommandOf(uint16_t id);
// Whether the MENU key goes out: not for a GUEST or NORMAL USER on an RZ1K/RZ3K/RZ4K recorder.
bool MenuKeyAllowed(uint8_t accessClass, std::string_view productId);
// Key flags of the model control table that device control reads (0x0200 "no PTZ protocol").
uint16_t DefaultKeyFlags(uint8_t modelRow, uint8_t key);

// A two-state panel button after its command: the flag's new value, the button state and which
// half of the button's string pair is its tool-tip (0 the first).
struct PanelToggle {
  bool on;
  int buttonState;
  int tipHalf;
};
// Turbo (8310, "TURBO_ON$TURBO_OFF"): on is state 1 with the first half.
PanelToggle TurboToggled(bool wasOn);
// ACTION/PRESET (8356, "ACTION$PRESET"): PRESET is state 1 with the second half.
PanelToggle ActionPresetToggled(bool wasPreset);

// A slave of the "/PTZReset.cgi" reply.
struct SlaveUnit {
  uint8_t byAddress;
  uint8_t byModelRow;
};
// "SLAVENUM" then per slave "SID", "STYPE" (1: row 11) and "SPROTOCOL" (row 11 with 1: row 18),
// each group searched after the previous one; at most 30 slaves. A missing item keeps the
// previous slave's value (0 for the first).
std::vector<SlaveUnit> ParseSlaveList(std::string_view reply);

struct DeviceRequest {
  uint8_t command;
  std::string query;
  std::vector<uint8_t> body;
  uint32_t replyCapacity;  // 0: no reply body wanted
  uint16_t timeoutSeconds;
};

struct DeviceReply {
  bool ok;
  std::string body;
};

// The select-PTZ dialog's answer.
enum class PtzDialogResult { kOk, kCancel, kEsc, kOther };

// What the window shows after the PTZ control command; set fields change.
struct PtzPanelChange {
  int buttonState = -1;      // the PTZ button (key 60); -1 unchanged
  int hotPointMode = 0;      // 1 off, 2 on; 0 unchanged
  bool hotPointOff = false;  // hot-point mode 2 becomes 1
  bool applyLayout = false;  // the current unit changed: re-apply the layout and the tips
};

// What device control reads of the session.
struct DeviceControlState {
  std::string productId;
  std::string firmware;
  uint32_t dwCapabilityMask = 0;
  uint8_t byMultiChannel = 0;
  uint8_t byAccessClass = 3;
  std::string cookie;
  bool fTurboOn = false;
  bool fPresetMode = false;
  bool fSessionActive = false;
  uint8_t byTurboStep = 5;
  uint8_t byDisplayMode = 0;
};

class DeviceControlPort {
 public:
  virtual ~DeviceControlPort() = default;
  virtual DeviceControlState State() const = 0;
  // Blocks for the exchange.
  virtual DeviceReply Send(const DeviceRequest& request) = 0;
  virtual void ShowMessage(uint32_t stringId) = 0;
  // The CtrlFile.ini record linked to a model row; null also for rows past the table.
  virtual const CtrlDeviceRecord* RecordOfModelRow(uint8_t row) const = 0;
  virtual uint16_t KeyFlags(uint8_t row, uint8_t key) const { return DefaultKeyFlags(row, key); }
  // The main window's own actions.
  virtual void Minimise() {}
  virtual void EnterFullScreen() {}
  virtual void CloseMainWindow() {}
  virtual void OpenPlaybackSearch() {}
  virtual void PanelCommand(uint16_t /*id*/) {}
  // Re-apply the layout for the current device's model (its tool buttons).
  virtual void ApplyLayout() {}
  // Channel bar: place the buttons, light button i by state (0 lit).
  virtual void PlaceChannelButtons() {}
  virtual void SetChannelButtonStates() {}
};

class DeviceControl {
 public:
  DeviceControl(DeviceControlPort& port, C_ControlD& list, ChannelBarModel& bar, uint8_t& selected)
      : m_port(port), m_list(list), m_bar(bar), m_selectedChannel(selected) {}

  // Runs the command of a main-window id; false when the id is not one of device control's.
  bool OnCommand(uint16_t id);
  // A key (0-67) to the current unit; turbo repeats it with the turbo step.
  void SendControlKey(int turbo, uint16_t key);
  // 1 sent, 0 not (the reason was shown).
  int SendRs485Command(const ControlCommandScript& script, uint8_t repeat, uint16_t keyFlags);
  // The cameras behind a multi-channel recorder, refreshed from "/PTZReset.cgi". 1, or 0 when
  // the request failed.
  int RefreshSlaveList();
  // Asks the device to show channel n ("/SetChannel.cgi"); the bar follows the stream.
  int SwitchChannel(uint8_t channel);
  // The stream reports channel n (window thread).
  int SetCurrentChannel(uint8_t channel);
  int PrevPage();
  int NextPage();
  // R.E.T.R. (8331): asks the device for the opposite of the state it last reported
  // ("/SetRetr.cgi"); the button follows the next report. 1 sent, 0 after 4065.
  int OnRetr();
  // The power key (8311): the current unit's [POWER] script, repeat 1, also while turbo is on.
  // 1 sent; 0 after 4034 (no session), 4093 (no record) or the sender's message.
  int OnPower();
  // PTZ control (8312), before the select-PTZ dialog: false when it is not to be shown (a GUEST
  // or NORMAL USER on an RZ1K/RZ3K/RZ4K recorder; the slave query of those recorders failed,
  // after 4065). The query's slaves overwrite the PTZ group's units.
  bool PreparePtzControl();
  // PTZ control after the dialog, and what the window then shows. CANCEL puts the button back
  // to the current group's state (RZ1K/RZ3K/RZ4K: the slave query once more, no reply read);
  // from the channel group any other answer, from the PTZ group OK, selects camera `number`
  // (1-16 with a PTZ-group unit, else 4095); ESC from the PTZ group leaves PTZ control. A
  // select or leave the device refused changes nothing (after 4065).
  PtzPanelChange FinishPtzControl(PtzDialogResult result, int number);
  // The hot-point packet of a clicked cell to the current unit. 1 sent; 0 after 4065.
  int SendHotPoint(uint8_t cell);
  DeviceControlPort& Port() const { return m_port; }

 private:
  void OnChannel(uint8_t channel);
  // "/PTZReset.cgi": the units on the bus, or nothing (4065 shown) when the request failed.
  std::optional<std::vector<SlaveUnit>> RequestSlaveList(const DeviceControlState& s);
  // The "/RS485Cmd.cgi" addressing of the current unit.
  Rs485Addressing CurrentAddressing(const DeviceControlState& s) const;

  DeviceControlPort& m_port;
  C_ControlD& m_list;
  ChannelBarModel& m_bar;
  uint8_t& m_selectedChannel;
};
