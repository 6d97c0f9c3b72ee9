// Replies as the device frames them, including the faulty framings, and the session side effects
// of a request: host-name resolution at login and the pending address take-over.
#include "tests/net/protocol_fixture.h"

#include "net/cgi_command_table.h"
#include "app/login_store.h"
#include "net/device_session.h"
#include "tests/support/hex_text.h"

namespace nettest {
namespace {

using ReplyWireTest = ProtocolTest;

CGIParamList SystemBlockRequest() {
  CGIParamList request(kCgiGetSysCfg);
  request.AddParam("Option", "SYSTEM");
  request.AddParam("Size", "36");
  return request;
}

TEST_F(ReplyWireTest, Framings) {
  struct Case {
    const char* name;
    std::string fault;  // added for the one request; empty: none
    uint32_t capacity;
    int result;
    uint32_t status;  // the second status word afterwards
    std::string body;
    uint32_t complete;
  };
  const std::string block = Pattern(36, 1);
  const uint32_t untouched = 0xBBBB;
  const Case cases[] = {
      {"ordinary", "", 4096, 1, untouched, block, 1},
      {"status 500", "name=status&code=500", 4096, 0, 500, "", 9},
      {"lower-case length", "name=lowercase-length", 4096, 1, untouched, block, 1},
      {"length without blank", "name=tight-length", 4096, 1, untouched, block, 1},
      {"no length line", "name=no-length", 4096, 1, untouched, "", 1},
      {"body cut after 10 bytes", "name=cut-body&bytes=10", 4096, 1, untouched, block.substr(0, 10),
       0},
      {"body over the reply buffer", "name=oversize&length=8192", 8192, 0, untouched, "", 9},
      {"body over the caller's buffer", "name=oversize&length=300&pad=1", 256, 0, untouched, "", 9},
      {"300 bytes fit 4096", "name=oversize&length=300&pad=1", 4096, 1, untouched,
       block + std::string(264, 'X'), 1},
      // Pieces far enough apart that a busy machine (tests run side by side) still reads each
      // on its own.
      {"header in 30 reads", "name=trickle&pieces=30&delay=250", 4096, 1, untouched, block, 1},
      {"header in 31 reads", "name=trickle&pieces=31&delay=250", 4096, 0, untouched, "", 9},
      {"closed without reply", "name=drop", 4096, 0, untouched, "", 9},
  };
  StartDevice({"--no-cookie-check", "--set", "block.SYSTEM=" + testsupport::CompactHex(block)});
  for (const Case& c : cases) {
    ClearFaults();
    if (!c.fault.empty()) AddFault(c.fault + "&path=/GetSysCfg.cgi&count=1");
    const SendResult r = Send(kCgiGetSysCfg, SystemBlockRequest(), c.capacity);
    EXPECT_EQ(r.result, c.result) << c.name;
    EXPECT_EQ(r.status.dwReserved, 0xAAAAu) << c.name;
    EXPECT_EQ(r.status.dwStatus, c.status) << c.name;
    EXPECT_EQ(r.complete, c.complete) << c.name;
    if (c.result == 1) {
      EXPECT_EQ(r.Body(), c.body) << c.name;
    } else {
      EXPECT_EQ(r.length, 777u) << c.name;
      for (uint32_t i = 0; i < c.capacity; ++i) ASSERT_EQ(r.reply[i], 0xEE) << c.name << " " << i;
    }
  }
}

TEST_F(ReplyWireTest, TooManyUsersLeavesTheLengthAsSet) {
  StartDevice({"--fault", "login-busy"});
  CGIParamList login(kCgiLogin);
  login.AddParam("Username", "revuv");
  login.AddParam("Password", "revuv");
  const SendResult r = Send(kCgiLogin, login, 256);
  EXPECT_EQ(r.result, 0);
  EXPECT_EQ(r.status.dwStatus, 202u);
  EXPECT_EQ(r.length, 777u);
}

TEST_F(ReplyWireTest, RebootSucceedsOnceSent) {
  StartDevice({"--no-cookie-check", "--fault", "stall"});
  const SendResult r = Send(kCgiReboot, CGIParamList(kCgiReboot), 4096, "", false, 30);
  EXPECT_EQ(r.result, 1);
  EXPECT_EQ(r.length, 777u);
}

TEST_F(ReplyWireTest, ReceiveTimeOut) {
  StartDevice({"--no-cookie-check", "--fault", "stall"});
  const SendResult r = Send(kCgiGetSysCfg, SystemBlockRequest(), 4096, "", false, 1);
  EXPECT_EQ(r.result, 0);
  EXPECT_EQ(r.status.dwStatus, 0xBBBBu);
}

TEST_F(ReplyWireTest, UnreachableServers) {
  StartDevice({"--no-cookie-check"});
  DeviceSession& session = ProgramDeviceSession();
  struct Case {
    const char* name;
    std::string server;
    uint16_t port;
  };
  const Case cases[] = {
      {"empty server", "", session.Port()},
      {"digits and dots are never resolved", "1.2.3.4.5", session.Port()},
      {"nothing listening", "127.0.0.1", 1},
  };
  for (const Case& c : cases) {
    session.SetServerText(c.server);
    session.SetWebPort(c.port);
    CGIParamList login(kCgiLogin);
    const SendResult r = Send(kCgiLogin, login);
    EXPECT_EQ(r.result, 0) << c.name;
    EXPECT_EQ(r.status.dwStatus, 0xBBBBu) << c.name;
    EXPECT_EQ(session.Server(), c.server) << c.name;
    EXPECT_EQ(session.HostName(), "") << c.name;
  }
  EXPECT_TRUE(Requests().empty());
}

TEST_F(ReplyWireTest, LoginByHostNameKeepsTheName) {
  StartDevice({"--no-cookie-check"});
  DeviceSession& session = ProgramDeviceSession();

  // Another command by name resolves but changes nothing.
  session.SetServerText("localhost");
  EXPECT_EQ(Send(kCgiGetDvrName, CGIParamList(kCgiGetDvrName)).result, 1);
  EXPECT_EQ(session.Server(), "localhost");
  EXPECT_EQ(session.HostName(), "");

  CGIParamList login(kCgiLogin);
  login.AddParam("Username", "revuv");
  login.AddParam("Password", "revuv");
  EXPECT_EQ(Send(kCgiLogin, login, 1024).result, 1);
  EXPECT_EQ(session.Server(), "127.0.0.1");
  EXPECT_EQ(session.HostName(), "localhost");

  // Also when the login itself is refused.
  session.SetServerFromUser("localhost");
  CGIParamList wrong(kCgiLogin);
  wrong.AddParam("Username", "revuv");
  wrong.AddParam("Password", "wrong");
  EXPECT_EQ(Send(kCgiLogin, wrong, 1024).result, 0);
  EXPECT_EQ(session.Server(), "127.0.0.1");
  EXPECT_EQ(session.HostName(), "localhost");

  // A login to a dotted address changes neither.
  EXPECT_EQ(Send(kCgiLogin, login, 1024).result, 1);
  EXPECT_EQ(session.Server(), "127.0.0.1");
  EXPECT_EQ(session.HostName(), "localhost");
}

TEST_F(ReplyWireTest, PendingAddressTakenOverAfterTheFirstSuccess) {
  testsupport::DevsimChild second;
  ASSERT_TRUE(second.Start({"--no-cookie-check"})) << second.error();
  StartDevice({"--no-cookie-check", "--fault", "status,code=500,count=1"});
  DeviceSession& session = ProgramDeviceSession();
  session.KeepResolvedName("old-name", "localhost");
  // The settings follow the program's session.
  FollowProgramSessionInSettings();
  ::CSettingINI& settings = g_lpApp->m_Settings;
  settings.m_strServerName = "localhost";
  settings.KeepServerHostName("old-name");
  settings.m_wWebPort = session.Port();
  {
    std::lock_guard<std::mutex> lock(SessionMutex());
    g_wPendingWebPort = static_cast<uint16_t>(second.port());
    g_fPendingWebPort = 1;
    g_strPendingServerName = "127.0.0.1";
    g_fPendingServerName = 1;
  }
  const uint16_t firstPort = session.Port();

  // A failing request takes nothing over.
  EXPECT_EQ(Send(kCgiGetDvrName, CGIParamList(kCgiGetDvrName)).result, 0);
  EXPECT_EQ(session.Port(), firstPort);
  EXPECT_EQ(settings.m_wWebPort, firstPort);
  EXPECT_EQ(g_fPendingWebPort, 1u);

  // The first success does, once.
  EXPECT_EQ(Send(kCgiGetDvrName, CGIParamList(kCgiGetDvrName)).result, 1);
  EXPECT_EQ(session.Port(), second.port());
  EXPECT_EQ(session.Server(), "127.0.0.1");
  EXPECT_EQ(session.HostName(), "");
  EXPECT_EQ(settings.m_wWebPort, second.port());
  EXPECT_EQ(settings.m_strServerName, "127.0.0.1");
  EXPECT_STREQ(settings.m_szServerHostName, "");
  EXPECT_EQ(g_fPendingWebPort, 0u);
  EXPECT_EQ(g_fPendingServerName, 0u);
  session.SetAddressObserver(nullptr);

  EXPECT_EQ(Send(kCgiGetDvrDate, CGIParamList(kCgiGetDvrDate)).result, 1);
  EXPECT_EQ(Requests().size(), 2u);
  const auto moved = second.Requests();
  ASSERT_EQ(moved.size(), 1u);
  EXPECT_EQ(moved[0].path, "/GetDvrDate.cgi");
}

}  // namespace
}  // namespace nettest
