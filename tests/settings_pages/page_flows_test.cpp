// Page flows that go beyond one edit: the mail recipients added and edited through the edit
// dialog itself, the local alarm list over fixture files with the player stand-in, and a
// peripheral ID the page refuses.
#include <windows.h>

#include <commctrl.h>

#include <atomic>
#include <cstring>
#include <fstream>
#include <functional>
#include <thread>

#include "program/program_objects.h"
#include "record/alarm_db.h"
#include "record/record_app.h"
#include "settings/alarm_list_page.h"
#include "settings/mail_page.h"
#include "settings/peripheral_page.h"
#include "tests/settings_pages/page_fixture.h"
#include "tests/support/app_data_setup.h"
#include "tests/support/hex_text.h"
#include "tests/support/text_file.h"

namespace pagetest {
namespace {

namespace ts = testsupport;

std::string LoadText(UINT id) {
  char text[512] = {};
  ::LoadStringA(::GetModuleHandleA(nullptr), id, text, sizeof text);
  return text;
}

std::string BlockArg(const char* name, const std::string& bytes) {
  return std::string("block.") + name + "=" + ts::CompactHex(bytes);
}

class PageFlowsTest : public PageTest {
 protected:
  void TearDown() override {
    if (m_helper.joinable()) m_helper.join();
    PageTest::TearDown();
  }

  // The page's dialogs run for real. `play` acts on the next dialog of that caption from a
  // helper thread, as the user would; a dialog still open after it is cancelled, so a script
  // that goes wrong fails the test instead of hanging it.
  void PlayNextDialog(const std::string& caption, std::function<void(HWND)> play) {
    if (m_helper.joinable()) m_helper.join();
    m_runModal = [this](ost::Dialog& dialog) {
      m_current = &dialog;
      const INT_PTR result = dialog.DoModal();
      m_current = nullptr;
      return result;
    };
    m_helper = std::thread([this, caption, play = std::move(play)] {
      HWND dlg = ts::WaitForWindowIf(
          ::GetCurrentProcessId(),
          [&](HWND w) { return ::IsWindowVisible(w) && ts::WindowText(w) == caption; }, 20000);
      if (dlg) {
        play(dlg);
        ts::WaitUntil([&] { return !::IsWindow(dlg); }, 10000);
      }
      if (ost::Dialog* open = m_current.load()) {
        ADD_FAILURE() << caption << " left open";
        open->EndDialog(IDCANCEL);
      }
    });
  }

  void Join() {
    if (m_helper.joinable()) m_helper.join();
  }

  void Notify(int listId, UINT code) {
    NMHDR hdr{::GetDlgItem(Page(), listId), static_cast<UINT_PTR>(listId), code};
    ::SendMessageA(Page(), WM_NOTIFY, static_cast<WPARAM>(listId), reinterpret_cast<LPARAM>(&hdr));
  }

  // Selects that row alone, as a click does.
  void SelectOnly(int listId, int row) {
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageA(::GetDlgItem(Page(), listId), LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                   reinterpret_cast<LPARAM>(&item));
    SelectRow(listId, row);
  }

  int Rows(int listId) {
    return static_cast<int>(::SendMessageA(::GetDlgItem(Page(), listId), LVM_GETITEMCOUNT, 0, 0));
  }

  std::string Cell(int listId, int row, int column) {
    char text[300] = {};
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    ::SendMessageA(::GetDlgItem(Page(), listId), LVM_GETITEMTEXTA, static_cast<WPARAM>(row),
                   reinterpret_cast<LPARAM>(&item));
    return text;
  }

