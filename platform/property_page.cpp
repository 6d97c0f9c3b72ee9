#include "platform/property_page.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/message_box.h"
#include "text/field_filter.h"

namespace ost {

PropertyPage::PropertyPage(UINT templateId, std::string caption)
    : Dialog(templateId, nullptr), m_caption(std::move(caption)) {}

bool PropertyPage::CreatePage(HWND sheet) {
  if (m_hWnd != nullptr) return true;
  SetParentWindow(sheet);
  if (!m_back.Get()) m_back = SolidBrush(kPageBack);
  return Create();
}

BOOL PropertyPage::OnInitDialog() {
  return Dialog::OnInitDialog();
}

bool PropertyPage::SaveControls() {
  if (UpdateData(true)) return true;
  if (!LastPrompt().empty()) OstMessageBox(LastPrompt().c_str(), MB_OK | MB_ICONEXCLAMATION);
  return false;
}

void PropertyPage::FilterNumberEdit(int id, long min, long max) {
  if (IsLoading()) return;
  HWND edit = GetDlgItem(id);
  if (edit == nullptr) return;
  if (auto text = FilterNumberText(WindowText(edit), min, max)) {
    SetWindowTextIfChanged(edit, *text);
    const auto end = static_cast<LPARAM>(text->size());
    ::SendMessageA(edit, EM_SETSEL, static_cast<WPARAM>(end), end);
  }
}

void PropertyPage::LimitTextEdit(int id, size_t maxChars) {
  if (IsLoading()) return;
  HWND edit = GetDlgItem(id);
  if (edit == nullptr) return;
  if (auto text = LimitFieldText(WindowText(edit), maxChars)) {
    SetWindowTextIfChanged(edit, *text);
    const auto end = static_cast<LPARAM>(text->size());
    ::SendMessageA(edit, EM_SETSEL, static_cast<WPARAM>(end), end);
  }
}

HBRUSH PropertyPage::OnCtlColor(HDC dc, HWND control, UINT type) {
  if (type == WM_CTLCOLORDLG) return m_back.Get();
  if (type == WM_CTLCOLORSTATIC || type == WM_CTLCOLORBTN) {
    HBRUSH edit = Dialog::OnCtlColor(dc, control, type);
    char name[16] = {};
    ::GetClassNameA(control, name, sizeof name);
    if (::lstrcmpiA(name, "Edit") == 0) return edit;
    ::SetTextColor(dc, ::IsWindowEnabled(control) ? kPageText : kPageDimText);
    ::SetBkColor(dc, kPageBack);
    ::SetBkMode(dc, TRANSPARENT);
    return m_back.Get();
  }
  return Dialog::OnCtlColor(dc, control, type);
}

bool ListView::AttachDlgItem(int id, HWND dialog) {
  HWND list = ::GetDlgItem(dialog, id);
  if (list == nullptr) return false;
  Attach(list);
  Send(LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  Send(LVM_SETBKCOLOR, 0, RGB(0x24, 0x29, 0x31));
  Send(LVM_SETTEXTBKCOLOR, 0, RGB(0x24, 0x29, 0x31));
  Send(LVM_SETTEXTCOLOR, 0, kPageText);
  return true;
}

void ListView::InsertColumn(int column, const std::string& text, int width) {
  LVCOLUMNA c{};
  c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
  c.pszText = const_cast<char*>(text.c_str());
  c.cx = width;
  c.iSubItem = column;
  const auto at = static_cast<int>(
      Send(LVM_INSERTCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&c)));
  if (at < 0) return;
  m_askedWidths.insert(m_askedWidths.begin() + std::min<size_t>(at, m_askedWidths.size()), width);
  m_fittedRoom = -1;
  FitColumns();
}

int ListView::ColumnRoom() const {
  RECT client{};
  ::GetClientRect(m_hWnd, &client);
  const auto style = static_cast<DWORD>(::GetWindowLongPtrA(m_hWnd, GWL_STYLE));
  // The client area without either scroll bar.
  const int width = client.right + ((style & WS_VSCROLL) ? ::GetSystemMetrics(SM_CXVSCROLL) : 0);
  const int height = client.bottom + ((style & WS_HSCROLL) ? ::GetSystemMetrics(SM_CYHSCROLL) : 0);
  const int rows = RowCount();
  if (rows == 0) return width;
  int header = 0;
  if (HWND h = reinterpret_cast<HWND>(Send(LVM_GETHEADER)); h && ::IsWindowVisible(h)) {
    RECT r{};
    ::GetWindowRect(h, &r);
    header = r.bottom - r.top;
  }
  RECT item{};
  item.left = LVIR_BOUNDS;
  Send(LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
  const int rowHeight = std::max(1, static_cast<int>(item.bottom - item.top));
  const bool vertical = header + rows * rowHeight > height;
  return width - (vertical ? ::GetSystemMetrics(SM_CXVSCROLL) : 0);
}

void ListView::FitColumns() {
  if (m_hWnd == nullptr || m_askedWidths.empty()) return;
  const int room = ColumnRoom();
  if (room == m_fittedRoom) return;
  m_fittedRoom = room;
  int asked = 0;
  for (int w : m_askedWidths) asked += w;
  const bool fits = asked <= room;
  int left = room;
  for (size_t i = 0; i < m_askedWidths.size(); ++i) {
    int width = m_askedWidths[i];
    if (!fits) {
      // In proportion; the last column takes what the roundings left.
      width = i + 1 == m_askedWidths.size()
                  ? left
                  : static_cast<int>(static_cast<long long>(width) * room / std::max(asked, 1));
      width = std::max(width, 1);
      left -= width;
    }
    if (Send(LVM_GETCOLUMNWIDTH, i) != width) Send(LVM_SETCOLUMNWIDTH, i, MAKELPARAM(width, 0));
  }
}

int ListView::AddRow(const std::string& text) {
  LVITEMA item{};
  item.mask = LVIF_TEXT;
  item.iItem = RowCount();
  item.pszText = const_cast<char*>(text.c_str());
  const auto row = static_cast<int>(Send(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
  FitColumns();
  return row;
}

void ListView::SetCell(int row, int column, const std::string& text) {
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = const_cast<char*>(text.c_str());
  Send(LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

std::string ListView::Cell(int row, int column) const {
  char buffer[260] = {};
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = buffer;
  item.cchTextMax = sizeof buffer;
  Send(LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  return buffer;
}

int ListView::RowCount() const {
  return static_cast<int>(Send(LVM_GETITEMCOUNT));
}

int ListView::SelectedRow() const {
  return static_cast<int>(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void ListView::SelectRow(int row) {
  LVITEMA item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  Send(LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void ListView::DeleteAllRows() {
  Send(LVM_DELETEALLITEMS);
  FitColumns();
}

}  // namespace ost
