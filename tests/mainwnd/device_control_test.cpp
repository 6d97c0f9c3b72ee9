// Device control: the command map, keys to the current unit, the slave refresh, the channel
// switch and what the stream's channel changes; the channel bar's pages and placements.
#include "mainwnd/device_control.h"
#include "tests/support/hex_text.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

// Rows 19 (recorder) and 18 (PTZ head) with a few keys.
const char kFile[] =
    "[DEVICE NUMBER]\n2\n"
    "[DEVICE NAME]\nTRV 941 DVR\n"
    "[CH1]\nX03 XA0 X%D X%2\n"
    "[FOCUS_IN]\nX02 XB0 X%1\n"
    "[JOYSTICK_MENU]\nX01 X52\n"
    "[SEARCH]\nX00\n"
    "[POWER]\nX02 XC0 X%D\n"
    "[DEVICE NAME]\nPTZ PELCO\n"
    "[AUTO]\nX07 XFF X%D X00 X04 X20 X00 X%6\n"
    "[CH1]\nX01 X11\n";

class FakePort : public DeviceControlPort {
 public:
  FakePort() {
    ParseCtrlFileText(kFile, m_file, nullptr);
    m_links = MapProtocolsToDevices(m_file.records);
  }
  DeviceControlState State() const override { return state; }
  DeviceReply Send(const DeviceRequest& r) override {
    sent.push_back(r.query + (r.body.empty() ? "" : " | " + testsupport::SpacedHex(r.body)));
    capacities.push_back(r.replyCapacity);
    const bool ok = !failing;
    return {ok, replies.count(r.command) ? replies.at(r.command) : std::string()};
  }
  void ShowMessage(uint32_t id) override { messages.push_back(id); }
  const CtrlDeviceRecord* RecordOfModelRow(uint8_t row) const override {
    return row < kModelRowCount ? m_links[row] : nullptr;
  }
  void ApplyLayout() override { ++layouts; }
  void PlaceChannelButtons() override { ++placements; }
  void SetChannelButtonStates() override { ++stateChanges; }
  void Minimise() override { actions.push_back("minimise"); }
  void EnterFullScreen() override { actions.push_back("full screen"); }
  void CloseMainWindow() override { actions.push_back("close"); }
  void OpenPlaybackSearch() override { actions.push_back("playback search"); }

  DeviceControlState state;
  bool failing = false;
  std::map<uint8_t, std::string> replies;
  std::vector<std::string> sent;
  std::vector<uint32_t> capacities;
  std::vector<uint32_t> messages;
  std::vector<std::string> actions;
  int layouts = 0, placements = 0, stateChanges = 0;

 private:
  CtrlFileContents m_file;
  std::array<const CtrlDeviceRecord*, kModelRowCount> m_links{};
};

// Device control over a fake port, its list and channel bar.
struct ControlParts {
  FakePort port;
  C_ControlD list;
  ChannelBarModel bar;
  uint8_t selected = 0;
  DeviceControl control{port, list, bar, selected};
};

struct Fixture : ControlParts {
  // A recorder (row 19) and a PTZ head of row 18 at address 3 in the given group.
  explicit Fixture(const char* product = "RZ1K", uint8_t multi = 0, uint16_t camGroup = CDS_PTZ) {
    port.state.productId = product;
    port.state.byMultiChannel = multi;
    port.state.byAccessClass = 0;
    port.state.cookie = "C0";
    list.Add(0, 0, 19, CDS_CHANNEL);
    list.Add(2400, 3, 18, camGroup);
    list.MakeCurrent(CDS_CHANNEL, 0);
    bar.Init(product, multi, selected);
  }
};

