#include "devsim/block_seed.h"

#include <cstring>
#include <string>
#include <vector>

namespace devsim {
namespace {

// Writes into one block's bytes by offset.
class Writer {
 public:
  explicit Writer(std::vector<uint8_t>& bytes) : b_(bytes) {}
  void U8(size_t at, uint8_t v) { b_.at(at) = v; }
  void U16(size_t at, uint16_t v) {
    U8(at, static_cast<uint8_t>(v));
    U8(at + 1, static_cast<uint8_t>(v >> 8));
  }
  void U32(size_t at, uint32_t v) {
    U16(at, static_cast<uint16_t>(v));
    U16(at + 2, static_cast<uint16_t>(v >> 16));
  }
  void Ip(size_t at, uint8_t a, uint8_t b, uint8_t c, uint8_t d) {
    U8(at, a);
    U8(at + 1, b);
    U8(at + 2, c);
    U8(at + 3, d);
  }
  // Zero-filled text of a field of `size` bytes.
  void Text(size_t at, size_t size, std::string_view text) {
    for (size_t i = 0; i < size; ++i)
      U8(at + i, i < text.size() ? static_cast<uint8_t>(text[i]) : 0);
  }

 private:
  std::vector<uint8_t>& b_;
};

// Older than a four-character threshold; a version of another length is never older.
bool Older(std::string_view firmware, std::string_view threshold) {
  return firmware.size() == 4 && threshold.size() == 4 && firmware < threshold;
}

bool IsRecorder(std::string_view id) {
  return id == "RZ1K" || id == "RZ3K" || id == "RZ4K";
}

int Channels(std::string_view id) {
  if (id == "RZ3K") return 8;
  if (id == "RZ4K") return 4;
  return 16;
}

// The product's number among the eight, for values that differ per product.
uint8_t ProductNumber(std::string_view id) {
  return id.size() == 4 ? static_cast<uint8_t>(id[2] - '0') : 0;
}

}  // namespace

bool OlderPppoeLayout(std::string_view product_id, std::string_view firmware) {
  return Older(firmware, FamilyOf(product_id) == Family::kDvr ? "1052" : "1007");
}

void SeedBlocks(BlockStore& blocks, std::string_view id, std::string_view firmware,
                uint32_t capability_mask) {
  const bool recorder = IsRecorder(id);
  const uint8_t n = ProductNumber(id);
  const int channels = Channels(id);
  auto seed = [&](std::string_view name, auto fill) {
    if (blocks.IsExplicit(name)) return;
    std::vector<uint8_t> bytes(FindBlock(name)->size, 0);
    Writer w(bytes);
    fill(w);
    blocks.Set(name, bytes);
  };

  seed("INF", [&](Writer& w) {
    w.U16(0, 0x0101);
    w.Text(4, 16, std::string(id) + "-" + std::string(firmware));
    w.U32(20, capability_mask);
    w.Text(24, 8, id);
    w.U8(32, static_cast<uint8_t>(channels));
  });
  seed("IP", [&](Writer& w) {
    w.U16(0, 0x0001);
    w.Ip(4, 192, 168, 1, static_cast<uint8_t>(100 + n));
    w.Ip(8, 255, 255, 255, 0);
    w.Ip(12, 192, 168, 1, 1);
    w.U16(16, 80);
    w.U8(22, 0);  // static address
    w.U8(23, recorder ? 2 : 0);
  });
  seed("SECURE", [&](Writer& w) {
    w.U8(0, 1);
    w.U8(2, 5);
    struct User {
      const char* name;
      const char* password;
      uint8_t level;
      uint32_t life;
    };
    const User users[] = {{"revuv", "revuv", 30, 0xFFFFFFFF},
                          {"operator", "op2006", 20, 1440},
                          {"guard", "night", 10, 60}};
    for (size_t i = 0; i < std::size(users); ++i) {
      w.Text(8 + 16 * i, 16, users[i].name);
      w.Text(88 + 16 * i, 16, users[i].password);
      w.U8(168 + i, users[i].level);
      w.U32(176 + 4 * i, users[i].life);
    }
  });
  seed("DNS", [&](Writer& w) {
    w.U8(0, 1);
    w.U8(3, 0);
    w.Ip(4, 192, 168, 1, 1);
  });
  seed("SMTP", [&](Writer& w) {
    w.U8(0, 1);
    w.U8(4, 2);  // authentication on
    w.U8(5, 0);  // dynamic DNS off
    w.Text(8, 64, "mail.example.net");
    w.Text(72, 16, "dvr-alerts");
    w.Text(88, 16, "custom");
    w.Text(104, 16, "dvruser");
    w.Text(120, 16, "ddnspass");
    w.Text(136, 48, "ops <ops@example.net>");
    w.Text(184, 48, "guard <guard@example.net>");
    w.Text(328, 48, "lobby.example.net");
    w.Text(376, 32, "alerts");
    w.Text(408, 32, "mailpass");
  });
  seed("FTP", [&](Writer& w) {
    w.U8(0, 1);
    w.Text(4, 32, "ftp.example.net");
    w.Text(36, 16, "upload");
    w.Text(52, 16, "ftppass");
    w.Text(68, 32, "/alarms");
    w.U16(100, 21);
  });
  seed("PPPOE", [&](Writer& w) {
    w.U8(0, 1);
    if (OlderPppoeLayout(id, firmware)) {
      w.Text(36, 16, "pppuser");
      w.Text(52, 16, "ppppass");
    } else {
      w.Text(4, 32, "pppuser@isp.example.net");
      w.Text(36, 32, "ppppass");
    }
  });
  seed("SYSTEM", [&](Writer& w) {
    w.U8(0, 1);
    w.U8(1, static_cast<uint8_t>(channels));
    w.Text(20, 16, "LOBBY");
  });
  seed("SNTP", [&](Writer& w) {
    w.U8(0, 1);
    w.U8(2, 8);  // UTC+8:00, row 57 of the zone table
    w.U8(3, 0);
    w.U8(5, 57);
    w.U8(6, 1);
    // On recorders with "1027" or newer this place holds the sender account's overflow.
    if (!recorder || Older(firmware, "1027")) w.Text(8, 28, "time.example.net");
  });
  seed("IMG", [&](Writer& w) {
    w.U8(0, 1);
    w.U8(1, 1);
    w.U16(4, 704);
    w.U16(6, 480);
  });
  seed("RS485", [&](Writer& w) {
    w.U8(0, 1);
    if (recorder) {
      for (int ch = 0; ch < 16; ++ch) {
        w.U8(12 + ch, static_cast<uint8_t>(ch + 1));
        w.U8(28 + ch, ch < 2 ? 1 : 0);  // PTZ on channels 1 and 2
        w.U8(44 + ch, ch == 1 ? 1 : 0);
        w.U32(60 + 4 * ch, ch < 2 ? 2400 : 9600);
      }
    } else if (id == "RZ2K" && !Older(firmware, "1010")) {
      w.Text(44, 8, "GAT");
      w.Text(52, 8, "YRD");
    }
  });
  seed("ALARM", [&](Writer& w) {
    w.U8(0, 1);
    w.U8(2, 3);
    w.U8(3, 1);  // e-mail
    w.U8(5, 2);
    w.U16(6, recorder ? 10 : 30);
    if (recorder) {
      for (int ch = 0; ch < 16; ++ch) w.U8(8 + ch, static_cast<uint8_t>(ch % 3));
    } else if (id == "RZ2K") {
      w.U8(9, 12);  // inputs 3 and 4 on CH2
    }
  });
  seed("ONLINE", [&](Writer& w) {
    w.Text(0, 16, "revuv");
    w.Ip(16, 127, 0, 0, 1);
    w.U8(20, 30);
    w.U8(21, 1);
    w.U8(22, 1);
    w.U8(23, 0);
    w.Text(24, 16, "guard");
    w.Ip(40, 192, 168, 1, 50);
    w.U8(44, 10);
    w.U8(45, 0);
    w.U8(46, 2);
    w.U8(47, 1);
  });
  seed("DVRLIVE", [&](Writer& w) {
    w.U8(0, 1);
    for (int ch = 0; ch < 16; ++ch) {
      w.U8(4 + ch, static_cast<uint8_t>(128 + ch));
      w.U8(20 + ch, static_cast<uint8_t>(120 - ch));
      w.U8(36 + ch, 128);
      w.U8(52 + ch, static_cast<uint8_t>(100 + 2 * ch));
      w.U8(84 + ch, ch == 3 ? 1 : 0);
      w.Text(116 + 6 * ch, 6, "CAM" + std::string(ch < 9 ? "0" : "") + std::to_string(ch + 1));
      w.U8(308 + ch, ch % 2 == 0 ? 1 : 0);
      w.U8(324 + ch, 8);
      w.U8(340 + ch, 6);
      w.U8(356 + ch, 4);
      w.U8(372 + ch, 30);
      for (int row = 0; row < 12; ++row) {
        // A rectangle of columns 4-11 on rows 3-8.
        const uint16_t word = row >= 3 && row <= 8 ? 0x0FF0 : 0;
        w.U8(388 + 24 * ch + 2 * row, static_cast<uint8_t>(word >> 8));
        w.U8(388 + 24 * ch + 2 * row + 1, static_cast<uint8_t>(word));
      }
    }
  });
  seed("DVROSD", [&](Writer& w) {
    w.U8(0, 1);
    w.U8(4, 1);
    w.U8(5, 1);
  });
  seed("DVRREC", [&](Writer& w) {
    w.U8(0, 1);
    for (int ch = 0; ch < 16; ++ch) w.U8(20 + ch, ch < channels ? 1 : 0);
    w.U8(87, 8);  // MON-FRI 08:00-17:30
    w.U16(94, 8 * 256);
    w.U16(108, 17 * 256 + 30);
    w.U8(88, 9);  // SAT-SUN 10:00-14:00
    w.U16(96, 10 * 256);
    w.U16(110, 14 * 256);
  });
  seed("PERI", [&](Writer& w) {
    w.U8(0, 1);
    w.U8(2, 1);
    w.U8(3, 25);
    w.U32(4, 9600);
    w.U32(8, 38400);
    w.U8(12, 1);
    w.U8(13, 2);
  });
}

}  // namespace devsim
