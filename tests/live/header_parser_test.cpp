// The frame-header parser and the header's reactions, as the receive thread's parse step runs
// them: both layouts into RTPH_Struct, then the reactions to their fields.
#include <gtest/gtest.h>

#include <cstring>

#include "live/header_reactions.h"
#include "live/rtp_header_parser.h"
#include "tests/live/stream_test_support.h"

using namespace livetest;

namespace {

// 2006-10-07 07:41:11 packed: 6 << 26 | 10 << 22 | 7 << 17 | 7 << 12 | 41 << 6 | 11.
constexpr uint32_t kPackedDate = 0x1A8E7A4B;

struct ParserFixture : ::testing::Test {
  RecordingHost host;
  CRTPHeaderParser parser;
  CHeaderReactions reactions{parser};
  RTPH_Struct slot{};
  uint32_t headerLength = 0;

  void SetUp() override { reactions.SetHost(&host); }

  // Decodes (the payload length counting the header on RZ8P devices, as the program binds it),
  // then reacts to a parsed header.
  HeaderParse Parse(const Bytes& b, bool versionWordLayout) {
    parser.m_fNewHeader = versionWordLayout ? 1 : 0;
    parser.m_fPayloadCountsHeader = host.product == "RZ8P" ? 1 : 0;
    StreamFrameHeader h;
    const HeaderParse r =
        parser.Parse(b.data(), static_cast<uint32_t>(b.size()), &headerLength, &h);
    if (r == HeaderParse::kParsed) {
      slot = h.rtph;
      reactions.React(h);
    }
    return r;
  }
};

TEST_F(ParserFixture, DerivedHeadersOfBothLayoutsDecodeAlike) {
  // 5000-byte picture, channel 1, display channel 1, time stamp 200, the packed date.
  const Bytes layout1 = {0x01, 0x00, 0x88, 0x13, 0x01, 0x10, 0x60, 0x00,
                         0xC8, 0x00, 0x00, 0x00, 0x4B, 0x7A, 0x8E, 0x1A};
  const Bytes layout2 = {0x61, 0x28, 0x00, 0x00, 0x88, 0x13, 0x00, 0x00, 0xC8,
                         0x00, 0x00, 0x00, 0x01, 0x01, 0x4B, 0x7A, 0x8E, 0x1A};
  for (const auto& [bytes, versionWord, presence] :
       {std::tuple{layout1, true, 0u}, std::tuple{layout2, false, 0x2861u}}) {
    SCOPED_TRACE(versionWord ? "version-word layout" : "presence-mask layout");
    ASSERT_EQ(Parse(bytes, versionWord), HeaderParse::kParsed);
    EXPECT_EQ(headerLength, bytes.size());
    EXPECT_EQ(slot.dwHeaderLength, bytes.size());
    EXPECT_EQ(slot.dwPayloadLength, 5000u);
    EXPECT_EQ(slot.byChannel, 1);
    EXPECT_EQ(slot.byDisplayChannel, 1);
    EXPECT_EQ(slot.dwTimeStamp, 1000u);
    EXPECT_EQ(slot.dwPresenceMask, presence);
    EXPECT_EQ(slot.stDeviceTime.wYear, 2006);
    EXPECT_EQ(slot.stDeviceTime.wMonth, 10);
    EXPECT_EQ(slot.stDeviceTime.wDay, 7);
    EXPECT_EQ(slot.stDeviceTime.wHour, 7);
    EXPECT_EQ(slot.stDeviceTime.wMinute, 41);
    EXPECT_EQ(slot.stDeviceTime.wSecond, 11);
    EXPECT_EQ(slot.stDeviceTime.wDayOfWeek, 0);
    EXPECT_EQ(std::memcmp(&slot, &parser.m_RTPH_Struct, sizeof slot), 0);
  }
}

TEST_F(ParserFixture, EveryFieldLandsInItsPlace) {
  VersionWordFields v;
  v.payload = 300;
  v.channelByte = 0xF5;  // bits 4-7 ignored
  v.displayByte = 0x9F;  // bits 0-3 ignored
  v.motion = 0x0102;
  v.eventA = 0x0304;
  v.eventB = 0x0506;
  v.title = "ABCDEFGHIJKLMNOP";
  v.extra = 0x77;
  v.extensionMarker = 0x32;
  v.halfWidth = 1;
  ASSERT_EQ(Parse(VersionWordHeader(v), true), HeaderParse::kParsed);
  EXPECT_EQ(slot.byChannel, 5);
  EXPECT_EQ(slot.byDisplayChannel, 9);
  EXPECT_EQ(slot.wMotionDetect, 0x0102);
  EXPECT_EQ(slot.wEventWordA, 0x0304);
  EXPECT_EQ(slot.wEventWordB, 0x0506);
  EXPECT_EQ(std::string(slot.szTitle, 16), "ABCDEFGHIJKLMNOP");
  EXPECT_EQ(slot.byExtra, 0x77);
  EXPECT_EQ(slot.byHalfWidth, 1);
  EXPECT_EQ(headerLength, 8u + 6 + 16 + 1 + 4 + 1);

  PresenceMaskFields p;
  p.payload = 123456;
  p.title = "title";
  p.retr = 1;
  p.halfWidth = 1;
  p.extra = 9;
  p.channel = 3;
  p.eventA = 0x11;
  p.motion = 0x22;
  p.eventB = 0x33;
  p.displayChannel = 12;
  p.extraMaskBits = 0x1000;
  ASSERT_EQ(Parse(PresenceMaskHeader(p), false), HeaderParse::kParsed);
  EXPECT_EQ(slot.dwPayloadLength, 123456u);
  EXPECT_EQ(std::string(slot.szTitle, 5), "title");
  EXPECT_EQ(slot.byHalfWidth, 1);
  EXPECT_EQ(slot.byExtra, 9);
  EXPECT_EQ(slot.byChannel, 3);
  EXPECT_EQ(slot.wEventWordA, 0x11);
  EXPECT_EQ(slot.wMotionDetect, 0x22);
  EXPECT_EQ(slot.wEventWordB, 0x33);
  EXPECT_EQ(slot.byDisplayChannel, 12);
  EXPECT_EQ(slot.byNoPicture, 1);
  EXPECT_EQ(headerLength, 4u + 4 + 16 + 2 + 1 + 1 + 1 + 2 + 2 + 2 + 1);
}

TEST_F(ParserFixture, TimeStampsInBothLayouts) {
  struct Case {
    uint32_t received;
    uint32_t versionWord;
    uint32_t presenceMask;
  };
  for (const Case& c :
       {Case{200, 1000, 1000}, Case{0x40000000, 0, 0x40000000},
        Case{0x33333332, 0xFFFFFFFA, 0xFFFFFFFA}, Case{0x33333333, 0, 0xFFFFFFFF}}) {
    SCOPED_TRACE(c.received);
    VersionWordFields v;
    v.timeStamp = c.received;
    ASSERT_EQ(Parse(VersionWordHeader(v), true), HeaderParse::kParsed);
    EXPECT_EQ(slot.dwTimeStamp, c.versionWord);
    PresenceMaskFields p;
    p.timeStamp = c.received;
    ASSERT_EQ(Parse(PresenceMaskHeader(p), false), HeaderParse::kParsed);
    EXPECT_EQ(slot.dwTimeStamp, c.presenceMask);
  }
}

TEST_F(ParserFixture, ExtensionBlockFlags) {
  struct Case {
    uint16_t mask;
    uint8_t noPicture;
    uint8_t displayChannel;
  };
  for (const Case& c : {Case{0x0004, 1, 2}, Case{0x0020, 0, 16}, Case{0x0024, 1, 16}}) {
    VersionWordFields v;
    v.displayByte = 0x20;
    v.extensionMarker = 0x32;
    v.extensionSkipped = 0xAB;  // any byte
    v.extensionMask = c.mask;
    ASSERT_EQ(Parse(VersionWordHeader(v), true), HeaderParse::kParsed);
    EXPECT_EQ(slot.byNoPicture, c.noPicture);
    EXPECT_EQ(slot.byDisplayChannel, c.displayChannel);
    EXPECT_EQ(headerLength, 12u);
  }
  // A block that does not start 0x32 consumes nothing.
  VersionWordFields v;
  v.extensionMarker = 0x31;
  ASSERT_EQ(Parse(VersionWordHeader(v), true), HeaderParse::kParsed);
  EXPECT_EQ(headerLength, 8u);
}

TEST_F(ParserFixture, CutShortHeadersReactToNothing) {
  VersionWordFields v;
  v.payload = 1000;
  v.motion = 4;
  v.timeStamp = 5;
  v.packedDate = kPackedDate;
  v.title = "t";
  v.extra = 1;
  v.extensionMarker = 0x32;
  v.retr = 1;
  v.cmos = 2;
  v.extensionMask = 0x08;
  PresenceMaskFields p;
  p.payload = 10;
  p.title = "t";
  p.retr = 1;
  p.halfWidth = 1;
  p.extra = 1;
  p.timeStamp = 1;
  p.channel = 1;
  p.eventA = 1;
  p.motion = 1;
  p.eventB = 1;
  p.displayChannel = 1;
  p.packedDate = kPackedDate;
  p.extraMaskBits = 0x400;
  host.product = "RZ8P";
  for (const auto& [whole, versionWord] :
       {std::pair{VersionWordHeader(v), true}, std::pair{PresenceMaskHeader(p), false}}) {
    EXPECT_LE(whole.size(), kMaxStreamFrameHeaderBytes);
    host.calls.clear();
    parser.m_dwEventKind = 0;
    for (size_t n = 0; n < whole.size(); ++n) {
      SCOPED_TRACE(n);
      headerLength = 777;
      slot.dwPayloadLength = 555;
      EXPECT_EQ(Parse(Bytes(whole.begin(), whole.begin() + n), versionWord),
                HeaderParse::kIncomplete);
      EXPECT_EQ(headerLength, 777u);
      EXPECT_EQ(slot.dwPayloadLength, 555u);
    }
    EXPECT_TRUE(host.calls.empty());
    EXPECT_EQ(parser.m_dwEventKind, 0u);
    EXPECT_EQ(Parse(whole, versionWord), HeaderParse::kParsed);
    EXPECT_EQ(headerLength, whole.size());
  }
  // Every optional field present gives the longest header of each layout.
  v.eventA = 1;
  v.eventB = 1;
  v.halfWidth = 1;
  p.extraMaskBits = 0;
  EXPECT_EQ(VersionWordHeader(v).size(), kMaxStreamFrameHeaderBytes);
  EXPECT_EQ(PresenceMaskHeader(p).size(), kMaxStreamFrameHeaderBytes - 2);
}

TEST_F(ParserFixture, RejectedHeadersLeaveEverythingAlone) {
  VersionWordFields v;
  v.version = 2;
  v.motion = 1;
  slot.dwPayloadLength = 99;
  EXPECT_EQ(Parse(VersionWordHeader(v), true), HeaderParse::kRejected);
  EXPECT_EQ(slot.dwPayloadLength, 99u);
  RTPH_Struct zero{};
  EXPECT_EQ(std::memcmp(&parser.m_RTPH_Struct, &zero, sizeof zero), 0);

  // An RZ8P payload length counts the header: 5000 with a 40-byte header is 4960 picture bytes,
  // and a length below the header's own is refused rather than wrapped round.
  host.product = "RZ8P";
  VersionWordFields r;
  r.payload = 5000;
  r.title = "";
  r.timeStamp = 1;
  r.packedDate = kPackedDate;
  r.motion = 0;
  r.eventA = 0;
  r.extensionMarker = 0x32;
  ASSERT_EQ(VersionWordHeader(r).size(), 40u);
  ASSERT_EQ(Parse(VersionWordHeader(r), true), HeaderParse::kParsed);
  EXPECT_EQ(headerLength, 40u);
  EXPECT_EQ(slot.dwPayloadLength, 4960u);
  host.calls.clear();
  r.payload = 39;
  EXPECT_EQ(Parse(VersionWordHeader(r), true), HeaderParse::kRejected);
  EXPECT_TRUE(host.calls.empty());
  r.payload = 40;
  EXPECT_EQ(Parse(VersionWordHeader(r), true), HeaderParse::kParsed);
  EXPECT_EQ(slot.dwPayloadLength, 0u);
}

// Reactions to the event words: one header after another on one parser.
struct EventStep {
  const char* name;
  bool soundPlaying;  // as the main window keeps it
  std::optional<uint16_t> motion;
  std::vector<std::string> calls;
};

void RunSteps(ParserFixture& f, bool versionWord, const std::vector<EventStep>& steps) {
  for (const EventStep& s : steps) {
    SCOPED_TRACE(s.name);
    f.host.calls.clear();
    f.host.soundPlaying = s.soundPlaying;
    Bytes header;
    if (versionWord) {
      VersionWordFields v;
      v.motion = s.motion;
      header = VersionWordHeader(v);
    } else {
      PresenceMaskFields p;
      p.motion = s.motion;
      header = PresenceMaskHeader(p);
    }
    ASSERT_EQ(f.Parse(header, versionWord), HeaderParse::kParsed);
    EXPECT_EQ(f.host.calls, s.calls);
  }
}

TEST_F(ParserFixture, MotionStartsSoundAndRecordingAndItsAbsenceStopsThem) {
  for (bool versionWord : {true, false}) {
    host = RecordingHost{};
    RunSteps(*this, versionWord,
             {{"motion 4", false, 0x0004, {"PostAlarmAudio 0", "CreateAlarmRecordFile"}},
              {"motion 4 again", true, 0x0004, {}},
              {"no motion word", true, std::nullopt, {"PostAlarmAudio 2", "CloseAlarmRecordFile"}},
              {"motion word 0: sound, no recording", false, 0, {"PostAlarmAudio 0"}},
              {"absent again", true, std::nullopt, {"PostAlarmAudio 2"}},
              {"still absent", false, std::nullopt, {}}});
  }
}

TEST_F(ParserFixture, AlarmReactionsOnlyForAlarmFamiliesOrListedModels) {
  VersionWordFields v;
  v.payload = 100;  // above the header's length, which an RZ8P payload counts
  v.motion = 4;
  const Bytes header = VersionWordHeader(v);
  struct Case {
    const char* product;
    bool listed;
    bool reacts;
  };
  for (const Case& c :
       {Case{"RZ2K", false, true}, Case{"RZ5M", false, true}, Case{"RZ7M", false, true},
        Case{"RZ1K", false, false}, Case{"RZ8P", false, false}, Case{"RZ3K", true, true}}) {
    SCOPED_TRACE(c.product);
    host = RecordingHost{};
    host.product = c.product;
    host.model19_22_23 = c.listed;
    parser.m_dwEventKind = 0;
    ASSERT_EQ(Parse(header, true), HeaderParse::kParsed);
    // The event is remembered either way.
    EXPECT_EQ(parser.m_dwEventKind, kEventKindMotion);
    EXPECT_EQ(parser.m_wAlarmData, 4);
    if (c.reacts)
      EXPECT_EQ(host.calls,
                (std::vector<std::string>{"PostAlarmAudio 0", "CreateAlarmRecordFile"}));
    else
      EXPECT_TRUE(host.calls.empty());
  }
}

TEST_F(ParserFixture, TriggerOffOrSoundPlayingHoldsTheSoundBack) {
  VersionWordFields v;
  v.motion = 4;
  host.alarmTrigger = 0;
  ASSERT_EQ(Parse(VersionWordHeader(v), true), HeaderParse::kParsed);
  EXPECT_TRUE(host.calls.empty());
  host.alarmTrigger = 1;
  host.soundPlaying = true;
  ASSERT_EQ(Parse(VersionWordHeader(v), true), HeaderParse::kParsed);
  EXPECT_EQ(host.calls, std::vector<std::string>{"CreateAlarmRecordFile"});
}

TEST_F(ParserFixture, LastPresentEventKindIsRemembered) {
  PresenceMaskFields p;
  p.eventA = 1;
  p.motion = 2;
  ASSERT_EQ(Parse(PresenceMaskHeader(p), false), HeaderParse::kParsed);
  EXPECT_EQ(parser.m_dwEventKind, kEventKindMotion);  // motion follows A in this layout
  EXPECT_EQ(parser.m_wAlarmData, 2);
  host.calls.clear();
  host.soundPlaying = true;
  // A goes away: not the remembered kind, no stop; then motion goes: stop.
  p.eventA.reset();
  ASSERT_EQ(Parse(PresenceMaskHeader(p), false), HeaderParse::kParsed);
  EXPECT_EQ(host.calls, std::vector<std::string>{});
  p.motion.reset();
  p.eventB = 0;
  ASSERT_EQ(Parse(PresenceMaskHeader(p), false), HeaderParse::kParsed);
  EXPECT_EQ(parser.m_dwEventKind, kEventKindB);
  EXPECT_EQ(parser.TestAndClearAlarm(), 0);  // B carried 0
  p.eventB = 7;
  ASSERT_EQ(Parse(PresenceMaskHeader(p), false), HeaderParse::kParsed);
  EXPECT_EQ(parser.TestAndClearAlarm(), 1);
  EXPECT_EQ(parser.m_wAlarmData, 0);
  EXPECT_EQ(parser.TestAndClearAlarm(), 0);
}

TEST_F(ParserFixture, MotionSwitchesToItsLowestChannelOnMultiChannelRecorders) {
  struct Case {
    const char* product;
    uint8_t multich;
    uint8_t autoSwitch;
    uint16_t motion;
    int channel;  // 0: no switch
  };
  for (const Case& c :
       {Case{"RZ1K", 1, 1, 0x0004, 3}, Case{"RZ3K", 1, 1, 0x8000, 16},
        Case{"RZ4K", 1, 1, 0x0006, 2}, Case{"RZ1K", 0, 1, 0x0004, 0}, Case{"RZ1K", 1, 0, 0x0004, 0},
        Case{"RZ2K", 1, 1, 0x0004, 0}, Case{"RZ1K", 1, 1, 0, 0}}) {
    SCOPED_TRACE(std::string(c.product) + " motion " + std::to_string(c.motion));
    host = RecordingHost{};
    host.product = c.product;
    host.multiChannel = c.multich;
    host.autoSwitch = c.autoSwitch;
    VersionWordFields v;
    v.motion = c.motion;
    ASSERT_EQ(Parse(VersionWordHeader(v), true), HeaderParse::kParsed);
    std::vector<std::string> switches;
    for (const auto& call : host.calls)
      if (call.rfind("SwitchChannel", 0) == 0) switches.push_back(call);
    if (c.channel)
      EXPECT_EQ(switches, std::vector<std::string>{"SwitchChannel " + std::to_string(c.channel)});
    else
      EXPECT_TRUE(switches.empty());
  }
}

TEST_F(ParserFixture, DeviceClockIsKeptAndReportedOncePerChange) {
  PresenceMaskFields p;
  p.packedDate = kPackedDate;
  for (const char* product : {"RZ2K", "RZ8P", "RZ5M", "RZ7M", "RZ1K"}) {
    SCOPED_TRACE(product);
    host = RecordingHost{};
    host.product = product;
    const bool posts = std::string(product) != "RZ1K";
    ASSERT_EQ(Parse(PresenceMaskHeader(p), false), HeaderParse::kParsed);
    ASSERT_EQ(Parse(PresenceMaskHeader(p), false), HeaderParse::kParsed);
    std::vector<std::string> expected = {"StoreDeviceTime"};
    if (posts) expected.push_back("PostDeviceClockChanged");
    EXPECT_EQ(host.calls, expected);
    EXPECT_EQ(host.deviceTime.wMinute, 41);
    p.packedDate = kPackedDate + 1;  // one second later
    host.calls.clear();
    ASSERT_EQ(Parse(PresenceMaskHeader(p), false), HeaderParse::kParsed);
    EXPECT_EQ(host.calls.size(), expected.size());
    p.packedDate = kPackedDate;
  }
}

TEST_F(ParserFixture, RetrNetworkBackupAndCameraSensorInLayoutOrder) {
  host.product = "RZ8P";
  VersionWordFields v;
  v.payload = 100;
  v.motion = 1;
  v.extensionMarker = 0x32;
  v.retr = 1;
  v.cmos = 0xC2;
  v.extensionMask = 0x08;
  ASSERT_EQ(Parse(VersionWordHeader(v), true), HeaderParse::kParsed);
  EXPECT_EQ(host.calls,
            (std::vector<std::string>{"SetRETRState 1", "SetStatusText Network backup,stop video!!",
                                      "PostCmosState 194"}));
  // Not RZ8P: the sensor byte is skipped, the header length is the same.
  host = RecordingHost{};
  host.product = "RZ2K";
  const uint32_t rz8pLength = headerLength;
  ASSERT_EQ(Parse(VersionWordHeader(v), true), HeaderParse::kParsed);
  EXPECT_EQ(headerLength, rz8pLength);
  EXPECT_EQ(host.calls,
            (std::vector<std::string>{"SetRETRState 1", "SetStatusText Network backup,stop video!!",
                                      "PostAlarmAudio 0", "CreateAlarmRecordFile"}));

  // The presence-mask layout carries R.E.T.R. ahead of the event words.
  host = RecordingHost{};
  PresenceMaskFields p;
  p.retr = 0;
  p.eventA = 5;
  p.extraMaskBits = 0x400;
  ASSERT_EQ(Parse(PresenceMaskHeader(p), false), HeaderParse::kParsed);
  EXPECT_EQ(host.calls,
            (std::vector<std::string>{"SetRETRState 0", "SetStatusText Network backup,stop video!!",
                                      "PostAlarmAudio 0", "CreateAlarmRecordFile"}));
}

TEST_F(ParserFixture, WithoutHostNothingReactsButEventsAreRemembered) {
  CRTPHeaderParser bare;
  CHeaderReactions bareReactions{bare};
  bare.m_fNewHeader = 1;
  VersionWordFields v;
  v.motion = 8;
  const Bytes b = VersionWordHeader(v);
  StreamFrameHeader h;
  ASSERT_EQ(bare.Parse(b.data(), static_cast<uint32_t>(b.size()), &headerLength, &h),
            HeaderParse::kParsed);
  bareReactions.React(h);
  EXPECT_EQ(bare.m_wAlarmData, 8);
  EXPECT_EQ(bare.m_dwEventKind, kEventKindMotion);
}

}  // namespace