TEST(ToolCommands, Map) {
  struct Case {
    uint16_t id;
    ToolCommandKind kind;
    int value;
    bool turbo;
  };
  using K = ToolCommandKind;
  const Case cases[] = {
      {8200, K::kMinimise, 0, false}, {8201, K::kFullScreen, 0, false},
      {8202, K::kClose, 0, false},    {8410, K::kChannel, 0, false},
      {8426, K::kChannel, 16, false}, {8427, K::kPrevPage, 0, false},
      {8428, K::kNextPage, 0, false}, {8250, K::kKey, 0, false},
      {8265, K::kKey, 15, false},     {8322, K::kKey, 16, false},
      {8321, K::kKey, 17, false},     {8273, K::kKey, 20, false},
      {8573, K::kKey, 20, false},     {8283, K::kKey, 24, false},
      {8285, K::kKey, 26, false},     {8288, K::kKey, 29, false},
      {8291, K::kKey, 30, true},      {8292, K::kKey, 31, true},
      {8289, K::kKey, 32, true},      {8290, K::kKey, 33, true},
      {8314, K::kKey, 35, false},     {8323, K::kKey, 36, false},
      {8328, K::kKey, 41, false},     {8220, K::kKey, 42, false},
      {8222, K::kKey, 43, false},     {8232, K::kKey, 53, false},
      {8240, K::kKey, 54, true},      {8241, K::kKey, 55, true},
      {8242, K::kKey, 56, false},     {8243, K::kKey, 57, true},
      {8244, K::kKey, 58, true},      {8350, K::kKey, 62, false},
      {8351, K::kKey, 63, false},     {8353, K::kKey, 64, false},
      {8355, K::kKey, 66, false},     {8319, K::kPlaybackSearch, 0, false},
      {8310, K::kPanel, 0, false},    {8356, K::kPanel, 0, false},
      {8284, K::kNone, 0, false},     {8221, K::kNone, 0, false},
      {8233, K::kNone, 0, false},     {8352, K::kNone, 0, false},
      {8409, K::kNone, 0, false},     {8429, K::kNone, 0, false},
  };
  int keys = 0;
  for (const Case& c : cases) {
    const ToolCommand t = ToolCommandOf(c.id);
    EXPECT_EQ(t.kind, c.kind) << c.id;
    EXPECT_EQ(t.value, c.value) << c.id;
    EXPECT_EQ(t.turbo, c.turbo) << c.id;
  }
  for (uint32_t id = 8000; id < 9000; ++id) keys += ToolCommandOf(uint16_t(id)).kind == K::kKey;
  EXPECT_EQ(keys, 64);  // 63 keys; 8 CUT shares 16 CUT's
}

TEST(DeviceControl, KeysToTheRecorder) {
  Fixture f;
  EXPECT_TRUE(f.control.OnCommand(8250));
  f.port.state.fTurboOn = true;
  f.port.state.byTurboStep = 5;
  f.control.OnCommand(8289);  // FOCUS Near repeats with turbo
  f.control.OnCommand(8250);  // a channel key never does
  f.port.state.fTurboOn = false;
  f.control.OnCommand(8289);
  const std::vector<std::string> expected = {
      "/RS485Cmd.cgi?Control=RZ1K&MASTER=1&Cookie=C0 | 03 A0 00 A0 01 32",
      "/RS485Cmd.cgi?Control=RZ1K&MASTER=1&Cookie=C0 | 02 B0 3C 05 32",
      "/RS485Cmd.cgi?Control=RZ1K&MASTER=1&Cookie=C0 | 03 A0 00 A0 01 32",
      "/RS485Cmd.cgi?Control=RZ1K&MASTER=1&Cookie=C0 | 02 B0 3C 01 32",
  };
  EXPECT_EQ(f.port.sent, expected);
  EXPECT_TRUE(f.port.messages.empty());
}

TEST(DeviceControl, KeysToAPtzHead) {
  Fixture f;
  ASSERT_EQ(f.list.MakeCurrent(CDS_PTZ, 0), 0);
  f.control.OnCommand(8250);
  f.control.OnCommand(8283);  // AUTO of row 18 carries no protocol parameters
  const std::vector<std::string> expected = {
      "/RS485Cmd.cgi?Control=RZ1K&CH=0&MASTER=0&PELOCO=1&PROTOCOL=PELCO&Cookie=C0 | 01 11 01 32",
      "/RS485Cmd.cgi?Control=RZ1K&CH=0&MASTER=0&Cookie=C0 | 07 FF 00 00 04 20 00 24 01 32",
  };
  EXPECT_EQ(f.port.sent, expected);
}

