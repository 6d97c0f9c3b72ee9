// Test fixture: one devsim process per test, with a request log, spoken to over loopback.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/devsim/devsim_process.h"
#include "tests/devsim/raw_http.h"
#include "tests/support/json_lines.h"

namespace devsim_test {

using testsupport::Json;

inline constexpr char kUser[] = "revuv";
inline constexpr char kPassword[] = "revuv";

class DevsimTest : public ::testing::Test {
 protected:
  void TearDown() override;

  // Starts devsim with args plus "--log <file>"; fails the test when it does not start.
  void StartDevsim(const std::vector<std::string>& args = {});

  ParsedReply Get(const std::string& target, const std::string& body = "", bool with_body = false);
  RawExchange Raw(const std::string& request, int timeout_ms = 5000);

  // Logs in and returns the Session-ID ("" after a test failure).
  std::string Login(const std::string& user = kUser, const std::string& password = kPassword);
  // A control request; expects status 200 and returns the body.
  std::string Control(const std::string& target);
  // Reads a block back through the control interface.
  std::string StoredBlock(const std::string& option);

  // The log lines so far, parsed (a line that is not valid JSON fails the test).
  std::vector<Json> LogLines();

  DevsimProcess devsim_;
  std::string log_path_;
};

}  // namespace devsim_test
