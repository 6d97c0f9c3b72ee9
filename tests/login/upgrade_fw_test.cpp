// The firmware upgrade dialog through the login window against the simulator: every upload
// method delivers byte-identical parts with their Type and Reboot while the hold connection is
// open; injected faults end in "Upgrade firmware error"; Cancel sends the method's request; Find
// picks a file set's folder with the folder chooser.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <atomic>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "app/app_data.h"
#include "net/device_session.h"
#include "tests/login/login_window_fixture.h"
#include "tests/support/remote_tree.h"
#include "tests/support/window_capture.h"

namespace logintest {
namespace {

namespace ts = testsupport;
using L = LoginDialog;

const std::string kOverwrite = "Overwrite flash right now.It will take 1 ~ 2 minutes.";
const std::string kUpgradeError = "Upgrade firmware error";

std::string Pattern(size_t n, int seed) {
  std::string s(n, '\0');
  for (size_t i = 0; i < n; ++i)
    s[i] = static_cast<char>((i * 13 + static_cast<size_t>(seed)) & 0xFF);
  return s;
}

std::string Fnv(const std::string& data) {
  uint64_t h = 1469598103934665603ull;
  for (unsigned char c : data) h = (h ^ c) * 1099511628211ull;
  char text[20];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(h));
  return text;
}

std::string Part(const char* method, const std::string& type, const std::string& data,
                 bool reboot) {
  return std::string("part method=") + method + " type=" + type +
         " size=" + std::to_string(data.size()) + " fnv=" + Fnv(data) +
         " reboot=" + (reboot ? "1" : "0") + " hold=1\n";
}

struct Record {
  uint8_t type;
  std::string data;
};

std::string ImageBytes(const std::vector<Record>& records) {
  std::string out;
  for (const Record& r : records) {
    const uint32_t h = static_cast<uint32_t>(r.data.size()) << 4 | r.type;
    out += {char(h), char(h >> 8), char(h >> 16), char(h >> 24)};
    out += r.data;
  }
  return out;
}

const std::vector<Record> kImage = {
    {1, Pattern(2000, 1)}, {0, Pattern(901, 2)}, {4, Pattern(3000, 3)}};

class UpgradeFw : public LoginWindowTest {
 protected:
  // Logs in through the upgrade button and runs drive(dialog) on a helper thread; returns once
  // the dialog has ended (or the helper gave up).
  void RunDialog(const std::function<void(HWND)>& drive) {
    OpenWindow();
    Type(L::kEditPassword, "revuv");
    std::atomic<bool> done{false};
    Helper([&] {
      if (HWND dlg = WaitForOwnWindow("Upgrade Firware", 30000)) drive(dlg);
      done = true;
    });
    Click(L::kUpgradeFirmwareButton);
    ASSERT_TRUE(PumpUntil([&] { return done.load(); }, 90000));
    JoinHelpers();
  }

  // Sets the path and presses Upgrade.
  static void Upgrade(HWND dlg, const std::string& path) {
    ::SetDlgItemTextA(dlg, 1387, path.c_str());
    ::PostMessageA(::GetDlgItem(dlg, 1388), BM_CLICK, 0, 0);
  }
  static bool WaitClosed(HWND dlg) {
    return ts::WaitUntil([&] { return !::IsWindow(dlg); }, 60000);
  }
  bool WaitForBox(const std::string& text) {
    return ts::WaitUntil(
        [&] {
          for (const std::string& b : MessageBoxes())
            if (b == text) return true;
          return false;
        },
        60000);
  }
  std::string Stored() const { return m_device.Control("/_devsim/firmware"); }

