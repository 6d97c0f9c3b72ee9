// Each settings page against devsim: an untouched page sends nothing; a scripted edit changes
// exactly its fields in the stored block; a refused send tells the user and leaves the client's
// settings as they were.
#include <windows.h>

#include <commctrl.h>

#include <cstring>
#include <tuple>

#include "app/app_data.h"
#include "net/device_session.h"
#include "settings/account_page.h"
#include "settings/alarm_page.h"
#include "settings/ddns_page.h"
#include "settings/ftp_page.h"
#include "settings/general_page.h"
#include "settings/mail_page.h"
#include "settings/peripheral_page.h"
#include "settings/time_server_page.h"
#include "settings/alarm_list_page.h"
#include "settings/local_paths_page.h"
#include "settings/online_users_page.h"
#include "settings/server_log_dialogs.h"
#include "platform/message_loop.h"
#include "tests/support/window_capture.h"
#include "tests/settings_pages/page_fixture.h"
#include "tests/support/hex_text.h"
#include "tools/dlg_get_path.h"

namespace pagetest {
namespace {

// Printable bytes without a zero: texts that fill their fields, numbers off the choice lists.
std::string Pattern(size_t size, int seed) {
  std::string s(size, '\0');
  for (size_t i = 0; i < size; ++i)
    s[i] = static_cast<char>(0x21 + (i * 7 + static_cast<size_t>(seed)) % 90);
  return s;
}

std::string BlockArg(const char* name, const std::string& bytes) {
  return std::string("block.") + name + "=" + testsupport::CompactHex(bytes);
}

// Devsim's blocks seeded with patterns; SECURE with two sensible accounts.
std::vector<std::string> SeededBlocks(bool videoServer) {
  std::string secure(196, '\0');
  secure[2] = 5;
  secure.replace(8, 5, "revuv");
  secure.replace(24, 5, "guest");
  secure.replace(88, 5, "revuv");
  secure.replace(104, 2, "gg");
  secure[168] = 30;
  secure[169] = 0;
  for (int i = 0; i < 4; ++i) secure[static_cast<size_t>(176 + i)] = '\xFF';
  secure[180] = 60;
  std::vector<std::string> args = {"--set", BlockArg("SECURE", secure)};
  const std::pair<const char*, size_t> blocks[] = {{"DNS", 12},    {"SMTP", 440}, {"FTP", 104},
                                                   {"SYSTEM", 36}, {"SNTP", 36},  {"RS485", 124},
                                                   {"ALARM", 24}};
  int seed = 1;
  for (const auto& [name, size] : blocks)
    args.insert(args.end(), {"--set", BlockArg(name, Pattern(size, seed++))});
  if (videoServer) args.insert(args.end(), {"--set", BlockArg("PERI", Pattern(16, seed))});
  return args;
}

class SettingsPagesTest : public PageTest {
 protected:
  // Opens the page, applies it untouched and expects no send and no stored byte changed.
  template <class P>
  void ExpectUntouchedSendsNothing() {
    std::string before[kSysCfgAll];
    for (uint8_t o = 0; o < kSysCfgAll; ++o) before[o] = Stored(o);
    Open<P>();
    EXPECT_EQ(Apply(), 0) << typeid(P).name();
    for (uint8_t o = 0; o < kSysCfgAll; ++o)
      EXPECT_EQ(Stored(o), before[o]) << typeid(P).name() << " " << SysCfgOptionNames[o];
    EXPECT_TRUE(Messages().empty()) << typeid(P).name();
  }
};

TEST_F(SettingsPagesTest, UntouchedPagesSendNothing) {
  for (const auto& [product, firmware] :
       {std::pair<const char*, const char*>{"RZ2K", "1010"}, {"RZ1K", "1058"}, {"RZ8P", "1003"}}) {
    SCOPED_TRACE(product);
    StartDevice(product, firmware, SeededBlocks(std::string(product) != "RZ1K"));
    ExpectUntouchedSendsNothing<MailPropertyPage>();
    ExpectUntouchedSendsNothing<FTPPropertyPage>();
    ExpectUntouchedSendsNothing<AccountPropertyPage>();
    ExpectUntouchedSendsNothing<ToolBoxPropertyPage>();
    ExpectUntouchedSendsNothing<AlarmPropertyPage>();
    ExpectUntouchedSendsNothing<CSNTPPage>();
    ExpectUntouchedSendsNothing<CDNSPage>();
    if (std::string(product) != "RZ1K") ExpectUntouchedSendsNothing<CPeripheralPage>();
    devsim.Stop();
  }
}

TEST_F(SettingsPagesTest, EditsChangeExactlyTheirFields) {
  StartDevice("RZ2K", "1010", SeededBlocks(true));
  struct Case {
    const char* what;
    uint8_t option;
    size_t from, to;  // the bytes allowed to change
    std::function<void(SettingsPagesTest&)> edit;
  };
  const Case cases[] = {
      {"FTP directory", kSysCfgFtp, 68, 100,
       [](SettingsPagesTest& t) {
         t.Open<FTPPropertyPage>();
         t.Type(FTPPropertyPage::kPath, "alarm/pics");
       }},
      {"FTP port", kSysCfgFtp, 100, 102,
       [](SettingsPagesTest& t) {
         t.Open<FTPPropertyPage>();
         t.Type(FTPPropertyPage::kPort, "2121");
       }},
      {"mail server", kSysCfgSmtp, 8, 72,
       [](SettingsPagesTest& t) {
         t.Open<MailPropertyPage>();
         t.Type(MailPropertyPage::kServer, "smtp.example");
       }},
      {"peripheral baud", kSysCfgPeri, 8, 12,
       [](SettingsPagesTest& t) {
         t.Open<CPeripheralPage>();
         t.Choose(CPeripheralPage::kBaud2, 6);
       }},
      {"alarm duration AUTO", kSysCfgAlarm, 6, 8,
       [](SettingsPagesTest& t) {
         t.Open<AlarmPropertyPage>();
         t.Choose(AlarmPropertyPage::kDuration, 5);
       }},
      {"alarm input 3 to CH2", kSysCfgAlarm, 9, 10,
       [](SettingsPagesTest& t) {
         t.Open<AlarmPropertyPage>();
         const bool ch2 = ::IsDlgButtonChecked(t.Page(), 1483) == BST_CHECKED;
         t.Click(ch2 ? 1482 : 1483);
       }},
      {"device title", kSysCfgSystem, 20, 36,
       [](SettingsPagesTest& t) {
         t.Open<ToolBoxPropertyPage>();
         t.Type(ToolBoxPropertyPage::kTitle, "YARD");
       }},
      {"channel name", kSysCfgRs485, 44, 60,
       [](SettingsPagesTest& t) {
         t.Open<ToolBoxPropertyPage>();
         t.Type(ToolBoxPropertyPage::kCh2, "B2");
       }},
      {"DDNS host", kSysCfgSmtp, 328, 376,
       [](SettingsPagesTest& t) {
         t.Open<CDNSPage>();
         t.Type(CDNSPage::kDomain, "yard.example");
       }},
      {"time zone", kSysCfgSntp, 2, 6,
       [](SettingsPagesTest& t) {
         t.Open<CSNTPPage>();
         t.Choose(CSNTPPage::kZone, 18);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string before = Stored(c.option);
    const size_t sets = Requests("/SetSysCfg.cgi").size();
    c.edit(*this);
    EXPECT_GE(Apply(), 1);
    const std::string after = Stored(c.option);
    const std::vector<size_t> diff = Diff(before, after);
    EXPECT_FALSE(diff.empty());
    for (size_t at : diff) {
      EXPECT_GE(at, c.from);
      EXPECT_LT(at, c.to);
    }
    EXPECT_GE(Requests("/SetSysCfg.cgi").size(), sets + 1);
    // The next case compares against what this one stored.
    for (uint8_t o = 0; o < kSysCfgAll; ++o) {
      const std::string now = Stored(o);
      m_snapshot.block[o].assign(now.begin(), now.end());
    }
  }
  EXPECT_EQ(std::string(g_lpApp->str_DeviceTitle), "YARD");
  EXPECT_TRUE(Messages().empty());
}

TEST_F(SettingsPagesTest, MailSenderOnVideoServerKeepsTheTitle) {
  StartDevice("RZ2K", "1010", SeededBlocks(true));
  const std::string system = Stored(kSysCfgSystem);
  Open<MailPropertyPage>();
  Type(MailPropertyPage::kSender, "alarm.sender.1@example.org");  // 26: a rest of 11
  EXPECT_EQ(Apply(), 2);                                          // SMTP, then SYSTEM
  const std::string after = Stored(kSysCfgSystem);
  for (size_t at : Diff(system, after)) EXPECT_LT(at, 20u);
  EXPECT_EQ(after.substr(20), system.substr(20));
  EXPECT_EQ(Stored(kSysCfgSmtp).substr(72, 16), std::string("alarm.sender.1@") + '\0');
}

// "Modify" runs the folder chooser at the field's folder; the folder chosen there is kept as it
// comes, closing backslash included, and reaches the client's settings.
TEST_F(SettingsPagesTest, ModifyTakesTheChosenFolderWithItsBackslash) {
  StartDevice("RZ2K", "1010");
  std::vector<std::string> starts;
  m_onModal = [&](ost::Dialog& dialog) {
    auto* chooser = dynamic_cast<CDlgGetPath*>(&dialog);
    ASSERT_NE(chooser, nullptr);
    starts.push_back(chooser->GetPath());
    chooser->SetPath(starts.size() == 1 ? "C:\\Rec\\" : "D:\\Shots\\");
  };
  Open<RecordPage>();
  Type(RecordPage::kRecordPath, "C:\\old");
  Click(RecordPage::kModifyRecord);
  Type(RecordPage::kSnapshotPath, "C:\\snap");
  Click(RecordPage::kModifySnapshot);
  EXPECT_EQ(starts, (std::vector<std::string>{"C:\\old", "C:\\snap"}));
  EXPECT_EQ(Text(RecordPage::kRecordPath), "C:\\Rec\\");
  EXPECT_EQ(Text(RecordPage::kSnapshotPath), "D:\\Shots\\");
  EXPECT_EQ(m_client.recordPath, "C:\\Rec\\");
  EXPECT_EQ(m_client.snapshotPath, "D:\\Shots\\");
}

TEST_F(SettingsPagesTest, RefusedSendShows4012AndKeepsTheTitle) {
  StartDevice("RZ2K", "1010", SeededBlocks(true));
  g_lpApp->str_DeviceTitle = "OLD";
  Open<ToolBoxPropertyPage>();
  Type(ToolBoxPropertyPage::kTitle, "NEW");
  AddFault("name=status&code=500&path=/SetSysCfg.cgi&count=1");
  EXPECT_EQ(Apply(), 1);
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0], "Change System Config is failed");
  EXPECT_EQ(g_lpApp->str_DeviceTitle, "OLD");
}

TEST_F(SettingsPagesTest, OwnPasswordChangesOnlyWhenTheDeviceTookIt) {
  StartDevice("RZ2K", "1010", SeededBlocks(true));
  auto editOwn = [this](const std::string& password) {
    Open<AccountPropertyPage>();
    SelectRow(AccountPropertyPage::kList, 0);  // "revuv", the session's account
    Click(AccountPropertyPage::kEdit);
    Type(AccountPropertyPage::kPassword, password);
    Click(AccountPropertyPage::kOk);
  };
  // Refused: the client keeps the password it logs in with.
  editOwn("new pw");  // the blank is removed as typed
  AddFault("name=status&code=500&path=/SetSysCfg.cgi&count=1");
  EXPECT_EQ(Apply(), 1);
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0], "Set the system config is failed");
  EXPECT_EQ(ProgramDeviceSession().Password(), "revuv");
  EXPECT_NE(g_lpApp->m_Settings.m_strPassword, "newpw");
  EXPECT_EQ(Stored(kSysCfgSecure).substr(88, 6), std::string("revuv") + '\0');

