// The frame renderer's decisions: whether a picture is line-doubled and how large it is drawn,
// the row size of a 24-bit bitmap, the frame-rate and data-rate statistics every 2 s, and the
// texts laid over the status line ("HU: " title, alarm channel, "Video Loss!").
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Rows of a 24-bit device-independent bitmap: width x 3 rounded up to a multiple of 4.
uint32_t DibStride(uint32_t width);

// Widens packed 24-bit pixels (blue, green, red) to 32-bit ones (blue, green, red, 0): with the
// processor's byte shuffle where it has one, else WidenBgrToBgrxScalar.
void WidenBgrToBgrx(const uint8_t* bgr, uint8_t* bgrx, size_t pixels);
void WidenBgrToBgrxScalar(const uint8_t* bgr, uint8_t* bgrx, size_t pixels);

struct FramePlan {
  bool lineDouble = false;  // draw the picture scaled to twice its height first
  uint16_t width = 0;       // the picture as drawn
  uint16_t height = 0;
};
// Pictures 640 or more pixels wide are single video fields and are doubled in height, except
// from an RZ8P device; only when the doubled picture fits the buffer (otherwise drawn as it is).
FramePlan PlanFrame(uint16_t width, uint16_t height, bool rz8p, uint32_t doubleBufferBytes);

// Where a windowed picture is drawn: at the video origin, its own size, cut to the video
// rectangle's size (never over the rest of the window).
struct DrawArea {
  int32_t x, y, width, height;
};
DrawArea WindowedDrawArea(int32_t videoLeft, int32_t videoTop, int32_t videoWidth,
                          int32_t videoHeight, uint16_t pictureWidth, uint16_t pictureHeight);

// "%d" of the lowest set bit counted from 1; empty for 0.
std::string AlarmChannelText(uint16_t alarmData);
// "HU: " and the title up to its first zero byte (at most 16 bytes); empty for an empty title.
std::string HuText(const char (&title)[16]);

inline constexpr uint32_t kStatisticsPeriodMs = 2000;

struct StatisticsInput {
  uint32_t now;          // tick count
  uint32_t start;        // tick count the period began
  uint32_t shownFrames;  // frames shown so far
  uint32_t shownAtStat;  // frames shown when the last period ended
  uint32_t receivedBytes;
};
struct Statistics {
  bool due = false;  // 2 s or more since start (the difference taken as signed)
  uint32_t elapsedMs = 0;
  float fps = 0;
  uint32_t kbps = 0;
  std::string frameRateText;  // "FR:%.2f fps "
  std::string dataRateText;   // "DR:%lu kbps "
};
// The data rate is computed in 64 bits, so that it does not wrap at high rates.
Statistics ComputeStatistics(const StatisticsInput& in);
// "Video Loss!" while the device sends no picture, else the two rate texts.
std::string StatusLineOf(const Statistics& s, bool noPicture);
