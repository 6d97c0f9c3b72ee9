// The LAN device search "SEARCH".  This form lists no devices (the search over the network
// comes with the device tools); its address and web-port fields and APPLY choose a device by
// hand, and the caller reads the choice as it will from the full search.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/dialog.h"

class CDeviceSearchDlg : public ost::Dialog {
 public:
  static constexpr UINT kTemplateId = 158;
  static constexpr int kDeviceList = 1093;
  static constexpr int kApplyButton = 1095;
  static constexpr int kEditIpAddress = 1096;
  static constexpr int kEditWebPort = 1097;

  explicit CDeviceSearchDlg(HWND parent);

  // A found device: its address text and web port.
  struct FoundDevice {
    std::string strIpAddress;
    int32_t nWebPort = 0;
  };
  // Adds a device to the list (shown first).
  void AddDeviceItem(const FoundDevice& device);

  // What the caller reads after the modal run.
  int32_t m_bDeviceChosen = 0;
  std::string m_strChosenAddress;
  int32_t m_nWebPort = 0;
  std::string m_strIpAddress;

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(ost::DataExchange& dx) override;
  // OK with a device selected chooses it.
  void OnOK() override;

 private:
  // APPLY: the device of the address field is chosen.
  void OnApply();
  int SelectedDevice() const;

  std::vector<FoundDevice> m_Devices;  // in arrival order; list row r is device count-1-r
};
