// The disc writer with the stand-in engine under Wine: the engine found through the registry,
// the checks of a disc and a name, two burns appending sessions to one disc image that lists
// both, an abort during the burn, the adapters for older engines, and the write-CD dialog.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <sstream>
#include <string>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "disc/cd_writer.h"
#include "disc/engine_api.h"
#include "disc/write_cd_dlg.h"
#include "app/progress_channel.h"
#include "disc/write_cd_progress.h"
#include "disc/write_cd_setup.h"
#include "platform/message_loop.h"
#include "tests/disc/iso_image.h"
#include "tests/support/text_file.h"
#include "tests/support/win_process.h"
#include "tests/support/window_capture.h"

namespace ts = testsupport;

namespace {

const char kSharedKey[] = "SOFTWARE\\ahead\\Shared";

void SetShared(const std::string& folder) {
  HKEY k = nullptr;
  ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSharedKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &k, nullptr),
            ERROR_SUCCESS);
  if (folder.empty()) {
    ::RegDeleteValueA(k, "NeroAPI");
  } else {
    ::RegSetValueExA(k, "NeroAPI", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                     static_cast<DWORD>(folder.size() + 1));
  }
  ::RegCloseKey(k);
}

void SetAppPath(const std::string& folder) {
  const char key[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Nero.exe";
  if (folder.empty()) {
    ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, key);
    return;
  }
  HKEY k = nullptr;
  ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k,
                              nullptr),
            ERROR_SUCCESS);
  ::RegSetValueExA(k, "Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                   static_cast<DWORD>(folder.size() + 1));
  ::RegCloseKey(k);
}

std::string SharedValue() {
  char buf[300] = {};
  DWORD size = sizeof buf - 1;
  if (::RegGetValueA(HKEY_LOCAL_MACHINE, kSharedKey, "NeroAPI", RRF_RT_REG_SZ, nullptr, buf,
                     &size) != ERROR_SUCCESS)
    return "<none>";
  return buf;
}

std::string Pattern(size_t n, int seed) {
  std::string s(n, '\0');
  for (size_t i = 0; i < n; ++i) s[i] = static_cast<char>((i * 13 + seed) & 0xFF);
  return s;
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string ContentOf(const std::string& image, const isoimage::IsoFile& f) {
  std::string data((f.size + isoimage::kBlock - 1) / isoimage::kBlock * isoimage::kBlock, '\0');
  if (!data.empty() && !isoimage::FileBlockReader(image)(
                           f.extent, static_cast<uint32_t>(data.size() / isoimage::kBlock),
                           reinterpret_cast<uint8_t*>(data.data())))
    return "<unreadable>";
  data.resize(f.size);
  return data;
}

class DiscWriterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_msgLog = m_folder.File("messages.txt");
    ::SetEnvironmentVariableA("OST_MSGBOX_LOG", m_msgLog.c_str());
    m_engine = m_folder.Path() + "engine";
    ::CreateDirectoryA(m_engine.c_str(), nullptr);
    ASSERT_TRUE(
        ts::CopyFileTo(ts::ThisExeFolder() + "engine\\NeroAPI.dll", m_engine + "\\NeroAPI.dll"));
    m_download = m_folder.File("CH01_0001.dvr");
    m_backup = Pattern(70000, 1);
    WriteFile(m_download, m_backup);
    WriteFile(ts::ThisExeFolder() + "Quendor_setup.exe", "player installer");
    Configure("");
    SetShared(m_engine);
  }
  void TearDown() override {
    m_writer.reset();
    SetShared("");
    ::SetEnvironmentVariableA("OST_MSGBOX_LOG", nullptr);
  }

  // The engine's configuration: three drives, then the extra lines.
  void Configure(const std::string& extra, const std::string& dvdState = "blank") {
    std::ofstream(m_engine + "\\engine.ini")
        << "drive=Image Recorder,image,blank,359847\n"
        << "drive=Sim CD Writer,cd,blank,359847\n"
        << "drive=Sim DVD Writer,dvd," << dvdState << ",2295104\n"
        << "log=" << m_engine << "\\calls.txt\n"
        << extra;
  }
  std::string Messages() const { return ts::ReadFileText(m_msgLog); }
  std::string Calls() const { return ts::ReadFileText(m_engine + "\\calls.txt"); }
  std::string Image(int drive) const {
    return m_engine + "\\drive" + std::to_string(drive) + ".iso";
  }

  int InitWriter() {
    m_writer = std::make_unique<CCDWriter>();
    m_writer->BindAppendPlayer(&m_appendPlayer);
    return m_writer->Init(m_download.c_str(), nullptr);
  }
  // The page's steps after the dialog: drive, name, size; then the check.
  int Check(int drive, const std::string& name, uint64_t size = 1 << 20) {
    m_writer->SetSelectedDrive(drive);
    m_writer->SetDiscFileName(name);
    m_writer->SetTotalSize(size);
    return m_writer->CheckFiles();
  }

  ts::TempFolder m_folder{"disc-writer"};
  std::string m_msgLog, m_engine, m_download, m_backup;
  uint32_t m_appendPlayer = 0;
  std::unique_ptr<CCDWriter> m_writer;
};

}  // namespace