TEST(DeviceControl, MenuGate) {
  struct Case {
    const char* product;
    uint8_t accessClass;
    bool sent;
  };
  const Case cases[] = {{"RZ3K", 2, false}, {"RZ3K", 3, false}, {"RZ3K", 1, true},
                        {"RZ3K", 0, true},  {"RZ2K", 2, true},  {"RZ8P", 3, true}};
  for (const Case& c : cases) {
    Fixture f(c.product);
    f.port.state.byAccessClass = c.accessClass;
    EXPECT_TRUE(f.control.OnCommand(8242));
    EXPECT_EQ(f.port.sent.size(), c.sent ? 1u : 0u) << c.product << int(c.accessClass);
    EXPECT_TRUE(f.port.messages.empty());
  }
}

TEST(DeviceControl, Failures) {
  struct Case {
    const char* name;
    uint8_t row;
    uint16_t id;
    bool failing;
    std::vector<uint32_t> messages;
    size_t sent;
  };
  const Case cases[] = {
      {"row without a record", 5, 8250, false, {4093}, 0},
      {"row past the table", 30, 8250, false, {4093}, 0},
      {"key without a command", 19, 8224, false, {4084}, 0},
      {"key without a line", 19, 8251, false, {4084}, 0},
      {"device fails", 19, 8250, true, {4065}, 1},
  };
  for (const Case& c : cases) {
    Fixture f;
    f.list.Clear();
    f.list.Add(0, 0, c.row, CDS_CHANNEL);
    f.port.failing = c.failing;
    f.control.OnCommand(c.id);
    EXPECT_EQ(f.port.messages, c.messages) << c.name;
    EXPECT_EQ(f.port.sent.size(), c.sent) << c.name;
  }
}

TEST(DeviceControl, TitleAndOtherCommands) {
  Fixture f;
  for (uint16_t id : {8200, 8201, 8202, 8319}) EXPECT_TRUE(f.control.OnCommand(id));
  EXPECT_FALSE(f.control.OnCommand(8312));  // the PTZ panel's own handlers
  EXPECT_FALSE(f.control.OnCommand(1));
  EXPECT_EQ(f.port.actions,
            (std::vector<std::string>{"minimise", "full screen", "close", "playback search"}));
  EXPECT_TRUE(f.port.sent.empty());
}

TEST(PanelButtons, TogglesAndTurboFaces) {
  EXPECT_EQ(TurboToggled(false).on, true);
  EXPECT_EQ(TurboToggled(false).buttonState, 1);
  EXPECT_EQ(TurboToggled(false).tipHalf, 0);  // "TURBO_ON"
  EXPECT_EQ(TurboToggled(true).buttonState, 0);
  EXPECT_EQ(TurboToggled(true).tipHalf, 1);  // "TURBO_OFF"
  EXPECT_EQ(ActionPresetToggled(false).on, true);
  EXPECT_EQ(ActionPresetToggled(false).tipHalf, 1);  // "PRESET"
  EXPECT_EQ(ActionPresetToggled(true).buttonState, 0);
  EXPECT_EQ(ActionPresetToggled(true).tipHalf, 0);  // "ACTION"
}

TEST(DeviceControl, RetrAsksForTheOppositeOfTheReportedState) {
  Fixture f;
  EXPECT_EQ(f.control.OnRetr(), 1);
  f.list.SetRETRState(1);
  EXPECT_EQ(f.control.OnRetr(), 1);
  EXPECT_EQ(f.list.GetRETRState(), 1);  // only the device's report changes it
  f.port.failing = true;
  f.port.state.cookie.clear();
  EXPECT_EQ(f.control.OnRetr(), 0);
  const std::vector<std::string> expected = {"/SetRetr.cgi?Cookie=C0&SET=1",
                                             "/SetRetr.cgi?Cookie=C0&SET=0", "/SetRetr.cgi?SET=0"};
  EXPECT_EQ(f.port.sent, expected);
  EXPECT_EQ(f.port.messages, std::vector<uint32_t>{4065});
}

