#include "ui/button_outline.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#endif

namespace {

using Points = std::vector<std::pair<int, int>>;

Points LayerPoints(const CButtonOutline& outline, int layer) {
  Points out;
  for (int i = 0; i < outline.GetPointCount(layer); ++i) {
    const COutlinePoint* p = outline.GetPoint(layer, i);
    out.emplace_back(p->x, p->y);
  }
  return out;
}

struct ShapeCase {
  std::string name;
  int shape;
  OutlineRect rect;
  int pointCount;  // 0: the builder's default
  int layer;
  Points expected;
};

void BuildShape(CButtonOutline& outline, const ShapeCase& c) {
  switch (c.shape) {
    case CButtonOutline::kCircle:
      outline.BuildCircle(c.rect, c.pointCount);
      break;
    case CButtonOutline::kCapsule:
      outline.BuildCapsule(c.rect, c.pointCount);
      break;
    default:
      outline.Build(c.rect, c.shape);
      break;
  }
}

TEST(ButtonOutline, BuildsTheShapesLayerByLayer) {
  // clang-format off
  const std::vector<ShapeCase> cases = {
      {"rectangle, outer layer", CButtonOutline::kRectangle, {0, 0, 40, 20}, 0, 0,
       {{0, 0}, {39, 0}, {39, 19}, {0, 19}, {0, 0}}},
      {"rectangle, layer 3 inset by 4", CButtonOutline::kRectangle, {0, 0, 40, 20}, 0, 3,
       {{4, 4}, {35, 4}, {35, 15}, {4, 15}, {4, 4}}},
      {"rectangle, layer 1 inset by 1", CButtonOutline::kRectangle, {10, 5, 20, 15}, 0, 1,
       {{11, 6}, {18, 6}, {18, 13}, {11, 13}, {11, 6}}},
      {"diamond of a wide rectangle squared to 10..30", CButtonOutline::kDiamond, {0, 0, 41, 21},
       0, 0, {{10, 10}, {20, 0}, {30, 10}, {20, 20}, {10, 10}}},
      {"diamond, layer 3", CButtonOutline::kDiamond, {0, 0, 41, 21}, 0, 3,
       {{14, 10}, {20, 4}, {26, 10}, {20, 16}, {14, 10}}},
      {"diamond of a tall rectangle squared to 10..30", CButtonOutline::kDiamond, {0, 0, 21, 41},
       0, 0, {{0, 20}, {10, 10}, {20, 20}, {10, 30}, {0, 20}}},
      // Centre (20, 10), radius 10 = 10 points, clockwise on the screen from the right.
      {"circle, default count", CButtonOutline::kCircle, {0, 0, 41, 21}, 0, 0,
       {{30, 10}, {28, 16}, {23, 20}, {17, 20}, {12, 16}, {10, 10}, {12, 4}, {17, 0}, {23, 0},
        {28, 4}, {30, 10}}},
      {"circle, 4 points on layer 2", CButtonOutline::kCircle, {0, 0, 41, 21}, 4, 2,
       {{28, 10}, {20, 18}, {12, 10}, {20, 2}, {28, 10}}},
      // Wide capsule, r = 10: the right end from its top to its bottom, then the left end.
      {"wide capsule, default count", CButtonOutline::kCapsule, {0, 0, 41, 21}, 0, 0,
       {{30, 0}, {36, 2}, {40, 7}, {40, 13}, {36, 18}, {30, 20}, {10, 20}, {4, 18}, {0, 13},
        {0, 7}, {4, 2}, {10, 0}, {30, 0}}},
      // Tall capsule, r = 5: the lower end from its right side, then the upper end.
      {"tall capsule, 4 points", CButtonOutline::kCapsule, {0, 0, 11, 31}, 4, 0,
       {{10, 25}, {5, 30}, {0, 25}, {0, 5}, {5, 0}, {10, 5}, {10, 25}}},
  };
  // clang-format on
  for (const ShapeCase& c : cases) {
    SCOPED_TRACE(c.name);
    CButtonOutline outline;
    BuildShape(outline, c);
    EXPECT_EQ(LayerPoints(outline, c.layer), c.expected);
    EXPECT_TRUE(outline.HasEqualLayers());
  }
}

TEST(ButtonOutline, PointCountsPerShape) {
  struct Count {
    std::string name;
    int shape;
    OutlineRect rect;
    int pointCount;
    int expected;  // per layer, closing point included
  };
  const OutlineRect small{0, 0, 41, 21};      // radius 10
  const OutlineRect large{0, 0, 4001, 2001};  // radius 1000: no two points coincide
  const std::vector<Count> counts = {
      {"circle default: radius + 1", CButtonOutline::kCircle, small, 0, 11},
      {"circle count below 2 is the default", CButtonOutline::kCircle, small, 1, 11},
      {"circle with 2 points", CButtonOutline::kCircle, small, 2, 3},
      {"circle with 1500 points", CButtonOutline::kCircle, large, 1500, 1501},
      {"capsule default: radius + 3", CButtonOutline::kCapsule, small, 0, 13},
      {"capsule with 1 point", CButtonOutline::kCapsule, small, 1, 4},
      {"capsule with 1021 points", CButtonOutline::kCapsule, large, 1021, 1024},
      {"empty rectangle: no circle points", CButtonOutline::kCircle, {0, 0, 0, 0}, 0, 0},
  };
  for (const Count& c : counts) {
    SCOPED_TRACE(c.name);
    CButtonOutline outline;
    BuildShape(outline, {c.name, c.shape, c.rect, c.pointCount, 0, {}});
    for (int layer = 0; layer < CButtonOutline::kLayerCount; ++layer) {
      ASSERT_EQ(outline.GetPointCount(layer), c.expected);
      if (c.expected == 0) continue;
      EXPECT_FALSE(outline.GetPoint(layer, 0)->Differs(*outline.GetPoint(layer, c.expected - 1)));
    }
  }
}

TEST(ButtonOutline, RebuildKeepsOnlyTheSecondShapeAndUnknownShapeKeepsAll) {
  CButtonOutline outline;
  outline.BuildCircle({0, 0, 41, 21}, 0);
  outline.BuildRectangle({0, 0, 40, 20});
  EXPECT_EQ(LayerPoints(outline, 0), (Points{{0, 0}, {39, 0}, {39, 19}, {0, 19}, {0, 0}}));
  EXPECT_EQ(outline.GetPointCount(3), 5);
  outline.Build({0, 0, 100, 100}, 4);
  EXPECT_EQ(LayerPoints(outline, 0), (Points{{0, 0}, {39, 0}, {39, 19}, {0, 19}, {0, 0}}));
}

TEST(ButtonOutline, PointEditingClosingAndCopying) {
  CButtonOutline outline;
  EXPECT_FALSE(outline.HasEqualLayers());
  outline.CloseLayers();  // empty layers stay empty
  EXPECT_EQ(outline.GetPointCount(0), 0);

  EXPECT_EQ(outline.AddPoint(0, {1, 1}), 0);
  EXPECT_EQ(outline.AddPoint(0, {3, 3}), 1);
  EXPECT_TRUE(outline.InsertPoint(0, 1, {2, 2}));
  EXPECT_TRUE(outline.InsertPoint(0, 3, {4, 4}));  // at the end
  EXPECT_EQ(outline.SetPoint(0, 3, {9, 9})->x, 9);
  EXPECT_TRUE(outline.RemovePoint(0, 2));
  EXPECT_EQ(LayerPoints(outline, 0), (Points{{1, 1}, {2, 2}, {9, 9}}));
  EXPECT_FALSE(outline.HasEqualLayers());  // layers 1-3 are empty

  // Out of range: refused, nothing changes.
  EXPECT_EQ(outline.GetPoint(0, 3), nullptr);
  EXPECT_EQ(outline.GetPoint(4, 0), nullptr);
  EXPECT_EQ(outline.GetPoint(-1, 0), nullptr);
  EXPECT_EQ(outline.AddPoint(4, {0, 0}), -1);
  EXPECT_EQ(outline.SetPoint(0, 3, {0, 0}), nullptr);
  EXPECT_FALSE(outline.InsertPoint(0, 4, {0, 0}));
  EXPECT_FALSE(outline.RemovePoint(0, -1));
  EXPECT_EQ(outline.GetPointCount(0), 3);

  outline.CloseLayers();
  outline.CloseLayers();  // a closed layer gets no second copy
  EXPECT_EQ(LayerPoints(outline, 0), (Points{{1, 1}, {2, 2}, {9, 9}, {1, 1}}));

  CButtonOutline copy;
  copy.BuildDiamond({0, 0, 41, 21});
  copy.CopyFrom(outline);
  EXPECT_EQ(LayerPoints(copy, 0), LayerPoints(outline, 0));
  EXPECT_EQ(copy.GetPointCount(1), 0);
  EXPECT_NE(copy.GetPoint(0, 0), outline.GetPoint(0, 0));  // copies, not shared points

  copy.RemoveAllPoints();
  for (int layer = 0; layer < CButtonOutline::kLayerCount; ++layer) {
    EXPECT_EQ(copy.GetPointCount(layer), 0);
  }
}

TEST(ButtonOutline, LayerPolygonHoldsEveryPointOfALargeLayer) {
  CButtonOutline outline;
  outline.BuildCircle({0, 0, 4001, 4001}, 3000);
  const std::vector<OutlineXY> polygon = outline.LayerPolygon(0);
  ASSERT_EQ(polygon.size(), 3001u);
  EXPECT_EQ(polygon.front().x, 4000);
  EXPECT_EQ(polygon.front().y, 2000);
  EXPECT_EQ(polygon.back().x, 4000);
  EXPECT_EQ(polygon.back().y, 2000);
  EXPECT_TRUE(outline.LayerPolygon(7).empty());
}

TEST(LightAngleColor, WeighsTheLightByTheEdgeDirection) {
  struct Edge {
    std::string name;
    OutlineXY from, to;
    OutlineColor shadow, light, expected;
  };
  const OutlineColor black = 0, white = 0xFFFFFF;
  const std::vector<Edge> edges = {
      {"top edge running right", {0, 0}, {10, 0}, black, white, 0xD9D9D9},  // 0.854 * 255
      {"left edge running up", {0, 10}, {0, 0}, black, white, 0xD9D9D9},
      {"right edge running down", {10, 0}, {10, 10}, black, white, 0x252525},  // 0.146 * 255
      {"bottom edge running left", {10, 10}, {0, 10}, black, white, 0x252525},
      {"up and to the right: all light", {0, 10}, {10, 0}, black, white, 0xFFFFFF},
      {"down and to the left: all shadow", {10, 0}, {0, 10}, black, white, 0x000000},
      {"channels blend apart", {0, 0}, {10, 0}, 0xFF0000, 0x0000FF, 0x2500D9},
      {"top byte dropped", {0, 0}, {10, 0}, 0xFF000000, 0xFF000000, 0},
  };
  for (const Edge& e : edges) {
    SCOPED_TRACE(e.name);
    EXPECT_EQ(LightAngleColor(e.from, e.to, e.shadow, e.light), e.expected);
  }
}

TEST(LightAngleColor, AngleAndBlendHelpers) {
  EXPECT_DOUBLE_EQ(SegmentAngle(0, 1), 0.0);
  EXPECT_DOUBLE_EQ(SegmentAngle(-1, 0), 4.71238898038469);
  EXPECT_DOUBLE_EQ(SegmentAngle(0, -1), 3.141592653589793);
  EXPECT_EQ(BlendColors(0xFFFFFF, 0, 0.5), 0x7F7F7Fu);  // 127.5 cut to 127
  EXPECT_EQ(BlendColors(0x102030, 0x405060, 1.0), 0x102030u);
  EXPECT_EQ(BlendColors(0x102030, 0x405060, 0.0), 0x405060u);
}

#if defined(_WIN32)
TEST(ButtonOutlineRegion, RegionFollowsTheLayer) {
  CButtonOutline outline;
  outline.BuildRectangle({0, 0, 40, 20});
  HRGN region = nullptr;
  ASSERT_TRUE(outline.CreateLayerRegion(&region, 0));
  RECT box{};
  EXPECT_EQ(GetRgnBox(region, &box), SIMPLEREGION);
  EXPECT_EQ(box.left, 0);
  EXPECT_EQ(box.top, 0);
  EXPECT_EQ(box.right, 39);
  EXPECT_EQ(box.bottom, 19);
  DeleteObject(region);

  region = nullptr;
  ASSERT_TRUE(outline.CreateLayerRegion(&region, 3));
  EXPECT_TRUE(PtInRegion(region, 4, 4));
  EXPECT_FALSE(PtInRegion(region, 3, 3));
  DeleteObject(region);
}

TEST(ButtonOutlineRegion, LayersOverTheOldLimitOf1024PointsStillMakeARegion) {
  CButtonOutline outline;
  outline.BuildCircle({0, 0, 4001, 4001}, 5000);
  ASSERT_EQ(outline.GetPointCount(0), 5001);
  HRGN region = nullptr;
  ASSERT_TRUE(outline.CreateLayerRegion(&region, 0));
  EXPECT_TRUE(PtInRegion(region, 2000, 2000));
  EXPECT_TRUE(PtInRegion(region, 2000, 3));
  EXPECT_FALSE(PtInRegion(region, 100, 100));  // outside the circle, inside its box
  RECT box{};
  GetRgnBox(region, &box);
  EXPECT_EQ(box.left, 0);
  EXPECT_EQ(box.top, 0);
  DeleteObject(region);
}

TEST(ButtonOutlineRegion, EmptyOrUnknownLayerMakesNoRegion) {
  CButtonOutline outline;
  HRGN region = reinterpret_cast<HRGN>(1);
  EXPECT_FALSE(outline.CreateLayerRegion(&region, 0));
  outline.BuildDiamond({0, 0, 41, 21});
  EXPECT_FALSE(outline.CreateLayerRegion(&region, 4));
  EXPECT_EQ(region, reinterpret_cast<HRGN>(1));
}
#endif

}  // namespace
