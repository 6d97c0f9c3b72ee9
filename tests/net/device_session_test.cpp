// The device session: what a login by name keeps, what a relogin looks up again, and the
// take-over of a pending address.
#include <gtest/gtest.h>

#include <string>

#include "net/device_session.h"

namespace {

const DeviceSession* g_observed = nullptr;
int g_observations = 0;
void Observe(const DeviceSession& session) {
  g_observed = &session;
  ++g_observations;
}

void SetPending(uint32_t portFlag, uint16_t port, uint32_t serverFlag, const std::string& server) {
  std::lock_guard<std::mutex> lock(SessionMutex());
  g_fPendingWebPort = portFlag;
  g_wPendingWebPort = port;
  g_fPendingServerName = serverFlag;
  g_strPendingServerName = server;
}

TEST(DeviceSession, LoginByNameKeepsTheNameUntilANewServerIsGiven) {
  DeviceSession session("dvr.local", 8080, "user", "secret");
  session.KeepResolvedName("dvr.local", "10.0.0.5");
  EXPECT_EQ(session.Server(), "10.0.0.5");
  EXPECT_EQ(session.HostName(), "dvr.local");

  // A relogin looks the name up again; a dotted server without a kept name stays.
  session.LookUpHostNameAgain();
  EXPECT_EQ(session.Server(), "dvr.local");
  DeviceSession dotted("10.1.2.3", 80);
  dotted.LookUpHostNameAgain();
  EXPECT_EQ(dotted.Server(), "10.1.2.3");

  // Restoring the server text keeps the name; a server from the user forgets it.
  session.SetServerText("10.0.0.5");
  EXPECT_EQ(session.HostName(), "dvr.local");
  session.SetServerFromUser("10.0.0.6");
  EXPECT_EQ(session.Server(), "10.0.0.6");
  EXPECT_EQ(session.HostName(), "");

  // A name over 255 characters is kept cut.
  session.KeepResolvedName(std::string(400, 'h'), "10.0.0.7");
  EXPECT_EQ(session.HostName(), std::string(255, 'h'));
  EXPECT_EQ(session.User(), "user");
  EXPECT_EQ(session.Password(), "secret");
  EXPECT_EQ(session.Port(), 8080);
}

TEST(DeviceSession, CopiesCarryAddressAndAccountButNotTheObserver) {
  DeviceSession program("10.0.0.1", 80, "a", "b");
  program.SetAddressObserver(&Observe);
  DeviceSession typed("dvr", 81, "c", "d");
  typed.KeepResolvedName("dvr", "10.0.0.2");

  program.TakeAddressOf(typed);
  EXPECT_EQ(program.Server(), "10.0.0.2");
  EXPECT_EQ(program.HostName(), "dvr");
  EXPECT_EQ(program.Port(), 81);
  EXPECT_EQ(program.User(), "a");

  DeviceSession copy = program;
  program = typed;
  EXPECT_EQ(program.User(), "c");
  g_observations = 0;
  SetPending(1, 90, 0, "");
  copy.TakeOverPendingAddress();
  EXPECT_EQ(copy.Port(), 90);
  EXPECT_EQ(g_observations, 0);  // the copy has no observer
  SetPending(1, 91, 0, "");
  program.TakeOverPendingAddress();
  EXPECT_EQ(g_observations, 1);  // the assigned-to session kept its own
  EXPECT_EQ(g_observed, &program);
}

TEST(DeviceSession, PendingAddressIsTakenOverOnce) {
  DeviceSession session("dvr", 80);
  session.KeepResolvedName("dvr", "10.0.0.2");
  session.SetAddressObserver(&Observe);
  g_observations = 0;

  // Nothing pending: nothing moves, nobody is told.
  SetPending(0, 0, 0, "");
  session.TakeOverPendingAddress();
  EXPECT_EQ(g_observations, 0);
  EXPECT_EQ(session.Server(), "10.0.0.2");

  SetPending(1, 8081, 1, "192.168.1.9");
  session.TakeOverPendingAddress();
  EXPECT_EQ(session.Port(), 8081);
  EXPECT_EQ(session.Server(), "192.168.1.9");
  EXPECT_EQ(session.HostName(), "");  // the kept name no longer applies
  EXPECT_EQ(g_fPendingWebPort, 0u);
  EXPECT_EQ(g_fPendingServerName, 0u);
  EXPECT_EQ(g_observations, 1);

  // Only the port pending: the server and its name stay.
  session.KeepResolvedName("dvr2", "10.0.0.3");
  SetPending(1, 8082, 0, "ignored");
  session.TakeOverPendingAddress();
  EXPECT_EQ(session.Port(), 8082);
  EXPECT_EQ(session.Server(), "10.0.0.3");
  EXPECT_EQ(session.HostName(), "dvr2");
  EXPECT_EQ(g_observations, 2);
  SetPending(0, 0, 0, "");
}

}  // namespace
