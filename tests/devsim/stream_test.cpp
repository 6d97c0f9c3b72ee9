// The live stream: picture sizes per family, standard and resolution, the header layout each
// session negotiated, the header fields, the commands that change a running stream, shared
// encoding and clean ends.
#include <algorithm>
#include <memory>
#include <thread>

#include "tests/devsim/stream_fixture.h"

namespace devsim_test {
namespace {

constexpr char kNewHeader[] = "&RES=1&QUA=0&CH=1&NEWHR=1";
constexpr char kOldHeader[] = "&RES=1&QUA=0&CH=1";

std::string Title(const std::string& text) {
  std::string t = text;
  t.resize(16, '\0');
  return t;
}

// Reads frames until `done` holds for one; that frame, or nullopt after `limit` frames.
template <typename Pred>
std::optional<StreamFrame> FrameWhere(StreamClient& s, int layout, int limit, Pred done,
                                      bool counts_header = false) {
  for (int i = 0; i < limit; ++i) {
    auto f = s.NextFrame(layout, counts_header);
    if (!f) return std::nullopt;
    if (done(*f)) return f;
  }
  return std::nullopt;
}

TEST_F(StreamTest, PictureSizesFollowFamilyStandardAndResolution) {
  StartDevsim({"--fps", "30"});
  struct Case {
    std::string product, videomode, res;
    bool new_header;
    int width, height;
    bool half;
  };
  const Case cases[] = {
      {"RZ1K", "0", "1", true, 320, 228, true},     {"RZ1K", "0", "0", false, 640, 228, false},
      {"RZ3K", "1", "1", true, 320, 276, true},     {"RZ4K", "1", "0", false, 640, 276, false},
      {"RZ4K", "1", "2", true, 320, 276, true},  // no small picture: half width
      {"RZ2K", "0", "0", true, 704, 240, false},    {"RZ2K", "0", "1", false, 352, 240, true},
      {"RZ5M", "1", "1", false, 352, 288, true},    {"RZ6M", "1", "0", false, 704, 288, false},
      {"RZ7M", "300", "0", false, 704, 288, false},  // read as 44: PAL
      {"RZ8P", "0", "0", true, 640, 480, false},    {"RZ8P", "1", "1", true, 320, 240, true},
      {"RZ8P", "0", "2", false, 160, 120, true},    {"invalid", "0", "1", false, 320, 228, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.product + " VIDEOMODE=" + c.videomode + " RES=" + c.res);
    Set("profile=" + c.product + "&videomode=" + c.videomode);
    std::string cookie =
        OpenSession("&RES=" + c.res + "&QUA=0&CH=1" + (c.new_header ? "&NEWHR=1" : ""));
    StreamClient s(devsim_.port(), cookie);
    int layout = c.new_header ? 1 : 2;
    bool counts_header = layout == 1 && c.product == "RZ8P";
    for (int i = 0; i < 2; ++i) {
      auto f = s.NextFrame(layout, counts_header);
      ASSERT_TRUE(f);
      if (layout == 1) {
        EXPECT_EQ(f->header.version, 1);
      }
      if (counts_header) {
        EXPECT_EQ(f->header.payload_field, f->picture.size() + f->header.length);
      }
      EXPECT_TRUE(IsDevicePicture(f->picture));
      auto sof = JpegFrameSize(f->picture);
      auto decoded = DecodeJpeg(f->picture);
      ASSERT_TRUE(sof && decoded);
      EXPECT_EQ(decoded->width, c.width);
      EXPECT_EQ(decoded->height, c.height);
      EXPECT_EQ(sof->width, c.width);
      EXPECT_EQ(f->header.half_width, c.half ? 1 : 0);
      EXPECT_LE(f->picture.size(), 65535u);
    }
  }
}

TEST_F(StreamTest, EachSessionGetsTheLayoutItsDeviceInformationAskedFor) {
  StartDevsim({"--fps", "20"});
  std::string a = OpenSession(kNewHeader);
  std::string b = OpenSession(kOldHeader);
  StreamClient sa(devsim_.port(), a), sb(devsim_.port(), b);
  for (int i = 0; i < 3; ++i) {
    auto fa = sa.NextFrame(1);
    auto fb = sb.NextFrame(2);
    ASSERT_TRUE(fa && fb);
    EXPECT_EQ(fa->header.version, 1);
    EXPECT_TRUE(IsDevicePicture(fa->picture));
    EXPECT_TRUE(fb->header.mask & 0x1);
    EXPECT_TRUE(IsDevicePicture(fb->picture));
  }
  // A later device-information request of the session decides its next stream.
  EXPECT_EQ(Get("/Getdeviceinfo.cgi?Cookie=" + b + kNewHeader).status, 200);
  StreamClient sb1(devsim_.port(), b);
  auto f = sb1.NextFrame(1);
  ASSERT_TRUE(f);
  EXPECT_EQ(f->header.version, 1);
  EXPECT_TRUE(IsDevicePicture(f->picture));
  // A forced layout overrides what the session asked for.
  Set("stream.layout=2");
  StreamClient sa2(devsim_.port(), a);
  f = sa2.NextFrame(2);
  ASSERT_TRUE(f);
  EXPECT_TRUE(IsDevicePicture(f->picture));
}

TEST_F(StreamTest, StreamsWithoutASessionFollowTheClientsRuleAndTheDefaults) {
  StartDevsim({"--fps", "20"});  // each profile below switches the cookie check off
  struct Case {
    std::string profile, firmware;
    int layout;
  };
  const Case cases[] = {
      {"RZ1K", "1060", 1},  {"RZ3K", "1046", 1}, {"RZ4K", "1045", 2},
      {"RZ1K", "10460", 1}, {"RZ2K", "1006", 1}, {"RZ2K", "1005", 2},
      {"RZ8P", "0001", 1},  {"RZ5M", "1060", 2}, {"invalid", "1060", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.profile + " " + c.firmware);
    Set("profile=" + c.profile + "&firmware=" + c.firmware + "&check_cookie=0");
    StreamClient s(devsim_.port(), "");
    auto f = s.NextFrame(c.layout, c.profile == "RZ8P");
    ASSERT_TRUE(f);
    EXPECT_TRUE(IsDevicePicture(f->picture));
    if (c.layout == 1) {
      EXPECT_EQ(f->header.version, 1);
    }
  }
  // Without a session the commands change the defaults.
  Set("profile=RZ2K&firmware=1005&check_cookie=0&stream.ch=2");
  EXPECT_EQ(Get("/SetChannel.cgi?Cookie=&CH=7").status, 200);
  EXPECT_EQ(Get("/Setresolution.cgi?Cookie=&RES=0").status, 200);
  StreamClient s(devsim_.port(), "");
  auto f = s.NextFrame(2);
  ASSERT_TRUE(f);
  EXPECT_EQ(f->header.display_channel, 7);
  EXPECT_EQ(DecodeJpeg(f->picture)->width, 704);
}

TEST_F(StreamTest, HeadersCarryClockTitleChannelEventsAndFlags) {
  StartDevsim({"--fps", "20"});
  Set("stream.clock=2006-10-07T07:41:11&stream.title=GATE&stream.motion=4&stream.event_a=0&"
      "stream.retr=1&stream.extra=7&stream.network_backup=1&stream.time_base=0x33333330");
  for (int layout : {1, 2}) {
    SCOPED_TRACE("layout " + std::to_string(layout));
    std::string cookie =
        OpenSession(std::string("&RES=1&QUA=0&CH=12") + (layout == 1 ? "&NEWHR=1" : ""));
    StreamClient s(devsim_.port(), cookie);
    auto f1 = s.NextFrame(layout);
    auto f2 = s.NextFrame(layout);
    ASSERT_TRUE(f1 && f2);
    const StreamHeader& h = f1->header;
    EXPECT_EQ(h.motion, 4);
    EXPECT_EQ(h.event_a, 0);  // present with the value 0
    EXPECT_FALSE(h.event_b);
    EXPECT_EQ(h.retr, 1);
    EXPECT_EQ(h.extra, 7);
    EXPECT_TRUE(h.network_backup);
    EXPECT_FALSE(h.no_picture);
    EXPECT_FALSE(h.sensor);
    EXPECT_EQ(h.title, Title("GATE"));
    EXPECT_EQ(h.channel, 12);
    EXPECT_EQ(h.display_channel, 12);
    ASSERT_TRUE(h.packed_date);
    UnpackedDate d = UnpackDate(*h.packed_date);
    EXPECT_EQ(d.year, 2006);
    EXPECT_EQ(d.month, 10);
    EXPECT_EQ(d.day, 7);
    EXPECT_EQ(d.hour, 7);
    EXPECT_EQ(d.minute, 41);
    EXPECT_GE(d.second, 11);
    // Time stamps in units of 5 ms on ticks of 50 ms.
    ASSERT_TRUE(h.time_stamp && f2->header.time_stamp);
    EXPECT_GE(*h.time_stamp, 0x33333330u);
    EXPECT_GT(*f2->header.time_stamp, *h.time_stamp);
    EXPECT_EQ((*f2->header.time_stamp - *h.time_stamp) % 10, 0u);
    EXPECT_TRUE(IsDevicePicture(f1->picture));
  }

  // Video loss, channel 16, the camera-sensor byte (versioned layout only), a motion word gone.
  Set("stream.motion=off&stream.video_loss=1&stream.network_backup=0&stream.sensor=0xC2&"
      "stream.title=");
  for (int layout : {1, 2}) {
    SCOPED_TRACE("layout " + std::to_string(layout));
    std::string cookie =
        OpenSession(std::string("&RES=0&QUA=0&CH=16") + (layout == 1 ? "&NEWHR=1" : ""));
    StreamClient s(devsim_.port(), cookie);
    auto f = s.NextFrame(layout);
    ASSERT_TRUE(f);
    const StreamHeader& h = f->header;
    EXPECT_FALSE(h.motion);
    EXPECT_TRUE(h.no_picture);
    EXPECT_FALSE(h.network_backup);
    EXPECT_EQ(h.display_channel, 16);
    EXPECT_EQ(h.half_width, 0);
    EXPECT_EQ(h.title, Title("CAMERA 16"));
    if (layout == 1) {
      EXPECT_EQ(h.ext_mask & 0x20, 0x20);
      EXPECT_EQ(h.sensor, 0xC2);
    } else {
      EXPECT_FALSE(h.sensor);
    }
    // A frame without picture still carries a device picture of the stream's size.
    EXPECT_TRUE(IsDevicePicture(f->picture));
    EXPECT_EQ(DecodeJpeg(f->picture)->width, 640);
  }
}

TEST_F(StreamTest, ScheduledEventWordComesAndGoes) {
  StartDevsim({"--fps", "20"});
  Set("stream.event_b=0x8/200/400");
  StreamClient s(devsim_.port(), OpenSession(kOldHeader));
  int on = 0, off = 0;
  for (int i = 0; i < 30; ++i) {
    auto f = s.NextFrame(2);
    ASSERT_TRUE(f);
    if (f->header.event_b) {
      EXPECT_EQ(*f->header.event_b, 8);
      ++on;
    } else {
      ++off;
    }
  }
  EXPECT_GT(on, 3);
  EXPECT_GT(off, 3);
}

TEST_F(StreamTest, ChannelResolutionAndQualityFollowTheSessionsCommands) {
  StartDevsim({"--fps", "20"});
  std::string a = OpenSession("&RES=1&QUA=0&CH=2");
  std::string b = OpenSession("&RES=1&QUA=0&CH=2");
  StreamClient sa(devsim_.port(), a), sb(devsim_.port(), b);
  auto f = sa.NextFrame(2);
  ASSERT_TRUE(f);
  EXPECT_EQ(f->header.display_channel, 2);
  EXPECT_EQ(f->header.title, Title("CAMERA 02"));

  EXPECT_EQ(Get("/SetChannel.cgi?Cookie=" + a + "&CH=5").status, 200);
  f = FrameWhere(sa, 2, 20, [](const StreamFrame& x) { return x.header.display_channel == 5; });
  ASSERT_TRUE(f);
  EXPECT_EQ(f->header.channel, 5);
  EXPECT_EQ(f->header.title, Title("CAMERA 05"));
  f = sa.NextFrame(2);
  ASSERT_TRUE(f);
  EXPECT_EQ(f->header.display_channel, 5);
  // The other session's stream keeps its channel.
  f = sb.NextFrame(2);
  ASSERT_TRUE(f);
  EXPECT_EQ(f->header.display_channel, 2);

  EXPECT_EQ(Get("/Setresolution.cgi?Cookie=" + a + "&RES=0").status, 200);
  f = FrameWhere(sa, 2, 20,
                 [](const StreamFrame& x) { return DecodeJpeg(x.picture)->width == 640; });
  ASSERT_TRUE(f);
  EXPECT_EQ(f->header.half_width, 0);

  // Lower quality, smaller pictures (same size and content on the other session's stream).
  auto average_size = [&](StreamClient& s) {
    size_t total = 0;
    for (int i = 0; i < 5; ++i) {
      auto x = s.NextFrame(2);
      if (!x) return size_t{0};
      total += x->picture.size();
    }
    return total / 5;
  };
  size_t best = average_size(sb);
  EXPECT_EQ(Get("/Setquality.cgi?Cookie=" + b + "&QUA=2").status, 200);
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(sb.NextFrame(2));  // frames already on their way
  size_t lowest = average_size(sb);
  EXPECT_GT(best, 0u);
  EXPECT_LT(lowest * 10, best * 8) << best << " " << lowest;

  // Values the device cannot switch to are ignored: 200, the stream goes on as it was.
  for (std::string bad :
       {"/SetChannel.cgi?CH=17", "/SetChannel.cgi?CH=-1", "/SetChannel.cgi?CH=x",
        "/Setresolution.cgi?RES=3", "/Setresolution.cgi?R=0", "/Setquality.cgi?QUA=3"}) {
    EXPECT_EQ(Get(bad + "&Cookie=" + a).status, 200) << bad;
  }
  for (int i = 0; i < 3; ++i) {
    f = sa.NextFrame(2);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->header.display_channel, 5);
    EXPECT_EQ(DecodeJpeg(f->picture)->width, 640);
  }
}

TEST_F(StreamTest, SensorViewAndFlipsFollowTheZoomAndRotateCommands) {
  StartDevsim({"--fps", "20", "--product", "RZ8P"});
  std::string cookie = OpenSession(kNewHeader);
  StreamClient s(devsim_.port(), cookie);
  auto f = s.NextFrame(1, true);
  ASSERT_TRUE(f);
  EXPECT_FALSE(f->header.sensor);  // until the sensor is first told something
  struct Step {
    std::string command;
    int sensor;
  };
  const Step steps[] = {
      {"/OV9653Zoom.cgi?MODE=3", 0x03},
      {"/OV9653Rotate.cgi?HR=1&VR=0", 0x83},
      {"/OV9653Rotate.cgi?VR=1&HR=1", 0xC3},
      {"/OV9653Zoom.cgi?MODE=2", 0xC2},
      {"/OV9653Rotate.cgi?HR=0&VR=0", 0x02},
      // Values the sensor cannot take change nothing, and neither does a missing one.
      {"/OV9653Zoom.cgi?MODE=6", 0x02},
      {"/OV9653Zoom.cgi?MODE=", 0x02},
      {"/OV9653Rotate.cgi?HR=2&VR=1", 0x42},
      {"/OV9653Rotate.cgi?HR=1", 0xC2},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.command);
    EXPECT_EQ(Get(step.command + "&Cookie=" + cookie).status, 200);
    f = FrameWhere(
        s, 1, 20, [&](const StreamFrame& x) { return x.header.sensor == step.sensor; }, true);
    EXPECT_TRUE(f);
  }
}

