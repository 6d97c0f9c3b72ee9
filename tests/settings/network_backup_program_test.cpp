// The "Network Backup" page in the program under Wine against devsim: the disk list, the next
// free file name, a download identical to devsim's payload, the device's abort shown, and
// "Cancel" sending "/CancelNB.cgi" only to the families and firmware that take it, "Copy to CD"
// writing the download onto the stand-in engine's disc, "PLAY" starting the player on it, and
// "File Path :" choosing the download folder through the folder chooser.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <string>

#include "disc/write_cd_dlg.h"
#include "tests/disc/iso_image.h"
#include "tests/support/program_fixture.h"
#include "tests/support/remote_tree.h"
#include "tests/support/text_file.h"
#include "tests/support/win_process.h"
#include "tests/support/window_capture.h"

namespace {

namespace ts = testsupport;

constexpr int kSystemConfigButton = 1006;
constexpr int kTree = 0x7EEE;
constexpr int kHddCombo = 1195, kFilePath = 1042, kStart = 1068, kDynamic = 1475, kCopyCd = 1505;
constexpr int kPlay = 1068;
constexpr int kStatus = 1448;

HWND PageWith(HWND sheet, int a, int b) {
  for (HWND child = ::GetWindow(sheet, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
    if (::GetDlgItem(child, a) && ::GetDlgItem(child, b) && ::IsWindowVisible(child)) return child;
  return nullptr;
}

// With OST_SCREENSHOT_DIR set, the window as <name>.bmp there.
void Screenshot(HWND w, const char* name) {
  const std::string folder = ts::ScreenshotFolder();
  if (folder.empty()) return;
  // Painted through before the capture: the window's thread has handled the redraw once it
  // answers a message sent after it.
  ::RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  DWORD_PTR result = 0;
  ::SendMessageTimeoutA(w, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
  ts::SaveWindowImage(w, folder + name + ".bmp");
}

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class NetworkBackupProgram : public ts::ProgramFixture {
 protected:
  NetworkBackupProgram()
      : ProgramFixture({.folderPrefix = "ostrova-backup",
                        .extraFiles = {"Quendor.exe"},
                        .devsimArgs = {"--fps", "5"}}) {}

  // The sheet open on the backup page; the page, or null with a failure.
  HWND OpenBackupPage(HWND main, HWND* sheetOut) {
    Click(main, kSystemConfigButton);
    HWND sheet = ts::WaitForWindow(m_process.Id(), "System setting");
    if (!sheet) return nullptr;
    *sheetOut = sheet;
    HWND tree = ::GetDlgItem(sheet, kTree);
    EXPECT_TRUE(ts::SelectTreeItem(tree, "  Network Backup") ||
                ts::SelectTreeItem(tree, "Network Backup"));
    HWND page = nullptr;
    ts::WaitUntil([&] { return (page = PageWith(sheet, kStart, kDynamic)) != nullptr; }, 20000);
    return page;
  }
  HWND StartDownload(HWND page) {
    ts::PostClick(page, kStart);
    return ts::WaitForWindow(m_process.Id(), "DVR-Network Backup");
  }
  static bool StatusIs(HWND dlg, const std::string& text) {
    return ts::WaitUntil([&] { return ts::ItemText(dlg, kStatus) == text; }, 60000);
  }
  std::string BackupDir() const {
    std::string dir = m_folder.Path() + "bk";
    ::CreateDirectoryA(dir.c_str(), nullptr);
    return dir;
  }
};

TEST_F(NetworkBackupProgram, DownloadIsByteExactAndTheNextNameIsFree) {
  const std::string dir = BackupDir();
  SetSetting("Network File Directory", dir);
  // A taken name, held open without sharing, is skipped.
  HANDLE locked = ::CreateFileA((dir + "\\CH01_0001.dvr").c_str(), GENERIC_WRITE, 0, nullptr,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(locked, INVALID_HANDLE_VALUE);
  HWND main = StartAndLogIn({"--product", "RZ3K", "--firmware", "1052", "--set",
                             "backup.disks=0,1,5", "--set", "backup.bytes=300000"});
  ASSERT_NE(main, nullptr);
  HWND sheet = nullptr;
  HWND page = OpenBackupPage(main, &sheet);
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(::SendMessageA(::GetDlgItem(page, kHddCombo), CB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(ts::ItemText(page, kFilePath), dir + "\\CH01_0002.dvr");
  ::SendMessageA(::GetDlgItem(page, kHddCombo), CB_SETCURSEL, 2, 0);
  Screenshot(sheet, "network_backup_page");

  HWND dlg = StartDownload(page);
  ASSERT_NE(dlg, nullptr) << MessageBoxes();
  ASSERT_TRUE(StatusIs(dlg, "Download process is finished")) << ts::ItemText(dlg, kStatus);
  Screenshot(dlg, "network_backup_progress");
  const std::string payload = m_device.Control("/_devsim/backup-payload");
  EXPECT_EQ(payload.size(), 300000u);
  EXPECT_TRUE(FileBytes(dir + "\\CH01_0002.dvr") == payload);
  EXPECT_EQ(Params("/NetworkBk.cgi", "Num"), std::vector<std::string>{"5"});
  EXPECT_EQ(Params("/NetworkBk.cgi", "CH"), std::vector<std::string>{"0"});
  ts::PostClick(dlg, IDCANCEL);
  ASSERT_TRUE(ts::WaitUntil([&] { return !::IsWindow(dlg); }, 20000));
  EXPECT_TRUE(m_device.RequestsOf("/CancelNB.cgi").empty());  // the download had finished
  EXPECT_TRUE(
      ts::WaitUntil([&] { return ts::ItemText(page, kFilePath) == dir + "\\CH01_0003.dvr"; }));

  // The device's abort is shown as such.
  m_device.Control("/_devsim/set?backup.scenario=abort");
  dlg = StartDownload(page);
  ASSERT_NE(dlg, nullptr);
  EXPECT_TRUE(StatusIs(dlg, "Wait a monent and retry again.")) << ts::ItemText(dlg, kStatus);
  ts::PostClick(dlg, IDCANCEL);
  ASSERT_TRUE(ts::WaitUntil([&] { return !::IsWindow(dlg); }, 20000));
  // An oversize chunk fails the download without a byte of it in the file.
  m_device.Control("/_devsim/set?backup.scenario=oversize&backup.abort_after=2");
  dlg = StartDownload(page);
  ASSERT_NE(dlg, nullptr);
  EXPECT_TRUE(StatusIs(dlg, "Download file is failed!")) << ts::ItemText(dlg, kStatus);
  EXPECT_TRUE(FileBytes(dir + "\\CH01_0004.dvr") == m_device.Control("/_devsim/backup-payload"));
  ts::PostClick(dlg, IDCANCEL);
  ASSERT_TRUE(ts::WaitUntil([&] { return !::IsWindow(dlg); }, 20000));
  ::CloseHandle(locked);
  ts::PostClick(sheet, 8000);
  CloseAndWait(main);
}

// "File Path :" opens the folder chooser at the download folder; the folder picked there takes
// the next download, CANCEL leaves the page as it was.
TEST_F(NetworkBackupProgram, FilePathChoosesTheFolderOfTheDownloads) {
  const std::string dir = BackupDir();
  const std::string other = dir + "\\other";
  ASSERT_TRUE(::CreateDirectoryA(other.c_str(), nullptr));
  SetSetting("Network File Directory", dir);
  HWND main = StartAndLogIn({"--product", "RZ3K", "--firmware", "1052", "--set",
                             "backup.disks=0,1,5", "--set", "backup.bytes=3000"});
  ASSERT_NE(main, nullptr);
  HWND sheet = nullptr;
  HWND page = OpenBackupPage(main, &sheet);
  ASSERT_NE(page, nullptr);
  const auto lower = [](std::string t) {
    for (char& c : t) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return t;
  };
  constexpr int kFilePathButton = 1446;

  ts::PostClick(page, kFilePathButton);
  HWND chooser = ts::WaitForWindow(m_process.Id(), "Destination Path");
  ASSERT_NE(chooser, nullptr);
  HWND tree = ::GetDlgItem(chooser, 1315);
  EXPECT_EQ(lower(ts::SelectedTreePath(tree)), lower(dir + "\\"));
  ts::PostClick(chooser, IDCANCEL);
  ASSERT_TRUE(ts::WaitUntil([&] { return !::IsWindow(chooser); }, 20000));
  EXPECT_EQ(ts::ItemText(page, kFilePath), dir + "\\CH01_0001.dvr");

  ts::PostClick(page, kFilePathButton);
  chooser = ts::WaitForWindow(m_process.Id(), "Destination Path");
  ASSERT_NE(chooser, nullptr);
  ASSERT_NE(ts::OpenTreePath(::GetDlgItem(chooser, 1315), other), nullptr);
  ts::PostClick(chooser, IDOK);
  ASSERT_TRUE(ts::WaitUntil([&] { return !::IsWindow(chooser); }, 20000));
  EXPECT_TRUE(ts::WaitUntil([&] {
    return lower(ts::ItemText(page, kFilePath)) == lower(other + "\\CH01_0001.dvr");
  })) << ts::ItemText(page, kFilePath);

  HWND dlg = StartDownload(page);
  ASSERT_NE(dlg, nullptr) << MessageBoxes();
  ASSERT_TRUE(StatusIs(dlg, "Download process is finished")) << ts::ItemText(dlg, kStatus);
  EXPECT_TRUE(FileBytes(other + "\\CH01_0001.dvr") == m_device.Control("/_devsim/backup-payload"));
  ts::PostClick(dlg, IDCANCEL);
  ASSERT_TRUE(ts::WaitUntil([&] { return !::IsWindow(dlg); }, 20000));
  ts::PostClick(sheet, 8000);
  CloseAndWait(main);
}

// The record list pages through 300 entries; a Full List row, with a filter on or not, presets
// the backup with that row's own record, which the next download asks for. The page starts with
// the disk, the list type and the maximum the settings hold.
TEST_F(NetworkBackupProgram, FullListRowPresetsTheBackupWithItsRecord) {
  SetSetting("Network File Directory", BackupDir());
  SetSetting("Search List HDD", "5");
  SetSetting("Search List Type", "0");
  SetSetting("Search List Max Number", "300");
  HWND main = StartAndLogIn({"--product", "RZ1K", "--firmware", "1057", "--set", "backup.disks=0,5",
                             "--set", "backup.bytes=5000"});
  ASSERT_NE(main, nullptr);
  Click(main, kSystemConfigButton);
  HWND sheet = ts::WaitForWindow(m_process.Id(), "System setting");
  ASSERT_NE(sheet, nullptr);
  HWND tree = ::GetDlgItem(sheet, kTree);
  for (const bool filtered : {false, true}) {
    SCOPED_TRACE(filtered ? "filtered" : "unfiltered");
    ASSERT_TRUE(ts::SelectTreeItem(tree, "Search List"));
    HWND page = nullptr;
    ASSERT_TRUE(
        ts::WaitUntil([&] { return (page = PageWith(sheet, 1196, 1068)) != nullptr; }, 20000));
    EXPECT_EQ(::SendMessageA(::GetDlgItem(page, 1195), CB_GETCURSEL, 0, 0), 1);  // disk 5
    EXPECT_EQ(::SendMessageA(::GetDlgItem(page, 1196), CB_GETCURSEL, 0, 0), 0);  // "ALL"
    EXPECT_EQ(ts::ItemText(page, 1040), "300");
    const size_t before = m_device.RequestsOf("/GetSearchList.cgi").size();
    ts::PostClick(page, 1068);
    HWND full = ts::WaitForWindow(m_process.Id(), "Full Record List", 60000);
    ASSERT_NE(full, nullptr) << MessageBoxes();
    HWND list = ::GetDlgItem(full, 1458);
    EXPECT_EQ(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 300);
    const auto pages = m_device.RequestsOf("/GetSearchList.cgi");
    EXPECT_EQ(pages.size() - before, 15u);
    const auto states = Params("/GetSearchList.cgi", "STATE");
    EXPECT_EQ(states[before], "LAST");
    EXPECT_EQ(states.back(), "PREV");
    if (filtered) {
      ts::PostClick(full, 1462);  // ALARM off
      ASSERT_TRUE(
          ts::WaitUntil([&] { return ::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) < 300; }));
    }
    const int row = 4;
    const std::string channel = ts::ListCell(list, row, 2), time = ts::ListCell(list, row, 3);
    ts::SelectListRow(list, row);
    Screenshot(full, filtered ? "full_list_filtered" : "full_list");
    ts::PostClick(full, 1068);
    ASSERT_TRUE(ts::WaitUntil([&] { return !::IsWindow(full); }, 20000));
    HWND backup = nullptr;
    ASSERT_TRUE(ts::WaitUntil(
        [&] { return (backup = PageWith(sheet, kStart, kDynamic)) != nullptr; }, 20000));
    const size_t downloads = m_device.RequestsOf("/NetworkBk.cgi").size();
    HWND dlg = StartDownload(backup);
    ASSERT_NE(dlg, nullptr) << MessageBoxes();
    ASSERT_TRUE(StatusIs(dlg, "Download process is finished")) << ts::ItemText(dlg, kStatus);
    ts::PostClick(dlg, IDCANCEL);
    ASSERT_TRUE(ts::WaitUntil([&] { return !::IsWindow(dlg); }, 20000));
    ASSERT_EQ(m_device.RequestsOf("/NetworkBk.cgi").size(), downloads + 1);
    // "YYYY-MM-DD  hh:mm:ss" of the row against the request's keys.
    auto last = [&](const char* key) { return std::stoi(Params("/NetworkBk.cgi", key).back()); };
    EXPECT_EQ(last("Year"), std::stoi(time.substr(0, 4)));
    EXPECT_EQ(last("Month"), std::stoi(time.substr(5, 2)));
    EXPECT_EQ(last("Day"), std::stoi(time.substr(8, 2)));
    EXPECT_EQ(last("Hour"), std::stoi(time.substr(12, 2)));
    EXPECT_EQ(last("Minute"), std::stoi(time.substr(15, 2)));
    EXPECT_EQ(last("Second"), std::stoi(time.substr(18, 2)));
    EXPECT_EQ(last("Num"), 5);
    if (channel != "ALL") {
      EXPECT_EQ(last("CH"), std::stoi(channel) - 1);
    }
  }
  ts::PostClick(sheet, 8000);
  CloseAndWait(main);
}

// With "Dynamic Download" the player is started on the file with the mutex's name, follows it
// (OPEN, ATTACH, reports summing to the file, DONE); a second download reuses the player.
TEST_F(NetworkBackupProgram, DynamicDownloadIsFollowedByThePlayer) {
  const std::string dir = BackupDir();
  SetSetting("Network File Directory", dir);
  HWND main =
      StartAndLogIn({"--product", "RZ3K", "--firmware", "1052", "--set", "backup.bytes=400000"});
  ASSERT_NE(main, nullptr);
  HWND sheet = nullptr;
  HWND page = OpenBackupPage(main, &sheet);
  ASSERT_NE(page, nullptr);
  ::SendMessageA(::GetDlgItem(page, kDynamic), BM_CLICK, 0, 0);
  const std::string log = m_folder.File("Quendor.log");
  auto lines = [&] { return ts::ReadLines(log); };
  auto count = [&](const std::string& kind) {
    size_t n = 0;
    for (const std::string& l : lines())
      if (l.find(" " + kind) != std::string::npos) ++n;
    return n;
  };
  for (int round = 1; round <= 2; ++round) {
    SCOPED_TRACE(round);
    const std::string file = ts::ItemText(page, kFilePath);
    HWND dlg = StartDownload(page);
    ASSERT_NE(dlg, nullptr) << MessageBoxes();
    ASSERT_TRUE(StatusIs(dlg, "Download process is finished")) << ts::ItemText(dlg, kStatus);
    ASSERT_TRUE(ts::WaitUntil([&] { return count("DONE") == static_cast<size_t>(round); }, 20000))
        << MessageBoxes();
    EXPECT_TRUE(FileBytes(file) == m_device.Control("/_devsim/backup-payload"));
    EXPECT_EQ(count("CMDLINE"), 1u);  // one player for both downloads
    EXPECT_EQ(count("OPEN"), static_cast<size_t>(round));
    EXPECT_EQ(count("ATTACH"), static_cast<size_t>(round));
    uint64_t sum = 0;
    bool afterOpen = false;
    for (const std::string& l : lines()) {
      if (l.find(" OPEN") != std::string::npos) afterOpen = true, sum = 0;
      const size_t at = l.find(" PROGRESS ");
      if (afterOpen && at != std::string::npos) sum += std::stoull(l.substr(at + 10));
    }
    EXPECT_EQ(sum, 400000u);
    if (round == 1) {
      const auto all = lines();
      ASSERT_FALSE(all.empty());
      EXPECT_NE(all[0].find("CMDLINE " + file + " DYNAMICLOAD=1"), std::string::npos) << all[0];
      EXPECT_EQ(count("MUTEX NETWORKBK_"), 1u);
    } else {
      EXPECT_EQ(count("FOLLOW " + file), 1u);
    }
    ts::PostClick(dlg, IDCANCEL);
    ASSERT_TRUE(ts::WaitUntil([&] { return !::IsWindow(dlg); }, 20000));
  }
  EXPECT_TRUE(MessageBoxes().empty()) << MessageBoxes();
  // The player outlives the program as a program of its own; the test ends it.
  if (HWND player = ::FindWindowA(nullptr, "Quendor")) ::PostMessageA(player, WM_CLOSE, 0, 0);
  ts::PostClick(sheet, 8000);
  CloseAndWait(main);
}

struct CancelCase {
  const char* product;
  const char* firmware;
  bool sends;
};

class NetworkBackupCancel : public NetworkBackupProgram,
                            public ::testing::WithParamInterface<CancelCase> {};

TEST_P(NetworkBackupCancel, CancelStopsTheDownloadAndAsksTheDeviceOnlyWhenItTakesIt) {
  const CancelCase c = GetParam();
  SetSetting("Network File Directory", BackupDir());
  HWND main = StartAndLogIn(
      {"--product", c.product, "--firmware", c.firmware, "--set", "backup.chunk_delay_ms=30"});
  ASSERT_NE(main, nullptr);
  HWND sheet = nullptr;
  HWND page = OpenBackupPage(main, &sheet);
  ASSERT_NE(page, nullptr);
  HWND dlg = StartDownload(page);
  ASSERT_NE(dlg, nullptr) << MessageBoxes();
  ASSERT_TRUE(ts::WaitUntil([&] { return !m_device.RequestsOf("/NetworkBk.cgi").empty(); }, 20000));
  ts::PostClick(dlg, IDCANCEL);
  ASSERT_TRUE(ts::WaitUntil([&] { return !::IsWindow(dlg); }, 30000));
  EXPECT_EQ(m_device.RequestsOf("/CancelNB.cgi").size(), c.sends ? 1u : 0u);
  ts::PostClick(sheet, 8000);
  CloseAndWait(main);
}

// "Copy to CD": the write-CD dialog before the download, the burn after it onto the stand-in
// engine's disc, whose ".DVR" file is the download byte for byte; then "PLAY" starts a player of
// its own on the finished file.
TEST_F(NetworkBackupProgram, CopyToCdBurnsTheDownloadAndPlayStartsThePlayer) {
  const std::string dir = BackupDir();
  SetSetting("Network File Directory", dir);
  // The stand-in engine, found through the registry, with a blank CD.
  const std::string engine = m_folder.Path() + "engine";
  ::CreateDirectoryA(engine.c_str(), nullptr);
  ASSERT_TRUE(
      ts::CopyFileTo(ts::ThisExeFolder() + "engine\\NeroAPI.dll", engine + "\\NeroAPI.dll"));
  std::ofstream(engine + "\\engine.ini") << "drive=Image Recorder,image,blank,359847\n"
                                         << "drive=Sim CD Writer,cd,blank,359847\n"
                                         << "log=" << engine << "\\calls.txt\n";
  const char kSharedKey[] = "SOFTWARE\\ahead\\Shared";
  HKEY key = nullptr;
  ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSharedKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
            ERROR_SUCCESS);
  ::RegSetValueExA(key, "NeroAPI", 0, REG_SZ, reinterpret_cast<const BYTE*>(engine.c_str()),
                   static_cast<DWORD>(engine.size() + 1));
  ::RegCloseKey(key);
  struct Unregister {
    const char* path;
    ~Unregister() {
      HKEY k = nullptr;
      if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_ALL_ACCESS, &k) != ERROR_SUCCESS) return;
      ::RegDeleteValueA(k, "NeroAPI");
      ::RegCloseKey(k);
    }
  } unregister{kSharedKey};

  HWND main =
      StartAndLogIn({"--product", "RZ3K", "--firmware", "1052", "--set", "backup.bytes=250000"});
  ASSERT_NE(main, nullptr);
  HWND sheet = nullptr;
  HWND page = OpenBackupPage(main, &sheet);
  ASSERT_NE(page, nullptr);
  ::SendMessageA(::GetDlgItem(page, kCopyCd), BM_CLICK, 0, 0);
  const std::string file = ts::ItemText(page, kFilePath);
  ts::PostClick(page, kStart);
  HWND writeCd = ts::WaitForWindow(m_process.Id(), "Write CD Setting");
  ASSERT_NE(writeCd, nullptr) << MessageBoxes();
  HWND combo = ::GetDlgItem(writeCd, CWriteCDDlg::kDeviceCombo);
  ::SendMessageA(combo, CB_SETCURSEL, 1, 0);
  ::SendMessageA(writeCd, WM_COMMAND, MAKEWPARAM(CWriteCDDlg::kDeviceCombo, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
  ::PostMessageA(writeCd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  HWND dlg = ts::WaitForWindow(m_process.Id(), "DVR-Network Backup");
  ASSERT_NE(dlg, nullptr) << MessageBoxes();
  ASSERT_TRUE(StatusIs(dlg, "Download process is finished"))
      << ts::ItemText(dlg, kStatus) << MessageBoxes();
  const std::string payload = m_device.Control("/_devsim/backup-payload");
  ASSERT_EQ(payload.size(), 250000u);
  EXPECT_TRUE(FileBytes(file) == payload);

  const std::string image = engine + "\\drive1.iso";
  const auto volume = isoimage::ReadVolume(isoimage::FileBlockReader(image));
  ASSERT_TRUE(volume) << ts::ReadFileText(engine + "\\calls.txt");
  EXPECT_EQ(volume->volumeId, "OstrovaBackup");
  auto upper = [](std::string t) {
    std::transform(t.begin(), t.end(), t.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return t;
  };
  const std::string name = file.substr(file.rfind('\\') + 1);
  const auto onDisc =
      std::find_if(volume->files.begin(), volume->files.end(), [&](const isoimage::IsoFile& f) {
        return upper(f.name) == upper(name) && upper(f.name).ends_with(".DVR");
      });
  ASSERT_NE(onDisc, volume->files.end());
  std::string data((onDisc->size + isoimage::kBlock - 1) / isoimage::kBlock * isoimage::kBlock,
                   '\0');
  ASSERT_TRUE(isoimage::FileBlockReader(image)(
      onDisc->extent, static_cast<uint32_t>(data.size() / isoimage::kBlock),
      reinterpret_cast<uint8_t*>(data.data())));
  data.resize(onDisc->size);
  EXPECT_TRUE(data == payload);

  // "PLAY": the dialog ends and a player starts on the finished file.
  ts::PostClick(dlg, kPlay);
  ASSERT_TRUE(ts::WaitUntil([&] { return !::IsWindow(dlg); }, 20000));
  const std::string log = m_folder.File("Quendor.log");
  EXPECT_TRUE(ts::WaitUntil(
      [&] {
        for (const std::string& l : ts::ReadLines(log))
          if (l.find("CMDLINE " + file + " CONVERT=0") != std::string::npos) return true;
        return false;
      },
      30000))
      << ts::ReadFileText(log) << MessageBoxes();
  EXPECT_TRUE(MessageBoxes().empty()) << MessageBoxes();
  if (HWND player = ::FindWindowA(nullptr, "Quendor")) ::PostMessageA(player, WM_CLOSE, 0, 0);
  ts::PostClick(sheet, 8000);
  CloseAndWait(main);
}

INSTANTIATE_TEST_SUITE_P(Families, NetworkBackupCancel,
                         ::testing::Values(CancelCase{"RZ1K", "1043", true},
                                           CancelCase{"RZ4K", "1057", true},
                                           CancelCase{"RZ3K", "1031", false},
                                           CancelCase{"RZ1K", "1042", false}));

}  // namespace
