// The upload: method choice, request texts and the walk over the parts through a recording
// transport, with the failures that must end in an error and never in success.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/firmware_upload.h"

namespace {

TEST(UpgradeMethod, ChosenByFamilyAndVersion) {
  const struct {
    const char* product;
    const char* version;
    UpgradeMethod method;
  } cases[] = {
      {"RZ2K", "1012", UpgradeMethod::kImageChunked},
      {"RZ2K", "1013", UpgradeMethod::kImageStreamed},
      {"RZ2K", "101", UpgradeMethod::kImageStreamed},  // not four characters: never older
      {"RZ5M", "0001", UpgradeMethod::kImageChunked},
      {"RZ8P", "9999", UpgradeMethod::kImageChunked},
      {"RZ1K", "1069", UpgradeMethod::kFileSetChunked},
      {"RZ3K", "1070", UpgradeMethod::kFileSetStreamed},
      {"RZ4K", "107A", UpgradeMethod::kFileSetStreamed},
      {"XX99", "1000", UpgradeMethod::kNone},
  };
  for (const auto& c : cases)
    EXPECT_EQ(SelectUpgradeMethod(c.product, c.version), c.method) << c.product << c.version;
  EXPECT_EQ(FirmwareVersionLabel("1031"), "1.0.3.1");
  EXPECT_EQ(FirmwareVersionLabel("10"), "1.0. . ");
}

TEST(UpgradeRequests, TextsOfBothMethods) {
  EXPECT_EQ(ComposeHoldRequest("abc", "192.168.1.5"),
            "GET /Getvideo.cgi?Cookie=abc&Fake=1 HTTP/1.1\r\nAccept: */* \r\n"
            "Accept-Language: zh-tw\r\nAccept-Encoding: gzip, deflate\r\nUser-Agent: "
            "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1; .NET CLR 1.1.4322)\r\n"
            "Host: 192.168.1.5\r\nConnection: Keep-Alive\r\n\r\n");
  EXPECT_EQ(ComposeHoldRequest("", "h").rfind("GET /Getvideo.cgi?Cookie=&Fake=1 HTTP/1.1\r\n", 0),
            0u);
  EXPECT_EQ(
      ComposeStreamedUploadRequest("c", 4096, 5, true, "h")
          .rfind("GET /UpgradeFW2.cgi?Cookie=c&FILESIZE=4096&Type=5&REBOOT=1 HTTP/1.1\r\n", 0),
      0u);

  ChunkedPiece first{0, 1166, 1048576, true, 0, {}, false};
  EXPECT_STREQ(ChunkedPieceQuery(first, "c").GetBuffer(),
               "/UpgradeFW.cgi?Upgrade=Start&FileSize=1048576&Type=0&Cookie=c");
  ChunkedPiece middle{1, 3, 2000, true, 0, {}, true};
  EXPECT_STREQ(ChunkedPieceQuery(middle, "c").GetBuffer(), "/UpgradeFW.cgi?Cookie=c");
  EXPECT_STREQ(ChunkedPieceQuery(middle, "").GetBuffer(), "/UpgradeFW.cgi");
  ChunkedPiece last{2, 3, 2000, false, 0, "KERNEL", true};
  EXPECT_STREQ(ChunkedPieceQuery(last, "").GetBuffer(),
               "/UpgradeFW.cgi?Upgrade=Finished&Type=KERNEL&Reboot=1");
  EXPECT_STREQ(CancelUpgradeRequest(UpgradeMethod::kImageChunked, "c").GetBuffer(),
               "/UpgradeFW.cgi?Upgrade=Cancel&Cookie=c");
  EXPECT_STREQ(CancelUpgradeRequest(UpgradeMethod::kFileSetStreamed, "").GetBuffer(),
               "/CancelUPFW.cgi");
  EXPECT_STREQ(GetVersionRequest("c").GetBuffer(), "/GetVersion.cgi?Cookie=c");
  EXPECT_EQ(ProgressPercent(900, 4000), 22u);
  EXPECT_EQ(ProgressPercent(uint64_t{3} << 32, uint64_t{4} << 32), 75u);  // no 32-bit wrap
}

TEST(UpgradeParts, ImageNamesAndNumbersFollowTheRecordType) {
  ParsedFirmwareImage image;
  for (uint8_t type : {9, 1, 0, 7, 4}) image.records.push_back({1, type, {0}});
  const std::vector<UploadPart> chunked = ImageUploadParts(image, false);
  const std::vector<UploadPart> streamed = ImageUploadParts(image, true);
  const char* names[] = {"", "KERNEL", "BOOT", "BOOT", "HTML"};
  const int32_t numbers[] = {0, 0, 1, 1, 2};
  for (size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(chunked[i].name, names[i]) << i;
    EXPECT_EQ(streamed[i].type, numbers[i]) << i;
  }
}

// Records every call; answers pieces from a script.
class RecordingTransport : public UploadTransport {
 public:
  std::vector<std::string> calls;
  std::vector<PieceResult> chunkResults;  // by chunk number; accepted after the end
  bool holdOk = true;
  int failStreamSendAt = -1;
  int32_t streamStatus = 200;
  bool holdOpen = false;
  size_t chunks = 0, streamSends = 0;

