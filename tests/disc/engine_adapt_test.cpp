// The loader's decisions: version numbers, media masks, drive-entry conversion, library path and
// "PATH".
#include "disc/engine_adapt.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

using namespace disc;

TEST(EngineVersionTest, NumbersAndParts) {
  EXPECT_EQ(NumberFromVersion({6, 6, 0, 14}), 6609u);
  EXPECT_EQ(NumberFromVersion({5, 5, 9, 16}), 5599u);
  EXPECT_EQ(NumberFromVersion({12, 0, 3, 4}), 9034u);
  EXPECT_EQ(VersionFromNumber(5555), (EngineVersion{5, 5, 5, 5}));
  EXPECT_EQ(VersionFromNumber(6609), (EngineVersion{6, 6, 0, 9}));
  EXPECT_EQ(VersionFromNumber(15564), (EngineVersion{5, 5, 6, 4}));
  EXPECT_FALSE(VersionFromNumber(0));

  EXPECT_TRUE(VersionAtLeast({6, 3, 0, 5}, {6, 3, 0, 5}));
  EXPECT_TRUE(VersionAtLeast({6, 6, 0, 0}, {6, 3, 0, 5}));
  EXPECT_FALSE(VersionAtLeast({6, 3, 0, 4}, {6, 3, 0, 5}));
  EXPECT_FALSE(VersionAtLeast({5, 9, 9, 99}, {6, 0, 0, 0}));
  EXPECT_TRUE(VersionAtLeast({6, 0, 0, 65535}, {6, 0, 0, 10}));
}

TEST(EngineVersionTest, MediaMasks) {
  struct Case {
    std::optional<EngineVersion> v;
    uint32_t mask;
    bool toEngine;
    uint32_t want;
  };
  const Case cases[] = {
      {EngineVersion{6, 6, 0, 14}, 0xC001C, true, 0xC001C},
      {EngineVersion{6, 3, 0, 5}, 0x1C, false, 0x1C},
      {EngineVersion{6, 3, 0, 4}, 0xC001C, true, 0x1C},
      {EngineVersion{6, 0, 0, 10}, 0xFFFFF, true, 0x1C},
      {EngineVersion{6, 0, 0, 10}, 0x1C, false, 0xC001C},
      {EngineVersion{6, 0, 0, 10}, 0x0C, false, 0x0C},
      {EngineVersion{6, 0, 0, 10}, 0x1, true, 0x1},
      {EngineVersion{6, 0, 0, 9}, 0xC001C, true, 0xC},
      {EngineVersion{5, 5, 9, 16}, 0xC, false, 0xC001C},
      {std::nullopt, 0xC001C, true, 0xC},
      {std::nullopt, 0x1E, false, 0xC001C},
      {std::nullopt, 0x4, false, 0x4},
      {std::nullopt, 0x1C, true, 0x1C},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ConvertMediaType(c.mask, c.toEngine, c.v), c.want)
        << std::hex << c.mask << (c.toEngine ? " to" : " from");
  }
}

TEST(EngineVersionTest, TrackAndBurnAdapters) {
  using V = std::optional<EngineVersion>;
  EXPECT_TRUE(TrackNeedsNewFacade(std::nullopt));
  EXPECT_TRUE(TrackNeedsNewFacade(V{{5, 5, 9, 15}}));
  EXPECT_FALSE(TrackNeedsNewFacade(V{{5, 5, 9, 16}}));
  EXPECT_FALSE(TrackNeedsNewFacade(V{{6, 6, 0, 14}}));
  EXPECT_TRUE(TrackCreatedDirectly(V{{6, 0, 0, 0}}));
  EXPECT_FALSE(TrackCreatedDirectly(V{{5, 5, 9, 25}}));
  EXPECT_FALSE(TrackCreatedDirectly(std::nullopt));
  EXPECT_TRUE(NeedsOldTrackFacade(V{{5, 5, 9, 15}}));
  EXPECT_FALSE(NeedsOldTrackFacade(V{{5, 5, 9, 16}}));
  EXPECT_TRUE(NeedsBurnMediaConversion(V{{6, 3, 0, 4}}));
  EXPECT_FALSE(NeedsBurnMediaConversion(V{{6, 6, 0, 14}}));
  EXPECT_EQ(BurnMediaTypeOffset(0), 24);
  EXPECT_EQ(BurnMediaTypeOffset(3), 36);
  EXPECT_EQ(BurnMediaTypeOffset(4), 8);
  EXPECT_EQ(BurnMediaTypeOffset(1001), 12);
  EXPECT_EQ(BurnMediaTypeOffset(1), -1);
  EXPECT_EQ(BurnIsoTrackOffset(1), 8);
  EXPECT_EQ(BurnIsoTrackOffset(3), 12);
  EXPECT_EQ(BurnIsoTrackOffset(4), -1);
  EXPECT_TRUE(SkipsDoneCall(5564) && SkipsDoneCall(5566));
  EXPECT_FALSE(SkipsDoneCall(5563) || SkipsDoneCall(5567));
}

