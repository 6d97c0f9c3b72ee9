// A device request on a thread with a stop request: cut short on a stalled device and in the
// middle of a body, delivering nothing; never sent once the stop is set; unchanged while it is
// not set.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <thread>

#include "tests/net/protocol_fixture.h"

#include "net/device_session.h"
#include "net/login_exchange.h"
#include "net/request_cancel.h"
#include "tests/support/device_login.h"
#include "tests/support/win_process.h"

namespace nettest {
namespace {

namespace ts = testsupport;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

class RequestStopWireTest : public ProtocolTest {
 protected:
  void SetUp() override {
    ProtocolTest::SetUp();
    m_stop = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(m_stop, nullptr);
  }
  void TearDown() override {
    if (m_stop) ::CloseHandle(m_stop);
    ProtocolTest::TearDown();
  }

  // Sends the request on a thread of its own under the stop request; the stop is set once
  // stopWhen() holds (never when null). The result, and how long the request ran on after the
  // stop was set.
  struct Stopped {
    SendResult send;
    Clock::duration afterStop{};
    bool stopSet = false;
  };
  Stopped SendStoppable(uint8_t command, const CGIParamList& request, uint32_t capacity,
                        uint16_t timeout, const std::function<bool()>& stopWhen) {
    Stopped out;
    out.send.reply.assign(capacity, 0xEE);
    std::atomic<bool> done{false};
    Clock::time_point end;
    std::thread sender([&] {
      const RequestCancel cancel(m_stop);
      const RequestCancelScope scope(cancel);
      CgiRequest send = CgiRequest::Of(request);
      send.command = command;
      send.reply = out.send.reply.data();
      send.replyCapacity = capacity;
      send.options = {.sendTimeoutSeconds = timeout, .receiveTimeoutSeconds = timeout};
      send.status = &out.send.status;
      send.replyLength = &out.send.length;
      send.bodyComplete = &out.send.complete;
      out.send.result = VorozSendCommand(send, ProgramDeviceSession());
      end = Clock::now();
      done = true;
    });
    Clock::time_point set;
    if (stopWhen && ts::WaitUntil([&] { return done || stopWhen(); }, 10000) && !done) {
      set = Clock::now();
      out.stopSet = ::SetEvent(m_stop) != 0;
    }
    sender.join();
    if (out.stopSet) out.afterStop = end - set;
    return out;
  }

  static bool Untouched(const SendResult& r) {
    for (uint8_t b : r.reply)
      if (b != 0xEE) return false;
    return r.status.dwStatus == 0xBBBB && r.length == 777 && r.complete == 9;
  }

  HANDLE m_stop = nullptr;
};

CGIParamList LoginRequest() {
  CGIParamList request(kCgiLogin);
  request.AddParam("Username", "revuv");
  request.AddParam("Password", "revuv");
  return request;
}

TEST_F(RequestStopWireTest, StalledDeviceRequestEndsWithTheStop) {
  StartDevice({"--fault", "stall"});  // reads the request and never answers
  const Stopped r = SendStoppable(kCgiLogin, LoginRequest(), 256, 20,
                                  [&] { return devsim.RequestsOf("/Login.cgi").size() == 1; });
  ASSERT_TRUE(r.stopSet) << "the request ended before the stop";
  std::printf(
      "the request ended %lld ms after the stop\n",
      static_cast<long long>(std::chrono::duration_cast<milliseconds>(r.afterStop).count()));
  EXPECT_LT(r.afterStop, milliseconds(1000));
  EXPECT_EQ(r.send.result, 0);
  EXPECT_TRUE(Untouched(r.send));
  EXPECT_EQ(Cookie(), "");
}

// A reply head and part of a body, then silence: the server side of a request cut mid-body.
class HalfReplyServer {
 public:
  HalfReplyServer() {
    m_listener.Create(SOCK_STREAM);
    m_listener.Bind(CSockAddr("127.0.0.1", 0));
    m_listener.Listen();
    CSockAddr bound;
    m_listener.GetSockName(bound);
    m_port = ntohs(bound.sin_port);
    m_release = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    m_thread = std::thread([this] { Serve(); });
  }
  ~HalfReplyServer() {
    ::SetEvent(m_release);
    m_listener.Cleanup();  // ends an accept still waiting
    m_thread.join();
    ::CloseHandle(m_release);
  }
  uint16_t port() const { return m_port; }
  bool BodyPartSent() const { return m_sent; }

