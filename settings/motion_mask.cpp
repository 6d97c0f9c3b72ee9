#include "settings/motion_mask.h"

#include <algorithm>
#include <cstring>

namespace {

int ClampColumn(int c) {
  return std::clamp(c, 0, kMotionColumns - 1);
}
int ClampRow(int r) {
  return std::clamp(r, 0, kMotionRows - 1);
}

}  // namespace

size_t MotionMaskByte(int column, int row) {
  return static_cast<size_t>(2 * ClampRow(row) + (ClampColumn(column) < 8 ? 1 : 0));
}

uint8_t MotionMaskBit(int column, int row) {
  (void)row;
  return static_cast<uint8_t>(1u << (ClampColumn(column) % 8));
}

bool MotionCellSet(const MotionMask& mask, int column, int row) {
  return (mask[MotionMaskByte(column, row)] & MotionMaskBit(column, row)) != 0;
}

void SetMotionCell(MotionMask& mask, int column, int row, bool on) {
  uint8_t& b = mask[MotionMaskByte(column, row)];
  const uint8_t bit = MotionMaskBit(column, row);
  b = static_cast<uint8_t>(on ? (b | bit) : (b & ~bit));
}

void ToggleMotionCell(MotionMask& mask, int column, int row) {
  mask[MotionMaskByte(column, row)] ^= MotionMaskBit(column, row);
}

int MotionRowHeight(uint8_t videoStandard) {
  return videoStandard == 0 ? 19 : 23;
}

bool MotionView::Contains(MotionPoint p) const {
  const int height = std::min(imageHeight, kMotionRows * rowHeight);
  return p.x >= x && p.x < x + kMotionViewWidth && p.y >= y && p.y < y + height;
}

MotionCell MotionView::CellAt(MotionPoint p) const {
  const int h = rowHeight > 0 ? rowHeight : 1;
  return {ClampColumn((p.x - x) / kMotionCellWidth), ClampRow((p.y - y) / h)};
}

bool MotionMaskEditor::OnButtonDown(MotionPoint p) {
  if (!m_pictureReceived) return false;
  if (m_state == MotionMouseState::kIdle && m_view.Contains(p))
    m_state = MotionMouseState::kPressed;
  return false;
}

bool MotionMaskEditor::OnMouseMove(MotionPoint p) {
  if (!m_pictureReceived) return false;
  const bool inside = m_view.Contains(p);
  const bool anyHighlight =
      std::any_of(m_highlight.begin(), m_highlight.end(), [](uint8_t b) { return b != 0; });
  switch (m_state) {
    case MotionMouseState::kIdle:
    case MotionMouseState::kPressed:
      if (!inside) {
        m_highlight.fill(0);
        return anyHighlight;
      }
      if (m_state == MotionMouseState::kIdle) {
        const MotionCell c = m_view.CellAt(p);
        if (MotionCellSet(m_highlight, c.column, c.row)) return false;
        m_highlight.fill(0);
        SetMotionCell(m_highlight, c.column, c.row, true);
        return true;
      } else {
        m_highlight.fill(0);
        m_dragStart = p;
        const MotionCell c = m_view.CellAt(p);
        SetMotionCell(m_highlight, c.column, c.row, true);
        m_state = MotionMouseState::kDragging;
        return true;
      }
    case MotionMouseState::kDragging:
      if (!inside || p == m_dragStart) return false;
      m_dragEnd = p;
      HighlightRectangle(m_dragStart, m_dragEnd);
      return true;
  }
  return false;
}

bool MotionMaskEditor::OnButtonUp(MotionPoint p) {
  if (!m_pictureReceived) return false;
  if (m_state == MotionMouseState::kPressed) {
    if (!m_view.Contains(p)) return false;
    const MotionCell c = m_view.CellAt(p);
    ToggleMotionCell(m_area, c.column, c.row);
    m_state = MotionMouseState::kIdle;
    return true;
  }
  if (m_state == MotionMouseState::kDragging) {
    for (size_t i = 0; i < m_area.size(); ++i) m_area[i] ^= m_highlight[i];
    m_highlight.fill(0);
    m_state = MotionMouseState::kIdle;
    return true;
  }
  return false;
}

