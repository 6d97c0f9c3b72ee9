// The blocking socket on loopback, the local address text and the ICMP echo request bytes.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <cstring>
#include <string>
#include <vector>

#include "net/blocking_socket.h"
#include "net/icmp_echo.h"
#include "net/local_ip.h"

namespace {

class SocketTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    WSADATA wsa;
    ASSERT_EQ(WSAStartup(MAKEWORD(1, 1), &wsa), 0);
  }

  // A connected pair on 127.0.0.1: client and the accepted server side.
  void Connect() {
    listener.Create(SOCK_STREAM);
    CSockAddr any("127.0.0.1", 0);
    listener.Bind(any);
    listener.Listen();
    CSockAddr bound;
    listener.GetSockName(bound);
    client.Create(SOCK_STREAM);
    client.Connect(CSockAddr("127.0.0.1", ntohs(bound.sin_port)));
    CSockAddr peer;
    ASSERT_EQ(listener.Accept(server, peer), 1);
  }

  void TearDown() override {
    for (CBlockingSocket* s : {&client, &server, &listener}) s->Cleanup();
  }

  CBlockingSocket listener, client, server;
};

std::string Operation(const std::function<void()>& f) {
  try {
    f();
  } catch (const CBlockingSocketException& e) {
    return e.m_strOperation;
  }
  return "";
}

TEST_F(SocketTest, AddressValues) {
  CSockAddr any;
  EXPECT_EQ(any.sin_family, AF_INET);
  EXPECT_EQ(any.IPAddr(), 0u);
  const CSockAddr bad("not-an-ip", 80);
  EXPECT_EQ(bad.IPAddr(), 0xFFFFFFFFu);
  EXPECT_EQ(bad.sin_port, htons(80));
  const CSockAddr loop("127.0.0.1", 8080);
  EXPECT_EQ(loop.IPAddr(), 0x7F000001u);
  EXPECT_EQ(CBlockingSocket::GetHostByName("127.0.0.1", 81).IPAddr(), 0x7F000001u);
  EXPECT_EQ(CBlockingSocket::GetHostByName("localhost", 81).sin_port, htons(81));
  EXPECT_EQ(Operation([] { CBlockingSocket::GetHostByName(nullptr); }), "GetHostByName");
  char text[16] = {};
  GetLocalIpString(text, sizeof text);
  EXPECT_NE(CSockAddr(text, 0).IPAddr(), 0xFFFFFFFFu) << text;
  char tiny[4] = {'x', 'x', 'x', 'x'};
  GetLocalIpString(tiny, sizeof tiny);
  EXPECT_EQ(tiny[3], '\0');
}

TEST_F(SocketTest, ReceiveWithoutSocketAndAfterPeerClose) {
  CBlockingSocket none;
  char buf[16];
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(none.Receive(buf, sizeof buf, 5), -1);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));

  Connect();
  EXPECT_EQ(client.WriteAll("hello", 5, 1), 5);
  EXPECT_EQ(server.Receive(buf, sizeof buf, 1), 5);
  EXPECT_EQ(std::string(buf, 5), "hello");
  // A time-out of 0 polls.
  EXPECT_EQ(server.Receive(buf, sizeof buf, 0), -1);
  client.Close();
  EXPECT_EQ(client.m_hSocket, 0u);
  EXPECT_EQ(client.m_bConnected, 0);
  EXPECT_EQ(server.Receive(buf, sizeof buf, 1), -1);
}

TEST_F(SocketTest, CloseAndCleanupTwiceAreHarmless) {
  CBlockingSocket s;
  EXPECT_EQ(Operation([&] { s.Close(); }), "");
  s.Create(SOCK_STREAM);
  EXPECT_NE(s.m_hSocket, 0u);
  s.Close();
  EXPECT_EQ(Operation([&] { s.Close(); }), "");
  s.Cleanup();
  s.Create(SOCK_DGRAM);
  s.Cleanup();
  s.Cleanup();
  EXPECT_EQ(s.m_hSocket, 0u);
}

TEST_F(SocketTest, FailuresNameTheirOperation) {
  Connect();
  CSockAddr bound;
  listener.GetSockName(bound);
  CBlockingSocket other;
  other.Create(SOCK_STREAM);
  EXPECT_EQ(Operation([&] { other.Bind(bound); }), "Bind");
  other.Cleanup();
  other.Create(SOCK_STREAM);
  EXPECT_EQ(Operation([&] { other.Connect(CSockAddr("127.0.0.1", 1)); }), "Connect");
  EXPECT_EQ(other.m_bConnected, 0);
  other.Cleanup();
  EXPECT_EQ(client.m_bConnected, 1);

  // A peer that stops reading makes the wait before a send end with nothing ready. Small runs,
  // so that no single blocking send has to wait for the peer.
  const std::vector<char> run(4096, 'x');
  std::string failed;
  for (int i = 0; i < 100000 && failed.empty(); ++i)
    failed = Operation([&] { client.WriteAll(run.data(), static_cast<int>(run.size()), 1); });
  EXPECT_EQ(failed, "Send timeout");
}

TEST(IcmpEcho, RequestBytes) {
  uint8_t packet[CIcmpEcho::kRequestSize];
  CIcmpEcho::BuildRequest(1, 2, 0x11223344, packet);
  EXPECT_EQ(packet[0], 8);
  EXPECT_EQ(packet[1], 0);
  EXPECT_EQ(packet[4], 1);
  EXPECT_EQ(packet[6], 2);
  EXPECT_EQ(packet[8], 0);
  EXPECT_EQ(packet[9], 0x44);
  EXPECT_EQ(packet[12], 0x11);
  for (int i = 0; i < 32; ++i) EXPECT_EQ(packet[13 + i], 0x20 + i);
  // The checksum over the whole request, its own field included, folds to zero.
  EXPECT_EQ(CIcmpEcho::Checksum(packet, sizeof packet), 0);
  const uint8_t odd[3] = {0x01, 0x02, 0x03};
  EXPECT_EQ(CIcmpEcho::Checksum(odd, 3), static_cast<uint16_t>(~(0x0201 + 0x03)));
}

}  // namespace
