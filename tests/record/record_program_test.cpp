// Recording in the real program under Wine against devsim: alarms from devsim's schedule give
// whole alarm files that the player stand-in accepts and "AlarmData.dat" lists; a manual
// recording survives a dropped stream and its relogin in one file; a disconnect then the close,
// and Alt+F4 during an alarm, leave complete files.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/player/record_file_check.h"
#include "record/alarm_db.h"
#include "tests/support/program_fixture.h"
#include "tests/support/text_file.h"
#include "tests/support/win_process.h"

namespace {
namespace ts = testsupport;

constexpr int kStatusLine = 1100;
constexpr int kConnectButton = 1002;
constexpr int kRecordButton = 1005;

std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
}

class RecordProgram : public ts::ProgramFixture {
 protected:
  RecordProgram()
      : ProgramFixture({.folderPrefix = "ostrova-record",
                        .extraFiles = {"Quendor.exe"},
                        .devsimArgs = {"--product", "RZ2K", "--fps", "25"},
                        .waitForFrames = false}) {}

  void SetUp() override {
    ProgramFixture::SetUp();
    if (HasFatalFailure()) return;
    m_records = m_folder.File("rec\\");
    ASSERT_TRUE(CreateDirectoryA(m_records.c_str(), nullptr));
    // The record folder without its backslash: the program adds it.
    SetSetting("Record Path", m_folder.File("rec"));
    SetSetting("Alarm Trigger Record", "1");
  }

  // True once the status line shows the stream's frame and data rates.
  static bool StreamShown(HWND main) {
    return ts::WaitUntil([&] { return ts::ItemText(main, kStatusLine).rfind("FR:", 0) == 0; },
                         20000);
  }

  void CloseAndWait(HWND main, UINT how = WM_CLOSE) {
    if (how == WM_SYSCOMMAND)
      PostMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0);  // Alt+F4
    else
      PostMessageA(main, WM_CLOSE, 0, 0);
    DWORD code = 99;
    ASSERT_TRUE(m_process.WaitExit(30000, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(MessageBoxes().empty()) << MessageBoxes();
  }

  // Every record file of the pattern, each checked whole.
  std::vector<RecordFileVerdict> CheckedFiles(const std::string& pattern, uint8_t kind) {
    std::vector<RecordFileVerdict> out;
    for (const std::string& name : ts::FilesMatching(m_records, pattern)) {
      const std::vector<uint8_t> bytes = ReadBytes(name);
      RecordFileVerdict v = CheckRecordFile(bytes.data(), bytes.size());
      EXPECT_TRUE(v.ok) << name << ": " << v.reason;
      EXPECT_EQ(v.kind, kind) << name;
      out.push_back(std::move(v));
    }
    return out;
  }

  // The player stand-in's own verdict on a record file.
  std::string PlayerVerdict(const std::string& path) {
    ts::Process player;
    if (!player.Start(m_folder.File("Quendor.exe"), path, m_folder.Path())) return "not started";
    std::string line;
    ts::WaitUntil(
        [&] {
          for (const std::string& l : ts::ReadLines(m_folder.File("Quendor.log")))
            if (l.find("QDXCHECK") != std::string::npos && l.find(path) != std::string::npos)
              line = l;
          return !line.empty();
        },
        20000);
    if (HWND w = ts::WaitForWindow(player.Id(), "Quendor", 5000)) PostMessageA(w, WM_CLOSE, 0, 0);
    DWORD code = 0;
    if (!player.WaitExit(10000, &code)) player.Kill();
    return line;
  }

  std::string m_records;
};
}  // namespace

TEST_F(RecordProgram, ScheduledAlarmsGiveWholeListedFiles) {
  HWND main = StartAndLogIn({"--set", "stream.motion=0x4/1200/3000"});
  ASSERT_NE(main, nullptr);
  // Three alarms closed.
  ASSERT_TRUE(ts::WaitUntil(
      [&] { return ts::FilesMatching(m_records, "ALARM_MJPEG_*.qdx").size() >= 4; }, 60000));
  CloseAndWait(main);

  const std::vector<RecordFileVerdict> files = CheckedFiles("ALARM_MJPEG_*.qdx", 1);
  ASSERT_GE(files.size(), 4u);
  // The newest may have closed before its first frame (the 94-byte file), and the first alarm may
  // start before the ring holds 20 frames; the others carry the frames before the alarm.
  EXPECT_GE(std::count_if(files.begin(), files.end(), [](const auto& v) { return v.frames > 20; }),
            2);
  const std::vector<uint8_t> list = ReadBytes(m_folder.File("AlarmData.dat"));
  const AlarmListContent content = ParseAlarmList(list.data(), list.size());
  ASSERT_TRUE(content.fMagicOk);
  ASSERT_EQ(content.items.size(), files.size());
  for (const ALARM_DB_ITEM& item : content.items) {
    const std::vector<uint8_t> bytes = ReadBytes(item.szPath);
    const RecordFileVerdict v = CheckRecordFile(bytes.data(), bytes.size());
    EXPECT_TRUE(v.ok) << item.szPath;
    EXPECT_EQ(item.dwFrames, v.frames) << item.szPath;
    EXPECT_STREQ(item.strSourceIP, "127.0.0.1");
    if (item.dwFrames) {
      EXPECT_GE(item.stTime.wYear, 2024);
    }
  }
  const std::string verdict = PlayerVerdict(content.items[0].szPath);
  EXPECT_NE(verdict.find("QDXCHECK OK frames="), std::string::npos) << verdict;
}

