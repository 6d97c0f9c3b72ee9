// Test helpers for the live stream: frame headers written field by field from the wire tables,
// a scripted byte source with chosen read boundaries and failures, and a host that records
// every reaction to a header.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "live/frame_stream_source.h"
#include "live/header_reaction_host.h"

namespace livetest {

using Bytes = std::vector<uint8_t>;

// Fields of a version-word header; each optional field is written when set.
struct VersionWordFields {
  uint16_t version = 1;
  uint16_t payload = 0;
  uint8_t channelByte = 0;     // bits 0-3 channel
  uint8_t displayByte = 0;     // bits 4-7 display channel
  uint16_t extraMaskBits = 0;  // mask bits without a field (0, 4, 9-12, 14, 15)
  std::optional<uint16_t> motion, eventA, eventB;
  std::optional<uint32_t> timeStamp, packedDate;
  std::optional<std::string> title;  // 16 bytes, zero-padded
  std::optional<uint8_t> extra;
  // Extension block: its raw first byte (0x32 for a real one), the skipped byte, the mask and
  // the bytes of its fields.
  std::optional<uint8_t> extensionMarker;
  uint8_t extensionSkipped = 0;
  uint16_t extensionMask = 0;
  std::optional<uint8_t> halfWidth, retr, cmos;
};
Bytes VersionWordHeader(const VersionWordFields& f);

// Fields of a presence-mask header.
struct PresenceMaskFields {
  uint32_t extraMaskBits = 0;  // 0x400 network backup, 0x1000 no picture, or bits without field
  std::optional<uint32_t> payload;
  std::optional<std::string> title;
  std::optional<uint8_t> retr;
  std::optional<uint8_t> halfWidth, extra;
  std::optional<uint32_t> timeStamp;
  std::optional<uint8_t> channel;
  std::optional<uint16_t> eventA, motion, eventB;
  std::optional<uint8_t> displayChannel;
  std::optional<uint32_t> packedDate;
};
Bytes PresenceMaskHeader(const PresenceMaskFields& f);

// A stand-in picture of n bytes (n >= 6): FF D8 FF DB, a counting body, FF D9. The body never
// holds FF.
Bytes DevicePicture(uint32_t n, uint8_t seed = 0);
// The same beginning FF D8 FF E0 (an application segment first).
Bytes ApplicationSegmentPicture(uint32_t n);

Bytes Concat(std::initializer_list<Bytes> parts);

// A stream given as segments: each read returns at most the rest of the current segment, so
// segment ends are read boundaries. Entries can also be failures or stop requests.
class ScriptedSource : public FrameStreamSource {
 public:
  void Add(const Bytes& segment) { m_script.push_back({Kind::kBytes, segment}); }
  // Splits bytes into segments of at most n bytes.
  void AddInPieces(const Bytes& bytes, size_t n);
  void AddFailure() { m_script.push_back({Kind::kFail, {}}); }
  void AddStop() { m_script.push_back({Kind::kStop, {}}); }

  int Read(uint8_t* buffer, uint32_t size) override;
  void OnFrameSearch() override { ++searches; }
  void OnReceivedBytes(uint32_t count) override { receivedBytes += count; }

  bool Exhausted() const { return m_script.empty(); }
  std::vector<uint32_t> readSizes;  // sizes asked for, in order
  uint64_t receivedBytes = 0;
  int searches = 0;

 private:
  enum class Kind { kBytes, kFail, kStop };
  struct Entry {
    Kind kind;
    Bytes bytes;
  };
  std::deque<Entry> m_script;
};

// Records the header's reactions as text lines ("PostAlarmAudio 0", "SwitchChannel 3", ...).
class RecordingHost : public HeaderReactionHost {
 public:
  std::string product = "RZ2K";
  uint8_t multiChannel = 0;
  uint8_t alarmTrigger = 1;
  uint8_t autoSwitch = 0;
  bool soundPlaying = false;
  bool model19_22_23 = false;
  bool alarmRecording = false;
  DeviceTime deviceTime{};
  std::vector<std::string> calls;

  std::string_view ProductId() const override { return product; }
  uint8_t MultiChannel() const override { return multiChannel; }
  uint8_t AlarmTriggerFlag() const override { return alarmTrigger; }
  uint8_t AlarmAutoSwitchVideo() const override { return autoSwitch; }
  bool IsAlarmSoundPlaying() const override { return soundPlaying; }
  bool HasModel19_22_23() const override { return model19_22_23; }
  bool IsAlarmRecording() const override { return alarmRecording; }
  DeviceTime LastDeviceTime() const override { return deviceTime; }

  void StoreDeviceTime(const DeviceTime& t) override;
  void PostDeviceClockChanged() override { calls.push_back("PostDeviceClockChanged"); }
  void PostAlarmAudio(uint32_t lParam) override {
    calls.push_back("PostAlarmAudio " + std::to_string(lParam));
  }
  void SwitchChannel(int channel) override {
    calls.push_back("SwitchChannel " + std::to_string(channel));
  }
  void SetRETRState(uint8_t state) override;
  void SetStatusText(const char* text) override {
    calls.push_back(std::string("SetStatusText ") + text);
  }
  void PostCmosState(uint8_t state) override {
    calls.push_back("PostCmosState " + std::to_string(state));
  }
  void CreateAlarmRecordFile() override {
    calls.push_back("CreateAlarmRecordFile");
    alarmRecording = true;
  }
  void CloseAlarmRecordFile() override {
    calls.push_back("CloseAlarmRecordFile");
    alarmRecording = false;
  }
};

}  // namespace livetest
