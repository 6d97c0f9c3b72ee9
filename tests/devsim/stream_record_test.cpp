// Recording a stream to a file with --record-stream, and the help text of the stream options.
#include <fstream>
#include <regex>
#include <sstream>

#include "tests/devsim/devsim_process.h"
#include "tests/devsim/stream_reader.h"

#include <gtest/gtest.h>

namespace devsim_test {
namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

struct RecordedFrame {
  StreamHeader header;
  std::string picture;
};

// Cuts the whole file into frames; fails the test when bytes are left over.
std::vector<RecordedFrame> Frames(const std::string& bytes, int layout, bool counts_header) {
  std::vector<RecordedFrame> out;
  std::string_view rest = bytes;
  while (!rest.empty()) {
    RecordedFrame f;
    if (ParseStreamHeader(rest, layout, counts_header, &f.header) != ParseResult::kOk ||
        f.header.length + f.header.payload > rest.size()) {
      ADD_FAILURE() << rest.size() << " bytes left that are no whole frame";
      break;
    }
    f.picture = std::string(rest.substr(f.header.length, f.header.payload));
    rest.remove_prefix(f.header.length + f.header.payload);
    out.push_back(std::move(f));
  }
  return out;
}

TEST(DevsimRecord, WritesTheFramesAClientWithoutSessionReceives) {
  struct Case {
    std::vector<std::string> args;
    int layout;
    bool counts_header;
    int width, height, fps;
  };
  const Case cases[] = {
      {{"--product", "RZ8P", "--set", "stream.res=2"}, 1, true, 160, 120, 10},
      {{"--product", "RZ5M", "--set", "videomode=1", "--fps", "25"}, 2, false, 352, 288, 25},
      {{"--product", "RZ1K", "--set", "stream.res=0"}, 1, false, 640, 228, 10},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args[1]);
    std::string path = TempPath("stream.bin");
    std::vector<std::string> args = {"--record-stream", path, "--frames", "6"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    std::string out;
    ASSERT_EQ(RunDevsim(args, &out), 0) << out;
    std::string bytes = ReadAll(path);
    EXPECT_EQ(out, "RECORDED 6 frames " + std::to_string(bytes.size()) + " bytes\n");
    auto frames = Frames(bytes, c.layout, c.counts_header);
    ASSERT_EQ(frames.size(), 6u);
    for (size_t i = 0; i < frames.size(); ++i) {
      EXPECT_TRUE(IsDevicePicture(frames[i].picture));
      auto size = DecodeJpeg(frames[i].picture);
      ASSERT_TRUE(size);
      EXPECT_EQ(size->width, c.width);
      EXPECT_EQ(size->height, c.height);
      if (i > 0) {
        // Back to back on the frame clock: one tick apart.
        EXPECT_EQ(*frames[i].header.time_stamp - *frames[i - 1].header.time_stamp,
                  static_cast<uint32_t>(200 / c.fps));
      }
    }
  }
}

TEST(DevsimRecord, StreamFaultsShapeTheRecording) {
  std::string path = TempPath("faulty.bin");
  std::string out;
  ASSERT_EQ(RunDevsim({"--record-stream", path, "--frames", "5", "--product", "RZ2K", "--fault",
                       "stream-app0,count=1", "--fault", "stream-drop,skip=3"},
                      &out),
            0)
      << out;
  EXPECT_EQ(out.rfind("RECORDED 3 frames ", 0), 0u) << out;
  auto frames = Frames(ReadAll(path), 1, false);  // RZ2K with firmware 1010: the newer header
  ASSERT_EQ(frames.size(), 3u);
  EXPECT_EQ(frames[0].picture.substr(0, 4), "\xFF\xD8\xFF\xE0");
  EXPECT_TRUE(IsDevicePicture(frames[1].picture));
}

TEST(DevsimRecord, RefusesBadArguments) {
  std::string out;
  EXPECT_EQ(RunDevsim({"--record-stream", TempPath("x.bin"), "--frames", "0"}, &out), 2);
  EXPECT_EQ(RunDevsim({"--record-stream", "/nonexistent/dir/x.bin", "--frames", "1"}, &out), 1);
  EXPECT_NE(out.find("cannot write"), std::string::npos) << out;
  EXPECT_EQ(RunDevsim({"--fps", "61"}, &out), 2);
  EXPECT_EQ(RunDevsim({"--set", "stream.motion=1/2"}, &out), 2);
  EXPECT_EQ(RunDevsim({"--set", "stream.clock=2064-01-01T00:00:00"}, &out), 2);
  EXPECT_EQ(RunDevsim({"--fault", "stream-split,bogus=1"}, &out), 2);
}

TEST(DevsimRecord, HelpNamesTheStreamOptions) {
  std::string out;
  ASSERT_EQ(RunDevsim({"--help"}, &out), 0);
  for (const char* text : {"--record-stream FILE", "--frames N", "--fps N", "stream.fps",
                           "stream.motion", "stream.clock", "stream-garbage", "stream-split",
                           "stream-drop", "/_devsim/streams", "/Getvideo.cgi"}) {
    EXPECT_NE(out.find(text), std::string::npos) << text;
  }
}

}  // namespace
}  // namespace devsim_test