TEST_F(StreamTest, RetrByteFollowsTheSetRetrCommand) {
  StartDevsim({"--fps", "20", "--product", "RZ1K"});
  std::string cookie = OpenSession(kNewHeader);
  StreamClient s(devsim_.port(), cookie);
  auto f = s.NextFrame(1);
  ASSERT_TRUE(f);
  EXPECT_FALSE(f->header.retr);
  for (const auto& [command, retr] :
       {std::pair<std::string, int>{"SET=1", 1}, {"SET=0", 0}, {"SET=1", 1}}) {
    SCOPED_TRACE(command);
    EXPECT_EQ(Get("/SetRetr.cgi?" + command + "&Cookie=" + cookie).status, 200);
    f = FrameWhere(s, 1, 20, [&](const StreamFrame& x) { return x.header.retr == retr; });
    EXPECT_TRUE(f);
  }
}

TEST_F(StreamTest, TheStreamRequestIsLoggedWithoutStatus) {
  StartDevsim();
  std::string cookie = OpenSession(kOldHeader);
  {
    StreamClient s(devsim_.port(), cookie);
    ASSERT_TRUE(s.NextFrame(2));
  }
  auto lines = LogLines();
  ASSERT_EQ(lines.size(), 3u);
  const Json& stream = lines[2];
  EXPECT_EQ(stream["target"].text, "/Getvideo.cgi?Cookie=" + cookie);
  EXPECT_EQ(stream["status"].type, Json::Type::kNull);
  EXPECT_EQ(stream["reply_len"].number, 0);
}

