#include "tests/devsim/devsim_fixture.h"

#include <regex>

namespace devsim_test {

void DevsimTest::TearDown() {
  if (devsim_.pid() > 0) {
    EXPECT_EQ(devsim_.Stop(), 0) << "devsim did not stop cleanly: " << devsim_.StderrText();
  }
}

void DevsimTest::StartDevsim(const std::vector<std::string>& args) {
  log_path_ = TempPath("requests.jsonl");
  std::vector<std::string> all = args;
  all.push_back("--log");
  all.push_back(log_path_);
  ASSERT_TRUE(devsim_.Start(all)) << devsim_.error();
}

ParsedReply DevsimTest::Get(const std::string& target, const std::string& body, bool with_body) {
  return ParseReply(Raw(ClientRequest(target, body, with_body)).bytes);
}

RawExchange DevsimTest::Raw(const std::string& request, int timeout_ms) {
  return Exchange(devsim_.port(), request, timeout_ms);
}

std::string DevsimTest::Login(const std::string& user, const std::string& password) {
  ParsedReply r = Get("/Login.cgi?Username=" + user + "&Password=" + password);
  std::smatch m;
  if (r.status != 200 || !std::regex_search(r.body, m, std::regex("^Session-ID=([^;]*);"))) {
    ADD_FAILURE() << "login failed: " << r.head << r.body;
    return "";
  }
  return m[1];
}

std::string DevsimTest::Control(const std::string& target) {
  ParsedReply r = Get(target);
  EXPECT_EQ(r.status, 200) << target << ": " << r.body;
  return r.body;
}

std::string DevsimTest::StoredBlock(const std::string& option) {
  return Control("/_devsim/block?option=" + option);
}

std::vector<Json> DevsimTest::LogLines() {
  std::vector<std::string> bad;
  std::vector<Json> out = testsupport::ReadJsonLines(log_path_, &bad);
  for (const std::string& line : bad) ADD_FAILURE() << "log line is not JSON: " << line;
  return out;
}

}  // namespace devsim_test
