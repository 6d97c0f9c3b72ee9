// The device log through the General page: paged with progress into the dialog, cancelled in
// the middle without a hang, cleared from the video server's dialog.
#include <windows.h>

#include <commctrl.h>

#include <mutex>

#include "app/progress_channel.h"
#include "settings/general_page.h"
#include "settings/server_log_dialogs.h"
#include "tests/settings_pages/page_fixture.h"

namespace pagetest {
namespace {

class LogFetchTest : public PageTest {
 protected:
  void TearDown() override {
    g_pProgressChannel->StopServing();
    PageTest::TearDown();
  }
  // Serves the sheet's progress channel, keeping the commands.
  void ServeProgress() {
    ASSERT_TRUE(g_pProgressChannel->Serve([this](uint32_t command, uint32_t value) {
      std::lock_guard lock(m_lock);
      m_progress.emplace_back(command, value);
    }));
  }
  std::vector<std::pair<uint32_t, uint32_t>> Progress() {
    std::lock_guard lock(m_lock);
    return m_progress;
  }
  // Runs the page's window messages until cond holds (a generous deadline only a hang reaches).
  bool PumpUntil(const std::function<bool()>& cond, DWORD timeoutMs = 60000) {
    const DWORD start = ::GetTickCount();
    while (!cond()) {
      if (::GetTickCount() - start > timeoutMs) return false;
      MSG msg;
      while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return true;
  }

  std::mutex m_lock;
  std::vector<std::pair<uint32_t, uint32_t>> m_progress;
};

TEST_F(LogFetchTest, PagesThrough2100EntriesIntoTheDialog) {
  StartDevice("RZ2K", "1010", {"--set", "log.length=2100"});
  ServeProgress();
  uint32_t shown = 0;
  size_t rows = 0;
  m_onModal = [&](ost::Dialog& dialog) {
    auto* log = dynamic_cast<CVSServerLogDlg*>(&dialog);
    ASSERT_NE(log, nullptr);
    shown = log->m_nCount;
    rows = ServerLogRows(ServerLogKind::kVideoServer, log->plogList, log->m_nCount,
                         log->m_dwFilterMask)
               .size();
  };
  auto& page = Open<ToolBoxPropertyPage>();
  Type(ToolBoxPropertyPage::kMaxLog, "5000");
  EXPECT_EQ(Text(ToolBoxPropertyPage::kMaxLog), "2048");
  Click(ToolBoxPropertyPage::kServerLog);
  EXPECT_EQ(Text(ToolBoxPropertyPage::kServerLog), "Cancel");
  ASSERT_TRUE(PumpUntil([&] { return !m_modalRuns.empty(); }));
  EXPECT_EQ(shown, 2048u);
  EXPECT_GT(rows, 1500u);
  EXPECT_EQ(page.m_byServerLogState, 2);
  EXPECT_EQ(Text(ToolBoxPropertyPage::kServerLog), "Server Log");

  const auto requests = Requests("/Getlog.cgi");
  ASSERT_EQ(requests.size(), 1u + 69u);  // COUNT, then 69 pages of 30 (the last cut to the room)
  EXPECT_EQ(requests[0].params.back(), "STATE=COUNT");
  EXPECT_EQ(requests[1].params.back(), "STATE=LAST");
  EXPECT_EQ(requests[2].params.back(), "STATE=PRE");
  ASSERT_TRUE(PumpUntil([&] { return !Progress().empty() && Progress().back().first == 4; }));
  const auto progress = Progress();
  EXPECT_EQ(progress[0].first, 1u);
  EXPECT_EQ(progress[1], std::make_pair(2u, 2048u));
  for (const auto& [command, value] : progress) {
    if (command == 3) {
      EXPECT_LE(value, 2048u);
    }
  }
}

TEST_F(LogFetchTest, CancelInTheMiddleEndsWithoutAHang) {
  // Each page trickles in, so the fetch is still running when it is cancelled.
  StartDevice(
      "RZ2K", "1010",
      {"--set", "log.length=2100", "--fault", "trickle,path=/Getlog.cgi,pieces=4,delay=50"});
  ServeProgress();
  auto& page = Open<ToolBoxPropertyPage>();
  Type(ToolBoxPropertyPage::kMaxLog, "2048");
  Click(ToolBoxPropertyPage::kServerLog);
  ASSERT_TRUE(PumpUntil([&] { return Requests("/Getlog.cgi").size() >= 4; }));
  const DWORD start = ::GetTickCount();
  Click(ToolBoxPropertyPage::kServerLog);  // "Cancel"
  EXPECT_LT(::GetTickCount() - start, 5000u);
  EXPECT_EQ(page.m_byServerLogState, 2);
  EXPECT_EQ(Text(ToolBoxPropertyPage::kServerLog), "Server Log");
  const size_t sent = Requests("/Getlog.cgi").size();
  EXPECT_LT(sent, 70u);
  ASSERT_TRUE(PumpUntil([&] { return !Progress().empty() && Progress().back().first == 4; }));
  PumpUntil([] { return false; }, 300);
  EXPECT_TRUE(m_modalRuns.empty());
  EXPECT_LE(Requests("/Getlog.cgi").size(), sent + 1);
}

TEST_F(LogFetchTest, VideoServerDialogClearsTheDeviceLog) {
  StartDevice("RZ2K", "1010", {"--set", "log.length=40"});
  ::SetEnvironmentVariableA("OST_MSGBOX_ANSWER", "6");  // IDYES
  m_onModal = [&](ost::Dialog& dialog) {
    auto* log = dynamic_cast<CVSServerLogDlg*>(&dialog);
    ASSERT_NE(log, nullptr);
    ASSERT_TRUE(log->Create());
    ::SendMessageA(log->GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(CVSServerLogDlg::kClear, BN_CLICKED),
                   0);
    log->DestroyWindow();
  };
  Open<ToolBoxPropertyPage>();
  Click(ToolBoxPropertyPage::kServerLog);
  ASSERT_TRUE(PumpUntil([&] { return !m_modalRuns.empty(); }));
  ::SetEnvironmentVariableA("OST_MSGBOX_ANSWER", nullptr);
  const auto clears = Requests("/ClearLog.cgi");
  ASSERT_EQ(clears.size(), 1u);
  EXPECT_EQ(clears[0].status, 200);
}

}  // namespace
}  // namespace pagetest
