// Four concentric outlines ("layers") of a button shape, used to clip a button window to a
// rectangle, diamond, circle or capsule, and the edge shading colour blend.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

// Coordinates as plain values; the same layout as the Win32 POINT and RECT.
struct OutlineXY {
  std::int32_t x = 0;
  std::int32_t y = 0;
};
struct OutlineRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
};

// A colour with red in bits 0-7, green in 8-15 and blue in 16-23 (the Win32 COLORREF layout).
using OutlineColor = std::uint32_t;

#if defined(_WIN32)
struct HRGN__;  // the Win32 region handle type, HRGN (STRICT)
#endif

class COutlinePoint {
 public:
  COutlinePoint() = default;
  explicit COutlinePoint(const OutlineXY& point) : x(point.x), y(point.y) {}
  COutlinePoint(std::int32_t px, std::int32_t py) : x(px), y(py) {}
  COutlinePoint(const COutlinePoint& other) = default;
  COutlinePoint& operator=(const COutlinePoint& other) = default;
  virtual ~COutlinePoint() = default;

  bool Differs(const COutlinePoint& other) const { return x != other.x || y != other.y; }
  OutlineXY ToPoint() const { return {x, y}; }

  std::int32_t x = 0;
  std::int32_t y = 0;
};

class CButtonOutline {
 public:
  static constexpr int kLayerCount = 4;

  enum Shape { kRectangle = 0, kDiamond = 1, kCircle = 2, kCapsule = 3 };

  CButtonOutline() = default;
  CButtonOutline(const CButtonOutline&) = delete;
  CButtonOutline& operator=(const CButtonOutline&) = delete;
  virtual ~CButtonOutline() = default;

  // Point access.  A layer outside 0-3 or an index outside the layer is refused: counts read 0,
  // lookups give null, AddPoint gives -1 and the other changes report false.
  int GetPointCount(int layer) const;
  COutlinePoint* GetPoint(int layer, int index) const;
  int AddPoint(int layer, const COutlinePoint& point);
  COutlinePoint* SetPoint(int layer, int index, const COutlinePoint& point);
  bool InsertPoint(int layer, int index, const COutlinePoint& point);  // index may be the count
  bool RemovePoint(int layer, int index);
  void RemoveAllPoints();

  bool HasEqualLayers() const;
  void CloseLayers();
  void CopyFrom(const CButtonOutline& other);

  // Builders: empty all layers, fill all four at insets 0, 1, 2 and 4, then close them.
  // An unknown shape number changes nothing.
  void Build(const OutlineRect& rect, int shape);
  void BuildRectangle(const OutlineRect& rect);
  void BuildDiamond(const OutlineRect& rect);
  void BuildCircle(const OutlineRect& rect, int pointCount);   // below 2: the radius
  void BuildCapsule(const OutlineRect& rect, int pointCount);  // below 1: the radius

  // Closes the layers and returns the points of one layer in order, as a polygon; an array sized
  // from the layer, however many points it holds.  Empty for a layer outside 0-3.
  std::vector<OutlineXY> LayerPolygon(int layer);

#if defined(_WIN32)
  // Closes the layers and creates a polygon region (ALTERNATE filling) from the points of one
  // layer, stored in *region (owned by the caller from then on).  False, with *region untouched,
  // for an empty or unknown layer or when the region cannot be created.
  bool CreateLayerRegion(HRGN__** region, int layer);
#endif

 private:
  using Layer = std::vector<std::unique_ptr<COutlinePoint>>;

  Layer* LayerAt(int layer);
  const Layer* LayerAt(int layer) const;

  std::array<Layer, kLayerCount> m_Layers;
};

// atan2(y, x) brought into 0 to 2*pi.
double SegmentAngle(double y, double x);
// Per channel t*a + (1 - t)*b, the fraction cut off; the top byte of the result is 0.
OutlineColor BlendColors(const OutlineColor& a, const OutlineColor& b, double t);
// The colour of the edge segment from first to second with a light from the upper left: the
// light colour for a segment running up and to the right at 45 degrees, the shadow colour for
// one running down and to the left.
OutlineColor LightAngleColor(const OutlineXY& first, const OutlineXY& second,
                             const OutlineColor& shadow, const OutlineColor& light);
