#include "settings/motion_mask.h"

#include <gtest/gtest.h>

#include <cstring>

#include <vector>

#include "net/sys_cfg_fields.h"

namespace {

TEST(MotionMask, CellToByteAndBit) {
  MotionMask m{};
  m[0] = 0x80;
  m[1] = 0x01;
  for (int r = 0; r < kMotionRows; ++r)
    for (int c = 0; c < kMotionColumns; ++c)
      EXPECT_EQ(MotionCellSet(m, c, r), r == 0 && (c == 0 || c == 15)) << c << "," << r;

  struct Case {
    int column, row;
    size_t byte;
    uint8_t bit;
  } cases[] = {{0, 0, 1, 0x01},  {7, 0, 1, 0x80},   {8, 0, 0, 0x01}, {15, 11, 22, 0x80},
               {3, 5, 11, 0x08}, {20, 30, 22, 0x80} /* clamped to the last cell */};
  for (const auto& c : cases) {
    EXPECT_EQ(MotionMaskByte(c.column, c.row), c.byte);
    EXPECT_EQ(MotionMaskBit(c.column, c.row), c.bit);
  }
}

TEST(MotionMask, SameCellsAsTheBlocksMotionArea) {
  uint8_t live[772] = {};
  MotionMask m{};
  for (int i = 0; i < 40; ++i) SetMotionCell(m, (i * 7) % 16, (i * 5) % 12, true);
  std::memcpy(live + 388 + 24 * 9, m.data(), m.size());
  for (int r = 0; r < kMotionRows; ++r)
    for (int c = 0; c < kMotionColumns; ++c)
      EXPECT_EQ(MotionAreaCell(live, 9, r, c), MotionCellSet(m, c, r)) << c << "," << r;
}

struct EditorFixture : ::testing::Test {
  static constexpr int kX = 12, kY = 60;
  MotionView view{kX, kY, 19, 228};
  // The centre of a cell on the screen.
  static MotionPoint Centre(int c, int r) { return {kX + 20 * c + 10, kY + 19 * r + 9}; }
  MotionMaskEditor Editor(const MotionMask& area = {}) {
    MotionMaskEditor e(area);
    e.SetView(view);
    e.SetPictureReceived(true);
    return e;
  }
};

TEST_F(EditorFixture, ClickTogglesOneCell) {
  MotionMaskEditor e = Editor();
  e.OnMouseMove(Centre(2, 3));
  EXPECT_TRUE(MotionCellSet(e.highlight(), 2, 3));
  e.OnButtonDown(Centre(2, 3));
  EXPECT_EQ(e.state(), MotionMouseState::kPressed);
  EXPECT_TRUE(e.OnButtonUp(Centre(2, 3)));
  EXPECT_EQ(e.state(), MotionMouseState::kIdle);
  MotionMask expected{};
  expected[2 * 3 + 1] = 0x04;
  EXPECT_EQ(e.area(), expected);
  // The same click again clears it.
  e.OnButtonDown(Centre(2, 3));
  e.OnButtonUp(Centre(2, 3));
  EXPECT_EQ(e.area(), MotionMask{});
}

TEST_F(EditorFixture, DragTogglesTheCellsOfTheRectangle) {
  MotionMask start{};
  start[2 * 1 + 1] = 0x02;  // cell (1, 1) set: the drag clears it
  MotionMaskEditor e = Editor(start);
  e.OnButtonDown(Centre(1, 1));
  e.OnMouseMove(Centre(1, 1));
  EXPECT_EQ(e.state(), MotionMouseState::kDragging);
  e.OnMouseMove(Centre(2, 2));
  e.OnMouseMove(Centre(3, 2));  // three columns, two rows
  e.OnButtonUp({500, 500});     // a drag ends anywhere
  EXPECT_EQ(e.state(), MotionMouseState::kIdle);
  EXPECT_EQ(e.highlight(), MotionMask{});
  MotionMask expected{};
  expected[2 * 1 + 1] = 0x0C;  // row 1: columns 2, 3 set, column 1 cleared
  expected[2 * 2 + 1] = 0x0E;  // row 2: columns 1-3
  EXPECT_EQ(e.area(), expected);
}

TEST_F(EditorFixture, DragRectangleMeetsCellsEdgesIncluded) {
  MotionMaskEditor e = Editor();
  e.OnButtonDown({kX + 5, kY + 5});
  e.OnMouseMove({kX + 5, kY + 5});
  e.OnMouseMove({kX + 20, kY + 5});  // on the edge shared by columns 0 and 1
  MotionMask lit{};
  lit[1] = 0x03;
  EXPECT_EQ(e.highlight(), lit);
}

TEST_F(EditorFixture, NothingHappensBeforeAPictureArrives) {
  MotionMaskEditor e(MotionMask{});
  e.SetView(view);
  EXPECT_FALSE(e.OnMouseMove(Centre(0, 0)));
  e.OnButtonDown(Centre(0, 0));
  e.OnButtonUp(Centre(0, 0));
  EXPECT_EQ(e.state(), MotionMouseState::kIdle);
  EXPECT_EQ(e.area(), MotionMask{});
  EXPECT_EQ(e.highlight(), MotionMask{});
}

TEST_F(EditorFixture, ReleaseOutsideAfterPressKeepsPressed) {
  MotionMaskEditor e = Editor();
  e.OnButtonDown(Centre(0, 0));
  e.OnMouseMove({0, 0});  // outside: highlights cleared, still pressed
  e.OnButtonUp({0, 0});
  EXPECT_EQ(e.state(), MotionMouseState::kPressed);
  EXPECT_EQ(e.area(), MotionMask{});
}

TEST_F(EditorFixture, TallPictureNeverReachesAThirteenthRow) {
  view.imageHeight = 480;  // taller than the view's 12 rows
  MotionMaskEditor e = Editor();
  const MotionPoint below{kX + 10, kY + 12 * 19 + 5};
  EXPECT_FALSE(view.Contains(below));
  e.OnButtonDown(below);
  e.OnButtonUp(below);
  EXPECT_EQ(e.area(), MotionMask{});
  const MotionPoint last{kX + 319, kY + 12 * 19 - 1};
  EXPECT_TRUE(view.Contains(last));
  e.OnButtonDown(last);
  e.OnButtonUp(last);
  MotionMask expected{};
  expected[22] = 0x80;
  EXPECT_EQ(e.area(), expected);
}

TEST_F(EditorFixture, SelectAllClearsAndClearAllSets) {
  MotionMaskEditor e = Editor();
  e.ClearAll();
  MotionMask all;
  all.fill(0xFF);
  EXPECT_EQ(e.area(), all);
  e.SelectAll();
  EXPECT_EQ(e.area(), MotionMask{});
}

TEST(MotionPicture, WidePicturesKeepEverySecondPixelOfEverySecondRow) {
  const int w = 640, h = 456;
  std::vector<uint8_t> frame(static_cast<size_t>(w) * h * 3);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* p = &frame[(static_cast<size_t>(y) * w + x) * 3];
      p[0] = static_cast<uint8_t>(x);
      p[1] = static_cast<uint8_t>(y);
      p[2] = static_cast<uint8_t>(x >> 8);
    }
  std::vector<uint8_t> out(320 * 228 * 3);
  const MotionPicture pic =
      TakeMotionPicture(frame.data(), frame.size(), w, h, out.data(), out.size());
  EXPECT_EQ(pic.width, 320);
  EXPECT_EQ(pic.height, 228);
  const uint8_t* p = &out[(static_cast<size_t>(100) * 320 + 150) * 3];
  EXPECT_EQ(p[0], static_cast<uint8_t>(300));
  EXPECT_EQ(p[1], static_cast<uint8_t>(200));
  EXPECT_EQ(p[2], 1);

