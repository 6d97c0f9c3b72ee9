// The playback search of the real program under Wine against devsim: the main window's search
// key opens the dialog with the device's disks and channels, an event search sends its query and
// closes, a time search sends its own and stays open, and a device that cannot answer or is not
// one the search is for gets a message instead of a dialog.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/program_fixture.h"
#include "tests/support/win_process.h"
#include "tests/support/window_capture.h"

namespace {
namespace ts = testsupport;

constexpr int kSearchKey = 8319;
constexpr int kTypeCombo = 1511, kHddCombo = 1514, kChannelCombo = 1515, kEventCombo = 1519;
constexpr int kDatePicker = 1521, kTimePicker = 1525;
constexpr char kTitle[] = "Playback Search";
constexpr char kPath[] = "/SearchPlayBack.cgi";

// Runs fn with a page of memory in the process that owns w (for messages with pointers).
template <class Fn>
void WithRemote(HWND w, Fn fn) {
  DWORD pid = 0;
  ::GetWindowThreadProcessId(w, &pid);
  HANDLE process =
      ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
  ASSERT_NE(process, nullptr);
  auto* remote = static_cast<char*>(
      ::VirtualAllocEx(process, nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  fn(process, remote);
  ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  ::CloseHandle(process);
}

// The entries of a drop-down list of another process: each selected in turn and read as the
// box's text (the selection is put back; the dialog is not told).
std::vector<std::string> ComboTexts(HWND combo) {
  std::vector<std::string> texts;
  const LRESULT selected = ::SendMessageA(combo, CB_GETCURSEL, 0, 0);
  const LRESULT n = ::SendMessageA(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < n; ++i) {
    ::SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
    char text[64] = {};
    ::SendMessageA(combo, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    texts.emplace_back(text);
  }
  ::SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
  return texts;
}

// Selects an entry as the user does: the selection, then its notification to the dialog.
void Choose(HWND dialog, int id, int index) {
  HWND combo = ::GetDlgItem(dialog, id);
  ::SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
}

// Sets a date-time picker of another process.
void SetPicker(HWND picker, const SYSTEMTIME& value) {
  WithRemote(picker, [&](HANDLE process, char* remote) {
    ::WriteProcessMemory(process, remote, &value, sizeof value, nullptr);
    ::SendMessageA(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(remote));
  });
}

void SetDateTime(HWND dialog, WORD year, WORD month, WORD day, WORD hour, WORD minute,
                 WORD second) {
  SYSTEMTIME t{};
  t.wYear = year;
  t.wMonth = month;
  t.wDay = day;
  t.wHour = hour;
  t.wMinute = minute;
  t.wSecond = second;
  SetPicker(::GetDlgItem(dialog, kDatePicker), t);
  SetPicker(::GetDlgItem(dialog, kTimePicker), t);
}

class PlaybackSearchProgram : public ts::ProgramFixture {
 protected:
  PlaybackSearchProgram()
      : ProgramFixture({.folderPrefix = "ostrova-search", .waitForFrames = false}) {}

  HWND OpenDialog(HWND main) {
    Click(main, kSearchKey);
    HWND dialog = ts::WaitForWindow(m_process.Id(), kTitle, 30000);
    if (!dialog) ADD_FAILURE() << "no playback search dialog; message boxes: " << MessageBoxes();
    return dialog;
  }

  // The query part of devsim's last search request.
  std::string LastSearch() const {
    const auto requests = m_device.RequestsOf(kPath);
    if (requests.empty()) return "";
    const std::string& target = requests.back().target;
    // The cookie comes first; the rest is what the dialog chose.
    const size_t amp = target.find("&searchType=");
    return amp == std::string::npos ? target : target.substr(amp + 1);
  }

  void CloseAndWait(HWND main) {
    ts::CloseMainWindow(main);
    DWORD code = 99;
    ASSERT_TRUE(m_process.WaitExit(30000, &code));
    EXPECT_EQ(code, 0u);
  }
};

// An RZ1K with disks 0, 3 and 5: its disks, "ALL" and 16 channels; the type switches the
// channel and event boxes; an event search on channel 3 for "ALARM" on "SLAVE2" sends the
// device's keys in order and closes; a time search on "ALL" sends its own and stays open.
TEST_F(PlaybackSearchProgram, KeyOpensTheDialogAndBothSearchesSendTheirQueries) {
  HWND main = StartAndLogIn({"--product", "RZ1K", "--set", "backup.disks=0,3,5"});
  ASSERT_NE(main, nullptr);
  HWND dialog = OpenDialog(main);
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(WaitForRequests("/GetDvrHDD.cgi", 1));
  EXPECT_EQ(ComboTexts(::GetDlgItem(dialog, kTypeCombo)),
            (std::vector<std::string>{"TIME SEARCH", "EVENT SEARCH"}));
  EXPECT_EQ(ComboTexts(::GetDlgItem(dialog, kHddCombo)),
            (std::vector<std::string>{"MASTER1", "SLAVE2", "EXT-02", "ALL"}));
  EXPECT_EQ(ComboTexts(::GetDlgItem(dialog, kEventCombo)),
            (std::vector<std::string>{"MOTION", "ALARM"}));
  const auto channels = ComboTexts(::GetDlgItem(dialog, kChannelCombo));
  ASSERT_EQ(channels.size(), 16u);
  EXPECT_EQ(channels.front(), "1");
  EXPECT_EQ(channels.back(), "16");
  // "TIME SEARCH" is chosen first: no channel, no event type.
  EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(dialog, kChannelCombo)));
  EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(dialog, kEventCombo)));
  Choose(dialog, kTypeCombo, 1);
  EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(dialog, kChannelCombo)));
  EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(dialog, kEventCombo)));
  if (const std::string folder = ts::ScreenshotFolder(); !folder.empty())
    ts::SaveWindowImage(dialog, folder + "playback_search.bmp");

  Choose(dialog, kChannelCombo, 2);
  Choose(dialog, kEventCombo, 1);
  Choose(dialog, kHddCombo, 1);
  SetDateTime(dialog, 2007, 1, 7, 14, 5, 9);
  ts::PostClick(dialog, IDOK);
  ASSERT_TRUE(WaitForRequests(kPath, 1));
  EXPECT_EQ(LastSearch(),
            "searchType=event&channelNum=2&eventType=0&year=7&month=1&day=7&hour=14&min=5&sec=9&"
            "hddNum=3");
  EXPECT_EQ(Params(kPath, "Cookie").size(), 1u);
  ASSERT_TRUE(ts::WaitUntil([&] { return !::IsWindow(dialog); }));

  dialog = OpenDialog(main);
  ASSERT_NE(dialog, nullptr);
  Choose(dialog, kTypeCombo, 0);
  Choose(dialog, kHddCombo, 3);
  SetDateTime(dialog, 2026, 12, 11, 8, 30, 0);
  ts::PostClick(dialog, IDOK);
  ASSERT_TRUE(WaitForRequests(kPath, 2));
  EXPECT_EQ(LastSearch(), "searchType=time&year=26&month=12&day=11&hour=8&min=30&sec=0&hddNum=ALL");
  // A time search keeps the dialog for the next one.
  ASSERT_TRUE(WaitForEvent("playback search sent", 2));
  EXPECT_TRUE(::IsWindow(dialog));
  ts::PostClick(dialog, IDCANCEL);
  ASSERT_TRUE(ts::WaitUntil([&] { return !::IsWindow(dialog); }));
  EXPECT_EQ(MessageBoxes(), "");
  CloseAndWait(main);
}

