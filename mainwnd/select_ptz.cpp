#include "mainwnd/select_ptz.h"

SelectPtzStart SelectPtzStartOf(const C_ControlD& list) {
  return {list.IsCurrentChannelDevice() != 0, list.GetCurrentChannelIndex() + 1};
}

PixelRect SelectPtzCancelPlace(float scale) {
  auto scaled = [scale](int v) { return static_cast<int>(static_cast<float>(v) * scale); };
  return {scaled(172), scaled(42), scaled(98), scaled(37)};
}
