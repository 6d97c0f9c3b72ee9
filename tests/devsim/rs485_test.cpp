// The RS-485 paths: bodies checked and decoded into the log, and the slave list of the profile.
#include <string>

#include "tests/devsim/devsim_fixture.h"

namespace devsim_test {
namespace {

TEST_F(DevsimTest, Rs485BodiesAreCheckedAndDecoded) {
  StartDevsim();
  const std::string cookie = Login();
  struct Case {
    std::string query;
    std::string body;
    int status;
    std::string decoded;  // empty: none
  };
  const std::string q = "/RS485Cmd.cgi?Control=RZ1K&MASTER=1&Cookie=" + cookie;
  const Case cases[] = {
      {q, std::string("\x03\xA0\x05\xA5\x01\x32", 6), 200,
       "command MASTER=1 cmd=A0 05 A5 repeat=1 end=0x32"},
      {q, std::string("\x02\x05\x08\x01\x32", 5), 200,
       "ptz-select camera=3 MASTER=1 cmd=05 08 repeat=1 end=0x32"},
      {q, std::string("\x02\x06\x07\x01\x32", 5), 200,
       "ptz-select camera=12 MASTER=1 cmd=06 07 repeat=1 end=0x32"},
      {q, std::string("\x01\x10\x01\x32", 4), 200, "ptz-leave MASTER=1 cmd=10 repeat=1 end=0x32"},
      {"/RS485Cmd.cgi?Control=RZ1K&CH=0&MASTER=0&PELOCO=1&PROTOCOL=PELCO&Cookie=" + cookie,
       std::string("\x07\xD0\x01\x3C\x52\x12\x00\x71\x01\x32", 10), 200,
       "hot-point addr=1 level=60 cell=0x12 MASTER=0 CH=0 PELOCO=1 PROTOCOL=PELCO cmd=D0 01 3C 52 "
       "12 00 71 repeat=1 end=0x32"},
      {q, std::string("\x02\x41\x42\x00\x00", 5), 200,
       "command MASTER=1 cmd=41 42 repeat=0 end=0x00"},
      {q, std::string("\x03\xA0\x05\x01\x32", 5), 400, ""},  // count and length disagree
      {q, std::string("\x01\xA0\x01\x33", 4), 400, ""},      // end byte
      {q, std::string(65, '\x3E'), 400, ""},                 // over 64 bytes
      {"/RS485Cmd.cgi?Control=RZ2K&MASTER=1&Cookie=" + cookie, std::string("\x01\x01\x01\x32", 4),
       400, ""},
      {"/RS485Cmd.cgi?Control=RZ1K&Cookie=" + cookie, std::string("\x01\x01\x01\x32", 4), 400, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(Get(c.query, c.body, true).status, c.status) << c.query;
  const std::vector<Json> lines = LogLines();
  ASSERT_EQ(lines.size(), 1 + std::size(cases));
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Json& line = lines[i + 1];
    if (cases[i].decoded.empty()) {
      EXPECT_FALSE(line.Has("decoded")) << i;
    } else {
      EXPECT_EQ(line["decoded"].text, cases[i].decoded) << i;
    }
  }
}

TEST_F(DevsimTest, PtzResetListsTheProfilesSlavesUnder1024Bytes) {
  std::string many;
  for (int i = 0; i < 60; ++i) many += std::string(many.empty() ? "" : ",") + "200:1:1";
  struct Case {
    std::string slaves;
    std::string reply;
  };
  const Case cases[] = {
      {"5:1:1,6:1:0", "SLAVENUM=2;SID=5;STYPE=1;SPROTOCOL=1;SID=6;STYPE=1;SPROTOCOL=0;"},
      {"", ""},
  };
  for (const Case& c : cases) {
    StartDevsim({"--set", "slaves=" + c.slaves});
    EXPECT_EQ(Get("/PTZReset.cgi?Cookie=" + Login()).body, c.reply);
    devsim_.Stop();
  }
  StartDevsim({"--set", "slaves=" + many});
  const std::string body = Get("/PTZReset.cgi?Cookie=" + Login()).body;
  EXPECT_LT(body.size(), 1024u);
  EXPECT_EQ(body.rfind("SLAVENUM=", 0), 0u);
  EXPECT_EQ(body.back(), ';');
}

}  // namespace
}  // namespace devsim_test
