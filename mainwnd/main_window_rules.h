// The main window's rules that need no window: which tool keys show for a user, what the panel
// buttons and the window shape do when the device or the panel changes, what initialisation
// rewrites on the device, which status text a login status shows, and the clock / title / IP
// text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "res/tables/main_button_table.h"
#include "res/tables/model_control_table.h"

// ---- Main buttons ----

// RZ1K/RZ3K/RZ4K: 7 buttons and mask 2 with MULTICH, else 6 and mask 1; RZ2K and RZ8P: 7 and 2;
// RZ5M/RZ6M/RZ7M: 7 and 4. False for any other Product-ID.
bool PlanModelLayout(std::string_view productId, uint8_t multiChannel, ModelLayoutPlan* plan);

// ---- Tool keys ----

struct KeyShow {
  bool placed = false;   // moved to its rectangle of the layout class
  bool visible = false;  // shown (else hidden)
  bool enabled = false;
};
// Rule A (panel open, full-screen exit): 0x20 keys only for USERLEVEL 30, 0x40 keys only for a
// level code of 30 or more.
KeyShow ShowRuleA(uint16_t flags, uint16_t userLevel, uint8_t levelCode);
// Rule B (a panel-less model with the panel closed): 0x20 keys for level code 60 and more,
// 0x40 keys for 40 and more.
KeyShow ShowRuleB(uint16_t flags, uint8_t levelCode);

enum class KeyRule { kHideAll, kRuleA, kRuleB };

// What a device change does to the panel (ChangeItemPositionForDeviceModified, step 3).
struct PanelPlan {
  bool closePanel = false;  // clear the panel flag; the window takes its closed shape, centred
  KeyRule keys = KeyRule::kHideAll;
  bool showOpenButton = false;   // 8192
  bool showCloseButton = false;  // 8193
};
PanelPlan PlanPanelForDevice(bool panelLessModel, bool panelOpen, bool mayOpen, bool mayClose);

// What leaving full screen does to the panel.
struct FullScreenExitPlan {
  bool applyAccess = false;  // enable the governed buttons by the class's row
  bool closePanel = false;
  bool panelShape = false;  // the window takes the panel shape (else the closed one)
  KeyRule keys = KeyRule::kHideAll;
  bool showOpenButton = false;
  bool showCloseButton = false;
};
FullScreenExitPlan PlanFullScreenExit(bool panelLessModel, bool panelOpen, bool mayOpen,
                                      bool mayClose);

// The tool-tip of a key when its button is created: the first or second half of the string
// pair of the command id (split at "$"), or the string of the tip id.
struct KeyTip {
  enum Kind { kStringId, kFirstHalf, kSecondHalf } kind;
  uint16_t id;
};
KeyTip TipOfKey(const ControlKeyEntry& entry);

// What the two-text panel buttons' tips describe.
struct PanelTipState {
  bool ptzCurrent;  // a PTZ-group unit is current
  bool turboOn;
  bool retrOn;  // as the device last reported
  bool presetMode;
};
// The half of its string pair a two-text button's tip shows once the layout is applied: 8312
// the first while a PTZ unit is current, 8310 the first while turbo is on, 8331 the first while
// R.E.T.R. is on, 8356 the second in PRESET mode; -1 for other commands.
int PanelTipHalf(uint16_t commandId, const PanelTipState& state);

// ---- Initialisation ----

// Which control-device entry becomes current for the device, or -1.
int CurrentControlEntry(std::string_view productId, uint8_t multiChannel, uint8_t selectedChannel);
// Clears the key flags older firmware and multi-channel recorders do not have. Returns the
// number of entries changed.
int RemoveUnsupportedKeys(std::array<ModelControlRow, kModelRows>& table,
                          std::string_view productId, std::string_view firmware,
                          uint8_t multiChannel);
// ALARM block: an RZ2K with firmware "1010" or newer whose alarm source byte (offset 9) is 0
// gets 12. True when the block changed and is to be sent back.
bool RewriteAlarmSource(std::string_view productId, std::string_view firmware, uint8_t* alarmBlock,
                        uint32_t size);
// INF block: a model name (offset 24, 8 bytes) starting with "TRV-941" becomes exactly
// "TRV-941" with zero padding. True when the block is to be sent back.
bool RewriteModelName(uint8_t* infBlock, uint32_t size);
// SYSTEM block: the device title (offset 20, 16 bytes, up to its first zero byte).
std::string DeviceTitleOf(const uint8_t* systemBlock, uint32_t size);
// Hot-point mode for the current model row: 2 for rows 11 and 18 (for an RZ1K/RZ3K/RZ4K with
// firmware "1035" or newer only when capability bit 2 is set), else 1.
uint8_t HotPointModeOf(uint32_t modelRow, std::string_view productId, std::string_view firmware,
                       uint32_t capabilityMask);

// ---- Texts ----

// WM_LOGINSTATUS: what a status does.
struct LoginStatusEffect {
  enum Kind { kNone, kText, kConnectState, kRepaint } kind = kNone;
  std::string text;
  int state = 0;  // kConnectState: 0 connected (the button disconnects), 1 not connected
};
LoginStatusEffect LoginStatusEffectOf(uintptr_t wParam, intptr_t lParam);

struct DeviceClock {
  uint16_t year, month, day, hour, minute, second;
};
// The info text at ptInfoText and its colour: the device title (RZ1K/RZ3K/RZ4K) or the device
// clock in yellow while the clock is shown, else "IP:a.b.c.d" in cyan when the server address
// is written in digits and dots; none otherwise.
struct InfoText {
  enum Colour { kYellow, kCyan } colour = kYellow;
  std::string text;
};
std::optional<InfoText> InfoTextOf(std::string_view productId, bool clockShown,
                                   const std::string& deviceTitle, const DeviceClock& clock,
                                   const std::string& serverAddress);
