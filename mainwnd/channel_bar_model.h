// The channel bar's decisions: button definitions per family, paging, where each button goes in a
// display mode, and what a switch or a reported channel changes. No window is touched here.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum ChannelButtonKind : uint32_t {
  kChannelButton = 1,
  kChannelLeftArrow = 2,
  kChannelRightArrow = 4,
};

struct ChannelButtonDef {
  uint16_t wWidth;
  uint16_t wHeight;
  uint32_t dwKind;
  uint16_t wTipId;
  std::string szBitmap[4];  // face, highlighted face, pressed-state face, its highlighted face
  uint16_t wId;
};

inline constexpr uint16_t kChannelDvrId = 8410;  // "DVR", then inputs 8411-8426
inline constexpr uint16_t kChannelLeftId = 8427;
inline constexpr uint16_t kChannelRightId = 8428;
inline constexpr int kChannelBarTop = 32;
inline constexpr int kChannelArrowTop = 37;

enum class ChannelBarFamily { kNone, kRZ1K, kRZ3K, kRZ4K, kRZ2K };

// The tool-tip text of a channel bar control id; empty for other ids.
std::string ChannelBarTipText(uint16_t id);

class ChannelBarModel {
 public:
  struct Placement {
    bool visible;
    int x, y, width, height;
  };

  // Chooses the definitions for the device and clamps the selected channel (0 for the
  // multi-channel recorders, 1 for RZ2K when out of range). The RZM family changes nothing;
  // other devices get no bar.
  void Init(std::string_view productId, uint8_t multiChannel, uint8_t& selectedChannel);

  bool Active() const { return m_fActive; }
  ChannelBarFamily Family() const { return m_family; }
  bool MultiChannelRecorder() const {
    return m_family == ChannelBarFamily::kRZ1K || m_family == ChannelBarFamily::kRZ3K ||
           m_family == ChannelBarFamily::kRZ4K;
  }
  const std::vector<ChannelButtonDef>& Buttons() const { return m_Buttons; }
  uint8_t CurrentChannel() const { return m_byCurrentChannel; }
  uint8_t FirstChannel() const { return m_byFirstChannel; }

  // The state of button i: 0 lit (its channel is shown), 1 not.
  int ButtonState(size_t i) const;
  // Where each button goes (multi-channel recorders by page; RZ2K fixed).
  std::vector<Placement> Relayout(uint8_t displayMode) const;
  uint8_t GetPageStart(uint8_t first, uint8_t displayMode) const;
  uint8_t GetPageSize(uint8_t displayMode) const;
  int GetChannelCount() const;
  // true when the page changed (then re-lay out).
  bool PrevPage(uint8_t displayMode);
  bool NextPage(uint8_t displayMode);

  // Whether asking the device for channel n makes sense now.
  bool ShouldSwitch(uint8_t channel) const;
  // The stream reports channel n: true when something changes; then selectedChannel is n and
  // groupPosition the channel-group position to make current (none for other devices).
  bool SetCurrentChannel(uint8_t channel, uint8_t& selectedChannel,
                         std::optional<uint8_t>& groupPosition);

 private:
  static bool Narrow(uint8_t displayMode) { return displayMode == 1 || displayMode == 3; }

  ChannelBarFamily m_family = ChannelBarFamily::kNone;
  bool m_fActive = false;
  uint8_t m_byCurrentChannel = 0;
  uint8_t m_byFirstChannel = 0;
  uint16_t m_wStartX = 0;
  uint16_t m_wLimitNarrow = 0;
  uint16_t m_wLimitWide = 0;
  std::vector<ChannelButtonDef> m_Buttons;
};
