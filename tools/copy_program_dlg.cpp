#include "tools/copy_program_dlg.h"

#include <commctrl.h>

#include <cstdio>

#include "app/app_data.h"
#include "platform/message_box.h"
#include "tools/install_file_list.h"

namespace {

std::string WithBackslash(std::string folder) {
  if (folder.empty() || folder.back() != '\\') folder += '\\';
  return folder;
}

}  // namespace

CCopyProgramDlg::CCopyProgramDlg(HWND parent, std::string sourcePath, std::string destPath)
    : ost::Dialog(kTemplateId, parent),
      m_strSourcePath(std::move(sourcePath)),
      m_strDestPath(std::move(destPath)) {}

void CCopyProgramDlg::DoDataExchange(ost::DataExchange& dx) {
  dx.Text(kPercentText, m_strProgress);
}

BOOL CCopyProgramDlg::OnInitDialog() {
  ost::Dialog::OnInitDialog();
  m_backBrush = ost::SolidBrush(RGB(0x1E, 0x22, 0x28));
  ::SendMessageA(GetDlgItem(kProgressBar), PBM_SETRANGE32, 0, 100);
  m_strProgress = "  0%";
  ::SendMessageA(GetDlgItem(kProgressBar), PBM_SETPOS, 0, 0);
  UpdateData(false);
  m_nTimer = ::SetTimer(m_hWnd, kStartTimer, 500, &CCopyProgramDlg::CopyTimerProc);
  ::EnableWindow(GetDlgItem(IDOK), FALSE);
  return TRUE;
}

void CCopyProgramDlg::OnTimer(UINT_PTR id) {
  if (id == m_nTimer) KillTimer(m_nTimer);
  Default();
}

void CALLBACK CCopyProgramDlg::CopyTimerProc(HWND hwnd, UINT, UINT_PTR, DWORD) {
  auto* self = dynamic_cast<CCopyProgramDlg*>(ost::Wnd::FromHandle(hwnd));
  if (self != nullptr) self->CopyFiles();
}

void CCopyProgramDlg::ShowProgress(int percent) {
  char text[16];
  std::snprintf(text, sizeof text, "%3d%%", percent);
  m_strProgress = text;
  ::SendMessageA(GetDlgItem(kProgressBar), PBM_SETPOS, static_cast<WPARAM>(percent), 0);
  UpdateData(false);
  // The copy holds the message loop: the dialog shows each step at once.
  ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void CCopyProgramDlg::CopyFiles() {
  KillTimer(m_nTimer);
  m_strSourcePath = WithBackslash(m_strSourcePath);
  m_strDestPath = WithBackslash(m_strDestPath);
  // Files missing from the source are skipped silently; those that exist and cannot be copied
  // are counted and reported once at the end. Each of the list's folders ("BMP\\", then
  // "BMP\\CMOS\\" and "BMP\\LOGIN\\") is made before its first file; the result is ignored: the
  // folder may exist.
  int failed = 0;
  std::string folderMade;
  for (int i = 0; i < kInstallFileCount; ++i) {
    const std::string name = g_InstallFileList[i];
    const std::string folder = name.substr(0, name.rfind('\\') + 1);
    if (!folder.empty() && folder != folderMade) {
      ::CreateDirectoryA((m_strDestPath + folder).c_str(), nullptr);
      folderMade = folder;
    }
    const std::string from = m_strSourcePath + name;
    if (!::CopyFileA(from.c_str(), (m_strDestPath + name).c_str(), FALSE) &&
        ::GetFileAttributesA(from.c_str()) != INVALID_FILE_ATTRIBUTES)
      ++failed;
    ShowProgress(InstallCopyPercent(i + 1));
  }
  const ::CSettingINI& settings = g_lpApp->m_Settings;
  const std::string ini = m_strDestPath + "Setting.ini";
  const char* section = settings.m_strKeyName[::CSettingINI::kSection].c_str();
  const bool keysWritten =
      ::WritePrivateProfileStringA(section,
                                   settings.m_strKeyName[::CSettingINI::kKeyRecordPath].c_str(),
                                   m_strDestPath.c_str(), ini.c_str()) &&
      ::WritePrivateProfileStringA(section,
                                   settings.m_strKeyName[::CSettingINI::kKeySnapshotPath].c_str(),
                                   m_strDestPath.c_str(), ini.c_str()) &&
      ::WritePrivateProfileStringA(section,
                                   settings.m_strKeyName[::CSettingINI::kKeyWavPath].c_str(),
                                   (m_strDestPath + "alarm.wav").c_str(), ini.c_str());
  ::EnableWindow(GetDlgItem(IDOK), TRUE);
  m_nFailedFiles = failed;
  if (failed > 0 || !keysWritten) {
    char text[512];
    std::snprintf(text, sizeof text, "%d of %d files could not be copied to %s%s", failed,
                  kInstallFileCount, m_strDestPath.c_str(),
                  keysWritten ? "" : "\nThe copy's Setting.ini could not be written.");
    OstMessageBox(text, MB_OK | MB_ICONEXCLAMATION, "Copy Program");
  }
}

HBRUSH CCopyProgramDlg::OnCtlColor(HDC dc, HWND control, UINT type) {
  if (type == WM_CTLCOLORDLG || type == WM_CTLCOLORSTATIC) {
    ::SetTextColor(dc, ost::kEditText);
    ::SetBkColor(dc, RGB(0x1E, 0x22, 0x28));
    return m_backBrush.Get();
  }
  return ost::Dialog::OnCtlColor(dc, control, type);
}
