// Header check of a firmware file: "maker;version;model;" within its first 100 bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

inline constexpr int kFirmwareHeaderAccepted = 0;
inline constexpr int kFirmwareHeaderOtherDevice = -1;
inline constexpr int kFirmwareHeaderNotNewer = -2;

// 0 when the maker is "KELVRA", the model "RZ2KS" and the version greater than
// deviceVersion (compared as CompareVersionString does), storing the header length (up to
// and including the third ';') in headerLength; -1 when the header is missing or for another
// device; -2 when the file is not newer. unused is ignored.
int CheckFirmwareFileHeader(const uint8_t* data, size_t size, int unused, uint32_t* headerLength,
                            std::string_view deviceVersion);