TEST_F(DiscWriterTest, WithoutAnEngineNothingHappens) {
  SetShared("");
  EXPECT_EQ(InitWriter(), 0);
  EXPECT_EQ(Messages(), "You should download nero first.\n");
  EXPECT_EQ(m_writer->DeviceCount(), 0);
  EXPECT_EQ(m_writer->Burn(), 0);
  EXPECT_EQ(Messages(), "You should download nero first.\n");
}

TEST_F(DiscWriterTest, FindsTheEngineAndItsDrives) {
  ASSERT_EQ(InitWriter(), 1) << Messages();
  ASSERT_EQ(m_writer->DeviceCount(), 3);
  EXPECT_STREQ(m_writer->DeviceNames()[0], "Image Recorder");
  EXPECT_STREQ(m_writer->DeviceNames()[2], "Sim DVD Writer");
  const std::string calls = Calls();
  EXPECT_NE(calls.find("expect 6.6.0.14"), std::string::npos) << calls;
  EXPECT_NE(calls.find("init files=OstrovaBackup software=Ostrova language=Nero.txt overburn=0"),
            std::string::npos)
      << calls;
  EXPECT_NE(calls.find("drives media=0x1"), std::string::npos) << calls;
  // The engine's folder is first in PATH.
  char path[32768] = {};
  ::GetEnvironmentVariableA("PATH", path, sizeof path);
  EXPECT_EQ(std::string(path).rfind(m_engine + ";", 0), 0u) << path;
  m_writer.reset();
  EXPECT_NE(Calls().find("done"), std::string::npos) << Calls();
  EXPECT_EQ(Messages(), "");
}

TEST_F(DiscWriterTest, RegistryFoldersAreRewrittenAndCopied) {
  // A closing backslash is taken off and written back.
  SetShared(m_engine + "\\");
  ASSERT_EQ(InitWriter(), 1) << Messages();
  EXPECT_EQ(SharedValue(), m_engine);
  // With only the engine program's path, that folder is copied to the shared value.
  m_writer.reset();
  SetShared("");
  SetAppPath(m_engine);
  ASSERT_EQ(InitWriter(), 1) << Messages();
  EXPECT_EQ(SharedValue(), m_engine);
  SetAppPath("");
  // "PATH" names the folder once, whatever the case.
  char path[32768] = {};
  ::GetEnvironmentVariableA("PATH", path, sizeof path);
  std::string lower = path;
  std::transform(lower.begin(), lower.end(), lower.begin(), ::tolower);
  std::string folder = m_engine;
  std::transform(folder.begin(), folder.end(), folder.begin(), ::tolower);
  EXPECT_EQ(lower.find(folder + ";"), lower.rfind(folder + ";")) << path;
}

