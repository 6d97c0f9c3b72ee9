// ModelControlTable: one built-in row per controllable model (26 rows), each with the 68 tool
// keys of the main window: rectangle per layout class, flags, tool-tip, bitmap names, style
// and command. Built once from one compact description (per-key defaults, a grid per window
// size, the presence of keys per row and the few per-row exceptions) that the program and the
// skin generator both read, so every bitmap's size is its key's rectangle.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "res/tables/layout_table.h"

struct CtrlDeviceRecord;

inline constexpr int kModelRows = 26;
inline constexpr int kToolKeys = 68;

// wFlags bits.
inline constexpr uint16_t kKeyEnabled = 0x0001;
inline constexpr uint16_t kKeyPresent = 0x0002;
inline constexpr uint16_t kKeyReload = 0x0004;
inline constexpr uint16_t kKeyInactiveFaces = 0x0010;
inline constexpr uint16_t kKeySupervisorOnly = 0x0020;
inline constexpr uint16_t kKeyHighUserOrAbove = 0x0040;
inline constexpr uint16_t kKeyTipFirstHalf = 0x0080;
inline constexpr uint16_t kKeyTipSecondHalf = 0x0100;
inline constexpr uint16_t kKeyNoPtzProtocol = 0x0200;

// wBitmapStyle.
inline constexpr uint16_t kKeyStylePlain = 2;
inline constexpr uint16_t kKeyStyleTwoState = 64;

struct ControlKeyEntry {
  LayoutRect rcButton[4];  // layout classes 0-3
  uint16_t wFlags = 0;
  uint16_t wTipId = 0;
  // Three per layout (normal, highlighted, inactive) for a plain key; for a two-state key, for
  // layouts 0-1 and again for 2-3: off, off highlighted, on, on highlighted, two empty. Each a
  // "BMP\..." path.
  std::array<std::string, 12> szBitmap;
  uint16_t wBitmapStyle = kKeyStylePlain;
  uint16_t wCommandId = 0;
  uint32_t dwKeyIndex = 0;
};

struct ModelControlRow {
  std::array<ControlKeyEntry, kToolKeys> keys;
  const char* szModelName = "";
  uint32_t dwPanelFlags = 0;  // bit of value 2: a panel-less model
  uint32_t dwRowIndex = 0;
  const CtrlDeviceRecord* lpDeviceRecord = nullptr;  // linked from "CtrlFile.ini"
};

// The table (built on first use). The main window clears key flags of some rows for older
// firmware; nothing else writes it except the CtrlFile.ini link.
std::array<ModelControlRow, kModelRows>& ModelControlTable();
// Places the keys a row has (flag 0x02) on the grids of the four layouts; again after flags
// change, so that a removed key leaves no hole.
void PlaceToolKeys(ModelControlRow& row);
// The row of a model number; numbers past the table (reported by a device) give none.
ModelControlRow* ModelRowOf(uint32_t row);

// Every tool-key bitmap any row or skin set loads, once, with its size; the turbo faces of
// keys 30-33 and 54-58 included. For the skin generator and its checks.
struct ToolBitmap {
  std::string name;
  int32_t width;
  int32_t height;
};
std::vector<ToolBitmap> ToolKeyBitmaps();