  // Taken: the stored password and the session's change together; the level stays.
  editOwn("fresh");
  EXPECT_EQ(Apply(), 1);
  const std::string secure = Stored(kSysCfgSecure);
  EXPECT_EQ(secure.substr(88, 6), std::string("fresh") + '\0');
  EXPECT_EQ(static_cast<uint8_t>(secure[168]), 30);
  EXPECT_EQ(ProgramDeviceSession().Password(), "fresh");
  EXPECT_EQ(g_lpApp->m_Settings.m_strPassword, "fresh");
}

TEST_F(SettingsPagesTest, SyncTimeSendsTheKeysInOrderThenTheBlock) {
  StartDevice("RZ2K", "1010", SeededBlocks(true));
  Open<CSNTPPage>();
  Click(CSNTPPage::kFromServer);
  Click(CSNTPPage::kTypedServer);
  Type(CSNTPPage::kServer, "ntp.example");
  Choose(CSNTPPage::kZone, 57);
  Click(CSNTPPage::kSyncTime);
  const auto sync = Requests("/SyncTime.cgi");
  ASSERT_EQ(sync.size(), 1u);
  EXPECT_EQ(sync[0].params,
            (std::vector<std::string>{"Cookie=" + std::string(g_szCookie), "Mode=1", "ServerMode=0",
                                      "Server=ntp.example", "NationID=57", "Hour=8", "Minute=0"}));
  EXPECT_EQ(sync[0].status, 200);
  // The sheet's "now" write follows the request; APPLY then sends nothing more.
  EXPECT_EQ(ApplyNow(), 1);
  const std::string sntp = Stored(kSysCfgSntp);
  EXPECT_EQ(sntp.substr(8, 12), std::string("ntp.example") + '\0');
  EXPECT_EQ(static_cast<uint8_t>(sntp[5]), 57);
  EXPECT_EQ(Apply(), 0);
}