TEST_F(DiscWriterTest, CheckFilesRefusesWhatCannotBeWritten) {
  struct Case {
    const char* name;
    std::string dvdState;
    int drive;
    std::string file;
    uint64_t size;
    int want;
    const char* message;
  };
  const std::string folder = m_folder.Path();
  const Case cases[] = {
      {"wrong extension", "blank", 1, folder + "CH01_0001.dvr1", 1, 0,
       "The extension of file name should be (dvr)\n"},
      {"folder only", "blank", 1, "C:\\", 1, 0, "The extension of file name should be (dvr)\n"},
      {"bad drive index", "blank", 7, folder + "a.dvr", 1, 0, "No available devices.\n"},
      {"negative drive index", "blank", -1, folder + "a.dvr", 1, 0, "No available devices.\n"},
      {"no disc", "none", 2, folder + "a.dvr", 1, 0, "NO DISC\n"},
      {"full disc", "full", 2, folder + "a.dvr", 1, 0, "No available space for writing CD.\n"},
      {"CD too small", "blank", 1, folder + "a.DVR", 800ull << 20, 0,
       "No available space for writing CD.\n"},
      {"DVD over 4 GiB free", "blank", 2, folder + "a.Dvr", 4200ull << 20, 1, ""},
      {"image recorder", "blank", 0, folder + "a.dvr", 1, 1, ""},
  };
  for (const Case& c : cases) {
    Configure("", c.dvdState);
    ::DeleteFileA(m_msgLog.c_str());
    ASSERT_EQ(InitWriter(), 1) << c.name;
    EXPECT_EQ(Check(c.drive, c.file, c.size), c.want) << c.name;
    EXPECT_EQ(Messages(), c.message) << c.name;
  }
}

TEST_F(DiscWriterTest, TwoBurnsAppendSessionsThatKeepTheFirstFiles) {
  ASSERT_EQ(InitWriter(), 1);
  ASSERT_EQ(Check(2, m_download), 1) << Messages();
  ASSERT_EQ(m_writer->Burn(), 1) << Messages();
  EXPECT_EQ(m_writer->GetStatus(), CCDWriter::kEnded);
  auto v1 = isoimage::ReadVolume(isoimage::FileBlockReader(Image(2)));
  ASSERT_TRUE(v1);
  EXPECT_EQ(v1->volumeId, "OstrovaBackup");
  ASSERT_EQ(v1->files.size(), 1u);
  EXPECT_EQ(v1->files[0].name, "CH01_0001.dvr");
  EXPECT_EQ(ContentOf(Image(2), v1->files[0]), m_backup);
  EXPECT_NE(Calls().find("burn 2 flags=0x14 media=0xc001c"), std::string::npos) << Calls();

  // The same name again is refused; another download with the player goes on the same disc.
  ASSERT_EQ(InitWriter(), 1);
  EXPECT_EQ(Check(2, m_folder.File("ch01_0001.DVR")), 0);
  EXPECT_EQ(Messages(), "FileName is tha same as other existed file,please modify it\n");
  const std::string second = Pattern(5000, 2);
  WriteFile(m_folder.File("CH02_0001.dvr"), second);
  ASSERT_EQ(m_writer->Init(m_folder.File("CH02_0001.dvr").c_str(), nullptr), 1);
  m_appendPlayer = 1;
  m_writer->SetCloseDisc(1);
  ASSERT_EQ(Check(2, m_folder.File("CH02_0001.dvr")), 1) << Messages();
  ASSERT_EQ(m_writer->Burn(), 1) << Messages();
  auto v2 = isoimage::ReadVolume(isoimage::FileBlockReader(Image(2)));
  ASSERT_TRUE(v2);
  ASSERT_EQ(v2->files.size(), 3u);
  EXPECT_EQ(v2->files[0].name, "CH01_0001.dvr");
  EXPECT_EQ(ContentOf(Image(2), v2->files[0]), m_backup);
  EXPECT_EQ(v2->files[1].name, "CH02_0001.dvr");
  EXPECT_EQ(ContentOf(Image(2), v2->files[1]), second);
  EXPECT_EQ(v2->files[2].name, "Quendor_setup.exe");
  EXPECT_EQ(ContentOf(Image(2), v2->files[2]), "player installer");
  const std::string calls = Calls();
  EXPECT_NE(calls.find("import 2 track 0"), std::string::npos) << calls;
  EXPECT_NE(calls.find("burn 2 flags=0x4 media=0xc001c speed=0 stamp=1"), std::string::npos)
      << calls;
  EXPECT_EQ(calls.find("track 4294967295"), std::string::npos) << calls;

  // Left for the check with standard tools (disc_image_tools).
  char out[MAX_PATH] = {};
  if (::GetEnvironmentVariableA("OST_DISC_IMAGE_OUT", out, sizeof out) > 0) {
    ::CreateDirectoryA(out, nullptr);
    const std::string dir = std::string(out) + "\\";
    EXPECT_TRUE(ts::CopyFileTo(Image(2), dir + "two_sessions.iso"));
    EXPECT_TRUE(ts::CopyFileTo(m_download, dir + "CH01_0001.dvr"));
    EXPECT_TRUE(ts::CopyFileTo(m_folder.File("CH02_0001.dvr"), dir + "CH02_0001.dvr"));
    EXPECT_TRUE(
        ts::CopyFileTo(ts::ThisExeFolder() + "Quendor_setup.exe", dir + "Quendor_setup.exe"));
  }

  // The disc is closed now.
  ASSERT_EQ(InitWriter(), 1);
  EXPECT_EQ(Check(2, m_folder.File("CH03_0001.dvr")), 0);
}

