// Each fault mode once, switched on at run time, plus the command-line form and the counts.
#include <functional>

#include "tests/devsim/devsim_fixture.h"

namespace devsim_test {
namespace {

const std::string kLogin = "/Login.cgi?Username=revuv&Password=revuv";

class FaultTest : public DevsimTest {
 protected:
  void SetUp() override {
    StartDevsim();
    cookie_ = Login();
  }
  std::string cookie_;
};

TEST_F(FaultTest, EachFaultChangesTheReplyAsAsked) {
  struct Case {
    std::string fault;  // query of /_devsim/fault
    std::function<std::string(const std::string& cookie)> target;
    std::function<void(const RawExchange&, const ParsedReply&)> check;
  };
  auto login = [](const std::string&) { return kLogin; };
  auto system = [](const std::string& c) {
    return "/GetSysCfg.cgi?Option=SYSTEM&Size=36&Cookie=" + c;
  };
  Case cases[] = {
      {"login-denied", login,
       [](const RawExchange&, const ParsedReply& r) {
         EXPECT_EQ(r.head, "HTTP/1.1 401 Unauthorized\r\n\r\n");
       }},
      {"login-denied&status=403", login,
       [](const RawExchange&, const ParsedReply& r) { EXPECT_EQ(r.status, 403); }},
      {"login-busy", login,
       [](const RawExchange& ex, const ParsedReply&) {
         EXPECT_EQ(ex.bytes, "HTTP/1.1 202 Accepted\r\n\r\n");
       }},
      {"login-no-session", login,
       [](const RawExchange&, const ParsedReply& r) {
         EXPECT_EQ(r.status, 200);
         EXPECT_EQ(r.body.find("Session-ID"), std::string::npos);
         EXPECT_NE(r.body.find("Product-ID=RZ1K;"), std::string::npos);
       }},
      {"bad-product&id=RZ9Q", login,
       [](const RawExchange&, const ParsedReply& r) {
         EXPECT_NE(r.body.find("Session-ID="), std::string::npos);
         EXPECT_NE(r.body.find(";Product-ID=RZ9Q;"), std::string::npos) << r.body;
       }},
      {"devinfo-empty",
       [](const std::string& c) { return "/Getdeviceinfo.cgi?Cookie=" + c + "&RES=1&QUA=0"; },
       [](const RawExchange&, const ParsedReply& r) {
         EXPECT_EQ(r.head, "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n");
       }},
      {"status&code=503", system,
       [](const RawExchange&, const ParsedReply& r) { EXPECT_EQ(r.status, 503); }},
      {"long-block", system,
       [](const RawExchange&, const ParsedReply& r) {
         EXPECT_EQ(r.head, "HTTP/1.1 200 OK\r\nContent-Length: 40\r\n\r\n");
         EXPECT_EQ(r.body.size(), 40u);
       }},
      {"short-all&length=1500",
       [](const std::string& c) { return "/GetSysCfg.cgi?Option=ALL&Size=0&Cookie=" + c; },
       [](const RawExchange&, const ParsedReply& r) {
         EXPECT_EQ(r.head, "HTTP/1.1 200 OK\r\nContent-Length: 1500\r\n\r\n");
         EXPECT_EQ(r.body.size(), 1500u);
       }},
      {"trickle&pieces=31&delay=20", system,
       [](const RawExchange& ex, const ParsedReply& r) {
         EXPECT_EQ(r.status, 200);
         EXPECT_EQ(r.body.size(), 36u);
         EXPECT_NE(r.head.find("\r\nContent-Length: 36\r\n"), std::string::npos) << r.head;
         // The pieces are written 20 ms apart, so they arrive in many reads.
         EXPECT_GE(ex.chunk_sizes.size(), 10u);
       }},
      {"cut-body&bytes=10", system,
       [](const RawExchange& ex, const ParsedReply& r) {
         EXPECT_EQ(r.head, "HTTP/1.1 200 OK\r\nContent-Length: 36\r\n\r\n");
         EXPECT_EQ(r.body.size(), 10u);
         EXPECT_TRUE(ex.closed);
       }},
      {"lowercase-length", system,
       [](const RawExchange&, const ParsedReply& r) {
         EXPECT_EQ(r.head, "HTTP/1.1 200 OK\r\ncontent-length: 36\r\n\r\n");
         EXPECT_EQ(r.body.size(), 36u);
       }},
      {"no-length", system,
       [](const RawExchange&, const ParsedReply& r) {
         EXPECT_EQ(r.head, "HTTP/1.1 200 OK\r\n\r\n");
         EXPECT_EQ(r.body.size(), 36u);
       }},
      {"tight-length", system,
       [](const RawExchange&, const ParsedReply& r) {
         EXPECT_EQ(r.head, "HTTP/1.1 200 OK\r\nContent-Length:36\r\n\r\n");
       }},
      {"oversize&length=5000", system,
       [](const RawExchange& ex, const ParsedReply& r) {
         EXPECT_EQ(r.head, "HTTP/1.1 200 OK\r\nContent-Length: 5000\r\n\r\n");
         EXPECT_EQ(r.body.size(), 36u);
         EXPECT_TRUE(ex.closed);
       }},
      {"oversize&length=5000&pad=1", system,
       [](const RawExchange&, const ParsedReply& r) { EXPECT_EQ(r.body.size(), 5000u); }},
      {"stall&ms=100", system,
       [](const RawExchange&, const ParsedReply& r) { EXPECT_EQ(r.body.size(), 36u); }},
      {"drop", system,
       [](const RawExchange& ex, const ParsedReply&) {
         EXPECT_EQ(ex.bytes, "");
         EXPECT_TRUE(ex.closed);
       }},
      {"drop&reset=1", system,
       [](const RawExchange& ex, const ParsedReply&) {
         EXPECT_EQ(ex.bytes, "");
         EXPECT_TRUE(ex.reset || ex.closed);
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fault);
    Control("/_devsim/fault?name=" + c.fault + "&count=1");
    RawExchange ex = Raw(ClientRequest(c.target(cookie_)));
    c.check(ex, ParseReply(ex.bytes));
    // count=1: the next request is served normally again.
    EXPECT_EQ(Control("/_devsim/faults"), "");
    EXPECT_EQ(Get(c.target(cookie_)).status, 200);
  }
}

TEST_F(FaultTest, StallNeverAnswersUntilThePeerGivesUp) {
  Control("/_devsim/fault?name=stall&count=1");
  RawExchange ex = Raw(ClientRequest(kLogin), 300);
  EXPECT_TRUE(ex.timed_out);
  EXPECT_EQ(ex.bytes, "");
  EXPECT_EQ(Get(kLogin).status, 200);
}

TEST_F(FaultTest, CountsSkipsPathsAndClearing) {
  // Refuse the first two logins, then accept.
  Control("/_devsim/fault?name=login-denied&count=2");
  EXPECT_EQ(Get(kLogin).status, 401);
  EXPECT_EQ(Get("/SetChannel.cgi?CH=1&Cookie=" + cookie_).status, 200);  // other paths untouched
  EXPECT_EQ(Get(kLogin).status, 401);
  EXPECT_EQ(Get(kLogin).status, 200);

  // Let one pass, then fire for ever until cleared; path=* widens a fault to every path.
  Control("/_devsim/fault?name=status&code=500&skip=1&path=/Reboot.cgi");
  EXPECT_EQ(Get("/Reboot.cgi?Cookie=" + cookie_).status, 200);
  EXPECT_EQ(Get("/Reboot.cgi?Cookie=" + cookie_).status, 500);
  EXPECT_EQ(Get("/Reboot.cgi?Cookie=" + cookie_).status, 500);
  EXPECT_EQ(Control("/_devsim/clear-faults?name=status"), "cleared=1\n");
  EXPECT_EQ(Get("/Reboot.cgi?Cookie=" + cookie_).status, 200);
  Control("/_devsim/fault?name=login-busy&path=*&count=1");
  EXPECT_EQ(Get("/SetChannel.cgi?CH=1&Cookie=" + cookie_).status, 202);

  // every=N: after the skip, the first matching request and then one of every N, count times.
  Control("/_devsim/fault?name=status&code=500&skip=1&every=3&count=2&path=/Reboot.cgi");
  std::string statuses;
  for (int i = 0; i < 9; ++i)
    statuses += Get("/Reboot.cgi?Cookie=" + cookie_).status == 500 ? 'F' : '.';
  EXPECT_EQ(statuses, ".F..F....");
  EXPECT_EQ(Get("/_devsim/fault?name=drop&every=0").status, 400);

  // option= narrows a block fault to one option.
  Control("/_devsim/fault?name=long-block&option=INF&count=1");
  EXPECT_EQ(Get("/GetSysCfg.cgi?Option=SYSTEM&Size=36&Cookie=" + cookie_).body.size(), 36u);
  EXPECT_EQ(Get("/GetSysCfg.cgi?Option=INF&Size=44&Cookie=" + cookie_).body.size(), 48u);

  // Faults stack: a trickled head with a lower-case length.
  Control("/_devsim/fault?name=trickle&pieces=5&count=1");
  Control("/_devsim/fault?name=lowercase-length&count=1");
  ParsedReply r = Get("/GetSysCfg.cgi?Option=SYSTEM&Size=36&Cookie=" + cookie_);
  EXPECT_NE(r.head.find("\r\ncontent-length: 36\r\n"), std::string::npos) << r.head;

  EXPECT_EQ(Get("/_devsim/fault?name=no-such-fault").status, 400);
  EXPECT_EQ(Get("/_devsim/fault?name=trickle&pieces=x").status, 400);
  EXPECT_EQ(Get("/_devsim/fault?name=trickle&colour=red").status, 400);
  EXPECT_EQ(Get("/_devsim/fault?name=drop&count=0").status, 400);
  EXPECT_EQ(Get("/_devsim/fault?name=oversize&length=99999999999&pad=1").status, 400);
  EXPECT_EQ(Get("/_devsim/fault?name=status&code=42").status, 400);
  EXPECT_EQ(Control("/_devsim/faults"), "");
}

TEST(DevsimFaultOptions, FaultsFromTheCommandLine) {
  DevsimProcess devsim;
  ASSERT_TRUE(
      devsim.Start({"--fault", "login-busy,count=2", "--fault", "tight-length,path=/Login.cgi"}))
      << devsim.error();
  EXPECT_EQ(Exchange(devsim.port(), ClientRequest(kLogin)).bytes, "HTTP/1.1 202 Accepted\r\n\r\n");
  EXPECT_EQ(ParseReply(Exchange(devsim.port(), ClientRequest(kLogin)).bytes).status, 202);
  ParsedReply r = ParseReply(Exchange(devsim.port(), ClientRequest(kLogin)).bytes);
  EXPECT_EQ(r.status, 200);
  EXPECT_EQ(r.head.find("Content-Length:" + std::to_string(r.body.size()) + "\r\n"), 17u) << r.head;
  EXPECT_EQ(devsim.Stop(), 0);

  std::string out;
  EXPECT_EQ(RunDevsim({"--fault", "nonsense"}, &out), 2);
  EXPECT_NE(out.find("unknown fault nonsense"), std::string::npos) << out;
}

}  // namespace
}  // namespace devsim_test
