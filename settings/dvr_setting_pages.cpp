#include "settings/dvr_setting_pages.h"

#include <commctrl.h>

#include <cstring>
#include <memory>
#include <vector>

#include "net/cgi_command_table.h"
#include "net/device_session.h"
#include "net/voroz_send_command.h"
#include "platform/controls.h"
#include "settings/dvr_channel_rows.h"

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

void SetPickerTime(HWND picker, const char* format, int year, int month, int day, int hour,
                   int minute, int second) {
  ost::SetPickerFormat(picker, format);
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(year);
  st.wMonth = static_cast<WORD>(month);
  st.wDay = static_cast<WORD>(day);
  st.wHour = static_cast<WORD>(hour);
  st.wMinute = static_cast<WORD>(minute);
  st.wSecond = static_cast<WORD>(second);
  ::SendMessageA(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
}
SYSTEMTIME PickerTime(HWND picker) {
  SYSTEMTIME st{};
  ::SendMessageA(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st));
  return st;
}

// A query-key command whose text reply is read into at most 1023 bytes; nullopt-like empty
// result with ok false when the device did not answer with 200 or the reply did not fit.
struct TextReply {
  bool ok = false;
  std::string text;
};
TextReply SendForText(DeviceSession* session, const std::string& cookie, uint8_t command) {
  TextReply r;
  if (!session) return r;
  CGIParamList query(command);
  if (!cookie.empty()) query.AddParam("Cookie", cookie);
  CgiRequest request = CgiRequest::Of(query);
  std::vector<char> reply(1024, '\0');
  uint32_t length = 0;
  request.reply = reply.data();
  request.replyCapacity = 1023;
  request.replyLength = &length;
  if (VorozSendCommand(request, *session) != 1) return r;
  r.ok = true;
  r.text.assign(reply.data(), length);
  return r;
}

bool SendQuery(DeviceSession* session, const std::string& query, uint8_t command) {
  if (!session) return false;
  CgiRequest request;
  request.command = command;
  request.query = query.c_str();
  return VorozSendCommand(request, *session) == 1;
}

}  // namespace

// ---- Date ------------------------------------------------------------------------------------

DVRDatePage::DVRDatePage() : SettingsPage(343, "Date") {
  MapCommand(1482, [this] {
    m_byDaylightSaving = 1;
    Check(GetDlgItem(1482), true);
    Check(GetDlgItem(1483), false);
  });
  MapCommand(1483, [this] {
    m_byDaylightSaving = 0;
    Check(GetDlgItem(1482), false);
    Check(GetDlgItem(1483), true);
  });
}

LRESULT DVRDatePage::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND && LOWORD(wp) == 1195 && HIWORD(wp) == CBN_SELCHANGE) OnFormatChanged();
  return SettingsPage::WindowProc(msg, wp, lp);
}

void DVRDatePage::OnFormatChanged() {
  ost::SetPickerFormat(GetDlgItem(1480), DvrDatePickerFormat(Selected(GetDlgItem(1195))));
}