  bool OpenHold(const std::string& request) override {
    calls.push_back("hold " + request.substr(0, request.find(" HTTP")));
    holdOpen = holdOk;
    return holdOk;
  }
  void CloseHold() override {
    calls.push_back("close hold");
    holdOpen = false;
  }
  PieceResult SendChunk(const std::string& query, const uint8_t*, uint32_t size) override {
    EXPECT_TRUE(holdOpen);
    calls.push_back(query + " #" + std::to_string(size));
    const size_t n = chunks++;
    return n < chunkResults.size() ? chunkResults[n] : PieceResult::kAccepted;
  }
  bool OpenStream(const std::string& request) override {
    EXPECT_TRUE(holdOpen);
    calls.push_back(request.substr(0, request.find(" HTTP")));
    return true;
  }
  bool SendStreamPiece(const uint8_t*, uint32_t size) override {
    calls.push_back("#" + std::to_string(size));
    return static_cast<int>(streamSends++) != failStreamSendAt;
  }
  int32_t FinishStream() override {
    calls.push_back("finish");
    return streamStatus;
  }
  void Pause(uint32_t ms) override { calls.push_back("pause " + std::to_string(ms)); }
};

class CountingObserver : public UploadObserver {
 public:
  int busy = 0;
  std::vector<uint32_t> progress;
  int stopAfterProgress = -1;
  void Busy() override { ++busy; }
  void Progress(uint32_t p) override { progress.push_back(p); }
  bool StopRequested() override {
    return stopAfterProgress >= 0 && static_cast<int>(progress.size()) >= stopAfterProgress;
  }
};

struct Upload {
  std::vector<std::vector<uint8_t>> data;
  UploadJob job;
  RecordingTransport t;
  CountingObserver o;

