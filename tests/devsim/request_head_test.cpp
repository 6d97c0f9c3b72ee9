// The request head parser: raw query text, request line split at its last blank, lengths.
#include <gtest/gtest.h>

#include "devsim/http_request.h"

namespace devsim {
namespace {

TEST(RequestHead, SplitsTheRequestLineAtItsLastBlankAndKeepsTheQueryRaw) {
  auto r = ParseRequestHead(
      "GET /Login.cgi?Username=a b&Password=p=q%20 HTTP/1.1\r\nHost: \r\n"
      "Connection: Keep-Alive\r\n\r\n");
  ASSERT_EQ(r.status, HeadStatus::kComplete) << r.error;
  EXPECT_EQ(r.head.method, "GET");
  EXPECT_EQ(r.head.target, "/Login.cgi?Username=a b&Password=p=q%20");
  EXPECT_EQ(r.head.version, "HTTP/1.1");
  EXPECT_EQ(r.head.path, "/Login.cgi");
  ASSERT_EQ(r.head.params.size(), 2u);
  EXPECT_EQ(r.head.params[0].name, "Username");
  EXPECT_EQ(r.head.params[0].value, "a b");
  EXPECT_EQ(r.head.params[1].name, "Password");
  EXPECT_EQ(r.head.params[1].value, "p=q%20");  // split at the first '=', nothing unescaped
  EXPECT_FALSE(r.head.content_length);
}

TEST(RequestHead, ReadsContentLengthInAnyLetterCaseOnGet) {
  for (const char* line : {"Content-Length: 36", "content-length:36", "CONTENT-LENGTH:   36  "}) {
    std::string text = std::string("GET /SetSysCfg.cgi?Option=SYSTEM HTTP/1.1\r\n") + line +
                       "\r\n\r\nbody bytes follow";
    auto r = ParseRequestHead(text);
    ASSERT_EQ(r.status, HeadStatus::kComplete) << line;
    ASSERT_TRUE(r.head.content_length) << line;
    EXPECT_EQ(*r.head.content_length, 36u) << line;
    EXPECT_EQ(r.head.head_size, text.find("body"));
  }
}

TEST(RequestHead, QueryEdgeCases) {
  auto params = SplitQuery("a=1&&b&c=&a=2");
  ASSERT_EQ(params.size(), 5u);
  EXPECT_EQ(params[1].name, "");
  EXPECT_EQ(params[2].name, "b");
  EXPECT_EQ(params[2].value, "");
  EXPECT_EQ(params[3].value, "");
  ASSERT_NE(FindParam(params, "a"), nullptr);
  EXPECT_EQ(*FindParam(params, "a"), "1");  // the first of repeated names
  EXPECT_EQ(FindParam(params, "A"), nullptr);
  EXPECT_TRUE(SplitQuery("").empty());
}

TEST(RequestHead, IncompleteUntilTheBlankLine) {
  for (const char* text : {"", "GET / HTTP/1.1", "GET / HTTP/1.1\r\n", "GET / HTTP/1.1\r\n\r"}) {
    EXPECT_EQ(ParseRequestHead(text).status, HeadStatus::kIncomplete) << text;
  }
}

TEST(RequestHead, RefusesMalformedHeads) {
  const char* cases[] = {
      "GET\r\n\r\n",
      "GET /x\r\n\r\n",
      "GET  HTTP/1.1\r\n\r\n",
      "GET x HTTP/1.1\r\n\r\n",
      "GET / FTP/1.0\r\n\r\n",
      "GET / HTTP/1.1\r\nContent-Length: -1\r\n\r\n",
      "GET / HTTP/1.1\r\nContent-Length: 12x\r\n\r\n",
      "GET / HTTP/1.1\r\nContent-Length:\r\n\r\n",
      "GET / HTTP/1.1\r\nContent-Length: 99999999999999\r\n\r\n",
      "GET / HTTP/1.1\r\nContent-Length: 1\r\nContent-Length: 1\r\n\r\n",
  };
  for (const char* text : cases) {
    EXPECT_EQ(ParseRequestHead(text).status, HeadStatus::kInvalid) << text;
  }
}

TEST(RequestHead, RefusesAHeadThatNeverEnds) {
  std::string text = "GET / HTTP/1.1\r\nX: " + std::string(kMaxHeadBytes, 'a');
  EXPECT_EQ(ParseRequestHead(text).status, HeadStatus::kInvalid);
  EXPECT_EQ(ParseRequestHead(text + "\r\n\r\n").status, HeadStatus::kInvalid);
}

}  // namespace
}  // namespace devsim
