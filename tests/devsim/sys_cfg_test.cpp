// Configuration blocks: the two ALL layouts, size checks on both operations, the capability
// mask, the blocks file, the seeded settings and the web port that follows the IP block.
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <fstream>

#include "tests/devsim/devsim_fixture.h"

namespace devsim_test {
namespace {

struct Block {
  const char* name;
  size_t size;
};

// Offsets of the ALL reply, block after block.
constexpr Block kCommon[] = {{"INF", 44},   {"IP", 24},   {"SECURE", 196}, {"DNS", 12},
                             {"SMTP", 440}, {"FTP", 104}, {"PPPOE", 68},   {"SYSTEM", 36},
                             {"SNTP", 36},  {"IMG", 12},  {"RS485", 124},  {"ALARM", 24}};
constexpr Block kDvrTail[] = {{"DVRLIVE", 772}, {"DVROSD", 20}, {"DVRREC", 132}};
constexpr Block kVideoServerTail[] = {{"PERI", 16}};

std::string Fill(size_t size, int seed) {
  std::string s(size, '\0');
  for (size_t i = 0; i < size; ++i) s[i] = static_cast<char>(seed * 31 + i * 7 + 1);
  return s;
}

std::string WriteQuery(const std::string& option, const std::string& cookie) {
  return "/SetSysCfg.cgi?Option=" + option + (option == "DNS" ? "&Refresh=False" : "") +
         "&Cookie=" + cookie;
}

class SysCfgLayout : public DevsimTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(SysCfgLayout, AllPutsEveryBlockAtItsOffsetWithOnlineLast) {
  std::string product = GetParam();
  bool dvr = product == "RZ1K";
  StartDevsim({"--product", product, "--online-length", "100"});
  std::string cookie = Login();

  std::vector<Block> layout(std::begin(kCommon), std::end(kCommon));
  if (dvr)
    layout.insert(layout.end(), std::begin(kDvrTail), std::end(kDvrTail));
  else
    layout.insert(layout.end(), std::begin(kVideoServerTail), std::end(kVideoServerTail));

  int seed = 1;
  for (const auto& b : layout) {
    ASSERT_EQ(Get(WriteQuery(b.name, cookie), Fill(b.size, seed++)).status, 200) << b.name;
  }
  std::string online = Fill(240, 99);
  Control("/_devsim/set?block.ONLINE=" + [&] {
    std::string hex;
    for (unsigned char c : online) {
      static const char* d = "0123456789abcdef";
      hex += d[c >> 4];
      hex += d[c & 15];
    }
    return hex;
  }());

  ParsedReply all = Get("/GetSysCfg.cgi?Option=ALL&Size=0&Cookie=" + cookie);
  ASSERT_EQ(all.status, 200);
  size_t fixed = dvr ? 2044 : 1136;
  ASSERT_EQ(all.body.size(), fixed + 100);
  size_t offset = 0;
  seed = 1;
  for (const auto& b : layout) {
    EXPECT_EQ(all.body.substr(offset, b.size), Fill(b.size, seed++)) << b.name << " at " << offset;
    offset += b.size;
  }
  EXPECT_EQ(offset, fixed);
  EXPECT_EQ(all.body.substr(fixed), online.substr(0, 100));
  EXPECT_EQ(Get("/GetSysCfg.cgi?Option=ONLINE&Size=240&Cookie=" + cookie).body,
            online.substr(0, 100));

