#include "tests/devsim/stream_reader.h"

#include <turbojpeg.h>

#include <vector>

namespace devsim_test {
namespace {

class Cursor {
 public:
  explicit Cursor(std::string_view bytes) : bytes_(bytes) {}
  bool ok() const { return ok_; }
  size_t pos() const { return pos_; }
  uint8_t Peek() {
    if (pos_ >= bytes_.size()) {
      ok_ = false;
      return 0;
    }
    return static_cast<uint8_t>(bytes_[pos_]);
  }
  uint64_t Read(size_t n) {  // little-endian
    if (pos_ + n > bytes_.size()) {
      ok_ = false;
      pos_ = bytes_.size();
      return 0;
    }
    uint64_t v = 0;
    for (size_t i = 0; i < n; ++i) v |= static_cast<uint64_t>(Byte(pos_ + i)) << (8 * i);
    pos_ += n;
    return v;
  }
  std::string Text(size_t n) {
    if (pos_ + n > bytes_.size()) {
      ok_ = false;
      pos_ = bytes_.size();
      return "";
    }
    std::string s(bytes_.substr(pos_, n));
    pos_ += n;
    return s;
  }

 private:
  uint8_t Byte(size_t i) const { return static_cast<uint8_t>(bytes_[i]); }
  std::string_view bytes_;
  size_t pos_ = 0;
  bool ok_ = true;
};

void ParseLayout1(Cursor& c, StreamHeader& h) {
  h.version = static_cast<uint16_t>(c.Read(2));
  h.payload_field = c.Read(2);
  h.channel = static_cast<uint8_t>(c.Read(1) & 0x0F);
  h.display_channel = static_cast<uint8_t>(c.Read(1) >> 4);
  h.mask = static_cast<uint32_t>(c.Read(2));
  if (h.mask & 0x0002) h.motion = static_cast<uint16_t>(c.Read(2));
  if (h.mask & 0x0004) h.event_a = static_cast<uint16_t>(c.Read(2));
  if (h.mask & 0x0008) h.event_b = static_cast<uint16_t>(c.Read(2));
  if (h.mask & 0x0020) h.time_stamp = static_cast<uint32_t>(c.Read(4));
  if (h.mask & 0x0040) h.packed_date = static_cast<uint32_t>(c.Read(4));
  if (h.mask & 0x0080) h.title = c.Text(16);
  if (h.mask & 0x0100) h.extra = static_cast<uint8_t>(c.Read(1));
  if ((h.mask & 0x2000) && c.Peek() == 0x32) {
    c.Read(2);
    h.ext_mask = static_cast<uint16_t>(c.Read(2));
    if (h.ext_mask & 0x01) h.half_width = static_cast<uint8_t>(c.Read(1));
    if (h.ext_mask & 0x02) h.retr = static_cast<uint8_t>(c.Read(1));
    h.network_backup = h.ext_mask & 0x08;
    h.no_picture = h.ext_mask & 0x04;
    if (h.ext_mask & 0x20) h.display_channel = 16;
    if (h.ext_mask & 0x10) h.sensor = static_cast<uint8_t>(c.Read(1));
  }
}

void ParseLayout2(Cursor& c, StreamHeader& h) {
  h.mask = static_cast<uint32_t>(c.Read(4));
  if (h.mask & 0x1) h.payload_field = c.Read(4);
  if (h.mask & 0x2) h.title = c.Text(16);
  if (h.mask & 0x4) {
    h.retr = static_cast<uint8_t>(c.Read(1));
    c.Read(1);
  }
  if (h.mask & 0x8) h.half_width = static_cast<uint8_t>(c.Read(1));
  if (h.mask & 0x10) h.extra = static_cast<uint8_t>(c.Read(1));
  if (h.mask & 0x20) h.time_stamp = static_cast<uint32_t>(c.Read(4));
  if (h.mask & 0x40) h.channel = static_cast<uint8_t>(c.Read(1));
  if (h.mask & 0x80) h.event_a = static_cast<uint16_t>(c.Read(2));
  if (h.mask & 0x100) h.motion = static_cast<uint16_t>(c.Read(2));
  if (h.mask & 0x200) h.event_b = static_cast<uint16_t>(c.Read(2));
  h.network_backup = h.mask & 0x400;
  if (h.mask & 0x800) h.display_channel = static_cast<uint8_t>(c.Read(1));
  if (h.mask & 0x2000) h.packed_date = static_cast<uint32_t>(c.Read(4));
  h.no_picture = h.mask & 0x1000;
}

}  // namespace

ParseResult ParseStreamHeader(std::string_view bytes, int layout, bool counts_header,
                              StreamHeader* out) {
  StreamHeader h;
  h.layout = layout;
  Cursor c(bytes);
  if (layout == 1)
    ParseLayout1(c, h);
  else
    ParseLayout2(c, h);
  if (!c.ok()) return ParseResult::kNeedMore;
  h.length = c.pos();
  h.payload = h.payload_field;
  if (layout == 1 && counts_header) {
    h.payload = h.payload_field >= h.length ? h.payload_field - h.length : 0;
  }
  *out = h;
  return ParseResult::kOk;
}

UnpackedDate UnpackDate(uint32_t p) {
  return {static_cast<int>(p >> 26) + 2000,   static_cast<int>((p >> 22) & 0x0F),
          static_cast<int>((p >> 17) & 0x1F), static_cast<int>((p >> 12) & 0x1F),
          static_cast<int>((p >> 6) & 0x3F),  static_cast<int>(p & 0x3F)};
}

std::optional<JpegSize> JpegFrameSize(std::string_view j) {
  auto b = [&](size_t i) { return static_cast<uint8_t>(j[i]); };
  if (j.size() < 4 || b(0) != 0xFF || b(1) != 0xD8) return std::nullopt;
  size_t pos = 2;
  while (pos + 4 <= j.size() && b(pos) == 0xFF) {
    uint8_t marker = b(pos + 1);
    size_t length = static_cast<size_t>(b(pos + 2)) << 8 | b(pos + 3);
    if (marker == 0xDA) break;
    if ((marker == 0xC0 || marker == 0xC1 || marker == 0xC2) && pos + 9 <= j.size()) {
      return JpegSize{static_cast<int>(b(pos + 7)) << 8 | b(pos + 8),
                      static_cast<int>(b(pos + 5)) << 8 | b(pos + 6)};
    }
    pos += 2 + length;
  }
  return std::nullopt;
}

std::optional<JpegSize> DecodeJpeg(std::string_view jpeg) {
  tjhandle h = tjInitDecompress();
  if (!h) return std::nullopt;
  auto* data = reinterpret_cast<const unsigned char*>(jpeg.data());
  auto size = static_cast<unsigned long>(jpeg.size());
  int w = 0, height = 0, sub = 0, colour = 0;
  std::optional<JpegSize> result;
  if (tjDecompressHeader3(h, data, size, &w, &height, &sub, &colour) == 0 && w > 0 && height > 0) {
    std::vector<unsigned char> pixels(static_cast<size_t>(w) * height * 3);
    if (tjDecompress2(h, data, size, pixels.data(), w, 0, height, TJPF_BGR, TJFLAG_STOPONWARNING) ==
        0) {
      result = JpegSize{w, height};
    }
  }
  tjDestroy(h);
  return result;
}

bool IsDevicePicture(std::string_view j) {
  return j.size() >= 6 && j.substr(0, 4) == "\xFF\xD8\xFF\xDB" &&
         j.substr(j.size() - 2) == "\xFF\xD9";
}

}  // namespace devsim_test