TEST_F(RecordProgram, ManualRecordingGoesOnInOneFileThroughARelogin) {
  HWND main = StartAndLogIn({});
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(StreamShown(main));
  Sleep(500);
  Click(main, kRecordButton);
  ASSERT_TRUE(ts::WaitUntil(
      [&] { return ts::FilesMatching(m_records, "USER_MJPEG_*.qdx").size() == 1; }, 10000));
  Sleep(1000);
  ASSERT_NE(m_device.Control("/_devsim/fault?name=stream-drop&count=1"), "");
  ASSERT_TRUE(
      ts::WaitUntil([&] { return m_device.RequestsOf("/Getvideo.cgi").size() == 2; }, 30000));
  const std::string name = ts::FilesMatching(m_records, "USER_MJPEG_*.qdx")[0];
  const auto sizeNow = [&] { return ReadBytes(name).size(); };
  const size_t afterRelogin = sizeNow();
  ASSERT_TRUE(ts::WaitUntil([&] { return sizeNow() > afterRelogin + 2000; }, 10000))
      << "nothing recorded after the relogin";
  Click(main, kRecordButton);
  Sleep(500);
  CloseAndWait(main);
  const std::vector<RecordFileVerdict> files = CheckedFiles("USER_MJPEG_*.qdx", 0);
  ASSERT_EQ(files.size(), 1u);
  EXPECT_GT(files[0].frames, 5u);
}

TEST_F(RecordProgram, DisconnectThenCloseLeavesACompleteManualFile) {
  HWND main = StartAndLogIn({});
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(StreamShown(main));
  Sleep(500);
  Click(main, kRecordButton);
  ASSERT_TRUE(ts::WaitUntil(
      [&] { return ts::FilesMatching(m_records, "USER_MJPEG_*.qdx").size() == 1; }, 10000));
  Sleep(1000);
  Click(main, kConnectButton);
  ASSERT_TRUE(
      ts::WaitUntil([&] { return ts::ItemText(main, kStatusLine) == "DISCONNECT!!"; }, 20000));
  CloseAndWait(main);
  const std::vector<RecordFileVerdict> files = CheckedFiles("USER_MJPEG_*.qdx", 0);
  ASSERT_EQ(files.size(), 1u);
  EXPECT_GT(files[0].frames, 5u);
}

TEST_F(RecordProgram, AltF4DuringAnAlarmLeavesCompleteFiles) {
  HWND main = StartAndLogIn({"--set", "stream.motion=0x4"});
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(ts::WaitUntil(
      [&] { return ts::FilesMatching(m_records, "ALARM_MJPEG_*.qdx").size() == 1; }, 20000));
  Sleep(1500);
  CloseAndWait(main, WM_SYSCOMMAND);
  const std::vector<RecordFileVerdict> files = CheckedFiles("ALARM_MJPEG_*.qdx", 1);
  ASSERT_EQ(files.size(), 1u);
  EXPECT_GT(files[0].frames, 20u);
  const std::vector<uint8_t> list = ReadBytes(m_folder.File("AlarmData.dat"));
  EXPECT_EQ(ParseAlarmList(list.data(), list.size()).items.size(), 1u);
}

// The program killed while a manual and an alarm recording are open: both files still say 0
// frames and lack their index, so the player refuses them. Started again, the program finishes
// them before its login window shows: the player accepts both and the alarm list has the alarm.
TEST_F(RecordProgram, RecordingsOfAKilledProgramAreFinishedAtTheNextStart) {
  HWND main = StartAndLogIn({"--set", "stream.motion=0x4"});
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(StreamShown(main));
  Click(main, kRecordButton);
  auto grown = [&](const char* pattern) {
    const std::vector<std::string> files = ts::FilesMatching(m_records, pattern);
    return files.size() == 1 && ReadBytes(files[0]).size() > 60000;
  };
  ASSERT_TRUE(ts::WaitUntil([&] { return grown("USER_MJPEG_*.qdx") && grown("ALARM_MJPEG_*.qdx"); },
                            60000));
  m_process.Kill();
  DWORD code = 0;
  ASSERT_TRUE(m_process.WaitExit(30000, &code));
  const std::string manual = ts::FilesMatching(m_records, "USER_MJPEG_*.qdx").at(0);
  const std::string alarm = ts::FilesMatching(m_records, "ALARM_MJPEG_*.qdx").at(0);
  for (const std::string& path : {manual, alarm}) {
    const std::vector<uint8_t> bytes = ReadBytes(path);
    EXPECT_FALSE(CheckRecordFile(bytes.data(), bytes.size()).ok) << path << " was finished";
  }
  EXPECT_TRUE(ReadBytes(m_folder.File("AlarmData.dat")).empty());

  ts::Process again;
  ASSERT_TRUE(again.Start(m_folder.File("Ostrova.exe"), "Ostrova.exe", m_folder.Path(),
                          {"OST_MSGBOX_LOG=" + m_folder.File("msgbox.log")}));
  HWND login = ts::WaitForLoginWindow(again.Id());
  ASSERT_NE(login, nullptr);
  EXPECT_GT(CheckedFiles("USER_MJPEG_*.qdx", 0).at(0).frames, 2u);
  EXPECT_GT(CheckedFiles("ALARM_MJPEG_*.qdx", 1).at(0).frames, 2u);
  PostMessageA(login, WM_CLOSE, 0, 0);
  ASSERT_TRUE(again.WaitExit(30000, &code));
  for (const std::string& path : {manual, alarm})
    EXPECT_NE(PlayerVerdict(path).find("OK"), std::string::npos) << path;
  const std::vector<uint8_t> list = ReadBytes(m_folder.File("AlarmData.dat"));
  const AlarmListContent items = ParseAlarmList(list.data(), list.size());
  ASSERT_EQ(items.items.size(), 1u);
  EXPECT_EQ(std::string(items.items[0].szPath), alarm);
}