void DVRDatePage::Load() {
  static const int kControls[] = {1480, 1481, 1195, 1482, 1483, 1497, 1499,
                                  1500, 1502, 1503, 1504, 1505, 1506, 1507};
  FillCombo(GetDlgItem(1195), {"Y-M-D", "M-D-Y", "D-M-Y"});
  for (int id : {1497, 1500}) FillCombo(GetDlgItem(id), {"1ST", "2ND", "3RD", "4TH", "LAST"});
  FillCombo(GetDlgItem(1504), {"SUN", "MON", "TUE", "WED", "THU", "FRI", "SAT"});
  FillCombo(GetDlgItem(1506), {"SUN", "MON", "TUE", "WEK", "THU", "FRI", "SAT"});
  for (int id : {1505, 1507})
    FillCombo(GetDlgItem(id),
              {"JAN", "FEB", "MAR", "APR", "MAY", "JUE", "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"});
  if (DvrQueryPagesEnabled(Device().productId, Device().fwVersion)) {
    const TextReply reply = SendForText(Context().session, Program().Cookie(), kCgiGetDvrDate);
    if (reply.ok) {
      ParseDvrDateReply(reply.text, m_DvrDate);
      m_bFetched = true;
    }
  }
  if (!m_bFetched) {
    for (int id : kControls) ::EnableWindow(GetDlgItem(id), FALSE);
    return;
  }
  const DvrDateInfo& d = m_DvrDate;
  m_byDaylightSaving = d.DaylightSaving;
  Select(GetDlgItem(1195), d.Format);
  SetPickerTime(GetDlgItem(1480), DvrDatePickerFormat(d.Format), d.Year, d.Month, d.Day, d.Hour,
                d.Minute, d.Second);
  SetPickerTime(GetDlgItem(1481), "HH : mm : ss", d.Year, d.Month, d.Day, d.Hour, d.Minute,
                d.Second);
  Check(GetDlgItem(1482), m_byDaylightSaving != 0);
  Check(GetDlgItem(1483), m_byDaylightSaving == 0);
  // The rule's times on a fixed valid date: only hour and minute count.
  SetPickerTime(GetDlgItem(1499), "HH : mm", 2006, 1, 1, d.StartHour % 24, d.StartMinute % 60, 0);
  SetPickerTime(GetDlgItem(1502), "HH : mm", 2006, 1, 1, d.EndHour % 24, d.EndMinute % 60, 0);
  SetPickerTime(GetDlgItem(1503), "HH : mm", 2006, 1, 1, d.AdjustHour % 24, d.AdjustMinute % 60, 0);
  Select(GetDlgItem(1497), d.StartWeekIndex);
  Select(GetDlgItem(1500), d.EndWeekIndex);
  Select(GetDlgItem(1506), d.EndDayOfWeek);
  Select(GetDlgItem(1507), d.EndMonth);
  Select(GetDlgItem(1504), d.StartDayOfWeek);
  Select(GetDlgItem(1505), d.StartMonth);
}

DvrDatePageValues DVRDatePage::PageValues() const {
  DvrDatePageValues p;
  const SYSTEMTIME date = PickerTime(GetDlgItem(1480)), time = PickerTime(GetDlgItem(1481));
  p.year = date.wYear;
  p.month = date.wMonth;
  p.day = date.wDay;
  p.dayOfWeek = date.wDayOfWeek;
  p.hour = time.wHour;
  p.minute = time.wMinute;
  p.second = time.wSecond;
  p.format = Selected(GetDlgItem(1195));
  p.daylightSaving = m_byDaylightSaving;
  p.startWeekIndex = Selected(GetDlgItem(1497));
  p.startDayOfWeek = Selected(GetDlgItem(1504));
  p.startMonth = Selected(GetDlgItem(1505));
  p.endWeekIndex = Selected(GetDlgItem(1500));
  p.endDayOfWeek = Selected(GetDlgItem(1506));
  p.endMonth = Selected(GetDlgItem(1507));
  const SYSTEMTIME s = PickerTime(GetDlgItem(1499)), e = PickerTime(GetDlgItem(1502)),
                   a = PickerTime(GetDlgItem(1503));
  p.startHour = s.wHour;
  p.startMinute = s.wMinute;
  p.endHour = e.wHour;
  p.endMinute = e.wMinute;
  p.adjustHour = a.wHour;
  p.adjustMinute = a.wMinute;
  return p;
}

bool DVRDatePage::Store(PageChanges& changes) {
  if (!m_bFetched) return false;
  const DvrDatePageValues page = PageValues();
  const DvrDateChanges c = ApplyDvrDatePage(m_DvrDate, page);
  if (!c.Any()) return false;
  CGIParamList query(kCgiSetDvrDate);
  BuildSetDvrDateQuery(query, Program().Cookie(), m_DvrDate, page, c);
  DeviceSession* session = Context().session;
  const std::string text = query.m_strQuery;
  changes.sends.push_back(
      {kSysCfgAll, [session, text] { return SendQuery(session, text, kCgiSetDvrDate); }});
  return true;
}

// ---- Record setting ----------------------------------------------------------------------------

