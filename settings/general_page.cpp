#include "settings/general_page.h"

#include <vector>

#include "mainwnd/settings_sheet_slot.h"
#include "net/cgi_command_table.h"
#include "net/cgi_param_list.h"
#include "net/device_family.h"
#include "net/request_cancel.h"
#include "net/voroz_send_command.h"
#include "platform/load_string_pair.h"
#include "settings/page_controls.h"
#include "settings/server_log_dialogs.h"

#include "app/progress_channel.h"

namespace {

constexpr unsigned kGeneralPageTemplate = 277;
constexpr unsigned kStrServerLogPair = 1304;
constexpr uint16_t kLogTimeoutSeconds = 15;

// One "/Getlog.cgi" request on the page's session; the body (at most 4096 bytes) into reply.
bool RequestLog(DeviceSession& session, const std::string& cookie, std::string_view state,
                std::vector<uint8_t>& reply) {
  CGIParamList request(kCgiGetLog);
  if (!cookie.empty()) request.AddParam("Cookie", cookie);
  request.AddParam("STATE", state);
  reply.assign(4096, 0);
  uint32_t length = 0;
  CgiRequest r = CgiRequest::Of(request);
  r.reply = reply.data();
  r.replyCapacity = static_cast<uint32_t>(reply.size());
  r.replyLength = &length;
  r.options.sendTimeoutSeconds = kLogTimeoutSeconds;
  r.options.receiveTimeoutSeconds = kLogTimeoutSeconds;
  const bool ok = VorozSendCommand(r, session) == 1;
  reply.resize(ok ? length : 0);
  return ok;
}

}  // namespace

ToolBoxPropertyPage::ToolBoxPropertyPage() : SettingsPage(kGeneralPageTemplate, "General") {
  m_hServerLogStopEvent = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
  MapCommand(kServerLog, &ToolBoxPropertyPage::OnServerLog);
  MapNotify(kMaxLog, EN_CHANGE, &ToolBoxPropertyPage::OnMaxLogChange);
  MapMessage(WM_SERVER_LOG_DONE, [this](WPARAM wp, LPARAM) { return OnServerLogDone(wp); });
}

ToolBoxPropertyPage::~ToolBoxPropertyPage() {
  StopFetch();
  if (m_hServerLogStopEvent) ::CloseHandle(m_hServerLogStopEvent);
}

void ToolBoxPropertyPage::DoDataExchange(ost::DataExchange& dx) {
  dx.ComboIndex(kTurboStep, m_nTurboStep);
  dx.Number(kMaxLog, m_nMaxLogList, 0, 2048);
  dx.Text(kTitle, m_strTitle, kTitleChars);
  dx.Text(kCh1, m_strCH1Name, kChannelNameChars);
  dx.Text(kCh2, m_strCH2Name, kChannelNameChars);
  if (!dx.IsSaving()) {
    SetItemText(kFirmware, m_strFirmwareVersion);
    SetItemText(kMac, m_strMacAddress);
  }
}

void ToolBoxPropertyPage::Load() {
  const SheetDevice& device = Device();
  for (int i = 1; i <= 30; ++i) page_controls::AddComboText(m_hWnd, kTurboStep, std::to_string(i));
  m_strFirmwareVersion = DottedFirmware(device.fwVersion);
  if (Context().start) m_nTurboStep = Context().start->byTurboStepIndex;
  if (const std::optional<std::string> mac = Program().MacAddress())
    m_strMacAddress = ColonMac(*mac);
  m_gates = GeneralGatesFor(device.productId, device.fwVersion);
  page_controls::Show(m_hWnd, {kServerLog, kMaxLogLabel, kMaxLog}, m_gates.serverLog);
  page_controls::Show(m_hWnd, {kTitleLabel, kTitle}, m_gates.title);
  page_controls::Show(m_hWnd, {kCh1Label, kCh1, kCh2Label, kCh2}, m_gates.channelNames);
  // The snapshot is what the page shows, so an untouched title is never rewritten.
  m_snapshot = LoadGeneral(Snapshot(kSysCfgSystem), Snapshot(kSysCfgRs485), m_gates);
  const GeneralValues now = LoadGeneral(Block(kSysCfgSystem), Block(kSysCfgRs485), m_gates);
  m_strTitle = now.title;
  m_strCH1Name = now.ch1;
  m_strCH2Name = now.ch2;
  SetButtonText(false);
  UpdateData(false);
}

