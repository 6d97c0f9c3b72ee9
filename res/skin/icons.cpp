#include "res/skin/icons.h"

#include <utility>
#include <vector>

#include "res/skin/paint.h"

namespace {

// Grid-to-pixel mapping and the icon's colours.
class Pen {
 public:
  Pen(Canvas& canvas, const IconBox& box, Rgb ink, Rgb paper)
      : m_canvas(canvas), m_box(box), m_ink(ink), m_paper(paper) {}

  Vec P(float gx, float gy) const {
    const float k = m_box.size / 24.0f;
    return {m_box.x + gx * k, m_box.y + gy * k};
  }
  float U(float units) const { return units * m_box.size / 24.0f; }

  void Line(std::vector<Vec> gridPoints, float widthFactor = 1.0f) const {
    Paint(m_canvas, shape::Stroke(shape::Polyline(ToPixels(gridPoints)), Width(widthFactor)),
          m_ink);
  }
  void ClosedLine(std::vector<Vec> gridPoints) const {
    Paint(m_canvas, shape::Stroke(shape::Polyline(ToPixels(gridPoints), true), Width()), m_ink);
  }
  void Ring(Vec c, float r) const {
    Paint(m_canvas, shape::Stroke(shape::Circle(P(c.x, c.y), U(r)), Width()), m_ink);
  }
  void Dot(Vec c, float r, bool paper = false) const {
    Paint(m_canvas, shape::Circle(P(c.x, c.y), U(r)), paper ? m_paper : m_ink);
  }
  void Box(float x0, float y0, float x1, float y1, float r, bool fill, bool paper = false) const {
    const Vec a = P(x0, y0), b = P(x1, y1);
    const Shape s = shape::RoundRect(a.x, a.y, b.x, b.y, U(r));
    Paint(m_canvas, fill ? s : shape::Stroke(s, Width()), paper ? m_paper : m_ink);
  }
  void Triangle(std::vector<Vec> gridPoints, float rounding) const {
    Paint(m_canvas, shape::Grow(shape::Polygon(ToPixels(gridPoints)), U(rounding)), m_ink);
  }
  std::vector<Vec> Arc(Vec c, float rx, float ry, float from, float to) const {
    return shape::ArcPoints(c, rx, ry, from, to, 24);
  }

 private:
  float Width(float factor = 1.0f) const { return m_box.stroke * factor; }
  std::vector<Vec> ToPixels(const std::vector<Vec>& grid) const {
    std::vector<Vec> out;
    for (const Vec& g : grid) out.push_back(P(g.x, g.y));
    return out;
  }

  Canvas& m_canvas;
  IconBox m_box;
  Rgb m_ink, m_paper;
};

void AddressBook(const Pen& pen) {
  pen.Box(3, 4.5f, 21, 19.5f, 2.5f, false);
  pen.Dot({8.5f, 10}, 2.3f);
  pen.Box(5, 13.5f, 12, 17, 1.6f, true);
  pen.Line({{14.5f, 10}, {18, 10}});
  pen.Line({{14.5f, 14}, {18, 14}});
}

void Search(const Pen& pen) {
  pen.Ring({10.5f, 10.5f}, 6);
  pen.Line({{15, 15}, {20, 20}}, 1.35f);
}

void Player(const Pen& pen) {
  pen.Ring({12, 12}, 9);
  pen.Triangle({{10, 8.2f}, {10, 15.8f}, {16, 12}}, 0.6f);
}

void Copy(const Pen& pen) {
  pen.Box(8.5f, 3.5f, 20, 15.5f, 2, false);
  pen.Box(4, 8.5f, 15.5f, 20.5f, 2, true, true);
  pen.Box(4, 8.5f, 15.5f, 20.5f, 2, false);
}

void Upload(const Pen& pen) {
  pen.Line({{4, 15}, {4, 20}, {20, 20}, {20, 15}});
  pen.Line({{12, 16}, {12, 4}});
  pen.Line({{7.5f, 8.5f}, {12, 4}, {16.5f, 8.5f}});
}

void Connect(const Pen& pen) {
  pen.Line({{13, 4}, {19.5f, 4}, {19.5f, 20}, {13, 20}});
  pen.Line({{3.5f, 12}, {14.5f, 12}});
  pen.Line({{10.5f, 8}, {14.5f, 12}, {10.5f, 16}});
}

void Cancel(const Pen& pen) {
  pen.Line({{6.5f, 6.5f}, {17.5f, 17.5f}}, 1.15f);
  pen.Line({{17.5f, 6.5f}, {6.5f, 17.5f}}, 1.15f);
}

void User(const Pen& pen) {
  pen.Ring({12, 8}, 3.8f);
  pen.Line(pen.Arc({12, 21.5f}, 7.5f, 7.5f, 180, 360));
}

void Lock(const Pen& pen) {
  std::vector<Vec> shackle = {{7.5f, 11}};
  for (const Vec& v : pen.Arc({12, 8}, 4.5f, 4.5f, 180, 360)) shackle.push_back(v);
  shackle.push_back({16.5f, 11});
  pen.Line(shackle);
  pen.Box(5.5f, 10.5f, 18.5f, 20.5f, 2, true);
  pen.Dot({12, 15.5f}, 1.6f, true);
}

void Globe(const Pen& pen) {
  pen.Ring({12, 12}, 8.5f);
  pen.Line({{3.5f, 12}, {20.5f, 12}});
  pen.Line(pen.Arc({12, 12}, 3.8f, 8.5f, 0, 360));
}

void Port(const Pen& pen) {
  pen.ClosedLine({{4, 6.5f},
                  {20, 6.5f},
                  {20, 16.5f},
                  {16, 16.5f},
                  {16, 19.5f},
                  {8, 19.5f},
                  {8, 16.5f},
                  {4, 16.5f}});
  for (float x : {8.5f, 12.0f, 15.5f}) pen.Line({{x, 6.5f}, {x, 10.5f}}, 0.8f);
}

}  // namespace

void DrawIcon(Canvas& canvas, Icon icon, const IconBox& box, Rgb ink, Rgb paper) {
  const Pen pen(canvas, box, ink, paper);
  switch (icon) {
    case Icon::kAddressBook:
      return AddressBook(pen);
    case Icon::kSearch:
      return Search(pen);
    case Icon::kPlayer:
      return Player(pen);
    case Icon::kCopy:
      return Copy(pen);
    case Icon::kUpload:
      return Upload(pen);
    case Icon::kConnect:
      return Connect(pen);
    case Icon::kCancel:
      return Cancel(pen);
    case Icon::kUser:
      return User(pen);
    case Icon::kLock:
      return Lock(pen);
    case Icon::kGlobe:
      return Globe(pen);
    case Icon::kPort:
      return Port(pen);
  }
}
