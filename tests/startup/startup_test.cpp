// Start-up and shut-down of the real program under Wine: each test runs Ostrova.exe from a
// private copy of its folder and drives its windows from outside.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/win_process.h"

namespace ts = testsupport;

namespace {

constexpr int kEditServer = 1042;
constexpr int kEditUser = 1040;
constexpr int kEditPassword = 1043;
constexpr int kEditPort = 1044;
constexpr const char* kLoginTitle = "Ostrova Login";
constexpr const char* kMainTitle = "Ostrova";

const std::vector<std::string> kWrittenKeys = {
    "brightness", "contrast", "saturation", "Image Resolution", "Username", "Server Name",
    "ServerPort", "Sub Port Number", "Zoom Ratio", "Frame Rate", "Target Bit Rate",
    "Peak Bit Rate", "Control Bit Rate Type", "Resolution Type", "Image Quility",
    "Selected Channel", "Dynamic Download Option", "Write CD Option", "Write CD Close Option",
    "Last Connection MAC1", "Last Connection MAC2", "Alarm Trigger Record", "RETR Alarm Record",
    "Alarm Enable Button", "Turbo repeat step", "Alarm Trigger Quality",
    "Alarm Trigger Resolution", "Trigger Wav Path LOWORD", "Trigger Close Time Hour",
    "Trigger Close Time Min", "Trigger Close Time date", "Alarm auto switch video",
    "Search List HDD", "Search List Type", "Search List Max Number", "Record Path",
    "Snapshot Path", "Upgrade FW Path", "Upgrade DVR FW Path", "Trigger Wav Path",
    "Network File Directory"};

// A private program folder: the executable and, unless asked otherwise, its control file.
class ProgramFolder {
 public:
  explicit ProgramFolder(bool withCtrlFile = true) : m_folder("ostrova") {
    const std::string bin = ts::ThisExeFolder();
    EXPECT_TRUE(ts::CopyFileTo(bin + "Ostrova.exe", m_folder.File("Ostrova.exe")));
    if (withCtrlFile) {
      EXPECT_TRUE(ts::CopyFileTo(bin + "CtrlFile.ini", m_folder.File("CtrlFile.ini")));
    }
    ts::CopyTree(bin + "BMP", m_folder.File("BMP"));
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
      if (inSection && eq != std::string::npos) out.emplace_back(line.substr(0, eq), line.substr(eq + 1));
    }
    return out;
  }

 private:
  ts::TempFolder m_folder;
};

// Fills the stand-in login window and connects; returns the main window.
HWND LogIn(const ts::Process& p, const std::string& server, const std::string& port,
           const std::string& user) {
  HWND login = ts::WaitForWindow(p.Id(), kLoginTitle);
  if (!login) return nullptr;
  SendMessageA(GetDlgItem(login, kEditServer), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(server.c_str()));
  SendMessageA(GetDlgItem(login, kEditPort), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(port.c_str()));
  SendMessageA(GetDlgItem(login, kEditUser), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(user.c_str()));
  SendMessageA(GetDlgItem(login, kEditPassword), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("secret-pw"));
  ts::PostClick(login, IDOK);
  return ts::WaitForWindow(p.Id(), kMainTitle);
}

std::string Value(const std::vector<std::pair<std::string, std::string>>& kv, const std::string& key) {
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
  HWND login = ts::WaitForWindow(p.Id(), kLoginTitle);
  ASSERT_NE(login, nullptr);
  // Defaults of a first start, and the empty debug trace beside the program.
  EXPECT_EQ(ts::ItemText(login, kEditServer), "192.168.1.10");
  EXPECT_EQ(ts::ItemText(login, kEditPort), "80");
  EXPECT_TRUE(ts::FileExists(folder.File("DebugTrace.log")));
  EXPECT_EQ(ts::ReadFileText(folder.File("DebugTrace.log")), "");
  ts::PostClick(login, IDCANCEL);
  DWORD code = 99;
  ASSERT_TRUE(p.WaitExit(30000, &code));
  EXPECT_EQ(code, 0u);
  EXPECT_FALSE(ts::FileExists(folder.File("Setting.ini")));
  EXPECT_TRUE(folder.MessageBoxes().empty());
}

