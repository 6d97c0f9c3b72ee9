#include "mainwnd/main_window_rules.h"

#include <cstdio>
#include <cstring>

#include "net/device_family.h"
#include "text/digit_text.h"
#include "session/relogin_schedule.h"

namespace {
bool Older(std::string_view firmware, std::string_view threshold) {
  return CompareVersionString(threshold, firmware) == 2;
}
}  // namespace

bool PlanModelLayout(std::string_view productId, uint8_t multiChannel, ModelLayoutPlan* plan) {
  if (IsRZKSeriesProduct(productId))
    *plan = multiChannel ? PlanOfFamily(2, 7) : PlanOfFamily(1, 6);
  else if (IsRZ2KProduct(productId) || IsRZ8PProduct(productId))
    *plan = PlanOfFamily(2, 7);
  else if (IsRZMSeriesProduct(productId))
    *plan = PlanOfFamily(4, 7);
  else
    return false;
  return true;
}

KeyShow ShowRuleA(uint16_t flags, uint16_t userLevel, uint8_t levelCode) {
  KeyShow s;
  if (!(flags & kKeyPresent)) return s;
  s.placed = true;
  if (flags & kKeySupervisorOnly)
    s.visible = userLevel == 30;
  else if (flags & kKeyHighUserOrAbove)
    s.visible = levelCode >= 30;
  else
    s.visible = true;
  s.enabled = (flags & kKeyEnabled) != 0;
  return s;
}

KeyShow ShowRuleB(uint16_t flags, uint8_t levelCode) {
  KeyShow s;
  if (!(flags & kKeyPresent)) return s;
  s.placed = true;
  if (flags & kKeySupervisorOnly)
    s.visible = levelCode >= 60;
  else if (flags & kKeyHighUserOrAbove)
    s.visible = levelCode >= 40;
  else
    s.visible = true;
  s.enabled = (flags & kKeyEnabled) != 0;
  return s;
}

PanelPlan PlanPanelForDevice(bool panelLessModel, bool panelOpen, bool mayOpen, bool mayClose) {
  PanelPlan p;
  if (panelLessModel && panelOpen) {
    p.closePanel = true;
  } else if (panelLessModel) {
    p.keys = KeyRule::kRuleB;
    p.showCloseButton = mayClose;
  } else if (panelOpen) {
    p.keys = KeyRule::kRuleA;
    p.showCloseButton = mayClose;
  } else {
    p.showOpenButton = mayOpen;
  }
  return p;
}

FullScreenExitPlan PlanFullScreenExit(bool panelLessModel, bool panelOpen, bool mayOpen,
                                      bool mayClose) {
  FullScreenExitPlan p;
  if (panelOpen) {
    p.applyAccess = true;
    if (panelLessModel) {
      p.closePanel = true;
    } else {
      p.panelShape = true;
      p.showCloseButton = mayClose;
      p.keys = KeyRule::kRuleA;
    }
    return p;
  }
  p.showOpenButton = mayOpen && !panelLessModel;
  // A panel-less model shows its keys in the closed window, as before full screen.
  if (panelLessModel) p.keys = KeyRule::kRuleB;
  return p;
}

KeyTip TipOfKey(const ControlKeyEntry& entry) {
  if (entry.wFlags & kKeyTipFirstHalf) return {KeyTip::kFirstHalf, entry.wCommandId};
  if (entry.wFlags & kKeyTipSecondHalf) return {KeyTip::kSecondHalf, entry.wCommandId};
  return {KeyTip::kStringId, entry.wTipId};
}

int PanelTipHalf(uint16_t commandId, const PanelTipState& s) {
  switch (commandId) {
    case 8312:
      return s.ptzCurrent ? 0 : 1;
    case 8310:
      return s.turboOn ? 0 : 1;
    case 8331:
      return s.retrOn ? 0 : 1;
    case 8356:
      return s.presetMode ? 1 : 0;
    default:
      return -1;
  }
}

int CurrentControlEntry(std::string_view productId, uint8_t multiChannel, uint8_t selectedChannel) {
  return ReloginControlEntryIndex(productId, multiChannel, selectedChannel);
}

