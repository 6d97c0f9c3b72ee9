#include "tools/address_book_dialog.h"

#include <cstdio>
#include <utility>

#include "app/app_data.h"
#include "platform/message_box.h"
#include "platform/trace_log.h"
#include "res/resource.h"
#include "tools/ip_record_store.h"

namespace {

constexpr int kLists[] = {CAddressBookDialog::kUserList, CAddressBookDialog::kIpAddressList,
                          CAddressBookDialog::kPortList, CAddressBookDialog::kCommentList};
constexpr int kEntryRow[] = {CAddressBookDialog::kUserField, CAddressBookDialog::kIpAddressField,
                             CAddressBookDialog::kPortField, CAddressBookDialog::kCommentField,
                             CAddressBookDialog::kOkButton};
constexpr int kButtonRow[] = {CAddressBookDialog::kAddButton, CAddressBookDialog::kDeleteButton,
                              CAddressBookDialog::kSelectButton, IDOK,
                              CAddressBookDialog::kEditButton};
// Rows shown at once; from this many on, the scroll bar is needed.
constexpr int kScrollFrom = 11;
constexpr int kPageRows = 5;
constexpr int kIpColumnWidth = 300;
constexpr COLORREF kBack = RGB(0x1E, 0x22, 0x28);
constexpr int kMinPort = 1;
constexpr int kMaxPort = 9999;

std::string PortText(unsigned port) {
  char text[16];
  std::snprintf(text, sizeof text, "%u", port);
  return text;
}

enum class PortParse { kOk, kNotANumber, kOutOfRange };

// The port field holds digits only (the control refuses others), but may be empty or long.
PortParse ParsePortField(const std::string& text, int& port) {
  if (text.empty()) return PortParse::kNotANumber;
  long long value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return PortParse::kNotANumber;
    value = value * 10 + (c - '0');
    if (value > kMaxPort) return PortParse::kOutOfRange;
  }
  port = static_cast<int>(value);
  return value < kMinPort ? PortParse::kOutOfRange : PortParse::kOk;
}

}  // namespace

CAddressBookDialog::CAddressBookDialog(HWND parent) : ost::Dialog(kTemplateId, parent) {
  MapCommand(kAddButton, &CAddressBookDialog::OnAdd);
  MapCommand(kDeleteButton, &CAddressBookDialog::OnDelete);
  MapCommand(kEditButton, &CAddressBookDialog::OnEditButton);
  MapCommand(kOkButton, &CAddressBookDialog::OnOkButton);
  MapCommand(kSelectButton, &CAddressBookDialog::OnSelect);
  for (int list : kLists) MapNotify(list, LBN_SELCHANGE, [this, list] { OnSelchange(list); });
  MapMessage(WM_VSCROLL, &CAddressBookDialog::OnVScroll);
}

CAddressBookDialog::~CAddressBookDialog() {
  SaveAndClose();
}

BOOL CAddressBookDialog::OnInitDialog() {
  ost::Dialog::OnInitDialog();
  m_backBrush = ost::Brush(::CreateSolidBrush(kBack));
  m_listBrush = ost::Brush(::CreateSolidBrush(ost::kEditBack));
  ::EnableWindow(GetDlgItem(kScrollBar), FALSE);
  ShowEntryRow(false);
  ::SendDlgItemMessageA(m_hWnd, kUserField, EM_LIMITTEXT, kMaxUserChars, 0);
  // Each list shows one column at a time, so all four show the same block of rows.
  for (int list : kLists) {
    RECT client{};
    ::GetClientRect(GetDlgItem(list), &client);
    const int width = list == kIpAddressList ? kIpColumnWidth : client.right + 1;
    ::SendDlgItemMessageA(m_hWnd, list, LB_SETCOLUMNWIDTH, static_cast<WPARAM>(width), 0);
  }
  if (!LoadBook()) EndDialog(-1);
  return TRUE;
}

