#include "settings/carried_pages.h"

#include <commctrl.h>

#include <cstdio>

#include "platform/message_box.h"
#include "ui/dark_skin.h"

namespace {

void FillCombo(HWND combo, std::initializer_list<const char*> items) {
  ::SendMessageA(combo, CB_RESETCONTENT, 0, 0);
  for (const char* item : items)
    ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
}
void Select(HWND combo, int index) {
  ::SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}
int Selected(HWND combo) {
  return static_cast<int>(::SendMessageA(combo, CB_GETCURSEL, 0, 0));
}
void Check(HWND button, bool on) {
  ::SendMessageA(button, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

SYSTEMTIME SystemTimeOf(const ScheduleCivil& c) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(c.year);
  st.wMonth = static_cast<WORD>(c.month);
  st.wDay = static_cast<WORD>(c.day);
  st.wHour = static_cast<WORD>(c.hour);
  st.wMinute = static_cast<WORD>(c.minute);
  st.wSecond = static_cast<WORD>(c.second);
  return st;
}

std::string Text(const ScheduleCivil& c) {
  return ScheduleTimeText(c.year, c.month, c.day, c.hour, c.minute, c.second);
}

}  // namespace

// ---- R.E.T.R. --------------------------------------------------------------------------------

CAlarmTriggerPage::CAlarmTriggerPage(int remoteRecord)
    : SettingsPage(291, "R.E.T.R."), m_bRemoteRecord(remoteRecord) {
  MapCommand(1348, [this] {
    m_bRemoteRecord = 1;
    CheckOnly({1348, 1349}, 1348);
  });
  MapCommand(1349, [this] {
    m_bRemoteRecord = 0;
    CheckOnly({1348, 1349}, 1349);
  });
  for (int i = 0; i < 3; ++i)
    MapCommand(1340 + i, [this, i] {
      m_nQuality = i;
      CheckOnly({1340, 1341, 1342}, 1340 + i);
    });
  for (int i = 0; i < 2; ++i)
    MapCommand(1343 + i, [this, i] {
      m_nResolution = i;
      CheckOnly({1346, 1347}, m_bTriggerOn ? 1346 : 1347);
    });
  for (int i = 0; i < 2; ++i)
    MapCommand(1346 + i, [this, i] {
      m_bTriggerOn = i == 0 ? 1 : 0;
      CheckOnly({1343, 1344}, m_nResolution == 0 ? 1343 : m_nResolution == 1 ? 1344 : 0);
    });
}

void CAlarmTriggerPage::CheckOnly(std::initializer_list<int> group, int on) {
  for (int id : group) Check(GetDlgItem(id), id == on);
}

void CAlarmTriggerPage::Load() {
  FillCombo(GetDlgItem(1351), {"DAILY", "OFF", "MON", "TUE", "WED", "THU", "FRI", "SAT", "SUN"});
  FillCombo(GetDlgItem(1195),
            {"AUTO", "3     SEC", "15   SEC", "30   SEC", "1     MIN", "30   MIN"});
  if (m_dwCheckAddress != 0)
    ::SendMessageA(GetDlgItem(1055), IPM_SETADDRESS, 0, static_cast<LPARAM>(m_dwCheckAddress));
  CheckOnly({1348, 1349}, m_bRemoteRecord ? 1348 : 1349);
  SetItemText(1040, std::to_string(m_nLimitHour));
  SetItemText(1041, std::to_string(m_nLimitMinute));
}

uint32_t CAlarmTriggerPage::CheckAddress() const {
  DWORD address = 0;
  ::SendMessageA(GetDlgItem(1055), IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&address));
  return address;
}

LRESULT CAlarmTriggerPage::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND && HIWORD(wp) == EN_CHANGE && (LOWORD(wp) == 1040 || LOWORD(wp) == 1041)) {
    const bool hour = LOWORD(wp) == 1040;
    HWND edit = GetDlgItem(LOWORD(wp));
    const int v =
        hour ? RetrLimitHour(ost::WindowText(edit)) : RetrLimitMinute(ost::WindowText(edit));
    if (v >= 0) {
      (hour ? m_nLimitHour : m_nLimitMinute) = v;
      ost::SetWindowTextIfChanged(edit, std::to_string(v));
    }
    return 0;
  }
  return SettingsPage::WindowProc(msg, wp, lp);
}

