// The firmware-upgrade dialog "Upgrade Firware": the device's firmware version, the image file or
// file-set folder, Find, Upgrade (the upload on a thread of its own, by the device's method) and
// Cancel (stops the upload and tells the device).
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "platform/dialog.h"
#include "tools/firmware_image.h"
#include "tools/firmware_upload.h"

class CUpgradeFWDlg : public ost::Dialog {
 public:
  static constexpr UINT kTemplateId = 316;
  static constexpr int kVersionText = 1385;
  static constexpr int kFindButton = 1386;
  static constexpr int kPathField = 1387;
  static constexpr int kUpgradeButton = 1388;
  static constexpr int kProgressBar = 1389;
  static constexpr int kCancelButton = 1392;
  static constexpr int kPartList = 1195;
  static constexpr int kSuccessButton = 1068;

  explicit CUpgradeFWDlg(HWND parent);
  ~CUpgradeFWDlg() override;

  std::string m_strVersion;
  std::string m_strPath;
  int m_nPartIndex = -1;
  std::string m_strFWVersionDigits;  // the four version characters of the chosen part

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(ost::DataExchange& dx) override;
  // Enter: ignored while an upload runs.
  void OnOK() override;
  // Cancel and Esc: stop the upload, send the method's cancel request, end with 0.
  void OnCancel() override;
  HBRUSH OnCtlColor(HDC dc, HWND control, UINT type) override;

 private:
  void OnFindButton();
  void OnUpgradeButton();
  void OnFwdlgUpgrade();
  void UpgradeFileSet();
  void OnPartSelChange();
  // Starts the walk over parts on the upload thread.
  void StartUpload(std::vector<UploadPart> parts, uint64_t total);
  // Signals the stop, waits (pumping messages) until the upload thread ended, joins it.
  void StopUpload();
  bool UploadRunning() const;
  LRESULT OnUploadEnded(WPARAM, LPARAM);

  HBRUSH m_hFace = nullptr;
  UpgradeMethod m_method = UpgradeMethod::kNone;
  HANDLE m_hStop = nullptr;  // manual-reset stop request of the upload
  std::thread m_upload;
  std::shared_ptr<struct UploadShared> m_shared;
  std::optional<FileSetTable> m_fileSet;
  FileSetLoad m_fileSetLoad;
  ParsedFirmwareImage m_image;
  std::unique_ptr<class SocketUploadTransport> m_transport;
};
