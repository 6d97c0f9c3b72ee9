#include "ui/button_outline.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kThreeQuarterPi = 2.356194490192345;

// Insets of the four layers from the shape itself.
constexpr std::array<std::int64_t, CButtonOutline::kLayerCount> kLayerInset = {0, 1, 2, 4};

// A real coordinate made an integer: add 0.5 and cut off the fraction (kept inside int32).
std::int32_t Snap(double v) {
  const double s = v + 0.5;
  if (!(s > std::numeric_limits<std::int32_t>::min()))
    return std::numeric_limits<std::int32_t>::min();
  if (!(s < std::numeric_limits<std::int32_t>::max()))
    return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(s);
}

std::int32_t Clamp32(std::int64_t v) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// The rectangle with right and bottom moved onto the last pixel inside, in 64 bits so that no
// difference of extreme coordinates overflows.
struct Box {
  std::int64_t l, t, r, b;
  std::int64_t Width() const { return r - l; }
  std::int64_t Height() const { return b - t; }
};

Box InnerBox(const OutlineRect& rect) {
  return {rect.left, rect.top, std::int64_t{rect.right} - 1, std::int64_t{rect.bottom} - 1};
}

}  // namespace

CButtonOutline::Layer* CButtonOutline::LayerAt(int layer) {
  return layer >= 0 && layer < kLayerCount ? &m_Layers[layer] : nullptr;
}

const CButtonOutline::Layer* CButtonOutline::LayerAt(int layer) const {
  return layer >= 0 && layer < kLayerCount ? &m_Layers[layer] : nullptr;
}

int CButtonOutline::GetPointCount(int layer) const {
  const Layer* l = LayerAt(layer);
  return l ? static_cast<int>(l->size()) : 0;
}

COutlinePoint* CButtonOutline::GetPoint(int layer, int index) const {
  const Layer* l = LayerAt(layer);
  if (!l || index < 0 || static_cast<std::size_t>(index) >= l->size()) return nullptr;
  return (*l)[index].get();
}

int CButtonOutline::AddPoint(int layer, const COutlinePoint& point) {
  Layer* l = LayerAt(layer);
  if (!l) return -1;
  l->push_back(std::make_unique<COutlinePoint>(point));
  return static_cast<int>(l->size()) - 1;
}

COutlinePoint* CButtonOutline::SetPoint(int layer, int index, const COutlinePoint& point) {
  Layer* l = LayerAt(layer);
  if (!l || index < 0 || static_cast<std::size_t>(index) >= l->size()) return nullptr;
  (*l)[index] = std::make_unique<COutlinePoint>(point);
  return (*l)[index].get();
}

bool CButtonOutline::InsertPoint(int layer, int index, const COutlinePoint& point) {
  Layer* l = LayerAt(layer);
  if (!l || index < 0 || static_cast<std::size_t>(index) > l->size()) return false;
  l->insert(l->begin() + index, std::make_unique<COutlinePoint>(point));
  return true;
}

bool CButtonOutline::RemovePoint(int layer, int index) {
  Layer* l = LayerAt(layer);
  if (!l || index < 0 || static_cast<std::size_t>(index) >= l->size()) return false;
  l->erase(l->begin() + index);
  return true;
}

void CButtonOutline::RemoveAllPoints() {
  for (Layer& l : m_Layers) l.clear();
}

bool CButtonOutline::HasEqualLayers() const {
  if (m_Layers[0].empty()) return false;
  return std::all_of(m_Layers.begin(), m_Layers.end(),
                     [&](const Layer& l) { return l.size() == m_Layers[0].size(); });
}

void CButtonOutline::CloseLayers() {
  for (Layer& l : m_Layers) {
    if (!l.empty() && l.back()->Differs(*l.front())) {
      l.push_back(std::make_unique<COutlinePoint>(*l.front()));
    }
  }
}

void CButtonOutline::CopyFrom(const CButtonOutline& other) {
  if (&other == this) return;
  RemoveAllPoints();
  for (int k = 0; k < kLayerCount; ++k) {
    for (const auto& p : other.m_Layers[k])
      m_Layers[k].push_back(std::make_unique<COutlinePoint>(*p));
  }
}

void CButtonOutline::Build(const OutlineRect& rect, int shape) {
  switch (shape) {
    case kRectangle:
      BuildRectangle(rect);
      break;
    case kDiamond:
      BuildDiamond(rect);
      break;
    case kCircle:
      BuildCircle(rect, 0);
      break;
    case kCapsule:
      BuildCapsule(rect, 0);
      break;
    default:
      break;
  }
}

void CButtonOutline::BuildRectangle(const OutlineRect& rect) {
  RemoveAllPoints();
  const Box b = InnerBox(rect);
  for (int k = 0; k < kLayerCount; ++k) {
    const std::int64_t d = kLayerInset[k];
    const std::int32_t left = Clamp32(b.l + d), top = Clamp32(b.t + d);
    const std::int32_t right = Clamp32(b.r - d), bottom = Clamp32(b.b - d);
    AddPoint(k, {left, top});
    AddPoint(k, {right, top});
    AddPoint(k, {right, bottom});
    AddPoint(k, {left, bottom});
  }
  CloseLayers();
}

