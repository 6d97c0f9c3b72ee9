// The address book "IP Address Book": the devices kept in "IPRecord.dat" beside the program,
// one row each; SELECT hands a row's user name, address and port to the caller.  This form
// lists and picks rows; adding and editing rows come with the device tools.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/dialog.h"
#include "platform/scoped_handle.h"
#include "tools/ip_record.h"

class CAddressBookDialog : public ost::Dialog {
 public:
  static constexpr UINT kTemplateId = 247;
  static constexpr int kRowList = 1232;
  static constexpr int kSelectButton = 1029;
  // Modal result of SELECT.
  static constexpr INT_PTR kSelected = 100;

  explicit CAddressBookDialog(HWND parent);
  // Rewrites "IPRecord.dat" with the rows when it was opened and loaded.
  ~CAddressBookDialog() override;

  // The chosen row after SELECT.
  std::string m_strUser;
  std::string m_strIpAddress;
  std::string m_strComment;
  std::string m_strMajorPort;
  int32_t m_iMajorPort = 0;
  int32_t m_iCurSel = 0;

 protected:
  BOOL OnInitDialog() override;
  // CANCEL (the dialog's OK command) ends with 1.
  void OnOK() override { EndDialog(IDOK); }

 private:
  void OnSelect();
  void SaveAndClose();

  std::vector<AddressBookRow> m_Rows;
  ost::ScopedHandle m_hRecordFile;
};
