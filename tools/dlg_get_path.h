// The folder chooser "Destination Path".  This form takes the folder as typed in its field
// (the drive and network tree comes with the device tools); the chosen folder always ends in
// a backslash.
#pragma once

#include <windows.h>

#include <string>

#include "platform/dialog.h"

class CDlgGetPath : public ost::Dialog {
 public:
  static constexpr UINT kTemplateId = 280;
  static constexpr int kFolderField = 1315;

  explicit CDlgGetPath(HWND parent);

  // The start folder; call before the modal run.
  void SetPath(std::string path) { m_strPath = std::move(path); }
  // The chosen folder after OK (1); the start folder otherwise.
  std::string GetPath() const { return m_strPath; }

 protected:
  void DoDataExchange(ost::DataExchange& dx) override;
  void OnOK() override;

 private:
  std::string m_strPath;
  std::string m_strField;
};