DVRRecordPage::DVRRecordPage() : SettingsPage(347, "Record Setting") {
  const std::pair<int, int> pairs[] = {{1483, 1484}, {1485, 1486}, {1487, 1488}, {1489, 1490}};
  for (const auto& [yes, no] : pairs) {
    MapCommand(yes, [this, yes = yes, no = no] { SetYesNo(yes, no, 1); });
    MapCommand(no, [this, yes = yes, no = no] { SetYesNo(yes, no, 0); });
  }
  MapCommand(1496, [this] {
    m_byRecordFix = 1;
    Check(GetDlgItem(1496), true);
    Check(GetDlgItem(1497), false);
  });
  MapCommand(1497, [this] {
    m_byRecordFix = 0;
    Check(GetDlgItem(1496), false);
    Check(GetDlgItem(1497), true);
  });
  MapCommand(1491, [this] { OnImageSize(0); });
  MapCommand(1492, [this] { OnImageSize(1); });
  MapCommand(1493, [this] { OnImageSize(2); });
}

LRESULT DVRRecordPage::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND && LOWORD(wp) == 1494 && HIWORD(wp) == CBN_SELCHANGE) {
    const int code = DvrQualityCode(Selected(GetDlgItem(1494)));
    if (code >= 0) m_byQuality = static_cast<uint8_t>(code);
  }
  return SettingsPage::WindowProc(msg, wp, lp);
}

void DVRRecordPage::SetYesNo(int yes, int no, uint8_t value) {
  Check(GetDlgItem(yes), value != 0);
  Check(GetDlgItem(no), value == 0);
}

void DVRRecordPage::FillRates() {
  // The recorder's channel count: 16, 8 or 4 by its Product-ID.
  const int channels = DvrChannelRowCount(Device().productId);
  const auto row = DvrIpsRow(channels, m_RecordSetting.VideoType, m_byRecMode);
  for (int id : {1195, 1197, 1198}) {
    HWND combo = GetDlgItem(id);
    ::SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    for (uint16_t v : row)
      ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::to_string(v).c_str()));
  }
}

void DVRRecordPage::OnImageSize(uint8_t size) {
  if (m_byRecMode != size) {
    m_byRecMode = size;
    FillRates();
    for (int id : {1195, 1197, 1198}) Select(GetDlgItem(id), 0);
  }
  const bool cif = size == 2;
  if (cif) m_byRecordFix = 1;
  ::EnableWindow(GetDlgItem(1496), !cif);
  ::EnableWindow(GetDlgItem(1497), !cif);
  if (cif) {
    Check(GetDlgItem(1496), true);
    Check(GetDlgItem(1497), false);
  }
  for (int i = 0; i < 3; ++i) Check(GetDlgItem(1491 + i), i == size);
}

void DVRRecordPage::Load() {
  static const int kControls[] = {1483, 1484, 1485, 1486, 1487, 1488, 1489, 1490, 1197,
                                  1195, 1198, 1491, 1492, 1493, 1494, 1496, 1497};
  FillCombo(GetDlgItem(1494), {"BEST", "HIGH", "NORMAL", "BASIC"});
  if (DvrQueryPagesEnabled(Device().productId, Device().fwVersion)) {
    const TextReply reply =
        SendForText(Context().session, Program().Cookie(), kCgiGetRecordSetting);
    if (reply.ok) {
      ParseDvrRecordReply(reply.text, m_RecordSetting);
      m_bFetched = true;
    }
  }
  if (!m_bFetched) {
    for (int id : kControls) ::EnableWindow(GetDlgItem(id), FALSE);
    return;
  }
  const DvrRecordInfo& r = m_RecordSetting;
  SetYesNo(1483, 1484, r.Manual);
  SetYesNo(1485, 1486, r.Event);
  SetYesNo(1487, 1488, r.Timer);
  m_byRecMode = r.RecMode;
  FillRates();
  Select(GetDlgItem(1198), r.MotionRateType);
  Select(GetDlgItem(1195), r.ManualRateType);
  Select(GetDlgItem(1197), r.TimerRateType);
  for (int i = 0; i < 3; ++i) ::EnableWindow(GetDlgItem(1491 + i), (r.SupportMode >> i) & 1);
  SetYesNo(1489, 1490, r.Overwrite);
  for (int i = 0; i < 3; ++i) Check(GetDlgItem(1491 + i), i == r.RecMode);
  if (r.SupportIpsShare != 3) {
    ::EnableWindow(GetDlgItem(1496), FALSE);
    ::EnableWindow(GetDlgItem(1497), FALSE);
  }
  m_byQuality = r.Quality;
  Select(GetDlgItem(1494), DvrQualityIndex(r.Quality));
  m_byRecordFix = r.RecordFix;
  Check(GetDlgItem(1496), r.RecordFix != 0);
  Check(GetDlgItem(1497), r.RecordFix == 0);
}

