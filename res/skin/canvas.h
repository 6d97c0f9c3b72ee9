// A 24-bit RGB picture in memory, top row first.
#pragma once

#include <cstdint>
#include <vector>

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

// 0xRRGGBB.
constexpr Rgb Hex(std::uint32_t v) {
  return {static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 8),
          static_cast<std::uint8_t>(v)};
}

// a moved toward b by t (0: a, 1: b).
Rgb Mix(Rgb a, Rgb b, float t);

class Canvas {
 public:
  Canvas(int width, int height, Rgb fill = {});

  int Width() const { return m_width; }
  int Height() const { return m_height; }
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < m_width && y < m_height; }

  Rgb Get(int x, int y) const { return m_pixels[Index(x, y)]; }
  void Set(int x, int y, Rgb c) {
    if (Contains(x, y)) m_pixels[Index(x, y)] = c;
  }
  // Lays c over the pixel with the given opacity (0 to 1).
  void Blend(int x, int y, Rgb c, float alpha);
  void Fill(Rgb c);

  Canvas Crop(int x, int y, int width, int height) const;
  void Paste(const Canvas& src, int x, int y);

 private:
  std::size_t Index(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) +
           static_cast<std::size_t>(x);
  }

  int m_width;
  int m_height;
  std::vector<Rgb> m_pixels;
};