  std::string WriteImage() {
    const std::string path = ProgramFolder() + "KERNEL.BIN";
    EXPECT_TRUE(ts::WriteFileText(path, ImageBytes(kImage)));
    return path;
  }
  std::string WriteFileSet(const std::string& boot, const std::string& player) {
    const std::string folder = ProgramFolder() + "fwset";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    EXPECT_TRUE(ts::WriteFileText(folder + "\\BOOT.BIN", boot));
    EXPECT_TRUE(ts::WriteFileText(folder + "\\PLAYER.BIN", player));
    return folder;
  }
};

TEST_F(UpgradeFw, EveryMethodDeliversTheFirmwareWhole) {
  const std::string boot = Pattern(1000, 4), player = Pattern(2500, 5);
  struct Case {
    std::vector<std::string> device;
    bool fileSet;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {{"--product", "RZ2K", "--firmware", "1012"},
       false,
       Part("chunked", "KERNEL", kImage[0].data, false) +
           Part("chunked", "BOOT", kImage[1].data, false) +
           Part("chunked", "HTML", kImage[2].data, true)},
      {{"--product", "RZ5M", "--firmware", "2000"},
       false,
       Part("chunked", "KERNEL", kImage[0].data, false) +
           Part("chunked", "BOOT", kImage[1].data, false) +
           Part("chunked", "HTML", kImage[2].data, true)},
      {{"--product", "RZ2K", "--firmware", "1013"},
       false,
       Part("streamed", "0", kImage[0].data, false) + Part("streamed", "1", kImage[1].data, false) +
           Part("streamed", "2", kImage[2].data, true)},
      {{"--product", "RZ1K", "--firmware", "1069"},
       true,
       Part("chunked", "1", boot, false) + Part("chunked", "17", player, true)},
      {{"--product", "RZ3K", "--firmware", "1070"},
       true,
       Part("streamed", "1", boot, false) + Part("streamed", "17", player, true)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.device));
    ::DeleteFileA((ProgramFolder() + "msgbox.log").c_str());
    StartDevice(c.device);
    const std::string path = c.fileSet ? WriteFileSet(boot, player) : WriteImage();
    bool closed = false;
    RunDialog([&](HWND dlg) {
      Upgrade(dlg, path);
      if (c.device[1] == "RZ3K") {
        // Enter while the upload runs is ignored: the upload still ends the dialog itself.
        ts::WaitUntil([&] { return !::IsWindowEnabled(::GetDlgItem(dlg, 1388)); });
        ::PostMessageA(dlg, WM_COMMAND, IDOK, 0);
      }
      closed = WaitClosed(dlg);
    });
    EXPECT_TRUE(closed);
    EXPECT_EQ(MessageBoxes(), std::vector<std::string>{kOverwrite});
    const std::string stored = Stored();
    EXPECT_EQ(stored.substr(0, stored.find("holds open=")), c.expected);
    m_dialog.reset();
    m_device.Stop();
  }
}

TEST_F(UpgradeFw, InjectedFaultsEndInAnError) {
  struct Case {
    std::vector<std::string> device;
    std::vector<std::string> boxes;
    bool dialogCloses;
  };
  const std::vector<Case> cases = {
      // The second chunked piece is refused.
      {{"--product", "RZ5M", "--fault", "status,code=500,path=/UpgradeFW.cgi,skip=1,count=1"},
       {kUpgradeError},
       true},
      // The very last piece goes unanswered: the device may be flashing already.
      {{"--product", "RZ5M", "--fault", "drop,path=/UpgradeFW.cgi,skip=8,count=1"},
       {kOverwrite},
       true},
      // A streamed part rejected explicitly: the dialog stays, Upgrade can be pressed again.
      {{"--product", "RZ2K", "--firmware", "1013", "--fault",
        "status,code=500,path=/UpgradeFW2.cgi,count=1"},
       {kUpgradeError},
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.device));
    ::DeleteFileA((ProgramFolder() + "msgbox.log").c_str());
    StartDevice(c.device);
    const std::string path = WriteImage();
    bool closed = false, upgradeEnabled = false;
    RunDialog([&](HWND dlg) {
      Upgrade(dlg, path);
      if (c.dialogCloses) {
        closed = WaitClosed(dlg);
        return;
      }
      WaitForBox(kUpgradeError);
      upgradeEnabled =
          ts::WaitUntil([&] { return ::IsWindowEnabled(::GetDlgItem(dlg, 1388)) != 0; });
      closed = !::IsWindow(dlg);
      ::PostMessageA(::GetDlgItem(dlg, 1392), BM_CLICK, 0, 0);
      WaitClosed(dlg);
    });
    EXPECT_EQ(closed, c.dialogCloses);
    if (!c.dialogCloses) {
      EXPECT_TRUE(upgradeEnabled);
    }
    EXPECT_EQ(MessageBoxes(), c.boxes);
    m_dialog.reset();
    m_device.Stop();
  }
}

TEST_F(UpgradeFw, ARefusedHoldConnectionLeavesTheDialogReadyForAnotherTry) {
  StartDevice({"--product", "RZ8P"});
  const std::string path = WriteImage();
  bool firstIdle = false, closed = false;
  RunDialog([&](HWND dlg) {
    const uint16_t port = ProgramDeviceSession().Port();
    ProgramDeviceSession().SetWebPort(1);  // nothing listens there
    Upgrade(dlg, path);
    WaitForBox(kUpgradeError);
    firstIdle = ts::WaitUntil([&] {
      return ::IsWindowEnabled(::GetDlgItem(dlg, 1388)) &&
             !::IsWindowVisible(::GetDlgItem(dlg, 1389));
    });
    ProgramDeviceSession().SetWebPort(port);
    Upgrade(dlg, path);
    closed = WaitClosed(dlg);
  });
  EXPECT_TRUE(firstIdle);
  EXPECT_TRUE(closed);
  EXPECT_EQ(MessageBoxes(), (std::vector<std::string>{kUpgradeError, kOverwrite}));
  EXPECT_NE(Stored().find(Part("chunked", "HTML", kImage[2].data, true)), std::string::npos);
}

