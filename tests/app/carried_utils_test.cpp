#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/cpu_features.h"
#include "net/firmware_header.h"
#include "tools/ip_record_file.h"
#include "record/pes_scan.h"
#include "platform/tick_timeout.h"
#include "tests/app/temp_folder.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Five marker-interleaved bytes of a 33-bit stamp with the given top nibble.
Bytes StampBytes(uint64_t ts, uint8_t prefix) {
  return {static_cast<uint8_t>(prefix | (((ts >> 30) & 7) << 1) | 1),
          static_cast<uint8_t>(ts >> 22), static_cast<uint8_t>(((ts >> 15) & 0x7F) << 1 | 1),
          static_cast<uint8_t>(ts >> 7), static_cast<uint8_t>((ts & 0x7F) << 1 | 1)};
}

Bytes PesHeader(uint8_t streamId, uint8_t stampBits, uint64_t pts, uint64_t dts) {
  Bytes b = {0x00, 0x00, 0x01, streamId, 0x00, 0x20, 0x80, static_cast<uint8_t>(stampBits << 6),
             0x0A};
  const Bytes p = StampBytes(pts, 0x30);
  const Bytes d = StampBytes(dts, 0x10);
  b.insert(b.end(), p.begin(), p.end());
  b.insert(b.end(), d.begin(), d.end());
  return b;
}

Bytes Padded(Bytes b) {
  b.insert(b.end(), 16, 0xFF);
  return b;
}

struct PesResult {
  int flags;
  uint32_t stamp;
  uint8_t type;
  uint32_t reserved[3];
};

PesResult Scan(const Bytes& b) {
  PesResult r{-1, 0xDEADBEEF, 0xEE, {7, 7, 7}};
  r.flags = ScanPesTimestamp(b.data(), b.size(), &r.stamp, &r.reserved[0], &r.reserved[1],
                             &r.reserved[2], &r.type);
  return r;
}

TEST(ScanPesTimestamp, PictureStartGivesItsType) {
  PesResult r = Scan(Padded({0x00, 0x00, 0x01, 0xB6, 0x40}));
  EXPECT_EQ(r.flags, kPesFlagPicture);
  EXPECT_EQ(r.type, 2);
  EXPECT_EQ(r.reserved[0], 0u);
  EXPECT_EQ(r.reserved[1], 0u);
  EXPECT_EQ(r.reserved[2], 0u);
  // The scan starts as if zero bytes preceded the buffer.
  r = Scan(Padded({0x01, 0xB6, 0xC0}));
  EXPECT_EQ(r.flags, kPesFlagPicture);
  EXPECT_EQ(r.type, 4);
}

TEST(ScanPesTimestamp, PresentationOrDecodingStampLow32Bits) {
  const uint64_t pts = 0x123456789ull, dts = 0x0ABCDEF01ull;
  PesResult r = Scan(Padded(PesHeader(0xE0, 2, pts, dts)));
  EXPECT_EQ(r.flags, kPesFlagTimeStamp);
  EXPECT_EQ(r.stamp, 0x23456789u);
  r = Scan(Padded(PesHeader(0xC0, 3, pts, dts)));
  EXPECT_EQ(r.flags, kPesFlagTimeStamp);
  EXPECT_EQ(r.stamp, 0xABCDEF01u);
  // Neither stamp: passed over.
  r = Scan(Padded(PesHeader(0xD5, 1, pts, dts)));
  EXPECT_EQ(r.flags, 0);
  EXPECT_EQ(r.stamp, 0xDEADBEEFu);
  // A stamp, then a picture start.
  Bytes b = PesHeader(0xE0, 2, pts, dts);
  b.insert(b.end(), {0x00, 0x00, 0x01, 0xB6, 0x80});
  r = Scan(Padded(b));
  EXPECT_EQ(r.flags, kPesFlagTimeStamp | kPesFlagPicture);
  EXPECT_EQ(r.type, 3);
}