// ---- Time setting dialog -----------------------------------------------------------------------

CTimeSettingDlg::CTimeSettingDlg(HWND parent, bool editing, const SchedulePeriod& period)
    : ost::Dialog(kTemplateId, parent), m_editing(editing), m_period(period) {
  SetSkin(&ost::DarkDialogSkin());
}

BOOL CTimeSettingDlg::OnInitDialog() {
  ost::Dialog::OnInitDialog();
  if (!m_editing) {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    const int64_t soon =
        ScheduleSeconds({now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond}) +
        300;
    m_period = {soon, soon};
  }
  // "00" to "23" in the hour lists, "00" to "59" in the minute lists.
  const auto fill = [&](int id, int count) {
    HWND combo = GetDlgItem(id);
    for (int v = 0; v < count; ++v) {
      char text[8];
      std::snprintf(text, sizeof text, "%.2d", v);
      ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
  };
  fill(1195, 24);
  fill(1197, 24);
  fill(1196, 60);
  fill(1198, 60);
  const ScheduleCivil s = ScheduleCivilOf(m_period.start), e = ScheduleCivilOf(m_period.end);
  SYSTEMTIME st = SystemTimeOf(s), et = SystemTimeOf(e);
  ::SendMessageA(GetDlgItem(1360), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
  ::SendMessageA(GetDlgItem(1361), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&et));
  Select(GetDlgItem(1195), s.hour);
  Select(GetDlgItem(1196), s.minute);
  Select(GetDlgItem(1197), e.hour);
  Select(GetDlgItem(1198), e.minute);
  return TRUE;
}

void CTimeSettingDlg::OnOK() {
  SYSTEMTIME s{}, e{};
  ::SendMessageA(GetDlgItem(1360), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&s));
  ::SendMessageA(GetDlgItem(1361), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&e));
  const int sh = Selected(GetDlgItem(1195)), sm = Selected(GetDlgItem(1196));
  const int eh = Selected(GetDlgItem(1197)), em = Selected(GetDlgItem(1198));
  m_period.start =
      ScheduleSeconds({s.wYear, s.wMonth, s.wDay, sh < 0 ? 0 : sh, sm < 0 ? 0 : sm, 0});
  m_period.end = ScheduleSeconds({e.wYear, e.wMonth, e.wDay, eh < 0 ? 0 : eh, em < 0 ? 0 : em, 0});
  EndDialog(IDOK);
}

// ---- Schedule record -------------------------------------------------------------------------

CScheduleRecordPage::CScheduleRecordPage(ScheduleList& list)
    : SettingsPage(298, "Schedule Record"), m_list(list) {
  MapCommand(1068, [this] { OnAdd(); });
  MapCommand(1119, [this] { OnEdit(); });
  MapCommand(1069, [this] { OnDelete(); });
}

void CScheduleRecordPage::Load() {
  HWND list = GetDlgItem(1356);
  ::SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  const std::pair<const char*, int> columns[] = {{"NO.", 50}, {"Start", 130}, {"End", 130}};
  int i = 0;
  for (const auto& [title, width] : columns) {
    LVCOLUMNA c{};
    c.mask = LVCF_TEXT | LVCF_WIDTH;
    c.pszText = const_cast<char*>(title);
    c.cx = width;
    ::SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i++), reinterpret_cast<LPARAM>(&c));
  }
  Relist();
}

void CScheduleRecordPage::Relist() {
  HWND list = GetDlgItem(1356);
  ::SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
  for (int row = 0; row < m_list.Count(); ++row) {
    const std::string texts[] = {std::to_string(row + 1),
                                 Text(ScheduleCivilOf(m_list.At(row).start)),
                                 Text(ScheduleCivilOf(m_list.At(row).end))};
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = const_cast<char*>(texts[0].c_str());
    ::SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    for (int col = 1; col < 3; ++col) {
      LVITEMA sub{};
      sub.iSubItem = col;
      sub.pszText = const_cast<char*>(texts[col].c_str());
      ::SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&sub));
    }
  }
}

