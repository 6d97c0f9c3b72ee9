#include "tools/address_book_dialog.h"

#include <cstdio>
#include <utility>

#include "app/app_data.h"
#include "platform/trace_log.h"
#include "platform/controls.h"
#include "platform/message_box.h"

namespace {
std::string RowText(const AddressBookRow& row) {
  char port[16];
  std::snprintf(port, sizeof port, "%u", row.wMajorPort);
  return row.strUser + "    " + row.strIpAddress + ":" + port + "    " + row.strComment;
}
}  // namespace

CAddressBookDialog::CAddressBookDialog(HWND parent) : ost::Dialog(kTemplateId, parent) {
  MapCommand(kSelectButton, &CAddressBookDialog::OnSelect);
}

CAddressBookDialog::~CAddressBookDialog() {
  SaveAndClose();
}

BOOL CAddressBookDialog::OnInitDialog() {
  ost::Dialog::OnInitDialog();
  const std::string path = g_lpApp->m_Settings.m_strExeDir + "IPRecord.dat";
  ost::ScopedHandle file(::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    DebugTrace("Create File failed,error is %lu \n", ::GetLastError());
    EndDialog(-1);
    return TRUE;
  }
  LARGE_INTEGER size{};
  std::vector<uint8_t> image;
  bool read = ::GetFileSizeEx(file.Get(), &size) != FALSE && size.QuadPart >= 0 &&
              size.QuadPart <= 64 * 1024 * 1024;
  if (read) {
    image.resize(static_cast<size_t>(size.QuadPart));
    DWORD got = 0;
    read = image.empty() || (::ReadFile(file.Get(), image.data(), static_cast<DWORD>(image.size()),
                                        &got, nullptr) != FALSE &&
                             got == image.size());
  }
  if (!read || !DecodeIpRecords(image.data(), image.size(), m_Rows)) {
    DebugTrace("CAddressBookDialog::OnInitDialog() : Read record file is failed,error is %lu \n",
               ::GetLastError());
    EndDialog(-1);
    return TRUE;
  }
  m_hRecordFile = std::move(file);
  ost::ListBox list;
  list.Attach(GetDlgItem(kRowList));
  for (const AddressBookRow& row : m_Rows) list.AddString(RowText(row));
  if (!m_Rows.empty()) list.SetCurSel(static_cast<int>(m_Rows.size()) - 1);
  list.Detach();
  return TRUE;
}

void CAddressBookDialog::OnSelect() {
  ost::ListBox list;
  list.Attach(GetDlgItem(kRowList));
  m_iCurSel = list.GetCurSel();
  list.Detach();
  if (m_iCurSel < 0 || static_cast<size_t>(m_iCurSel) >= m_Rows.size()) {
    OstMessageBox("Please select an item");
    return;
  }
  const AddressBookRow& row = m_Rows[static_cast<size_t>(m_iCurSel)];
  m_strUser = row.strUser;
  m_strComment = row.strComment;
  m_strIpAddress = row.strIpAddress;
  m_strMajorPort = std::to_string(row.wMajorPort);
  m_iMajorPort = row.wMajorPort;
  EndDialog(kSelected);
}

void CAddressBookDialog::SaveAndClose() {
  if (!m_hRecordFile) return;
  const std::vector<uint8_t> image = EncodeIpRecords(m_Rows);
  ::SetFilePointer(m_hRecordFile.Get(), 0, nullptr, FILE_BEGIN);
  ::SetEndOfFile(m_hRecordFile.Get());
  DWORD written = 0;
  if (!image.empty() && !::WriteFile(m_hRecordFile.Get(), image.data(),
                                     static_cast<DWORD>(image.size()), &written, nullptr))
    DebugTrace("Write the record file is failed,error is %lu \n", ::GetLastError());
  m_hRecordFile.Reset();
}
