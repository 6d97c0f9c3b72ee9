#include "settings/alarm_list_page.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>

#include "platform/message_box.h"
#include "platform/process_launch.h"
#include "record/record_app.h"
#include "settings/page_controls.h"

namespace {

constexpr unsigned kAlarmListTemplate = 301;
constexpr unsigned kMsgNothingToDelete = 4045, kMsgSelectToDelete = 4086, kMsgPlayerFailed = 4108,
                   kMsgReadFailed = 4304;
constexpr char kNotFound[] = " (File not found)";
constexpr size_t kCommandLineMax = 255;

bool FileOpens(const std::string& path) {
  HANDLE h = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  ::CloseHandle(h);
  return true;
}

std::string ItemPath(const ALARM_DB_ITEM& item) {
  return std::string(item.szPath, strnlen(item.szPath, sizeof item.szPath));
}

}  // namespace

AlarmDataPage::AlarmDataPage() : SettingsPage(kAlarmListTemplate, "Alarm List") {
  MapCommand(kRefresh, [this] { LoadList(); });
  MapCommand(kDelete, &AlarmDataPage::OnDelete);
  MapCommand(kClearAll, &AlarmDataPage::OnClearAll);
  MapCommand(kPlay, &AlarmDataPage::OnPlay);
  MapNotify(kList, NM_CLICK, &AlarmDataPage::OnClick);
  MapNotify(kList, NM_DBLCLK, &AlarmDataPage::OnDoubleClick);
}

void AlarmDataPage::DoDataExchange(ost::DataExchange& dx) {
  dx.Text(kPath, m_strAlarmFilePath);
}

std::string AlarmDataPage::ListFile() const {
  std::string folder = Program().ExeDir();
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  return folder + kAlarmDbFileName;
}

void AlarmDataPage::Load() {
  m_AlarmList.AttachDlgItem(kList, m_hWnd);
  m_AlarmList.InsertColumn(0, "NO.", 40);
  m_AlarmList.InsertColumn(1, "IP Address", 90);
  m_AlarmList.InsertColumn(2, "Time", 130);
  m_AlarmList.InsertColumn(3, "Frame", 100);
  LoadList();
}

int AlarmDataPage::LoadList() {
  m_AlarmList.DeleteAllRows();
  m_items.clear();
  m_strAlarmFilePath.clear();
  const std::string path = ListFile();
  g_SystemConfig.m_strAlarmDBPath = path;
  HANDLE h = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    if (::GetLastError() == ERROR_FILE_NOT_FOUND) {
      // No list yet: an empty one.
      h = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
      if (h != INVALID_HANDLE_VALUE) {
        const uint8_t empty[4] = {0x87, 0x99, 0, 0};
        DWORD written = 0;
        ::WriteFile(h, empty, sizeof empty, &written, nullptr);
        ::CloseHandle(h);
      }
      UpdateData(false);
      return 1;
    }
    OstMessageBoxId(kMsgReadFailed);
    UpdateData(false);
    return 0;
  }
  std::vector<uint8_t> bytes;
  uint8_t chunk[4096];
  DWORD got = 0;
  bool readOk = true;
  while ((readOk = ::ReadFile(h, chunk, sizeof chunk, &got, nullptr) != 0) && got > 0)
    bytes.insert(bytes.end(), chunk, chunk + got);
  ::CloseHandle(h);
  if (!readOk || bytes.size() < sizeof(ALARM_DB_HEADER)) {
    // A read error keeps the file: the list is not lost for a passing fault.
    OstMessageBoxId(kMsgReadFailed);
    UpdateData(false);
    return 0;
  }
  AlarmListContent list = ParseAlarmList(bytes.data(), bytes.size());
  if (!list.fMagicOk) {
    ::DeleteFileA(path.c_str());
    UpdateData(false);
    return 0;
  }
  for (ALARM_DB_ITEM& item : list.items) {
    if (item.byFlags & kAlarmItemDeleted) continue;
    item.byFlags = FileOpens(ItemPath(item)) ? 0 : kAlarmItemNoFile;
    const int row = m_AlarmList.AddRow(std::to_string(m_items.size() + 1));
    m_AlarmList.SetCell(
        row, 1, std::string(item.strSourceIP, strnlen(item.strSourceIP, sizeof item.strSourceIP)));
    char text[64];
    std::snprintf(text, sizeof text, "%.4d.%.2d.%.2d %.2d:%.2d:%.2d", item.stTime.wYear,
                  item.stTime.wMonth, item.stTime.wDay, item.stTime.wHour, item.stTime.wMinute,
                  item.stTime.wSecond);
    m_AlarmList.SetCell(row, 2, text);
    m_AlarmList.SetCell(row, 3, std::to_string(item.dwFrames));
    m_items.push_back(item);
  }
  if (!m_items.empty()) {
    m_AlarmList.SelectRow(0);
    ShowPath(0);
  }
  UpdateData(false);
  return 1;
}

