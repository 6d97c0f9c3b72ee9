// Every skin bitmap the program loads: its name as the program passes it (relative to the
// program's folder, Windows separators, letter case as loaded), its size and its drawer.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "res/skin/canvas.h"

struct SkinBitmap {
  std::string name;  // e.g. "BMP\\LOGIN\\spacer.bmp"
  int width = 0;
  int height = 0;
  std::function<Canvas()> draw;  // gives a picture of width x height
};

std::vector<SkinBitmap> SkinBitmaps();

// The name as a relative path with '/' separators, for writing beside the program.
std::string SkinFilePath(const std::string& name);