TEST(ScanPesTimestamp, StartCodeTooCloseToTheEndIsNotRead) {
  Bytes b = {0x00, 0x00, 0x01, 0xB6, 0x40};
  PesResult r = Scan(b);
  EXPECT_EQ(r.flags, 0);
  EXPECT_EQ(r.type, 0xEE);
  // A stamp header cut short: the last byte of its decoding stamp is missing.
  b = PesHeader(0xE0, 3, 1, 2);
  b.pop_back();
  r = Scan(b);
  EXPECT_EQ(r.flags, 0);
  EXPECT_EQ(Scan({}).flags, 0);
}

std::string Header(const std::string& text) {
  return text + std::string(120, '\x5A');
}

TEST(CheckFirmwareFileHeader, AcceptsOnlyNewerFilesForThisDevice) {
  struct Case {
    std::string file;
    const char* deviceVersion;
    int result;
  } const cases[] = {
      {Header("KELVRA;1040;RZ2KS;"), "1035", kFirmwareHeaderAccepted},
      {Header("KELVRA;1040;RZ2KS;"), "1040", kFirmwareHeaderNotNewer},
      {Header("KELVRA;1040;RZ2KS;"), "1050", kFirmwareHeaderNotNewer},
      {Header("KELVRA;1040;RZ2KS;"), "104", kFirmwareHeaderNotNewer},
      {Header("KELVRA;10400;RZ2KS;"), "1035", kFirmwareHeaderNotNewer},
      {Header("KELVRB;1040;RZ2KS;"), "1035", kFirmwareHeaderOtherDevice},
      {Header("KELVRA;1040;RZ2K;"), "1035", kFirmwareHeaderOtherDevice},
      {Header("KELVRA;1040;RZ2KS"), "1035", kFirmwareHeaderOtherDevice},
      {Header(std::string(90, 'K') + ";1040;RZ2KS;"), "1035", kFirmwareHeaderOtherDevice},
      {"KELVRA;1040;", "1035", kFirmwareHeaderOtherDevice},
  };
  for (const auto& c : cases) {
    uint32_t length = 12345;
    const int result = CheckFirmwareFileHeader(reinterpret_cast<const uint8_t*>(c.file.data()),
                                               c.file.size(), 0, &length, c.deviceVersion);
    EXPECT_EQ(result, c.result) << c.file.substr(0, 20) << " on " << c.deviceVersion;
    EXPECT_EQ(length, result == kFirmwareHeaderAccepted ? 18u : 12345u);
  }
}

TEST(TickTimeout, ReachedAfterItsTime) {
  EXPECT_EQ(StartTickTimeout(), 1);
  EXPECT_EQ(TickTimeoutReached(0), 1);
  EXPECT_EQ(StartTickTimeout(), 1);
  EXPECT_EQ(TickTimeoutReached(100000), 0);
  EXPECT_EQ(TickTimeoutReached(0), 1);
}

TEST(IsMmxSupported, TrueOnEveryX86_64) {
#if defined(__x86_64__)
  EXPECT_EQ(IsMmxSupported(), 1);
#else
  EXPECT_GE(IsMmxSupported(), 0);
#endif
}

TEST(EnsureIPRecordFile, KeepsCopiesOrCreates) {
  TempFolder exe, system;
  // Copied from the system folder when missing.
  TempFolder::Write(system.File("IPRecord.dat"), std::string("book\0data", 9));
  EXPECT_EQ(EnsureIPRecordFile(exe.Dir(), system.Dir()), 1);
  EXPECT_EQ(TempFolder::Read(exe.File("IPRecord.dat")), std::string("book\0data", 9));
  // An existing file is kept as it is.
  TempFolder::Write(exe.File("IPRecord.dat"), "mine");
  EXPECT_EQ(EnsureIPRecordFile(exe.Dir(), system.Dir()), 1);
  EXPECT_EQ(TempFolder::Read(exe.File("IPRecord.dat")), "mine");
  // Neither: an empty file.
  TempFolder fresh, emptySystem;
  EXPECT_EQ(EnsureIPRecordFile(fresh.Dir(), emptySystem.Dir()), 1);
  EXPECT_TRUE(std::filesystem::exists(fresh.File("IPRecord.dat")));
  EXPECT_EQ(std::filesystem::file_size(fresh.File("IPRecord.dat")), 0u);
  // A folder that does not exist.
  EXPECT_EQ(EnsureIPRecordFile(fresh.File("missing") + "/", system.Dir()), 0);
}

}  // namespace
