#include "tools/dlg_get_path.h"

CDlgGetPath::CDlgGetPath(HWND parent) : ost::Dialog(kTemplateId, parent) {}

void CDlgGetPath::DoDataExchange(ost::DataExchange& dx) {
  if (!dx.IsSaving()) m_strField = m_strPath;
  dx.Text(kFolderField, m_strField, MAX_PATH);
}

void CDlgGetPath::OnOK() {
  if (!UpdateData(true) || m_strField.empty()) return;
  m_strPath = m_strField;
  if (m_strPath.back() != '\\') m_strPath += '\\';
  EndDialog(IDOK);
}
