#include "res/skin/paint.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

float Length(float x, float y) {
  return std::sqrt(x * x + y * y);
}

float SegmentDistance(Vec p, Vec a, Vec b) {
  const float px = p.x - a.x, py = p.y - a.y, bx = b.x - a.x, by = b.y - a.y;
  const float len2 = bx * bx + by * by;
  const float h = len2 > 0 ? std::clamp((px * bx + py * by) / len2, 0.0f, 1.0f) : 0.0f;
  return Length(px - bx * h, py - by * h);
}

float Coverage(float distance) {
  return std::clamp(0.5f - distance, 0.0f, 1.0f);
}

}  // namespace

namespace shape {

Shape Rect(float x0, float y0, float x1, float y1) {
  return RoundRect(x0, y0, x1, y1, 0.0f);
}

Shape RoundRect(float x0, float y0, float x1, float y1, float radius) {
  const float cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
  const float hx = (x1 - x0) / 2, hy = (y1 - y0) / 2;
  const float r = std::min({radius, hx, hy});
  return [=](Vec p) {
    const float qx = std::fabs(p.x - cx) - hx + r, qy = std::fabs(p.y - cy) - hy + r;
    return Length(std::max(qx, 0.0f), std::max(qy, 0.0f)) + std::min(std::max(qx, qy), 0.0f) - r;
  };
}

Shape Circle(Vec centre, float radius) {
  return [=](Vec p) { return Length(p.x - centre.x, p.y - centre.y) - radius; };
}

Shape Polygon(std::vector<Vec> points) {
  return [pts = std::move(points)](Vec p) {
    const std::size_t n = pts.size();
    if (n < 3) return 1e9f;
    float d = 1e9f;
    bool inside = false;
    for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
      const Vec a = pts[j], b = pts[i];
      d = std::min(d, SegmentDistance(p, a, b));
      if ((b.y > p.y) != (a.y > p.y) && p.x < (a.x - b.x) * (p.y - b.y) / (a.y - b.y) + b.x) {
        inside = !inside;
      }
    }
    return inside ? -d : d;
  };
}

Shape Polyline(std::vector<Vec> points, bool closed) {
  return [pts = std::move(points), closed](Vec p) {
    float d = 1e9f;
    for (std::size_t i = 1; i < pts.size(); ++i)
      d = std::min(d, SegmentDistance(p, pts[i - 1], pts[i]));
    if (closed && pts.size() > 2) d = std::min(d, SegmentDistance(p, pts.back(), pts.front()));
    return d;
  };
}

std::vector<Vec> ArcPoints(Vec centre, float rx, float ry, float fromDeg, float toDeg, int steps) {
  std::vector<Vec> pts;
  for (int i = 0; i <= steps; ++i) {
    const float a =
        (fromDeg + (toDeg - fromDeg) * static_cast<float>(i) / static_cast<float>(steps)) *
        3.14159265f / 180.0f;
    pts.push_back({centre.x + rx * std::cos(a), centre.y + ry * std::sin(a)});
  }
  return pts;
}

Shape Stroke(Shape s, float width) {
  return [s = std::move(s), half = width / 2](Vec p) { return std::fabs(s(p)) - half; };
}

Shape Union(Shape a, Shape b) {
  return [a = std::move(a), b = std::move(b)](Vec p) { return std::min(a(p), b(p)); };
}

Shape Intersect(Shape a, Shape b) {
  return [a = std::move(a), b = std::move(b)](Vec p) { return std::max(a(p), b(p)); };
}

Shape Subtract(Shape a, Shape minus) {
  return [a = std::move(a), m = std::move(minus)](Vec p) { return std::max(a(p), -m(p)); };
}

Shape Move(Shape s, float dx, float dy) {
  return [s = std::move(s), dx, dy](Vec p) { return s({p.x - dx, p.y - dy}); };
}

Shape Grow(Shape s, float d) {
  return [s = std::move(s), d](Vec p) { return s(p) - d; };
}

}  // namespace shape

void Paint(Canvas& canvas, const Shape& s, Rgb colour, float opacity) {
  for (int y = 0; y < canvas.Height(); ++y) {
    for (int x = 0; x < canvas.Width(); ++x) {
      const float c = Coverage(s({static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f}));
      if (c > 0) canvas.Blend(x, y, colour, c * opacity);
    }
  }
}

void PaintVertical(Canvas& canvas, const Shape& s, Rgb top, Rgb bottom, float y0, float y1) {
  for (int y = 0; y < canvas.Height(); ++y) {
    const float t = y1 > y0 ? (static_cast<float>(y) + 0.5f - y0) / (y1 - y0) : 0.0f;
    const Rgb colour = Mix(top, bottom, t);
    for (int x = 0; x < canvas.Width(); ++x) {
      const float c = Coverage(s({static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f}));
      if (c > 0) canvas.Blend(x, y, colour, c);
    }
  }
}
