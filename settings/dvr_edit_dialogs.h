// The one-line edit dialogs of the Device and Camera pages: the row number, one control per
// value and "OK". Each starts from the row's values and, after IDOK, gives back what the
// controls hold; the page stores what differs.
#pragma once

#include <windows.h>

#include <string>

#include "platform/dialog.h"
#include "settings/dvr_channel_rows.h"

class CDeviceEditDlg : public ost::Dialog {
 public:
  static constexpr UINT kTemplateId = 321;
  static constexpr int kNumber = 1406, kType = 1195, kId = 1040, kProtocol = 1409, kRate = 1412;

  CDeviceEditDlg(HWND parent, int rowNumber, const DeviceEdit& values);
  const DeviceEdit& Result() const { return m_values; }

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  int m_rowNumber;
  DeviceEdit m_values;
};

class CCameraEditDlg : public ost::Dialog {
 public:
  static constexpr UINT kTemplateId = 327;
  static constexpr int kNumber = 1433, kTitle = 1439, kBR = 1434, kCT = 1435, kST = 1436,
                       kHUE = 1438, kCovert = 1195, kRecord = 1196;

  CCameraEditDlg(HWND parent, int rowNumber, const CameraEdit& values);
  const CameraEdit& Result() const { return m_values; }

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void FilterTitle();
  void FilterNumber(int id);

  int m_rowNumber;
  CameraEdit m_values;
  bool m_bFiltering = false;
};