bool CAddressBookDialog::LoadBook() {
  m_strBookPath = g_lpApp->m_Settings.m_strExeDir + "IPRecord.dat";
  ost::ScopedHandle file(::CreateFileA(m_strBookPath.c_str(), GENERIC_READ | GENERIC_WRITE,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    DebugTrace("Create File failed,error is %lu \n", ::GetLastError());
    return false;
  }
  LARGE_INTEGER size{};
  std::vector<uint8_t> image;
  bool read = ::GetFileSizeEx(file.Get(), &size) != FALSE && size.QuadPart >= 0 &&
              size.QuadPart <= 64 * 1024 * 1024;
  if (read) {
    // Only whole records are read.
    image.resize(static_cast<size_t>(size.QuadPart) / kIpRecordSize * kIpRecordSize);
    DWORD got = 0;
    read = image.empty() || (::ReadFile(file.Get(), image.data(), static_cast<DWORD>(image.size()),
                                        &got, nullptr) != FALSE &&
                             got == image.size());
  }
  if (!read) {
    DebugTrace("CAddressBookDialog::OnInitDialog() : Read record file is failed,error is %lu \n",
               ::GetLastError());
    return false;
  }
  if (!DecodeIpRecords(image.data(), image.size(), m_Rows)) {
    DebugTrace("CAddressBookDialog::OnInitDialog() : lpIPRecord->dwCheckCodeForUse is  %lx \n",
               0ul);
    return false;
  }
  m_hRecordFile = std::move(file);
  for (const AddressBookRow& row : m_Rows) AppendRowToLists(row);
  if (!m_Rows.empty()) {
    UpdateScrollBar();
    SelectRow(RowCount() - 1);
  }
  return true;
}

void CAddressBookDialog::SaveAndClose() {
  if (!m_hRecordFile) return;
  // The held handle is closed first so that the new book can take the file's name.
  m_hRecordFile.Reset();
  unsigned long error = 0;
  if (!ReplaceFileContents(m_strBookPath, EncodeIpRecords(m_Rows), &error)) {
    DebugTrace("Write the record file is failed,error is %lu \n", error);
    // The old book is still whole; the user learns that the changes were not kept.
    const std::string text = m_strBookPath + " could not be saved; it keeps its earlier rows.";
    OstMessageBox(text.c_str(), MB_OK | MB_ICONEXCLAMATION);
  }
  m_Rows.clear();
}

void CAddressBookDialog::AppendRowToLists(const AddressBookRow& row) {
  ::SendDlgItemMessageA(m_hWnd, kUserList, LB_ADDSTRING, 0,
                        reinterpret_cast<LPARAM>(row.strUser.c_str()));
  ::SendDlgItemMessageA(m_hWnd, kCommentList, LB_ADDSTRING, 0,
                        reinterpret_cast<LPARAM>(row.strComment.c_str()));
  ::SendDlgItemMessageA(m_hWnd, kIpAddressList, LB_ADDSTRING, 0,
                        reinterpret_cast<LPARAM>(row.strIpAddress.c_str()));
  const std::string port = PortText(row.wMajorPort);
  ::SendDlgItemMessageA(m_hWnd, kPortList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(port.c_str()));
}

void CAddressBookDialog::SelectRow(int row) {
  for (int list : kLists)
    ::SendDlgItemMessageA(m_hWnd, list, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
}

int CAddressBookDialog::SelectedRow() const {
  const LRESULT k = ::SendDlgItemMessageA(m_hWnd, kUserList, LB_GETCURSEL, 0, 0);
  return k >= 0 && k < RowCount() ? static_cast<int>(k) : -1;
}

void CAddressBookDialog::UpdateScrollBar() {
  HWND bar = GetDlgItem(kScrollBar);
  const int n = RowCount();
  ::SetScrollRange(bar, SB_CTL, 0, n > 0 ? n - 1 : 0, FALSE);
  ::SetScrollPos(bar, SB_CTL, n > 0 ? n - 1 : 0, TRUE);
  ::EnableWindow(bar, n >= kScrollFrom && m_wEditMode != EditMode::kEdit);
}

void CAddressBookDialog::ShowEntryRow(bool show) {
  for (int id : kEntryRow) ::ShowWindow(GetDlgItem(id), show ? SW_SHOW : SW_HIDE);
  for (int id : kButtonRow) ::ShowWindow(GetDlgItem(id), show ? SW_HIDE : SW_SHOW);
  if (show) ::SetFocus(GetDlgItem(kUserField));
}

void CAddressBookDialog::WriteEntryRow() {
  ::SetDlgItemTextA(m_hWnd, kCommentField, m_strComment.c_str());
  ::SetDlgItemTextA(m_hWnd, kUserField, m_strUser.c_str());
  ::SetDlgItemTextA(m_hWnd, kIpAddressField, m_strIpAddress.c_str());
  ::SetDlgItemTextA(m_hWnd, kPortField, PortText(static_cast<unsigned>(m_iMajorPort)).c_str());
}

bool CAddressBookDialog::ReadEntryRow() {
  auto text = [this](int id) {
    char buffer[256] = {};
    ::GetDlgItemTextA(m_hWnd, id, buffer, sizeof buffer);
    return std::string(buffer);
  };
  m_strComment = text(kCommentField);
  m_strUser = text(kUserField).substr(0, kMaxUserChars);
  m_strIpAddress = text(kIpAddressField);
  int port = 0;
  switch (ParsePortField(text(kPortField), port)) {
    case PortParse::kOk:
      m_iMajorPort = port;
      return true;
    case PortParse::kOutOfRange:
      m_iMajorPort = 0;  // refused by the range check
      return true;
    case PortParse::kNotANumber:
      break;
  }
  OstMessageBoxId(IDS_ENTER_INTEGER, MB_OK | MB_ICONEXCLAMATION);
  ::SetFocus(GetDlgItem(kPortField));
  return false;
}

void CAddressBookDialog::OnAdd() {
  m_wEditMode = EditMode::kAdd;
  if (!m_fAddMode) {
    ShowEntryRow(true);
    m_fAddMode = true;
    return;
  }
  ConfirmAdd();
}

void CAddressBookDialog::ConfirmAdd() {
  m_fAddMode = false;
  m_wEditMode = EditMode::kNone;
  ShowEntryRow(false);
  if (!ReadEntryRow()) return;
  if (m_strUser.empty() || m_strIpAddress.empty()) {
    OstMessageBoxId(kIdsEmptyUserOrAddress);
    return;
  }
  if (m_iMajorPort < kMinPort || m_iMajorPort > kMaxPort) {
    OstMessageBoxId(kIdsPortRange);
    return;
  }
  m_strMajorPort = PortText(static_cast<unsigned>(m_iMajorPort));
  AddressBookRow row{m_strUser, m_strIpAddress, m_strComment, static_cast<uint16_t>(m_iMajorPort)};
  AppendRowToLists(row);
  m_Rows.push_back(std::move(row));
  UpdateScrollBar();
  SelectRow(RowCount() - 1);
}

void CAddressBookDialog::OnEditButton() {
  const int k = SelectedRow();
  if (k < 0) {
    OstMessageBoxId(kIdsSelectSetting);
    return;
  }
  m_wEditMode = EditMode::kEdit;
  m_iEditRow = k;
  const AddressBookRow& row = m_Rows[static_cast<size_t>(k)];
  m_strUser = row.strUser;
  m_strIpAddress = row.strIpAddress;
  m_strMajorPort = PortText(row.wMajorPort);
  m_strComment = row.strComment;
  m_iMajorPort = row.wMajorPort;
  WriteEntryRow();
  ShowEntryRow(true);
  // Neither the lists nor the scroll bar may move the selection while the row is edited.
  for (int list : kLists) ::EnableWindow(GetDlgItem(list), FALSE);
  ::EnableWindow(GetDlgItem(kScrollBar), FALSE);
}

void CAddressBookDialog::ConfirmEdit() {
  const int k = m_iEditRow;
  // A refused port keeps the row open for correction and changes nothing.
  if (!ReadEntryRow()) return;
  if (m_iMajorPort < kMinPort || m_iMajorPort > kMaxPort) {
    OstMessageBoxId(kIdsPortRange);
    ::SetFocus(GetDlgItem(kPortField));
    return;
  }
  m_strMajorPort = PortText(static_cast<unsigned>(m_iMajorPort));
  if (k >= 0 && k < RowCount()) {
    AddressBookRow& row = m_Rows[static_cast<size_t>(k)];
    row = AddressBookRow{m_strUser, m_strIpAddress, m_strComment,
                         static_cast<uint16_t>(m_iMajorPort)};
    const std::string* texts[] = {&row.strUser, &row.strIpAddress, &m_strMajorPort,
                                  &row.strComment};
    for (size_t i = 0; i < 4; ++i) {
      ::SendDlgItemMessageA(m_hWnd, kLists[i], LB_DELETESTRING, static_cast<WPARAM>(k), 0);
      ::SendDlgItemMessageA(m_hWnd, kLists[i], LB_INSERTSTRING, static_cast<WPARAM>(k),
                            reinterpret_cast<LPARAM>(texts[i]->c_str()));
    }
  }
  m_wEditMode = EditMode::kNone;
  m_iEditRow = -1;
  ShowEntryRow(false);
  for (int list : kLists) ::EnableWindow(GetDlgItem(list), TRUE);
  ::EnableWindow(GetDlgItem(kScrollBar), RowCount() >= kScrollFrom);
  if (k >= 0) {
    SelectRow(k);
    ::SetScrollPos(GetDlgItem(kScrollBar), SB_CTL, k, TRUE);
  }
}

void CAddressBookDialog::OnOkButton() {
  if (m_wEditMode == EditMode::kEdit)
    ConfirmEdit();
  else if (m_wEditMode == EditMode::kAdd && m_fAddMode)
    ConfirmAdd();
}

void CAddressBookDialog::OnDelete() {
  const int k = SelectedRow();
  if (k < 0) {
    OstMessageBoxId(kIdsSelectSetting);
    return;
  }
  m_Rows.erase(m_Rows.begin() + k);
  for (int list : kLists)
    ::SendDlgItemMessageA(m_hWnd, list, LB_DELETESTRING, static_cast<WPARAM>(k), 0);
  if (!m_Rows.empty()) {
    UpdateScrollBar();
    SelectRow(RowCount() - 1);
  }
}

void CAddressBookDialog::OnSelect() {
  m_iCurSel = SelectedRow();
  if (m_iCurSel < 0) {
    OstMessageBoxId(kIdsSelectItem);
    return;
  }
  const AddressBookRow& row = m_Rows[static_cast<size_t>(m_iCurSel)];
  m_strUser = row.strUser;
  m_strComment = row.strComment;
  m_strIpAddress = row.strIpAddress;
  m_strMajorPort = PortText(row.wMajorPort);
  m_iMajorPort = row.wMajorPort;
  EndDialog(kSelected);
}

void CAddressBookDialog::OnSelchange(int list) {
  if (m_wEditMode == EditMode::kEdit) return;
  const LRESULT k = ::SendDlgItemMessageA(m_hWnd, list, LB_GETCURSEL, 0, 0);
  m_iCurSel = static_cast<int32_t>(k);
  if (k != LB_ERR && k < RowCount()) {
    for (int other : kLists)
      if (other != list)
        ::SendDlgItemMessageA(m_hWnd, other, LB_SETCURSEL, static_cast<WPARAM>(k), 0);
    ::SetScrollPos(GetDlgItem(kScrollBar), SB_CTL, static_cast<int>(k), TRUE);
  }
  ::EnableWindow(GetDlgItem(kScrollBar), RowCount() >= kScrollFrom);
}

LRESULT CAddressBookDialog::OnVScroll(WPARAM wp, LPARAM lp) {
  HWND bar = GetDlgItem(kScrollBar);
  if (reinterpret_cast<HWND>(lp) == bar && m_wEditMode != EditMode::kEdit) {
    int p = ::GetScrollPos(bar, SB_CTL);
    switch (LOWORD(wp)) {
      case SB_LINEUP:
        p -= 1;
        break;
      case SB_LINEDOWN:
        p += 1;
        break;
      case SB_PAGEUP:
        p -= kPageRows;
        break;
      case SB_PAGEDOWN:
        p += kPageRows;
        break;
      case SB_THUMBPOSITION:
      case SB_THUMBTRACK:
        p = static_cast<short>(HIWORD(wp));
        break;
      default:
        break;
    }
    const int n = RowCount();
    if (p > n - 1)
      p = n - 1;
    else if (p < 0)
      p = 0;
    if (n > 0) {
      ::SetScrollPos(bar, SB_CTL, p, TRUE);
      SelectRow(p);
    }
  }
  return Default();
}

void CAddressBookDialog::OnOK() {
  if (m_wEditMode != EditMode::kNone) {
    OnOkButton();
    return;
  }
  EndDialog(IDOK);
}

HBRUSH CAddressBookDialog::OnCtlColor(HDC dc, HWND control, UINT type) {
  switch (type) {
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORSCROLLBAR:
      ::SetTextColor(dc, ost::kEditText);
      ::SetBkColor(dc, kBack);
      return m_backBrush.Get();
    case WM_CTLCOLORLISTBOX:
      ::SetTextColor(dc, ost::kEditText);
      ::SetBkColor(dc, ost::kEditBack);
      return m_listBrush.Get();
    default:
      return ost::Dialog::OnCtlColor(dc, control, type);
  }
}
