// The motion area of one channel: a 16 x 12 grid of cells, one bit each in 24 bytes. Row r is the
// big-endian word of bytes 2r and 2r+1 in which column c is bit c, so columns 0-7 are in byte
// 2r+1 and columns 8-15 in byte 2r. Also the editor's mouse rules over a picture of the channel
// and the drawing of the grid into that picture.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

inline constexpr int kMotionColumns = 16;
inline constexpr int kMotionRows = 12;
inline constexpr int kMotionViewWidth = 320;
inline constexpr int kMotionCellWidth = kMotionViewWidth / kMotionColumns;  // 20

using MotionMask = std::array<uint8_t, 24>;

// Byte index and bit of cell (column, row); both are clamped to the grid.
size_t MotionMaskByte(int column, int row);
uint8_t MotionMaskBit(int column, int row);
bool MotionCellSet(const MotionMask& mask, int column, int row);
void SetMotionCell(MotionMask& mask, int column, int row, bool on);
void ToggleMotionCell(MotionMask& mask, int column, int row);

// Row height of the editor's view: 19 pixels for the 525-line standard (0), else 23; the view is
// 12 rows of it, 228 or 276 pixels.
int MotionRowHeight(uint8_t videoStandard);

struct MotionPoint {
  int x = 0, y = 0;
  bool operator==(const MotionPoint&) const = default;
};

struct MotionCell {
  int column = 0, row = 0;
};

// Where the picture is in the editor's window and how tall the received picture is.
struct MotionView {
  int x = 0, y = 0;
  int rowHeight = 19;
  int imageHeight = 0;
  // The point is over the picture: inside the 320 columns and inside both the picture and the
  // view's 12 rows, so a taller picture never reaches a thirteenth row.
  bool Contains(MotionPoint p) const;
  // The cell under a point (column and row clamped to the grid).
  MotionCell CellAt(MotionPoint p) const;
};

enum class MotionMouseState : uint8_t { kIdle = 1, kDragging = 2, kPressed = 4 };

// The editor's click and drag rules. Nothing changes until a picture has been received.
class MotionMaskEditor {
 public:
  explicit MotionMaskEditor(const MotionMask& area) : m_area(area) {}

  void SetView(const MotionView& view) { m_view = view; }
  void SetPictureReceived(bool received) { m_pictureReceived = received; }

  // Each returns true when the grid must be repainted.
  bool OnButtonDown(MotionPoint p);
  bool OnMouseMove(MotionPoint p);
  bool OnButtonUp(MotionPoint p);
  // "( + ) SELECT ALL" clears every cell, "( - ) CLEAR ALL" sets every cell (the device's sense of
  // a set bit).
  void SelectAll() { m_area.fill(0x00); }
  void ClearAll() { m_area.fill(0xFF); }

  const MotionMask& area() const { return m_area; }
  const MotionMask& highlight() const { return m_highlight; }
  MotionMouseState state() const { return m_state; }

 private:
  void HighlightRectangle(MotionPoint a, MotionPoint b);

  MotionMask m_area{};
  MotionMask m_highlight{};
  MotionView m_view;
  bool m_pictureReceived = false;
  MotionMouseState m_state = MotionMouseState::kIdle;
  MotionPoint m_dragStart, m_dragEnd;
};

// The picture a redraw takes from the renderer's hand-over buffer: a picture wider than 320
// pixels keeps every second pixel of every second row. Both copies are bounded by the buffers'
// sizes; a picture that does not fit gives width and height 0 and copies nothing.
struct MotionPicture {
  int width = 0, height = 0;
};
MotionPicture TakeMotionPicture(const uint8_t* frame, size_t frameCapacity, int width, int height,
                                uint8_t* out, size_t outCapacity);

// Draws the grid into a 24-bit bottom-up picture (rows counted from the top): cells of width / 16
// by height / 12 pixels; a set cell is tinted (blue and green times 155 / 255, red the same plus
// 100) and outlined yellow; a highlighted cell is outlined blue.
void PaintMotionGrid(uint8_t* bgr, int width, int height, const MotionMask& area,
                     const MotionMask& highlight);
