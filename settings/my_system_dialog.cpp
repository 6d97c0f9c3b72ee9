#include "settings/my_system_dialog.h"

#include <algorithm>
#include <mutex>

#include "app/sys_cfg_items.h"
#include "net/cgi_command_table.h"
#include "net/cgi_param_list.h"
#include "net/device_session.h"
#include "net/sys_cfg_fields.h"
#include "net/voroz_send_command.h"
#include "platform/message_box.h"
#include "platform/strings.h"
#include "settings/page_table.h"
#include "settings/settings_ids.h"
#include "settings/settings_messages.h"
#include "settings/sheet_button.h"

namespace {

constexpr uint16_t kRebootTimeoutS = 15;
constexpr DWORD kAddressChangeWaitMs = 3000;

}  // namespace

MySystemDialog::MySystemDialog(const SheetStart& start, std::string caption, HWND parent,
                               int firstPage)
    : CTreePropSheet(std::move(caption), parent, firstPage, start.device.productId),
      m_start(start),
      m_snapshot(BlockSnapshot::Of(start.blocks)) {
  SetScreenScale(start.scale);
  SheetContext context;
  context.device = m_start.device;
  context.blocks = m_start.blocks;
  context.snapshot = &m_snapshot;
  context.session = m_start.session;
  context.program = m_start.program;
  context.start = &m_start.client;
  context.client = &m_client;
  context.choices = &m_choices;
  context.scale = m_start.scale;
  context.runModal = [this](ost::Dialog& dialog) { return RunPageModal(dialog); };
  context.enableSheetButtons = [this](bool enable) { SetButtonsEnabled(enable); };
  for (const std::string& caption :
       FamilyPageCaptions(m_start.device.productId, m_start.alarmListOnDvr)) {
    std::unique_ptr<SettingsPage> page = MakeSettingsPage(caption);
    page->SetContext(context);
    AddPage(page.get());
    m_pageObjects.push_back(std::move(page));
  }
  MapCommand(kSheetExitId, [this] { OnClickOK(); });
  MapCommand(kSheetApplyId, [this] { OnClickApply(); });
  MapCommand(kSheetRebootId, [this] { OnClickReboot(); });
  MapMessage(WM_SHEET_SHOWBACKUP, [this](WPARAM, LPARAM) -> LRESULT {
    SetActivePage(PageIndexOf("Network Backup"));
    return 0;
  });
  MapMessage(WM_SHEET_APPLYSNTPNOW, [this](WPARAM, LPARAM) { return OnApplySNTPNow(); });
}

MySystemDialog::~MySystemDialog() {
  // The pages' windows go before their objects, the sheet's after them.
  for (auto& page : m_pageObjects)
    if (page->GetSafeHwnd() != nullptr) page->DestroyWindow();
  if (m_hWnd != nullptr) {
    HWND hwnd = UnsubclassWindow();
    if (::IsWindow(hwnd)) ::DestroyWindow(hwnd);
  }
}

bool MySystemDialog::Open() {
  if (!Create()) return false;
  // Every page learns the sheet's window.
  for (auto& page : m_pageObjects) {
    SheetContext context = page->Context();
    context.sheet = m_hWnd;
    page->SetContext(context);
  }
  ShowWindow(SW_SHOWNOACTIVATE);
  return true;
}

SettingsPage* MySystemDialog::PageByCaption(const std::string& caption) const {
  for (const auto& page : m_pageObjects)
    if (page->Caption() == caption) return page.get();
  return nullptr;
}

BOOL MySystemDialog::OnInitDialog() {
  // The pages know the sheet's window before the first is made.
  for (auto& page : m_pageObjects) {
    SheetContext context = page->Context();
    context.sheet = m_hWnd;
    page->SetContext(context);
  }
  const BOOL result = CTreePropSheet::OnInitDialog();
  CreateSheetButtons();
  ModifyStyle(WS_SYSMENU, 0);
  ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  return result;
}

void MySystemDialog::CreateSheetButtons() {
  const RECT client = GetClientRect();
  const SheetButtons at = SheetButtonsFor(client.right, client.bottom, m_start.scale);
  const std::string& id = m_start.device.productId;
  auto make = [&](int control, unsigned text, const SheetRect& r) {
    auto button = std::make_unique<SheetButton>();
    if (button->Create(ost::LoadResString(text).c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP,
                       RECT{r.left, r.top, r.right, r.bottom}, m_hWnd, control)) {
      button->Send(WM_SETFONT, Send(WM_GETFONT), FALSE);
      m_buttons.push_back(std::move(button));
    }
  };
  make(kSheetExitId, kStrExit, at.exit);
  if (SheetHasApply(id)) make(kSheetApplyId, kStrApply, at.apply);
  if (SheetHasReboot(id)) make(kSheetRebootId, kStrReboot, at.reboot);
}

void MySystemDialog::SetButtonsEnabled(bool enabled) {
  for (int id : {kSheetExitId, kSheetApplyId, kSheetRebootId})
    if (HWND button = GetDlgItem(id)) ::EnableWindow(button, enabled);
}

int MySystemDialog::DisableSheetButtons() {
  SetButtonsEnabled(false);
  return 1;
}