TEST_F(DiscWriterTest, FailedImportOnAWrittenDiscBurnsNothing) {
  ASSERT_EQ(InitWriter(), 1);
  m_writer->SetSelectedDrive(1);
  ASSERT_EQ(m_writer->Burn(), 1) << Messages();
  Configure("import=3\n");
  ::DeleteFileA(m_msgLog.c_str());
  ASSERT_EQ(InitWriter(), 1);
  m_writer->SetSelectedDrive(1);
  m_writer->SetDiscFileName(m_folder.File("CH05_0001.dvr"));
  EXPECT_EQ(m_writer->Burn(), 0);
  EXPECT_EQ(Messages(), "There was a read error while importing the track!\n");
  auto v = isoimage::ReadVolume(isoimage::FileBlockReader(Image(1)));
  ASSERT_TRUE(v);
  EXPECT_EQ(v->files.size(), 1u);
}

TEST_F(DiscWriterTest, AbortDuringTheBurnEndsWithUserAborted) {
  Configure("steplag=200\n");
  ASSERT_EQ(InitWriter(), 1);
  m_writer->SetSelectedDrive(1);
  std::atomic<int> result{-1};
  std::thread burn([&] { result = m_writer->Burn(); });
  ASSERT_TRUE(
      ost::PumpMessagesUntil([&] { return Calls().find("burn 1 ") != std::string::npos; }, 60000));
  m_writer->Abort();
  burn.join();
  EXPECT_EQ(result.load(), 0);
  EXPECT_EQ(Messages(), "Write CD Error : user aborted\n");
  EXPECT_EQ(m_writer->GetStatus(), CCDWriter::kEnded);
  EXPECT_FALSE(ts::FileExists(Image(1)));
}