 private:
  void Serve() {
    CBlockingSocket connection;
    try {
      CSockAddr peer;
      if (m_listener.Accept(connection, peer) != 1) return;
      std::string head;
      char buf[512];
      while (head.find("\r\n\r\n") == std::string::npos) {
        const int n = connection.Receive(buf, sizeof buf, 5);
        if (n <= 0) break;
        head.append(buf, n);
      }
      const std::string reply = "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n0123456789";
      connection.WriteAll(reply.data(), static_cast<int>(reply.size()), 5);
      m_sent = true;
      ::WaitForSingleObject(m_release, 30000);
    } catch (const CBlockingSocketException&) {
    }
    connection.Cleanup();
  }

  CBlockingSocket m_listener;
  uint16_t m_port = 0;
  HANDLE m_release = nullptr;
  std::atomic<bool> m_sent{false};
  std::thread m_thread;
};

TEST_F(RequestStopWireTest, BodyCutByTheStopIsNotDelivered) {
  // Without a stop the short body keeps its contract: 1, the bytes that came, incomplete.
  {
    HalfReplyServer server;
    ts::PointProgramSessionAt(server.port());
    const Stopped r =
        SendStoppable(kCgiGetDeviceInfo, CGIParamList(kCgiGetDeviceInfo), 256, 1, nullptr);
    EXPECT_EQ(r.send.result, 1);
    EXPECT_EQ(r.send.length, 10u);
    EXPECT_EQ(r.send.complete, 0u);
    EXPECT_EQ(r.send.Body(), "0123456789");
  }
  // Stopped while the rest of the body is awaited: 0, and not a byte of it in the buffer.
  HalfReplyServer server;
  ProgramDeviceSession().SetWebPort(server.port());
  const Stopped r = SendStoppable(kCgiGetDeviceInfo, CGIParamList(kCgiGetDeviceInfo), 256, 20, [&] {
    if (!server.BodyPartSent()) return false;
    ::Sleep(200);
    return true;
  });
  ASSERT_TRUE(r.stopSet);
  EXPECT_LT(r.afterStop, milliseconds(1000));
  EXPECT_EQ(r.send.result, 0);
  EXPECT_TRUE(Untouched(r.send));
}

TEST_F(RequestStopWireTest, NothingIsSentOnceStopped) {
  StartDevice();
  ::SetEvent(m_stop);
  const auto start = Clock::now();
  const Stopped r = SendStoppable(kCgiLogin, LoginRequest(), 256, 20, nullptr);
  EXPECT_LT(Clock::now() - start, milliseconds(500));
  EXPECT_EQ(r.send.result, 0);
  EXPECT_TRUE(Untouched(r.send));
  // The login exchange on a stopped thread fails the same way.
  LoginOutcome outcome = LoginOutcome::kAccepted;
  std::thread([&] {
    const RequestCancel cancel(m_stop);
    const RequestCancelScope scope(cancel);
    outcome = ts::LogInOnly(kReloginLogin);
  }).join();
  EXPECT_EQ(outcome, LoginOutcome::kFailed);
  EXPECT_TRUE(Requests().empty());
}

TEST_F(RequestStopWireTest, UnsetStopChangesNothing) {
  StartDevice({"--fault", "stall,count=1"});
  // A stalled request still times out at its time-out.
  const auto start = Clock::now();
  const Stopped stalled = SendStoppable(kCgiLogin, LoginRequest(), 256, 1, nullptr);
  const auto took = Clock::now() - start;
  EXPECT_EQ(stalled.send.result, 0);
  EXPECT_TRUE(Untouched(stalled.send));
  EXPECT_GE(took, milliseconds(900));
  EXPECT_LT(took, milliseconds(3000));
  // The next one is answered as usual.
  const Stopped answered = SendStoppable(kCgiLogin, LoginRequest(), 256, 5, nullptr);
  EXPECT_EQ(answered.send.result, 1);
  EXPECT_EQ(answered.send.complete, 1u);
  EXPECT_EQ(answered.send.Body().rfind("Session-ID=", 0), 0u) << answered.send.Body();
  EXPECT_EQ(devsim.RequestsOf("/Login.cgi").size(), 2u);
}

}  // namespace
}  // namespace nettest