void ToolBoxPropertyPage::OnMaxLogChange() {
  if (m_filtering) return;
  int value = 0;
  const std::string text = GetItemText(kMaxLog);
  if (!FilterMaxLogList(text, &value)) return;
  m_nMaxLogList = value;
  if (text == std::to_string(value)) return;
  m_filtering = true;
  SetItemText(kMaxLog, std::to_string(value));
  m_filtering = false;
}

void ToolBoxPropertyPage::SetButtonText(bool busy) {
  char idle[50] = {}, cancel[50] = {};
  LoadStringPair(kStrServerLogPair, idle, cancel);
  SetItemText(kServerLog, busy ? cancel : idle);
}

void ToolBoxPropertyPage::StopFetch() {
  if (m_hServerLogStopEvent) ::SetEvent(m_hServerLogStopEvent);
  if (m_hServerLogThread.joinable()) m_hServerLogThread.join();
  m_byServerLogState = 2;
}

void ToolBoxPropertyPage::OnServerLog() {
  UpdateData(true);
  if (m_byServerLogState == 1) {
    SetButtonText(false);
    StopFetch();
    return;
  }
  DeviceSession* session = Context().session;
  if (!session) return;
  StopFetch();
  SetButtonText(true);
  m_pServerLogBuffer->fill(0);
  m_nServerLogCount = 0;
  ::ResetEvent(m_hServerLogStopEvent);
  m_byServerLogState = 1;
  const HWND page = m_hWnd;
  const HANDLE stop = m_hServerLogStopEvent;
  const uint32_t maxEntries = static_cast<uint32_t>(m_nMaxLogList);
  LogBuffer* buffer = m_pServerLogBuffer.get();
  uint32_t* count = &m_nServerLogCount;
  const SheetProgram* program = &Program();
  m_hServerLogThread = std::thread([=] {
    RequestCancel cancel(stop);
    RequestCancelScope scope(cancel);
    ServerLogFetchHost host;
    host.request = [session, program](std::string_view state, std::vector<uint8_t>& reply) {
      return RequestLog(*session, program->Cookie(), state, reply);
    };
    host.stopRequested = [stop] { return ::WaitForSingleObject(stop, 0) == WAIT_OBJECT_0; };
    host.progress = [](int command, uint32_t value) {
      g_pProgressChannel->Send(static_cast<uint32_t>(command), value, 1000);
    };
    const ServerLogOutcome outcome = FetchServerLog(host, maxEntries, *buffer, count);
    if (outcome != ServerLogOutcome::kStopped)
      ::PostMessageA(page, WM_SERVER_LOG_DONE, static_cast<WPARAM>(outcome), 0);
  });
}

LRESULT ToolBoxPropertyPage::OnServerLogDone(WPARAM outcome) {
  if (m_hServerLogThread.joinable()) m_hServerLogThread.join();
  if (outcome == static_cast<WPARAM>(ServerLogOutcome::kReceived)) {
    const ServerLogKind kind =
        IsRZKSeriesProduct(Device().productId) ? ServerLogKind::kDvr : ServerLogKind::kVideoServer;
    RunServerLogDialog(kind, *m_pServerLogBuffer, m_nServerLogCount, Context().session, &Program(),
                       [this](ost::Dialog& dialog) { return RunModal(dialog); });
  }
  SetButtonText(false);
  m_byServerLogState = 2;
  return 0;
}

bool ToolBoxPropertyPage::Store(PageChanges& changes) {
  if (!SaveControls()) return false;
  if (Context().client && m_nTurboStep >= 0)
    Context().client->turboStepIndex = static_cast<uint8_t>(m_nTurboStep);
  if (!m_gates.title) return true;
  const GeneralValues now{m_strTitle, m_strCH1Name, m_strCH2Name};
  const GeneralStore s =
      StoreGeneral(now, m_snapshot, m_gates, Block(kSysCfgSystem), Block(kSysCfgRs485));
  if (s.system) {
    changes.sends.push_back({kSysCfgSystem, {}});
    // The main window shows the new title once the device took it.
    const std::string title = m_strTitle;
    SheetProgram* program = &Program();
    changes.sends.push_back({kSysCfgAll, [program, title] {
                               program->SetDeviceTitle(title);
                               return true;
                             }});
  }
  if (s.rs485) changes.sends.push_back({kSysCfgRs485, {}});
  return true;
}