TEST(DriveEntryTest, CurrentToOldKeepsNineteenSpeedsAndTheLast) {
  auto cur = std::make_unique<EngineDeviceEntry>();
  std::memset(cur.get(), 0, sizeof *cur);
  std::memset(cur->szDeviceName, 'N', sizeof cur->szDeviceName);  // no terminator
  std::strcpy(cur->szHostAdapterName, "atapi");
  cur->nHostAdapterNo = 3;
  cur->nDeviceID = 7;
  cur->nDeviceType = 2;
  cur->cDriveLetter = 'E';
  cur->nCapabilities = 0x1234;
  cur->writeSpeeds.nSpeedCount = 25;
  for (uint32_t i = 0; i < 25; ++i) cur->writeSpeeds.nSpeedsMultiples[i] = i + 1;
  cur->readSpeeds.nSpeedCount = 2;
  cur->readSpeeds.nSpeedsMultiples[0] = 8;
  cur->readSpeeds.nSpeedsMultiples[1] = 16;
  cur->nDriverHandle = 0x55;
  std::strcpy(cur->szUnderrunProtName, "guard");
  cur->nMandatoryUnderrunSpeed = 4;

  OldEngineDeviceEntry old;
  std::memset(&old, 0xAB, sizeof old);
  CurrentEntryToOld(*cur, &old);
  EXPECT_EQ(std::string(old.szDeviceName), std::string(31, 'N'));
  EXPECT_STREQ(old.szHostAdapterName, "atapi");
  EXPECT_EQ(old.nHostAdapterNo, 3u);
  EXPECT_EQ(old.nDeviceID, 7u);
  EXPECT_EQ(old.nDeviceType, 2u);
  EXPECT_EQ(old.cDriveLetter, 'E');
  EXPECT_EQ(old.nCapabilities, 0x1234u);
  EXPECT_EQ(old.nWriteSpeedCount, 20u);
  for (uint32_t i = 0; i < 19; ++i) EXPECT_EQ(old.nWriteSpeeds[i], i + 1);
  EXPECT_EQ(old.nWriteSpeeds[19], 25u);
  EXPECT_EQ(old.nReadSpeedCount, 2u);
  EXPECT_EQ(old.nReadSpeeds[1], 16u);
  EXPECT_EQ(old.nDriverHandle, 0x55u);
  EXPECT_STREQ(old.szUnderrunProtName, "guard");
  EXPECT_EQ(old.nMandatoryUnderrunSpeed, 4u);
  EXPECT_EQ(old.reserved[0], 0xAB);  // bytes 268 on are not written

  // And back: speeds in both units, a three-character adapter name, nothing else left over.
  auto back = std::make_unique<EngineDeviceEntry>();
  std::memset(back.get(), 0xCD, sizeof *back);
  OldEntryToCurrent(old, back.get());
  EXPECT_EQ(std::string(back->szDeviceName), std::string(31, 'N'));
  EXPECT_STREQ(back->szHostAdapterName, "ata");
  EXPECT_EQ(back->writeSpeeds.nSpeedCount, 20u);
  EXPECT_EQ(back->writeSpeeds.nBaseSpeedKBs, 150u);
  EXPECT_EQ(back->writeSpeeds.nSpeedsMultiples[19], 25u);
  EXPECT_EQ(back->writeSpeeds.nSpeedsKBs[19], 25u * 150);
  EXPECT_EQ(back->writeSpeeds.nSpeedsKBs[20], 0u);
  EXPECT_EQ(back->nDriverHandle, 0x55u);
  EXPECT_EQ(back->reserved[0], 0);
}