DvrRecordPageValues DVRRecordPage::PageValues() const {
  const auto checked = [&](int id) -> uint8_t {
    return ::SendMessageA(GetDlgItem(id), BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
  };
  DvrRecordPageValues p;
  p.manual = checked(1483);
  p.event = checked(1485);
  p.timer = checked(1487);
  p.overwrite = checked(1489);
  p.quality = m_byQuality;
  p.recMode = m_byRecMode;
  p.eventRate = Selected(GetDlgItem(1198));
  p.manualRate = Selected(GetDlgItem(1195));
  p.timerRate = Selected(GetDlgItem(1197));
  p.recordFix = m_byRecordFix;
  return p;
}

bool DVRRecordPage::Store(PageChanges& changes) {
  if (!m_bFetched) return false;
  CGIParamList query(kCgiSetRecordSetting);
  BuildSetRecordSettingQuery(query, Program().Cookie(), m_RecordSetting, PageValues());
  DeviceSession* session = Context().session;
  const std::string text = query.m_strQuery;
  changes.sends.push_back(
      {kSysCfgAll, [session, text] { return SendQuery(session, text, kCgiSetRecordSetting); }});
  return true;
}

// ---- Timer record ------------------------------------------------------------------------------

TimerRecordPage::TimerRecordPage() : SettingsPage(344, "Timer Record") {}

void TimerRecordPage::Load() {
  m_bEnabled = DvrQueryPagesEnabled(Device().productId, Device().fwVersion);
  m_loaded = ReadTimerRanges(Block(kSysCfgDvrRec));
  for (int r = 0; r < kTimerRanges; ++r) {
    HWND combo = GetDlgItem(1195 + r);
    HWND start = GetDlgItem(1479 + 2 * r), end = GetDlgItem(1480 + 2 * r);
    ::SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    for (const char* text : kTimerDayTexts)
      ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    if (!m_bEnabled) {
      for (HWND h : {combo, start, end}) ::EnableWindow(h, FALSE);
      continue;
    }
    const TimerRange& t = m_loaded[static_cast<size_t>(r)];
    Select(combo, t.byDay < kTimerDayCodes ? t.byDay : -1);
    const TimerTime s = TimerPickerTime(t.wStart), e = TimerPickerTime(t.wEnd);
    SetPickerTime(start, "HH : mm", 2006, 1, 1, s.hour, s.minute, 0);
    SetPickerTime(end, "HH : mm", 2006, 1, 1, e.hour, e.minute, 0);
  }
}

bool TimerRecordPage::Store(PageChanges& changes) {
  if (!m_bEnabled) return false;
  TimerRanges ranges{};
  for (int r = 0; r < kTimerRanges; ++r) {
    const SYSTEMTIME s = PickerTime(GetDlgItem(1479 + 2 * r)),
                     e = PickerTime(GetDlgItem(1480 + 2 * r));
    const TimerRowValues row{
        Selected(GetDlgItem(1195 + r)), {s.wHour, s.wMinute}, {e.wHour, e.wMinute}};
    ranges[static_cast<size_t>(r)] = TimerRangeOf(m_loaded[static_cast<size_t>(r)], row);
  }
  const std::span<const uint8_t> snapshot = Snapshot(kSysCfgDvrRec);
  const TimerRanges opened = snapshot.empty() ? m_loaded : ReadTimerRanges(snapshot);
  if (ranges == opened) return false;
  WriteTimerRanges(Block(kSysCfgDvrRec), ranges);
  changes.sends.push_back({kSysCfgDvrRec, {}});
  return true;
}
