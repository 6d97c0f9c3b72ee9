#include "tests/net/protocol_fixture.h"

#include "net/device_session.h"
#include "net/login_exchange.h"
#include "tests/support/app_data_setup.h"
#include "tests/support/device_login.h"

// The program's globals the command layer uses.
APP_DATA* g_lpApp = nullptr;
char g_szCookie[64] = {};

namespace nettest {

void ProtocolTest::SetUpTestSuite() {
  ASSERT_TRUE(testsupport::StartNetworkOnce());
}

void ProtocolTest::SetUp() {
  testsupport::MakeProgramAppData();
}

void ProtocolTest::TearDown() {
  devsim.Stop();
  testsupport::FreeProgramAppData();
}

void ProtocolTest::StartDevice(const std::vector<std::string>& args) {
  ASSERT_TRUE(devsim.Start(args)) << devsim.error();
  testsupport::PointProgramSessionAt(static_cast<uint16_t>(devsim.port()));
}

SendResult ProtocolTest::Send(uint8_t command, const CGIParamList& request, uint32_t capacity,
                              const std::string& body, bool withBody, uint16_t timeout) {
  SendResult r;
  r.reply.assign(capacity + 64, 0xEE);
  CgiRequest send = CgiRequest::Of(request);
  send.command = command;
  if (withBody) send.body = body.data();
  send.bodyLength = static_cast<uint32_t>(body.size());
  if (capacity) {
    send.reply = r.reply.data();
    send.replyCapacity = capacity;
    send.replyLength = &r.length;
  }
  send.options = {.sendTimeoutSeconds = timeout, .receiveTimeoutSeconds = timeout};
  send.status = &r.status;
  send.bodyComplete = &r.complete;
  r.result = VorozSendCommand(send, ProgramDeviceSession());
  for (size_t i = capacity; i < r.reply.size(); ++i)
    EXPECT_EQ(r.reply[i], 0xEE) << "written past the capacity at " << i;
  return r;
}

std::string ProtocolTest::Control(const std::string& target) {
  CGIParamList request(kCgiPeriodCommand);
  request.m_strQuery = target;
  const SendResult r = Send(kCgiPeriodCommand, request);
  EXPECT_EQ(r.result, 1) << target;
  return r.Body();
}

void ProtocolTest::AddFault(const std::string& query) {
  Control("/_devsim/fault?" + query);
}
void ProtocolTest::ClearFaults() {
  Control("/_devsim/clear-faults");
}
void ProtocolTest::SetDevice(const std::string& query) {
  Control("/_devsim/set?" + query);
}
std::string ProtocolTest::StoredBlock(const std::string& option) {
  return Control("/_devsim/block?option=" + option);
}

std::string ProtocolTest::Login() {
  EXPECT_EQ(testsupport::LogInOnly(kReloginLogin), LoginOutcome::kAccepted);
  return Cookie();
}

std::string Pattern(size_t n, int seed) {
  std::string out(n, '\0');
  for (size_t i = 0; i < n; ++i) out[i] = static_cast<char>((seed * 41 + i * 7 + 1) & 0xFF);
  return out;
}

}  // namespace nettest