  Upload(UpgradeMethod method, std::vector<std::pair<uint32_t, int32_t>> parts) {
    job.method = method;
    job.cookie = "c";
    job.host = "h";
    for (const auto& [size, type] : parts) {
      data.emplace_back(size, 1);
      job.parts.push_back({data.back().data(), size, type, "KERNEL"});
      job.total += size;
    }
  }
  UploadOutcome Run() { return RunFirmwareUpload(job, t, o); }
};

TEST(UploadWalk, ChunkedFileSetPiecesAndParameterOrder) {
  Upload u(UpgradeMethod::kFileSetChunked, {{900, 1}, {901, 5}, {2000, 17}});
  ASSERT_EQ(u.Run(), UploadOutcome::kCompleted);
  const std::vector<std::string> expected = {
      "hold GET /Getvideo.cgi?Cookie=c&Fake=1",
      "/UpgradeFW.cgi?Upgrade=Start&FileSize=900&Type=1&Cookie=c #900",
      "/UpgradeFW.cgi?Upgrade=Start&FileSize=901&Type=5&Cookie=c #900",
      "/UpgradeFW.cgi?Upgrade=Finished&Type=5&Cookie=c #1",
      "/UpgradeFW.cgi?Upgrade=Start&FileSize=2000&Type=17&Cookie=c #900",
      "/UpgradeFW.cgi?Cookie=c #900",
      "/UpgradeFW.cgi?Upgrade=Finished&Type=17&Reboot=1&Cookie=c #200",
  };
  EXPECT_EQ(u.t.calls, expected);
  EXPECT_EQ(u.o.busy, 1);
  EXPECT_EQ(u.o.progress.back(), 100u);
}

TEST(UploadWalk, StreamedImagePiecesWaitsAndHoldClose) {
  Upload u(UpgradeMethod::kImageStreamed, {{4096, 0}, {0, 1}, {10, 2}});
  ASSERT_EQ(u.Run(), UploadOutcome::kCompleted);
  const std::vector<std::string> expected = {
      "hold GET /Getvideo.cgi?Cookie=c&Fake=1",
      "pause 2000",
      "GET /UpgradeFW2.cgi?Cookie=c&FILESIZE=4096&Type=0",
      "#1300",
      "#1300",
      "#1300",
      "#196",
      "finish",
      "GET /UpgradeFW2.cgi?Cookie=c&FILESIZE=10&Type=2&REBOOT=1",
      "#10",
      "finish",
      "close hold",
  };
  EXPECT_EQ(u.t.calls, expected);
  EXPECT_EQ(u.o.busy, 3);
}

TEST(UploadWalk, FailuresEndInAnErrorWithTheHoldClosed) {
  const struct {
    const char* what;
    UpgradeMethod method;
    std::vector<PieceResult> chunks;
    bool holdOk;
    int failStreamSendAt;
    int32_t streamStatus;
    UploadOutcome outcome;
  } cases[] = {
      {"hold refused",
       UpgradeMethod::kImageChunked,
       {},
       false,
       -1,
       200,
       UploadOutcome::kHoldFailed},
      {"middle piece refused",
       UpgradeMethod::kImageChunked,
       {PieceResult::kAccepted, PieceResult::kRefused},
       true,
       -1,
       200,
       UploadOutcome::kPieceFailed},
      {"middle piece unanswered",
       UpgradeMethod::kImageChunked,
       {PieceResult::kAccepted, PieceResult::kUnanswered},
       true,
       -1,
       200,
       UploadOutcome::kPieceFailed},
      {"last piece never sent",
       UpgradeMethod::kImageChunked,
       {PieceResult::kAccepted, PieceResult::kAccepted, PieceResult::kNotSent},
       true,
       -1,
       200,
       UploadOutcome::kPieceFailed},
      {"last piece refused",
       UpgradeMethod::kFileSetChunked,
       {PieceResult::kAccepted, PieceResult::kAccepted, PieceResult::kRefused},
       true,
       -1,
       200,
       UploadOutcome::kPieceFailed},
      {"last piece unanswered",
       UpgradeMethod::kImageChunked,
       {PieceResult::kAccepted, PieceResult::kAccepted, PieceResult::kUnanswered},
       true,
       -1,
       200,
       UploadOutcome::kCompleted},
      {"stream send fails",
       UpgradeMethod::kFileSetStreamed,
       {},
       true,
       1,
       200,
       UploadOutcome::kStreamFailed},
      {"stream rejected",
       UpgradeMethod::kImageStreamed,
       {},
       true,
       -1,
       500,
       UploadOutcome::kStreamFailed},
      {"stream silent", UpgradeMethod::kImageStreamed, {}, true, -1, 0, UploadOutcome::kCompleted},
  };
  for (const auto& c : cases) {
    Upload u(c.method, {{2000, 1}});
    u.t.chunkResults = c.chunks;
    u.t.holdOk = c.holdOk;
    u.t.failStreamSendAt = c.failStreamSendAt;
    u.t.streamStatus = c.streamStatus;
    EXPECT_EQ(u.Run(), c.outcome) << c.what;
    if (c.outcome != UploadOutcome::kCompleted) {
      EXPECT_EQ(u.t.calls.back(), "close hold") << c.what;
    }
  }
}

TEST(UploadWalk, AStopEndsBeforeTheNextPieceForEveryMethod) {
  for (UpgradeMethod m : {UpgradeMethod::kImageChunked, UpgradeMethod::kImageStreamed,
                          UpgradeMethod::kFileSetChunked, UpgradeMethod::kFileSetStreamed}) {
    Upload u(m, {{5000, 1}, {5000, 2}});
    u.o.stopAfterProgress = 2;
    EXPECT_EQ(u.Run(), UploadOutcome::kStopped);
    EXPECT_EQ(u.o.progress.size(), 2u);
    EXPECT_EQ(u.t.calls.back(), "close hold");
  }
}

}  // namespace
