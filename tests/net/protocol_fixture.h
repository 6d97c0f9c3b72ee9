// Fixture of the protocol tests: fresh application data per test, pointed at a device simulator
// started for the test.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "net/blocking_socket.h"  // winsock2.h ahead of windows.h
#include "app/app_data.h"
#include "net/cgi_command_table.h"
#include "net/cgi_param_list.h"
#include "net/voroz_send_command.h"
#include "tests/support/devsim_child.h"

namespace nettest {

struct SendResult {
  int result = 0;
  CgiReplyStatus status{0xAAAA, 0xBBBB};
  uint32_t length = 777;
  uint32_t complete = 9;
  std::vector<uint8_t> reply;  // pre-filled with 0xEE
  std::string Body() const {
    return std::string(reinterpret_cast<const char*>(reply.data()), length == 777 ? 0 : length);
  }
};

class ProtocolTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite();
  void SetUp() override;
  void TearDown() override;

  // Starts the simulator with args and points the program's session at it ("127.0.0.1", its
  // port, the simulator's account).
  void StartDevice(const std::vector<std::string>& args = {});

  // Sends a built request with the given capacity (0: no reply buffer) and time-outs.
  SendResult Send(uint8_t command, const CGIParamList& request, uint32_t capacity = 4096,
                  const std::string& body = std::string(), bool withBody = false,
                  uint16_t timeout = 5);
  // Adds a simulator fault through its control path ("name=...&count=1").
  void AddFault(const std::string& query);
  void ClearFaults();
  // Changes simulator settings through its control path ("key=value&...").
  void SetDevice(const std::string& query);
  // A block as the simulator stores it.
  std::string StoredBlock(const std::string& option);
  // Logs in with the relogin thread's options; returns the cookie.
  std::string Login();

  std::vector<testsupport::DevsimRequest> Requests() const { return devsim.Requests(); }
  std::string Cookie() const { return std::string(g_szCookie); }

  testsupport::DevsimChild devsim;

 private:
  std::string Control(const std::string& target);
};

// n bytes of a pattern that differs per seed.
std::string Pattern(size_t n, int seed);

}  // namespace nettest