void MotionMaskEditor::HighlightRectangle(MotionPoint a, MotionPoint b) {
  const int left = std::min(a.x, b.x), right = std::max(a.x, b.x);
  const int top = std::min(a.y, b.y), bottom = std::max(a.y, b.y);
  const int h = m_view.rowHeight;
  m_highlight.fill(0);
  for (int r = 0; r < kMotionRows; ++r) {
    const int y0 = m_view.y + r * h, y1 = y0 + h;
    if (y0 > bottom || y1 < top) continue;
    for (int c = 0; c < kMotionColumns; ++c) {
      const int x0 = m_view.x + c * kMotionCellWidth, x1 = x0 + kMotionCellWidth;
      if (x0 > right || x1 < left) continue;
      SetMotionCell(m_highlight, c, r, true);
    }
  }
}

MotionPicture TakeMotionPicture(const uint8_t* frame, size_t frameCapacity, int width, int height,
                                uint8_t* out, size_t outCapacity) {
  if (!frame || !out || width <= 0 || height <= 0) return {};
  const size_t srcStride = static_cast<size_t>(width) * 3;
  if (srcStride * static_cast<size_t>(height) > frameCapacity) return {};
  if (width <= kMotionViewWidth) {
    const size_t bytes = srcStride * static_cast<size_t>(height);
    if (bytes > outCapacity) return {};
    std::memcpy(out, frame, bytes);
    return {width, height};
  }
  const int w = width / 2, h = height / 2;
  const size_t dstStride = static_cast<size_t>(w) * 3;
  if (dstStride * static_cast<size_t>(h) > outCapacity || h == 0) return {};
  for (int y = 0; y < h; ++y) {
    const uint8_t* s = frame + srcStride * static_cast<size_t>(2 * y);
    uint8_t* d = out + dstStride * static_cast<size_t>(y);
    for (int x = 0; x < w; ++x) std::memcpy(d + 3 * x, s + 6 * x, 3);
  }
  return {w, h};
}

void PaintMotionGrid(uint8_t* bgr, int width, int height, const MotionMask& area,
                     const MotionMask& highlight) {
  if (!bgr || width < kMotionColumns || height < kMotionRows) return;
  const int cw = width / kMotionColumns, ch = height / kMotionRows;
  const size_t stride = static_cast<size_t>(width) * 3;
  const auto pixel = [&](int x, int yTop) {
    return bgr + stride * static_cast<size_t>(height - 1 - yTop) + 3 * static_cast<size_t>(x);
  };
  for (int r = 0; r < kMotionRows; ++r) {
    for (int c = 0; c < kMotionColumns; ++c) {
      const bool set = MotionCellSet(area, c, r);
      const bool lit = MotionCellSet(highlight, c, r);
      const int x0 = c * cw, y0 = r * ch;
      if (set) {
        for (int y = y0; y < y0 + ch; ++y) {
          for (int x = x0; x < x0 + cw; ++x) {
            uint8_t* p = pixel(x, y);
            p[0] = static_cast<uint8_t>(p[0] * 155 / 255);
            p[1] = static_cast<uint8_t>(p[1] * 155 / 255);
            p[2] = static_cast<uint8_t>(p[2] * 155 / 255 + 100);
          }
        }
      }
      if (!set && !lit) continue;
      // Blue outline for a highlighted cell, yellow for a set one (as blue, green, red bytes).
      const uint8_t b = lit ? 255 : 0, g = lit ? 0 : 255, red = lit ? 0 : 255;
      const auto put = [&](int x, int y) {
        uint8_t* p = pixel(x, y);
        p[0] = b;
        p[1] = g;
        p[2] = red;
      };
      for (int x = x0; x < x0 + cw; ++x) {
        put(x, y0);
        put(x, y0 + ch - 1);
      }
      for (int y = y0; y < y0 + ch; ++y) {
        put(x0, y);
        put(x0 + cw - 1, y);
      }
    }
  }
}
