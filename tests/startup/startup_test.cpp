// Start-up and shut-down of the real program under Wine: each test runs Ostrova.exe from a
// private copy of its folder and drives its windows from outside; the login goes to the device
// simulator.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/devsim_child.h"
#include "tests/support/win_process.h"

namespace ts = testsupport;

namespace {

constexpr int kEditServer = 1042;
constexpr int kEditUser = 1040;
constexpr int kEditPassword = 1043;
constexpr int kEditPort = 1044;
constexpr int kEditBitRate = 1376;
constexpr int kConnectButton = 8444;
constexpr int kCancelButton = 8445;
constexpr const char* kPassword = "secret-pw";

const std::vector<std::string> kWrittenKeys = {"brightness",
                                               "contrast",
                                               "saturation",
                                               "Image Resolution",
                                               "Username",
                                               "Server Name",
                                               "ServerPort",
                                               "Sub Port Number",
                                               "Zoom Ratio",
                                               "Frame Rate",
                                               "Target Bit Rate",
                                               "Peak Bit Rate",
                                               "Control Bit Rate Type",
                                               "Resolution Type",
                                               "Image Quility",
                                               "Selected Channel",
                                               "Dynamic Download Option",
                                               "Write CD Option",
                                               "Write CD Close Option",
                                               "Last Connection MAC1",
                                               "Last Connection MAC2",
                                               "Alarm Trigger Record",
                                               "RETR Alarm Record",
                                               "Alarm Enable Button",
                                               "Turbo repeat step",
                                               "Alarm Trigger Quality",
                                               "Alarm Trigger Resolution",
                                               "Trigger Wav Path LOWORD",
                                               "Trigger Close Time Hour",
                                               "Trigger Close Time Min",
                                               "Trigger Close Time date",
                                               "Alarm auto switch video",
                                               "Search List HDD",
                                               "Search List Type",
                                               "Search List Max Number",
                                               "Record Path",
                                               "Snapshot Path",
                                               "Upgrade FW Path",
                                               "Upgrade DVR FW Path",
                                               "Trigger Wav Path",
                                               "Network File Directory"};

// A private program folder: the executable with its codec library and, unless asked otherwise,
// its control file and its skin.
class ProgramFolder {
 public:
  explicit ProgramFolder(bool withCtrlFile = true, bool withSkin = true) : m_folder("ostrova") {
    const std::string bin = ts::ThisExeFolder();
    EXPECT_TRUE(ts::CopyFileTo(bin + "Ostrova.exe", m_folder.File("Ostrova.exe")));
    EXPECT_TRUE(ts::CopyFileTo(bin + "JPEGCODEC.DLL", m_folder.File("JPEGCODEC.DLL")));
    if (withCtrlFile) {
      EXPECT_TRUE(ts::CopyFileTo(bin + "CtrlFile.ini", m_folder.File("CtrlFile.ini")));
    }
    if (withSkin) ts::CopyTree(bin + "BMP", m_folder.File("BMP"));
  }
  std::string File(const std::string& name) const { return m_folder.File(name); }

  // Starts the program with message boxes logged instead of shown.
  bool Start(ts::Process& p) {
    return p.Start(File("Ostrova.exe"), "Ostrova.exe", m_folder.Path(),
                   {"OST_MSGBOX_LOG=" + File("msgbox.log")});
  }
  std::vector<std::string> MessageBoxes() const { return ts::ReadLines(File("msgbox.log")); }

  // key -> value of section [Ostrova] in Setting.ini, in file order.
  std::vector<std::pair<std::string, std::string>> Settings() const {
    std::vector<std::pair<std::string, std::string>> out;
    bool inSection = false;
    for (const auto& line : ts::ReadLines(File("Setting.ini"))) {
      if (!line.empty() && line[0] == '[') {
        inSection = line == "[Ostrova]";
        continue;
      }
      const auto eq = line.find('=');
      if (inSection && eq != std::string::npos)
        out.emplace_back(line.substr(0, eq), line.substr(eq + 1));
    }
    return out;
  }

