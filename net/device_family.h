// Device family predicates, capability tests and the firmware version compare.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

// The Product-IDs the client accepts, compared whole, exactly and with case.
inline constexpr std::array<std::string_view, 8> ProductIdTable = {"RZ1K", "RZ2K", "RZ3K", "RZ4K",
                                                                   "RZ5M", "RZ6M", "RZ7M", "RZ8P"};

// Exactly one of the four is true for each accepted Product-ID, none for any other text.
bool IsRZKSeriesProduct(std::string_view productId);
bool IsRZ2KProduct(std::string_view productId);
bool IsRZ8PProduct(std::string_view productId);
bool IsRZMSeriesProduct(std::string_view productId);

// The device's MULTICH value; callers treat nonzero as true.
uint8_t IsMultiChannelDevice(uint8_t byMultiChannel);

// 1 when mask and the device capability mask share a set bit, else 0.
int TestDeviceMaskBit(uint32_t mask, uint32_t dwDeviceCapabilityMask);

// Peripheral codes by list position.
inline constexpr std::array<uint8_t, 11> CodeTable = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 25};

// Position of the first entry equal to code; 0 when none is.
uint8_t CodeTableIndexOf(uint8_t code);
// Code at position 0-10; 0 for any other position.
uint8_t CodeTableValueAt(uint8_t position);

// Compares two four-character version texts character by character (as signed 8-bit codes):
// 2 when threshold is greater, 1 when it is smaller, 0 when equal, -1 when either is not four
// characters long. Feature gates pass a threshold literal first and the device's version
// second and treat 2 as "the device's firmware is older than the threshold".
int CompareVersionString(std::string_view threshold, std::string_view version);