void CButtonOutline::BuildDiamond(const OutlineRect& rect) {
  RemoveAllPoints();
  Box b = InnerBox(rect);
  // A centred square on the shorter side; the rectangle's left and top count as 0 here.
  if (b.r > b.b) {
    b.l = (b.r - b.b) / 2;
    b.r = b.l + b.b;
  } else {
    b.t = (b.b - b.r) / 2;
    b.b = b.t + b.r;
  }
  const std::int64_t halfW = b.Width() / 2, halfH = b.Height() / 2;
  for (int k = 0; k < kLayerCount; ++k) {
    const std::int64_t d = kLayerInset[k];
    AddPoint(k, {Clamp32(b.l + d), Clamp32(b.t + halfH)});
    AddPoint(k, {Clamp32(b.l + halfW), Clamp32(b.t + d)});
    AddPoint(k, {Clamp32(b.r - d), Clamp32(b.t + halfH)});
    AddPoint(k, {Clamp32(b.l + halfW), Clamp32(b.b - d)});
  }
  CloseLayers();
}

void CButtonOutline::BuildCircle(const OutlineRect& rect, int pointCount) {
  RemoveAllPoints();
  const Box b = InnerBox(rect);
  const double cx = static_cast<double>(b.l + b.Width() / 2);
  const double cy = static_cast<double>(b.t + b.Height() / 2);
  const double r = b.r > b.b ? cy : cx;
  const std::int64_t n = pointCount >= 2 ? pointCount : Snap(r);
  for (int k = 0; k < kLayerCount; ++k) {
    const double rk = r - static_cast<double>(kLayerInset[k]);
    for (std::int64_t j = 0; j < n; ++j) {
      const double a = static_cast<double>(j) * kTwoPi / static_cast<double>(n);
      AddPoint(k, {Snap(cx + rk * std::cos(a)), Snap(cy + rk * std::sin(a))});
    }
  }
  CloseLayers();
}

void CButtonOutline::BuildCapsule(const OutlineRect& rect, int pointCount) {
  RemoveAllPoints();
  const Box b = InnerBox(rect);
  struct Centre {
    double x, y;
  };
  double r = 0, start = 0;
  Centre c1{}, c2{};  // centres of the first and the second end
  if (b.r > b.b) {    // wide: right end first, from its top
    r = static_cast<double>(b.t + b.Height() / 2);
    c1 = {static_cast<double>(b.r) - r, r};
    c2 = {r, r};
    start = 0.75 * kTwoPi;
  } else {  // tall: lower end first, from its right side
    r = static_cast<double>(b.l + b.Width() / 2);
    c1 = {r, static_cast<double>(b.b) - r};
    c2 = {r, r};
    start = 0.0;
  }
  const std::int64_t n = pointCount >= 1 ? pointCount : Snap(r);
  if (n >= 1) {
    for (int k = 0; k < kLayerCount; ++k) {
      const double rk = r - static_cast<double>(kLayerInset[k]);
      auto arc = [&](double ex, double ey, std::int64_t from, std::int64_t to) {
        for (std::int64_t j = from; j <= to; ++j) {
          const double a = static_cast<double>(j) * kTwoPi / static_cast<double>(n) + start;
          AddPoint(k, {Snap(ex + rk * std::cos(a)), Snap(ey + rk * std::sin(a))});
        }
      };
      arc(c1.x, c1.y, 0, n / 2);
      arc(c2.x, c2.y, n / 2, n);
    }
  }
  CloseLayers();
}

std::vector<OutlineXY> CButtonOutline::LayerPolygon(int layer) {
  CloseLayers();
  std::vector<OutlineXY> points;
  if (const Layer* l = LayerAt(layer)) {
    points.reserve(l->size());
    for (const auto& p : *l) points.push_back(p->ToPoint());
  }
  return points;
}

double SegmentAngle(double y, double x) {
  double a = std::atan2(y, x);
  if (a < 0) a += kTwoPi;
  return a;
}

OutlineColor BlendColors(const OutlineColor& a, const OutlineColor& b, double t) {
  OutlineColor result = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const double ca = static_cast<double>((a >> shift) & 0xFF);
    const double cb = static_cast<double>((b >> shift) & 0xFF);
    double mix = std::trunc(t * ca + (1.0 - t) * cb);
    mix = mix >= 0.0 ? std::min(mix, 255.0) : 0.0;  // also for a weight that is not a number
    result |= static_cast<OutlineColor>(mix) << shift;
  }
  return result;
}

OutlineColor LightAngleColor(const OutlineXY& first, const OutlineXY& second,
                             const OutlineColor& shadow, const OutlineColor& light) {
  const double theta = SegmentAngle(static_cast<double>(first.x) - second.x,
                                    static_cast<double>(second.y) - first.y);
  const double phi = std::fabs(kThreeQuarterPi - (kTwoPi - theta));
  const double t = (1.0 + std::cos(phi)) * 0.5;
  return BlendColors(light, shadow, t);
}