TEST(DeviceControl, Power) {
  struct Case {
    const char* name;
    bool session;
    uint8_t row;
    std::vector<uint32_t> messages;
    std::vector<std::string> sent;
  };
  const Case cases[] = {
      {"no session", false, 19, {4034}, {}},
      {"no record", true, 5, {4093}, {}},
      {"repeat 1 while turbo is on",
       true,
       19,
       {},
       {"/RS485Cmd.cgi?Control=RZ1K&MASTER=1&Cookie=C0 | 02 C0 00 01 32"}},
  };
  for (const Case& c : cases) {
    Fixture f;
    f.list.Clear();
    f.list.Add(0, 0, c.row, CDS_CHANNEL);
    f.port.state.fSessionActive = c.session;
    f.port.state.fTurboOn = true;
    EXPECT_EQ(f.control.OnPower(), c.messages.empty() ? 1 : 0) << c.name;
    EXPECT_EQ(f.port.messages, c.messages) << c.name;
    EXPECT_EQ(f.port.sent, c.sent) << c.name;
  }
}

TEST(SlaveList, Parse) {
  struct Case {
    const char* reply;
    std::vector<std::pair<int, int>> units;
  };
  const Case cases[] = {
      {"SLAVENUM=3;SID=1;STYPE=1;SPROTOCOL=0;SID=2;STYPE=1;SPROTOCOL=1;SID=7;STYPE=8;"
       "SPROTOCOL=1;",
       {{1, 11}, {2, 18}, {7, 8}}},
      {"SLAVENUM=0;SID=1;STYPE=1;", {}},
      {"", {}},
      {"SLAVENUM=2;SID=4;STYPE=1;", {{4, 11}, {4, 11}}},  // missing items keep the last values
      {"SLAVENUM=99;SID=4;STYPE=1;", std::vector<std::pair<int, int>>(30, {4, 11})},
  };
  for (const Case& c : cases) {
    std::vector<std::pair<int, int>> units;
    for (const SlaveUnit& u : ParseSlaveList(c.reply)) units.push_back({u.byAddress, u.byModelRow});
    EXPECT_EQ(units, c.units) << c.reply;
  }
}

TEST(DeviceControl, ChannelButtonsRefreshThenSwitch) {
  Fixture f("RZ1K", 1, CDS_CHANNEL);
  f.list.Add(2400, 4, 11, CDS_CHANNEL);
  f.port.replies[19] = "SLAVENUM=2;SID=5;STYPE=1;SPROTOCOL=1;SID=6;STYPE=1;SPROTOCOL=0;";
  // The stream shows camera 2; keys go to it.
  f.control.SetCurrentChannel(2);
  EXPECT_EQ(f.list.CurrentIndex(), 2);
  EXPECT_EQ(f.selected, 2);
  f.port.layouts = 0;

  f.control.OnCommand(8410);  // DVR: refresh, then ask for channel 0
  const std::vector<std::string> expected = {"/PTZReset.cgi?Cookie=C0",
                                             "/SetChannel.cgi?Cookie=C0&CH=0"};
  EXPECT_EQ(f.port.sent, expected);
  ASSERT_EQ(f.list.Count(), 3);
  EXPECT_EQ(f.list.At(0).byModelRow, 19);
  EXPECT_EQ(f.list.At(1).byModelRow, 18);
  EXPECT_EQ(f.list.At(1).byAddress, 5);
  EXPECT_EQ(f.list.At(2).byModelRow, 11);
  EXPECT_EQ(f.list.CurrentIndex(), 2);  // still the camera on screen until the stream moves
  EXPECT_EQ(f.port.layouts, 1);

  f.port.sent.clear();
  f.control.OnCommand(8412);  // the channel already shown: only the refresh
  EXPECT_EQ(f.port.sent, std::vector<std::string>{"/PTZReset.cgi?Cookie=C0"});

  f.port.sent.clear();
  f.port.failing = true;
  f.control.OnCommand(8411);
  EXPECT_EQ(f.port.messages, (std::vector<uint32_t>{4065, 4064}));
}

TEST(DeviceControl, ChannelOnOtherFamilies) {
  Fixture rz2k("RZ2K");
  EXPECT_EQ(rz2k.selected, 1);  // 0 starts on channel 1
  rz2k.control.OnCommand(8412);
  EXPECT_EQ(rz2k.port.sent, std::vector<std::string>{"/SetChannel.cgi?Cookie=C0&CH=2"});
  rz2k.control.SetCurrentChannel(2);
  EXPECT_EQ(rz2k.list.CurrentIndex(), 0);  // position 1 of the channel group: none here
  Fixture noBar("RZ1K", 0);
  noBar.control.OnCommand(8411);
  EXPECT_TRUE(noBar.port.sent.empty());
  noBar.control.SetCurrentChannel(3);
  EXPECT_EQ(noBar.port.layouts, 0);
}