TEST(StartUp, ClosingWritesSettingsThatTheNextStartReadsBack) {
  ProgramFolder folder;
  {
    ts::Process p;
    ASSERT_TRUE(folder.Start(p));
    HWND main = LogIn(p, "127.0.0.1", "8080", "tester");
    ASSERT_NE(main, nullptr);
    PostMessageA(main, WM_CLOSE, 0, 0);
    DWORD code = 99;
    ASSERT_TRUE(p.WaitExit(30000, &code));
    EXPECT_EQ(code, 0u);
  }
  const auto kv = folder.Settings();
  std::vector<std::string> keys;
  for (const auto& [k, v] : kv) keys.push_back(k);
  EXPECT_EQ(keys, kWrittenKeys);
  EXPECT_EQ(Value(kv, "Server Name"), "127.0.0.1");
  EXPECT_EQ(Value(kv, "ServerPort"), "8080");
  EXPECT_EQ(Value(kv, "Username"), "tester");
  EXPECT_EQ(Value(kv, "RETR Alarm Record"), "1");
  EXPECT_EQ(ts::ReadFileText(folder.File("Setting.ini")).find("secret-pw"), std::string::npos);

  // Every stored value survives a second start and close unchanged.
  ts::Process p2;
  ASSERT_TRUE(folder.Start(p2));
  HWND login = ts::WaitForWindow(p2.Id(), kLoginTitle);
  ASSERT_NE(login, nullptr);
  EXPECT_EQ(ts::ItemText(login, kEditServer), "127.0.0.1");
  EXPECT_EQ(ts::ItemText(login, kEditPort), "8080");
  EXPECT_EQ(ts::ItemText(login, kEditUser), "tester");
  ts::PostClick(login, IDOK);
  HWND main = ts::WaitForWindow(p2.Id(), kMainTitle);
  ASSERT_NE(main, nullptr);
  PostMessageA(main, WM_CLOSE, 0, 0);
  DWORD code = 99;
  ASSERT_TRUE(p2.WaitExit(30000, &code));
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(folder.Settings(), kv);
}

TEST(StartUp, StoredValuesAreReadAndWrittenBack) {
  ProgramFolder folder;
  std::string ini = "[Ostrova]\r\n";
  std::vector<std::pair<std::string, std::string>> stored;
  for (size_t i = 0; i < kWrittenKeys.size(); ++i) {
    const std::string& k = kWrittenKeys[i];
    std::string v = std::to_string(3 + i);
    if (k == "Username") v = "operator";
    if (k == "Server Name") v = "127.0.0.1";
    if (k == "RETR Alarm Record") v = "1";
    if (k.ends_with("Path") || k == "Network File Directory")
      v = "C:\\data\\" + std::to_string(i) + "\\";
    if (k == "Upgrade DVR FW Path") v = "C:\\dvrfw";
    stored.emplace_back(k, v);
    ini += k + "=" + v + "\r\n";
  }
  ASSERT_TRUE(ts::WriteFileText(folder.File("Setting.ini"), ini));
  ts::Process p;
  ASSERT_TRUE(folder.Start(p));
  HWND login = ts::WaitForWindow(p.Id(), kLoginTitle);
  ASSERT_NE(login, nullptr);
  ts::PostClick(login, IDOK);
  HWND main = ts::WaitForWindow(p.Id(), kMainTitle);
  ASSERT_NE(main, nullptr);
  PostMessageA(main, WM_CLOSE, 0, 0);
  DWORD code = 99;
  ASSERT_TRUE(p.WaitExit(30000, &code));
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(folder.Settings(), stored);
}

}  // namespace
