// Each stream fault once, switched on at run time, as the raw stream shows it; and the request
// faults on the stream's own request.
#include <functional>

#include "tests/devsim/stream_fixture.h"

namespace devsim_test {
namespace {

using std::chrono::milliseconds;

class StreamFaultTest : public StreamTest {
 protected:
  void SetUp() override { StartDevsim({"--fps", "20"}); }

  std::string SessionFor(int layout) {
    return OpenSession(layout == 1 ? "&RES=1&QUA=0&CH=1&NEWHR=1" : "&RES=1&QUA=0&CH=1");
  }
};

void ExpectGoodFrame(StreamClient& s, int layout) {
  auto f = s.NextFrame(layout);
  ASSERT_TRUE(f);
  EXPECT_TRUE(IsDevicePicture(f->picture));
  ASSERT_TRUE(DecodeJpeg(f->picture));
  if (layout == 1) {
    EXPECT_EQ(f->header.version, 1);
  }
}

TEST_F(StreamFaultTest, EachFrameFaultOnce) {
  struct Case {
    std::string fault;  // query of /_devsim/fault
    int layout;
    std::function<void(StreamClient&, int layout)> check;
  };
  const Case cases[] = {
      {"stream-garbage&count=1", 2,
       [](StreamClient& s, int layout) {
         auto lead = s.Take(64);
         ASSERT_TRUE(lead);
         EXPECT_EQ(lead->find('\xFF'), std::string::npos);
         ExpectGoodFrame(s, layout);
       }},
      {"stream-garbage&http=1&count=1", 1,
       [](StreamClient& s, int layout) {
         ASSERT_TRUE(s.Fill(64));
         size_t end = s.pending().find("\r\n\r\n");
         ASSERT_NE(end, std::string::npos);
         EXPECT_EQ(s.pending().rfind("HTTP/1.1 200 OK\r\n", 0), 0u);
         ASSERT_TRUE(s.Take(end + 4));
         ExpectGoodFrame(s, layout);
       }},
      {"stream-no-soi&skip=1&count=1", 2,
       [](StreamClient& s, int layout) {
         ExpectGoodFrame(s, layout);
         auto f = s.NextFrame(layout);
         ASSERT_TRUE(f);
         EXPECT_EQ(f->picture.substr(0, 4), std::string("\0\0\xFF\xDB", 4));
         EXPECT_EQ(f->picture.substr(f->picture.size() - 2), "\xFF\xD9");
         ExpectGoodFrame(s, layout);
       }},
      {"stream-payload-zero&skip=1&count=1", 1,
       [](StreamClient& s, int layout) {
         ExpectGoodFrame(s, layout);
         auto empty = s.NextFrame(layout);
         ASSERT_TRUE(empty);
         EXPECT_EQ(empty->header.payload_field, 0u);
         EXPECT_EQ(empty->header.version, 1);
         // The frame's own header follows at once, in the same send.
         auto f = s.NextFrame(layout);
         ASSERT_TRUE(f);
         EXPECT_EQ(f->offset, empty->offset + empty->header.length);
         EXPECT_TRUE(IsDevicePicture(f->picture));
         EXPECT_EQ(f->header.time_stamp, empty->header.time_stamp);
       }},
      {"stream-app0&skip=1&count=1", 2,
       [](StreamClient& s, int layout) {
         ExpectGoodFrame(s, layout);
         auto f = s.NextFrame(layout);
         ASSERT_TRUE(f);
         EXPECT_EQ(f->picture.substr(0, 4), "\xFF\xD8\xFF\xE0");
         EXPECT_EQ(f->picture.substr(6, 5), std::string("JFIF\0", 5));
         auto size = DecodeJpeg(f->picture);
         ASSERT_TRUE(size);
         EXPECT_EQ(size->width, 320);
         ExpectGoodFrame(s, layout);
       }},
      {"stream-split&skip=1&count=1&at=6&delay=300", 1,
       [](StreamClient& s, int layout) {
         auto f1 = s.NextFrame(layout);
         auto f2 = s.NextFrame(layout);
         ASSERT_TRUE(f1 && f2);
         EXPECT_TRUE(IsDevicePicture(f2->picture));
         const auto& ends = s.read_ends();
         EXPECT_NE(std::find(ends.begin(), ends.end(), f2->offset + 6), ends.end());
         EXPECT_GE(f2->arrived - f1->arrived, milliseconds(250));
         ExpectGoodFrame(s, layout);
       }},
      {"stream-oversize&skip=1&count=1", 2,
       [](StreamClient& s, int layout) {
         ExpectGoodFrame(s, layout);
         auto f = s.NextFrame(layout);
         ASSERT_TRUE(f);
         EXPECT_EQ(f->header.payload_field, 150000u);
         ASSERT_EQ(f->picture.size(), 150000u);
         size_t eoi = f->picture.find("\xFF\xD9");
         ASSERT_NE(eoi, std::string::npos);
         EXPECT_TRUE(IsDevicePicture(f->picture.substr(0, eoi + 2)));
         EXPECT_EQ(f->picture.find_first_not_of('\0', eoi + 2), std::string::npos);
         ExpectGoodFrame(s, layout);
       }},
      {"stream-oversize&skip=1&count=1", 1,
       [](StreamClient& s, int layout) {
         ExpectGoodFrame(s, layout);
         auto f = s.NextFrame(layout);
         ASSERT_TRUE(f);
         EXPECT_EQ(f->header.payload_field, 65535u);
         EXPECT_EQ(f->picture.substr(0, 4), "\xFF\xD8\xFF\xDB");
         ExpectGoodFrame(s, layout);
       }},
      {"stream-bad-version&skip=1&count=1", 1,
       [](StreamClient& s, int layout) {
         ExpectGoodFrame(s, layout);
         auto f = s.NextFrame(layout);
         ASSERT_TRUE(f);
         EXPECT_EQ(f->header.version, 2);
         EXPECT_TRUE(IsDevicePicture(f->picture));
         ExpectGoodFrame(s, layout);
       }},
      {"stream-stall&skip=1&count=1&ms=500", 2,
       [](StreamClient& s, int layout) {
         auto f1 = s.NextFrame(layout);
         auto f2 = s.NextFrame(layout);
         ASSERT_TRUE(f1 && f2);
         EXPECT_GE(f2->arrived - f1->arrived, milliseconds(350));
         EXPECT_TRUE(IsDevicePicture(f2->picture));
       }},
      {"stream-stall&skip=1&count=1", 2,
       [](StreamClient& s, int layout) {
         ExpectGoodFrame(s, layout);
         EXPECT_FALSE(s.NextFrame(layout, false, 700));
         EXPECT_FALSE(s.ended());
       }},
      {"stream-drop&skip=1&count=1", 2,
       [](StreamClient& s, int layout) {
         ExpectGoodFrame(s, layout);
         EXPECT_TRUE(s.WaitForEnd(3000));
         EXPECT_FALSE(s.was_reset());
         EXPECT_EQ(s.pending(), "");
       }},
      {"stream-drop&skip=1&count=1&bytes=100", 1,
       [](StreamClient& s, int layout) {
         ExpectGoodFrame(s, layout);
         EXPECT_TRUE(s.WaitForEnd(3000));
         EXPECT_EQ(s.pending().size(), 100u);
         EXPECT_EQ(s.pending().substr(0, 2), std::string("\x01\x00", 2));
       }},
      {"stream-drop&skip=1&count=1&reset=1", 2,
       [](StreamClient& s, int layout) {
         ExpectGoodFrame(s, layout);
         EXPECT_TRUE(s.WaitForEnd(3000));
         EXPECT_TRUE(s.was_reset());
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fault + " layout " + std::to_string(c.layout));
    std::string cookie = SessionFor(c.layout);
    AddFault(c.fault);
    {
      StreamClient s(devsim_.port(), cookie);
      c.check(s, c.layout);
    }
    // The fault is used up, and the stream is gone before the next case's fault is set.
    EXPECT_EQ(Control("/_devsim/faults"), "");
    EXPECT_TRUE(WaitForOpenStreams(0));
  }
}

TEST_F(StreamFaultTest, RequestFaultsApplyToTheStreamRequestAndStreamFaultsOnlyToFrames) {
  std::string cookie = SessionFor(2);
  AddFault("stream-no-soi&count=1");
  EXPECT_EQ(Get("/Getdeviceinfo.cgi?Cookie=" + cookie + "&RES=1&QUA=0").status, 200);
  EXPECT_NE(Control("/_devsim/faults").find("stream-no-soi path=/Getvideo.cgi count=1"),
            std::string::npos);
  Control("/_devsim/clear-faults");

  AddFault("drop&path=/Getvideo.cgi&count=1");
  {
    StreamClient s(devsim_.port(), cookie);
    EXPECT_TRUE(s.WaitForEnd(3000));
    EXPECT_EQ(s.pending(), "");
  }
  AddFault("status&code=503&path=/Getvideo.cgi&count=1");
  {
    StreamClient s(devsim_.port(), cookie);
    EXPECT_TRUE(s.WaitForEnd(3000));
    EXPECT_EQ(s.pending(), "HTTP/1.1 503 Service Unavailable\r\n\r\n");
  }
  AddFault("stall&path=/Getvideo.cgi&ms=300&count=1");
  {
    StreamClient s(devsim_.port(), cookie);
    ExpectGoodFrame(s, 2);
  }
  // Without a valid cookie there is no stream.
  StreamClient s(devsim_.port(), "0000");
  EXPECT_TRUE(s.WaitForEnd(3000));
  EXPECT_EQ(s.pending(), "HTTP/1.1 401 Unauthorized\r\n\r\n");
}

}  // namespace
}  // namespace devsim_test