int MySystemDialog::EnableSheetButtons() {
  SetButtonsEnabled(true);
  return 1;
}

std::string MySystemDialog::MakeMessageText(const std::string& caption) {
  return caption.empty() ? std::string() : caption + " is not available for this device.";
}

void MySystemDialog::OnClickOK() {
  EndDialog(IDCANCEL);
}

bool MySystemDialog::SendBlock(uint8_t option) {
  const std::span<uint8_t> block = m_start.blocks[option];
  if (block.empty()) return false;
  return SetSysCfgItem(option, block.data(), static_cast<uint32_t>(block.size()), 0) == 1;
}

bool MySystemDialog::SendPageChanges(PageChanges& changes) {
  for (const PageSend& send : changes.sends) {
    const bool carriesPending = changes.pending && send.option == changes.pendingWith;
    if (carriesPending) {
      // The session moves with the reply to this send, and only then.
      std::lock_guard<std::mutex> lock(SessionMutex());
      if (changes.pending->port) {
        g_wPendingWebPort = *changes.pending->port;
        g_fPendingWebPort = 1;
      }
      if (changes.pending->server) {
        g_strPendingServerName = *changes.pending->server;
        g_fPendingServerName = 1;
      }
    }
    const bool sent =
        send.option < kSysCfgAll ? SendBlock(send.option) : (send.command && send.command());
    if (carriesPending) {
      std::lock_guard<std::mutex> lock(SessionMutex());
      g_fPendingWebPort = 0;
      g_fPendingServerName = 0;
    }
    if (!sent) {
      if (!changes.failureText.empty()) {
        OstMessageBox(changes.failureText.c_str());
      } else {
        OstMessageBoxId(changes.failureMessage);
      }
      return false;
    }
  }
  return true;
}

void MySystemDialog::OnClickApply() {
  const SheetDevice& device = m_start.device;
  const uint8_t addressMode = m_choices.addressMode.value_or(
      static_cast<uint8_t>(CfgGetUint(m_start.blocks[kSysCfgIp], cfg::ip::kAddressType)));
  const bool ddns = m_choices.ddnsEnabled.value_or(
      CfgGetUint(m_start.blocks[kSysCfgSmtp], cfg::smtp::kDDNSEnable) != 0);
  if (RefusePppoeWithoutDdns(device.productId, addressMode, ddns)) {
    OstMessageBoxId(kMsgPppoeWithoutDdns);
    return;
  }
  bool addressChanged = false;
  bool rebuildRs485 = false;
  bool rebuildPeri = false;
  for (const std::string& caption : ApplyStepCaptions(device.productId)) {
    SettingsPage* page = PageByCaption(caption);
    if (page == nullptr || !page->IsCreated()) continue;
    PageChanges changes;
    if (!page->Store(changes)) continue;
    if (changes.sends.empty()) continue;
    if (!SendPageChanges(changes)) continue;
    if (changes.addressChanged) addressChanged = true;
    if (changes.controlListChanged) {
      for (const PageSend& send : changes.sends) {
        if (send.option == kSysCfgRs485) rebuildRs485 = true;
        if (send.option == kSysCfgPeri) rebuildPeri = true;
      }
    }
  }
  // The device takes a moment to come back on its new address.
  if (addressChanged) ::Sleep(kAddressChangeWaitMs);
  if (m_afterApply) m_afterApply(*this, rebuildRs485, rebuildPeri);
  EndDialog(IDOK);
}

void MySystemDialog::OnClickReboot() {
  if (m_start.session == nullptr) return;
  CGIParamList request(kCgiReboot);
  if (!m_start.cookie.empty()) request.AddParam("Cookie", m_start.cookie);
  CgiRequest send = CgiRequest::Of(request);
  send.options = {.sendTimeoutSeconds = kRebootTimeoutS, .receiveTimeoutSeconds = kRebootTimeoutS};
  if (VorozSendCommand(send, *m_start.session) != 1) OstMessageBoxId(kMsgSendCommandTimeout);
}

LRESULT MySystemDialog::OnApplySNTPNow() {
  SettingsPage* page = PageByCaption("Server Time Config");
  if (page == nullptr || !page->IsCreated()) return 0;
  PageChanges changes;
  if (page->StoreNow(changes)) SendPageChanges(changes);
  return 0;
}

INT_PTR MySystemDialog::RunPageModal(ost::Dialog& dialog) {
  ++m_modalDepth;
  m_modals.push_back(&dialog);
  const INT_PTR result = dialog.DoModal();
  m_modals.pop_back();
  --m_modalDepth;
  return result;
}

void MySystemDialog::CloseForDeletion() {
  for (ost::Dialog* modal : m_modals) modal->EndDialog(IDCANCEL);
  if (m_hWnd != nullptr) ShowWindow(SW_HIDE);
}

LRESULT MySystemDialog::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CLOSE) {
    EndDialog(IDCANCEL);
    return 0;
  }
  if (msg == WM_DESTROY && m_onWindowGone) m_onWindowGone();
  return CTreePropSheet::WindowProc(msg, wp, lp);
}
