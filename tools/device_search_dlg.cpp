#include "tools/device_search_dlg.h"

#include "platform/controls.h"

CDeviceSearchDlg::CDeviceSearchDlg(HWND parent) : ost::Dialog(kTemplateId, parent) {
  MapCommand(kApplyButton, &CDeviceSearchDlg::OnApply);
}

BOOL CDeviceSearchDlg::OnInitDialog() {
  ost::Dialog::OnInitDialog();
  ost::ListBox list;
  list.Attach(GetDlgItem(kDeviceList));
  list.ResetContent();
  for (const FoundDevice& d : m_Devices)
    ::SendMessageA(
        list.GetSafeHwnd(), LB_INSERTSTRING, 0,
        reinterpret_cast<LPARAM>((d.strIpAddress + ":" + std::to_string(d.nWebPort)).c_str()));
  list.Detach();
  return TRUE;
}

void CDeviceSearchDlg::DoDataExchange(ost::DataExchange& dx) {
  dx.Text(kEditIpAddress, m_strIpAddress, 16);
  dx.Text(kEditWebPort, m_nWebPort);
}

void CDeviceSearchDlg::AddDeviceItem(const FoundDevice& device) {
  m_Devices.push_back(device);
  if (m_hWnd == nullptr) return;
  const std::string text = device.strIpAddress + ":" + std::to_string(device.nWebPort);
  ::SendMessageA(GetDlgItem(kDeviceList), LB_INSERTSTRING, 0,
                 reinterpret_cast<LPARAM>(text.c_str()));
}

int CDeviceSearchDlg::SelectedDevice() const {
  const int row = static_cast<int>(::SendMessageA(GetDlgItem(kDeviceList), LB_GETCURSEL, 0, 0));
  if (row < 0 || row >= static_cast<int>(m_Devices.size())) return -1;
  return static_cast<int>(m_Devices.size()) - 1 - row;
}

void CDeviceSearchDlg::OnApply() {
  if (!UpdateData(true) || m_nWebPort < 0 || m_nWebPort > 9999) return;
  m_bDeviceChosen = 1;
  m_strChosenAddress = m_strIpAddress;
}

void CDeviceSearchDlg::OnOK() {
  const int device = SelectedDevice();
  if (device >= 0) {
    m_bDeviceChosen = 1;
    m_strChosenAddress = m_Devices[static_cast<size_t>(device)].strIpAddress;
    m_nWebPort = m_Devices[static_cast<size_t>(device)].nWebPort;
  }
  EndDialog(IDOK);
}
