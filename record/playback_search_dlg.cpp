#include "record/playback_search_dlg.h"

#include <commctrl.h>

#include <string>
#include <utility>

#include "net/cgi_command_table.h"
#include "net/device_session.h"
#include "net/voroz_send_command.h"
#include "platform/event_log.h"
#include "platform/message_box.h"
#include "record/dvr_hdd_request.h"
#include "record/playback_search.h"

namespace {
constexpr unsigned kSendFailedText = 4065;

SYSTEMTIME PickerTime(HWND picker) {
  SYSTEMTIME t{};
  ::GetLocalTime(&t);
  if (picker) ::SendMessageA(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&t));
  return t;
}
}  // namespace

CPlaybackSearchDlg::CPlaybackSearchDlg(HWND parent, PlaybackSearchTarget target)
    : ost::Dialog(kTemplateId, parent), m_target(std::move(target)) {
  MapNotify(kTypeCombo, CBN_SELCHANGE, [this] { OnTypeChanged(); });
}

BOOL CPlaybackSearchDlg::OnInitDialog() {
  ost::Dialog::OnInitDialog();
  // The controls first, so that whatever follows leaves a dialog that is safe to close.
  m_type.Attach(GetDlgItem(kTypeCombo));
  m_hdd.Attach(GetDlgItem(kHddCombo));
  m_channel.Attach(GetDlgItem(kChannelCombo));
  m_event.Attach(GetDlgItem(kEventCombo));
  m_date = GetDlgItem(kDatePicker);
  m_time = GetDlgItem(kTimePicker);
  for (const char* text : kPlaybackSearchTypes) m_type.AddString(text);
  for (const char* text : kPlaybackEventTypes) m_event.AddString(text);
  // The request sends the year less 2000 as a number: the date stays within 2000-2255.
  SYSTEMTIME range[2] = {};
  range[0].wYear = 2000;
  range[0].wMonth = range[0].wDay = 1;
  range[1].wYear = 2255;
  range[1].wMonth = 12;
  range[1].wDay = 31;
  range[1].wHour = 23;
  range[1].wMinute = range[1].wSecond = 59;
  if (m_date)
    ::SendMessageA(m_date, DTM_SETRANGE, GDTR_MIN | GDTR_MAX, reinterpret_cast<LPARAM>(range));

  if (!RequestDvrHdd(m_target.session, Cookie(), m_HddMask)) {
    OstMessageBoxId(kSendFailedText, MB_OK | MB_ICONEXCLAMATION);
    EndDialog(IDCANCEL);
    return TRUE;
  }
  m_disks = ListedDisks(m_HddMask);
  for (const std::string& name : PlaybackSearchDiskEntries(m_disks)) m_hdd.AddString(name);
  const int channels = PlaybackSearchChannels(m_target.productId);
  if (channels == 0) {
    EndDialog(kNotCreated);
    return TRUE;
  }
  for (const std::string& text : PlaybackSearchChannelEntries(channels)) m_channel.AddString(text);
  m_type.SetCurSel(0);
  m_hdd.SetCurSel(0);
  m_channel.SetCurSel(0);
  m_event.SetCurSel(0);
  OnTypeChanged();
  EventLogWrite("playback search open: %d disks, %d channels", static_cast<int>(m_disks.size()),
                channels);
  return TRUE;
}

void CPlaybackSearchDlg::OnTypeChanged() {
  const bool event = m_type.GetItemText(m_type.GetCurSel()) != kPlaybackSearchTypes[0];
  if (m_event.GetSafeHwnd()) ::EnableWindow(m_event.GetSafeHwnd(), event);
  if (m_channel.GetSafeHwnd()) ::EnableWindow(m_channel.GetSafeHwnd(), event);
}

void CPlaybackSearchDlg::OnOK() {
  const SYSTEMTIME date = PickerTime(m_date), time = PickerTime(m_time);
  PlaybackSearchSelection s;
  s.searchType = m_type.GetItemText(m_type.GetCurSel());
  s.eventType = m_event.GetItemText(m_event.GetCurSel());
  s.disk = m_hdd.GetItemText(m_hdd.GetCurSel());
  s.channelIndex = m_channel.GetCurSel() < 0 ? 0 : m_channel.GetCurSel();
  s.year = date.wYear;
  s.month = date.wMonth;
  s.day = date.wDay;
  s.hour = time.wHour;
  s.minute = time.wMinute;
  s.second = time.wSecond;
  const PlaybackSearch search = PlaybackSearchOf(s);
  const std::string query = BuildPlaybackSearchQuery(Cookie(), search);
  uint8_t reply[1024];
  uint32_t length = 0;
  CgiRequest request;
  request.command = kCgiSearchPlayBack;
  request.query = query.c_str();
  request.reply = reply;
  request.replyCapacity = sizeof reply;
  request.replyLength = &length;
  const bool sent = m_target.session && VorozSendCommand(request, *m_target.session);
  EventLogWrite("playback search %s: %s", sent ? "sent" : "failed", query.c_str());
  // A time search keeps the dialog open for the next one; so does any failure.
  if (sent && search.event) EndDialog(IDOK);
}

bool RunPlaybackSearchDialog(HWND parent, PlaybackSearchTarget target) {
  CPlaybackSearchDlg dialog(parent, std::move(target));
  return dialog.DoModal() != CPlaybackSearchDlg::kNotCreated;
}
