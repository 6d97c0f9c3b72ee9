// The blocking socket on loopback, its stop request, the local address text and the ICMP echo
// request bytes.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "net/blocking_socket.h"
#include "net/icmp_echo.h"
#include "net/local_ip.h"
#include "net/request_cancel.h"

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

// A socket's waits under a stop request: unset, they wait and deliver as before; set, every wait
// ends at once as a time-out; set during a wait, the wait ends within a slice.
TEST_F(SocketTest, StopRequestEndsTheWaitsAsATimeOut) {
  using Clock = std::chrono::steady_clock;
  HANDLE stop = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
  ASSERT_NE(stop, nullptr);
  const RequestCancel cancel(nullptr, stop);
  Connect();
  client.SetCancel(&cancel);
  server.SetCancel(&cancel);
  char buf[16];

  // Not set: a poll stays a poll, data that comes during a sliced wait is received.
  auto start = Clock::now();
  EXPECT_EQ(server.Receive(buf, sizeof buf, 0), -1);
  EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(500));
  std::thread late([&] {
    ::Sleep(150);
    client.WriteAll("late", 4, 1);
  });
  EXPECT_EQ(server.Receive(buf, sizeof buf, 5), 4);
  late.join();
  EXPECT_EQ(std::string(buf, 4), "late");

  // Set while a receive of 20 s waits for a silent peer.
  std::thread stopper([&] {
    ::Sleep(300);
    ::SetEvent(stop);
  });
  start = Clock::now();
  EXPECT_EQ(server.Receive(buf, sizeof buf, 20), -1);
  const auto waited = Clock::now() - start;
  stopper.join();
  EXPECT_GE(waited, std::chrono::milliseconds(250));
  EXPECT_LT(waited, std::chrono::milliseconds(1000));

  // Already set: nothing is waited for, even with data ready or a connect that would succeed.
  client.SetCancel(nullptr);
  EXPECT_EQ(client.WriteAll("ready", 5, 1), 5);
  client.SetCancel(&cancel);
  start = Clock::now();
  EXPECT_EQ(server.Receive(buf, sizeof buf, 20), -1);
  EXPECT_EQ(Operation([&] { client.WriteAll("x", 1, 20); }), "Send timeout");
  EXPECT_EQ(Operation([&] { client.Write("x", 1, 20); }), "Send timeout");
  CSockAddr bound;
  listener.GetSockName(bound);
  CBlockingSocket other;
  other.SetCancel(&cancel);
  other.Create(SOCK_STREAM);
  EXPECT_EQ(Operation([&] { other.Connect(CSockAddr("127.0.0.1", ntohs(bound.sin_port))); }),
            "Connect");
  EXPECT_EQ(other.m_bConnected, 0);
  other.Cleanup();
  EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(500));

  // Without the request the same socket reads what is waiting.
  server.SetCancel(nullptr);
  EXPECT_EQ(server.Receive(buf, sizeof buf, 1), 5);
  EXPECT_EQ(std::string(buf, 5), "ready");
  ::CloseHandle(stop);
}

TEST(RequestCancel, SetByAnyWatchedEventAndScopedPerThread) {
  HANDLE a = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE b = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
  const RequestCancel both(a, b);
  const RequestCancel none(nullptr);
  EXPECT_FALSE(both.IsSet());
  EXPECT_FALSE(none.IsSet());
  ::SetEvent(b);
  EXPECT_TRUE(both.IsSet());
  EXPECT_TRUE(both.IsSet());  // a manual-reset event stays set for every wait that tests it
  ::ResetEvent(b);
  ::SetEvent(a);
  EXPECT_TRUE(both.IsSet());

  EXPECT_EQ(ThreadRequestCancel(), nullptr);
  {
    const RequestCancelScope outer(both);
    EXPECT_EQ(ThreadRequestCancel(), &both);
    const RequestCancel* other = &both;
    std::thread([&] { other = ThreadRequestCancel(); }).join();
    EXPECT_EQ(other, nullptr);
    {
      const RequestCancelScope inner(none);
      EXPECT_EQ(ThreadRequestCancel(), &none);
    }
    EXPECT_EQ(ThreadRequestCancel(), &both);
  }
  EXPECT_EQ(ThreadRequestCancel(), nullptr);
  ::CloseHandle(a);
  ::CloseHandle(b);
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
