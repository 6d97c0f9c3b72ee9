#include "tests/devsim/stream_fixture.h"

#include <cstdio>
#include <thread>

namespace devsim_test {

std::string StreamTest::OpenSession(const std::string& params) {
  std::string cookie = Login();
  ParsedReply r = Get("/Getdeviceinfo.cgi?Cookie=" + cookie + params);
  EXPECT_EQ(r.status, 200) << r.head;
  return cookie;
}

void StreamTest::Set(const std::string& query) {
  EXPECT_EQ(Control("/_devsim/set?" + query), "ok\n") << query;
}

void StreamTest::AddFault(const std::string& query) {
  EXPECT_EQ(Control("/_devsim/fault?name=" + query).rfind("id=", 0), 0u) << query;
}

StreamCounts StreamTest::Counts() {
  StreamCounts c;
  std::string text = Control("/_devsim/streams");
  EXPECT_EQ(
      std::sscanf(text.c_str(), "open=%d frames=%lld encodes=%lld", &c.open, &c.frames, &c.encodes),
      3)
      << text;
  return c;
}

bool StreamTest::WaitForOpenStreams(int open, int timeout_ms) {
  auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
  while (Clock::now() < deadline) {
    if (Counts().open == open) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}

}  // namespace devsim_test