// A recorder (row 21) with twelve PTZ cameras of row 11 at addresses 11-22 behind it.
struct PtzFixture : ControlParts {
  explicit PtzFixture(const char* product = "RZ2K") {
    port.state.productId = product;
    port.state.firmware = "1060";
    port.state.byAccessClass = 0;
    port.state.cookie = "C0";
    list.Add(0, 0, 21, CDS_CHANNEL);
    for (uint8_t i = 0; i < 12; ++i) list.Add(2400, uint8_t(11 + i), 11, CDS_PTZ);
    list.MakeCurrent(CDS_CHANNEL, 0);
  }
  // The current unit as "group position".
  std::string Current() const {
    return std::string(list.IsCurrentChannelDevice() ? "channel " : "ptz ") +
           std::to_string(list.GetCurrentChannelIndex());
  }
};

TEST(PtzControl, SelectLeaveAndCancel) {
  using R = PtzDialogResult;
  const std::string select = "/RS485Cmd.cgi?Control=RZ1K&MASTER=1&Cookie=C0 | ";
  struct Case {
    const char* name;
    int fromPtz;  // 0: from the channel group, else the PTZ camera current before
    R result;
    int number;
    std::string sent;  // "" nothing
    std::vector<uint32_t> messages;
    std::string current;
    int buttonState, hotPointMode;
    bool hotPointOff, layout;
  };
  // clang-format off
  const Case cases[] = {
      {"camera 3", 0, R::kOk, 3, select + "02 05 08 01 32", {}, "ptz 2", 1, 2, false, true},
      {"camera 12 from 3", 3, R::kOk, 12, select + "02 06 07 01 32", {}, "ptz 11", 1, 2, false, true},
      {"camera 9", 0, R::kOk, 9, select + "02 05 0E 01 32", {}, "ptz 8", 1, 2, false, true},
      {"camera 10", 0, R::kOk, 10, select + "02 06 05 01 32", {}, "ptz 9", 1, 2, false, true},
      {"leave", 3, R::kEsc, 3, select + "01 10 01 32", {}, "channel 0", 0, 0, true, true},
      // The dialog closed otherwise from the channel group selects too; from a camera not.
      {"closed, channel", 0, R::kOther, 2, select + "02 05 07 01 32", {}, "ptz 1", 1, 2, false, true},
      {"closed, camera", 3, R::kOther, 5, "", {}, "ptz 2", -1, 0, false, false},
      {"cancel, channel", 0, R::kCancel, 3, "", {}, "channel 0", 0, 0, false, false},
      {"cancel, camera", 3, R::kCancel, 3, "", {}, "ptz 2", 1, 0, false, false},
      {"number 0", 0, R::kOk, 0, "", {4095}, "channel 0", -1, 0, false, false},
      {"number 17", 3, R::kOk, 17, "", {4095}, "ptz 2", -1, 0, false, false},
      {"no 13th camera", 0, R::kOk, 13, "", {4095}, "channel 0", -1, 0, false, false},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PtzFixture f;
    if (c.fromPtz) {
      ASSERT_EQ(f.list.MakeCurrent(CDS_PTZ, uint8_t(c.fromPtz - 1)), 0);
    }
    const PtzPanelChange change = f.control.FinishPtzControl(c.result, c.number);
    EXPECT_EQ(f.port.sent,
              c.sent.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.sent});
    EXPECT_EQ(f.port.messages, c.messages);
    EXPECT_EQ(f.Current(), c.current);
    EXPECT_EQ(change.buttonState, c.buttonState);
    EXPECT_EQ(change.hotPointMode, c.hotPointMode);
    EXPECT_EQ(change.hotPointOff, c.hotPointOff);
    EXPECT_EQ(change.applyLayout, c.layout);
  }
}

