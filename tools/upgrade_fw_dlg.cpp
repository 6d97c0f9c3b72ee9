#include "tools/upgrade_fw_dlg.h"

#include "app/app_data.h"
#include "net/device_family.h"

CUpgradeFWDlg::CUpgradeFWDlg(HWND parent) : ost::Dialog(kTemplateId, parent) {
  MapCommand(kCancelButton, [this] { EndDialog(IDCANCEL); });
}

BOOL CUpgradeFWDlg::OnInitDialog() {
  const APP_DATA& a = *g_lpApp;
  m_strVersion = a.str_FWVersion;
  // File-set devices keep a folder, the others an image file's folder.
  m_strPath = IsRZKSeriesProduct(a.str_ProductID) ? a.m_Settings.m_strUpgradeDVRFWPath
                                                  : a.m_Settings.m_strUpgradeFWPath;
  return ost::Dialog::OnInitDialog();
}

void CUpgradeFWDlg::DoDataExchange(ost::DataExchange& dx) {
  dx.Text(kVersionText, m_strVersion);
  dx.Text(kPathField, m_strPath);
}
