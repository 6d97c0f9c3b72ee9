// Key scripts to RS-485 bodies and the "/RS485Cmd.cgi" query.
#include "mainwnd/rs485_command.h"
#include "tests/support/hex_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A script parsed from a command line, owned by a record whose parameter i is 0x10 + i.
struct Script {
  CtrlDeviceRecord record;
  explicit Script(const std::string& line) {
    for (int i = 0; i < 16; ++i) record.byParam[i] = uint8_t(i < 10 ? 0x10 + i : 0);
    ParseHexCommand(record.KeyScript[0], line);
    record.KeyScript[0].lpRecord = &record;
  }
  const ControlCommandScript& operator*() const { return record.KeyScript[0]; }
};

Rs485MarkValues Marks(uint8_t channelAddress = 5) {
  Rs485MarkValues v;
  v.byLevelCode = 60;
  v.byLastChannelAddress = channelAddress;
  v.byLastPtzAddress = 9;
  return v;
}

TEST(Rs485Body, Examples) {
  struct Case {
    const char* name;
    std::string line;
    uint8_t repeat;
    Rs485MarkValues marks;
    std::string body;
  };
  Rs485MarkValues guest = Marks();
  guest.byLevelCode = LevelCodeOfAccessClass(2);
  Rs485MarkValues rzk = Marks();
  rzk.fRzkWithoutMultiChannel = true;
  Rs485MarkValues preset = Marks();
  preset.fPresetMode = true;
  const std::string presets =
      "X12 X%7 X07 XFF X%D X00 X07 X00 X03 X%6 X%7 X07 XFF X%D X00 X03 "
      "X00 X03 X%6";
  const Case cases[] = {
      {"address and sum", "X03 XA0 X%D X%2", 1, Marks(), "03 A0 05 A5 01 32"},
      {"turbo repeat step", "X03 XA0 X%D X%2", 5, Marks(), "03 A0 05 A5 05 32"},
      {"protocol D checksum", "X07 XFF X%D X00 X04 X20 X00 X%6", 1, Marks(1),
       "07 FF 01 00 04 20 00 25 01 32"},
      {"supervisor level", "X01 X%1", 1, Marks(), "01 3C 01 32"},
      {"guest level", "X01 X%1", 1, guest, "01 04 01 32"},
      {"PTZ address is the channel address elsewhere", "X01 X%B", 1, Marks(), "01 05 01 32"},
      {"PTZ address on RZK without channel cameras", "X01 X%B", 1, rzk, "01 09 01 32"},
      {"parameters by mark number", "X04 X%0 X%3 X%9 X%F", 1, Marks(), "04 10 13 19 00 01 32"},
      {"sums of substituted bytes, 16 bits", "X04 XFF XFF X%2 X%6", 1, Marks(),
       "04 FF FF FE FD 01 32"},
      {"ACTION variant", presets, 1, Marks(), "07 FF 05 00 07 00 03 0F 01 32"},
      {"PRESET variant", presets, 1, preset, "07 FF 05 00 03 00 03 0B 01 32"},
      {"%A sends the second variant", "X08 X%A X02 X11 X22 X%A X02 X33 X%2", 1, Marks(),
       "02 33 33 01 32"},
      {"%3 with prefixes; no repeat or end byte",
       "X0C X%3 X08 X%4 XFF X%B X88 X00 X00 X00 X%6 X%5 XAF", 1, Marks(2),
       "08 FF 02 88 00 00 00 8A AF 00 00"},
      {"%3 ends at a zero past N", "X06 X%3 X02 X41 X%1 X00 X77", 1, Marks(), "02 41 3C 00 00"},
      {"%3 parameters read 0", "X04 X%3 X01 X%9 X00", 1, Marks(), "01 00 00 00"},
      {"%3 shorter than N is zero-filled", "X05 X%3 X03 X41 X%5 X42", 1, Marks(),
       "03 41 42 00 00 00"},
      {"a plain first mark", "X02 X%D X%2", 1, Marks(), "02 05 05 01 32"},
  };
  for (const Case& c : cases) {
    Script s(c.line);
    const Rs485Body body = BuildRs485Body(*s, c.repeat, c.marks);
    EXPECT_EQ(body.outcome, Rs485BodyOutcome::kOk) << c.name;
    EXPECT_EQ(testsupport::SpacedHex(body.bytes), c.body) << c.name;
  }
}