TEST_F(StreamTest, PicturesAreEncodedOncePerTickForAllStreams) {
  StartDevsim({"--fps", "20"});
  std::string cookie = OpenSession(kOldHeader);
  StreamCounts before = Counts();
  {
    std::vector<std::unique_ptr<StreamClient>> streams;
    for (int i = 0; i < 3; ++i)
      streams.push_back(std::make_unique<StreamClient>(devsim_.port(), cookie));
    for (int round = 0; round < 10; ++round) {
      for (auto& s : streams) ASSERT_TRUE(s->NextFrame(2));
    }
    // Frames of one tick carry the same picture on every stream.
    auto f = streams[0]->NextFrame(2);
    ASSERT_TRUE(f);
    auto g = FrameWhere(*streams[1], 2, 10, [&](const StreamFrame& x) {
      return *x.header.time_stamp >= *f->header.time_stamp;
    });
    ASSERT_TRUE(g);
    if (*g->header.time_stamp == *f->header.time_stamp) {
      EXPECT_EQ(g->picture, f->picture);
    }
  }
  ASSERT_TRUE(WaitForOpenStreams(0));
  StreamCounts after = Counts();
  long long frames = after.frames - before.frames;
  long long encodes = after.encodes - before.encodes;
  EXPECT_GE(frames, 30);
  // One picture for the three streams of a tick; streams that start or stall apart on a busy
  // machine take a tick's picture alone, which still leaves well under one encode a frame.
  EXPECT_LE(encodes * 3, frames * 2) << encodes << " encodes for " << frames << " frames";
}