  // A size the buffers cannot hold copies nothing.
  EXPECT_EQ(TakeMotionPicture(frame.data(), frame.size(), w, h + 2, out.data(), out.size()).width,
            0);
  EXPECT_EQ(TakeMotionPicture(frame.data(), frame.size(), 320, 300, out.data(), out.size()).width,
            0);
  EXPECT_EQ(TakeMotionPicture(frame.data(), frame.size(), 320, 228, out.data(), out.size()).height,
            228);
}

TEST(MotionPicture, GridTintAndOutlines) {
  const int w = 320, h = 228;
  std::vector<uint8_t> img(static_cast<size_t>(w) * h * 3);
  for (size_t i = 0; i < img.size(); i += 3) {
    img[i] = 200;  // blue
    img[i + 1] = 100;
    img[i + 2] = 50;
  }
  MotionMask area{}, lit{};
  SetMotionCell(area, 0, 0, true);
  SetMotionCell(lit, 5, 11, true);
  PaintMotionGrid(img.data(), w, h, area, lit);
  // Rows are counted from the top of a bottom-up picture.
  const auto at = [&](int x, int yTop) {
    const uint8_t* p = &img[(static_cast<size_t>(h - 1 - yTop) * w + x) * 3];
    return std::vector<uint8_t>{p[0], p[1], p[2]};
  };
  EXPECT_EQ(at(5, 5), (std::vector<uint8_t>{121, 60, 130}));  // tinted inside
  EXPECT_EQ(at(0, 5), (std::vector<uint8_t>{0, 255, 255}));   // yellow outline
  EXPECT_EQ(at(19, 18), (std::vector<uint8_t>{0, 255, 255}));
  EXPECT_EQ(at(25, 5), (std::vector<uint8_t>{200, 100, 50}));  // the next cell untouched
  EXPECT_EQ(at(100, 209), (std::vector<uint8_t>{255, 0, 0}));  // blue outline of cell (5, 11)
  EXPECT_EQ(at(110, 218), (std::vector<uint8_t>{200, 100, 50}));
}

}  // namespace