// A select or leave the device refuses leaves the unit, the button and the tip as they were.
TEST(PtzControl, RefusedSelectOrLeaveChangesNothing) {
  for (const auto& [fromPtz, result] : {std::pair{0, PtzDialogResult::kOk},
                                        {3, PtzDialogResult::kOk},
                                        {3, PtzDialogResult::kEsc}}) {
    PtzFixture f;
    if (fromPtz) f.list.MakeCurrent(CDS_PTZ, uint8_t(fromPtz - 1));
    const std::string before = f.Current();
    f.port.failing = true;
    const PtzPanelChange change = f.control.FinishPtzControl(result, 5);
    EXPECT_EQ(f.port.sent.size(), 1u);
    EXPECT_EQ(f.port.messages, std::vector<uint32_t>{4065});
    EXPECT_EQ(f.Current(), before);
    EXPECT_EQ(change.buttonState, -1);
    EXPECT_EQ(change.hotPointMode, 0);
    EXPECT_FALSE(change.hotPointOff);
    EXPECT_FALSE(change.applyLayout);
  }
}

TEST(PtzControl, HotPointModeOfTheSelectedCamera) {
  struct Case {
    const char* product;
    const char* firmware;
    uint32_t mask;
    int mode;
  };
  // RZ1K/RZ3K/RZ4K from firmware 1035 on ask the capability mask.
  const Case cases[] = {{"RZ4K", "1060", 0x2, 2},
                        {"RZ4K", "1060", 0x1, 1},
                        {"RZ4K", "1034", 0, 2},
                        {"RZ2K", "1010", 0, 2}};
  for (const Case& c : cases) {
    PtzFixture f(c.product);
    f.port.state.firmware = c.firmware;
    f.port.state.dwCapabilityMask = c.mask;
    EXPECT_EQ(f.control.FinishPtzControl(PtzDialogResult::kOk, 1).hotPointMode, c.mode)
        << c.product << " " << c.firmware;
  }
}

TEST(PtzControl, RecordersAskTheSlavesFirst) {
  // A GUEST or NORMAL USER on an RZ1K/RZ3K/RZ4K recorder gets nothing, not even the query.
  struct Case {
    const char* product;
    uint8_t accessClass;
    bool shown;
    size_t sent;
  };
  const Case cases[] = {{"RZ4K", 2, false, 0}, {"RZ4K", 3, false, 0}, {"RZ1K", 1, true, 1},
                        {"RZ3K", 0, true, 1},  {"RZ2K", 2, true, 0},  {"RZ8P", 3, true, 0}};
  for (const Case& c : cases) {
    PtzFixture f(c.product);
    f.port.state.byAccessClass = c.accessClass;
    EXPECT_EQ(f.control.PreparePtzControl(), c.shown) << c.product << int(c.accessClass);
    EXPECT_EQ(f.port.sent.size(), c.sent) << c.product << int(c.accessClass);
  }

  // The reply's slaves overwrite the PTZ units in order; the list keeps its length.
  PtzFixture f("RZ4K");
  f.port.replies[19] = "SLAVENUM=2;SID=40;STYPE=1;SPROTOCOL=1;SID=41;STYPE=8;SPROTOCOL=0;";
  ASSERT_TRUE(f.control.PreparePtzControl());
  EXPECT_EQ(f.port.sent, std::vector<std::string>{"/PTZReset.cgi?Cookie=C0"});
  EXPECT_EQ(f.port.capacities, std::vector<uint32_t>{1024});
  EXPECT_EQ(f.list.Count(), 13);
  EXPECT_EQ(f.list.At(1).byAddress, 40);
  EXPECT_EQ(f.list.At(1).byModelRow, 18);
  EXPECT_EQ(f.list.At(2).byAddress, 41);
  EXPECT_EQ(f.list.At(2).byModelRow, 8);
  EXPECT_EQ(f.list.At(3).byAddress, 13);

  // CANCEL from a camera resends the query without reading a reply; the button stays on.
  f.port.sent.clear();
  f.port.capacities.clear();
  f.list.MakeCurrent(CDS_PTZ, 0);
  EXPECT_EQ(f.control.FinishPtzControl(PtzDialogResult::kCancel, 1).buttonState, 1);
  EXPECT_EQ(f.port.sent, std::vector<std::string>{"/PTZReset.cgi?Cookie=C0"});
  EXPECT_EQ(f.port.capacities, std::vector<uint32_t>{0});

  // A failed query: 4065 and no dialog.
  PtzFixture failing("RZ1K");
  failing.port.failing = true;
  EXPECT_FALSE(failing.control.PreparePtzControl());
  EXPECT_EQ(failing.port.messages, std::vector<uint32_t>{4065});
}

