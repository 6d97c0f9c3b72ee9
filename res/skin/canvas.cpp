#include "res/skin/canvas.h"

#include <algorithm>
#include <cmath>

Rgb Mix(Rgb a, Rgb b, float t) {
  t = std::clamp(t, 0.0f, 1.0f);
  auto channel = [t](std::uint8_t x, std::uint8_t y) {
    return static_cast<std::uint8_t>(std::lround(x + (y - x) * t));
  };
  return {channel(a.r, b.r), channel(a.g, b.g), channel(a.b, b.b)};
}

Canvas::Canvas(int width, int height, Rgb fill)
    : m_width(std::max(width, 0)),
      m_height(std::max(height, 0)),
      m_pixels(static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height), fill) {}

void Canvas::Blend(int x, int y, Rgb c, float alpha) {
  if (!Contains(x, y) || alpha <= 0.0f) return;
  Rgb& p = m_pixels[Index(x, y)];
  p = alpha >= 1.0f ? c : Mix(p, c, alpha);
}

void Canvas::Fill(Rgb c) {
  std::fill(m_pixels.begin(), m_pixels.end(), c);
}

Canvas Canvas::Crop(int x, int y, int width, int height) const {
  Canvas out(width, height);
  for (int j = 0; j < out.m_height; ++j) {
    for (int i = 0; i < out.m_width; ++i) {
      if (Contains(x + i, y + j)) out.Set(i, j, Get(x + i, y + j));
    }
  }
  return out;
}

void Canvas::Paste(const Canvas& src, int x, int y) {
  for (int j = 0; j < src.m_height; ++j) {
    for (int i = 0; i < src.m_width; ++i) Set(x + i, y + j, src.Get(i, j));
  }
}