TEST_F(UpgradeFw, CancelSendsTheMethodsCancelRequest) {
  const struct {
    std::vector<std::string> device;
    std::string target;
  } cases[] = {
      {{"--product", "RZ2K", "--firmware", "1012"}, "/UpgradeFW.cgi?Upgrade=Cancel&Cookie="},
      {{"--product", "RZ2K", "--firmware", "1013"}, "/CancelUPFW.cgi?Cookie="},
  };
  for (const auto& c : cases) {
    StartDevice(c.device);
    std::string version;
    RunDialog([&](HWND dlg) {
      version = ts::ItemText(dlg, 1385);
      const std::string folder = ts::ScreenshotFolder();
      if (!folder.empty() && c.device[3] == "1013") {
        ::SetDlgItemTextA(dlg, 1387, "C:\\firmware\\KERNEL.BIN");
        ::ShowWindow(::GetDlgItem(dlg, 1389), SW_SHOW);
        ::SendMessageA(::GetDlgItem(dlg, 1389), PBM_SETPOS, 40, 0);
        ::RedrawWindow(dlg, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        ts::SaveWindowImage(dlg, folder + "upgrade_fw.bmp");
      }
      ::PostMessageA(::GetDlgItem(dlg, 1392), BM_CLICK, 0, 0);
      WaitClosed(dlg);
    });
    EXPECT_EQ(version, c.device[3] == "1012" ? "1.0.1.2" : "1.0.1.3");
    const auto cancels = m_device.RequestsOf(c.target.substr(0, c.target.find('?')));
    ASSERT_EQ(cancels.size(), 1u);
    EXPECT_EQ(cancels[0].target.rfind(c.target, 0), 0u) << cancels[0].target;
    m_dialog.reset();
    m_device.Stop();
  }
}

// A file set is found with the folder chooser: the folder picked there, without its closing
// backslash, is the path the upload reads.
TEST_F(UpgradeFw, FindPicksTheFileSetFolderWithTheFolderChooser) {
  StartDevice({"--product", "RZ1K", "--firmware", "1069"});
  const std::string boot = Pattern(1000, 4), player = Pattern(2500, 5);
  const std::string folder = WriteFileSet(boot, player);
  std::string path;
  bool chosen = false, closed = false;
  RunDialog([&](HWND dlg) {
    ::PostMessageA(::GetDlgItem(dlg, 1386), BM_CLICK, 0, 0);
    HWND chooser = WaitForOwnWindow("Destination Path");
    if (!chooser) return;
    chosen = ts::OpenTreePath(::GetDlgItem(chooser, 1315), folder) != nullptr;
    ::PostMessageA(::GetDlgItem(chooser, IDOK), BM_CLICK, 0, 0);
    if (!ts::WaitUntil([&] { return !::IsWindow(chooser); })) return;
    path = ts::ItemText(dlg, 1387);
    ::PostMessageA(::GetDlgItem(dlg, 1388), BM_CLICK, 0, 0);
    closed = WaitClosed(dlg);
  });
  EXPECT_TRUE(chosen);
  EXPECT_EQ(_stricmp(path.c_str(), folder.c_str()), 0) << path;
  EXPECT_TRUE(closed);
  EXPECT_EQ(MessageBoxes(), std::vector<std::string>{kOverwrite});
  const std::string stored = Stored();
  EXPECT_EQ(stored.substr(0, stored.find("holds open=")),
            Part("chunked", "1", boot, false) + Part("chunked", "17", player, true));
}

TEST_F(UpgradeFw, AnOverlongVersionReplyIsRefusedSafely) {
  StartDevice({"--product", "RZ4K", "--firmware", "1070", "--set",
               "version_text=" + std::string(5000, '7')});
  std::string version = "unset";
  RunDialog([&](HWND dlg) {
    version = ts::ItemText(dlg, 1385);
    ::PostMessageA(::GetDlgItem(dlg, 1392), BM_CLICK, 0, 0);
    WaitClosed(dlg);
  });
  EXPECT_EQ(version, "");
  EXPECT_EQ(m_device.RequestsOf("/CancelUPFW.cgi").size(), 1u);
}

}  // namespace
}  // namespace logintest
