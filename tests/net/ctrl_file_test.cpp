// CtrlFile.ini: lines, command lines, sections, records, the link to the model rows, and the
// file the program ships.
#include "net/ctrl_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Parsed {
  CtrlFileContents contents;
  std::vector<uint32_t> messages;
};

// Parses text; the result stays where it is (the scripts point at their records).
void Parse(const std::string& text, Parsed& out) {
  ParseCtrlFileText(text, out.contents, [&](uint32_t id) { out.messages.push_back(id); });
}

std::vector<int> Bytes(const ControlCommandScript& s) {
  return std::vector<int>(s.lpBytes.begin(), s.lpBytes.end());
}
std::vector<int> Marks(const ControlCommandScript& s) {
  return std::vector<int>(s.marks.begin(), s.marks.end());
}

TEST(CtrlFileLine, KeepsPrintableUpperCase) {
  struct Case {
    std::string text;
    std::string line;
    size_t consumed;
  };
  const Case cases[] = {
      {"x05 xa0\r\nnext", "X05 XA0", 9},
      {"\tab\x7F\xC3\xA9"
       "c",
       "ABC", 7},  // tab, DEL and bytes above are dropped; no line feed
      {"\n", "", 1},
      {"", "", 0},
      {std::string(200, 'a') + "\nX", std::string(129, 'A'), 201},  // cut at 129, rest dropped
  };
  for (const Case& c : cases) {
    std::string line = "old";
    EXPECT_EQ(ReadCtrlFileLine(c.text, line), c.consumed) << c.text;
    EXPECT_EQ(line, c.line) << c.text;
  }
}

TEST(CtrlFileLine, HexPairs) {
  EXPECT_EQ(ParseHexPair('7', 'F'), 0x7F);
  EXPECT_EQ(ParseHexPair('a', 'b'), 0xAB);
  EXPECT_EQ(ParseHexPair('%', 'D'), 0x0D);  // a mark's number
  EXPECT_EQ(ParseHexPair('G', '1'), 0x01);  // other characters count 0 and are still shifted
  EXPECT_EQ(ParseHexPair('1', '\0'), 0x10);
}

TEST(CtrlFileCommand, Fields) {
  struct Case {
    const char* line;
    HexCommandParse result;
    int count;
    std::vector<int> bytes;
    std::vector<int> marks;
  };
  const Case cases[] = {
      // Written either way, once upper-cased; fields 3-5 are missing.
      {"X05XA0X%1", HexCommandParse::kMissingFields, 5, {0xA0, 1, 0, 0, 0}, {0, 1, 0, 0, 0}},
      {"X05 XA0 X%1", HexCommandParse::kMissingFields, 5, {0xA0, 1, 0, 0, 0}, {0, 1, 0, 0, 0}},
      {"0X03 0XA0 0X%D 0X%2", HexCommandParse::kComplete, 3, {0xA0, 13, 2}, {0, 1, 1}},
      {"X00", HexCommandParse::kComplete, 0, {}, {}},
      {"X02 XFF X01 X99", HexCommandParse::kComplete, 2, {0xFF, 1}, {0, 0}},  // extra ignored
      {"NO FIELDS", HexCommandParse::kMissingFields, 0, {}, {}},
      {"X0", HexCommandParse::kComplete, 0, {}, {}},
      {"X01X", HexCommandParse::kComplete, 1, {0}, {0}},  // a field cut by the line's end
  };
  for (const Case& c : cases) {
    ControlCommandScript s;
    s.byCount = 9;
    s.marks.assign(9, 1);
    EXPECT_EQ(ParseHexCommand(s, c.line), c.result) << c.line;
    EXPECT_EQ(s.byCount, c.count) << c.line;
    EXPECT_EQ(Bytes(s), c.bytes) << c.line;
    EXPECT_EQ(Marks(s), c.marks) << c.line;
  }
}

TEST(CtrlFileCommand, MarksBeyondThirtyTwoBytesStayTheirOwn) {
  std::string line = "X28";
  for (int i = 0; i < 40; ++i) line += i == 33 ? " X%1" : " X00";
  ControlCommandScript s;
  ASSERT_EQ(ParseHexCommand(s, line), HexCommandParse::kComplete);
  for (int i = 0; i < 40; ++i) EXPECT_EQ(s.IsMark(i), i == 33) << i;
}

const char kTwoDevices[] =
    "; comment\n"
    "[DEVICE NUMBER]\n"
    "2\n"
    "[DEVICE NAME]\n"
    "ptz pelco\n"
    "[PARAMETER]\n"
    "%3=X7F\n"
    "%1 anything here X0a\n"
    "[CH1]\n"
    "x05xa0x%1\n"
    "[CH2]\n"
    "X00\n"
    "[POWER]\n"
    "X02 X01 X%D\n"
    "[DISPLAY]\n"
    "258\n"
    "[DEVICE NAME]\n"
    "TRV 941 DVR\n"
    "[SEQUENCE]\n"
    "X01 X42\n"
    "[EOF]\n"
    "something\n"
    "end\n"
    "[DEVICE NAME]\n"
    "NEVER READ\n";

