#include "settings/sheet_layout.h"

SheetPlacement PlaceSheet(const SheetRect& main, int sheetWidth, int sheetHeight, int screenWidth,
                          int screenHeight) {
  const int mainWidth = main.Width();
  const int mainHeight = main.Height();
  if (main.left + mainWidth + sheetWidth <= screenWidth) {
    return {main.left, main.top, main.left + mainWidth - 2, main.top};
  }
  if (mainWidth + sheetWidth <= screenWidth) {
    const int x = (screenWidth - (mainWidth + sheetWidth)) / 2;
    const int y = (screenHeight - mainHeight) / 2;
    return {x, y, x + mainWidth - 2, y};
  }
  const int x = (screenWidth - sheetWidth) / 2;
  int y = (screenHeight - sheetHeight) / 2;
  if (y < 0) y = 0;
  return {main.left, main.top, x, y};
}

SheetBoxes SheetBoxesFor(const SheetRect& page, int treeWidth, int sheetWidth, int sheetHeight,
                         float scale) {
  SheetBoxes b;
  b.tree = {page.left, page.top, page.left + treeWidth - 5,
            page.bottom + static_cast<int>(scale * 28)};
  b.progress = {b.tree.right + 15, page.bottom + 15, sheetWidth - 15, page.bottom + 40};
  b.title = {page.left + 2, b.tree.bottom + 10, b.tree.right - 2, sheetHeight - 40};
  return b;
}

SheetButtons SheetButtonsFor(int width, int height, float scale) {
  const int top = height - static_cast<int>(27 * scale);
  const int w = static_cast<int>(80 * scale);
  const int h = static_cast<int>(22 * scale);
  auto at = [&](float fromRight) {
    const int left = width - static_cast<int>(fromRight * scale);
    return SheetRect{left, top, left + w, top + h};
  };
  return {at(340), at(100), at(220)};
}

ProgressDrawing DrawProgressIn(const SheetRect& box, int64_t value, int64_t total) {
  ProgressDrawing d;
  if (total <= 0) return d;
  if (value < 0) value = 0;
  if (value > total) value = total;
  d.drawn = true;
  d.barLength = static_cast<int>(value * (box.Width() - 4) / total);
  d.percent = static_cast<unsigned>(value * 100 / total);
  d.textInsideBar = d.percent > 50;
  d.textX = d.textInsideBar ? box.left + d.barLength - 43 : box.left + d.barLength + 4;
  return d;
}
