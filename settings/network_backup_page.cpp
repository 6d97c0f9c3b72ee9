#include "net/blocking_socket.h"  // winsock2.h ahead of windows.h
#include "settings/network_backup_page.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>

#include "app/progress_channel.h"
#include "disc/cd_writer.h"
#include "disc/write_cd_setup.h"
#include "net/cgi_command_table.h"
#include "net/cgi_param_list.h"
#include "net/device_session.h"
#include "net/local_ip.h"
#include "net/request_cancel.h"
#include "net/voroz_send_command.h"
#include "platform/message_box.h"
#include "platform/strings.h"
#include "record/backup_download.h"
#include "record/dvr_hdd_request.h"
#include "session/kernel_mailbox.h"
#include "settings/backup_player_link.h"
#include "settings/network_backup_ids.h"
#include "tools/dlg_get_path.h"

BackupPreset g_BackupPreset{};

namespace {

// The one disc writer: set up on the page before a download, used by the download thread after it.
CCDWriter& TheDiscWriter() {
  static CCDWriter writer;
  return writer;
}

bool PathTaken(const std::string& path) {
  return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES ||
         ::GetLastError() != ERROR_FILE_NOT_FOUND;
}

std::string LoadText(UINT id) {
  char text[256] = {};
  ::LoadStringA(::GetModuleHandleA(nullptr), id, text, sizeof text);
  return text;
}

// The thread's socket, file and messages.
class ThreadIo : public BackupDownloadIo {
 public:
  ThreadIo(const BackupJob& job, HWND dialog, const std::atomic<bool>& stop,
           const RequestCancel& cancel)
      : m_job(job), m_dialog(dialog), m_stop(stop) {
    m_socket.SetCancel(&cancel);
  }
  ~ThreadIo() override { CloseConnection(); }