  std::thread m_helper;
  std::atomic<ost::Dialog*> m_current{nullptr};
};

// A recipient entry as the device stores it: the text, then zeros to 48 bytes.
std::string Entry(const std::string& stored) {
  std::string e = stored;
  e.resize(48, '\0');
  return e;
}

TEST_F(PageFlowsTest, MailRecipientsAreAddedAndEditedThroughTheEditDialog) {
  // The SMTP block: patterned bytes around two stored recipients ("local <address>", the local
  // part as the name) and two free entries.
  std::string smtp(440, '\0');
  for (size_t i = 0; i < smtp.size(); ++i) smtp[i] = static_cast<char>(0x21 + (i * 7 + 3) % 90);
  smtp[4] = 0;  // no verification
  smtp.replace(8, 64, std::string("smtp.example") + std::string(52, '\0'));
  smtp.replace(136, 192, Entry("a <a@x.org>") + Entry("b <b@y.org>") + Entry("") + Entry(""));
  StartDevice("RZ2K", "1010", {"--set", BlockArg("SMTP", smtp)});
  const std::string sntp = Stored(kSysCfgSntp), system = Stored(kSysCfgSystem);
  const std::string before = Stored(kSysCfgSmtp);
  ASSERT_EQ(before, smtp);
  Open<MailPropertyPage>();
  ASSERT_EQ(Rows(MailPropertyPage::kRecipients), 2);

  // ADD: the dialog opens empty with the add prompt; the new address goes into the first free
  // entry and nothing else of the block moves.
  std::string label, shown;
  PlayNextDialog("Mail Account Edit", [&](HWND dlg) {
    label = ts::ItemText(dlg, CMailEditDlg::kLabel);
    shown = ts::ItemText(dlg, CMailEditDlg::kAddress);
    ::SetDlgItemTextA(dlg, CMailEditDlg::kAddress, "c@z.org");
    ::PostMessageA(::GetDlgItem(dlg, IDOK), BM_CLICK, 0, 0);
  });
  Click(MailPropertyPage::kAdd);
  Join();
  EXPECT_EQ(label, LoadText(8329));
  EXPECT_EQ(shown, "");
  EXPECT_EQ(Cell(MailPropertyPage::kRecipients, 2, 0), "c@z.org");
  EXPECT_EQ(Apply(), 1);
  std::string expected = before;
  expected.replace(136 + 96, 48, Entry("c <c@z.org>"));
  EXPECT_EQ(Stored(kSysCfgSmtp), expected);

  // EDIT of the first row: the dialog shows its address; only that entry changes.
  SelectRow(MailPropertyPage::kRecipients, 0);
  PlayNextDialog("Mail Account Edit", [&](HWND dlg) {
    label = ts::ItemText(dlg, CMailEditDlg::kLabel);
    shown = ts::ItemText(dlg, CMailEditDlg::kAddress);
    ::SetDlgItemTextA(dlg, CMailEditDlg::kAddress, "ops");  // no at sign: stored as "<ops>"
    ::PostMessageA(::GetDlgItem(dlg, IDOK), BM_CLICK, 0, 0);
  });
  Click(MailPropertyPage::kEdit);
  Join();
  EXPECT_EQ(label, LoadText(8330));
  EXPECT_EQ(shown, "a@x.org");
  EXPECT_EQ(Apply(), 1);
  expected.replace(136, 48, Entry("<ops>"));
  EXPECT_EQ(Stored(kSysCfgSmtp), expected);

  // An address too long for its entry is refused in the dialog, which stays open; CANCEL then
  // leaves the list and the block alone.
  const std::string tooLong = std::string(34, 'r') + "@example.org";  // 46; stored 54
  bool stayedOpen = false;
  PlayNextDialog("Mail Account Edit", [&](HWND dlg) {
    ::SetDlgItemTextA(dlg, CMailEditDlg::kAddress, tooLong.c_str());
    ::PostMessageA(::GetDlgItem(dlg, IDOK), BM_CLICK, 0, 0);
    ts::WaitUntil([&] { return !Messages().empty(); }, 10000);
    stayedOpen = ::IsWindow(dlg) && ::IsWindowVisible(dlg);
    ::PostMessageA(::GetDlgItem(dlg, IDCANCEL), BM_CLICK, 0, 0);
  });
  Click(MailPropertyPage::kAdd);
  Join();
  EXPECT_TRUE(stayedOpen);
  EXPECT_EQ(Messages(), std::vector<std::string>{LoadText(4300)});
  EXPECT_EQ(Rows(MailPropertyPage::kRecipients), 3);

  // A fourth, then a fifth is refused before any dialog opens.
  PlayNextDialog("Mail Account Edit", [&](HWND dlg) {
    ::SetDlgItemTextA(dlg, CMailEditDlg::kAddress, "d@w.org");
    ::PostMessageA(::GetDlgItem(dlg, IDOK), BM_CLICK, 0, 0);
  });
  Click(MailPropertyPage::kAdd);
  Join();
  const size_t runs = m_modalRuns.size();
  Click(MailPropertyPage::kAdd);
  EXPECT_EQ(m_modalRuns.size(), runs);
  EXPECT_EQ(Messages().back(), LoadText(4041));
  EXPECT_EQ(Apply(), 1);
  expected.replace(136 + 144, 48, Entry("d <d@w.org>"));
  EXPECT_EQ(Stored(kSysCfgSmtp), expected);
  // The sender's rest and the title stay as they were.
  EXPECT_EQ(Stored(kSysCfgSntp), sntp);
  EXPECT_EQ(Stored(kSysCfgSystem), system);
}

ALARM_DB_ITEM AlarmItem(uint16_t number, const std::string& path, uint32_t frames,
                        uint16_t second) {
  ALARM_DB_ITEM item{};
  item.wItemNumber = number;
  item.stTime = {2026, 12, 5, 11, 9, 30, second, 0};
  std::strncpy(item.szPath, path.c_str(), sizeof item.szPath - 1);
  item.dwFrames = frames;
  std::strncpy(item.strSourceIP, "yard-gate", sizeof item.strSourceIP - 1);
  return item;
}

std::vector<std::string> PathsIn(const std::string& listFile) {
  std::ifstream in(listFile, std::ios::binary);
  const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                   std::istreambuf_iterator<char>()};
  const AlarmListContent list = ParseAlarmList(bytes.data(), bytes.size());
  std::vector<std::string> paths;
  for (const ALARM_DB_ITEM& item : list.items)
    if (!(item.byFlags & kAlarmItemDeleted)) paths.push_back(item.szPath);
  return paths;
}

TEST_F(PageFlowsTest, AlarmListMarksMissingFilesDeletesAndPlays) {
  const std::string folder = ProgramFolder();
  // The alarm list in the program's folder, as the program binds it at start.
  BindRecordObjects(ts::TestProgramObjects().m_Record, folder);
  ASSERT_TRUE(ts::CopyFileTo(ts::ThisExeFolder() + "Quendor.exe", folder + "Quendor.exe"));
  const std::string a = folder + "CH01_alarm_1.dvr", b = folder + "CH02_alarm_2.dvr",
                    c = folder + "CH01_alarm_3.dvr";
  ASSERT_TRUE(ts::WriteFileText(a, "first"));
  ASSERT_TRUE(ts::WriteFileText(c, "third"));  // b was removed by hand
  const std::vector<uint8_t> file = EncodeAlarmList(
      3, {AlarmItem(0, a, 600, 1), AlarmItem(1, b, 1200, 2), AlarmItem(2, c, 60, 3)});
  const std::string list = folder + "AlarmData.dat";
  {
    std::ofstream out(list, std::ios::binary);
    out.write(reinterpret_cast<const char*>(file.data()),
              static_cast<std::streamsize>(file.size()));
  }
  Open<AlarmDataPage>();
  ASSERT_EQ(Rows(AlarmDataPage::kList), 3);
  EXPECT_EQ(Cell(AlarmDataPage::kList, 1, 0), "2");
  EXPECT_EQ(Cell(AlarmDataPage::kList, 1, 1), "yard-gate");
  EXPECT_EQ(Cell(AlarmDataPage::kList, 1, 2), "2026.12.11 09:30:02");
  EXPECT_EQ(Cell(AlarmDataPage::kList, 1, 3), "1200");
  EXPECT_EQ(Text(AlarmDataPage::kPath), a);

  // The missing file is marked, and Play plays nothing for it.
  SelectOnly(AlarmDataPage::kList, 1);
  Notify(AlarmDataPage::kList, NM_CLICK);
  EXPECT_EQ(Text(AlarmDataPage::kPath), b + " (File not found)");
  Click(AlarmDataPage::kPlay);
  EXPECT_FALSE(ts::FileExists(folder + "Quendor.log"));

  // Play starts the player with the path alone as its command line.
  SelectOnly(AlarmDataPage::kList, 2);
  Notify(AlarmDataPage::kList, NM_CLICK);
  EXPECT_EQ(Text(AlarmDataPage::kPath), c);
  Click(AlarmDataPage::kPlay);
  auto played = [&](const std::string& path) {
    return ts::WaitUntil(
        [&] {
          return ts::ReadFileText(folder + "Quendor.log").find("CMDLINE " + path + "\r\n") !=
                 std::string::npos;
        },
        20000);
  };
  EXPECT_TRUE(played(c)) << ts::ReadFileText(folder + "Quendor.log");
  // A double-click on a row plays its file too.
  SelectOnly(AlarmDataPage::kList, 0);
  Notify(AlarmDataPage::kList, NM_DBLCLK);
  EXPECT_TRUE(played(a)) << ts::ReadFileText(folder + "Quendor.log");
  ts::WaitUntil([] {
    HWND player = ::FindWindowA(nullptr, "Quendor");
    if (player) ::PostMessageA(player, WM_CLOSE, 0, 0);
    return player == nullptr;
  });

  // Delete takes the selected row out of the file; the list follows.
  SelectOnly(AlarmDataPage::kList, 1);
  Click(AlarmDataPage::kDelete);
  EXPECT_EQ(PathsIn(list), (std::vector<std::string>{a, c}));
  ASSERT_EQ(Rows(AlarmDataPage::kList), 2);
  EXPECT_EQ(Cell(AlarmDataPage::kList, 1, 3), "60");
  EXPECT_TRUE(ts::FileExists(a) && ts::FileExists(c));

  // Clear All empties the list file and the page; the recordings stay on disk.
  Click(AlarmDataPage::kClearAll);
  EXPECT_TRUE(PathsIn(list).empty());
  EXPECT_EQ(Rows(AlarmDataPage::kList), 0);
  EXPECT_EQ(Text(AlarmDataPage::kPath), "");
  EXPECT_TRUE(ts::FileExists(a) && ts::FileExists(c));
  EXPECT_TRUE(Messages().empty());
}

TEST_F(PageFlowsTest, PeripheralIdOutOfRangeIsPromptedAndNothingIsSent) {
  StartDevice("RZ2K", "1010");
  for (int id : {CPeripheralPage::kId1, CPeripheralPage::kId2}) {
    SCOPED_TRACE(id);
    const std::string before = Stored(kSysCfgPeri);
    const size_t sets = Requests("/SetSysCfg.cgi").size();
    const size_t messages = Messages().size();
    Open<CPeripheralPage>();
    Choose(CPeripheralPage::kBaud1, 3);  // a change that would be sent with it
    Type(id, "300");
    EXPECT_EQ(Apply(), -1);
    ASSERT_EQ(Messages().size(), messages + 1);
    EXPECT_EQ(Messages().back(), "Please enter an integer between 0 and 255.");
    EXPECT_EQ(Requests("/SetSysCfg.cgi").size(), sets);
    EXPECT_EQ(Stored(kSysCfgPeri), before);
  }
}

}  // namespace
}  // namespace pagetest