int RemoveUnsupportedKeys(std::array<ModelControlRow, kModelRows>& table,
                          std::string_view productId, std::string_view firmware,
                          uint8_t multiChannel) {
  if (!IsRZKSeriesProduct(productId)) return 0;
  int changed = 0;
  auto clear = [&](int row, int key) {
    uint16_t& f = table[row].keys[key].wFlags;
    if (f) ++changed;
    f = 0;
  };
  if (Older(firmware, "1078"))
    for (int row : {14, 19, 20, 21, 22, 23}) clear(row, 25);
  if (multiChannel)
    for (int row : {11, 17, 18, 25}) clear(row, 60);
  // The keys left close up.
  if (changed)
    for (ModelControlRow& row : table) PlaceToolKeys(row);
  return changed;
}

bool RewriteAlarmSource(std::string_view productId, std::string_view firmware, uint8_t* alarmBlock,
                        uint32_t size) {
  if (!IsRZ2KProduct(productId) || Older(firmware, "1010") || size < 10) return false;
  if (alarmBlock[9] != 0) return false;
  alarmBlock[9] = 12;
  return true;
}

bool RewriteModelName(uint8_t* infBlock, uint32_t size) {
  constexpr uint32_t kOffset = 24, kLength = 8;
  if (size < kOffset + kLength) return false;
  uint8_t* name = infBlock + kOffset;
  if (std::memcmp(name, "TRV-941", 7) != 0) return false;
  std::memset(name, 0, kLength);
  std::memcpy(name, "TRV-941", 7);
  return true;
}

std::string DeviceTitleOf(const uint8_t* systemBlock, uint32_t size) {
  constexpr uint32_t kOffset = 20, kLength = 16;
  if (size < kOffset + kLength) return {};
  const char* p = reinterpret_cast<const char*>(systemBlock + kOffset);
  return std::string(p, strnlen(p, kLength));
}

uint8_t HotPointModeOf(uint32_t modelRow, std::string_view productId, std::string_view firmware,
                       uint32_t capabilityMask) {
  if (modelRow != 11 && modelRow != 18) return 1;
  if (IsRZKSeriesProduct(productId) && !Older(firmware, "1035") &&
      !TestDeviceMaskBit(2, capabilityMask))
    return 1;
  return 2;
}

LoginStatusEffect LoginStatusEffectOf(uintptr_t wParam, intptr_t lParam) {
  LoginStatusEffect e;
  switch (lParam) {
    case 0: {
      const int seconds = static_cast<int>(wParam);
      e.kind = LoginStatusEffect::kText;
      e.text =
          "ESCAPED TIME:  " + FormatTwoDigits(seconds / 60) + ":" + FormatTwoDigits(seconds % 60);
      break;
    }
    case 1:
      e.kind = LoginStatusEffect::kText;
      e.text = "Start login";
      break;
    case 2:
      e.kind = LoginStatusEffect::kText;
      e.text = "Server is too busy!! Try later !!";
      break;
    case 3:
      e.kind = LoginStatusEffect::kText;
      e.text = "Login process is failed,wait a moment !!";
      break;
    case 5:
    case 6:
      e.kind = LoginStatusEffect::kConnectState;
      e.state = lParam == 5 ? 0 : 1;
      break;
    case 7:
      e.kind = LoginStatusEffect::kText;
      e.text = "System relogin too many user.Wait for 40 sec!!\nApplication will try again.";
      break;
    case 8:
      e.kind = LoginStatusEffect::kRepaint;
      break;
    default:
      break;
  }
  return e;
}

std::optional<InfoText> InfoTextOf(std::string_view productId, bool clockShown,
                                   const std::string& deviceTitle, const DeviceClock& clock,
                                   const std::string& serverAddress) {
  if (IsRZKSeriesProduct(productId)) {
    if (clockShown && !deviceTitle.empty()) return InfoText{InfoText::kYellow, deviceTitle};
  } else if (clockShown) {
    char text[48];
    std::snprintf(text, sizeof text, "%.4d/%.2d/%.2d %.2d:%.2d:%.2d", clock.year, clock.month,
                  clock.day, clock.hour, clock.minute, clock.second);
    return InfoText{InfoText::kYellow, text};
  }
  if (serverAddress.empty() || IsIpAddressText(serverAddress) != 2) return std::nullopt;
  int n[4] = {0, 0, 0, 0};
  std::sscanf(serverAddress.c_str(), "%d.%d.%d.%d", &n[0], &n[1], &n[2], &n[3]);
  char text[48];
  std::snprintf(text, sizeof text, "IP:%d.%d.%d.%d", n[0], n[1], n[2], n[3]);
  return InfoText{InfoText::kCyan, text};
}
