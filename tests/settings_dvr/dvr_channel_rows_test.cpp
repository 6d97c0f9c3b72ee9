#include "settings/dvr_channel_rows.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <vector>

namespace {

template <size_t N>
void FillPattern(uint8_t (&b)[N], uint8_t seed) {
  for (size_t i = 0; i < N; ++i) b[i] = static_cast<uint8_t>(i * 7 + seed);
}

// Offsets at which two blocks differ.
template <size_t N>
std::set<size_t> Diff(const uint8_t (&a)[N], const uint8_t (&b)[N]) {
  std::set<size_t> d;
  for (size_t i = 0; i < N; ++i)
    if (a[i] != b[i]) d.insert(i);
  return d;
}

std::set<size_t> Range(size_t from, size_t count) {
  std::set<size_t> s;
  for (size_t i = 0; i < count; ++i) s.insert(from + i);
  return s;
}

std::set<size_t> Union(std::initializer_list<std::set<size_t>> parts) {
  std::set<size_t> s;
  for (const auto& p : parts) s.insert(p.begin(), p.end());
  return s;
}

TEST(DvrChannelRows, RowCountByProduct) {
  EXPECT_EQ(DvrChannelRowCount("RZ1K"), 16);
  EXPECT_EQ(DvrChannelRowCount("RZ3K"), 8);
  EXPECT_EQ(DvrChannelRowCount("RZ4K"), 4);
  EXPECT_EQ(DvrChannelRowCount("RZ2K"), 0);
  EXPECT_EQ(DvrChannelRowCount("rz1k"), 0);
}

TEST(DvrChannelRows, DeviceRowWritesExactlyItsChannel) {
  struct Case {
    int channel;
    DeviceRow row;
  } cases[] = {{0, {1, 200, 1, 115200}}, {7, {0, 3, 0, 2400}}, {15, {1, 255, 1, 0x01020304}}};
  for (const auto& c : cases) {
    uint8_t before[kRs485BlockBytes], after[kRs485BlockBytes];
    FillPattern(before, 0x5A);
    std::memcpy(after, before, sizeof after);
    WriteDeviceRow(after, c.channel, c.row);
    const size_t i = static_cast<size_t>(c.channel);
    // Bytes that may differ: the channel's ID, type, protocol and baud word; nothing else.
    for (size_t at : Diff(before, after))
      EXPECT_TRUE(at == 12 + i || at == 28 + i || at == 44 + i ||
                  (at >= 60 + 4 * i && at < 64 + 4 * i))
          << "channel " << c.channel << " changed byte " << at;
    EXPECT_EQ(after[12 + i], c.row.byId);
    EXPECT_EQ(after[28 + i], c.row.byType);
    EXPECT_EQ(after[44 + i], c.row.byProtocol);
    EXPECT_EQ(after[60 + 4 * i] | after[61 + 4 * i] << 8 | after[62 + 4 * i] << 16 |
                  uint32_t{after[63 + 4 * i]} << 24,
              c.row.dwBaudRate);
    EXPECT_EQ(ReadDeviceRow(after, c.channel), c.row);
  }
}

TEST(DvrChannelRows, DeviceTextsAndRates) {
  EXPECT_STREQ(ChannelDeviceTypeText(0), "CAMERA");
  EXPECT_STREQ(ChannelDeviceTypeText(1), "PTZ");
  EXPECT_STREQ(ChannelDeviceTypeText(7), "CAMERA");
  EXPECT_STREQ(DeviceProtocolText(1), "P-D");
  EXPECT_STREQ(DeviceProtocolText(2), "NORMAL");
  EXPECT_EQ(DeviceBaudRateIndex(9600), 2);
  EXPECT_EQ(DeviceBaudRateIndex(115200), 6);
  EXPECT_EQ(DeviceBaudRateIndex(1200), -1);
}

TEST(DvrChannelRows, DeviceEdit) {
  const DeviceRow stored{0, 5, 0, 1200};
  // Confirmed unchanged: nothing changes, the unlisted rate stays.
  DeviceRow row = stored;
  EXPECT_FALSE(ApplyDeviceEdit(row, DeviceEditOf(row)));
  EXPECT_EQ(row, stored);
  // A new rate, type and ID.
  DeviceEdit e = DeviceEditOf(row);
  EXPECT_EQ(e.nRateIndex, -1);
  e.nRateIndex = 3;
  e.nType = 1;
  e.nId = 17;
  EXPECT_TRUE(ApplyDeviceEdit(row, e));
  EXPECT_EQ(row, (DeviceRow{1, 17, 0, 19200}));
  // An ID the byte cannot hold and a type the list does not have leave their values.
  DeviceRow kept = stored;
  kept.byType = 9;
  DeviceEdit bad = DeviceEditOf(kept);
  EXPECT_EQ(bad.nType, -1);
  bad.nId = 300;
  EXPECT_FALSE(ApplyDeviceEdit(kept, bad));
  EXPECT_EQ(kept.byType, 9);
  EXPECT_EQ(kept.byId, 5);
}

TEST(DvrChannelRows, DetectionRowWritesExactlyItsChannel) {
  uint8_t live[kDvrLiveBlockBytes], alarm[kAlarmBlockBytes];
  FillPattern(live, 1);
  FillPattern(alarm, 2);
  uint8_t live2[kDvrLiveBlockBytes], alarm2[kAlarmBlockBytes];
  std::memcpy(live2, live, sizeof live);
  std::memcpy(alarm2, alarm, sizeof alarm);

  DetectionRow row = ReadDetectionRow(live, alarm, 3);
  row.byDetect ^= 0xFF;
  row.byLS ^= 0xFF;
  row.bySS ^= 0xFF;
  row.byTS ^= 0xFF;
  row.byRE ^= 0xFF;
  for (auto& b : row.area) b ^= 0xFF;
  row.byAlarmType ^= 0xFF;
  WriteDetectionLive(live2, 3, row);
  WriteDetectionAlarm(alarm2, 3, row);
  EXPECT_EQ(Diff(live, live2),
            Union({{308 + 3, 324 + 3, 340 + 3, 356 + 3, 372 + 3}, Range(388 + 3 * 24, 24)}));
  EXPECT_EQ(Diff(alarm, alarm2), (std::set<size_t>{8 + 3}));
  EXPECT_EQ(ReadDetectionRow(live2, alarm2, 3), row);
}

TEST(DvrChannelRows, DetectionEditMarksWhatChanged) {
  DetectionRow stored;
  stored.byDetect = 1;
  stored.byLS = 4;
  stored.byRE = 20;
  stored.byAlarmType = 1;
  stored.area[5] = 0x42;

  DetectionRow row = stored;
  // Confirming without a change still resends DVRLIVE, never ALARM.
  DetectionChanges c = ApplyDetectionEdit(row, DetectionEditOf(row));
  EXPECT_TRUE(c.live);
  EXPECT_FALSE(c.alarm);
  EXPECT_EQ(row, stored);

  DetectionEdit e = DetectionEditOf(row);
  e.nAlarmType = 2;
  e.nDetect = 0;
  e.area[0] = 0x80;
  c = ApplyDetectionEdit(row, e);
  EXPECT_TRUE(c.alarm);
  EXPECT_EQ(row.byAlarmType, 2);
  EXPECT_EQ(row.byDetect, 0);
  EXPECT_EQ(row.area[0], 0x80);
}

TEST(DvrChannelRows, AlarmInputTexts) {
  struct Case {
    uint8_t type;
    bool nonc;
    const char* text;
  } cases[] = {{0, true, "N.O."},  {1, true, "N.C."}, {2, true, "OFF"},  {0, false, "LOW"},
               {1, false, "HIGH"}, {2, false, "OFF"}, {7, false, "OFF"}, {7, true, "OFF"}};
  for (const auto& c : cases) EXPECT_STREQ(AlarmInputText(c.type, c.nonc), c.text);
  EXPECT_EQ(ListedAlarmInputType(7), 0);
  EXPECT_EQ(ListedAlarmInputType(2), 2);
  EXPECT_STREQ(DetectText(1), "ON");
  EXPECT_STREQ(DetectText(2), "OFF");
}

TEST(DvrChannelRows, CameraRowWritesExactlyItsChannel) {
  uint8_t live[kDvrLiveBlockBytes], rec[kDvrRecBlockBytes];
  FillPattern(live, 3);
  FillPattern(rec, 4);
  uint8_t live2[kDvrLiveBlockBytes], rec2[kDvrRecBlockBytes];
  std::memcpy(live2, live, sizeof live);
  std::memcpy(rec2, rec, sizeof rec);

  CameraRow row = ReadCameraRow(live, rec, 15);
  for (auto& b : row.title) b ^= 0xFF;
  row.byBR ^= 0xFF;
  row.byCT ^= 0xFF;
  row.bySU ^= 0xFF;
  row.byHU ^= 0xFF;
  row.byCovert ^= 0xFF;
  row.byRecord ^= 0xFF;
  WriteCameraLive(live2, 15, row);
  WriteCameraRecord(rec2, 15, row);
  EXPECT_EQ(Diff(live, live2),
            Union({{4 + 15, 20 + 15, 36 + 15, 52 + 15, 84 + 15}, Range(116 + 15 * 6, 6)}));
  EXPECT_EQ(Diff(rec, rec2), (std::set<size_t>{20 + 15}));
  EXPECT_EQ(ReadCameraRow(live2, rec2, 15), row);
}

TEST(DvrChannelRows, CameraTitleFilter) {
  struct Case {
    const char* typed;
    const char* text;
    bool cut;
  } cases[] = {{"abc-1", "ABC1", false},    {"ABC123", "ABC123", false}, {"ab cd", "ABCD", false},
               {"abcdefg", "abcdef", true}, {"a-b-c-d", "a-b-c-", true}, {"", "", false}};
  for (const auto& c : cases) {
    const TitleFilterResult r = FilterCameraTitle(c.typed);
    EXPECT_EQ(r.text, c.text) << c.typed;
    EXPECT_EQ(r.cut, c.cut) << c.typed;
  }
}

TEST(DvrChannelRows, CameraEditMarksOnlyTheBlocksThatChanged) {
  CameraRow stored;
  std::memcpy(stored.title.data(), "CAM001", 6);  // six characters, no zero
  stored.byBR = 128;
  stored.byCovert = 2;  // listed "NO"
  EXPECT_EQ(CameraTitleText(stored), "CAM001");
  EXPECT_STREQ(YesNoText(stored.byCovert), "NO");

  CameraRow row = stored;
  CameraChanges c = ApplyCameraEdit(row, CameraEditOf(row));
  EXPECT_FALSE(c.live);
  EXPECT_FALSE(c.record);
  EXPECT_EQ(row, stored);

  CameraEdit e = CameraEditOf(row);
  e.nRecord = 1;
  c = ApplyCameraEdit(row, e);
  EXPECT_FALSE(c.live);
  EXPECT_TRUE(c.record);

  e = CameraEditOf(row);
  e.nCovert = 1;
  c = ApplyCameraEdit(row, e);
  EXPECT_TRUE(c.live);
  EXPECT_FALSE(c.record);

  // A shorter title zero-fills the rest of the field.
  e = CameraEditOf(row);
  e.title = "AB";
  c = ApplyCameraEdit(row, e);
  EXPECT_TRUE(c.live);
  EXPECT_EQ(std::vector<uint8_t>(row.title.begin(), row.title.end()),
            (std::vector<uint8_t>{'A', 'B', 0, 0, 0, 0}));
}

TEST(DvrChannelRows, StoredTitleIsFilteredWhenTheEditorOpens) {
  CameraRow row;
  std::memcpy(row.title.data(), "ab-c", 4);
  const CameraEdit e = CameraEditOf(row);
  EXPECT_EQ(e.title, "ABC");
  EXPECT_TRUE(ApplyCameraEdit(row, e).live);
  EXPECT_EQ(CameraTitleText(row), "ABC");
}

TEST(DvrChannelRows, NumericEdits) {
  struct Case {
    const char* text;
    int lo, hi, value;
  } cases[] = {{"300", 0, 255, 255}, {"99", 0, 61, 61},
               {"99", 0, 15, 15},    {"1a2", 0, 255, 12},
               {"", 0, 15, -1},      {"abc", 0, 15, -1},
               {"007", 0, 15, 7},    {"99999999999999999999", 0, 255, 255}};
  for (const auto& c : cases) EXPECT_EQ(ClampDigits(c.text, c.lo, c.hi), c.value) << c.text;
}

}  // namespace