 private:
  ts::TempFolder m_folder;
};

// The login window: caption-less, the one window with the hidden bit-rate box.
HWND WaitForLoginWindow(const ts::Process& p) {
  return ts::WaitForWindowIf(p.Id(), [](HWND w) {
    return GetDlgItem(w, kEditBitRate) != nullptr && GetDlgItem(w, kEditPort) != nullptr;
  });
}

void SetItem(HWND dlg, int id, const std::string& text) {
  SendMessageA(GetDlgItem(dlg, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// Types the password into the login window and connects; returns the main window.
HWND Connect(const ts::Process& p, HWND login) {
  SetItem(login, kEditPassword, kPassword);
  ts::PostClick(login, kConnectButton);
  return ts::WaitForMainWindow(p.Id());
}

// Fills the login window and connects; returns the main window.
HWND LogIn(const ts::Process& p, const std::string& server, const std::string& port,
           const std::string& user) {
  HWND login = WaitForLoginWindow(p);
  if (!login) return nullptr;
  SetItem(login, kEditServer, server);
  SetItem(login, kEditPort, port);
  SetItem(login, kEditUser, user);
  return Connect(p, login);
}

// A key press sent the way the keyboard sends it, to a control of the login window.
void PostKey(HWND login, int id, WPARAM key) {
  HWND control = GetDlgItem(login, id);
  PostMessageA(control, WM_KEYDOWN, key, 1);
  PostMessageA(control, WM_KEYUP, key, 0xC0000001);
}

// The device simulator with the accounts these tests log in with.
class Device {
 public:
  Device() {
    EXPECT_TRUE(
        m_devsim.Start({"--account", std::string("tester:") + kPassword + ":30", "--account",
                        std::string("operator:") + kPassword + ":30", "--mac", "0011223344AA"}))
        << m_devsim.error();
  }
  std::string Port() const { return std::to_string(m_devsim.port()); }
  // Parameters of the first login request.
  std::vector<std::string> FirstLogin() const {
    for (const auto& r : m_devsim.Requests())
      if (r.path == "/Login.cgi") return r.params;
    return {};
  }
  int LoginCount() const {
    int n = 0;
    for (const auto& r : m_devsim.Requests()) n += r.path == "/Login.cgi" ? 1 : 0;
    return n;
  }

 private:
  testsupport::DevsimChild m_devsim;
};

std::string Value(const std::vector<std::pair<std::string, std::string>>& kv,
                  const std::string& key) {
  for (const auto& [k, v] : kv)
    if (k == key) return v;
  return "<missing>";
}

TEST(StartUp, WithoutControlFileEndsAfterItsMessage) {
  ProgramFolder folder(false);
  ts::Process p;
  ASSERT_TRUE(folder.Start(p));
  DWORD code = 99;
  ASSERT_TRUE(p.WaitExit(30000, &code));
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(folder.MessageBoxes(), std::vector<std::string>{"Open device control file is failed"});
  EXPECT_FALSE(ts::FileExists(folder.File("Setting.ini")));
}

TEST(StartUp, CancelledLoginEndsCleanlyWithoutWritingSettings) {
  ProgramFolder folder;
  ts::Process p;
  ASSERT_TRUE(folder.Start(p));
  HWND login = WaitForLoginWindow(p);
  ASSERT_NE(login, nullptr);
  // Defaults of a first start, and the empty debug trace beside the program.
  EXPECT_EQ(ts::ItemText(login, kEditServer), "192.168.1.10");
  EXPECT_EQ(ts::ItemText(login, kEditPort), "80");
  EXPECT_EQ(ts::ItemText(login, kEditUser), "revuv");
  EXPECT_EQ(ts::ItemText(login, kEditPassword), "");
  EXPECT_NE(GetDlgItem(login, kConnectButton), nullptr);
  EXPECT_TRUE(ts::FileExists(folder.File("DebugTrace.log")));
  EXPECT_EQ(ts::ReadFileText(folder.File("DebugTrace.log")), "");
  ts::PostClick(login, kCancelButton);
  DWORD code = 99;
  ASSERT_TRUE(p.WaitExit(30000, &code));
  EXPECT_EQ(code, 0u);
  EXPECT_FALSE(ts::FileExists(folder.File("Setting.ini")));
  EXPECT_TRUE(folder.MessageBoxes().empty());
}

TEST(StartUp, ClosingWritesSettingsThatTheNextStartReadsBack) {
  ProgramFolder folder;
  Device device;
  {
    ts::Process p;
    ASSERT_TRUE(folder.Start(p));
    HWND main = LogIn(p, "127.0.0.1", device.Port(), "tester");
    ASSERT_NE(main, nullptr);
    ts::CloseMainWindow(main);
    DWORD code = 99;
    ASSERT_TRUE(p.WaitExit(30000, &code));
    EXPECT_EQ(code, 0u);
  }
  const auto kv = folder.Settings();
  std::vector<std::string> keys;
  for (const auto& [k, v] : kv) keys.push_back(k);
  EXPECT_EQ(keys, kWrittenKeys);
  EXPECT_EQ(Value(kv, "Server Name"), "127.0.0.1");
  EXPECT_EQ(Value(kv, "ServerPort"), device.Port());
  EXPECT_EQ(Value(kv, "Username"), "tester");
  EXPECT_EQ(Value(kv, "RETR Alarm Record"), "1");
  EXPECT_EQ(ts::ReadFileText(folder.File("Setting.ini")).find(kPassword), std::string::npos);
  // The login window's request carried what was typed.
  EXPECT_EQ(device.FirstLogin(),
            (std::vector<std::string>{"Username=tester", std::string("Password=") + kPassword}));

  // Every stored value survives a second start and close unchanged.
  ts::Process p2;
  ASSERT_TRUE(folder.Start(p2));
  HWND login = WaitForLoginWindow(p2);
  ASSERT_NE(login, nullptr);
  EXPECT_EQ(ts::ItemText(login, kEditServer), "127.0.0.1");
  EXPECT_EQ(ts::ItemText(login, kEditPort), device.Port());
  EXPECT_EQ(ts::ItemText(login, kEditUser), "tester");
  HWND main = Connect(p2, login);
  ASSERT_NE(main, nullptr);
  ts::CloseMainWindow(main);
  DWORD code = 99;
  ASSERT_TRUE(p2.WaitExit(30000, &code));
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(folder.Settings(), kv);
}

TEST(StartUp, StoredValuesAreReadAndWrittenBack) {
  ProgramFolder folder;
  Device device;
  std::string ini = "[Ostrova]\r\n";
  std::vector<std::pair<std::string, std::string>> stored;
  for (size_t i = 0; i < kWrittenKeys.size(); ++i) {
    const std::string& k = kWrittenKeys[i];
    std::string v = std::to_string(3 + i);
    if (k == "Username") v = "operator";
    if (k == "Server Name") v = "127.0.0.1";
    if (k == "ServerPort") v = device.Port();
    // The login stores MAC bytes 5 and 6 of the device (0011223344AA).
    if (k == "Last Connection MAC1") v = "68";
    if (k == "Last Connection MAC2") v = "170";
    if (k == "RETR Alarm Record") v = "1";
    // A channel the device has (the session limits it to the device's channels).
    if (k == "Selected Channel") v = "5";
    if (k.ends_with("Path") || k == "Network File Directory")
      v = "C:\\data\\" + std::to_string(i) + "\\";
    if (k == "Upgrade DVR FW Path") v = "C:\\dvrfw";
    stored.emplace_back(k, v);
    ini += k + "=" + v + "\r\n";
  }
  ASSERT_TRUE(ts::WriteFileText(folder.File("Setting.ini"), ini));
  ts::Process p;
  ASSERT_TRUE(folder.Start(p));
  HWND login = WaitForLoginWindow(p);
  ASSERT_NE(login, nullptr);
  EXPECT_EQ(ts::ItemText(login, kEditUser), "operator");
  HWND main = Connect(p, login);
  ASSERT_NE(main, nullptr);
  ts::CloseMainWindow(main);
  DWORD code = 99;
  ASSERT_TRUE(p.WaitExit(30000, &code));
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(folder.Settings(), stored);
}

TEST(StartUp, AFailedLoginKeepsTheWindowForAnotherTry) {
  ProgramFolder folder;
  Device device;
  ts::Process p;
  ASSERT_TRUE(folder.Start(p));
  HWND login = WaitForLoginWindow(p);
  ASSERT_NE(login, nullptr);
  SetItem(login, kEditServer, "127.0.0.1");
  SetItem(login, kEditPort, device.Port());
  SetItem(login, kEditUser, "tester");
  SetItem(login, kEditPassword, "not-the-password");
  PostKey(login, kEditPassword, VK_RETURN);  // Enter connects
  ASSERT_TRUE(ts::WaitUntil([&] { return device.LoginCount() == 1; }));
  Sleep(500);
  EXPECT_TRUE(IsWindowVisible(login));
  EXPECT_EQ(ts::WaitForMainWindow(p.Id(), 500), nullptr);
  HWND main = Connect(p, login);
  ASSERT_NE(main, nullptr);
  EXPECT_GE(device.LoginCount(), 2);
  ts::CloseMainWindow(main);
  DWORD code = 99;
  ASSERT_TRUE(p.WaitExit(30000, &code));
  EXPECT_EQ(code, 0u);
}

TEST(StartUp, WithoutTheSkinTheLoginWindowStillTakesEscapeAndEnter) {
  ProgramFolder folder(true, false);
  Device device;
  {
    ts::Process p;
    ASSERT_TRUE(folder.Start(p));
    HWND login = WaitForLoginWindow(p);
    ASSERT_NE(login, nullptr);
    EXPECT_EQ(GetDlgItem(login, kConnectButton), nullptr);  // no buttons without their faces
    PostKey(login, kEditServer, VK_ESCAPE);
    DWORD code = 99;
    ASSERT_TRUE(p.WaitExit(30000, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_FALSE(ts::FileExists(folder.File("Setting.ini")));
  }
  ts::Process p;
  ASSERT_TRUE(folder.Start(p));
  HWND login = WaitForLoginWindow(p);
  ASSERT_NE(login, nullptr);
  SetItem(login, kEditServer, "127.0.0.1");
  SetItem(login, kEditPort, device.Port());
  SetItem(login, kEditUser, "tester");
  SetItem(login, kEditPassword, kPassword);
  PostKey(login, kEditPassword, VK_RETURN);
  HWND main = ts::WaitForMainWindow(p.Id());
  ASSERT_NE(main, nullptr);
  ts::CloseMainWindow(main);
  DWORD code = 99;
  ASSERT_TRUE(p.WaitExit(30000, &code));
  EXPECT_EQ(code, 0u);
}

}  // namespace
