// The device-information request and reply.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "net/cgi_command_table.h"
#include "net/cgi_param_list.h"
#include "net/device_info_reply.h"

namespace {

struct Entry {
  uint32_t value;
  uint8_t address;
  uint8_t row;
  uint16_t flags;
  bool operator==(const Entry&) const = default;
};

std::vector<Entry> EntriesOf(const C_ControlD& list) {
  std::vector<Entry> out;
  for (int i = 0; i < list.Count(); ++i) {
    const auto& e = list.At(i);
    out.push_back({e.dwBaudRate, e.byAddress, e.byModelRow, e.wSlotFlags});
  }
  return out;
}

void PrintTo(const Entry& e, std::ostream* os) {
  *os << "{" << e.value << "," << int(e.address) << "," << int(e.row) << "," << e.flags << "}";
}

constexpr uint16_t kCh = C_ControlD::kInUse | C_ControlD::kChannelDevice;
constexpr uint16_t kBus = C_ControlD::kInUse | C_ControlD::kBusDevice;

TEST(ApplyDeviceInfoReply, ControlDeviceLists) {
  struct Case {
    const char* name;
    std::string reply;
    bool retrAllowed;
    std::vector<Entry> entries;
    int retrState;  // -1: no R.E.T.R. state set
  };
  const Case cases[] = {
      {"LINKDEVICE wins over MASTERNUM",
       "LINKDEVICE=7;MASTERNUM=2;MID=1;MTYPE=3;MID=2;MTYPE=4;",
       true,
       {{0, 0, 7, kCh}},
       -1},
      {"masters in sequence",
       "MASTERNUM=2;MID=1;MTYPE=3;MID=2;MTYPE=4;",
       true,
       {{2400, 1, 3, kCh}, {2400, 2, 4, kCh}},
       -1},
      {"master type 1 is row 11", "MASTERNUM=1;MID=5;MTYPE=1;", true, {{2400, 5, 11, kCh}}, -1},
      {"missing MID reuses the address",
       "MASTERNUM=2;MID=9;MTYPE=3;MTYPE=6;",
       true,
       {{2400, 9, 3, kCh}, {2400, 9, 6, kCh}},
       -1},
      {"slave protocol 1 on type 1 is row 18, bus kind without MULTICH",
       "SLAVENUM=1;SID=6;STYPE=1;SPROTOCOL=1;",
       true,
       {{2400, 6, 18, kBus}},
       -1},
      {"slaves are channel devices with MULTICH",
       "MULTICH=1;SLAVENUM=2;SID=6;STYPE=3;SPROTOCOL=0;SID=7;STYPE=1;SPROTOCOL=0;",
       true,
       {{2400, 6, 3, kCh}, {2400, 7, 11, kCh}},
       -1},
      {"RETR replaces the list (kind 20)",
       "MASTERNUM=1;MID=1;MTYPE=20;RETR=1;",
       true,
       {{0, 0, 22, kCh}},
       1},
      {"RETR kind 14", "LINKDEVICE=14;RETR=0;", true, {{0, 0, 19, kCh}}, 0},
      {"RETR kind 21", "LINKDEVICE=21;RETR=2;", true, {{0, 0, 23, kCh}}, 2},
      {"a missing SPROTOCOL takes the next slave's",
       "SLAVENUM=2;SID=6;STYPE=1;SID=7;STYPE=1;SPROTOCOL=1;",
       true,
       {{2400, 6, 18, kBus}, {2400, 6, 18, kBus}},
       -1},
      {"RETR with another kind empties the list", "MASTERNUM=1;MID=1;MTYPE=3;RETR=1;", true, {}, 1},
      {"RETR without any kind", "RETR=1;", true, {}, 1},
      {"RETR not allowed", "MASTERNUM=1;MID=1;MTYPE=20;RETR=1;", false, {{2400, 1, 20, kCh}}, -1},
      {"MASTERNUM beyond the items",
       "MASTERNUM=3;MID=4;MTYPE=5;",
       true,
       {{2400, 4, 5, kCh}, {2400, 4, 5, kCh}, {2400, 4, 5, kCh}},
       -1},
  };
  for (const Case& c : cases) {
    C_ControlD list;
    list.SetRETRState(7);  // stays when the reply applies no state
    DeviceInfoRecord record;
    ApplyDeviceInfoReply(KeyValueReply(c.reply), {true, c.retrAllowed}, record, list);
    EXPECT_EQ(EntriesOf(list), c.entries) << c.name;
    EXPECT_EQ(list.RETRState(), c.retrState < 0 ? 7 : c.retrState) << c.name;
  }
}

TEST(ApplyDeviceInfoReply, ListStopsAtThirtyEntries) {
  C_ControlD list;
  DeviceInfoRecord record;
  ApplyDeviceInfoReply(KeyValueReply("MASTERNUM=300;MID=1;MTYPE=2;"), {true, true}, record, list);
  EXPECT_EQ(list.Count(), 30);  // 300 is 44 in eight bits, and the list holds 30
}

DeviceInfoRecord Stale() {
  DeviceInfoRecord r;
  r.dwLifeTimeMinutes = 99;
  r.byMultiChannel = 5;
  r.byVideoMode = 3;
  r.w_UserLevel = 10;
  r.str_BootVersion = "b0";
  r.str_2041Version = "x0";
  r.str_FPGAVersion = "f0";
  return r;
}

TEST(ApplyDeviceInfoReply, Values) {
  struct Case {
    const char* name;
    std::string reply;
    bool full;
    int32_t lifetime;
    uint8_t multi, video;
    uint16_t level;
    std::string boot, v2041, fpga;
  };
  const std::string all =
      "LIFETIME=60;MULTICH=1;VIDEOMODE=2;USERLEVEL=30;Boot-Version=B1;2041-Version=X1;"
      "FPGA-Version=F1;";
  const Case cases[] = {
      {"every item, full", all, true, 60, 1, 2, 30, "B1", "X1", "F1"},
      {"every item, not full: MULTICH untouched", all, false, 60, 5, 2, 30, "B1", "X1", "F1"},
      {"MULTICH absent is 0, LIFETIME absent kept", "VIDEOMODE=1;", true, 99, 0, 1, 10, "b0", "x0",
       "f0"},
      {"low 8 bits of VIDEOMODE", "VIDEOMODE=300;", true, 99, 0, 44, 10, "b0", "x0", "f0"},
      {"low 16 bits of USERLEVEL", "USERLEVEL=65566;", false, 99, 5, 3, 30, "b0", "x0", "f0"},
      {"LIFETIMEX=5 reads as LIFETIME 0", "LIFETIMEX=5;", false, 0, 5, 3, 10, "b0", "x0", "f0"},
      {"LIFETIME -1", "LIFETIME=-1;", false, -1, 5, 3, 10, "b0", "x0", "f0"},
      {"key followed at once by ;, empty value", "LIFETIME;VIDEOMODE=;", true, 99, 0, 0, 10, "b0",
       "x0", "f0"},
      {"empty reply", "", true, 99, 0, 3, 10, "b0", "x0", "f0"},
  };
  for (const Case& c : cases) {
    DeviceInfoRecord r = Stale();
    C_ControlD list;
    ApplyDeviceInfoReply(KeyValueReply(c.reply), {c.full, true}, r, list);
    EXPECT_EQ(r.dwLifeTimeMinutes, c.lifetime) << c.name;
    EXPECT_EQ(r.byMultiChannel, c.multi) << c.name;
    EXPECT_EQ(r.byVideoMode, c.video) << c.name;
    EXPECT_EQ(r.w_UserLevel, c.level) << c.name;
    EXPECT_EQ(r.str_BootVersion, c.boot) << c.name;
    EXPECT_EQ(r.str_2041Version, c.v2041) << c.name;
    EXPECT_EQ(r.str_FPGAVersion, c.fpga) << c.name;
  }
}

TEST(ApplyDeviceInfoReply, NotFullLeavesTheListAlone) {
  C_ControlD list;
  list.Add(1, 2, 3, C_ControlD::kBusDevice);
  DeviceInfoRecord r;
  ApplyDeviceInfoReply(KeyValueReply("LINKDEVICE=7;RETR=1;SLAVENUM=1;SID=1;STYPE=1;"),
                       {false, true}, r, list);
  EXPECT_EQ(EntriesOf(list), (std::vector<Entry>{{1, 2, 3, kBus}}));
}

TEST(DeviceInfoRequest, CallersQueries) {
  struct Case {
    const char* name;
    DeviceInfoRequestParams params;
    const char* expected;
  };
  const Case cases[] = {
      {"worker",
       {"c0ffee", 2, 3, std::nullopt, false},
       "/Getdeviceinfo.cgi?Cookie=c0ffee&RES=2&QUA=3"},
      {"relogin with NEWHR",
       {"c0ffee", 0, 1, 4, true},
       "/Getdeviceinfo.cgi?Cookie=c0ffee&RES=0&QUA=1&CH=4&NEWHR=1"},
      {"relogin without NEWHR",
       {"c0ffee", 0, 1, 0, false},
       "/Getdeviceinfo.cgi?Cookie=c0ffee&RES=0&QUA=1&CH=0"},
      {"no cookie", {"", 1, 1, std::nullopt, false}, "/Getdeviceinfo.cgi?RES=1&QUA=1"},
  };
  for (const Case& c : cases) {
    CGIParamList request(kCgiGetDeviceInfo);
    BuildDeviceInfoRequest(request, c.params);
    EXPECT_STREQ(request.GetBuffer(), c.expected) << c.name;
  }
}

TEST(ClampSelectedChannel, ByDevice) {
  struct Case {
    const char* id;
    uint8_t in, out;
  };
  const Case cases[] = {{"RZ3K", 9, 0}, {"RZ3K", 8, 8},     {"RZ1K", 9, 9}, {"RZ1K", 17, 0},
                        {"RZ4K", 5, 0}, {"RZ4K", 4, 4},     {"RZ2K", 0, 1}, {"RZ2K", 2, 2},
                        {"RZ2K", 3, 1}, {"RZ5M", 200, 200}, {"", 77, 77}};
  for (const Case& c : cases)
    EXPECT_EQ(ClampSelectedChannel(c.id, c.in), c.out) << c.id << int(c.in);
}

}  // namespace

namespace {

TEST(DeviceInfoRules, ByFamilyAndFirmware) {
  struct Case {
    const char* id;
    const char* fw;
    bool fetchesMask, newHeader;
  };
  const Case cases[] = {
      {"RZ1K", "1034", false, false}, {"RZ1K", "1035", true, false}, {"RZ3K", "1045", true, false},
      {"RZ4K", "1046", true, true},   {"RZ1K", "10460", true, true}, {"RZ2K", "1005", false, false},
      {"RZ2K", "1006", false, true},  {"RZ8P", "0001", false, true}, {"RZ5M", "9999", false, false},
      {"ABCD", "1046", false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FetchesCapabilityMask(c.id, c.fw), c.fetchesMask) << c.id << c.fw;
    EXPECT_EQ(UsesNewFrameHeader(c.id, c.fw), c.newHeader) << c.id << c.fw;
  }
  EXPECT_TRUE(RetrItemAllowed("RZ5M", "1035", 0));
  EXPECT_TRUE(RetrItemAllowed("RZ1K", "1034", 0));
  EXPECT_FALSE(RetrItemAllowed("RZ1K", "1035", 0x2));
  EXPECT_TRUE(RetrItemAllowed("RZ1K", "1035", 0x3));
}

}  // namespace
