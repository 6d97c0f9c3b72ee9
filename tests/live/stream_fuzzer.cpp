// Arbitrary byte streams through the frame splitter and the header parser: any read boundaries,
// either layout, any device family. Every frame handed out must fit the slot and be a device
// picture; nothing may read or write out of bounds.
#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "live/frame_splitter.h"
#include "live/jpeg_frame.h"
#include "live/header_reactions.h"
#include "live/rtp_header_parser.h"

namespace {

constexpr uint32_t kSlotBytes = 102400;
const char* const kProducts[] = {"RZ1K", "RZ2K", "RZ3K", "RZ4K", "RZ5M", "RZ6M", "RZ7M", "RZ8P"};

// Segments of pseudo-random lengths (1-2047) drawn from a seed byte.
class FuzzSource : public FrameStreamSource {
 public:
  FuzzSource(const uint8_t* data, size_t size, uint8_t seed)
      : m_data(data), m_size(size), m_state(seed * 2654435761u + 1) {}
  int Read(uint8_t* buffer, uint32_t size) override {
    if (size == 0 || size > CFrameSplitter::kChunkBytes) std::abort();
    if (m_pos >= m_size) return kReadFailed;
    if (m_segmentLeft == 0) {
      m_state = m_state * 1103515245u + 12345u;
      m_segmentLeft = 1 + (m_state >> 16) % 2047;
    }
    size_t n = std::min<size_t>(std::min<size_t>(size, m_segmentLeft), m_size - m_pos);
    std::memcpy(buffer, m_data + m_pos, n);
    m_pos += n;
    m_segmentLeft -= n;
    return static_cast<int>(n);
  }

 private:
  const uint8_t* m_data;
  size_t m_size;
  size_t m_pos = 0;
  size_t m_segmentLeft = 0;
  uint32_t m_state;
};

class FuzzHost : public HeaderReactionHost {
 public:
  explicit FuzzHost(uint8_t flags) : m_product(kProducts[(flags >> 1) & 7]), m_flags(flags) {}
  std::string_view ProductId() const override { return m_product; }
  uint8_t MultiChannel() const override { return m_flags & 0x10; }
  uint8_t AlarmTriggerFlag() const override { return m_flags & 0x20; }
  uint8_t AlarmAutoSwitchVideo() const override { return m_flags & 0x40; }
  bool IsAlarmSoundPlaying() const override { return m_playing; }
  bool HasModel19_22_23() const override { return m_flags & 0x80; }
  bool IsAlarmRecording() const override { return m_recording; }
  DeviceTime LastDeviceTime() const override { return m_time; }
  void StoreDeviceTime(const DeviceTime& t) override { m_time = t; }
  void PostDeviceClockChanged() override {}
  void PostAlarmAudio(uint32_t lParam) override { m_playing = lParam == 0; }
  void SwitchChannel(int channel) override {
    if (channel < 1 || channel > 16) std::abort();
  }
  void SetRETRState(uint8_t) override {}
  void SetStatusText(const char* text) override {
    if (!text) std::abort();
  }
  void PostCmosState(uint8_t) override {}
  void CreateAlarmRecordFile() override { m_recording = true; }
  void CloseAlarmRecordFile() override { m_recording = false; }

 private:
  std::string m_product;
  uint8_t m_flags;
  bool m_playing = false;
  bool m_recording = false;
  DeviceTime m_time{};
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const uint8_t flags = data[0];
  const uint8_t seed = data[1];
  data += 2;
  size -= 2;

  // The decoder alone, both layouts, on the raw bytes.
  for (HeaderLayout layout : {HeaderLayout::kVersionWord, HeaderLayout::kPresenceMask}) {
    StreamFrameHeader h;
    const uint32_t n = static_cast<uint32_t>(std::min<size_t>(size, 4096));
    if (DecodeStreamFrameHeader(data, n, layout, &h) == HeaderParse::kParsed &&
        (h.rtph.dwHeaderLength > n || h.rtph.dwHeaderLength > kMaxStreamFrameHeaderBytes))
      std::abort();
  }

  // The whole stream through splitter and parser.
  static std::vector<uint8_t> slot(kSlotBytes);
  FuzzHost host(flags);
  CRTPHeaderParser parser;
  CHeaderReactions reactions(parser);
  reactions.SetHost(&host);
  parser.m_fNewHeader = flags & 1;
  parser.m_fPayloadCountsHeader = host.ProductId() == "RZ8P" ? 1 : 0;
  CFrameSplitter splitter;
  FuzzSource source(data, size, seed);
  for (int frames = 0; frames < 100000; ++frames) {
    StreamFrame frame{};
    if (splitter.NextFrame(source, parser, &reactions, slot.data(), kSlotBytes, &frame) !=
        CFrameSplitter::Outcome::kFrame)
      break;
    if (frame.length < 4 || frame.length > kSlotBytes || !IsJpegFrame(slot.data(), frame.length))
      std::abort();
    if (splitter.CarryLength() >= CFrameSplitter::kChunkBytes) std::abort();
  }
  return 0;
}
