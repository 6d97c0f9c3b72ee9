// A tiny 5 x 7 bitmap font for the text drawn into the simulated pictures.
#pragma once

#include <array>
#include <cstdint>

namespace devsim {

inline constexpr int kGlyphWidth = 5;
inline constexpr int kGlyphHeight = 7;

// Seven rows, top first; bit 4 is the leftmost column.
using Glyph = std::array<uint8_t, kGlyphHeight>;

// Digits, letters (lower case drawn as upper case), blank and - : . / # ! _ ( ) + = , ?;
// any other byte is drawn as a hollow box.
const Glyph& GlyphFor(char c);

}  // namespace devsim