  // The other family's blocks are not served.
  for (const auto& b :
       dvr ? std::vector<Block>(std::begin(kVideoServerTail), std::end(kVideoServerTail))
           : std::vector<Block>(std::begin(kDvrTail), std::end(kDvrTail))) {
    EXPECT_EQ(Get("/GetSysCfg.cgi?Option=" + std::string(b.name) +
                  "&Size=" + std::to_string(b.size) + "&Cookie=" + cookie)
                  .status,
              400)
        << b.name;
  }
}

INSTANTIATE_TEST_SUITE_P(Families, SysCfgLayout, ::testing::Values("RZ1K", "RZ2K"));

TEST_F(DevsimTest, BlockWritesNeedTheExactSizeAndRefreshOnlyForDns) {
  StartDevsim();
  std::string cookie = Login();
  struct Case {
    std::string query;
    size_t body_size;
    bool with_body;
    int status;
  } cases[] = {
      {"Option=SYSTEM", 36, true, 200},
      {"Option=SYSTEM", 35, true, 400},
      {"Option=SYSTEM", 37, true, 400},
      {"Option=SYSTEM", 0, false, 400},
      {"Option=SYSTEM&Refresh=False", 36, true, 400},
      {"Option=DNS&Refresh=False", 12, true, 200},
      {"Option=DNS&Refresh=True", 12, true, 200},
      {"Option=DNS", 12, true, 400},
      {"Option=DNS&Refresh=false", 12, true, 400},
      {"Option=DVRLIVE", 772, true, 200},
      {"Option=PERI", 16, true, 400},  // not a DVR block
      {"Option=ALL", 2044, true, 400},
      {"Option=ONLINE", 240, true, 400},
      {"Option=NOPE", 4, true, 400},
      {"", 36, true, 400},
  };
  for (const auto& c : cases) {
    std::string before = StoredBlock("SYSTEM");
    std::string body = Fill(c.body_size, 5);
    ParsedReply r =
        Get("/SetSysCfg.cgi?" + c.query + (c.query.empty() ? "" : "&") + "Cookie=" + cookie, body,
            c.with_body);
    EXPECT_EQ(r.status, c.status) << c.query << " " << c.body_size << ": " << r.body;
    if (c.status == 200) {
      std::string option = c.query.substr(
          7, c.query.find('&') == std::string::npos ? std::string::npos : c.query.find('&') - 7);
      EXPECT_EQ(StoredBlock(option), body) << c.query;
    } else {
      EXPECT_EQ(StoredBlock("SYSTEM"), before) << c.query;
    }
  }
}

TEST_F(DevsimTest, BlockReadsNeedTheBlockSize) {
  StartDevsim({"--capability-mask", "0x01020304"});
  std::string cookie = Login();
  ParsedReply inf = Get("/GetSysCfg.cgi?Option=INF&Size=44&Cookie=" + cookie);
  ASSERT_EQ(inf.body.size(), 44u);
  EXPECT_EQ(inf.body.substr(20, 4), "\x04\x03\x02\x01");
  EXPECT_EQ(Get("/GetSysCfg.cgi?Option=SYSTEM&Size=36&Cookie=" + cookie).body.size(), 36u);
  EXPECT_EQ(Get("/GetSysCfg.cgi?Option=SYSTEM&Size=40&Cookie=" + cookie).status, 400);
  EXPECT_EQ(Get("/GetSysCfg.cgi?Option=SYSTEM&Cookie=" + cookie).status, 400);
  EXPECT_EQ(Get("/GetSysCfg.cgi?Option=ALL&Size=36&Cookie=" + cookie).status, 400);
  EXPECT_EQ(Get("/GetSysCfg.cgi?Option=ONLINE&Size=24&Cookie=" + cookie).status, 400);
  EXPECT_EQ(Get("/GetSysCfg.cgi?Option=ONLINE&Size=240&Cookie=" + cookie).body.size(), 24u);
}

TEST_F(DevsimTest, BlocksFileKeepsWrittenBlocksAcrossRuns) {
  std::string file = TempPath("blocks.txt");
  std::string system = Fill(36, 7);
  {
    DevsimProcess first;
    ASSERT_TRUE(first.Start({"--blocks", file})) << first.error();
    ParsedReply login = ParseReply(
        Exchange(first.port(), ClientRequest("/Login.cgi?Username=revuv&Password=revuv")).bytes);
    std::string cookie = login.body.substr(11, 16);
    ASSERT_EQ(ParseReply(
                  Exchange(first.port(), ClientRequest(WriteQuery("SYSTEM", cookie), system)).bytes)
                  .status,
              200);
    EXPECT_EQ(first.Stop(), 0);
  }
  StartDevsim({"--blocks", file, "--capability-mask", "5"});
  EXPECT_EQ(StoredBlock("SYSTEM"), system);
  EXPECT_EQ(StoredBlock("INF").substr(20, 4), std::string("\x05\0\0\0", 4));
}

uint32_t Le(const std::string& b, size_t at, size_t width) {
  uint32_t v = 0;
  for (size_t i = width; i-- > 0;) v = (v << 8) | static_cast<uint8_t>(b.at(at + i));
  return v;
}

std::string TextAt(const std::string& b, size_t at, size_t width) {
  const std::string field = b.substr(at, width);
  return field.substr(0, field.find('\0'));
}

// A fresh device holds its product's settings, in the layouts of its family and firmware.
TEST_F(DevsimTest, BlocksStartWithTheProductsSettings) {
  struct Case {
    const char* product;
    const char* firmware;
    size_t pppoe_user;        // offset of the PPPoE user name
    const char* rs485_title;  // RZ2K's TitleA, or "" where the block holds none
    uint8_t alarm_source;     // ALARM byte 9
    uint8_t recording;        // channels with recording on
  };
  const Case cases[] = {
      {"RZ1K", "1051", 36, "", 1, 16},   {"RZ3K", "1052", 4, "", 1, 8},
      {"RZ4K", "1060", 4, "", 1, 4},     {"RZ2K", "1006", 36, "", 12, 0},
      {"RZ2K", "1010", 4, "GAT", 12, 0}, {"RZ5M", "1010", 4, "", 0, 0},
      {"RZ8P", "1007", 4, "", 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.product) + " " + c.firmware);
    StartDevsim({"--product", c.product, "--firmware", c.firmware, "--capability-mask", "0x280"});
    const std::string ip = StoredBlock("IP");
    EXPECT_EQ(Le(ip, 16, 2), 80u);
    EXPECT_EQ(ip.substr(8, 4), std::string("\xFF\xFF\xFF\0", 4));
    EXPECT_EQ(Le(StoredBlock("INF"), 20, 4), 0x280u);
    EXPECT_EQ(TextAt(StoredBlock("INF"), 24, 8), c.product);
    EXPECT_EQ(TextAt(StoredBlock("PPPOE"), c.pppoe_user, 16).substr(0, 7), "pppuser");
    EXPECT_EQ(TextAt(StoredBlock("SYSTEM"), 20, 16), "LOBBY");
    EXPECT_EQ(TextAt(StoredBlock("SECURE"), 8, 16), "revuv");
    EXPECT_EQ(Le(StoredBlock("SECURE"), 168, 1), 30u);
    const std::string rs485 = StoredBlock("RS485");
    if (*c.rs485_title) {
      EXPECT_EQ(TextAt(rs485, 44, 8), c.rs485_title);
    }
    EXPECT_EQ(Le(StoredBlock("ALARM"), 9, 1), c.alarm_source);
    const bool dvr = c.recording != 0;
    if (dvr) {
      EXPECT_EQ(Le(rs485, 60, 4), 2400u);
      const std::string rec = StoredBlock("DVRREC");
      uint8_t on = 0;
      for (size_t ch = 0; ch < 16; ++ch) on += static_cast<uint8_t>(rec[20 + ch]);
      EXPECT_EQ(on, c.recording);
      EXPECT_EQ(TextAt(StoredBlock("DVRLIVE"), 116 + 6 * 15, 6), "CAM16");
    } else {
      EXPECT_EQ(Le(StoredBlock("PERI"), 4, 4), 9600u);
    }
    devsim_.Stop();
  }