void AlarmDataPage::ShowPath(int row) {
  if (row < 0 || static_cast<size_t>(row) >= m_items.size()) {
    m_strAlarmFilePath.clear();
    return;
  }
  const ALARM_DB_ITEM& item = m_items[static_cast<size_t>(row)];
  m_strAlarmFilePath = ItemPath(item);
  if (item.byFlags & kAlarmItemNoFile) m_strAlarmFilePath += kNotFound;
}

void AlarmDataPage::OnClick() {
  if (m_items.empty()) return;
  ShowPath(m_AlarmList.SelectedRow());
  UpdateData(false);
}

void AlarmDataPage::OnDoubleClick() {
  const int row = m_AlarmList.SelectedRow();
  if (row < 0 || static_cast<size_t>(row) >= m_items.size()) return;
  const std::string path = ItemPath(m_items[static_cast<size_t>(row)]);
  if (!FileOpens(path)) return;
  m_strAlarmFilePath = path;
  UpdateData(false);
  PlayFile(path);
}

void AlarmDataPage::OnPlay() {
  if (m_items.empty()) return;
  const std::string path = GetItemText(kPath);
  if (!FileOpens(path)) return;
  PlayFile(path);
}

void AlarmDataPage::PlayFile(const std::string& path) {
  const std::string folder = Program().ExeDir();
  // A path the command line cannot hold whole is not played with a cut path.
  if (path.size() > kCommandLineMax ||
      !ost::LaunchProcess(
          folder + "Quendor.exe", path,
          CREATE_DEFAULT_ERROR_MODE | CREATE_NEW_PROCESS_GROUP | NORMAL_PRIORITY_CLASS))
    OstMessageBoxId(kMsgPlayerFailed);
}

void AlarmDataPage::RewriteWithout(const std::vector<std::string>& paths) {
  g_SystemConfig.m_strAlarmDBPath = ListFile();
  g_SystemConfig.AlarmDB_LoadItems();
  for (ALARM_DB_ITEM& item : g_SystemConfig.m_lpAlarmDBItem_Struct)
    for (const std::string& p : paths)
      if (ItemPath(item) == p) item.byFlags = kAlarmItemDeleted;
  g_SystemConfig.m_bRewritePending = 1;
  g_SystemConfig.AlarmDB_Rewrite();
}

void AlarmDataPage::OnDelete() {
  if (m_items.empty()) {
    OstMessageBoxId(kMsgNothingToDelete);
    return;
  }
  const int row = m_AlarmList.SelectedRow();
  if (row < 0 || static_cast<size_t>(row) >= m_items.size()) {
    OstMessageBoxId(kMsgSelectToDelete);
    return;
  }
  const size_t remaining = m_items.size() - 1;
  RewriteWithout({ItemPath(m_items[static_cast<size_t>(row)])});
  // The list comes again from the rewritten file; the row at the deleted place is selected.
  LoadList();
  const int select = remaining == 0 || static_cast<size_t>(row) >= remaining - 1 ? 0 : row;
  if (!m_items.empty()) {
    m_AlarmList.SelectRow(select);
    ShowPath(select);
  } else {
    m_strAlarmFilePath.clear();
  }
  UpdateData(false);
}

void AlarmDataPage::OnClearAll() {
  if (m_items.empty()) return;
  std::vector<std::string> paths;
  for (const ALARM_DB_ITEM& item : m_items) paths.push_back(ItemPath(item));
  RewriteWithout(paths);
  LoadList();
  m_strAlarmFilePath.clear();
  UpdateData(false);
}