TEST_F(DiscWriterTest, OldEnginesGetOldEntriesMasksAndTracks) {
  Configure("version=5554\nversionex=5.5.5.4\n");
  ASSERT_EQ(InitWriter(), 1) << Messages();
  ASSERT_EQ(Check(2, m_download), 1) << Messages();
  ASSERT_EQ(m_writer->Burn(), 1) << Messages();
  const std::string calls = Calls();
  EXPECT_NE(calls.find("open 2 Sim DVD Writer old-entry"), std::string::npos) << calls;
  EXPECT_NE(calls.find("burn 2 flags=0x14 media=0xc speed=0 stamp=0 track=presented"),
            std::string::npos)
      << calls;
  EXPECT_NE(calls.find("free track presented"), std::string::npos) << calls;
  auto v = isoimage::ReadVolume(isoimage::FileBlockReader(Image(2)));
  ASSERT_TRUE(v);
  EXPECT_EQ(v->files.size(), 1u);

  // The version whose drive query hides its run-time library and whose done call is skipped.
  Configure("version=5564\nversionex=5.5.6.4\n");
  std::ofstream(m_engine + "\\DVDR.DLL") << "x";
  ASSERT_EQ(InitWriter(), 1);
  EXPECT_NE(Calls().find("runtime-hidden"), std::string::npos);
  EXPECT_TRUE(ts::FileExists(m_engine + "\\DVDR.DLL"));
  m_writer.reset();
  EXPECT_EQ(Calls().find("done"), std::string::npos) << Calls();
}

TEST_F(DiscWriterTest, TheWriteCdDialog) {
  ASSERT_EQ(InitWriter(), 1);
  int32_t closeOption = 1;
  uint32_t append = 1;
  CWriteCDDlg dlg(nullptr);
  dlg.Bind(m_writer.get(), &closeOption, &append);
  ASSERT_EQ(dlg.SetSource(m_download, m_writer->DeviceNames(), m_writer->DeviceCount(), 1,
                          uint64_t{12} << 20),
            1);
  EXPECT_EQ(dlg.m_strFileName, "CH01_0001.dvr");
  ASSERT_TRUE(dlg.Create());
  HWND w = dlg.GetSafeHwnd();
  ::ShowWindow(w, SW_SHOW);
  ost::PumpMessagesUntil([] { return false; }, 200);
  EXPECT_EQ(::IsDlgButtonChecked(w, CWriteCDDlg::kCloseDiscCheck), BST_CHECKED);
  EXPECT_EQ(::IsDlgButtonChecked(w, CWriteCDDlg::kCdRadio), BST_CHECKED);
  EXPECT_EQ(append, 0u);  // the player is appended only when ticked here
  ::SendMessageA(w, WM_COMMAND, MAKEWPARAM(CWriteCDDlg::kAppendPlayerCheck, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(w, CWriteCDDlg::kAppendPlayerCheck)));
  ::CheckDlgButton(w, CWriteCDDlg::kAppendPlayerCheck, BST_CHECKED);
  ::SendMessageA(w, WM_COMMAND, MAKEWPARAM(CWriteCDDlg::kAppendPlayerCheck, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(w, CWriteCDDlg::kAppendPlayerCheck)));
  EXPECT_EQ(append, 1u);
  if (!ts::ScreenshotFolder().empty()) {
    ::SetForegroundWindow(w);
    ::RedrawWindow(w, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    ost::PumpMessagesUntil([] { return false; }, 300);
    EXPECT_TRUE(ts::SaveWindowImage(w, ts::ScreenshotFolder() + "write_cd.bmp"));
  }
  dlg.EndDialog(IDCANCEL);
}

namespace {

// The next "Write CD Setting" window other than `previous`, once it shows.
HWND NextSettingWindow(HWND previous) {
  for (int i = 0; i < 6000; ++i) {
    HWND w = ::FindWindowA(nullptr, "Write CD Setting");
    if (w != nullptr && w != previous && ::IsWindowVisible(w)) return w;
    ::Sleep(10);
  }
  return nullptr;
}

std::string EditText(HWND w, int id) {
  char buf[MAX_PATH] = {};
  ::SendMessageA(::GetDlgItem(w, id), WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf));
  return buf;
}

}  // namespace

