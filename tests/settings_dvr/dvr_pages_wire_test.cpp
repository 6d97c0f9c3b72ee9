// The recorder pages in a harness against devsim (RZ1K, RZ3K, RZ4K at firmware 1057 and 1058):
// each page made on a stand-in sheet window with the program's block copies, its edit dialogs
// answered by a script, its Store's sends carried out as the sheet does; devsim's stored block is
// compared whole before and after, and the Set queries key by key.
#include "tests/net/protocol_fixture.h"

#include <commctrl.h>

#include <functional>
#include <map>
#include <memory>

#include "app/sys_cfg_items.h"
#include "net/device_session.h"
#include "platform/message_loop.h"
#include "settings/carried_pages.h"
#include "settings/dvr_list_pages.h"
#include "settings/dvr_edit_dialogs.h"
#include "settings/dvr_setting_pages.h"
#include "settings/mail_page.h"
#include "ui/dark_skin.h"
#include "settings/sheet_program_link.h"
#include "tests/support/text_file.h"
#include "tests/support/win_process.h"
#include "tests/support/window_capture.h"

namespace nettest {
namespace {

namespace ts = testsupport;

uint8_t* CopyOf(uint8_t option) {
  APP_DATA& a = *g_lpApp;
  switch (option) {
    case kSysCfgRs485:
      return a.cfg_RS485;
    case kSysCfgAlarm:
      return a.cfg_ALARM;
    case kSysCfgDvrLive:
      return a.cfg_DVRLIVE;
    case kSysCfgDvrRec:
      return a.cfg_DVRREC;
  }
  return nullptr;
}

std::string Hex(const std::string& bytes) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : bytes) {
    out += kDigits[c >> 4];
    out += kDigits[c & 15];
  }
  return out;
}

void Pump(DWORD ms = 30) {
  ost::PumpMessagesUntil([] { return false; }, ms);
}

class RecorderPagesTest : public ProtocolTest {
 protected:
  static constexpr uint8_t kBlocks[] = {kSysCfgRs485, kSysCfgAlarm, kSysCfgDvrLive, kSysCfgDvrRec};

  void TearDown() override {
    m_page.reset();
    if (m_sheet) ::DestroyWindow(m_sheet);
    ProtocolTest::TearDown();
  }

  // devsim as the product at the firmware, its blocks filled with a pattern, logged in, the
  // four blocks fetched into the program's copies.
  void StartRecorder(const std::string& product, const std::string& fw,
                     std::vector<std::string> extra = {}) {
    std::vector<std::string> args = {"--product", product, "--firmware", fw};
    int seed = 3;
    for (uint8_t o : kBlocks) {
      std::string bytes = Pattern(SysCfgBlockSizes[o], seed++);
      if (m_tweak) m_tweak(o, bytes);
      args.push_back("--set");
      args.push_back(std::string("block.") + SysCfgOptionNames[o] + "=" + Hex(bytes));
    }
    args.insert(args.end(), extra.begin(), extra.end());
    StartDevice(args);
    Login();
    for (uint8_t o : kBlocks) ASSERT_EQ(GetSysCfgItem(o, CopyOf(o), SysCfgBlockSizes[o]), 1);
    m_context.device = {product, fw, 0, 1};
    for (uint8_t o : kBlocks) m_context.blocks.block[o] = {CopyOf(o), SysCfgBlockSizes[o]};
    m_snapshot = BlockSnapshot::Of(m_context.blocks);
    m_context.snapshot = &m_snapshot;
    m_context.session = &ProgramDeviceSession();
    m_context.program = &ProgramSheetLink();
    m_context.runModal = [this](ost::Dialog& dialog) -> INT_PTR {
      if (!dialog.Create()) return -1;
      HWND w = dialog.GetSafeHwnd();
      if (m_script) m_script(w);
      ::SendMessageA(w, WM_COMMAND, MAKEWPARAM(m_answer, BN_CLICKED), 0);
      Pump();
      return dialog.GetResult();
    };
  }

