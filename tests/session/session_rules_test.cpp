// The relogin thread's schedule and choices, the lifetime limit and the player's command line:
// pure rules, run natively and under Wine.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "session/player_launch_text.h"
#include "session/relogin_schedule.h"

namespace {

TEST(ReloginBackoff, GrowsEveryTwoThousandFailuresUpToThirtySeconds) {
  const struct {
    uint64_t failures;
    uint32_t ms;
  } cases[] = {{0, 3000},
               {1, 3000},
               {1999, 3000},
               {2000, 6000},
               {3999, 6000},
               {4000, 9000},
               {17999, 27000},
               {18000, 30000},
               {18001, 30000},
               {1000000, 30000},
               {std::numeric_limits<uint64_t>::max(), 30000}};
  for (const auto& c : cases) EXPECT_EQ(ReloginBackoffMs(c.failures), c.ms) << c.failures;
}

TEST(ReloginBackoff, FollowsAShortenedSchedule) {
  const ReloginBackoff quick{10, 25, 2};
  EXPECT_EQ(ReloginBackoffMs(0, quick), 10u);
  EXPECT_EQ(ReloginBackoffMs(1, quick), 10u);
  EXPECT_EQ(ReloginBackoffMs(2, quick), 20u);
  EXPECT_EQ(ReloginBackoffMs(4, quick), 25u);  // 30 is over the cap
}

TEST(ReloginControlEntry, FollowsTheDeviceFamily) {
  const struct {
    const char* product;
    uint8_t multiChannel, selected;
    int entry;
  } cases[] = {
      {"RZ1K", 1, 3, 3}, {"RZ1K", 0, 3, 0},  {"RZ3K", 1, 0, 0}, {"RZ4K", 2, 2, 2},
      {"RZ5M", 1, 3, 0}, {"RZ6M", 0, 0, 0},  {"RZ7M", 0, 5, 0}, {"RZ8P", 1, 4, 0},
      {"RZ2K", 0, 1, 0}, {"RZ2K", 0, 2, 1},  {"RZ2K", 1, 0, 1}, {"ABCD", 1, 1, -1},
      {"", 0, 0, -1},    {"rz1k", 1, 1, -1},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ReloginControlEntryIndex(c.product, c.multiChannel, c.selected), c.entry)
        << c.product << " " << int{c.multiChannel} << " " << int{c.selected};
}

TEST(Lifetime, ReachesMinutesTimesSixtyWithoutWrapping) {
  EXPECT_FALSE(LifetimeReached(59, 1));
  EXPECT_TRUE(LifetimeReached(60, 1));
  EXPECT_TRUE(LifetimeReached(1, 0));  // LIFETIME 0 ends at once
  // 71582789 minutes is more than 2^32 seconds: a 32-bit product would wrap to 20 s.
  EXPECT_FALSE(LifetimeReached(20, 71582789));
  EXPECT_FALSE(LifetimeReached(UINT32_MAX, 71582789));
  EXPECT_FALSE(LifetimeReached(UINT32_MAX, std::numeric_limits<int32_t>::max()));
  // A negative count other than -1 is a very large unsigned count.
  EXPECT_FALSE(LifetimeReached(UINT32_MAX, -2));
}

TEST(IpAddressText, TellsDottedAddressesFromHostNames) {
  EXPECT_EQ(IsIpAddressText("10.1.2.3"), 2);
  EXPECT_EQ(IsIpAddressText(""), 2);
  EXPECT_EQ(IsIpAddressText("..."), 2);
  EXPECT_EQ(IsIpAddressText("dvr.example"), 1);
  EXPECT_EQ(IsIpAddressText("10.1.2.3a"), 1);
  EXPECT_EQ(IsIpAddressText("10.1.2.3 "), 1);
}

TEST(PlayerLaunch, AddsTheOptionAndNeverCutsThePath) {
  EXPECT_EQ(FinishedDownloadCommandLine("C:\\My Backup\\CH01_0001.dvr").value(),
            "C:\\My Backup\\CH01_0001.dvr CONVERT=0");
  EXPECT_EQ(FinishedDownloadCommandLine("").value(), " CONVERT=0");
  const std::string longest(kPlayerCommandLineMax - 10, 'a');
  ASSERT_TRUE(FinishedDownloadCommandLine(longest).has_value());
  EXPECT_EQ(FinishedDownloadCommandLine(longest)->size(), kPlayerCommandLineMax);
  EXPECT_FALSE(FinishedDownloadCommandLine(longest + "b").has_value());
}

TEST(PlayerLaunch, JoinsTheProgramFolderWithOneSeparator) {
#ifdef _WIN32
  EXPECT_EQ(PlayerProgramPath("C:\\Ostrova\\"), "C:\\Ostrova\\Quendor.exe");
  EXPECT_EQ(PlayerProgramPath("C:\\Ostrova"), "C:\\Ostrova\\Quendor.exe");
#else
  EXPECT_EQ(PlayerProgramPath("/opt/ostrova/"), "/opt/ostrova/Quendor.exe");
#endif
}

}  // namespace