TEST(PtzControl, HotPointPacketsAndTheirAddressing) {
  struct Case {
    const char* name;
    const char* product;
    uint8_t multi;
    uint8_t accessClass;
    uint8_t cameraRow;  // row of the recorder's channel-group units and of the PTZ units
    int current;        // the third PTZ unit when -1, else this channel-group position
    std::string sent;
  };
  const Case cases[] = {
      {"row 11 camera, supervisor", "RZ2K", 0, 0, 11, -1,
       "/RS485Cmd.cgi?Control=RZ1K&CH=2&MASTER=0&Cookie=C0 | 07 D0 0D 3C 52 12 00 7D 01 32"},
      {"row 18 camera, guest", "RZ2K", 0, 2, 18, -1,
       "/RS485Cmd.cgi?Control=RZ1K&CH=2&MASTER=0&PELOCO=1&PROTOCOL=PELCO&Cookie=C0 | "
       "07 D0 0D 04 52 12 00 45 01 32"},
      {"row 8 camera", "RZ2K", 0, 0, 8, -1,
       "/RS485Cmd.cgi?Control=RZ1K&CH=2&MASTER=0&Cookie=C0 | 05 D0 0D 52 12 00 01 32"},
      {"recorder current", "RZ2K", 0, 0, 11, 0,
       "/RS485Cmd.cgi?Control=RZ1K&CH=0&MASTER=1&Cookie=C0 | 00 00 00"},
      // Keys send PELCO for a last channel unit of row 25; the hot point does not.
      {"channel unit of row 25", "RZ8P", 0, 0, 25, 1,
       "/RS485Cmd.cgi?Control=RZ1K&CH=1&MASTER=1&Cookie=C0 | 07 D0 05 3C 52 12 00 75 01 32"},
      {"channel unit of row 18", "RZ8P", 0, 0, 18, 1,
       "/RS485Cmd.cgi?Control=RZ1K&CH=1&PELOCO=1&PROTOCOL=PELCO&MASTER=1&Cookie=C0 | "
       "07 D0 05 3C 52 12 00 75 01 32"},
      {"multi-channel recorder, camera 2", "RZ1K", 1, 0, 18, 1,
       "/RS485Cmd.cgi?Control=RZ1K&CH=0&MASTER=0&PELOCO=1&PROTOCOL=PELCO&Cookie=C0 | "
       "07 D0 05 3C 52 12 00 75 01 32"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakePort port;
    port.state.productId = c.product;
    port.state.byMultiChannel = c.multi;
    port.state.byAccessClass = c.accessClass;
    port.state.cookie = "C0";
    C_ControlD list;
    ChannelBarModel bar;
    uint8_t selected = 0;
    DeviceControl control{port, list, bar, selected};
    list.Add(0, 0, 19, CDS_CHANNEL);
    list.Add(2400, 5, c.cameraRow, CDS_CHANNEL);
    for (uint8_t a = 11; a <= 13; ++a) list.Add(2400, a, c.cameraRow, CDS_PTZ);
    if (c.current < 0)
      list.MakeCurrent(CDS_PTZ, 2);
    else
      list.MakeCurrent(CDS_CHANNEL, uint8_t(c.current));
    EXPECT_EQ(control.SendHotPoint(0x12), 1);
    EXPECT_EQ(port.sent, std::vector<std::string>{c.sent});
  }
  PtzFixture f;
  f.port.failing = true;
  EXPECT_EQ(f.control.SendHotPoint(0x12), 0);
  EXPECT_EQ(f.port.messages, std::vector<uint32_t>{4065});
}

struct Shown {
  std::vector<int> ids;  // visible buttons' ids
  int rightX = -1;       // x of the right arrow when shown
};

Shown ShownOf(const ChannelBarModel& bar, uint8_t mode) {
  Shown s;
  const auto placements = bar.Relayout(mode);
  for (size_t i = 0; i < placements.size(); ++i) {
    if (!placements[i].visible) continue;
    s.ids.push_back(bar.Buttons()[i].wId);
    if (bar.Buttons()[i].wId == kChannelRightId) s.rightX = placements[i].x;
  }
  return s;
}

std::vector<int> Ids(int from, int to, std::vector<int> extra = {}) {
  std::vector<int> v;
  for (int i = from; i <= to; ++i) v.push_back(i);
  v.insert(v.end(), extra.begin(), extra.end());
  return v;
}

TEST(ChannelBar, Rz1kWidePages) {
  ChannelBarModel bar;
  uint8_t selected = 0;
  bar.Init("RZ1K", 1, selected);
  ASSERT_TRUE(bar.Active());
  ASSERT_EQ(bar.Buttons().size(), 19u);
  Shown s = ShownOf(bar, 0);
  EXPECT_EQ(s.ids, Ids(8410, 8418, {8428}));  // DVR and 1-8, then the right arrow
  EXPECT_EQ(s.rightX, 344);                   // x reached 341
  EXPECT_TRUE(bar.NextPage(0));
  EXPECT_EQ(ShownOf(bar, 0).ids, Ids(8419, 8426, {8427}));
  EXPECT_FALSE(bar.NextPage(0));  // 16 < 9 + 9
  EXPECT_TRUE(bar.PrevPage(0));
  EXPECT_EQ(bar.FirstChannel(), 0);
  EXPECT_FALSE(bar.PrevPage(0));
}

TEST(ChannelBar, Rz1kNarrowPages) {
  ChannelBarModel bar;
  uint8_t selected = 0;
  bar.Init("RZ1K", 1, selected);
  std::vector<int> starts;
  do {
    starts.push_back(bar.GetPageStart(bar.FirstChannel(), 1));
    const Shown s = ShownOf(bar, 1);
    const bool last = starts.back() == 16;
    EXPECT_EQ(s.ids.size(), (last ? 1u : 4u) + (starts.back() ? 1 : 0) + (last ? 0 : 1));
  } while (bar.NextPage(1));
  EXPECT_EQ(starts, (std::vector<int>{0, 4, 8, 12, 16}));
  EXPECT_EQ(ShownOf(bar, 3).ids, (std::vector<int>{8426, 8427}));  // last page: no right arrow
}

TEST(ChannelBar, Rz4kAndRz3k) {
  ChannelBarModel bar;
  uint8_t selected = 0;
  bar.Init("RZ4K", 1, selected);
  EXPECT_EQ(ShownOf(bar, 0).ids, Ids(8410, 8414));
  EXPECT_FALSE(bar.NextPage(0));  // page size 0 in the wide layouts
  EXPECT_FALSE(bar.PrevPage(0));
  EXPECT_EQ(ShownOf(bar, 1).ids, Ids(8410, 8414));
  EXPECT_TRUE(bar.NextPage(1));
  EXPECT_EQ(bar.FirstChannel(), 4);
  EXPECT_EQ(ShownOf(bar, 1).ids, Ids(8410, 8414));  // the page start stays 0

  selected = 12;
  bar.Init("RZ3K", 1, selected);
  EXPECT_EQ(selected, 0);
  EXPECT_EQ(bar.Buttons().size(), 11u);
  selected = 8;
  bar.Init("RZ3K", 1, selected);
  EXPECT_EQ(selected, 8);
  EXPECT_EQ(bar.ButtonState(8), 0);
  EXPECT_EQ(bar.ButtonState(0), 1);
}

TEST(ChannelBar, OtherFamilies) {
  ChannelBarModel bar;
  uint8_t selected = 5;
  bar.Init("RZ2K", 0, selected);
  EXPECT_EQ(selected, 1);
  EXPECT_EQ(bar.ButtonState(0), 0);
  const auto p = bar.Relayout(0);
  ASSERT_EQ(p.size(), 2u);
  EXPECT_EQ(p[1].x, 55);
  EXPECT_EQ(p[1].y, 32);
  EXPECT_EQ(ChannelBarTipText(8412), "Channel 2");
  EXPECT_EQ(bar.Buttons()[1].szBitmap[2], "Channel_2_Disable.bmp");

  bar.Init("RZ5M", 0, selected);  // nothing changes
  EXPECT_TRUE(bar.Active());
  bar.Init("RZ8P", 0, selected);
  EXPECT_FALSE(bar.Active());
  bar.Init("RZ1K", 0, selected);
  EXPECT_FALSE(bar.Active());
  EXPECT_FALSE(bar.ShouldSwitch(3));
}

}  // namespace
