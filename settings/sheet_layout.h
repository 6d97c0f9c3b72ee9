// Where the settings sheet goes beside the main window, where its tree, title box, progress
// box and buttons lie, and how the progress bar is drawn. Portable: plain rectangles.
#pragma once

#include <cstdint>

struct SheetRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const SheetRect&) const = default;
};

struct SheetPlacement {
  int mainX, mainY;    // the main window's new top-left
  int sheetX, sheetY;  // the sheet's top-left
};

// The sheet beside the main window on a screen (work area) of screenWidth x screenHeight: to
// its right when both fit from the main window's place; else both centred as a pair; else the
// sheet alone centred (never above the screen's top).
SheetPlacement PlaceSheet(const SheetRect& main, int sheetWidth, int sheetHeight, int screenWidth,
                          int screenHeight);

// The boxes inside the sheet (client coordinates) from the page area, the tree width, the
// sheet's size and the screen scale (pixels per inch / 96).
struct SheetBoxes {
  SheetRect tree, progress, title;
};
SheetBoxes SheetBoxesFor(const SheetRect& pageArea, int treeWidth, int sheetWidth, int sheetHeight,
                         float scale);

// EXIT, APPLY and REBOOT in a client area of width x height.
struct SheetButtons {
  SheetRect exit, apply, reboot;
};
SheetButtons SheetButtonsFor(int width, int height, float scale);

// The progress bar in its box for value of total: the bar's length, the percentage and where
// its text goes (inside the bar's end above 50 %). A value above total counts as total; a zero
// total draws nothing.
struct ProgressDrawing {
  bool drawn = false;
  int barLength = 0;
  unsigned percent = 0;
  int textX = 0;
  bool textInsideBar = false;
};
ProgressDrawing DrawProgressIn(const SheetRect& box, int64_t value, int64_t total);
