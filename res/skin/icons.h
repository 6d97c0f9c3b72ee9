// Line icons drawn on a 24-unit grid and scaled into a square box of a bitmap.
#pragma once

#include "res/skin/canvas.h"

enum class Icon {
  kAddressBook,
  kSearch,
  kPlayer,
  kCopy,
  kUpload,
  kConnect,
  kCancel,
  kUser,
  kLock,
  kGlobe,
  kPort,
};

struct IconBox {
  float x = 0, y = 0;   // top-left corner of the square in pixels
  float size = 24;      // side in pixels
  float stroke = 1.8f;  // line width in pixels
};

// ink: the lines; paper: the surface under the icon, used to cut shapes out of filled parts.
void DrawIcon(Canvas& canvas, Icon icon, const IconBox& box, Rgb ink, Rgb paper);