TEST(DriveEntryTest, OldEntryWithAnOverlongCountStaysInside) {
  OldEngineDeviceEntry old{};
  old.nWriteSpeedCount = 1000;
  for (auto& s : old.nWriteSpeeds) s = 4;
  auto cur = std::make_unique<EngineDeviceEntry>();
  OldEntryToCurrent(old, cur.get());
  EXPECT_EQ(cur->writeSpeeds.nSpeedsKBs[19], 600u);
  EXPECT_EQ(cur->writeSpeeds.nSpeedsKBs[20], 0u);
}

TEST(LibraryPathTest, FromTheRegistry) {
  using S = std::optional<std::string>;
  struct Case {
    const char* name;
    S shared, appPaths;
    const char* folder;
    const char* library;
    S store;
  };
  const std::string longFolder = "C:\\" + std::string(240, 'x');  // 243 characters
  const Case cases[] = {
      {"closing backslash rewritten", S{"C:\\Engine\\"}, S{"D:\\Other"}, "C:\\Engine\\",
       "C:\\Engine\\NeroAPI.dll", S{"C:\\Engine"}},
      {"plain folder", S{"C:\\Engine"}, std::nullopt, "C:\\Engine", "C:\\Engine\\NeroAPI.dll",
       std::nullopt},
      {"app paths copied", std::nullopt, S{"C:\\Apps\\"}, "C:\\Apps\\", "C:\\Apps\\\\NeroAPI.dll",
       S{"C:\\Apps\\"}},
      {"empty shared value falls back", S{""}, S{"C:\\Apps"}, "C:\\Apps", "C:\\Apps\\NeroAPI.dll",
       S{"C:\\Apps"}},
      {"nothing", std::nullopt, std::nullopt, "", "", std::nullopt},
      {"too long", S{longFolder}, std::nullopt, longFolder.c_str(), "", std::nullopt},
      {"too long app path still stored", std::nullopt, S{longFolder}, longFolder.c_str(), "",
       S{longFolder}},
  };
  for (const Case& c : cases) {
    const LibraryPlan p = PlanLibraryPath(c.shared, c.appPaths);
    EXPECT_EQ(p.folder, c.folder) << c.name;
    EXPECT_EQ(p.libraryPath, c.library) << c.name;
    EXPECT_EQ(p.storeFolder, c.store) << c.name;
  }
}

TEST(LibraryPathTest, PathHoldsTheFolder) {
  struct Case {
    const char* path;
    const char* folder;
    bool has;
  };
  const Case cases[] = {
      {"C:\\windows;C:\\Engine", "C:\\Engine", true},
      {"C:\\windows;c:\\engine\\", "C:\\Engine", true},
      {"C:\\ENGINE;C:\\windows", "C:\\Engine\\", true},
      {"C:\\Engine2;C:\\Engin", "C:\\Engine", false},
      {";;C:\\Engine;", "C:\\Engine", true},
      {"", "C:\\Engine", false},
      {"\\", "\\", false},
  };
  for (const Case& c : cases) EXPECT_EQ(PathHasFolder(c.path, c.folder), c.has) << c.path;
  EXPECT_EQ(PathWithFolder(std::string("C:\\a"), "C:\\Engine\\"), "C:\\Engine\\;C:\\a");
  EXPECT_EQ(PathWithFolder(std::string("c:\\ENGINE;C:\\a"), "C:\\Engine"), "c:\\ENGINE;C:\\a");
  EXPECT_EQ(PathWithFolder(std::nullopt, "C:\\Engine"), "C:\\Engine;");
}
