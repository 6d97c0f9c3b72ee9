// Anti-aliased painting with shapes given as signed distance functions: a shape tells, for a
// point in pixel coordinates, its distance to the shape's edge (negative inside).  Painting
// covers each pixel by how far its centre lies inside, which smooths every edge.
#pragma once

#include <functional>
#include <vector>

#include "res/skin/canvas.h"

struct Vec {
  float x = 0, y = 0;
};

using Shape = std::function<float(Vec)>;

namespace shape {

Shape Rect(float x0, float y0, float x1, float y1);
Shape RoundRect(float x0, float y0, float x1, float y1, float radius);
Shape Circle(Vec centre, float radius);
// A closed polygon, filled (signed distance).
Shape Polygon(std::vector<Vec> points);
// The line through the points (unsigned distance: use with Stroke).
Shape Polyline(std::vector<Vec> points, bool closed = false);
// Points on an arc, angles in degrees, clockwise on the screen (y grows downwards).
std::vector<Vec> ArcPoints(Vec centre, float rx, float ry, float fromDeg, float toDeg, int steps);

// A band of the given width along the shape's edge (or along a line).
Shape Stroke(Shape s, float width);
Shape Union(Shape a, Shape b);
Shape Intersect(Shape a, Shape b);
Shape Subtract(Shape a, Shape minus);
Shape Move(Shape s, float dx, float dy);
// Grows the shape by d pixels (rounds its corners when d > 0).
Shape Grow(Shape s, float d);

}  // namespace shape

// Paints the shape in the colour, with an overall opacity.
void Paint(Canvas& canvas, const Shape& s, Rgb colour, float opacity = 1.0f);
// Paints the shape with a vertical gradient from top colour at y0 to bottom colour at y1.
void PaintVertical(Canvas& canvas, const Shape& s, Rgb top, Rgb bottom, float y0, float y1);
