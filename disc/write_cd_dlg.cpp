#include "disc/write_cd_dlg.h"

#include "app/app_data.h"
#include "disc/cd_writer.h"
#include "disc/disc_checks.h"
#include "platform/message_box.h"

namespace {

bool IsReadOnlyEdit(HWND control) {
  char cls[16] = {};
  ::GetClassNameA(control, cls, sizeof cls);
  return lstrcmpiA(cls, "Edit") == 0;
}

}  // namespace

CWriteCDDlg::CWriteCDDlg(HWND parent) : ost::Dialog(kTemplateId, parent) {
  MapNotify(kDeviceCombo, CBN_SELCHANGE, [this] { OnDeviceChange(); });
  MapNotify(kDeviceCombo, CBN_EDITCHANGE, [this] { OnDeviceChange(); });
  MapNotify(kFileNameEdit, EN_CHANGE, [this] { UpdateData(true); });
  MapCommand(kCloseDiscCheck, [this] { OnCloseDisc(); });
  MapCommand(kImportCheck, [] {});
  MapCommand(kCdRadio, [this] { OnMedia(disc::kKindCD); });
  MapCommand(kDvdRadio, [this] { OnMedia(disc::kKindDVD); });
  MapCommand(kCancelWriting, [this] { EndDialog(IDCANCEL); });
  MapCommand(kAppendPlayerCheck, [this] { OnAppendPlayer(); });
}

HBRUSH CWriteCDDlg::OnCtlColor(HDC dc, HWND control, UINT type) {
  constexpr COLORREF kBack = RGB(0x1B, 0x1F, 0x25);
  constexpr COLORREF kLabel = RGB(0xC8, 0xCF, 0xD8);
  if (type == WM_CTLCOLORDLG || (type == WM_CTLCOLORSTATIC && !IsReadOnlyEdit(control))) {
    if (!m_backBrush.Get()) m_backBrush = ost::SolidBrush(kBack);
    ::SetTextColor(dc, kLabel);
    ::SetBkColor(dc, kBack);
    return m_backBrush.Get();
  }
  return ost::Dialog::OnCtlColor(dc, control, type);
}

void CWriteCDDlg::Bind(CCDWriter* writer, int32_t* closeOption, uint32_t* appendPlayer) {
  m_pWriter = writer;
  m_pCloseOption = closeOption;
  m_pAppendPlayer = appendPlayer;
}

int CWriteCDDlg::SetSource(const std::string& path, char** deviceNames, int32_t deviceCount,
                           uint32_t mediaKind, uint64_t totalSize) {
  m_strSourceFile = path;
  m_dwMediaKind = mediaKind;
  char full[MAX_PATH] = {};
  char* part = nullptr;
  const DWORD n = ::GetFullPathNameA(path.c_str(), sizeof full, full, &part);
  const std::string fullPath = n > 0 && n < sizeof full ? std::string(full, n) : std::string();
  m_strFileName = disc::FileNamePart(fullPath);
  if (m_pWriter == nullptr && g_lpApp != nullptr) m_pWriter = &g_lpApp->m_CDWriter;
  if (m_pWriter != nullptr) m_pWriter->SetTotalSize(totalSize);
  const size_t slash = fullPath.find_last_of('\\');
  m_strFolder = slash == std::string::npos ? std::string() : fullPath.substr(0, slash + 1);
  // A path that does not fit has no name to offer.
  if (fullPath.empty() || deviceCount <= 0 || deviceNames == nullptr) return 0;
  m_ppDeviceNames = deviceNames;
  m_nDeviceCount = deviceCount;
  return 1;
}

void CWriteCDDlg::DoDataExchange(ost::DataExchange& dx) {
  dx.Check(kCloseDiscCheck, m_fCloseDisc);
  dx.Check(kImportCheck, m_fImportLastSession);
  dx.Text(kSourceEdit, m_strSourceFile);
  dx.Check(kAppendPlayerCheck, m_fAppendPlayer);
  dx.Text(kFileNameEdit, m_strFileName);
}

BOOL CWriteCDDlg::OnInitDialog() {
  ost::Dialog::OnInitDialog();
  if (m_pCloseOption == nullptr && g_lpApp != nullptr)
    m_pCloseOption = &g_lpApp->m_Settings.m_iWriteCDClose;
  if (m_pAppendPlayer == nullptr && g_lpApp != nullptr) m_pAppendPlayer = &g_lpApp->fAppendPlayer;
  HWND combo = GetDlgItem(kDeviceCombo);
  for (int32_t i = 0; i < m_nDeviceCount; ++i)
    ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(m_ppDeviceNames[i]));
  m_nSelectedDevice = 0;
  m_fCloseDisc = m_pCloseOption != nullptr ? (*m_pCloseOption != 0 ? 1 : 0) : 0;
  ::SendMessageA(combo, CB_SETCURSEL, 0, 0);
  const bool cd = m_dwMediaKind == disc::kKindCD;
  ::CheckDlgButton(m_hWnd, kCdRadio, cd ? BST_CHECKED : BST_UNCHECKED);
  ::CheckDlgButton(m_hWnd, kDvdRadio, cd ? BST_UNCHECKED : BST_CHECKED);
  if (m_pAppendPlayer != nullptr) *m_pAppendPlayer = static_cast<uint32_t>(m_fAppendPlayer);
  UpdateData(false);
  return TRUE;
}

bool CWriteCDDlg::Checked(int id) const {
  return ::IsDlgButtonChecked(m_hWnd, id) == BST_CHECKED;
}

void CWriteCDDlg::OnDeviceChange() {
  const LRESULT sel = ::SendMessageA(GetDlgItem(kDeviceCombo), CB_GETCURSEL, 0, 0);
  // Typing in the box selects nothing: only a listed drive counts.
  m_nSelectedDevice = sel >= 0 && sel < m_nDeviceCount ? static_cast<int32_t>(sel) : -1;
}

void CWriteCDDlg::OnCloseDisc() {
  m_fCloseDisc = Checked(kCloseDiscCheck) ? 1 : 0;
  if (m_pCloseOption != nullptr) *m_pCloseOption = m_fCloseDisc;
  UpdateData(true);
  UpdateData(false);
}

void CWriteCDDlg::OnAppendPlayer() {
  m_fAppendPlayer = Checked(kAppendPlayerCheck) ? 1 : 0;
  if (m_pAppendPlayer != nullptr) *m_pAppendPlayer = static_cast<uint32_t>(m_fAppendPlayer);
  UpdateData(true);
  UpdateData(false);
}

void CWriteCDDlg::OnMedia(uint32_t kind) {
  m_dwMediaKind = kind;
  ::CheckDlgButton(m_hWnd, kCdRadio, kind == disc::kKindCD ? BST_CHECKED : BST_UNCHECKED);
  ::CheckDlgButton(m_hWnd, kDvdRadio, kind == disc::kKindCD ? BST_UNCHECKED : BST_CHECKED);
}

void CWriteCDDlg::OnOK() {
  if (m_nSelectedDevice < 0 || m_nSelectedDevice >= m_nDeviceCount) {
    OstMessageBox("Select a device from the list.", MB_OK | MB_ICONEXCLAMATION);
    ::SetFocus(GetDlgItem(kDeviceCombo));
    return;
  }
  if (UpdateData(true)) EndDialog(IDOK);
}
