// The firmware-upgrade dialog "Upgrade Firware".  This form shows the device's firmware
// version and the firmware folder that the upgrade would use; choosing a file and uploading it
// come with the device tools.
#pragma once

#include <windows.h>

#include <string>

#include "platform/dialog.h"

class CUpgradeFWDlg : public ost::Dialog {
 public:
  static constexpr UINT kTemplateId = 316;
  static constexpr int kVersionText = 1385;
  static constexpr int kPathField = 1387;
  static constexpr int kCancelButton = 1392;

  explicit CUpgradeFWDlg(HWND parent);

  std::string m_strVersion;
  std::string m_strPath;

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(ost::DataExchange& dx) override;
};