  // A block given explicitly stays as given; seed_blocks=0 leaves the rest zero-filled.
  StartDevsim({"--set", "block.FTP=0102", "--set", "seed_blocks=0"});
  EXPECT_EQ(StoredBlock("FTP"), std::string("\x01\x02") + std::string(102, '\0'));
  EXPECT_EQ(StoredBlock("SMTP"), std::string(440, '\0'));
}

// A loopback port nobody listens on just now.
int UnusedPort() {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in sa{};
  sa.sin_family = AF_INET;
  sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof sa;
  bind(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa);
  getsockname(fd, reinterpret_cast<sockaddr*>(&sa), &len);
  close(fd);
  return ntohs(sa.sin_port);
}

TEST_F(DevsimTest, AnIpBlockWithANewWebPortIsServedThereToo) {
  for (const bool follow : {true, false}) {
    SCOPED_TRACE(follow ? "follow_web_port=1" : "follow_web_port=0");
    StartDevsim({"--set", follow ? "follow_web_port=1" : "follow_web_port=0"});
    const std::string cookie = Login();
    std::string ip = StoredBlock("IP");
    const int port = UnusedPort();
    ip[16] = static_cast<char>(port & 0xFF);
    ip[17] = static_cast<char>(port >> 8);
    ASSERT_EQ(Get(WriteQuery("IP", cookie), ip, true).status, 200);
    EXPECT_EQ(Control("/_devsim/ports"), follow ? std::to_string(port) + "\n" : "");

    const RawExchange there =
        Exchange(port, ClientRequest("/GetSysCfg.cgi?Option=IP&Size=24&Cookie=" + cookie));
    if (follow) {
      EXPECT_EQ(ParseReply(there.bytes).body, ip);
      // The first port still answers; writing the same port again changes nothing.
      EXPECT_EQ(Get(WriteQuery("IP", cookie), ip, true).status, 200);
      EXPECT_EQ(Control("/_devsim/ports"), std::to_string(port) + "\n");
    } else {
      EXPECT_TRUE(there.bytes.empty());
    }
    devsim_.Stop();
  }
}

}  // namespace
}  // namespace devsim_test
