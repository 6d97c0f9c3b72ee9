// The Win32 region of one outline layer.
#include <windows.h>

#include <climits>

#include "ui/button_outline.h"

static_assert(sizeof(OutlineXY) == sizeof(POINT) && alignof(OutlineXY) == alignof(POINT));

bool CButtonOutline::CreateLayerRegion(HRGN* region, int layer) {
  // The point array is sized from the layer, so any number of points fits.
  const std::vector<OutlineXY> polygon = LayerPolygon(layer);
  if (polygon.empty() || polygon.size() > static_cast<std::size_t>(INT_MAX)) return false;
  std::vector<POINT> points(polygon.size());
  for (std::size_t i = 0; i < polygon.size(); ++i) points[i] = {polygon[i].x, polygon[i].y};
  HRGN created = CreatePolygonRgn(points.data(), static_cast<int>(points.size()), ALTERNATE);
  if (!created) return false;
  *region = created;
  return true;
}
