// The main buttons (connect, resolution, quality, colour, snapshot, record, system
// configuration): MainButtonTable and the pure half of CModelLayout, where the buttons sit,
// which faces a user class sees and which one a state flag names. Shared by the main window and
// the skin generator.
#pragma once

#include <array>
#include <cstdint>

#include "res/tables/layout_table.h"

inline constexpr int kMainButtonRecords = 7;
inline constexpr int kMainButtonFaces = 6;  // names per layout (all layouts repeat them)

// Bitmap styles of the records.
inline constexpr uint8_t kMainStyleThreeFaces = 1;
inline constexpr uint8_t kMainStyleStateClick = 16;
inline constexpr uint8_t kMainStylePressFaces = 32;
inline constexpr uint8_t kMainStyleTwoState = 64;

struct MainButtonRecord {
  LayoutRect rcButton[4];  // per layout class 0-3
  uint16_t wFamilyMask;
  uint16_t wTipId;
  const char* szAllowed[kMainButtonFaces];  // "BMP\..." paths; empty: none
  const char* szDenied[kMainButtonFaces];
  uint8_t byStyle;
  uint8_t byClassMask;  // bit c: class c may press it
  uint16_t wControlId;
  uint32_t dwIndex;
  uint32_t dwFlag;
};

extern const MainButtonRecord MainButtonTable[kMainButtonRecords];

// The buttons of a family: count and the record of each, in order.
struct ModelLayoutPlan {
  uint8_t byButtonCount = 0;
  uint8_t byFamilyMask = 0;
  std::array<uint8_t, kMainButtonRecords> records{};
};

// The plan of the records whose family mask shares a bit with familyMask, at most count.
ModelLayoutPlan PlanOfFamily(uint8_t familyMask, uint8_t count);

// Button i's rectangle: the row is right-aligned on record 0's rectangle of the class.
LayoutRect MainButtonRect(const ModelLayoutPlan& plan, int i, uint8_t layoutClass);

// The faces button i loads for a user class: whether the class may press it, the face names
// ("BMP\..." paths) and the number of states (0 for the three-face styles).
struct MainButtonFaces {
  bool allowed = false;
  int stateCount = 0;
  int nameCount = 0;
  std::array<const char*, kMainButtonFaces> names{};
};
MainButtonFaces FacesOfMainButton(const MainButtonRecord& record, uint8_t accessClass);

// The button whose record's flag shares a bit with flag, or -1.
int MainButtonIndexOfFlag(const ModelLayoutPlan& plan, uint32_t flag);