TEST(CtrlFileText, TwoDevices) {
  Parsed p;
  Parse(kTwoDevices, p);
  EXPECT_EQ(p.messages, std::vector<uint32_t>{kMsgPleaseInputServerCommand});  // x05xa0x%1
  EXPECT_TRUE(p.contents.reachedEnd);  // "end" in lower case still ends
  ASSERT_EQ(p.contents.records.size(), 2u);
  const CtrlDeviceRecord& a = p.contents.records[0];
  EXPECT_STREQ(a.szName, "PTZ PELCO");
  EXPECT_EQ(a.byParam[3], 0x7F);
  EXPECT_EQ(a.byParam[1], 0x0A);
  EXPECT_EQ(a.KeyScript[0].byCount, 5);
  EXPECT_EQ(a.KeyScript[0].lpRecord, &a);
  EXPECT_EQ(a.KeyScript[1].byCount, 0);
  EXPECT_EQ(a.KeyScript[1].lpRecord, &a);  // "X00": a script without bytes
  EXPECT_EQ(a.KeyScript[2].lpRecord, nullptr);
  EXPECT_EQ(Bytes(a.PowerScript), (std::vector<int>{1, 13}));
  EXPECT_EQ(a.byDisplay, 2);  // low byte of 258
  const CtrlDeviceRecord& b = p.contents.records[1];
  EXPECT_STREQ(b.szName, "TRV 941 DVR");
  EXPECT_EQ(Bytes(b.KeyScript[66]), std::vector<int>{0x42});

  const auto links = MapProtocolsToDevices(p.contents.records);
  for (int row = 0; row < kModelRowCount; ++row) {
    const CtrlDeviceRecord* expected = row == 18 ? &a : row == 19 ? &b : nullptr;
    EXPECT_EQ(links[row], expected) << row;
  }
}

TEST(CtrlFileText, BadLinesAreReportedAndIgnored) {
  struct Case {
    const char* name;
    std::string text;
    size_t records;
    std::vector<uint32_t> messages;
  };
  constexpr uint32_t k4084 = kMsgCommandNotSupported;
  const Case cases[] = {
      {"header with a trailing blank",
       "[DEVICE NUMBER]\n1\n[DEVICE NAME]\nA\n[CH1] \nX01X01\nX00\n",
       1,
       {k4084, k4084}},
      {"data before any section", "X01X01\n[DEVICE NUMBER]\n1\n", 1, {k4084}},
      {"key before any device name", "[DEVICE NUMBER]\n1\n[CH1]\nX01X01\n", 1, {k4084}},
      {"no device number", "[DEVICE NAME]\nA\n[CH1]\nX01X01\n", 0, {k4084, k4084}},
      {"more names than announced", "[DEVICE NUMBER]\n1\n[DEVICE NAME]\nA\nB\n", 1, {k4084}},
      {"a second device number", "[DEVICE NUMBER]\n1\n2\n", 1, {k4084}},
      {"too many devices", "[DEVICE NUMBER]\n100000\n", 0, {k4084}},
      {"parameter without a digit",
       "[DEVICE NUMBER]\n1\n[DEVICE NAME]\nA\n[PARAMETER]\n%X=X01\n%5=01\n=X01\n",
       1,
       {k4084, k4084, k4084}},
      {"unknown header", "[DEVICE NUMBER]\n1\n[DEVICE NAME]\nA\n[CHANNEL]\nX01X01\n", 1, {k4084}},
  };
  for (const Case& c : cases) {
    Parsed p;
    Parse(c.text, p);
    EXPECT_EQ(p.contents.records.size(), c.records) << c.name;
    EXPECT_EQ(p.messages, c.messages) << c.name;
    EXPECT_FALSE(p.contents.reachedEnd) << c.name;
  }
}

TEST(CtrlFileText, ConsecutiveNamesMakeTwoRecords) {
  Parsed p;
  Parse("[DEVICE NUMBER]\n2\n[DEVICE NAME]\nFIRST\nSECOND\n[CH1]\nX01X07\n", p);
  ASSERT_EQ(p.contents.records.size(), 2u);
  EXPECT_STREQ(p.contents.records[0].szName, "FIRST");
  EXPECT_EQ(p.contents.records[0].KeyScript[0].byCount, 0);
  EXPECT_EQ(p.contents.records[1].KeyScript[0].byCount, 1);
}

TEST(CtrlFileText, LongNameIsCut) {
  Parsed p;
  Parse("[DEVICE NUMBER]\n1\n[DEVICE NAME]\n" + std::string(120, 'N') + "\n", p);
  ASSERT_EQ(p.contents.records.size(), 1u);
  EXPECT_EQ(std::string(p.contents.records[0].szName), std::string(79, 'N'));
}

std::string ShippedFile() {
  std::ifstream f(OST_SOURCE_DIR "/res/CtrlFile.ini", std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

TEST(ShippedCtrlFile, EveryModelRowHasItsRecord) {
  const std::string text = ShippedFile();
  ASSERT_FALSE(text.empty());
  Parsed p;
  Parse(text, p);
  EXPECT_EQ(p.messages, std::vector<uint32_t>{});
  EXPECT_TRUE(p.contents.reachedEnd);
  EXPECT_EQ(p.contents.records.size(), static_cast<size_t>(kModelRowCount));
  const auto links = MapProtocolsToDevices(p.contents.records);
  for (int row = 0; row < kModelRowCount; ++row) {
    ASSERT_NE(links[row], nullptr) << ModelRowNames[row];
    EXPECT_GT(links[row]->PowerScript.byCount, 0) << ModelRowNames[row];
  }
  EXPECT_EQ(text.find('\r'), std::string::npos);  // line feeds only
}

}  // namespace