TEST_F(DiscWriterTest, TheDialogComesBackUntilTheCheckPasses) {
  // The disc already holds the download's name.
  ASSERT_EQ(InitWriter(), 1);
  m_writer->SetSelectedDrive(1);
  ASSERT_EQ(m_writer->Burn(), 1) << Messages();

  std::string firstName, secondName;
  std::thread user([&] {
    // First dialog: the CD writer, the proposed name, OK.
    HWND first = NextSettingWindow(nullptr);
    if (first == nullptr) return;
    firstName = EditText(first, CWriteCDDlg::kFileNameEdit);
    HWND combo = ::GetDlgItem(first, CWriteCDDlg::kDeviceCombo);
    ::SendMessageA(combo, CB_SETCURSEL, 1, 0);
    ::SendMessageA(first, WM_COMMAND, MAKEWPARAM(CWriteCDDlg::kDeviceCombo, CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(combo));
    ::PostMessageA(first, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    // Second dialog, after the name was refused: another name.
    HWND second = NextSettingWindow(first);
    if (second == nullptr) return;
    secondName = EditText(second, CWriteCDDlg::kFileNameEdit);
    combo = ::GetDlgItem(second, CWriteCDDlg::kDeviceCombo);
    ::SendMessageA(combo, CB_SETCURSEL, 1, 0);
    ::SendMessageA(second, WM_COMMAND, MAKEWPARAM(CWriteCDDlg::kDeviceCombo, CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(combo));
    ::SendMessageA(::GetDlgItem(second, CWriteCDDlg::kFileNameEdit), WM_SETTEXT, 0,
                   reinterpret_cast<LPARAM>("CH09_0001.dvr"));
    ::PostMessageA(second, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  });
  ::DeleteFileA(m_msgLog.c_str());
  const bool on = PrepareDiscWrite(nullptr, *m_writer, m_download, 1);
  user.join();
  EXPECT_TRUE(on);
  EXPECT_EQ(firstName, "CH01_0001.dvr");
  EXPECT_EQ(secondName, "CH01_0001.dvr");
  EXPECT_EQ(Messages(), "FileName is tha same as other existed file,please modify it\n");
  EXPECT_EQ(m_writer->DiscFileName(), m_folder.File("CH09_0001.dvr"));

  // Cancelling writes nothing.
  std::thread cancel([&] {
    if (HWND w = NextSettingWindow(nullptr))
      ::PostMessageA(w, WM_COMMAND, MAKEWPARAM(CWriteCDDlg::kCancelWriting, BN_CLICKED), 0);
  });
  EXPECT_FALSE(PrepareDiscWrite(nullptr, *m_writer, m_download, 1));
  cancel.join();
}

TEST_F(DiscWriterTest, ProgressReachesTheChannelInOrder) {
  std::mutex lock;
  std::vector<std::pair<uint32_t, uint32_t>> got;
  ASSERT_TRUE(g_pProgressChannel->Serve([&](uint32_t command, uint32_t value) {
    std::lock_guard<std::mutex> hold(lock);
    got.emplace_back(command, value);
  }));
  m_writer = std::make_unique<CCDWriter>();
  ASSERT_EQ(m_writer->Init(m_download.c_str(), &WriteCDProgressCallback), 1);
  m_writer->SetSelectedDrive(1);
  EXPECT_EQ(m_writer->Burn(), 1) << Messages();
  // The last command is taken before the channel stops serving.
  for (int i = 0; i < 600; ++i) {
    {
      std::lock_guard<std::mutex> hold(lock);
      if (!got.empty() && got.back().first == kProgressEnd) break;
    }
    ::Sleep(50);
  }
  g_pProgressChannel->StopServing();
  std::vector<std::pair<uint32_t, uint32_t>> want = {{kProgressBegin, 0}, {kProgressTotal, 100}};
  for (uint32_t p = 0; p <= 100; p += 10) want.emplace_back(kProgressDraw, p);
  want.emplace_back(kProgressEnd, 0);
  std::lock_guard<std::mutex> hold(lock);
  EXPECT_EQ(got, want);
}