TEST(Rs485Body, Refusals) {
  auto repeatX = [](int n, const char* field) {
    std::string s;
    for (int i = 0; i < n; ++i) s += field;
    return s;
  };
  struct Case {
    const char* name;
    std::string line;
    Rs485BodyOutcome outcome;
  };
  const Case cases[] = {
      {"no bytes", "X00", Rs485BodyOutcome::kNoCommand},
      {"61 command bytes fit", "X3D" + repeatX(61, " X01"), Rs485BodyOutcome::kOk},
      {"62 do not", "X3E" + repeatX(62, " X01"), Rs485BodyOutcome::kTooLong},
      {"%A without a second variant", "X03 X%A X01 X11", Rs485BodyOutcome::kIncomplete},
      {"%A whose second variant is cut", "X05 X%A X01 X11 X%A X04", Rs485BodyOutcome::kIncomplete},
      {"%7 whose first variant is cut", "X03 X%7 X05 X11", Rs485BodyOutcome::kIncomplete},
      {"%3 without its end", "X04 X%3 X05 X41 X42", Rs485BodyOutcome::kIncomplete},
      {"%3 emitting more than N", "X05 X%3 X01 X41 X42 X%5", Rs485BodyOutcome::kTooLong},
      {"%3 prefix at the end", "X04 X%3 X02 X41 X%4", Rs485BodyOutcome::kIncomplete},
      {"%3 with N over 61", "X03 X%3 X3E X00", Rs485BodyOutcome::kTooLong},
      {"%3 alone", "X01 X%3", Rs485BodyOutcome::kIncomplete},
  };
  for (const Case& c : cases) {
    Script s(c.line);
    const Rs485Body body = BuildRs485Body(*s, 1, Marks());
    EXPECT_EQ(body.outcome, c.outcome) << c.name;
    if (c.outcome != Rs485BodyOutcome::kOk) {
      EXPECT_TRUE(body.bytes.empty()) << c.name;
    }
  }
  Script presetOnly("X04 X%7 X02 X11 X22");
  Rs485MarkValues preset = Marks();
  preset.fPresetMode = true;
  EXPECT_EQ(BuildRs485Body(*presetOnly, 1, preset).outcome, Rs485BodyOutcome::kIncomplete);
  EXPECT_EQ(BuildRs485Body(*presetOnly, 1, Marks()).outcome, Rs485BodyOutcome::kOk);
}

TEST(Rs485Body, MarkPastThirtyTwoIsNotAliased) {
  // Byte 33 is a plain 0x01; byte 1 is a mark. A 32-bit mask would make byte 33 a mark too.
  std::string line = "X22 X00 X%1";
  for (int i = 2; i < 34; ++i) line += " X01";
  Script s(line);
  const Rs485Body body = BuildRs485Body(*s, 1, Marks());
  ASSERT_EQ(body.outcome, Rs485BodyOutcome::kOk);
  EXPECT_EQ(body.bytes[2], 60);
  EXPECT_EQ(body.bytes[34], 1);
}

TEST(Rs485Query, Addressing) {
  struct Case {
    const char* name;
    Rs485Addressing a;
    const char* query;
  };
  const Case cases[] = {
      {"recorder itself",
       {"RZ1K", 0, true, 0, 19, 19, 0, "C0"},
       "/RS485Cmd.cgi?Control=RZ1K&MASTER=1&Cookie=C0"},
      {"RZK with channel cameras, recorder",
       {"RZ1K", 1, true, 0, 19, 19, 0, "C0"},
       "/RS485Cmd.cgi?Control=RZ1K&MASTER=1&Cookie=C0"},
      {"RZK with channel cameras, second camera",
       {"RZ1K", 1, true, 2, 11, 11, 0, "C0"},
       "/RS485Cmd.cgi?Control=RZ1K&CH=1&MASTER=0&Cookie=C0"},
      {"RZK with channel cameras, protocol D camera",
       {"RZ3K", 1, true, 1, 18, 18, 0, ""},
       "/RS485Cmd.cgi?Control=RZ1K&CH=0&MASTER=0&PELOCO=1&PROTOCOL=PELCO"},
      {"key without PTZ protocol",
       {"RZ3K", 1, true, 1, 18, 18, 0x203, ""},
       "/RS485Cmd.cgi?Control=RZ1K&CH=0&MASTER=0"},
      {"PTZ group unit",
       {"RZ4K", 0, false, 1, 18, 23, 0, "C0"},
       "/RS485Cmd.cgi?Control=RZ1K&CH=1&MASTER=0&PELOCO=1&PROTOCOL=PELCO&Cookie=C0"},
      {"PTZ group unit, other row",
       {"RZ2K", 0, false, 0, 11, 0, 0, "C0"},
       "/RS485Cmd.cgi?Control=RZ1K&CH=0&MASTER=0&Cookie=C0"},
      {"RZ2K channel group",
       {"RZ2K", 0, true, 1, 4, 4, 0, "C0"},
       "/RS485Cmd.cgi?Control=RZ1K&CH=1&MASTER=1&Cookie=C0"},
      {"RZ8P channel group, protocol D last",
       {"RZ8P", 0, true, 0, 0, 25, 0, "C0"},
       "/RS485Cmd.cgi?Control=RZ1K&CH=0&PELOCO=1&PROTOCOL=PELCO&MASTER=1&Cookie=C0"},
      {"RZ5M channel group",
       {"RZ5M", 0, true, 0, 4, 4, 0, ""},
       "/RS485Cmd.cgi?Control=RZ1K&CH=0&MASTER=1"},
  };
  for (const Case& c : cases) {
    CGIParamList request(11);
    BuildRs485Query(request, c.a);
    EXPECT_EQ(request.m_strQuery, c.query) << c.name;
  }
}

}  // namespace
