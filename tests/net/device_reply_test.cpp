// Reply header parsing and the reply read loop, driven by a scripted receiver.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "net/device_reply.h"

namespace {

TEST(ReplyHeader, StatusAndLength) {
  struct Case {
    const char* header;
    int32_t status;
    bool hasLength;
    int64_t length;
  };
  const Case cases[] = {
      {"HTTP/1.1 200 OK\r\nContent-Length: 36\r\n\r\n", 200, true, 36},
      {"HTTP/1.1 202 Accepted\r\n\r\n", 202, false, 0},
      {"HTTP/1.1 200 OK\r\ncontent-length: 5\r\n\r\n", 200, true, 5},
      {"HTTP/1.1 200 OK\r\nContent-Length:5\r\n\r\n", 200, true, 5},
      {"HTTP/1.1 200 OK\r\nCONTENT-LENGTH:   \t77\r\n\r\n", 200, true, 77},
      {"HTTP/1.1 200\r\nContent-Length: 9\r\n\r\n", 200, true, 9},
      {"HTTP/1.1  200 OK\r\n\r\n", 0, false, 0},  // the text between the first two blanks is empty
      {"HTTP/1.1 abc OK\r\n\r\n", 0, false, 0},
      {"garbage\r\n\r\n", 0, false, 0},
      {"HTTP/1.1 200 OK\r\nContent-Length: -4\r\n\r\n", 200, true, -4},
      {"HTTP/1.1 200 OK\r\nContent-Length: 12ab\r\n\r\n", 200, true, 12},
      {"HTTP/1.1 200 OK\r\nContent-Length: 99999999999999999999999\r\n\r\n", 200, true,
       9223372036854775807},
      {"HTTP/1.1 99999999999 OK\r\n\r\n", 2147483647, false, 0},
  };
  for (const Case& c : cases) {
    const ReplyHeader h = ParseReplyHeader(c.header);
    EXPECT_EQ(h.status, c.status) << c.header;
    EXPECT_EQ(h.hasContentLength, c.hasLength) << c.header;
    EXPECT_EQ(h.contentLength, c.length) << c.header;
  }
}

TEST(ReplyHeader, FindsTheEnd) {
  EXPECT_EQ(FindReplyHeaderEnd("HTTP/1.1 200 OK\r\n\r\nbody"), 19u);
  EXPECT_EQ(FindReplyHeaderEnd("HTTP/1.1 200 OK\r\n\r"), std::string_view::npos);
}

// Hands out the scripted pieces one per receive; -1 once they are used up.
class ScriptedPeer {
 public:
  explicit ScriptedPeer(std::vector<std::string> pieces) : m_pieces(std::move(pieces)) {}
  ReplyReceiveFn Receiver() {
    return [this](uint8_t* buf, int32_t size) -> int32_t {
      asks.push_back(size);
      if (m_next >= m_pieces.size()) return -1;
      std::string& piece = m_pieces[m_next];
      const size_t n = std::min<size_t>(piece.size(), static_cast<size_t>(size));
      std::memcpy(buf, piece.data(), n);
      piece.erase(0, n);
      if (piece.empty()) ++m_next;
      return static_cast<int32_t>(n);
    };
  }
  std::vector<int32_t> asks;