// A refused event search leaves the dialog open for another try, which then closes it.
TEST_F(PlaybackSearchProgram, RefusedSearchKeepsTheDialogOpen) {
  HWND main =
      StartAndLogIn({"--product", "RZ4K", "--fault", "status,path=/SearchPlayBack.cgi,count=1"});
  ASSERT_NE(main, nullptr);
  HWND dialog = OpenDialog(main);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(ComboTexts(::GetDlgItem(dialog, kChannelCombo)).size(), 4u);
  EXPECT_EQ(ComboTexts(::GetDlgItem(dialog, kHddCombo)),
            (std::vector<std::string>{"MASTER1", "SLAVE1", "ALL"}));
  Choose(dialog, kTypeCombo, 1);
  ts::PostClick(dialog, IDOK);
  ASSERT_TRUE(WaitForEvent("playback search failed"));
  EXPECT_TRUE(::IsWindow(dialog));
  ts::PostClick(dialog, IDOK);
  ASSERT_TRUE(WaitForEvent("playback search sent"));
  ASSERT_TRUE(ts::WaitUntil([&] { return !::IsWindow(dialog); }));
  EXPECT_EQ(m_device.RequestsOf(kPath).size(), 2u);
  CloseAndWait(main);
}

// No disk list, or a device outside the search's family: a message and no dialog left behind;
// the main window goes on.
class PlaybackSearchRefused : public PlaybackSearchProgram {
 protected:
  void Expect(const std::vector<std::string>& devsim, const std::string& message) {
    HWND main = StartAndLogIn(devsim);
    ASSERT_NE(main, nullptr);
    Click(main, kSearchKey);
    ASSERT_TRUE(ts::WaitUntil([&] { return MessageBoxes().find(message) != std::string::npos; }))
        << MessageBoxes();
    ASSERT_TRUE(
        ts::WaitUntil([&] { return ts::WaitForWindow(m_process.Id(), kTitle, 1) == nullptr; }));
    EXPECT_EQ(m_device.RequestsOf(kPath).size(), 0u);
    CloseAndWait(main);
  }
};

TEST_F(PlaybackSearchRefused, NoDiskList) {
  Expect({"--product", "RZ3K", "--fault", "status,path=/GetDvrHDD.cgi"},
         "Send command to device is failed !!");
}

TEST_F(PlaybackSearchRefused, AnotherFamily) {
  Expect({"--product", "RZ2K"}, "Dialog box could not be created!");
}

}  // namespace
