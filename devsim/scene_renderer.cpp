#include "devsim/scene_renderer.h"

#include <algorithm>
#include <cstdio>

#include "devsim/bitmap_font.h"

namespace devsim {
namespace {

struct Rgb {
  uint8_t r, g, b;
};

void FillRect(RgbImage& img, int x0, int y0, int w, int h, Rgb c) {
  int x1 = std::min(img.width, x0 + w), y1 = std::min(img.height, y0 + h);
  x0 = std::max(0, x0);
  y0 = std::max(0, y0);
  for (int y = y0; y < y1; ++y) {
    uint8_t* p = img.pixels.data() + (static_cast<size_t>(y) * img.width + x0) * 3;
    for (int x = x0; x < x1; ++x, p += 3) {
      p[0] = c.r;
      p[1] = c.g;
      p[2] = c.b;
    }
  }
}

int TextWidth(const std::string& text, int scale) {
  return static_cast<int>(text.size()) * (kGlyphWidth + 1) * scale;
}

int TextHeight(int scale) {
  return kGlyphHeight * scale;
}

// Text on a dark box with a margin of one scaled pixel.
void DrawLabel(RgbImage& img, int x, int y, const std::string& text, int scale, Rgb ink) {
  FillRect(img, x - scale, y - scale, TextWidth(text, scale) + scale, TextHeight(scale) + 2 * scale,
           {16, 16, 24});
  for (char c : text) {
    const Glyph& g = GlyphFor(c);
    for (int row = 0; row < kGlyphHeight; ++row) {
      for (int col = 0; col < kGlyphWidth; ++col) {
        if (g[row] & (0x10 >> col)) {
          FillRect(img, x + col * scale, y + row * scale, scale, scale, ink);
        }
      }
    }
    x += (kGlyphWidth + 1) * scale;
  }
}

// A triangle wave 0..255..0 with period 512.
uint8_t Triangle(int64_t v) {
  int t = static_cast<int>(((v % 512) + 512) % 512);
  return static_cast<uint8_t>(t < 256 ? t : 511 - t);
}

// Position 0..range..0 bouncing with the given period.
int Bounce(int64_t ms, int64_t period_ms, int range) {
  if (range <= 0) return 0;
  int64_t t = ms % period_ms;
  int64_t half = period_ms / 2;
  int64_t pos = t < half ? t * range / half : (period_ms - t) * range / half;
  return static_cast<int>(pos);
}

void DrawPattern(RgbImage& img, int64_t ms) {
  int64_t phase = ms / 8;
  std::vector<uint8_t> red(static_cast<size_t>(img.width));
  for (int x = 0; x < img.width; ++x) red[x] = Triangle(x * 512 / img.width + phase);
  for (int y = 0; y < img.height; ++y) {
    uint8_t green = Triangle(y * 512 / img.height + phase / 2);
    uint8_t* p = img.pixels.data() + static_cast<size_t>(y) * img.width * 3;
    for (int x = 0; x < img.width; ++x, p += 3) {
      p[0] = red[x];
      p[1] = green;
      p[2] = 96;
    }
  }
  int box = std::max(8, img.height / 4);
  int bx = Bounce(ms, 4000, img.width - box);
  int by = Bounce(ms, 2600, img.height - box);
  FillRect(img, bx, by, box, box, {0, 0, 0});
  FillRect(img, bx + 2, by + 2, box - 4, box - 4, {240, 240, 240});
}

std::string ChannelText(uint8_t channel) {
  char text[16];
  if (channel == 0)
    std::snprintf(text, sizeof text, "DVR");
  else
    std::snprintf(text, sizeof text, "CH %02u", static_cast<unsigned>(channel));
  return text;
}

}  // namespace

std::string TitleText(const TitleBytes& title) {
  std::string text;
  for (uint8_t b : title) {
    if (b == 0) break;
    text += static_cast<char>(b);
  }
  return text;
}

RgbImage RenderScene(const SceneContent& content, const SceneMoment& moment) {
  RgbImage img;
  img.width = content.size.width;
  img.height = content.size.height;
  img.pixels.assign(static_cast<size_t>(img.width) * img.height * 3, 0);
  int scale = img.height >= 200 ? 2 : 1;
  int margin = 3 * scale;
  Rgb ink{255, 255, 80};

  if (content.no_picture) {
    FillRect(img, 0, 0, img.width, img.height, {20, 20, 28});
    std::string loss = "VIDEO LOSS";
    int big = scale * 2;
    DrawLabel(img, (img.width - TextWidth(loss, big)) / 2, (img.height - TextHeight(big)) / 2, loss,
              big, {255, 80, 80});
  } else {
    DrawPattern(img, moment.tick_ms);
  }

  std::string clock = FormatClock(moment.clock);
  std::string channel = ChannelText(content.channel);
  char tick[24];
  std::snprintf(tick, sizeof tick, "#%06llu",
                static_cast<unsigned long long>(moment.tick % 1000000));
  int bottom = img.height - margin - TextHeight(scale);
  DrawLabel(img, margin, margin, clock, scale, ink);
  DrawLabel(img, img.width - margin - TextWidth(channel, scale), margin, channel, scale, ink);
  DrawLabel(img, margin, bottom, TitleText(content.title), scale, ink);
  DrawLabel(img, img.width - margin - TextWidth(tick, scale), bottom, tick, scale, ink);
  return img;
}

}  // namespace devsim
