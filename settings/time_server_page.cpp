#include "settings/time_server_page.h"

#include <commctrl.h>

#include "net/cgi_command_table.h"
#include "net/voroz_send_command.h"
#include "pagerules/time_zone_table.h"
#include "platform/message_box.h"
#include "settings/page_controls.h"
#include "settings/settings_ids.h"
#include "settings/settings_messages.h"

namespace {

constexpr unsigned kTimeServerTemplate = 309;
constexpr unsigned kMsgServerName = 4302, kMsgChooseZone = 4303;

}  // namespace

CSNTPPage::CSNTPPage() : SettingsPage(kTimeServerTemplate, "Server Time Config") {
  MapCommand(kFromServer, [this] { SetMode(1); });
  MapCommand(kByUser, [this] { SetMode(0); });
  MapCommand(kTypedServer, [this] { SetAutoServer(0); });
  MapCommand(kAutomatic, [this] { SetAutoServer(1); });
  MapCommand(kSyncTime, &CSNTPPage::OnSyncTime);
}

CSNTPPage::~CSNTPPage() = default;  // the run-time controls are children of the page

void CSNTPPage::DoDataExchange(ost::DataExchange& dx) {
  dx.Text(kServer, m_strSNTPServer, kSntpServerChars);
  dx.ComboIndex(kZone, m_nTimeZone);
}

TimeServerValues CSNTPPage::Values() const {
  return {m_bySyncMode, m_byAutoServer, m_strSNTPServer, m_nTimeZone};
}

void CSNTPPage::SetMode(uint8_t mode) {
  m_bySyncMode = mode;
  page_controls::Check(m_hWnd, kFromServer, mode == 1);
  page_controls::Check(m_hWnd, kByUser, mode != 1);
  for (HWND w : {m_pDatePicker, m_pTimePicker, m_pDateLabel, m_pTimeLabel})
    if (w) ::ShowWindow(w, mode == 1 ? SW_HIDE : SW_SHOW);
  page_controls::Show(m_hWnd, {kGmtLabel, kServerLabel, kAutomatic, kTypedServer, kServer, kZone},
                      mode == 1);
}

void CSNTPPage::SetAutoServer(uint8_t automatic) {
  m_byAutoServer = automatic;
  page_controls::Check(m_hWnd, kAutomatic, automatic != 0);
  page_controls::Check(m_hWnd, kTypedServer, automatic == 0);
  page_controls::Enable(m_hWnd, {kServer}, automatic == 0);
}

void CSNTPPage::Load() {
  for (const TimeZoneRow& row : TimeZoneTable)
    page_controls::AddComboText(m_hWnd, kZone, page_controls::LoadText(row.stringId));
  m_snapshot = LoadTimeServer(Snapshot(kSysCfgSntp));
  const TimeServerValues now = LoadTimeServer(Block(kSysCfgSntp));
  m_strSNTPServer = now.server;
  m_nTimeZone = now.zone;

  const float s = Context().scale > 0 ? Context().scale : 1.0f;
  const int x = static_cast<int>(100 * s), y = static_cast<int>(100 * s),
            lx = static_cast<int>(40 * s);
  const HINSTANCE instance = ::GetModuleHandleA(nullptr);
  auto make = [&](const char* cls, const char* text, DWORD style, int left, int top, int right,
                  int bottom, int id) {
    HWND w = ::CreateWindowExA(
        0, cls, text, WS_CHILD | WS_VISIBLE | style, left, top, right - left, bottom - top, m_hWnd,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    if (w) ::SendMessageA(w, WM_SETFONT, reinterpret_cast<WPARAM>(GetFont()), TRUE);
    return w;
  };
  m_pDatePicker = make(DATETIMEPICK_CLASSA, "", WS_TABSTOP, x, y, x + 120, y + 20, kDatePicker);
  m_pDateLabel = make("STATIC", "Date", 0, lx, y, lx + 50, y + 20, kDateLabel);
  m_pTimePicker = make(DATETIMEPICK_CLASSA, "", WS_TABSTOP | DTS_TIMEFORMAT, x, y + 40, x + 120,
                       y + 60, kTimePicker);
  m_pTimeLabel = make("STATIC", "Time", 0, lx, y + 40, lx + 50, y + 60, kTimeLabel);
  if (m_pDatePicker)
    ::SendMessageA(m_pDatePicker, DTM_SETFORMATA, 0, reinterpret_cast<LPARAM>("yyyy / MM / dd"));
  if (m_pTimePicker)
    ::SendMessageA(m_pTimePicker, DTM_SETFORMATA, 0, reinterpret_cast<LPARAM>("HH : mm : ss"));

  SetMode(now.mode == 1 ? 1 : 0);
  m_bySyncMode = now.mode;
  SetAutoServer(now.autoServer);
  UpdateData(false);
}

void CSNTPPage::OnSyncTime() {
  // A refused exchange stops here: nothing over-long reaches the request or the block.
  if (!UpdateData(true)) return;
  if (m_bySyncMode == 1 && m_byAutoServer) m_strSNTPServer.clear();
  SyncTimeClock clock;
  SYSTEMTIME date{}, time{};
  if (m_pDatePicker)
    ::SendMessageA(m_pDatePicker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&date));
  if (m_pTimePicker)
    ::SendMessageA(m_pTimePicker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time));
  clock = {date.wYear, date.wMonth, date.wDay, time.wHour, time.wMinute, time.wSecond};
  CGIParamList request(kCgiSyncTime);
  switch (BuildSyncTimeRequest(request, Program().Cookie(), Values(), clock)) {
    case SyncTimeBuild::kOk:
      break;
    case SyncTimeBuild::kNoZone:
      OstMessageBoxId(kMsgChooseZone);
      return;
    default:
      OstMessageBoxId(kMsgServerName);
      return;
  }
  UpdateData(false);
  // The sheet writes the SNTP block after this request.
  ::PostMessageA(Context().sheet, WM_SHEET_APPLYSNTPNOW, 0, 0);
  CgiRequest r = CgiRequest::Of(request);
  if (!Context().session || VorozSendCommand(r, *Context().session) != 1)
    OstMessageBoxId(kMsgSendCommandTimeout);
}

bool CSNTPPage::StoreNow(PageChanges& changes) {
  const TimeServerValues now = Values();
  m_snapshot = now;  // a later APPLY does not send these again
  if (!StoreTimeServerNow(now, Block(kSysCfgSntp))) return false;
  changes.sends.push_back({kSysCfgSntp, {}});
  return true;
}

bool CSNTPPage::Store(PageChanges& changes) {
  if (!SaveControls()) return false;
  if (StoreTimeServer(Values(), m_snapshot, Block(kSysCfgSntp)))
    changes.sends.push_back({kSysCfgSntp, {}});
  return true;
}
