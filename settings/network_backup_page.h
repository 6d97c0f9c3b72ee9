// The "Network Backup" page: a stretch of the device's recording downloaded into a local
// "CHnn_mmmm.dvr" file, run in the modal progress dialog on a thread of its own.
#pragma once
#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

#include "platform/dialog.h"
#include "platform/gdi.h"
#include "record/network_backup.h"
#include "record/search_list.h"
#include "settings/settings_page.h"

// The record the "Full List" hands to this page; taken and cleared when the page shows.
extern BackupPreset g_BackupPreset;

inline constexpr UINT WM_BACKUP_STATE = WM_USER + 18;
inline constexpr UINT WM_BACKUP_PLAY = WM_USER + 20;

// What one download needs, copied from the page when it starts.
struct BackupJob {
  std::string server;
  uint16_t port = 80;
  std::string host;  // the client's own address text
  BackupRequest request;
  std::string filePath;
  bool copyToDisc = false;
};

class CBackupProgressDlg : public ost::Dialog {
 public:
  // program: where the cancel's cookie comes from (none without one).
  CBackupProgressDlg(HWND owner, BackupJob job, bool sendsCancel, DeviceSession* session,
                     const SheetProgram* program = nullptr);
  ~CBackupProgressDlg() override;
  int LastState() const { return m_state; }

 protected:
  BOOL OnInitDialog() override;
  void OnCancel() override;
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
  HBRUSH OnCtlColor(HDC dc, HWND control, UINT type) override;

 private:
  ost::Brush m_backBrush = ost::SolidBrush(RGB(0x1E, 0x22, 0x28));
  static DWORD WINAPI DownloadFileThread(LPVOID param);
  void StopThread();
  void ShowState(int state);

  BackupJob m_job;
  bool m_sendsCancel;
  DeviceSession* m_session;
  const SheetProgram* m_program;
  HANDLE m_hDownloadThread = nullptr;
  HANDLE m_hStopEvent = nullptr;         // manual reset: every socket wait sees it
  std::atomic<bool> m_bStopping{false};  // set with the stop event, for the thread's checks
  std::atomic<bool> m_bFinished{false};
  int m_state = 0;
  std::string m_strStatus;
};

// The device's disks ("/GetDvrHDD.cgi") into hdd and their names into combo; the listed disks.
// None when there is no session or the request or the reply failed: the combo is then disabled.
std::vector<int> LoadDiskCombo(DeviceSession* session, const std::string& cookie, HWND combo,
                               DvrHddReply& hdd);

class DownloadFilePage : public SettingsPage {
 public:
  DownloadFilePage();

 protected:
  void Load() override;
  void DoDataExchange(ost::DataExchange& dx) override;
  bool OnSetActive() override;
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void ChooseFileName();
  void OnSizeChanged();
  void OnButtonStart();
  void OnFilePath();

  HWND m_pDateCtrl = nullptr;
  HWND m_pTimeCtrl = nullptr;
  int m_nHddIndex = -1;
  int m_nBackupSize = 5;
  int m_nChannel = 1;
  std::string m_strFilePath;
  int m_bDynamicDownload = 0;
  int m_bCopyToCD = 0;
  std::string m_strBackupDir;
  std::string m_strLastFile;
  DvrHddReply m_hdd;
  std::vector<int> m_disks;
  bool m_noFolder = true;
};
