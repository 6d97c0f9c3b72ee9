// The general page's texts and its device title and channel names (SYSTEM and RS485 blocks).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// "1052" -> "1.0.5.2"; a text of another length shows what it has, joined the same way.
std::string DottedFirmware(std::string_view firmware);
// "0011223344AA" -> "00:11:22:33:44:AA".
std::string ColonMac(std::string_view mac);
// The "MAX LOG LIST" edit after typing: its digits clamped to 0..2048; nothing for a text
// without digits.
bool FilterMaxLogList(std::string_view text, int* value);

inline constexpr size_t kTitleChars = 8;
inline constexpr size_t kChannelNameChars = 3;

struct GeneralGates {
  bool serverLog = true;      // the server-log button and its edit shown
  bool title = false;         // the title row shown and applied
  bool channelNames = false;  // the two channel-name rows shown and applied
};
GeneralGates GeneralGatesFor(std::string_view productId, std::string_view firmware);

struct GeneralValues {
  std::string title;  // as shown: at most 8 characters
  std::string ch1, ch2;
};

GeneralValues LoadGeneral(std::span<const uint8_t> system, std::span<const uint8_t> rs485,
                          const GeneralGates& gates);

struct GeneralStore {
  bool system = false;
  bool rs485 = false;
};
// Writes what the page changed: the title into DeviceTitle (16 bytes); the two channel names
// (each only when shorter than 4 characters) into TitleA and TitleB.
GeneralStore StoreGeneral(const GeneralValues& now, const GeneralValues& snapshot,
                          const GeneralGates& gates, std::span<uint8_t> system,
                          std::span<uint8_t> rs485);
