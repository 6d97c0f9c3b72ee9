#include "tests/settings_pages/page_fixture.h"

#include <commctrl.h>

#include <fstream>
#include <sstream>
#include <typeinfo>

#include "app/app_data.h"
#include "app/sys_cfg_items.h"
#include "net/device_session.h"
#include "net/login_exchange.h"
#include "net/sys_cfg_blocks.h"
#include "platform/message_box.h"
#include "program/program_objects.h"
#include "settings/sheet_program_link.h"
#include "tests/support/app_data_setup.h"
#include "tests/support/device_login.h"

// The program's globals the command layer uses.
APP_DATA* g_lpApp = nullptr;
char g_szCookie[64] = {};

namespace pagetest {

void PageTest::SetUpTestSuite() {
  static bool started = false;
  if (started) return;
  ASSERT_TRUE(testsupport::StartNetworkOnce());
  INITCOMMONCONTROLSEX cc{sizeof cc, ICC_LISTVIEW_CLASSES | ICC_DATE_CLASSES |
                                         ICC_INTERNET_CLASSES | ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&cc);
  started = true;
}

void PageTest::SetUp() {
  testsupport::MakeProgramAppData();
  m_folder = std::make_unique<testsupport::TempFolder>("pages");
  g_lpApp->m_Settings.m_strExeDir = m_folder->Path();
  ::SetEnvironmentVariableA("OST_MSGBOX_LOG", m_folder->File("msgbox.log").c_str());
  m_host = ::CreateWindowExA(0, "STATIC", "page host", WS_POPUP | WS_VISIBLE, 0, 0, 480, 300,
                             nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(m_host, nullptr);
  // A page opened without a device still belongs to the program (its folder, its settings).
  m_context.program = &ProgramSheetLink();
}

void PageTest::TearDown() {
  m_page.reset();
  if (m_host) ::DestroyWindow(m_host);
  m_host = nullptr;
  devsim.Stop();
  ::SetEnvironmentVariableA("OST_MSGBOX_LOG", nullptr);
  testsupport::FreeProgramAppData();
}

void PageTest::StartDevice(const std::string& product, const std::string& firmware,
                           const std::vector<std::string>& args) {
  std::vector<std::string> all = {"--product", product, "--set", "firmware=" + firmware};
  all.insert(all.end(), args.begin(), args.end());
  ASSERT_TRUE(devsim.Start(all)) << devsim.error();
  testsupport::PointProgramSessionAt(static_cast<uint16_t>(devsim.port()));
  const LoginResult login = testsupport::LogInProgramSession(kLoginWorkerLogin);
  ASSERT_NE(g_szCookie[0], 0) << "login failed";
  (void)login;
  ASSERT_EQ(GetSysCfgItem(kSysCfgAll, nullptr, 0), 1);

  m_context = SheetContext{};
  m_context.device.productId = product;
  m_context.device.fwVersion = firmware;
  m_context.device.deviceMask = CfgGetUint(SysCfgCopy(*g_lpApp, kSysCfgInf), cfg::inf::kDeviceMask);
  m_context.device.multiChannel = g_lpApp->byMultiChannel;
  for (uint8_t o = 0; o < kSysCfgAll; ++o) m_context.blocks.block[o] = SysCfgCopy(*g_lpApp, o);
  m_snapshot = BlockSnapshot::Of(m_context.blocks);
  m_context.snapshot = &m_snapshot;
  m_context.session = &ProgramDeviceSession();
  m_context.program = &ProgramSheetLink();
  m_context.client = &m_client;
  m_context.choices = &m_choices;
  m_context.sheet = m_host;
  m_context.runModal = [this](ost::Dialog& dialog) -> INT_PTR {
    m_modalRuns.push_back(typeid(dialog).name());
    if (m_runModal) return m_runModal(dialog);
    if (m_onModal) m_onModal(dialog);
    return m_onModal ? IDOK : IDCANCEL;
  };
  m_context.enableSheetButtons = [](bool) {};
}

void PageTest::OpenPage(std::unique_ptr<SettingsPage> page) {
  m_page = std::move(page);
  m_page->SetContext(m_context);
  ASSERT_TRUE(m_page->CreatePage(m_host));
  ::ShowWindow(m_page->GetSafeHwnd(), SW_SHOW);
}

int PageTest::Apply() {
  PageChanges changes;
  if (!m_page->Store(changes)) return -1;
  return Send(changes);
}

int PageTest::ApplyNow() {
  PageChanges changes;
  if (!m_page->StoreNow(changes)) return 0;
  return Send(changes);
}

int PageTest::Send(const PageChanges& changes) {
  int sent = 0;
  for (const PageSend& send : changes.sends) {
    bool ok;
    if (send.option < kSysCfgAll) {
      std::span<uint8_t> block = m_context.blocks[send.option];
      ok = SetSysCfgItem(send.option, block.data(), static_cast<uint32_t>(block.size()), 0) == 1;
      ++sent;
    } else {
      ok = send.command();
    }
    if (!ok) {
      if (changes.failureText.empty())
        OstMessageBoxId(changes.failureMessage);
      else
        OstMessageBox(changes.failureText.c_str());
      break;
    }
  }
  return sent;
}

std::string PageTest::Text(int id) const {
  return testsupport::ItemText(Page(), id);
}

void PageTest::Type(int id, const std::string& text) {
  ::SetDlgItemTextA(Page(), id, text.c_str());  // the edit notifies EN_CHANGE
}

void PageTest::Click(int id) {
  ::SendMessageA(Page(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(Page(), id)));
}

void PageTest::Choose(int comboId, int index) {
  HWND combo = ::GetDlgItem(Page(), comboId);
  ::SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  ::SendMessageA(Page(), WM_COMMAND, MAKEWPARAM(comboId, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
}

void PageTest::SelectRow(int listId, int row) {
  LVITEMA item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  ::SendMessageA(::GetDlgItem(Page(), listId), LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&item));
}

std::string PageTest::Stored(uint8_t option) {
  return devsim.Control(std::string("/_devsim/block?option=") + SysCfgOptionNames[option]);
}

std::vector<size_t> PageTest::Diff(const std::string& a, const std::string& b) {
  std::vector<size_t> d;
  for (size_t i = 0; i < std::max(a.size(), b.size()); ++i)
    if (i >= a.size() || i >= b.size() || a[i] != b[i]) d.push_back(i);
  return d;
}

std::vector<std::string> PageTest::Messages() const {
  std::ifstream in(m_folder->File("msgbox.log"));
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

void PageTest::AddFault(const std::string& query) {
  devsim.Control("/_devsim/fault?" + query);
}

}  // namespace pagetest
