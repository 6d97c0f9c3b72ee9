#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "ui/cross_marker.h"
#include "text/digit_text.h"
#include "text/path_text.h"
#include "text/picker_format.h"
#include "text/text_bytes.h"

namespace {

using Bytes = std::vector<uint8_t>;

TEST(HexStringToBytes, ConvertsPairsAfterRemovingSeparators) {
  uint8_t out[6] = {};
  EXPECT_EQ(HexStringToBytes("0a:1B:ff:00:10:20", out, 6, ':'), 1);
  EXPECT_EQ(Bytes(out, out + 6), (Bytes{0x0A, 0x1B, 0xFF, 0x00, 0x10, 0x20}));
}

TEST(HexStringToBytes, WritesNoMoreThanTheOutputSizeAndIgnoresAnOddLastCharacter) {
  uint8_t out[4] = {0xEE, 0xEE, 0xEE, 0xEE};
  HexStringToBytes("1122334455", out, 2, '-');
  EXPECT_EQ(Bytes(out, out + 4), (Bytes{0x11, 0x22, 0xEE, 0xEE}));
  HexStringToBytes("ABC", out, 4, '-');
  EXPECT_EQ(Bytes(out, out + 4), (Bytes{0xAB, 0x22, 0xEE, 0xEE}));
}

TEST(CheckMacString, AcceptsTwelveHexDigitsOnly) {
  uint8_t out[6];
  EXPECT_EQ(CheckMacString("0012ab34CD56", out), 1);
  EXPECT_EQ(Bytes(out, out + 6), (Bytes{0x00, 0x12, 0xAB, 0x34, 0xCD, 0x56}));

  // A wrong length leaves the output untouched; a bad character leaves it zero.
  for (const char* wrongLength : {"00:12:AB:34:CD:56", "0012AB34CD5", ""}) {
    std::fill(out, out + 6, 0x77);
    EXPECT_EQ(CheckMacString(wrongLength, out), 0) << wrongLength;
    EXPECT_EQ(Bytes(out, out + 6), Bytes(6, 0x77)) << wrongLength;
  }
  std::fill(out, out + 6, 0x77);
  EXPECT_EQ(CheckMacString("0012AB34CD5G", out), 0);
  EXPECT_EQ(Bytes(out, out + 6), Bytes(6, 0));
  EXPECT_EQ(CheckMacString("0012AB34CD56", nullptr), 0);
}

TEST(SplitToNumbers, DottedTextsToBytes) {
  struct Case {
    const char* text;
    int result;
    Bytes bytes;
  } const cases[] = {
      {"192.168.1.10", 1, {192, 168, 1, 10}},
      {"10..5", 1, {10, 5, 0, 0}},
      {"", 0, {0, 0, 0, 0}},
      {".", 0, {0, 0, 0, 0}},
      {"300.1.2.3", 1, {44, 1, 2, 3}},
      {"1.2.3.4.5.6", 1, {1, 2, 3, 4}},
      {" 7x.-1.+2.abc", 1, {7, 255, 2, 0}},
      {"99999999999999999999.1", 1, {255, 1, 0, 0}},  // low 8 bits of 10^20 - 1
  };
  for (const auto& c : cases) {
    uint8_t out[4] = {0xEE, 0xEE, 0xEE, 0xEE};
    EXPECT_EQ(SplitToNumbers(c.text, out, 4, "."), c.result) << c.text;
    EXPECT_EQ(Bytes(out, out + 4), c.bytes) << c.text;
  }
}

TEST(FilterDigitText, KeepsDigitsAndOneLeadingMinusInModeZero) {
  struct Case {
    std::string text;
    uint8_t mode;
    int result;
    std::string after;
  } const cases[] = {
      {"12a-3 4", 1, 1, "1234"},
      {"-12-3", 0, 1, "-123"},
      {"a-5", 0, 1, "-5"},
      {"--5", 0, 1, "-5"},
      {"-12", 1, 1, "12"},
      {"", 1, 1, ""},
      {std::string(255, '7'), 1, 1, std::string(255, '7')},
      {std::string(256, 'a'), 1, 0, std::string(256, 'a')},
  };
  for (const auto& c : cases) {
    std::string text = c.text;
    EXPECT_EQ(FilterDigitText(text, c.mode), c.result) << c.text;
    EXPECT_EQ(text, c.after) << c.text;
  }
}

TEST(FormatTwoDigits, RemainderOfHundredWithLeadingZero) {
  const std::pair<int, const char*> cases[] = {{0, "00"}, {9, "09"},    {10, "10"}, {199, "99"},
                                               {7, "07"}, {2007, "07"}, {45, "45"}};
  for (const auto& [n, text] : cases) EXPECT_EQ(FormatTwoDigits(n), text) << n;
}

TEST(WholeMonthFormat, WidensOnlyThreeLetterMonthFieldsOutsideLiterals) {
  const struct {
    const char* format;
    const char* widened;
  } cases[] = {
      {"yyyy - MMM - dd", "yyyy - MMMM - dd"},
      {"MMM - dd - yyyy", "MMMM - dd - yyyy"},
      {"dd - MMM - yyyy", "dd - MMMM - yyyy"},
      {"yyyy / MM / dd", "yyyy / MM / dd"},
      {"MMMM M MM", "MMMM M MM"},
      {"'MMM' MMM", "'MMM' MMMM"},
      {"HH : mm : ss", "HH : mm : ss"},
      {"MMMMM", "MMMMM"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(WholeMonthFormat(c.format), c.widened) << c.format;
}

TEST(DirectoryOfPath, UpToTheLastBackslash) {
  const std::pair<const char*, const char*> cases[] = {{"C:\\rec\\file.jpg", "C:\\rec"},
                                                       {"file.jpg", ""},
                                                       {"\\file.jpg", ""},
                                                       {"", ""},
                                                       {"C:\\a\\b\\", "C:\\a\\b"}};
  for (const auto& [path, folder] : cases) {
    std::string out = "stale";
    EXPECT_EQ(DirectoryOfPath(path, out), 1);
    EXPECT_EQ(out, folder) << path;
  }
}

// A frame with one spare byte on each side, so writes outside it show.
class CrossMarkerTest : public ::testing::Test {
 protected:
  static constexpr uint32_t kRed = 0xFF0000;

  void Make(uint16_t w, uint16_t h) {
    width = w;
    height = h;
    storage.assign(static_cast<size_t>(w) * h * 3 + 2, 0x11);
  }
  uint8_t* Pixels() { return storage.data() + 1; }
  bool IsRed(int col, int row) const {
    const uint8_t* p = storage.data() + 1 + (static_cast<size_t>(row) * width + col) * 3;
    return p[0] == 0x00 && p[1] == 0x00 && p[2] == 0xFF;
  }
  int CountRed() const {
    int n = 0;
    for (int r = 0; r < height; ++r)
      for (int c = 0; c < width; ++c) n += IsRed(c, r);
    return n;
  }
  bool GuardsIntact() const { return storage.front() == 0x11 && storage.back() == 0x11; }

  std::vector<uint8_t> storage;
  uint16_t width = 0, height = 0;
};

TEST_F(CrossMarkerTest, FullMarkerShape) {
  Make(40, 40);
  EXPECT_EQ(DrawCrossMarker(Pixels(), 40, 40, kRed, 2, 20, 20, 0, 0), 1);
  const int r = 40 - 20;
  // Expected set: the 3-thick arms plus the four corner legs.
  int expected = 0;
  for (int row = 0; row < 40; ++row) {
    for (int col = 0; col < 40; ++col) {
      const int dx = col - 20, dy = row - r;
      const bool hArm = std::abs(dx) <= 8 && std::abs(dy) <= 1;
      const bool vArm = std::abs(dy) <= 8 && std::abs(dx) <= 1;
      const bool hLeg = std::abs(dx) >= 5 && std::abs(dx) <= 8 && std::abs(dy) == 8;
      const bool vLeg = std::abs(dy) >= 5 && std::abs(dy) <= 8 && std::abs(dx) == 8;
      const bool on = hArm || vArm || hLeg || vLeg;
      expected += on;
      EXPECT_EQ(IsRed(col, row), on) << col << "," << row;
    }
  }
  EXPECT_EQ(CountRed(), expected);
  EXPECT_TRUE(GuardsIntact());
}

TEST_F(CrossMarkerTest, ClipsAtEveryEdge) {
  struct Case {
    uint16_t w, h, x, y;
  } const cases[] = {
      {20, 20, 0, 10},   // centre on column 0: nothing left of it
      {20, 20, 19, 10},  // last column
      {20, 20, 10, 20},  // r = 0: first row in memory
      {20, 20, 10, 1},   // r = 19: last row
      {20, 20, 10, 0},   // r = 20: no horizontal bar, vertical part clipped
      {20, 20, 25, 10},  // centre right of the frame
      {3, 2, 1, 1},      // tiny frame
      {1, 1, 0, 0},
  };
  for (const auto& c : cases) {
    Make(c.w, c.h);
    DrawCrossMarker(Pixels(), c.w, c.h, kRed, 2, c.x, c.y, 0, 0);
    EXPECT_TRUE(GuardsIntact()) << c.w << "x" << c.h << " at " << c.x << "," << c.y;
  }
  // Centre at column 0: the horizontal bar starts at column 0 and the left leg is gone.
  Make(20, 20);
  DrawCrossMarker(Pixels(), 20, 20, kRed, 2, 0, 10, 0, 0);
  EXPECT_TRUE(IsRed(0, 10));
  EXPECT_TRUE(IsRed(8, 10));
  EXPECT_FALSE(IsRed(9, 10));
  EXPECT_TRUE(IsRed(8, 2));  // right corner leg of the top edge
  // Centre outside the frame: only the horizontal bar's part inside is drawn.
  Make(20, 20);
  DrawCrossMarker(Pixels(), 20, 20, kRed, 2, 25, 10, 0, 0);
  EXPECT_TRUE(IsRed(19, 10));
  EXPECT_FALSE(IsRed(16, 10));
  // y = 0 puts the centre row just past the frame: no horizontal bar, and nothing at all
  // since the vertical part needs the centre column only.
  Make(20, 20);
  DrawCrossMarker(Pixels(), 20, 20, kRed, 2, 10, 0, 0, 0);
  EXPECT_TRUE(IsRed(10, 19));
  EXPECT_FALSE(IsRed(2, 19));
}

}  // namespace