 private:
  std::vector<std::string> m_pieces;
  size_t m_next = 0;
};

std::vector<std::string> InPieces(const std::string& text, size_t count) {
  std::vector<std::string> pieces;
  const size_t size = text.size() / count;
  for (size_t i = 0; i < count; ++i)
    pieces.push_back(text.substr(i * size, i + 1 == count ? std::string::npos : size));
  return pieces;
}

struct Read {
  DeviceReplyResult r;
  std::string body;
  int on200 = 0;
};

Read ReadFrom(ScriptedPeer& peer, uint32_t capacity, bool withBuffer = true) {
  Read out;
  std::vector<uint8_t> reply(capacity + 16, 0xEE);
  out.r = ReadDeviceReply(peer.Receiver(), withBuffer ? reply.data() : nullptr, capacity,
                          [&] { ++out.on200; });
  out.body.assign(reinterpret_cast<const char*>(reply.data()), out.r.bodyLen);
  // Nothing past the delivered bytes is touched.
  for (size_t i = out.r.bodyLen; i < reply.size(); ++i) EXPECT_EQ(reply[i], 0xEE) << i;
  return out;
}

TEST(ReadDeviceReply, WorkedReplies) {
  struct Case {
    const char* name;
    std::vector<std::string> pieces;
    uint32_t capacity;
    int32_t result;
    bool statusReceived;
    int32_t status;
    std::string body;
    bool complete;
  };
  const std::string longHead = "HTTP/1.1 200 OK\r\nContent-Length: 36\r\n\r\n";
  const Case cases[] = {
      {"202 too many users", {"HTTP/1.1 202 Accepted\r\n\r\n"}, 256, 0, true, 202, "", false},
      {"401",
       {"HTTP/1.1 401 Unauthorized\r\nContent-Length: 3\r\n\r\nabc"},
       256,
       0,
       true,
       401,
       "",
       false},
      {"lower-case length",
       {"HTTP/1.1 200 OK\r\ncontent-length: 5\r\n\r\nhello"},
       256,
       1,
       true,
       200,
       "hello",
       true},
      {"no length line, bytes follow",
       {"HTTP/1.1 200 OK\r\n\r\nignored"},
       256,
       1,
       true,
       200,
       "",
       true},
      {"length 0", {"HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n"}, 256, 1, true, 200, "", true},
      {"body in later reads",
       {"HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\n", "01234", "56789"},
       256,
       1,
       true,
       200,
       "0123456789",
       true},
      {"body cut short",
       {"HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\n0123", "45"},
       256,
       1,
       true,
       200,
       "012345",
       false},
      {"bytes beyond the length dropped",
       {"HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\nabcdef"},
       256,
       1,
       true,
       200,
       "abc",
       true},
      {"body exactly the capacity",
       {"HTTP/1.1 200 OK\r\nContent-Length: 4\r\n\r\nabcd"},
       4,
       1,
       true,
       200,
       "abcd",
       true},
      {"body over the capacity",
       {"HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nabcde"},
       4,
       0,
       true,
       200,
       "",
       false},
      {"body over the reply buffer",
       {"HTTP/1.1 200 OK\r\nContent-Length: 4097\r\n\r\n"},
       8192,
       0,
       true,
       200,
       "",
       false},
      {"negative length",
       {"HTTP/1.1 200 OK\r\nContent-Length: -1\r\n\r\n"},
       256,
       0,
       true,
       200,
       "",
       false},
      {"closed before the header ended", {"HTTP/1.1 200 OK\r\n"}, 256, 0, false, 0, "", false},
      {"nothing", {}, 256, 0, false, 0, "", false},
  };
  for (const Case& c : cases) {
    ScriptedPeer peer(c.pieces);
    const Read got = ReadFrom(peer, c.capacity);
    EXPECT_EQ(got.r.result, c.result) << c.name;
    EXPECT_EQ(got.r.statusReceived, c.statusReceived) << c.name;
    EXPECT_EQ(got.r.status, c.status) << c.name;
    EXPECT_EQ(got.body, c.body) << c.name;
    if (c.result == 1) {
      EXPECT_EQ(got.r.bodyComplete, c.complete) << c.name;
    }
    EXPECT_EQ(got.on200, c.status == 200 ? 1 : 0) << c.name;
  }
}

TEST(ReadDeviceReply, HeaderMayTakeThirtyReadsButNotThirtyOne) {
  const std::string reply = "HTTP/1.1 200 OK\r\nContent-Length: 4\r\nX-Pad: 0123456789\r\n\r\n";
  for (size_t pieces : {29u, 30u, 31u}) {
    std::vector<std::string> parts = InPieces(reply, pieces);
    parts.push_back("body");
    ScriptedPeer peer(parts);
    const Read got = ReadFrom(peer, 64);
    EXPECT_EQ(got.r.result, pieces <= 30 ? 1 : 0) << pieces;
    EXPECT_EQ(got.body, pieces <= 30 ? "body" : "") << pieces;
  }
}

TEST(ReadDeviceReply, ReadsAskForChunksWithinTheBuffer) {
  // A header that never ends fills the 4096-byte buffer and fails without asking past it.
  ScriptedPeer peer({std::string(5000, 'x')});
  const Read got = ReadFrom(peer, 64);
  EXPECT_EQ(got.r.result, 0);
  const std::vector<int32_t> expected = {1460, 1460, 1176};
  EXPECT_EQ(peer.asks, expected);
}

TEST(ReadDeviceReply, HeaderEndSplitAcrossReads) {
  ScriptedPeer peer({"HTTP/1.1 200 OK\r\nContent-Length: 2\r", "\n", "\r", "\nok"});
  const Read got = ReadFrom(peer, 8);
  EXPECT_EQ(got.r.result, 1);
  EXPECT_EQ(got.body, "ok");
}

TEST(ReadDeviceReply, WithoutBufferTheBodyIsNotRead) {
  ScriptedPeer peer({"HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\n"});
  const Read got = ReadFrom(peer, 0, false);
  EXPECT_EQ(got.r.result, 1);
  EXPECT_EQ(got.r.bodyLen, 0u);
  EXPECT_EQ(peer.asks.size(), 1u);
}

TEST(ReadDeviceReply, RestOfTheBodyAskedForExactly) {
  ScriptedPeer peer({"HTTP/1.1 200 OK\r\nContent-Length: 3000\r\n\r\nab", std::string(2998, 'c')});
  const Read got = ReadFrom(peer, 4096);
  ASSERT_EQ(got.r.result, 1);
  EXPECT_TRUE(got.r.bodyComplete);
  EXPECT_EQ(got.body.size(), 3000u);
  ASSERT_EQ(peer.asks.size(), 2u);
  EXPECT_EQ(peer.asks[1], 2998);
}

}  // namespace