  bool SendRequest() override {
    std::string text;
    if (!BuildNetworkBackupRequest(m_job.request, m_job.host, text)) return false;
    try {
      m_socket.Create();
      const CSockAddr address = CBlockingSocket::GetHostByName(m_job.server.c_str(), m_job.port);
      m_socket.Connect(address);
      return m_socket.WriteAll(text.data(), static_cast<int>(text.size()), 10) ==
             static_cast<int>(text.size());
    } catch (const CBlockingSocketException&) {
      return false;
    }
  }
  // Served from what one receive brought (up to 64 KB), each receive with the 10 s time-out.
  bool ReceiveExactly(uint8_t* buf, size_t n) override {
    while (n > 0) {
      if (m_inAt == m_inEnd) {
        const int r = m_socket.Receive(m_in.data(), static_cast<int>(m_in.size()), 10);
        if (r <= 0) return false;
        m_inAt = 0;
        m_inEnd = static_cast<size_t>(r);
      }
      const size_t take = std::min(n, m_inEnd - m_inAt);
      std::memcpy(buf, m_in.data() + m_inAt, take);
      m_inAt += take;
      buf += take;
      n -= take;
    }
    return true;
  }
  // Every ending closes the connection first: the file is closed with it, before any state is
  // shown or the disc written.
  void CloseConnection() override {
    m_socket.Cleanup();
    CloseFile();
  }
  bool CreateFile() override {
    const MutexHold hold(m_mutex);
    HANDLE f = ::CreateFileA(m_job.filePath.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    // A following player opens the file between the appends, so each opens it anew under the
    // backup mutex; without a player it stays open until the download ends.
    if (m_mutex)
      ::CloseHandle(f);
    else
      m_file = f;
    return true;
  }
  bool Append(const uint8_t* data, size_t n) override {
    if (m_file) {
      DWORD written = 0;
      return ::WriteFile(m_file, data, static_cast<DWORD>(n), &written, nullptr) && written == n;
    }
    const MutexHold hold(m_mutex);
    HANDLE f = ::CreateFileA(m_job.filePath.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = ::SetFilePointer(f, 0, nullptr, FILE_END) != INVALID_SET_FILE_POINTER &&
                    ::WriteFile(f, data, static_cast<DWORD>(n), &written, nullptr) && written == n;
    ::CloseHandle(f);
    return ok;
  }
  // Asked twice a chunk: a flag the dialog sets with its stop event, not a wait on the event.
  bool StopRequested() override { return m_stop.load(); }
  void PostState(int state, uint32_t percent) override {
    ::PostMessageA(m_dialog, WM_BACKUP_STATE, static_cast<WPARAM>(state), percent);
  }
  void Progress(uint32_t command, uint32_t value) override {
    if (g_pProgressChannel) g_pProgressChannel->Send(command, value, 2000);
  }
  bool PlayerFollows() override { return ThePlayerLink().Follows(); }
  uint32_t PlayerStep() override { return ThePlayerLink().Step(); }
  void PlayerProgress(uint32_t bytes) override { PostToPlayer(WM_PLAYER_PROGRESS, 0, bytes); }
  void PlayerDone(bool stopped) override { PostToPlayer(WM_PLAYER_DONE, stopped ? 1 : 0, 0); }
  void PlayerError(uint32_t code) override { PostToPlayer(WM_PLAYER_ERROR, 0, code); }
  void WriteDisc() override { TheDiscWriter().Burn(); }

 private:
  // The backup mutex around one file operation; none without a player.
  struct MutexHold {
    explicit MutexHold(HANDLE m) : mutex(m) {
      if (mutex) ::WaitForSingleObject(mutex, INFINITE);
    }
    ~MutexHold() {
      if (mutex) ::ReleaseMutex(mutex);
    }
    HANDLE mutex;
  };
  static void PostToPlayer(UINT msg, WPARAM wp, LPARAM lp) {
    if (HWND w = ThePlayerLink().Window()) ::PostMessageA(w, msg, wp, lp);
  }

  void CloseFile() {
    if (m_file) ::CloseHandle(m_file);
    m_file = nullptr;
  }

  const BackupJob& m_job;
  HANDLE m_mutex = ThePlayerLink().Mutex();
  HANDLE m_file = nullptr;  // held open without a player
  std::array<char, 65536> m_in{};
  size_t m_inAt = 0, m_inEnd = 0;
  HWND m_dialog;
  const std::atomic<bool>& m_stop;
  CBlockingSocket m_socket;
};

}  // namespace

// ---- CBackupProgressDlg ----

// The progress dialog's end after "PLAY".
constexpr INT_PTR kPlayResult = 255;

CBackupProgressDlg::CBackupProgressDlg(HWND owner, BackupJob job, bool sendsCancel,
                                       DeviceSession* session, const SheetProgram* program)
    : ost::Dialog(kBackupProgressTemplate, owner),
      m_job(std::move(job)),
      m_sendsCancel(sendsCancel),
      m_session(session),
      m_program(program) {
  m_hStopEvent = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
}

CBackupProgressDlg::~CBackupProgressDlg() {
  StopThread();
  if (m_hStopEvent) ::CloseHandle(m_hStopEvent);
}

DWORD WINAPI CBackupProgressDlg::DownloadFileThread(LPVOID param) {
  auto* self = static_cast<CBackupProgressDlg*>(param);
  RequestCancel cancel(self->m_hStopEvent);
  ThreadIo io(self->m_job, self->GetSafeHwnd(), self->m_bStopping, cancel);
  const BackupDownloadResult r =
      RunBackupDownload(io, self->m_job.request.sizeMB, self->m_job.copyToDisc);
  if (r.state == kBackupFinished || r.state == kBackupNoData) self->m_bFinished = true;
  return 0;
}

BOOL CBackupProgressDlg::OnInitDialog() {
  ost::Dialog::OnInitDialog();
  if (HWND bar = GetDlgItem(kBackupProgressBar)) ::ShowWindow(bar, SW_HIDE);
  if (HWND play = GetDlgItem(kBackupPlay)) ::ShowWindow(play, SW_HIDE);
  m_strStatus = "Downloading ...";
  SetItemText(kBackupStatus, m_strStatus);
  ThePlayerLink().Reset();
  if (HWND player = ThePlayerLink().Window())
    ::PostMessageA(player, WM_PLAYER_OPEN, 0, reinterpret_cast<LPARAM>(GetSafeHwnd()));
  DWORD id = 0;
  m_hDownloadThread = ::CreateThread(nullptr, 0, DownloadFileThread, this, 0, &id);
  if (!m_hDownloadThread) {
    ShowState(kBackupSendFailed);
    return TRUE;
  }
  MapCommand(kBackupPlay, [this] { EndDialog(kPlayResult); });
  return TRUE;
}

void CBackupProgressDlg::StopThread() {
  m_bStopping = true;
  if (m_hStopEvent) ::SetEvent(m_hStopEvent);
  if (m_hDownloadThread) {
    // The socket waits see the stop event within a slice; the thread ends by itself.
    ::WaitForSingleObject(m_hDownloadThread, INFINITE);
    ::CloseHandle(m_hDownloadThread);
    m_hDownloadThread = nullptr;
  }
}

void CBackupProgressDlg::OnCancel() {
  if (!m_bFinished && m_sendsCancel && m_session) {
    CGIParamList list(kCgiCancelNB);
    const std::string cookie = m_program ? m_program->Cookie() : std::string();
    if (!cookie.empty()) list.AddParam("Cookie", cookie);
    CgiRequest request = CgiRequest::Of(list);
    VorozSendCommand(request, *m_session);
  }
  // A burn in progress after the download is asked to stop; the thread waits for it.
  if (m_job.copyToDisc) TheDiscWriter().Abort();
  m_strStatus = "Stopping ...";
  SetItemText(kBackupStatus, m_strStatus);
  StopThread();
  EndDialog(0);
}

void CBackupProgressDlg::ShowState(int state) {
  m_state = state;
  switch (state) {
    case kBackupSendFailed:
      m_strStatus = LoadText(4065);
      break;
    case kBackupFileFailed:
      m_strStatus = LoadText(4105);
      break;
    case kBackupReceiveFailed:
      m_strStatus = LoadText(4106);
      break;
    case kBackupNoData:
      m_strStatus = LoadText(4107);
      break;
    case kBackupFinished:
      m_strStatus = "Download process is finished";
      break;
    case kBackupAborted:
      m_strStatus = LoadText(4115);
      break;
    case kBackupWritingDisc:
      m_strStatus = "Writing cd ...";
      break;
    default:
      return;
  }
  SetItemText(kBackupStatus, m_strStatus);
  if (state != kBackupWritingDisc) SetItemText(IDCANCEL, "Exit");
  if (state == kBackupFinished) {
    if (HWND play = GetDlgItem(kBackupPlay)) {
      ::EnableWindow(play, TRUE);
      ::ShowWindow(play, SW_SHOW);
    }
  }
}

LRESULT CBackupProgressDlg::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_PLAYER_ATTACH) {
    ThePlayerLink().Attach(reinterpret_cast<HWND>(lp), wp);
    return 0;
  }
  if (msg == WM_PLAYER_ERROR) {
    ThePlayerLink().Detach();
    return 0;
  }
  if (msg == WM_BACKUP_STATE) {
    if (wp == kBackupWritten) {
      char text[64];
      std::snprintf(text, sizeof text, "Downloading ... %u %%", static_cast<unsigned>(lp));
      SetItemText(kBackupStatus, text);
    } else {
      ShowState(static_cast<int>(wp));
    }
    return 0;
  }
  return ost::Dialog::WindowProc(msg, wp, lp);
}

