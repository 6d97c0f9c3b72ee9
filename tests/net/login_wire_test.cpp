// The login exchange against the simulator, as each of its three callers runs it.
#include "tests/net/protocol_fixture.h"

#include <cstring>

#include "net/login_exchange.h"
#include "tests/support/device_login.h"

namespace nettest {
namespace {

using LoginWireTest = ProtocolTest;

using testsupport::AskDeviceInformation;
using testsupport::LogInOnly;

const LoginOptions* const kCallers[] = {&kLoginWindowLogin, &kLoginWorkerLogin, &kReloginLogin};
const char* NameOf(const LoginOptions* c) {
  return c == &kLoginWindowLogin ? "login window" : c == &kLoginWorkerLogin ? "worker" : "relogin";
}

struct Stored {
  std::string cookie, fw, pid, mac, host;
  uint16_t mac1, mac2;
};

Stored Snapshot() {
  const APP_DATA& a = *g_lpApp;
  return {g_szCookie,
          a.str_FWVersion,
          a.str_ProductID,
          std::string(a.str_MACAddress, 12),
          a.str_HostName,
          a.m_Settings.m_wLastMac1,
          a.m_Settings.m_wLastMac2};
}

TEST_F(LoginWireTest, OutcomesOfTheThreeCallers) {
  using O = LoginOutcome;
  struct Case {
    const char* name;
    std::vector<std::string> args;
    O outcome[3];  // window, worker, relogin
  };
  const Case cases[] = {
      {"accepted", {}, {O::kAccepted, O::kAccepted, O::kAccepted}},
      {"wrong password", {"--fault", "login-denied"}, {O::kFailed, O::kFailed, O::kFailed}},
      {"too many users",
       {"--fault", "login-busy"},
       {O::kTooManyUsers, O::kFailed, O::kTooManyUsers}},
      {"no Session-ID", {"--fault", "login-no-session"}, {O::kFailed, O::kFailed, O::kFailed}},
      {"unknown Product-ID",
       {"--fault", "bad-product,id=ABCD"},
       {O::kUnsupportedDevice, O::kAccepted, O::kAccepted}},
      {"reply over 255 bytes",
       {"--host-name", std::string(230, 'h')},
       {O::kFailed, O::kAccepted, O::kAccepted}},
      {"Session-ID over 63 characters",
       {"--set", "session_id_length=64"},
       {O::kFailed, O::kFailed, O::kFailed}},
  };
  for (const Case& c : cases) {
    devsim.Stop();
    StartDevice(c.args);
    for (int i = 0; i < 3; ++i) {
      SetUp();
      testsupport::PointProgramSessionAt(static_cast<uint16_t>(devsim.port()));
      std::strcpy(g_szCookie, "stale");
      EXPECT_EQ(LogInOnly(*kCallers[i]), c.outcome[i]) << c.name << ", " << NameOf(kCallers[i]);
      if (c.outcome[i] == O::kFailed || c.outcome[i] == O::kTooManyUsers) {
        EXPECT_STREQ(g_szCookie, "") << c.name << ", " << NameOf(kCallers[i]);
        EXPECT_EQ(g_lpApp->str_ProductID, "") << c.name << ", " << NameOf(kCallers[i]);
      }
    }
  }
}

TEST_F(LoginWireTest, WhatEachCallerStores) {
  StartDevice(
      {"--product", "RZ1K", "--firmware", "1035", "--mac", "0011223344AA", "--host-name", "dvr"});
  for (const LoginOptions* caller : kCallers) {
    SetUp();
    testsupport::PointProgramSessionAt(static_cast<uint16_t>(devsim.port()));
    ASSERT_EQ(LogInOnly(*caller), LoginOutcome::kAccepted);
    const Stored s = Snapshot();
    const bool macBytes = caller != &kLoginWorkerLogin;
    EXPECT_EQ(s.cookie.size(), 16u) << NameOf(caller);
    EXPECT_EQ(s.fw, "1035");
    EXPECT_EQ(s.pid, "RZ1K");
    EXPECT_EQ(s.mac, "0011223344AA");
    EXPECT_EQ(s.host, "dvr");
    EXPECT_EQ(s.mac1, macBytes ? 68 : 0) << NameOf(caller);
    EXPECT_EQ(s.mac2, macBytes ? 170 : 0) << NameOf(caller);
    // The device accepts the cookie.
    CGIParamList request(kCgiGetDvrName);
    request.AddParam("Cookie", s.cookie);
    EXPECT_EQ(Send(kCgiGetDvrName, request).result, 1);
  }
}

TEST_F(LoginWireTest, UnsupportedDeviceKeepsCookieAndProductId) {
  StartDevice({"--fault", "bad-product,id=ABCD", "--mac", "0011223344AA"});
  EXPECT_EQ(LogInOnly(kLoginWindowLogin), LoginOutcome::kUnsupportedDevice);
  const Stored s = Snapshot();
  EXPECT_EQ(s.cookie.size(), 16u);
  EXPECT_EQ(s.pid, "ABCD");
  EXPECT_EQ(s.mac, std::string(12, '\0'));
  EXPECT_EQ(s.mac1, 0);
}

// Device-information requests: preparation and query per caller and device.
TEST_F(LoginWireTest, DeviceInformationRequests) {
  struct Case {
    const char* name;
    const char* product;
    const char* firmware;
    const LoginOptions& caller;
    uint8_t channel;
    bool readsInf;
    std::string query;  // after the cookie
    uint32_t newHeader;
  };
  const LoginOptions& relogin = kReloginLogin;
  const Case cases[] = {
      {"RZK 1046", "RZ1K", "1046", relogin, 5, true, "&RES=2&QUA=3&CH=5&NEWHR=1", 1},
      {"RZK 1045", "RZ4K", "1045", relogin, 4, true, "&RES=2&QUA=3&CH=4", 0},
      {"RZK 1034", "RZ3K", "1034", relogin, 9, false, "&RES=2&QUA=3&CH=0", 0},
      {"RZ2K 1006", "RZ2K", "1006", relogin, 0, false, "&RES=2&QUA=3&CH=1&NEWHR=1", 1},
      {"RZ2K 1005", "RZ2K", "1005", relogin, 2, false, "&RES=2&QUA=3&CH=2", 0},
      {"RZ8P", "RZ8P", "0001", relogin, 7, false, "&RES=2&QUA=3&CH=7&NEWHR=1", 1},
      {"RZ5M", "RZ5M", "1046", relogin, 7, false, "&RES=2&QUA=3&CH=7", 0},
      {"worker", "RZ1K", "1046", kLoginWorkerLogin, 5, false, "&RES=2&QUA=3", 7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    devsim.Stop();
    SetUp();
    StartDevice({"--product", c.product, "--firmware", c.firmware, "--capability-mask", "0x205"});
    ::CSettingINI& settings = g_lpApp->m_Settings;
    settings.m_iImageResolution = 2;
    settings.m_iVideoQuality = 3;
    settings.m_bySelectedChannel = c.channel;
    g_lpApp->m_RTPHeaderParser.m_fNewHeader = 7;
    ASSERT_EQ(LogInOnly(c.caller), LoginOutcome::kAccepted);
    const std::string cookie = Cookie();
    ASSERT_EQ(AskDeviceInformation(c.caller), 1);

    const auto log = Requests();
    ASSERT_EQ(log.size(), c.readsInf ? 3u : 2u);
    if (c.readsInf) {
      EXPECT_EQ(log[1].target, "/GetSysCfg.cgi?Option=INF&Size=44&Cookie=" + cookie);
      EXPECT_EQ(g_lpApp->dwDeviceCapabilityMask, 0x205u);
    } else {
      EXPECT_EQ(g_lpApp->dwDeviceCapabilityMask, 0u);
    }
    EXPECT_EQ(log.back().target, "/Getdeviceinfo.cgi?Cookie=" + cookie + c.query);
    EXPECT_EQ(g_lpApp->m_RTPHeaderParser.m_fNewHeader, c.newHeader);
  }
}

// Device-information replies as the worker (not full) and the relogin thread (full) apply them.
TEST_F(LoginWireTest, DeviceInformationReplies) {
  struct Case {
    const char* name;
    std::vector<std::string> settings;
    const LoginOptions& caller;
    int32_t lifetime;
    uint8_t multi, video;
    uint16_t level;
    std::vector<uint8_t> rows;  // model rows of the control-device list
  };
  const LoginOptions& relogin = kReloginLogin;
  const LoginOptions& worker = kLoginWorkerLogin;
  const std::vector<std::string> items = {"lifetime=60",     "videomode=300",   "userlevel=20",
                                          "boot_version=B7", "version_2041=X7", "fpga_version=F7",
                                          "masters=1:3,2:4"};
  const Case cases[] = {
      {"full", items, relogin, 60, 0, 44, 20, {3, 4}},
      {"not full", items, worker, 60, 9, 44, 20, {1}},
      {"LINKDEVICE first",
       {"linkdevice=7", "masters=1:3,2:4", "multich=2"},
       relogin,
       -1,
       2,
       0,
       30,
       {7}},
      {"slaves", {"slaves=6:1:1"}, relogin, -1, 0, 0, 30, {18}},
      {"RETR without the mask bit", {"masters=1:20", "retr=1"}, relogin, -1, 0, 0, 30, {20}},
      {"LIFETIMEX", {"devinfo_text=LIFETIMEX=5;"}, worker, 0, 9, 0, 0, {1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    devsim.Stop();
    SetUp();
    // The built-in profile's own LINKDEVICE item is left out.
    std::vector<std::string> args = {"--product", "RZ1K",  "--firmware",
                                     "1035",      "--set", "linkdevice="};
    for (const std::string& s : c.settings) {
      args.push_back("--set");
      args.push_back(s);
    }
    StartDevice(args);
    APP_DATA& a = *g_lpApp;
    a.byMultiChannel = 9;
    a.m_ControlD.Add(0, 0, 1, C_ControlD::kBusDevice);
    ASSERT_EQ(LogInOnly(c.caller), LoginOutcome::kAccepted);
    if (&c.caller == &relogin) a.m_ControlD.Clear();
    ASSERT_EQ(AskDeviceInformation(c.caller), 1);
    EXPECT_EQ(a.dwLifeTimeMinutes, c.lifetime);
    EXPECT_EQ(a.byMultiChannel, c.multi);
    EXPECT_EQ(a.byVideoMode, c.video);
    EXPECT_EQ(a.w_UserLevel, c.level);
    std::vector<uint8_t> rows;
    for (int i = 0; i < a.m_ControlD.Count(); ++i) rows.push_back(a.m_ControlD.At(i).byModelRow);
    EXPECT_EQ(rows, c.rows);
    if (c.name == std::string("full")) {
      EXPECT_EQ(a.str_BootVersion, "B7");
      EXPECT_EQ(a.str_2041Version, "X7");
      EXPECT_EQ(a.str_FPGAVersion, "F7");
    }
  }
}

TEST_F(LoginWireTest, RetrFollowsTheCapabilityMaskOnNewerRzkDevices) {
  for (const char* mask : {"0", "1"}) {
    SCOPED_TRACE(mask);
    devsim.Stop();
    SetUp();
    StartDevice({"--product", "RZ1K", "--firmware", "1035", "--capability-mask", mask, "--set",
                 "linkdevice=", "--set", "masters=1:20", "--set", "retr=1"});
    ASSERT_EQ(LogInOnly(kReloginLogin), LoginOutcome::kAccepted);
    ASSERT_EQ(AskDeviceInformation(kReloginLogin), 1);
    const C_ControlD& list = g_lpApp->m_ControlD;
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.At(0).byModelRow, mask[0] == '1' ? 22 : 20);
    EXPECT_EQ(list.At(0).dwBaudRate, mask[0] == '1' ? 0u : 2400u);
    EXPECT_EQ(list.RETRState(), mask[0] == '1' ? 1 : 0);
  }
}

TEST_F(LoginWireTest, EmptyDeviceInformationFails) {
  StartDevice({"--fault", "devinfo-empty"});
  for (const LoginOptions* caller : {&kLoginWorkerLogin, &kReloginLogin}) {
    ASSERT_EQ(LogInOnly(*caller), LoginOutcome::kAccepted);
    EXPECT_EQ(AskDeviceInformation(*caller), 0) << NameOf(caller);
  }
  EXPECT_EQ(AskDeviceInformation(kLoginWindowLogin), 0);
}

}  // namespace
}  // namespace nettest
