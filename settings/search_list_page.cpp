#include "settings/search_list_page.h"

#include <commctrl.h>

#include <algorithm>

#include "app/progress_channel.h"
#include "mainwnd/settings_sheet_slot.h"
#include "net/cgi_command_table.h"
#include "net/cgi_param_list.h"
#include "net/device_session.h"
#include "net/voroz_send_command.h"
#include "platform/message_box.h"
#include "settings/network_backup_page.h"
#include "settings/search_list_ids.h"
#include "settings/settings_messages.h"

namespace {
void Progress(uint32_t command, uint32_t value) {
  if (g_pProgressChannel) g_pProgressChannel->Send(command, value, 2000);
}
}  // namespace

// ---- CFullListDlg ----

CFullListDlg::CFullListDlg(HWND owner, const std::vector<SearchListEntry>& entries,
                           std::string title, int diskIndex, int listType)
    : ost::Dialog(kFullListTemplate, owner),
      m_entries(entries),
      m_title(std::move(title)),
      m_diskIndex(diskIndex),
      m_listType(listType) {
  MapCommand(kFullAlarm, [this] { Toggle(m_filter.alarm, kFullAlarm); });
  MapCommand(kFullManual, [this] { Toggle(m_filter.manual, kFullManual); });
  MapCommand(kFullMotion, [this] { Toggle(m_filter.motion, kFullMotion); });
  MapCommand(kFullSystem, [this] { Toggle(m_filter.system, kFullSystem); });
  MapCommand(kFullDownload, [this] { OnDownload(); });
  MapNotify(kFullList, NM_DBLCLK, [this] { OnDownload(); });
}

BOOL CFullListDlg::OnInitDialog() {
  ost::Dialog::OnInitDialog();
  SetText(m_title);
  m_list.AttachDlgItem(kFullList, GetSafeHwnd());
  m_list.InsertColumn(0, "NO.", 40);
  m_list.InsertColumn(1, "EVENT", 100);
  m_list.InsertColumn(2, "CHANNEL", 120);
  m_list.InsertColumn(3, "TIME", 250);
  m_filter = FilterForListType(m_listType);
  const bool single = m_listType >= kListManual && m_listType <= kListMotion;
  const std::pair<int, bool> boxes[] = {{kFullAlarm, m_filter.alarm},
                                        {kFullManual, m_filter.manual},
                                        {kFullMotion, m_filter.motion},
                                        {kFullSystem, m_filter.system}};
  for (const auto& [id, on] : boxes) {
    ::CheckDlgButton(GetSafeHwnd(), id, on ? BST_CHECKED : BST_UNCHECKED);
    if (single && !on)
      if (HWND w = GetDlgItem(id)) ::EnableWindow(w, FALSE);
  }
  if (HWND timer = GetDlgItem(kFullTimer)) ::ShowWindow(timer, SW_HIDE);
  // The first listing uses the same filter rule as every later one, so that rows and entries
  // stay in step.
  ListAgain();
  return TRUE;
}

void CFullListDlg::ListAgain() {
  m_list.DeleteAllRows();
  m_rowEntry.clear();
  char number[16];
  for (size_t i = 0; i < m_entries.size(); ++i) {
    if (!EntryShown(m_entries[i], m_filter)) continue;
    std::snprintf(number, sizeof number, "%2d", static_cast<int>(m_rowEntry.size() + 1));
    const int row = m_list.AddRow(number);
    const SearchListRow texts = SearchListRowTexts(m_entries[i]);
    m_list.SetCell(row, 1, texts.event);
    m_list.SetCell(row, 2, texts.channel);
    m_list.SetCell(row, 3, texts.time);
    m_rowEntry.push_back(i);
  }
}

void CFullListDlg::Toggle(bool& flag, int id) {
  flag = !flag;
  ListAgain();
  ::CheckDlgButton(GetSafeHwnd(), id, flag ? BST_CHECKED : BST_UNCHECKED);
}

void CFullListDlg::OnDownload() {
  const int row = m_list.SelectedRow();
  if (row < 0 || static_cast<size_t>(row) >= m_rowEntry.size()) {
    OstMessageBoxId(4050);
    return;
  }
  g_BackupPreset = MakeBackupPreset(m_entries[m_rowEntry[static_cast<size_t>(row)]], m_diskIndex);
  if (HWND owner = ::GetWindow(GetSafeHwnd(), GW_OWNER))
    ::PostMessageA(owner, WM_SHEET_SHOWBACKUP, 0, 0);
  EndDialog(0);
}

HBRUSH CFullListDlg::OnCtlColor(HDC dc, HWND control, UINT type) {
  // The program's dark skin behind the dialog and its texts.
  if (type == WM_CTLCOLORDLG || type == WM_CTLCOLORSTATIC || type == WM_CTLCOLORBTN) {
    ::SetTextColor(dc, ost::kEditText);
    ::SetBkColor(dc, RGB(0x1E, 0x22, 0x28));
    return m_backBrush.Get();
  }
  return ost::Dialog::OnCtlColor(dc, control, type);
}