HBRUSH CBackupProgressDlg::OnCtlColor(HDC dc, HWND control, UINT type) {
  // The program's dark skin behind the dialog and its texts.
  if (type == WM_CTLCOLORDLG || type == WM_CTLCOLORSTATIC || type == WM_CTLCOLORBTN) {
    ::SetTextColor(dc, ost::kEditText);
    ::SetBkColor(dc, RGB(0x1E, 0x22, 0x28));
    return m_backBrush.Get();
  }
  return ost::Dialog::OnCtlColor(dc, control, type);
}

// ---- DownloadFilePage ----

std::vector<int> LoadDiskCombo(DeviceSession* session, const std::string& cookie, HWND combo,
                               DvrHddReply& hdd) {
  std::vector<int> disks;
  if (RequestDvrHdd(session, cookie, hdd)) {
    disks = ListedDisks(hdd);
    if (combo)
      for (int disk : disks)
        ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(DiskName(disk).c_str()));
  }
  if (disks.empty() && combo) ::EnableWindow(combo, FALSE);
  return disks;
}

DownloadFilePage::DownloadFilePage() : SettingsPage(kNetworkBackupTemplate, "Network Backup") {
  MapNotify(kBackupSizeEdit, EN_CHANGE, [this] { OnSizeChanged(); });
  MapNotify(kBackupChannelEdit, EN_CHANGE, [this] {
    if (IsLoading()) return;
    UpdateData(true);
    ChooseFileName();
    UpdateData(false);
  });
  MapCommand(kBackupFilePathButton, [this] { OnFilePath(); });
  MapCommand(kBackupDynamicCheck, [this] {
    m_bDynamicDownload = ::IsDlgButtonChecked(GetSafeHwnd(), kBackupDynamicCheck) == BST_CHECKED;
    Program().SetDynamicDownload(m_bDynamicDownload != 0);
    if (Context().client)
      Context().client->dynamicDownload = static_cast<uint8_t>(m_bDynamicDownload);
  });
  MapCommand(kBackupCopyCdCheck, [this] {
    m_bCopyToCD = ::IsDlgButtonChecked(GetSafeHwnd(), kBackupCopyCdCheck) == BST_CHECKED;
  });
  MapCommand(kBackupStartButton, [this] { OnButtonStart(); });
}

