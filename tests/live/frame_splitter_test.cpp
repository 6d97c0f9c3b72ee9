// The frame splitter over scripted streams: read boundaries, carries, resynchronisation, every
// stream fault, and the bounds of the socket slot.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "live/frame_splitter.h"
#include "live/header_reactions.h"
#include "tests/live/stream_test_support.h"

using namespace livetest;
using Outcome = CFrameSplitter::Outcome;

namespace {

constexpr uint32_t kSlot = 102400;

Bytes Frame1(uint32_t pictureBytes, uint8_t seed = 0) {
  VersionWordFields v;
  v.payload = static_cast<uint16_t>(pictureBytes);
  v.timeStamp = seed;
  return Concat({VersionWordHeader(v), DevicePicture(pictureBytes, seed)});
}

Bytes Frame2(uint32_t pictureBytes, uint8_t seed = 0) {
  PresenceMaskFields p;
  p.payload = pictureBytes;
  p.timeStamp = seed;
  return Concat({PresenceMaskHeader(p), DevicePicture(pictureBytes, seed)});
}

// Runs the splitter until it stops giving frames; the pictures it gave, then the outcome that
// ended the run.
struct SplitRun {
  std::vector<Bytes> pictures;
  std::vector<uint32_t> timeStamps;
  Outcome end = Outcome::kFrame;
};

struct SplitterFixture : ::testing::Test {
  CFrameSplitter splitter;
  CRTPHeaderParser parser;
  CHeaderReactions reactions{parser};
  ScriptedSource source;
  std::vector<uint8_t> slot = std::vector<uint8_t>(kSlot + 2048, 0xAA);

