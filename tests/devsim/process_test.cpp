// devsim as a program: options, ports, the port file and a clean stop.
#include <signal.h>

#include <fstream>
#include <thread>

#include "tests/devsim/devsim_fixture.h"

namespace devsim_test {
namespace {

TEST(DevsimProgram, HelpListsEveryOptionFaultAndSetting) {
  std::string out;
  ASSERT_EQ(RunDevsim({"--help"}, &out), 0);
  for (const char* word :
       {"--port",          "--bind",       "--port-file",    "--log",   "--product",
        "--profile",       "--set",        "--blocks",       "--fault", "--read-timeout",
        "login-busy",      "trickle",      "cut-body",       "stall",   "drop",
        "capability_mask", "devinfo_text", "/_devsim/fault", "RZ8P",    "invalid"}) {
    EXPECT_NE(out.find(word), std::string::npos) << word;
  }
}

TEST(DevsimProgram, RefusesBadOptions) {
  for (std::vector<std::string> args :
       std::vector<std::vector<std::string>>{{"--port", "70000"},
                                             {"--bind", "10.0.0.1"},
                                             {"--product", "RZ9Z"},
                                             {"--set", "nokey"},
                                             {"--set", "online_length=241"},
                                             {"--profile", "/nonexistent/profile"},
                                             {"--what"}}) {
    std::string out;
    EXPECT_NE(RunDevsim(args, &out), 0) << args[0] << " " << (args.size() > 1 ? args[1] : "");
    EXPECT_NE(out.find("devsim: "), std::string::npos) << out;
  }
}

TEST(DevsimProgram, AutoPortIsInTheLoginWindowsRangeAndWrittenToThePortFile) {
  std::string port_file = TempPath("port");
  DevsimProcess devsim;
  ASSERT_TRUE(devsim.Start({"--port", "auto", "--port-file", port_file})) << devsim.error();
  EXPECT_GE(devsim.port(), 2000);
  EXPECT_LE(devsim.port(), 9999);
  std::ifstream in(port_file);
  int written = 0;
  in >> written;
  EXPECT_EQ(written, devsim.port());
  EXPECT_EQ(devsim.Stop(), 0);

  DevsimProcess any;
  ASSERT_TRUE(any.Start({"--port", "0"})) << any.error();
  EXPECT_GT(any.port(), 0);
  EXPECT_EQ(any.Stop(), 0);
}

TEST(DevsimProgram, StopsCleanlyWhileAConnectionStalls) {
  DevsimProcess devsim;
  ASSERT_TRUE(devsim.Start({"--fault", "stall"})) << devsim.error();
  RawExchange stalled;
  std::thread client([&] {
    stalled =
        Exchange(devsim.port(), ClientRequest("/Login.cgi?Username=revuv&Password=revuv"), 20000);
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_EQ(devsim.Stop(), 0) << devsim.StderrText();
  client.join();
  EXPECT_TRUE(stalled.closed || stalled.reset);
  EXPECT_EQ(stalled.bytes, "");
}

}  // namespace
}  // namespace devsim_test
