// Windows Sockets before the dialog header brings in windows.h.
#include <winsock2.h>

#include "tools/upgrade_fw_dlg.h"

#include <commctrl.h>
#include <commdlg.h>

#include <atomic>
#include <cstring>

#include "app/app_data.h"
#include "net/cgi_param_list.h"
#include "net/device_session.h"
#include "net/local_ip.h"
#include "net/voroz_send_command.h"
#include "platform/message_box.h"
#include "tools/dlg_get_path.h"
#include "tools/firmware_upload_win32.h"
#include "tools/tool_colours.h"
#include "tools/tools_messages.h"

// Shared by the dialog and its upload thread.
struct UploadShared {
  HWND hDialog = nullptr;
  std::atomic<bool> done{false};
};

namespace {

constexpr UINT WM_UPGRADEENDED = WM_UPGRADESHOWBAR + 1;

class PostingObserver : public UploadObserver {
 public:
  PostingObserver(HWND dialog, HANDLE stop) : m_hDialog(dialog), m_hStop(stop) {}
  void Busy() override { ::PostMessageA(m_hDialog, WM_UPGRADEBUSY, 0, 0); }
  void Progress(uint32_t percent) override {
    if (percent != m_last) ::PostMessageA(m_hDialog, WM_UPGRADEPROGRESS, percent, 0);
    m_last = percent;
  }
  bool StopRequested() override { return ::WaitForSingleObject(m_hStop, 0) == WAIT_OBJECT_0; }

 private:
  HWND m_hDialog;
  HANDLE m_hStop;
  uint32_t m_last = UINT32_MAX;
};

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('\\');
  return slash == std::string::npos ? path : path.substr(0, slash + 1);
}

DeviceSession& Session() {
  return ProgramDeviceSession();
}

}  // namespace

CUpgradeFWDlg::CUpgradeFWDlg(HWND parent) : ost::Dialog(kTemplateId, parent) {
  m_hStop = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
  m_hFace = ::CreateSolidBrush(kToolFace);
  MapCommand(kFindButton, &CUpgradeFWDlg::OnFindButton);
  MapCommand(kUpgradeButton, &CUpgradeFWDlg::OnUpgradeButton);
  MapCommand(kCancelButton, [this] { OnCancel(); });
  MapCommand(kSuccessButton, [this] { EndDialog(0); });
  MapMessage(WM_UPGRADEIDLE, [this](WPARAM, LPARAM) -> LRESULT {
    ::EnableWindow(GetDlgItem(kUpgradeButton), TRUE);
    return 1;
  });
  MapMessage(WM_UPGRADEBUSY, [this](WPARAM, LPARAM) -> LRESULT {
    ::EnableWindow(GetDlgItem(kUpgradeButton), FALSE);
    return 1;
  });
  MapMessage(WM_UPGRADECLOSE, [this](WPARAM, LPARAM) -> LRESULT {
    EndDialog(0);
    return 1;
  });
  MapMessage(WM_UPGRADEPROGRESS, [this](WPARAM wp, LPARAM) -> LRESULT {
    ::SendMessageA(GetDlgItem(kProgressBar), PBM_SETPOS, wp, 0);
    return 1;
  });
  MapMessage(WM_UPGRADESHOWBAR, [this](WPARAM wp, LPARAM) -> LRESULT {
    if (wp == 0) ::SendMessageA(GetDlgItem(kProgressBar), PBM_SETPOS, 0, 0);
    ::ShowWindow(GetDlgItem(kProgressBar), wp ? SW_SHOW : SW_HIDE);
    return 1;
  });
  MapMessage(WM_UPGRADEENDED, &CUpgradeFWDlg::OnUploadEnded);
}

CUpgradeFWDlg::~CUpgradeFWDlg() {
  StopUpload();
  m_transport.reset();  // closes a hold connection left open after a completed upload
  if (m_fileSet) m_fileSet->Clear();
  if (m_hStop) ::CloseHandle(m_hStop);
  if (m_hFace) ::DeleteObject(m_hFace);
}

HBRUSH CUpgradeFWDlg::OnCtlColor(HDC dc, HWND control, UINT type) {
  if (HBRUSH face = ToolDialogColours(dc, control, type, m_hFace)) return face;
  return ost::Dialog::OnCtlColor(dc, control, type);
}