TEST_F(SettingsPagesTest, SyncTimeRefusesAServerThatWouldBreakTheQuery) {
  StartDevice("RZ2K", "1010", SeededBlocks(true));
  Open<CSNTPPage>();
  Click(CSNTPPage::kFromServer);
  Click(CSNTPPage::kTypedServer);
  Type(CSNTPPage::kServer, "a&Mode=0");
  Choose(CSNTPPage::kZone, 3);
  Click(CSNTPPage::kSyncTime);
  EXPECT_TRUE(Requests("/SyncTime.cgi").empty());
  ASSERT_EQ(Messages().size(), 1u);
}

// With a screenshot folder set, every page as the user sees it, and the device log dialog.
// Every page's report list: its columns side by side within the list, no horizontal scroll
// bar, on the families whose columns are widest (online users: 360 pixels asked on a video
// server, 330 on a multi-channel recorder; accounts 340; alarm list 360; mail 300).
TEST_F(SettingsPagesTest, ListsFitTheirColumnsWithoutAHorizontalBar) {
  auto expectFits = [&](int listId, const char* page) {
    HWND list = ::GetDlgItem(Page(), listId);
    ASSERT_NE(list, nullptr) << page;
    RECT client{};
    ::GetClientRect(list, &client);
    HWND header = reinterpret_cast<HWND>(::SendMessageA(list, LVM_GETHEADER, 0, 0));
    const int columns = static_cast<int>(::SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
    int width = 0;
    for (int c = 0; c < columns; ++c)
      width += static_cast<int>(::SendMessageA(list, LVM_GETCOLUMNWIDTH, c, 0));
    EXPECT_GT(columns, 0) << page;
    EXPECT_LE(width, client.right) << page;
    EXPECT_EQ(::GetWindowLongPtrA(list, GWL_STYLE) & WS_HSCROLL, 0) << page;
  };
  for (const auto& [product, firmware, multi] :
       {std::tuple<const char*, const char*, bool>{"RZ2K", "1010", false},
        {"RZ1K", "1058", true}}) {
    SCOPED_TRACE(product);
    StartDevice(product, firmware,
                multi ? std::vector<std::string>{"--set", "multich=1"}
                      : std::vector<std::string>{"--set", "online_length=48"});
    Open<MailPropertyPage>();
    expectFits(1267, "mail");
    Open<AccountPropertyPage>();
    expectFits(AccountPropertyPage::kList, "account");
    Open<AlarmDataPage>();
    expectFits(1364, "alarm list");
    Open<COnlineUserPage>();
    expectFits(1349, "online users");
    devsim.Stop();
  }
}

TEST_F(SettingsPagesTest, Screenshots) {
  namespace ts = testsupport;
  if (ts::ScreenshotFolder().empty()) GTEST_SKIP() << "no screenshot folder";
  StartDevice("RZ2K", "1010",
              {"--set", "online_length=48", "--set",
               BlockArg("SMTP", std::string(8, '\0') + "smtp.example" + std::string(420, '\0'))});
  auto shot = [&](const char* name) {
    ::RedrawWindow(Page(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    ost::PumpMessagesUntil([] { return false; }, 300);
    EXPECT_TRUE(ts::SaveWindowImage(Page(), ts::ScreenshotFolder() + name));
  };
  Open<MailPropertyPage>();
  shot("page_mail.bmp");
  Open<FTPPropertyPage>();
  shot("page_ftp.bmp");
  Open<AccountPropertyPage>();
  shot("page_account.bmp");
  SelectRow(AccountPropertyPage::kList, 1);
  Click(AccountPropertyPage::kEdit);
  shot("page_account_edit.bmp");
  Click(AccountPropertyPage::kExit);
  Open<CPeripheralPage>();
  shot("page_peripheral.bmp");
  Open<ToolBoxPropertyPage>();
  shot("page_general.bmp");
  Open<RecordPage>();
  shot("page_file_path.bmp");
  Open<AlarmPropertyPage>();
  shot("page_alarm.bmp");
  Open<AlarmDataPage>();
  shot("page_alarm_list.bmp");
  Open<COnlineUserPage>();
  shot("page_online_users.bmp");
  Open<CSNTPPage>();
  shot("page_time_server.bmp");
  Click(CSNTPPage::kByUser);
  shot("page_time_server_user.bmp");
  Open<CDNSPage>();
  shot("page_ddns.bmp");

  std::string entries;
  for (int i = 0; i < 12; ++i) {
    std::string e(32, '\0');
    e[0] = static_cast<char>(1 << (i % 6));
    e[4] = 26;
    e[5] = 12;
    e[6] = 11;
    e[7] = static_cast<char>(i);
    e[10] = 2;
    e.replace(11, 8, "10.0.0.7");
    entries += e;
  }
  CVSServerLogDlg log(&ProgramDeviceSession());
  log.plogList =
      std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(entries.data()), entries.size());
  log.m_nCount = 12;
  ASSERT_TRUE(log.Create());
  ::ShowWindow(log.GetSafeHwnd(), SW_SHOW);
  ost::PumpMessagesUntil([] { return false; }, 300);
  EXPECT_TRUE(ts::SaveWindowImage(log.GetSafeHwnd(), ts::ScreenshotFolder() + "server_log_vs.bmp"));
  log.DestroyWindow();

  // The recorder's log: events of its own list, channels 1-4 and "NO".
  std::string dvrEntries;
  for (int i = 0; i < 14; ++i) {
    std::string e(32, '\0');
    const uint32_t event = 1u << (i % 12);
    std::memcpy(e.data(), &event, sizeof event);
    e[4] = 26;
    e[5] = 12;
    e[6] = 11;
    e[7] = static_cast<char>(8 + i / 4);
    e[8] = static_cast<char>(i * 4);
    e[10] = static_cast<char>(i % 5);
    e.replace(11, 8, "10.0.0.9");
    dvrEntries += e;
  }
  CServerLogDlg dvrLog;
  dvrLog.plogList = std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(dvrEntries.data()),
                                             dvrEntries.size());
  dvrLog.m_nCount = 14;
  ASSERT_TRUE(dvrLog.Create());
  ::ShowWindow(dvrLog.GetSafeHwnd(), SW_SHOW);
  ost::PumpMessagesUntil([] { return false; }, 300);
  EXPECT_TRUE(
      ts::SaveWindowImage(dvrLog.GetSafeHwnd(), ts::ScreenshotFolder() + "server_log_dvr.bmp"));
  dvrLog.DestroyWindow();
}

}  // namespace
}  // namespace pagetest