  // checkPayloadEnd: no byte after the picture in the slot was written (not with dropped
  // pictures, which use the slot as well).
  SplitRun RunAll(bool versionWord, uint32_t slotBytes = kSlot, bool checkPayloadEnd = true) {
    parser.m_fNewHeader = versionWord ? 1 : 0;
    SplitRun run;
    for (int guard = 0; guard < 1000; ++guard) {
      StreamFrame frame{};
      std::fill(slot.begin(), slot.end(), 0xAA);
      const Outcome o =
          splitter.NextFrame(source, parser, &reactions, slot.data(), slotBytes, &frame);
      if (o != Outcome::kFrame) {
        run.end = o;
        return run;
      }
      const RTPH_Struct& header = frame.header;
      EXPECT_EQ(frame.picture, slot.data());
      EXPECT_EQ(frame.length, header.dwPayloadLength);
      EXPECT_LE(header.dwPayloadLength, slotBytes);
      // Nothing is written beyond the picture, or at least beyond the slot.
      for (size_t i = checkPayloadEnd ? header.dwPayloadLength : slotBytes; i < slot.size(); ++i)
        if (slot[i] != 0xAA) {
          ADD_FAILURE() << "slot written at " << i << " beyond " << header.dwPayloadLength;
          break;
        }
      run.pictures.emplace_back(slot.begin(), slot.begin() + header.dwPayloadLength);
      run.timeStamps.push_back(header.dwTimeStamp / 5);
    }
    ADD_FAILURE() << "no end";
    return run;
  }
};

TEST_F(SplitterFixture, FramesArriveWhateverTheReadBoundaries) {
  const Bytes stream = Concat({Frame1(5000, 1), Frame1(1000, 2), Frame1(1397, 3), Frame1(30, 4),
                               Frame1(6, 5), Frame1(20000, 6)});
  for (size_t piece : {size_t{1}, size_t{3}, size_t{7}, size_t{100}, size_t{1399}, size_t{1400},
                       size_t{1401}, size_t{4096}, stream.size()}) {
    SCOPED_TRACE("pieces of " + std::to_string(piece));
    source = ScriptedSource{};
    splitter.Reset();
    source.AddInPieces(stream, piece);
    const SplitRun run = RunAll(true);
    EXPECT_EQ(run.end, Outcome::kHeaderReadFailed);  // the stream ended between frames
    ASSERT_EQ(run.pictures.size(), 6u);
    EXPECT_EQ(run.pictures[0], DevicePicture(5000, 1));
    EXPECT_EQ(run.pictures[3], DevicePicture(30, 4));
    EXPECT_EQ(run.pictures[4], DevicePicture(6, 5));
    EXPECT_EQ(run.pictures[5], DevicePicture(20000, 6));
    EXPECT_EQ(run.timeStamps, (std::vector<uint32_t>{1, 2, 3, 4, 5, 6}));
    // Reads never ask for more than a chunk, and a carry makes the next read shorter.
    for (uint32_t n : source.readSizes) EXPECT_LE(n, CFrameSplitter::kChunkBytes);
  }
}

TEST_F(SplitterFixture, CarryIsTopUpToAWholeChunkBeforeParsing) {
  // One read holds the first frame and 100 bytes of the second.
  const Bytes first = Frame1(1000, 1);
  const Bytes second = Frame1(3000, 2);
  source.Add(Concat({first, Bytes(second.begin(), second.begin() + 100)}));
  source.Add(Bytes(second.begin() + 100, second.end()));
  const SplitRun run = RunAll(true);
  ASSERT_EQ(run.pictures.size(), 2u);
  EXPECT_EQ(run.pictures[1], DevicePicture(3000, 2));
  ASSERT_GE(source.readSizes.size(), 2u);
  EXPECT_EQ(source.readSizes[0], 1400u);
  EXPECT_EQ(source.readSizes[1], 1400u - 100u);
}

TEST_F(SplitterFixture, HeaderAloneMakesTheNextChunkAHeader) {
  // A whole header in a read of its own: what follows is parsed as a new header, so the picture
  // bytes behind it do not make a frame; the stream finds its step again at the next header.
  PresenceMaskFields p;
  p.payload = 2000;
  source.Add(PresenceMaskHeader(p));
  source.Add(DevicePicture(2000, 1));
  source.Add(Frame2(800, 2));
  const SplitRun run = RunAll(false);
  ASSERT_EQ(run.pictures.size(), 1u);
  EXPECT_EQ(run.pictures[0], DevicePicture(800, 2));
}

TEST_F(SplitterFixture, PayloadZeroHeaderIsFollowedByTheNextHeader) {
  for (bool versionWord : {true, false}) {
    SCOPED_TRACE(versionWord);
    source = ScriptedSource{};
    splitter.Reset();
    Bytes empty;
    if (versionWord) {
      VersionWordFields v;
      v.motion = 1;
      empty = VersionWordHeader(v);
    } else {
      PresenceMaskFields p;
      p.payload = 0;
      empty = PresenceMaskHeader(p);
    }
    const Bytes frame = versionWord ? Frame1(500, 7) : Frame2(500, 7);
    source.Add(Concat({empty, empty, frame}));
    // Every search reads before it parses what was carried: the stream goes on.
    for (uint8_t i = 8; i < 12; ++i) source.Add(versionWord ? Frame1(500, i) : Frame2(500, i));
    const SplitRun run = RunAll(versionWord);
    ASSERT_GE(run.pictures.size(), 1u);
    EXPECT_EQ(run.pictures[0], DevicePicture(500, 7));
  }
}

TEST_F(SplitterFixture, DataNotStartingFFD8ResynchronisesAfterTheNextEndOfPicture) {
  VersionWordFields v;
  v.payload = 3000;
  Bytes bad = Concat({VersionWordHeader(v), DevicePicture(3000, 1)});
  bad[8] = 0x00;  // the picture's first byte
  const Bytes stream = Concat({bad, Frame1(2000, 2), Frame1(900, 3)});
  source.AddInPieces(stream, 1400);
  const SplitRun run = RunAll(true);
  // The rest of the bad picture is skipped up to its FF D9; the frames after it arrive.
  ASSERT_EQ(run.pictures.size(), 2u);
  EXPECT_EQ(run.pictures[0], DevicePicture(2000, 2));
  EXPECT_EQ(run.pictures[1], DevicePicture(900, 3));
}

TEST_F(SplitterFixture, ApplicationSegmentPictureIsDroppedAndTheStreamGoesOn) {
  for (bool versionWord : {true, false}) {
    SCOPED_TRACE(versionWord);
    source = ScriptedSource{};
    splitter.Reset();
    RecordingHost host;
    reactions.SetHost(&host);
    Bytes header;
    if (versionWord) {
      VersionWordFields v;
      v.payload = 9000;
      header = VersionWordHeader(v);
    } else {
      PresenceMaskFields p;
      p.payload = 9000;
      header = PresenceMaskHeader(p);
    }
    const Bytes next = versionWord ? Frame1(1200, 2) : Frame2(1200, 2);
    source.AddInPieces(Concat({header, ApplicationSegmentPicture(9000), next}), 1400);
    const SplitRun run = RunAll(versionWord, kSlot, false);
    ASSERT_EQ(run.pictures.size(), 1u);
    EXPECT_EQ(run.pictures[0], DevicePicture(1200, 2));
    // The dropped picture's bytes were never taken for headers.
    EXPECT_TRUE(host.calls.empty());
    EXPECT_EQ(source.receivedBytes, next.size());
    reactions.SetHost(nullptr);
  }
}

TEST_F(SplitterFixture, LeadingGarbageIsSkipped) {
  const std::string reply = "HTTP/1.1 200 OK\r\nContent-Type: multipart/x-mixed-replace\r\n\r\n";
  for (bool versionWord : {true, false}) {
    SCOPED_TRACE(versionWord);
    source = ScriptedSource{};
    splitter.Reset();
    Bytes stream(reply.begin(), reply.end());
    for (uint8_t i = 1; i <= 4; ++i) {
      const Bytes f = versionWord ? Frame1(2500, i) : Frame2(2500, i);
      stream.insert(stream.end(), f.begin(), f.end());
    }
    source.AddInPieces(stream, 1400);
    const SplitRun run = RunAll(versionWord);
    // At most the first frame is lost with the garbage; the rest come whole.
    ASSERT_GE(run.pictures.size(), 3u);
    EXPECT_EQ(run.pictures.back(), DevicePicture(2500, 4));
    EXPECT_EQ(run.pictures[run.pictures.size() - 3], DevicePicture(2500, 2));
  }
}

TEST_F(SplitterFixture, HeaderSplitAcrossReadsIsReadOn) {
  const Bytes frame = Frame2(4000, 9);
  PresenceMaskFields p;
  p.payload = 4000;
  p.timeStamp = 9;
  const size_t headerBytes = PresenceMaskHeader(p).size();
  for (size_t cut = 1; cut <= headerBytes + 3; ++cut) {
    if (cut == headerBytes) continue;  // a header alone in its read (the test above)
    SCOPED_TRACE(cut);
    source = ScriptedSource{};
    splitter.Reset();
    source.Add(Bytes(frame.begin(), frame.begin() + cut));
    source.Add(Bytes(frame.begin() + cut, frame.end()));
    source.Add(Frame2(100, 10));
    const SplitRun run = RunAll(false);
    ASSERT_EQ(run.pictures.size(), 2u);
    EXPECT_EQ(run.pictures[0], DevicePicture(4000, 9));
    EXPECT_EQ(run.end, Outcome::kHeaderReadFailed);
  }
}

TEST_F(SplitterFixture, PictureLongerThanTheSlotIsReadPast) {
  struct Case {
    const char* name;
    bool versionWord;
    uint32_t payload;
    uint32_t slotBytes;
    uint32_t zeroPadding;  // bytes after the picture's end that its length counts
  };
  for (const Case& c : {Case{"just over", false, kSlot + 1, kSlot, 0},
                        Case{"zero padding after the end", false, 150000, kSlot, 150000 - 3000},
                        Case{"u16 over a small slot", true, 5000, 4096, 0}}) {
    SCOPED_TRACE(c.name);
    source = ScriptedSource{};
    splitter.Reset();
    Bytes header;
    if (c.versionWord) {
      VersionWordFields v;
      v.payload = static_cast<uint16_t>(c.payload);
      header = VersionWordHeader(v);
    } else {
      PresenceMaskFields p;
      p.payload = c.payload;
      header = PresenceMaskHeader(p);
    }
    const Bytes picture =
        Concat({DevicePicture(c.payload - c.zeroPadding, 1), Bytes(c.zeroPadding, 0)});
    const Bytes next = c.versionWord ? Frame1(1000, 3) : Frame2(1000, 3);
    source.AddInPieces(Concat({header, picture, next}), 1400);
    source.Add(next);
    const SplitRun run = RunAll(c.versionWord, c.slotBytes);
    ASSERT_EQ(run.pictures.size(), 2u);
    EXPECT_EQ(run.pictures[0], DevicePicture(1000, 3));
    EXPECT_LT(source.receivedBytes, 4 * next.size());  // the bytes read past are not counted
  }
  // A picture exactly one slot long fits.
  source = ScriptedSource{};
  splitter.Reset();
  source.AddInPieces(Frame2(kSlot, 4), 1400);
  const SplitRun run = RunAll(false);
  ASSERT_EQ(run.pictures.size(), 1u);
  EXPECT_EQ(run.pictures[0], DevicePicture(kSlot, 4));
}

TEST_F(SplitterFixture, ImpossiblePayloadLengthResynchronises) {
  // Longer than any picture: the length is not believed; the next end of picture is looked for.
  PresenceMaskFields p;
  p.payload = 0xFFFFFFF0u;
  source.AddInPieces(Concat({PresenceMaskHeader(p), DevicePicture(6000, 1), Frame2(1000, 3)}),
                     1400);
  source.Add(Frame2(1000, 4));
  const SplitRun run = RunAll(false);
  ASSERT_EQ(run.pictures.size(), 2u);
  EXPECT_EQ(run.pictures[0], DevicePicture(1000, 3));
}

TEST_F(SplitterFixture, ShortDataAfterTheHeaderIsReadOn) {
  // Header and one, two or three picture bytes in the first read.
  for (size_t extra = 1; extra <= 3; ++extra) {
    SCOPED_TRACE(extra);
    source = ScriptedSource{};
    splitter.Reset();
    const Bytes frame = Frame1(700, 1);
    source.Add(Bytes(frame.begin(), frame.begin() + 8 + extra));
    source.Add(Bytes(frame.begin() + 8 + extra, frame.end()));
    const SplitRun run = RunAll(true);
    ASSERT_EQ(run.pictures.size(), 1u);
    EXPECT_EQ(run.pictures[0], DevicePicture(700, 1));
  }
}

TEST_F(SplitterFixture, FailuresStopsAndStallsEndTheSearchWhereTheyHappen) {
  struct Case {
    const char* name;
    size_t cut;  // bytes of the frame delivered before the failure
    bool stop;   // a stop request instead of a failed read
    Outcome expected;
  };
  const Bytes frame = Frame1(3000, 1);
  for (const Case& c : {Case{"closed before any byte", 0, false, Outcome::kHeaderReadFailed},
                        Case{"stalled inside the header", 5, false, Outcome::kHeaderReadFailed},
                        Case{"closed inside the picture", 2000, false, Outcome::kBodyReadFailed},
                        Case{"stop inside the picture", 2000, true, Outcome::kStopped},
                        Case{"stop inside the header", 3, true, Outcome::kStopped},
                        Case{"stop between frames", 0, true, Outcome::kStopped}}) {
    SCOPED_TRACE(c.name);
    source = ScriptedSource{};
    splitter.Reset();
    if (c.cut) source.AddInPieces(Bytes(frame.begin(), frame.begin() + c.cut), 1400);
    if (c.stop)
      source.AddStop();
    else
      source.AddFailure();
    source.Add(frame);  // never reached
    const SplitRun run = RunAll(true);
    EXPECT_TRUE(run.pictures.empty());
    EXPECT_EQ(run.end, c.expected);
  }
}

TEST_F(SplitterFixture, RejectedHeaderLooksForTheNextPicturesEnd) {
  // A version word of 2: the splitter looks for an end of picture from that chunk on.
  Bytes wrong = Frame1(300, 1);
  wrong[0] = 2;
  source.Add(Concat({wrong, Frame1(400, 2)}));
  for (uint8_t i = 3; i < 6; ++i) source.Add(Frame1(400, i));
  const SplitRun run = RunAll(true);
  ASSERT_GE(run.pictures.size(), 2u);
  EXPECT_EQ(run.pictures[0], DevicePicture(400, 2));
  EXPECT_EQ(run.pictures[1], DevicePicture(400, 3));
}

TEST_F(SplitterFixture, ReceivedBytesCountAcceptedFramesAndFrameSearchesAreSignalled) {
  // Two reads of two 512-byte frames each; the second frame of each read is carried.
  source.Add(Concat({Frame1(500, 1), Frame1(500, 2)}));
  source.Add(Frame1(500, 3));
  const SplitRun run = RunAll(true);
  ASSERT_EQ(run.pictures.size(), 2u);
  // Each accepted frame's start chunk is counted whole, carried bytes included.
  EXPECT_EQ(source.receivedBytes, 1024u + 1024u);
  EXPECT_EQ(source.searches, 3);
}

}  // namespace