BOOL CUpgradeFWDlg::OnInitDialog() {
  const APP_DATA& a = *g_lpApp;
  m_method = SelectUpgradeMethod(a.str_ProductID, a.str_FWVersion);
  ::ShowWindow(GetDlgItem(kPartList), SW_HIDE);
  ::ShowWindow(GetDlgItem(kSuccessButton), SW_HIDE);
  m_nPartIndex = 0;
  ::ShowWindow(GetDlgItem(kProgressBar), SW_HIDE);
  ::SendMessageA(GetDlgItem(kProgressBar), PBM_SETRANGE32, 0, 100);
  ::SendMessageA(GetDlgItem(kProgressBar), PBM_SETBKCOLOR, 0, ost::kEditBack);
  ::SendMessageA(GetDlgItem(kProgressBar), PBM_SETBARCOLOR, 0, kToolBar);
  BOOL result = TRUE;
  if (IsFileSetMethod(m_method)) {
    // The table follows the Product-ID whether or not the version query answers.
    if (const auto model = FileSetModelOf(a.str_ProductID)) m_fileSet.emplace(*model);
    char version[1024] = {};
    uint32_t length = 0;
    const CGIParamList query = GetVersionRequest(g_szCookie);
    CgiRequest request = CgiRequest::Of(query);
    request.reply = version;
    request.replyCapacity = sizeof version - 1;
    request.replyLength = &length;
    if (VorozSendCommand(request, Session()) == 1) {
      m_strVersion.assign(version, std::min<uint32_t>(length, sizeof version - 1));
      m_strPath = a.m_Settings.m_strUpgradeDVRFWPath;
    } else {
      result = FALSE;
    }
  } else if (m_method != UpgradeMethod::kNone) {
    m_strPath = a.m_Settings.m_strUpgradeFWPath + "KERNEL.BIN";
    m_strFWVersionDigits = a.str_FWVersion.substr(0, 4);
    m_strVersion = FirmwareVersionLabel(a.str_FWVersion);
  }
  ost::Dialog::OnInitDialog();
  return result;
}

void CUpgradeFWDlg::DoDataExchange(ost::DataExchange& dx) {
  dx.Text(kVersionText, m_strVersion);
  dx.Text(kPathField, m_strPath);
}

void CUpgradeFWDlg::OnOK() {
  if (UploadRunning()) return;
  ost::Dialog::OnOK();
}

void CUpgradeFWDlg::OnFindButton() {
  UpdateData(true);
  CSettingINI& settings = g_lpApp->m_Settings;
  if (IsFileSetMethod(m_method)) {
    CDlgGetPath chooser(m_hWnd);
    chooser.SetPath(m_strPath);
    if (chooser.DoModal() == IDOK) {
      m_strPath = chooser.GetPath();
      if (!m_strPath.empty() && m_strPath.back() == '\\') m_strPath.pop_back();
      settings.m_strUpgradeDVRFWPath = m_strPath;
    }
  } else if (m_method != UpgradeMethod::kNone) {
    char file[MAX_PATH] = {};
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.lpstrFilter = "Kernel Firmware files (*.BIN)\0*.BIN\0";
    ofn.lpstrDefExt = "BIN";
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.Flags = OFN_HIDEREADONLY | OFN_EXPLORER;
    if (settings.m_strUpgradeFWPath != "UnKnown")
      ofn.lpstrInitialDir = settings.m_strUpgradeFWPath.c_str();
    if (!::GetOpenFileNameA(&ofn) || file[0] == '\0') return;
    m_strPath = file;
    settings.m_strUpgradeFWPath = FolderOf(m_strPath);
  }
  UpdateData(false);
}

void CUpgradeFWDlg::OnUpgradeButton() {
  UpdateData(true);
  if (IsFileSetMethod(m_method))
    UpgradeFileSet();
  else if (m_method != UpgradeMethod::kNone)
    OnFwdlgUpgrade();
}

void CUpgradeFWDlg::OnFwdlgUpgrade() {
  StopUpload();
  const ImageRead read = ReadFirmwareImageFile(m_strPath, m_image);
  if (read != ImageRead::kOk) {
    OstMessageBoxId(static_cast<unsigned>(ImageReadMessageId(read)));
    return;
  }
  StartUpload(ImageUploadParts(m_image, IsStreamedMethod(m_method)), m_image.dwTotalSize);
}

void CUpgradeFWDlg::UpgradeFileSet() {
  StopUpload();
  if (!m_fileSet) {
    OstMessageBoxId(kMsgNoFirmwareInFolder);
    return;
  }
  m_fileSetLoad = LoadFileSet(m_strPath, *m_fileSet);
  if (m_fileSetLoad.byLoadedCount == 0) {
    OstMessageBoxId(kMsgNoFirmwareInFolder);
    return;
  }
  StartUpload(FileSetUploadParts(*m_fileSet), m_fileSetLoad.dwLoadedTotal);
}