void DownloadFilePage::DoDataExchange(ost::DataExchange& dx) {
  dx.ComboIndex(kBackupHddCombo, m_nHddIndex);
  dx.Number(kBackupSizeEdit, m_nBackupSize, 0, kBackupSizeMaxMB);
  dx.Number(kBackupChannelEdit, m_nChannel, 0, 99);
  dx.Text(kBackupFilePathEdit, m_strFilePath);
  dx.Check(kBackupDynamicCheck, m_bDynamicDownload);
  dx.Check(kBackupCopyCdCheck, m_bCopyToCD);
}

void DownloadFilePage::Load() {
  const float s = Context().scale > 0 ? Context().scale : 1.0f;
  INITCOMMONCONTROLSEX init{sizeof(INITCOMMONCONTROLSEX), ICC_DATE_CLASSES};
  ::InitCommonControlsEx(&init);
  const HINSTANCE instance = ::GetModuleHandleA(nullptr);
  m_pDateCtrl = ::CreateWindowExA(0, DATETIMEPICK_CLASSA, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP,
                                  static_cast<int>(20 * s), static_cast<int>(22 * s) + 8, 120, 20,
                                  GetSafeHwnd(), reinterpret_cast<HMENU>(kBackupDatePicker),
                                  instance, nullptr);
  m_pTimeCtrl = ::CreateWindowExA(
      0, DATETIMEPICK_CLASSA, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | DTS_TIMEFORMAT,
      static_cast<int>(20 * s) + 120 + static_cast<int>(20 * s), static_cast<int>(22 * s) + 8, 120,
      20, GetSafeHwnd(), reinterpret_cast<HMENU>(kBackupTimePicker), instance, nullptr);
  for (HWND w : {m_pDateCtrl, m_pTimeCtrl})
    if (w) ::SendMessageA(w, WM_SETFONT, reinterpret_cast<WPARAM>(GetFont()), TRUE);
  if (m_pDateCtrl)
    ::SendMessageA(m_pDateCtrl, DTM_SETFORMATA, 0, reinterpret_cast<LPARAM>("yyyy / MM / dd"));
  if (m_pTimeCtrl)
    ::SendMessageA(m_pTimeCtrl, DTM_SETFORMATA, 0, reinterpret_cast<LPARAM>("HH : mm : ss"));

  std::string dir = Program().NetworkFileDir();
  while (!dir.empty() && dir.back() == '\\') dir.pop_back();
  if (!dir.empty()) {
    m_strBackupDir = dir;
    ChooseFileName();
  } else {
    m_strFilePath = LoadText(4103);
  }
  if (const std::optional<SheetBackupChoices> kept = Program().BackupChoices()) {
    m_bDynamicDownload = kept->dynamicDownload;
    m_bCopyToCD = kept->copyToCD;
  }
  m_disks =
      LoadDiskCombo(Context().session, Program().Cookie(), GetDlgItem(kBackupHddCombo), m_hdd);
  if (!m_disks.empty()) {
    m_nHddIndex = 0;
  }
  UpdateData(false);
}

bool DownloadFilePage::OnSetActive() {
  if (g_BackupPreset.waiting && GetSafeHwnd()) {
    const BackupPreset p = g_BackupPreset;
    g_BackupPreset = BackupPreset{};
    UpdateData(true);
    if (p.channel != 0) m_nChannel = p.channel;
    // A disk the list does not hold leaves the choice as it is.
    if (p.diskIndex < m_disks.size()) m_nHddIndex = p.diskIndex;
    SYSTEMTIME t{};
    t.wYear = static_cast<WORD>(2000 + p.year);
    t.wMonth = p.month;
    t.wDay = p.day;
    t.wHour = p.hour;
    t.wMinute = p.minute;
    t.wSecond = p.second;
    if (m_pDateCtrl)
      ::SendMessageA(m_pDateCtrl, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&t));
    if (m_pTimeCtrl)
      ::SendMessageA(m_pTimeCtrl, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&t));
    ChooseFileName();
    UpdateData(false);
  }
  return SettingsPage::OnSetActive();
}

void DownloadFilePage::ChooseFileName() {
  if (m_strBackupDir.empty()) return;
  const std::string name = ChooseBackupFileName(m_strBackupDir, m_nChannel, PathTaken);
  m_strFilePath = name.empty() ? LoadText(4103) : name;
}

