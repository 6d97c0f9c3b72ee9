// The firmware upgrade endpoints: chunked and streamed parts kept byte for byte with their Type
// and Reboot, the hold connection seen while they arrive, cancels and the version text.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "tests/devsim/devsim_fixture.h"

namespace devsim_test {
namespace {

// A connection that sends one request and stays open until destroyed.
class OpenConnection {
 public:
  OpenConnection(int port, const std::string& request) {
    fd_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ok_ = connect(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
          send(fd_, request.data(), request.size(), MSG_NOSIGNAL) ==
              static_cast<ssize_t>(request.size());
  }
  ~OpenConnection() { close(fd_); }
  bool ok() const { return ok_; }
  int fd() const { return fd_; }

 private:
  int fd_ = -1;
  bool ok_ = false;
};

class FirmwareUpgradeTest : public DevsimTest {
 protected:
  void SetUp() override { StartDevsim({"--set", "check_cookie=0"}); }
  // Waits until the listing says n hold connections are open.
  void WaitForHolds(int n) {
    const std::string want = "holds open=" + std::to_string(n);
    for (int i = 0; i < 500; ++i) {
      if (Control("/_devsim/firmware").find(want) != std::string::npos) return;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    FAIL() << "never " << want;
  }
};

std::string Fnv(const std::string& data) {
  uint64_t h = 1469598103934665603ull;
  for (unsigned char c : data) h = (h ^ c) * 1099511628211ull;
  char text[20];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(h));
  return text;
}

std::string Pattern(size_t n, int seed) {
  std::string s(n, '\0');
  for (size_t i = 0; i < n; ++i)
    s[i] = static_cast<char>((i * 7 + static_cast<size_t>(seed)) & 0xFF);
  return s;
}

TEST_F(FirmwareUpgradeTest, ChunkedPartsAreKeptWholeWhileTheHoldIsOpen) {
  OpenConnection hold(devsim_.port(), ClientRequest("/Getvideo.cgi?Cookie=&Fake=1"));
  ASSERT_TRUE(hold.ok());
  WaitForHolds(1);
  const std::string a = Pattern(2000, 1), b = Pattern(900, 2);
  EXPECT_EQ(Get("/UpgradeFW.cgi?Upgrade=Start&FileSize=2000&Type=5", a.substr(0, 900), true).status,
            200);
  EXPECT_EQ(Get("/UpgradeFW.cgi", a.substr(900, 900), true).status, 200);
  EXPECT_EQ(Get("/UpgradeFW.cgi?Upgrade=Finished&Type=5", a.substr(1800), true).status, 200);
  EXPECT_EQ(Get("/UpgradeFW.cgi?Upgrade=Start&FileSize=900&Type=17", b, true).status, 200);
  EXPECT_EQ(Get("/UpgradeFW.cgi?Upgrade=Start&FileSize=10", std::string(901, 'x'), true).status,
            400);
  EXPECT_EQ(Get("/UpgradeFW.cgi?Upgrade=Cancel").status, 200);
  EXPECT_EQ(Control("/_devsim/firmware"),
            "part method=chunked type=5 size=2000 fnv=" + Fnv(a) + " reboot=0 hold=1\n" +
                "part method=chunked type=17 size=900 fnv=" + Fnv(b) + " reboot=0 hold=1\n" +
                "cancel path=/UpgradeFW.cgi?Upgrade=Cancel\nholds open=1\n");
}

TEST_F(FirmwareUpgradeTest, StreamedPartsReadTheirAnnouncedBytes) {
  const std::string data = Pattern(4096, 3);
  const RawExchange r =
      Raw(ClientRequest("/UpgradeFW2.cgi?Cookie=&FILESIZE=4096&Type=2&REBOOT=1") + data);
  EXPECT_EQ(ParseReply(r.bytes).status, 200);
  EXPECT_EQ(Get("/CancelUPFW.cgi").status, 200);
  EXPECT_EQ(Control("/_devsim/firmware"), "part method=streamed type=2 size=4096 fnv=" + Fnv(data) +
                                              " reboot=1 hold=0\ncancel path=/CancelUPFW.cgi\n"
                                              "holds open=0\n");
  EXPECT_EQ(ParseReply(Raw(ClientRequest("/UpgradeFW2.cgi?Type=2")).bytes).status, 400);
}

TEST_F(FirmwareUpgradeTest, VersionTextIsTheSettingOrTheFirmware) {
  Control("/_devsim/set?firmware=1031");
  EXPECT_EQ(Get("/GetVersion.cgi").body, "1031");
  Control("/_devsim/set?version_text=" + std::string(5000, 'v'));
  EXPECT_EQ(Get("/GetVersion.cgi").body, std::string(5000, 'v'));
}

}  // namespace
}  // namespace devsim_test
