// The request text on the wire, as the simulator captured it.
#include "tests/net/protocol_fixture.h"

#include "net/local_ip.h"
#include "net/cgi_command_table.h"
#include "net/login_exchange.h"

namespace nettest {
namespace {

using RequestWireTest = ProtocolTest;

std::string ClientLines() {
  return "Accept-Encoding: gzip, deflate\r\n"
         "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1; .NET CLR "
         "1.1.4322)\r\n"
         "Host: " +
         g_strLocalIPAddress + "\r\nConnection: Keep-Alive\r\n\r\n";
}

TEST_F(RequestWireTest, LoginAndBlockWriteByteForByte) {
  StartDevice();
  const std::string cookie = Login();
  ASSERT_FALSE(cookie.empty());
  const std::string block = Pattern(772, 3);
  CGIParamList set(kCgiSetSysCfg);
  set.AddParam("Option", "DVRLIVE");
  set.AddParam("Cookie", cookie);
  EXPECT_EQ(Send(kCgiSetSysCfg, set, 0, block, true).result, 1);

  const auto log = Requests();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0].head,
            "GET /Login.cgi?Username=revuv&Password=revuv HTTP/1.1\r\nAccept: */* \r\n"
            "Accept-Language: zh-tw\r\n" +
                ClientLines());
  EXPECT_EQ(log[1].head,
            "GET /SetSysCfg.cgi?Option=DVRLIVE&Cookie=" + cookie +
                " HTTP/1.1\r\nAccept: */* \r\nAccept-Language: zh-tw\r\nContent-Length: 772\r\n" +
                ClientLines());
  EXPECT_EQ(log[1].body, block);
  EXPECT_EQ(StoredBlock("DVRLIVE"), block);
}

TEST_F(RequestWireTest, EveryCommandOfTheTableReachesTheDevice) {
  StartDevice();
  const std::string cookie = Login();
  for (int id = 0; id < kCgiCommandCount; ++id) {
    CGIParamList request(static_cast<uint8_t>(id));
    request.AddParam("Cookie", cookie);
    const SendResult r = Send(static_cast<uint8_t>(id), request);
    if (id == kCgiReboot) {
      EXPECT_EQ(r.result, 1);
      EXPECT_EQ(r.length, 777u) << "the reboot reads no reply";
      ASSERT_TRUE(
          testsupport::WaitUntil([&] { return Requests().size() == size_t(id) + 2; }, 5000));
    }
    const auto log = Requests();
    ASSERT_EQ(log.size(), size_t(id) + 2) << id;
    const testsupport::DevsimRequest& got = log.back();
    EXPECT_EQ(got.path, CgiCommandPath(id)) << id;
    EXPECT_EQ(got.target, std::string(CgiCommandPath(id)) + "?Cookie=" + cookie) << id;
    // The reboot reads no reply, and the live stream answers with frames instead of a status.
    if (id == kCgiReboot || id == kCgiGetVideo) continue;
    EXPECT_EQ(r.result, got.status == 200 ? 1 : 0) << id;
    if (got.status != 200) {
      EXPECT_EQ(r.status.dwStatus, static_cast<uint32_t>(got.status)) << id;
    }
  }
}

TEST_F(RequestWireTest, QueriesAsBuilt) {
  StartDevice({"--no-cookie-check"});
  CGIParamList channel(kCgiSetChannel);
  channel.AddParamInt("CH", 3);
  channel.AddParam("Cookie", "c0ffee");
  EXPECT_EQ(Send(kCgiSetChannel, channel).result, 1);
  channel.Reset();
  channel.AddParamInt("CH", -1);
  EXPECT_EQ(Send(kCgiSetChannel, channel).result, 1);

  const auto log = Requests();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0].target, "/SetChannel.cgi?CH=3&Cookie=c0ffee");
  EXPECT_EQ(log[1].target, "/SetChannel.cgi?CH=-1");
  EXPECT_EQ(log[0].params, (std::vector<std::string>{"CH=3", "Cookie=c0ffee"}));
}

TEST_F(RequestWireTest, OversizeRequestIsNotSent) {
  StartDevice({"--no-cookie-check"});
  CGIParamList set(kCgiSetSysCfg);
  set.AddParam("Option", "DVRLIVE");
  EXPECT_EQ(Send(kCgiSetSysCfg, set, 0, std::string(4000, 'x'), true).result, 0);
  EXPECT_TRUE(Requests().empty());
}

}  // namespace
}  // namespace nettest