void CUpgradeFWDlg::OnPartSelChange() {
  UpdateData(true);
  static constexpr const char* kNames[] = {"KERNEL.BIN", "BOOT.BIN", "QX087.BIN", "QX008.BIN"};
  const APP_DATA& a = *g_lpApp;
  if (m_nPartIndex >= 0 && m_nPartIndex < 4) {
    m_strPath = a.m_Settings.m_strUpgradeFWPath + kNames[m_nPartIndex];
    const std::string* version = m_nPartIndex == 0   ? &a.str_FWVersion
                                 : m_nPartIndex == 1 ? &a.str_BootVersion
                                 : m_nPartIndex == 2 ? &a.str_2041Version
                                                     : nullptr;
    if (version) m_strFWVersionDigits = version->substr(0, 4);
  }
  UpdateData(false);
}

void CUpgradeFWDlg::StartUpload(std::vector<UploadPart> parts, uint64_t total) {
  ::SendMessageA(GetDlgItem(kProgressBar), PBM_SETPOS, 0, 0);
  ::ShowWindow(GetDlgItem(kProgressBar), SW_SHOW);
  g_lpApp->m_Settings.WriteSettingFile();
  ::ResetEvent(m_hStop);

  auto job = std::make_shared<UploadJob>();
  job->method = m_method;
  job->parts = std::move(parts);
  job->total = total;
  job->cookie = g_szCookie;
  job->host = g_strLocalIPAddress;
  const DeviceSession session = Session();
  m_transport = std::make_unique<SocketUploadTransport>(m_method, session.Server(), session.Port(),
                                                        job->host, m_hStop);
  m_shared = std::make_shared<UploadShared>();
  m_shared->hDialog = m_hWnd;
  try {
    m_upload = std::thread([job, shared = m_shared, transport = m_transport.get(), stop = m_hStop] {
      PostingObserver observer(shared->hDialog, stop);
      const UploadOutcome outcome = RunFirmwareUpload(*job, *transport, observer);
      ::PostMessageA(shared->hDialog, WM_UPGRADEENDED, static_cast<WPARAM>(outcome), 0);
      shared->done = true;
    });
  } catch (const std::system_error&) {
    m_transport.reset();
    ::ShowWindow(GetDlgItem(kProgressBar), SW_HIDE);
    m_image = {};
    OstMessageBoxId(kMsgUpgradeError);
  }
}

bool CUpgradeFWDlg::UploadRunning() const {
  return m_shared && !m_shared->done;
}

void CUpgradeFWDlg::StopUpload() {
  if (!m_upload.joinable()) return;
  ::SetEvent(m_hStop);
  // The upload posts to this window: keep its messages flowing while it finishes.
  while (!m_shared->done) {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        ::PostQuitMessage(static_cast<int>(msg.wParam));
        break;
      }
      if (msg.message == WM_UPGRADECLOSE || msg.message == WM_UPGRADEENDED) continue;
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
  m_upload.join();
  m_shared.reset();
}

LRESULT CUpgradeFWDlg::OnUploadEnded(WPARAM wp, LPARAM) {
  if (m_upload.joinable()) m_upload.join();
  m_shared.reset();
  const auto outcome = static_cast<UploadOutcome>(wp);
  const auto hideBar = [this] {
    ::SendMessageA(GetDlgItem(kProgressBar), PBM_SETPOS, 0, 0);
    ::ShowWindow(GetDlgItem(kProgressBar), SW_HIDE);
  };
  m_image = {};
  switch (outcome) {
    case UploadOutcome::kCompleted:
      OstMessageBoxId(kMsgOverwriteFlash);
      hideBar();
      ::EnableWindow(GetDlgItem(kUpgradeButton), TRUE);
      EndDialog(0);
      break;
    case UploadOutcome::kHoldFailed:
      OstMessageBoxId(kMsgUpgradeError);
      hideBar();
      ::EnableWindow(GetDlgItem(kUpgradeButton), TRUE);
      break;
    case UploadOutcome::kStreamFailed:
      OstMessageBoxId(kMsgUpgradeError);
      hideBar();
      ::EnableWindow(GetDlgItem(kUpgradeButton), TRUE);
      if (m_method == UpgradeMethod::kFileSetStreamed) EndDialog(0);
      break;
    case UploadOutcome::kPieceFailed:
      OstMessageBoxId(kMsgUpgradeError);
      hideBar();
      ::EnableWindow(GetDlgItem(kUpgradeButton), TRUE);
      EndDialog(0);
      break;
    case UploadOutcome::kStopped:
      break;
  }
  return 1;
}

void CUpgradeFWDlg::OnCancel() {
  if (m_method == UpgradeMethod::kNone) return;
  ::SendMessageA(GetDlgItem(kProgressBar), PBM_SETPOS, 0, 0);
  ::ShowWindow(GetDlgItem(kProgressBar), SW_HIDE);
  StopUpload();
  m_transport.reset();
  const CGIParamList query = CancelUpgradeRequest(m_method, g_szCookie);
  CgiRequest request = CgiRequest::Of(query);
  VorozSendCommand(request, Session());
  ::EnableWindow(GetDlgItem(kUpgradeButton), TRUE);
  EndDialog(0);
}