// ---- CEventPage ----

CEventPage::CEventPage() : SettingsPage(kSearchListTemplate, "Search List") {
  MapNotify(kSearchHddCombo, CBN_SELCHANGE, [this] {
    UpdateData(true);
    if (Context().client && m_nHdd >= 0 && static_cast<size_t>(m_nHdd) < m_disks.size())
      Context().client->searchListHdd = static_cast<uint16_t>(m_disks[static_cast<size_t>(m_nHdd)]);
  });
  MapNotify(kSearchTypeCombo, CBN_SELCHANGE, [this] {
    UpdateData(true);
    if (Context().client && m_nType >= 0)
      Context().client->searchListType = static_cast<uint8_t>(m_nType);
  });
  MapNotify(kSearchMaxEdit, EN_CHANGE, [this] {
    if (IsLoading()) return;
    FilterNumberEdit(kSearchMaxEdit, 0, kSearchListMaxEntries);
    const std::string text = GetItemText(kSearchMaxEdit);
    m_nMax = text.empty() ? 0 : std::min(std::atoi(text.c_str()), kSearchListMaxEntries);
    if (Context().client) Context().client->searchListMax = static_cast<uint16_t>(m_nMax);
  });
  MapCommand(kSearchDownloadButton, [this] { OnDownloadHddList(); });
}

void CEventPage::DoDataExchange(ost::DataExchange& dx) {
  dx.ComboIndex(kSearchHddCombo, m_nHdd);
  // The timer list (type 5) comes only from the settings and has no entry in the combo: it
  // stays chosen until the user picks an entry.
  int shownType = m_nType;
  dx.ComboIndex(kSearchTypeCombo, shownType);
  if (dx.IsSaving() && shownType >= 0) m_nType = shownType;
  dx.Number(kSearchMaxEdit, m_nMax, 0, kSearchListMaxEntries);
}

void CEventPage::Load() {
  if (HWND combo = GetDlgItem(kSearchTypeCombo))
    for (const char* text : {"ALL", "MANUAL", "SYSTEM", "ALARM", "MOTION"})
      ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  m_disks = LoadDiskCombo(Context().session, Program().Cookie(), GetDlgItem(kSearchHddCombo),
                          m_hdd);
  const SettingsSheetStart* start = Context().start;
  const SearchListChoices saved =
      start ? SearchListChoicesOf(m_disks, start->wSearchListHdd, start->bySearchListType,
                                  start->wSearchListMax)
            : SearchListChoicesOf(m_disks, -1, kListAll, 0);
  m_nHdd = saved.diskIndex;
  m_nType = saved.listType;
  m_nMax = saved.maximum;
  UpdateData(false);
}

void CEventPage::OnDownloadHddList() {
  UpdateData(true);
  if (m_nHdd < 0 || static_cast<size_t>(m_nHdd) >= m_disks.size()) {
    OstMessageBoxId(4109);
    return;
  }
  m_entries.clear();
  m_wCurExitListNumber = 0;
  Progress(1, 0);
  Progress(2, static_cast<uint32_t>(m_nMax));
  const int disk = m_disks[static_cast<size_t>(m_nHdd)];
  while (static_cast<int>(m_entries.size()) < m_nMax) {
    const std::string query =
        BuildSearchListQuery(Program().Cookie(), m_entries.empty(), disk, m_nType);
    uint8_t reply[kSearchListReplyRoom] = {};
    uint32_t length = 0;
    CgiRequest request;
    request.command = kCgiGetSearchList;
    request.query = query.c_str();
    request.reply = reply;
    request.replyCapacity = sizeof reply;
    request.replyLength = &length;
    if (!Context().session || !VorozSendCommand(request, *Context().session)) {
      Progress(4, 0);
      OstMessageBoxId(4065);
      return;
    }
    const std::vector<SearchListEntry> page = DecodeSearchListReply(reply, length);
    for (const SearchListEntry& e : page) {
      if (static_cast<int>(m_entries.size()) >= m_nMax) break;
      m_entries.push_back(e);
    }
    m_wCurExitListNumber = static_cast<uint16_t>(m_entries.size());
    Progress(3, m_wCurExitListNumber);
    if (page.size() < 10) {
      ::Sleep(500);
      break;
    }
  }
  Progress(4, 0);
  if (m_entries.empty()) {
    OstMessageBoxId(4110);
    return;
  }
  CFullListDlg dialog(Context().sheet ? Context().sheet : GetSafeHwnd(), m_entries,
                      SearchListTitle(m_nType), m_nHdd, m_nType);
  RunModal(dialog);
}