TEST_F(StreamTest, AnUnpacedStreamSendsBackToBackWhilePicturesChangeAtTheFrameRate) {
  StartDevsim({"--fps", "1", "--set", "stream.paced=0"});
  std::string cookie = OpenSession(kOldHeader);
  StreamCounts before = Counts();
  {
    StreamClient s(devsim_.port(), cookie);
    // At 1 frame/s a paced stream would take minutes for these.
    for (int i = 0; i < 200; ++i) ASSERT_TRUE(s.NextFrame(2)) << "frame " << i;
  }
  ASSERT_TRUE(WaitForOpenStreams(0));
  StreamCounts after = Counts();
  EXPECT_GE(after.frames - before.frames, 200);
  EXPECT_LE(after.encodes - before.encodes, 10) << "pictures are encoded once per tick";
}

TEST_F(StreamTest, AStreamEndsWhenItsClientGoes) {
  StartDevsim({"--fps", "20"});
  std::string cookie = OpenSession(kOldHeader);
  auto s1 = std::make_unique<StreamClient>(devsim_.port(), cookie);
  auto s2 = std::make_unique<StreamClient>(devsim_.port(), cookie);
  StreamClient s3(devsim_.port(), cookie);
  ASSERT_TRUE(s1->NextFrame(2) && s2->NextFrame(2) && s3.NextFrame(2));
  EXPECT_TRUE(WaitForOpenStreams(3));
  s1.reset();
  s2.reset();
  EXPECT_TRUE(WaitForOpenStreams(1));
  ASSERT_TRUE(s3.NextFrame(2));
  s3.Close();
  EXPECT_TRUE(WaitForOpenStreams(0));
}

TEST_F(StreamTest, DevsimStopsCleanlyWithStreamsOpen) {
  StartDevsim({"--fps", "20"});
  std::string cookie = OpenSession(kOldHeader);
  StreamClient running(devsim_.port(), cookie);
  ASSERT_TRUE(running.NextFrame(2));
  AddFault("stream-stall&count=1");  // the next frame of one of the streams never comes
  StreamClient second(devsim_.port(), cookie);
  StreamClient idle(devsim_.port(), cookie);  // never read
  ASSERT_TRUE(WaitForOpenStreams(3));
  EXPECT_EQ(devsim_.Stop(), 0) << devsim_.StderrText();
  EXPECT_TRUE(running.WaitForEnd(5000));
  EXPECT_TRUE(second.WaitForEnd(5000));
}

}  // namespace
}  // namespace devsim_test
