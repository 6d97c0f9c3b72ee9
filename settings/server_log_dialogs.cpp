#include "settings/server_log_dialogs.h"

#include "net/cgi_command_table.h"
#include "net/cgi_param_list.h"
#include "net/voroz_send_command.h"
#include "platform/message_box.h"
#include "settings/page_controls.h"
#include "settings/sheet_context.h"

namespace {

constexpr UINT kDvrLogTemplate = 329, kServerLogTemplate = 342, kLogListTemplate = 332;
constexpr unsigned kStrEvent = 8570, kStrTime = 8571, kStrChannel = 8572;
constexpr unsigned kMsgClearLog = 4117;

}  // namespace

ServerLogListBase::ServerLogListBase(UINT templateId, ServerLogKind kind)
    : ost::Dialog(templateId),
      m_dwFilterMask(ServerLogInitialMask(kind)),
      m_kind(kind),
      m_back(ost::SolidBrush(ost::kPageBack)) {
  for (const ServerLogFilter& f : ServerLogFilters(kind)) {
    const uint32_t bit = f.bit;
    const int id = f.checkId;
    MapCommand(id, [this, bit, id] {
      m_dwFilterMask ^= bit;
      page_controls::Check(m_hWnd, id, (m_dwFilterMask & bit) != 0);
      ListEntries();
    });
  }
}

HBRUSH ServerLogListBase::OnCtlColor(HDC dc, HWND, UINT) {
  ::SetTextColor(dc, ost::kPageText);
  ::SetBkColor(dc, ost::kPageBack);
  return m_back.Get();
}

BOOL ServerLogListBase::OnInitDialog() {
  ost::Dialog::OnInitDialog();
  m_list.AttachDlgItem(kList, m_hWnd);
  m_list.InsertColumn(0, "NO.", 40);
  m_list.InsertColumn(1, page_controls::LoadText(kStrEvent), 210);
  m_list.InsertColumn(2, page_controls::LoadText(kStrTime), 150);
  if (m_kind == ServerLogKind::kDvr)
    m_list.InsertColumn(3, page_controls::LoadText(kStrChannel), 40);
  for (const ServerLogFilter& f : ServerLogFilters(m_kind))
    page_controls::Check(m_hWnd, f.checkId, true);
  ListEntries();
  return TRUE;
}

void ServerLogListBase::ListEntries() {
  m_list.DeleteAllRows();
  for (const ServerLogRow& r : ServerLogRows(m_kind, plogList, m_nCount, m_dwFilterMask)) {
    const int row = m_list.AddRow(r.number);
    m_list.SetCell(row, 1, r.event);
    m_list.SetCell(row, 2, r.time);
    if (m_kind == ServerLogKind::kDvr) m_list.SetCell(row, 3, r.channel);
  }
}

CServerLogDlg::CServerLogDlg() : ServerLogListBase(kDvrLogTemplate, ServerLogKind::kDvr) {}

CVSServerLogDlg::CVSServerLogDlg(DeviceSession* session, const SheetProgram* program)
    : ServerLogListBase(kServerLogTemplate, ServerLogKind::kVideoServer),
      m_session(session),
      m_program(program) {
  MapCommand(kClear, &CVSServerLogDlg::OnClear);
  MapCommand(kExit, [this] { EndDialog(0); });
}

void CVSServerLogDlg::OnClear() {
  if (OstMessageBoxId(kMsgClearLog, MB_YESNO | MB_ICONSTOP) != IDYES || !m_session) return;
  CGIParamList request(kCgiClearLog);
  const std::string cookie = m_program ? m_program->Cookie() : std::string();
  if (!cookie.empty()) request.AddParam("Cookie", cookie);
  // A failed clear leaves the dialog open.
  if (VorozSendCommand(CgiRequest::Of(request), *m_session) == 1) EndDialog(0);
}

CServerLogListDlg::CServerLogListDlg() : ost::Dialog(kLogListTemplate) {
  for (int id : {1456, 1457, 1458, 1459, IDCANCEL}) MapCommand(id, [] {});
}

void RunServerLogDialog(ServerLogKind kind, std::span<const uint8_t> entries, uint32_t count,
                        DeviceSession* session, const SheetProgram* program,
                        const std::function<INT_PTR(ost::Dialog&)>& runModal) {
  if (kind == ServerLogKind::kDvr) {
    CServerLogDlg dlg;
    dlg.plogList = entries;
    dlg.m_nCount = count;
    runModal(dlg);
  } else {
    CVSServerLogDlg dlg(session, program);
    dlg.plogList = entries;
    dlg.m_nCount = count;
    runModal(dlg);
  }
}