void DownloadFilePage::OnSizeChanged() {
  if (IsLoading()) return;
  const int value = BackupSizeFromText(GetItemText(kBackupSizeEdit));
  if (value < 0) return;
  m_nBackupSize = value;
  const std::string text = std::to_string(value);
  if (GetItemText(kBackupSizeEdit) != text) SetItemText(kBackupSizeEdit, text);
}

void DownloadFilePage::OnFilePath() {
  CDlgGetPath chooser(m_hWnd);
  chooser.SetPath(m_strBackupDir);
  if (RunModal(chooser) == IDOK) {
    m_strBackupDir = chooser.GetPath();
    if (!m_strBackupDir.empty() && m_strBackupDir.back() == '\\') m_strBackupDir.pop_back();
    ChooseFileName();
  }
  UpdateData(false);
}

void DownloadFilePage::OnButtonStart() {
  if (!UpdateData(true)) return;
  if (m_nBackupSize <= 0) {
    OstMessageBoxId(4104);
    return;
  }
  if (m_strFilePath == LoadText(4103) || m_strFilePath.empty()) {
    OstMessageBoxId(4105);
    return;
  }
  if (m_nHddIndex < 0 || m_nHddIndex >= static_cast<int>(m_disks.size()) || m_nChannel < 1 ||
      m_nChannel > 16) {
    OstMessageBoxId(4107);
    return;
  }
  HANDLE f = ::CreateFileA(m_strFilePath.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                           CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) {
    OstMessageBoxId(4105);
    return;
  }
  ::CloseHandle(f);
  if (m_bCopyToCD && !PrepareDiscWrite(GetSafeHwnd(), TheDiscWriter(), m_strFilePath,
                                       static_cast<uint32_t>(m_nBackupSize)))
    m_bCopyToCD = 0;
  if (Context().client) Context().client->networkFileDir = m_strBackupDir;
  Program().SetNetworkFileDir(m_strBackupDir);

  SYSTEMTIME date{}, time{};
  if (m_pDateCtrl)
    ::SendMessageA(m_pDateCtrl, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&date));
  if (m_pTimeCtrl)
    ::SendMessageA(m_pTimeCtrl, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time));
  BackupJob job;
  if (Context().session) {
    job.server = Context().session->Server();
    job.port = Context().session->Port();
  }
  job.host = g_strLocalIPAddress;
  job.request.cookie = Program().Cookie();
  job.request.year = date.wYear;
  job.request.month = date.wMonth;
  job.request.day = date.wDay;
  job.request.hour = time.wHour;
  job.request.minute = time.wMinute;
  job.request.second = time.wSecond;
  job.request.disk = m_disks[static_cast<size_t>(m_nHddIndex)];
  job.request.channel = m_nChannel - 1;
  job.request.sizeMB = m_nBackupSize;
  job.filePath = m_strFilePath;
  job.copyToDisc = m_bCopyToCD != 0;
  BackupPlayerLink& link = ThePlayerLink();
  link.CheckAlive();
  if (m_bDynamicDownload) {
    const PlayerLinkResult r = link.Follow(Program().ExeDir(), m_strFilePath, GetSafeHwnd());
    if (r == PlayerLinkResult::kCommandTooLong) {
      OstMessageBoxId(4306);  // "The file path is too long."
      return;
    }
    if (r == PlayerLinkResult::kNotStarted) OstMessageBoxId(4113);
  } else {
    link.Forget();
  }
  m_strLastFile = m_strFilePath;
  // The sheet owns the dialog, so it cannot close under a running download.
  CBackupProgressDlg dialog(Context().sheet ? Context().sheet : GetSafeHwnd(), std::move(job),
                            SendsBackupCancel(Device().productId, Device().fwVersion),
                            Context().session, &Program());
  if (RunModal(dialog) == kPlayResult) {
    if (HWND main = Program().MainWindow())
      ::SetWindowPos(main, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ::PostMessageA(GetSafeHwnd(), WM_BACKUP_PLAY, 0, 0);
  }
  ChooseFileName();
  UpdateData(false);
}

LRESULT DownloadFilePage::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_BACKUP_PLAY) {
    // The finished file goes to a player of its own, started by the kernel message thread.
    ::Sleep(1000);
    SendKernelMessage(KM_LAUNCH_PLAYER, m_strLastFile.c_str());
    return 0;
  }
  return SettingsPage::WindowProc(msg, wp, lp);
}
