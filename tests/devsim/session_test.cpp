// Login, the session cookie, accounts, device information and the command table.
#include <fstream>
#include <regex>

#include "tests/devsim/devsim_fixture.h"

namespace devsim_test {
namespace {

TEST_F(DevsimTest, LoginRepliesWithIdentityAndANewSessionEachTime) {
  StartDevsim();
  RawExchange ex = Raw(ClientRequest("/Login.cgi?Username=revuv&Password=revuv"));
  ParsedReply r = ParseReply(ex.bytes);
  EXPECT_TRUE(ex.closed);
  ASSERT_EQ(r.status, 200);
  EXPECT_EQ(r.head,
            "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(r.body.size()) + "\r\n\r\n");
  std::smatch m;
  ASSERT_TRUE(std::regex_match(r.body, m,
                               std::regex("Session-ID=([0-9A-F]{16});Firmware-Version=1060;"
                                          "Product-ID=RZ1K;MAC-Address=0011223344AA;"
                                          "Host-Name=dvr;")))
      << r.body;
  std::string second = Login();
  EXPECT_NE(second, m[1].str());

  // Both sessions stay valid; anything else is refused.
  EXPECT_EQ(Get("/Getdeviceinfo.cgi?Cookie=" + m[1].str() + "&RES=1&QUA=0").status, 200);
  EXPECT_EQ(Get("/Getdeviceinfo.cgi?Cookie=" + second + "&RES=1&QUA=0").status, 200);
  EXPECT_EQ(Get("/Getdeviceinfo.cgi?Cookie=0123456789ABCDEF&RES=1&QUA=0").status, 401);
  EXPECT_EQ(Get("/Getdeviceinfo.cgi?RES=1&QUA=0").status, 401);
  EXPECT_EQ(Get("/SetChannel.cgi?CH=3&Cookie=" + second).status, 200);

  Control("/_devsim/logout-all");
  EXPECT_EQ(Get("/SetChannel.cgi?CH=3&Cookie=" + second).status, 401);
}

TEST_F(DevsimTest, WrongCredentialsAreRefused) {
  StartDevsim({"--account", "guest:pa ss:10:5"});
  struct Case {
    std::string query;
    int status;
  } cases[] = {
      {"Username=revuv&Password=revuX", 401},
      {"Username=Revuv&Password=revuv", 401},
      {"Username=revuv", 401},
      {"", 401},
      {"Username=guest&Password=pa ss", 200},  // raw blank in the password
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Get("/Login.cgi?" + c.query).status, c.status) << c.query;
  }
  Control("/_devsim/set?login_denied_status=0");
  ParsedReply r = Get("/Login.cgi?Username=revuv&Password=bad");
  EXPECT_EQ(r.status, 200);
  EXPECT_EQ(r.body,
            "Firmware-Version=1060;Product-ID=RZ1K;MAC-Address=0011223344AA;Host-Name=dvr;");
}

TEST_F(DevsimTest, DeviceInformationFollowsTheProfileAndTheAccount) {
  StartDevsim({"--account", "guest:pw:10:5", "--set", "linkdevice=", "--set", "masters=1:3,2:4",
               "--set", "slaves=6:1:1", "--set", "retr=1"});
  std::string admin = Login();
  EXPECT_EQ(Get("/Getdeviceinfo.cgi?Cookie=" + admin + "&RES=1&QUA=0").body,
            "MULTICH=0;MASTERNUM=2;MID=1;MTYPE=3;MID=2;MTYPE=4;RETR=1;VIDEOMODE=0;USERLEVEL=30;"
            "Boot-Version=1001;2041-Version=1002;FPGA-Version=1003;SLAVENUM=1;SID=6;STYPE=1;"
            "SPROTOCOL=1;");
  std::string guest = Login("guest", "pw");
  ParsedReply r = Get("/Getdeviceinfo.cgi?Cookie=" + guest + "&RES=0&QUA=2&CH=1&NEWHR=1");
  EXPECT_EQ(r.body.rfind("LIFETIME=5;MULTICH=0;", 0), 0u) << r.body;
  EXPECT_NE(r.body.find(";USERLEVEL=10;"), std::string::npos) << r.body;

  Control("/_devsim/set?linkdevice=14&userlevel=&videomode=300");
  r = Get("/Getdeviceinfo.cgi?Cookie=" + admin + "&RES=1&QUA=0");
  EXPECT_EQ(r.body,
            "MULTICH=0;LINKDEVICE=14;RETR=1;VIDEOMODE=300;Boot-Version=1001;2041-Version=1002;"
            "FPGA-Version=1003;SLAVENUM=1;SID=6;STYPE=1;SPROTOCOL=1;");
  Control("/_devsim/set?devinfo_text=LIFETIMEX=5;");
  EXPECT_EQ(Get("/Getdeviceinfo.cgi?Cookie=" + admin + "&RES=1&QUA=0").body, "LIFETIMEX=5;");
}

TEST_F(DevsimTest, BadSettingsAreRefusedAsAWhole) {
  StartDevsim();
  EXPECT_EQ(Get("/_devsim/set?firmware=1099&layout=sideways").status, 400);
  EXPECT_EQ(Get("/_devsim/set?masters=1").status, 400);
  EXPECT_EQ(Get("/_devsim/set?multich=1;2").status, 400);
  EXPECT_EQ(Get("/_devsim/set?no_such_key=1").status, 400);
  EXPECT_NE(Get("/Login.cgi?Username=revuv&Password=revuv").body.find("Firmware-Version=1060;"),
            std::string::npos);
}

TEST_F(DevsimTest, ProfileFileAndOptionsShapeTheLoginReply) {
  std::string profile = TempPath("profile.txt");
  {
    std::ofstream out(profile);
    out << "# test profile\nfirmware=1046\nhost_name=box\n\nmac=\naccount=op:op:20\n";
  }
  StartDevsim({"--product", "RZ8P", "--profile", profile, "--set", "host_name=cam8"});
  ParsedReply r = Get("/Login.cgi?Username=op&Password=op");
  EXPECT_EQ(r.body.substr(r.body.find(';') + 1),
            "Firmware-Version=1046;Product-ID=RZ8P;Host-Name=cam8;");
}

// Every built-in profile reports its Product-ID and serves its family's layout.
TEST(DevsimProfiles, EachProfileHasItsProductIdAndLayout) {
  struct Case {
    const char* profile;
    const char* product_id;
    size_t all_size;  // fixed part, then the default 24 ONLINE bytes
  } cases[] = {
      {"RZ1K", "RZ1K", 2044}, {"RZ2K", "RZ2K", 1136}, {"RZ3K", "RZ3K", 2044},
      {"RZ4K", "RZ4K", 2044}, {"RZ5M", "RZ5M", 1136}, {"RZ6M", "RZ6M", 1136},
      {"RZ7M", "RZ7M", 1136}, {"RZ8P", "RZ8P", 1136}, {"invalid", "ABCD", 2044},
  };
  for (const auto& c : cases) {
    DevsimProcess devsim;
    ASSERT_TRUE(devsim.Start({"--product", c.profile})) << devsim.error();
    ParsedReply login = ParseReply(
        Exchange(devsim.port(), ClientRequest("/Login.cgi?Username=revuv&Password=revuv")).bytes);
    EXPECT_NE(login.body.find(std::string(";Product-ID=") + c.product_id + ";"), std::string::npos)
        << c.profile << ": " << login.body;
    std::string cookie = login.body.substr(11, 16);
    ParsedReply all = ParseReply(
        Exchange(devsim.port(), ClientRequest("/GetSysCfg.cgi?Option=ALL&Size=0&Cookie=" + cookie))
            .bytes);
    EXPECT_EQ(all.body.size(), c.all_size + 24) << c.profile;
    EXPECT_EQ(devsim.Stop(), 0) << devsim.StderrText();
  }
}

TEST_F(DevsimTest, EveryCommandOfTheTableAnswers) {
  StartDevsim();
  std::string cookie = Login();
  // The live picture's commands (the first four of the table), "/GetColor.cgi", the firmware
  // upgrade's, the device log's and time sync's, the recorder's date and record settings' and the
  // recordings' paths have tests of their own.
  const char* paths[] = {
      "/Setbrcssa.cgi",  "/Periodcommand.cgi",  "/GetOnlineUser.cgi",  "/SetVoroz.cgi",
      "/Reboot.cgi",     "/SetRetr.cgi",        "/PTZReset.cgi",       "/SetColor.cgi",
      "/CancelNB.cgi",   "/GetDvrName.cgi",     "/getDefaultLang.cgi", "/getIndexLang.cgi",
      "/OV9653Zoom.cgi", "/OV9653Rotate.cgi",   "/ClearLog.cgi",       "/CancelUPFW.cgi",
      "/SetBuzzer.cgi",  "/SearchPlayBack.cgi",
  };
  for (const char* path : paths) {
    ParsedReply r = Get(std::string(path) + "?Cookie=" + cookie);
    EXPECT_EQ(r.head, "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n") << path;
    EXPECT_EQ(r.body, "") << path;
  }
  // A body on a GET is read whole, whatever the command ("/RS485Cmd.cgi" has tests of its own).
  EXPECT_EQ(Get("/RS485Cmd.cgi?Control=RZ1K&MASTER=1&Cookie=" + cookie,
                std::string("\x03\x01\x02\x03\x01\x32", 6))
                .status,
            200);
  EXPECT_EQ(Get("/getdefaultlang.cgi?Cookie=" + cookie).status, 404);
  EXPECT_EQ(Get("/index.html").status, 404);
  EXPECT_EQ(ParseReply(Raw("POST /Reboot.cgi HTTP/1.1\r\n\r\n").bytes).status, 405);
}

}  // namespace
}  // namespace devsim_test