int CScheduleRecordPage::SelectedRow() const {
  return static_cast<int>(
      ::SendMessageA(GetDlgItem(1356), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void CScheduleRecordPage::Tell(ScheduleResult result) {
  if (result == ScheduleResult::kNoSelection) {
    OstMessageBoxId(4086, MB_OK | MB_ICONEXCLAMATION);
  } else if (result != ScheduleResult::kDone) {
    OstMessageBox(ScheduleResultText(result), MB_OK | MB_ICONEXCLAMATION, "Schedule Record");
  }
}

void CScheduleRecordPage::OnAdd() {
  CTimeSettingDlg dialog(m_hWnd, false, {});
  if (RunModal(dialog) != IDOK) return;
  const ScheduleResult r = m_list.Add(dialog.Result());
  Tell(r);
  if (r == ScheduleResult::kDone) Relist();
}

void CScheduleRecordPage::OnEdit() {
  const int row = SelectedRow();
  if (row < 0 || row >= m_list.Count()) {
    Tell(ScheduleResult::kNoSelection);
    return;
  }
  CTimeSettingDlg dialog(m_hWnd, true, m_list.At(row));
  if (RunModal(dialog) != IDOK) return;
  const ScheduleResult r = m_list.Edit(row, dialog.Result());
  Tell(r);
  if (r == ScheduleResult::kDone) Relist();
}

void CScheduleRecordPage::OnDelete() {
  const int row = SelectedRow();
  const int count = m_list.Count();
  if (m_list.Delete(row) != ScheduleResult::kDone) {
    Tell(ScheduleResult::kNoSelection);
    return;
  }
  Relist();
  LVITEMA state{};
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  state.state = LVIS_SELECTED | LVIS_FOCUSED;
  ::SendMessageA(GetDlgItem(1356), LVM_SETITEMSTATE,
                 static_cast<WPARAM>(ScheduleList::SelectionAfterDelete(row, count)),
                 reinterpret_cast<LPARAM>(&state));
}

// ---- Video setting -----------------------------------------------------------------------------

CSetVorozCmdPage::CSetVorozCmdPage(int width, int height, uint8_t videoMode,
                                   const std::array<uint8_t, 16>& record)
    : SettingsPage(306, "Video Setting"),
      m_wWidth(width),
      m_wHeight(height),
      m_byVideoMode(videoMode),
      m_record(record) {}

void CSetVorozCmdPage::ShowPairFor(int videoType) {
  if (videoType != 0 && videoType != 1) return;
  const bool jpeg = videoType == 0;
  for (int id : {1197, 1379}) ::ShowWindow(GetDlgItem(id), jpeg ? SW_SHOW : SW_HIDE);
  for (int id : {1198, 1378}) ::ShowWindow(GetDlgItem(id), jpeg ? SW_HIDE : SW_SHOW);
}

void CSetVorozCmdPage::Load() {
  const auto sizes = VideoResolutionTexts(m_byVideoMode);
  FillCombo(GetDlgItem(1195), {sizes[0], sizes[1], sizes[2]});
  FillCombo(GetDlgItem(1196), {"JPEG", "MPEG4"});
  FillCombo(GetDlgItem(1197), {"Low", "Middle", "High"});
  HWND rates = GetDlgItem(1198);
  ::SendMessageA(rates, CB_RESETCONTENT, 0, 0);
  for (const char* text : kVideoBitRateTexts)
    ::SendMessageA(rates, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  const VideoSettingChoices c = VideoSettingChoicesOf(m_wWidth, m_wHeight, m_record);
  if (c.resolution) Select(GetDlgItem(1195), *c.resolution);
  if (c.jpegQuality) Select(GetDlgItem(1197), *c.jpegQuality);
  if (c.bitRate) Select(rates, *c.bitRate);
  if (c.videoType) {
    Select(GetDlgItem(1196), *c.videoType);
    ShowPairFor(*c.videoType);
  }
}

LRESULT CSetVorozCmdPage::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND && LOWORD(wp) == 1196 && HIWORD(wp) == CBN_SELCHANGE)
    ShowPairFor(Selected(GetDlgItem(1196)));
  return SettingsPage::WindowProc(msg, wp, lp);
}

// ---- RZM peripheral ----------------------------------------------------------------------------

CRZMPeripheral::CRZMPeripheral(uint8_t address, uint8_t model)
    : SettingsPage(288, "Peripheral"), m_address(address), m_model(model) {}

void CRZMPeripheral::Load() {
  m_strID = std::to_string(m_address);
  m_strModel = RzmModelText(m_model);
  SetItemText(1040, m_strID);
  SetItemText(1041, m_strModel);
}
