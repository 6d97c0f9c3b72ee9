// A small bitmap font: 7 pixels high, 5 wide for most glyphs; upper-case letters, digits and a
// few signs, plus "v".  Drawn pixel for pixel, so it stays crisp at its size.
#pragma once

#include <string_view>

#include "res/skin/canvas.h"

inline constexpr int kFontHeight = 7;

// Whether every character of the text has a glyph.
bool FontHasGlyphs(std::string_view text);
// Width in pixels, with spacing pixels between glyphs.
int TextWidth(std::string_view text, int spacing = 1);
// Draws the text with its top-left corner at (x, y).  A character without a glyph is drawn as
// a filled box, so that it shows.
void DrawText(Canvas& canvas, int x, int y, std::string_view text, Rgb colour, int spacing = 1);
