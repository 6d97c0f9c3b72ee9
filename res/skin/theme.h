// The skin's colours: flat dark surfaces, slate lines, one teal accent.
#pragma once

#include "res/skin/canvas.h"

namespace theme {

inline constexpr Rgb kPanel = Hex(0x1E2228);      // window surface
inline constexpr Rgb kTitleBar = Hex(0x171A1F);   // caption band
inline constexpr Rgb kCard = Hex(0x242931);       // grouped controls
inline constexpr Rgb kBorder = Hex(0x3A4350);     // window frame
inline constexpr Rgb kDivider = Hex(0x2C333C);    // separators, card edges
inline constexpr Rgb kText = Hex(0xE6EAEE);       // titles
inline constexpr Rgb kMutedText = Hex(0x8A95A3);  // captions, version
inline constexpr Rgb kFaint = Hex(0x5C6672);      // footer

inline constexpr Rgb kAccent = Hex(0x1FB5A8);  // teal
inline constexpr Rgb kAccentLight = Hex(0x5ED3C8);
inline constexpr Rgb kAccentDark = Hex(0x14877D);
inline constexpr Rgb kDanger = Hex(0xE0626E);  // cancel
inline constexpr Rgb kDangerLight = Hex(0xF08A94);

// Buttons.
inline constexpr Rgb kFace = Hex(0x2A3039);
inline constexpr Rgb kFaceEdge = Hex(0x3B434E);
inline constexpr Rgb kFaceHover = Hex(0x363E49);
inline constexpr Rgb kIcon = Hex(0xC9D1DA);
inline constexpr Rgb kIconHover = Hex(0xFFFFFF);
inline constexpr Rgb kIconPressed = Hex(0x0F1417);

// Status field (the program draws its text in blue on it).
inline constexpr Rgb kStatusField = Hex(0xDCE3E9);
inline constexpr Rgb kStatusEdge = Hex(0xAEB9C4);
// The progress bar colour the program fills its bar with.
inline constexpr Rgb kProgressBar = {157, 216, 244};

}  // namespace theme