  // Makes the page's window on a stand-in sheet window.
  void Show(std::unique_ptr<SettingsPage> page) {
    m_sheet = ::CreateWindowExA(0, "STATIC", "sheet", WS_POPUP | WS_VISIBLE, 40, 40, 480, 300,
                                nullptr, nullptr, nullptr, nullptr);
    m_page = std::move(page);
    m_page->SetContext(m_context);
    ASSERT_TRUE(m_page->CreatePage(m_sheet));
    ::ShowWindow(m_page->GetSafeHwnd(), SW_SHOW);
    Pump();
  }
  HWND Item(int id) const { return ::GetDlgItem(m_page->GetSafeHwnd(), id); }
  void Command(int id, int code = BN_CLICKED) {
    ::SendMessageA(m_page->GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(id, code),
                   reinterpret_cast<LPARAM>(Item(id)));
    Pump();
  }
  void SelectRow(int listId, int row) {
    LVITEMA state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageA(Item(listId), LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                   reinterpret_cast<LPARAM>(&state));
  }
  int Rows(int listId) const {
    return static_cast<int>(::SendMessageA(Item(listId), LVM_GETITEMCOUNT, 0, 0));
  }
  std::string Cell(int listId, int row, int column) const {
    char text[64] = {};
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    ::SendMessageA(Item(listId), LVM_GETITEMTEXTA, static_cast<WPARAM>(row),
                   reinterpret_cast<LPARAM>(&item));
    return text;
  }
  // Edits a row: the script fills the dialog, then OK.
  void EditRow(int listId, int editId, int row, std::function<void(HWND)> script) {
    m_script = std::move(script);
    m_answer = IDOK;
    SelectRow(listId, row);
    Command(editId);
  }
  // Runs the page's Store and carries its sends out as the sheet does; the options sent (the
  // commands as kSysCfgAll), in order.
  std::vector<uint8_t> Apply(bool* controlList = nullptr) {
    PageChanges changes;
    std::vector<uint8_t> sent;
    if (!m_page->Store(changes)) return sent;
    for (const PageSend& s : changes.sends) {
      if (s.option < kSysCfgAll) {
        EXPECT_EQ(SetSysCfgItem(s.option, CopyOf(s.option), SysCfgBlockSizes[s.option], 0), 1);
      } else {
        EXPECT_TRUE(s.command());
      }
      sent.push_back(s.option);
    }
    if (controlList) *controlList = changes.controlListChanged;
    return sent;
  }
  std::map<uint8_t, std::string> Stored() {
    std::map<uint8_t, std::string> m;
    for (uint8_t o : kBlocks) m[o] = StoredBlock(SysCfgOptionNames[o]);
    return m;
  }
  void Screenshot(const char* name) {
    if (ts::ScreenshotFolder().empty()) return;
    ::RedrawWindow(m_sheet, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump(300);
    EXPECT_TRUE(ts::SaveWindowImage(m_page->GetSafeHwnd(), ts::ScreenshotFolder() + name));
  }
  static void SetText(HWND dialog, int id, const char* text) {
    ::SetDlgItemTextA(dialog, id, text);
  }
  static void Choose(HWND dialog, int id, int index) {
    ::SendDlgItemMessageA(dialog, id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  }
  static void SetPicker(HWND picker, int hour, int minute) {
    SYSTEMTIME st{};
    st.wYear = 2006;
    st.wMonth = 1;
    st.wDay = 1;
    st.wHour = static_cast<WORD>(hour);
    st.wMinute = static_cast<WORD>(minute);
    ::SendMessageA(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
  }
  // The parameters of the last request of a path, "name=value" in order.
  std::vector<std::string> LastParams(const std::string& path) const {
    const auto requests = devsim.RequestsOf(path);
    return requests.empty() ? std::vector<std::string>{} : requests.back().params;
  }

  SheetContext m_context;
  BlockSnapshot m_snapshot;
  HWND m_sheet = nullptr;
  std::unique_ptr<SettingsPage> m_page;
  std::function<void(HWND)> m_script;
  int m_answer = IDOK;
  // Changes a block's pattern before devsim starts.
  std::function<void(uint8_t option, std::string& bytes)> m_tweak;
};

TEST_F(RecorderPagesTest, DeviceRowEditChangesExactlyItsChannelOfRs485) {
  StartRecorder("RZ3K", "1058");
  Show(std::make_unique<DevicePage>());
  EXPECT_EQ(Rows(1404), 8);
  // The columns' widths as asked: they fit side by side.
  for (const auto& [column, width] : {std::pair{0, 40}, {1, 70}, {2, 30}, {3, 80}, {4, 50}})
    EXPECT_EQ(::SendMessageA(Item(1404), LVM_GETCOLUMNWIDTH, column, 0), width);
  const auto before = Stored();

  // Confirmed unchanged: nothing to send.
  EditRow(1404, 1119, 2, nullptr);
  EXPECT_TRUE(Apply().empty());

  EditRow(1404, 1119, 7, [](HWND d) {
    Choose(d, 1195, 1);  // PTZ
    SetText(d, 1040, "42");
    Choose(d, 1409, 1);  // P-D
    Choose(d, 1412, 2);  // 9600
  });
  EXPECT_EQ(Cell(1404, 7, 1), "PTZ");
  EXPECT_EQ(Cell(1404, 7, 2), "42");
  EXPECT_EQ(Cell(1404, 7, 3), "P-D");
  EXPECT_EQ(Cell(1404, 7, 4), "9600");
  Screenshot("device_page.bmp");
  bool controlList = false;
  EXPECT_EQ(Apply(&controlList), (std::vector<uint8_t>{kSysCfgRs485}));
  EXPECT_TRUE(controlList);
  const auto after = Stored();
  // Exactly the channel's ID, type, protocol and rate; channels 8-15 as fetched.
  std::string expected = before.at(kSysCfgRs485);
  expected[12 + 7] = 42;
  expected[28 + 7] = 1;
  expected[44 + 7] = 1;
  expected[60 + 28] = static_cast<char>(0x80);
  expected[61 + 28] = 0x25;
  expected[62 + 28] = 0;
  expected[63 + 28] = 0;
  EXPECT_EQ(after.at(kSysCfgRs485), expected);
  for (uint8_t o : {kSysCfgAlarm, kSysCfgDvrLive, kSysCfgDvrRec})
    EXPECT_EQ(after.at(o), before.at(o));
}

TEST_F(RecorderPagesTest, DetectionRowEditChangesItsMotionValuesAndAlarmType) {
  StartRecorder("RZ1K", "1057");
  Show(std::make_unique<DetectionPage>());
  EXPECT_EQ(Rows(1413), 16);
  const auto before = Stored();
  EditRow(1413, 1068, 2, [](HWND d) {
    Choose(d, 1416, 1);      // ON
    SetText(d, 1417, "99");  // LS: 15
    Choose(d, 1421, 2);      // OFF
  });
  EXPECT_EQ(Cell(1413, 2, 1), "ON");
  EXPECT_EQ(Cell(1413, 2, 2), "15");
  EXPECT_EQ(Cell(1413, 2, 6), "OFF");
  Screenshot("detection_page.bmp");
  EXPECT_EQ(Apply(), (std::vector<uint8_t>{kSysCfgDvrLive, kSysCfgAlarm}));
  const auto after = Stored();
  std::string live = before.at(kSysCfgDvrLive), alarm = before.at(kSysCfgAlarm);
  live[308 + 2] = 1;
  live[324 + 2] = 15;
  alarm[8 + 2] = 2;
  EXPECT_EQ(after.at(kSysCfgDvrLive), live);
  EXPECT_EQ(after.at(kSysCfgAlarm), alarm);
  EXPECT_EQ(after.at(kSysCfgRs485), before.at(kSysCfgRs485));
  EXPECT_EQ(after.at(kSysCfgDvrRec), before.at(kSysCfgDvrRec));
}

TEST_F(RecorderPagesTest, CameraRowEditSendsOnlyTheBlocksItChanged) {
  // Titles of capitals and digits (others would be filtered when the editor opens).
  m_tweak = [](uint8_t option, std::string& bytes) {
    if (option == kSysCfgDvrLive)
      for (int ch = 0; ch < 16; ++ch)
        bytes.replace(116 + 6 * ch, 6, "CAM00" + std::to_string(ch % 10));
  };
  StartRecorder("RZ4K", "1058");
  Show(std::make_unique<CameraPage>());
  EXPECT_EQ(Rows(1425), 4);
  auto before = Stored();
  // Only the record switch: DVRREC alone.
  EditRow(1425, 1068, 1,
          [&](HWND d) { Choose(d, 1196, before.at(kSysCfgDvrRec)[20 + 1] == 1 ? 0 : 1); });
  EXPECT_EQ(Apply(), (std::vector<uint8_t>{kSysCfgDvrRec}));
  auto after = Stored();
  std::string rec = before.at(kSysCfgDvrRec);
  rec[20 + 1] = before.at(kSysCfgDvrRec)[20 + 1] == 1 ? 0 : 1;
  EXPECT_EQ(after.at(kSysCfgDvrRec), rec);
  EXPECT_EQ(after.at(kSysCfgDvrLive), before.at(kSysCfgDvrLive));

  // Title and brightness on a fresh page: DVRLIVE alone.
  before = after;
  m_page.reset();
  ::DestroyWindow(m_sheet);
  Show(std::make_unique<CameraPage>());
  EditRow(1425, 1068, 3, [](HWND d) {
    SetText(d, 1439, "cam-2");
    SetText(d, 1434, "300");
  });
  EXPECT_EQ(Cell(1425, 3, 1), "CAM2");
  EXPECT_EQ(Cell(1425, 3, 2), "255");
  Screenshot("camera_page.bmp");
  EXPECT_EQ(Apply(), (std::vector<uint8_t>{kSysCfgDvrLive}));
  after = Stored();
  std::string live = before.at(kSysCfgDvrLive);
  live[4 + 3] = static_cast<char>(255);
  live.replace(116 + 18, 6, std::string("CAM2\0\0", 6));
  EXPECT_EQ(after.at(kSysCfgDvrLive), live);
  EXPECT_EQ(after.at(kSysCfgDvrRec), before.at(kSysCfgDvrRec));
}

TEST_F(RecorderPagesTest, TimerRangeEditWritesItsWordAndOldFirmwareNothing) {
  // Range 7 ends at 18:00, a time the picker can show.
  m_tweak = [](uint8_t option, std::string& bytes) {
    if (option == kSysCfgDvrRec) bytes.replace(120, 2, std::string("\x00\x12", 2));
  };
  StartRecorder("RZ1K", "1058");
  Show(std::make_unique<TimerRecordPage>());
  const auto before = Stored();
  // Untouched: nothing to send.
  EXPECT_TRUE(Apply().empty());
  SetPicker(Item(1492), 23, 59);
  Screenshot("timer_record_page.bmp");
  EXPECT_EQ(Apply(), (std::vector<uint8_t>{kSysCfgDvrRec}));
  const auto after = Stored();
  std::string rec = before.at(kSysCfgDvrRec);
  // Ranges whose stored time a picker cannot show go back as they were.
  rec[120] = 0x3B;
  rec[121] = 0x17;
  EXPECT_EQ(after.at(kSysCfgDvrRec), rec);

  m_page.reset();
  ::DestroyWindow(m_sheet);
  m_context.device.fwVersion = "1057";
  Show(std::make_unique<TimerRecordPage>());
  EXPECT_FALSE(::IsWindowEnabled(Item(1195)));
  EXPECT_FALSE(::IsWindowEnabled(Item(1492)));
  SetPicker(Item(1492), 1, 2);
  EXPECT_TRUE(Apply().empty());
}

TEST_F(RecorderPagesTest, DatePageSendsTheChangeFlagsOfWhatChanged) {
  StartRecorder("RZ1K", "1058",
                {"--set", "dvrdate.clock=2006-05-17T09:30:00", "--set", "dvrdate.format=1"});
  Show(std::make_unique<DVRDatePage>());
  ASSERT_TRUE(static_cast<DVRDatePage&>(*m_page).Fetched());
  SYSTEMTIME shown{};
  ::SendMessageA(Item(1480), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown));
  EXPECT_EQ(shown.wYear, 2006);
  EXPECT_EQ(shown.wMonth, 5);
  EXPECT_EQ(shown.wDay, 17);
  // The month reads as a word (Wine's three-letter field would show "May.3s").
  auto text = [&](int id) {
    char t[80] = {};
    ::GetWindowTextA(Item(id), t, sizeof t);
    return std::string(t);
  };
  EXPECT_EQ(text(1480), "May - 17 - 2006");
  EXPECT_EQ(text(1481), "09 : 30 : 00");
  EXPECT_TRUE(Apply().empty());
  ::SendMessageA(Item(1195), CB_SETCURSEL, 2, 0);
  Command(1195, CBN_SELCHANGE);
  EXPECT_EQ(text(1480), "17 - May - 2006");
  Screenshot("date_page.bmp");
  EXPECT_EQ(Apply(), (std::vector<uint8_t>{kSysCfgAll}));
  const auto p = LastParams("/SetDvrDate.cgi");
  ASSERT_EQ(p.size(), 26u);
  EXPECT_EQ(p[0], "Cookie=" + Cookie());
  const std::vector<std::string> head(p.begin() + 1, p.begin() + 14);
  EXPECT_EQ(head, (std::vector<std::string>{"YEAR=2006", "MONTH=5", "DAY=17", "DAYOFWEEK=3",
                                            "HOUR=9", "MINUTE=30", "SECOND=0", "FORMAT=2",
                                            "DAYLIGHTSAVING=0", "CHDATE=0", "CHFORMAT=1",
                                            "CHDAYLIGHT=0", "CHDAYLIGHTTIME=0"}));
  EXPECT_EQ(devsim.RequestsOf("/SetDvrDate.cgi").back().status, 200);
}

TEST_F(RecorderPagesTest, DateAndRecordPagesAreDisabledOnFirmware1057) {
  StartRecorder("RZ3K", "1057");
  Show(std::make_unique<DVRDatePage>());
  EXPECT_FALSE(::IsWindowEnabled(Item(1480)));
  EXPECT_FALSE(::IsWindowEnabled(Item(1507)));
  EXPECT_TRUE(Apply().empty());
  m_page.reset();
  ::DestroyWindow(m_sheet);
  Show(std::make_unique<DVRRecordPage>());
  EXPECT_FALSE(::IsWindowEnabled(Item(1483)));
  EXPECT_FALSE(::IsWindowEnabled(Item(1494)));
  EXPECT_TRUE(Apply().empty());
  EXPECT_TRUE(devsim.RequestsOf("/GetDvrDate.cgi").empty());
  EXPECT_TRUE(devsim.RequestsOf("/GetRecordSetting.cgi").empty());
}

TEST_F(RecorderPagesTest, RecordPageListsIpsAndSendsEveryChangeKey) {
  StartRecorder("RZ1K", "1058", {"--set", "dvrrec.videotype=0"});
  Show(std::make_unique<DVRRecordPage>());
  ASSERT_TRUE(static_cast<DVRRecordPage&>(*m_page).Fetched());
  const auto entries = [&](int id) {
    std::vector<std::string> out;
    const int n = static_cast<int>(::SendMessageA(Item(id), CB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
      char text[32] = {};
      ::SendMessageA(Item(id), CB_GETLBTEXT, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(text));
      out.push_back(text);
    }
    return out;
  };
  EXPECT_EQ(entries(1195), (std::vector<std::string>{"120", "60", "30", "15"}));
  Command(1490);  // OVERWRITE: NO
  Screenshot("record_setting_page.bmp");
  EXPECT_EQ(Apply(), (std::vector<uint8_t>{kSysCfgAll}));
  const auto p = LastParams("/SetRecordSetting.cgi");
  EXPECT_EQ(
      std::vector<std::string>(p.begin() + 1, p.end()),
      (std::vector<std::string>{"CHMANUALREC=0", "CHEVENTREC=0", "CHTIMERREC=0", "CHOV=1",
                                "OVERWRITE=0", "CHQT=0", "CHRECMODE=0", "CHMOTIONRATE=0",
                                "CHMANUALRATE=0", "CHTIMERRATE=0", "CHIPSSHARE=1", "RECORDFIX=1"}));
  EXPECT_EQ(devsim.RequestsOf("/SetRecordSetting.cgi").back().status, 200);

  // CIF: the lists refilled from their first entry, FIX forced and the share radios off.
  Command(1493);
  EXPECT_EQ(entries(1198), (std::vector<std::string>{"480", "240", "120", "60"}));
  EXPECT_EQ(::SendMessageA(Item(1198), CB_GETCURSEL, 0, 0), 0);
  EXPECT_FALSE(::IsWindowEnabled(Item(1496)));
  EXPECT_EQ(::SendMessageA(Item(1496), BM_GETCHECK, 0, 0), BST_CHECKED);
  Command(1491);
  EXPECT_TRUE(::IsWindowEnabled(Item(1496)));
}

TEST_F(RecorderPagesTest, SchedulePageAddsAndDeletesPeriods) {
  ts::TempFolder folder("carried-pages");
  const std::string messages = folder.File("messages.txt");
  ::SetEnvironmentVariableA("OST_MSGBOX_LOG", messages.c_str());
  StartRecorder("RZ1K", "1058");
  ScheduleList list;
  Show(std::make_unique<CScheduleRecordPage>(list));
  // Add twice through the dialog: the untouched dialog gives start == end.
  m_script = nullptr;
  Command(1068);
  EXPECT_EQ(list.Count(), 0);
  EXPECT_NE(ts::ReadFileText(messages).find("Time setting is wrong"), std::string::npos);
  m_script = [](HWND d) {
    Choose(d, 1195, 8);
    Choose(d, 1196, 0);
    Choose(d, 1197, 9);
    Choose(d, 1198, 30);
  };
  Command(1068);
  EXPECT_EQ(list.Count(), 1);
  EXPECT_EQ(Rows(1356), 1);
  EXPECT_EQ(Cell(1356, 0, 1).substr(11), "08:00:00");
  EXPECT_EQ(Cell(1356, 0, 2).substr(11), "09:30:00");
  Screenshot("schedule_record_page.bmp");
  SelectRow(1356, 0);
  Command(1069);
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(Rows(1356), 0);
  EXPECT_TRUE(Apply().empty());
  ::SetEnvironmentVariableA("OST_MSGBOX_LOG", nullptr);
}

TEST_F(RecorderPagesTest, CarriedPagesConstructAndBehave) {
  StartRecorder("RZ1K", "1058");
  auto retr = std::make_unique<CAlarmTriggerPage>(1);
  CAlarmTriggerPage* r = retr.get();
  Show(std::move(retr));
  EXPECT_EQ(::SendMessageA(Item(1348), BM_GETCHECK, 0, 0), BST_CHECKED);
  ::SetWindowTextA(Item(1040), "30");
  Pump();
  EXPECT_EQ(r->m_nLimitHour, 23);
  Command(1349);
  EXPECT_EQ(r->m_bRemoteRecord, 0);

  m_page.reset();
  ::DestroyWindow(m_sheet);
  std::array<uint8_t, 16> record{};
  record[2] = 4;
  record[4] = 60;
  Show(std::make_unique<CSetVorozCmdPage>(352, 240, 0, record));
  EXPECT_EQ(::SendMessageA(Item(1195), CB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(::SendMessageA(Item(1198), CB_GETCURSEL, 0, 0), 3);
  EXPECT_TRUE(::IsWindowVisible(Item(1198)));
  EXPECT_FALSE(::IsWindowVisible(Item(1197)));
  ::SendMessageA(Item(1196), CB_SETCURSEL, 0, 0);
  Command(1196, CBN_SELCHANGE);
  EXPECT_TRUE(::IsWindowVisible(Item(1197)));
  EXPECT_FALSE(::IsWindowVisible(Item(1198)));

  m_page.reset();
  ::DestroyWindow(m_sheet);
  Show(std::make_unique<CRZMPeripheral>(7, 115));
  char text[64] = {};
  ::GetWindowTextA(Item(1041), text, sizeof text);
  EXPECT_STREQ(text, "4CH NETWORK DVR (FULL)");
  ::GetWindowTextA(Item(1040), text, sizeof text);
  EXPECT_STREQ(text, "7");
}

// ---- The sheet's edit dialogs in the dark skin ---------------------------------------------

void PumpMessages() {
  MSG msg;
  for (int i = 0; i < 50; ++i) {
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ost::ProcessMessage(msg);
    ::Sleep(5);
  }
}

// The colour of a window pixel as the screen shows it (window coordinates).
COLORREF ScreenPixel(HWND window, int x, int y) {
  RECT r{};
  ::GetWindowRect(window, &r);
  const std::vector<uint8_t> rows = ts::WindowPixels(window);
  const int w = r.right - r.left, h = r.bottom - r.top;
  const size_t stride = (static_cast<size_t>(w) * 3 + 3) & ~size_t{3};
  const size_t at = static_cast<size_t>(h - 1 - y) * stride + static_cast<size_t>(x) * 3;
  if (rows.size() < at + 3) return CLR_INVALID;
  return RGB(rows[at + 2], rows[at + 1], rows[at]);
}

TEST(SheetEditDialogs, TakeTheDarkSkinAndKeepTheirControls) {
  CDeviceEditDlg device(nullptr, 3, DeviceEdit{1, 0, 2, 17});
  CCameraEditDlg camera(nullptr, 2, CameraEdit{"GATE", 128, 96, 128, 128, 0, 1});
  CTimeSettingDlg time(nullptr, true, SchedulePeriod{});
  CMailEditDlg mail;
  mail.m_strLabel = "Mail Account :";
  mail.m_strAddress = "ops <ops@example.com>";
  struct Case {
    ost::Dialog& dialog;
    const char* shot;
    std::vector<int> ids;  // controls the pages and their tests find by id
    std::vector<int> buttons;
  };
  const Case cases[] = {
      {device, "edit_device.bmp", {1406, 1195, 1040, 1409, 1412}, {IDOK}},
      {camera, "edit_camera.bmp", {1433, 1439, 1434, 1435, 1436, 1438, 1195, 1196}, {IDOK}},
      {time, "edit_time.bmp", {1360, 1361, 1195, 1196, 1197, 1198}, {IDOK, IDCANCEL}},
      {mail, "edit_mail.bmp", {CMailEditDlg::kLabel, CMailEditDlg::kAddress}, {IDOK, IDCANCEL}},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(c.dialog.Create());
    HWND w = c.dialog.GetSafeHwnd();
    SCOPED_TRACE(ost::WindowText(w));
    ::ShowWindow(w, SW_SHOW);
    PumpMessages();
    for (int id : c.ids) EXPECT_NE(::GetDlgItem(w, id), nullptr) << id;
    for (int id : c.buttons) {
      HWND button = ::GetDlgItem(w, id);
      ASSERT_NE(button, nullptr) << id;
      EXPECT_EQ(::GetWindowLongPtrA(button, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW) << id;
    }
    EXPECT_EQ(ost::WindowText(::GetDlgItem(w, IDOK)), "OK");
    // The title bar and the body in the skin's colours, not the system's.
    RECT frame{};
    ::GetWindowRect(w, &frame);
    EXPECT_EQ(ScreenPixel(w, (frame.right - frame.left) * 3 / 4, 4), ost::skin::kTitleBar);
    RECT client{};
    ::GetClientRect(w, &client);
    POINT corner{client.right - 2, client.bottom - 2};
    ::MapWindowPoints(w, nullptr, &corner, 1);
    EXPECT_EQ(ScreenPixel(w, corner.x - frame.left, corner.y - frame.top), ost::skin::kBody);
    if (!ts::ScreenshotFolder().empty()) {
      EXPECT_TRUE(ts::SaveWindowImage(w, ts::ScreenshotFolder() + c.shot));
    }
    // OK still answers by its id.
    ::SendMessageA(::GetDlgItem(w, IDOK), BM_CLICK, 0, 0);
    PumpMessages();
    EXPECT_FALSE(::IsWindow(w));
  }
}

}  // namespace
}  // namespace nettest
