// The address book "IP Address Book": the devices kept in "IPRecord.dat" beside the program,
// one row each, shown as four lists side by side (User, IP Address, Port, Comment) that one
// scroll bar and the lists' own selections keep on the same row.  ADD and EDIT open an entry
// row in place of the buttons; SELECT hands a row's user name, address and port to the caller.
// The rows are saved when the object is destroyed, whatever closed the dialog.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/dialog.h"
#include "platform/gdi.h"
#include "platform/scoped_handle.h"
#include "tools/ip_record.h"

class CAddressBookDialog : public ost::Dialog {
 public:
  static constexpr UINT kTemplateId = 247;
  static constexpr int kScrollBar = 1234;
  static constexpr int kPortList = 1242;
  static constexpr int kUserList = 1232;
  static constexpr int kCommentList = 1235;
  static constexpr int kIpAddressList = 1233;
  static constexpr int kUserField = 1238;
  static constexpr int kIpAddressField = 1042;
  static constexpr int kPortField = 1240;
  static constexpr int kCommentField = 1239;
  static constexpr int kOkButton = 1244;
  static constexpr int kAddButton = 1118;
  static constexpr int kDeleteButton = 1117;
  static constexpr int kEditButton = 1119;
  static constexpr int kSelectButton = 1029;
  // Message texts.
  static constexpr UINT kIdsSelectItem = 4050;
  static constexpr UINT kIdsSelectSetting = 4052;
  static constexpr UINT kIdsPortRange = 4053;
  static constexpr UINT kIdsEmptyUserOrAddress = 4079;
  // Modal result of SELECT.
  static constexpr INT_PTR kSelected = 100;
  static constexpr size_t kMaxUserChars = 15;

  explicit CAddressBookDialog(HWND parent);
  // Saves "IPRecord.dat" with the rows when it was opened and loaded.
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
  // CANCEL and Enter end with 1 without reading the hidden entry row; Enter while the entry
  // row is open confirms it instead.
  void OnOK() override;
  HBRUSH OnCtlColor(HDC dc, HWND control, UINT type) override;

 private:
  enum class EditMode { kNone, kAdd, kEdit };

  bool LoadBook();
  void SaveAndClose();
  void AppendRowToLists(const AddressBookRow& row);
  void SelectRow(int row);
  void UpdateScrollBar();
  void ShowEntryRow(bool show);
  int RowCount() const { return static_cast<int>(m_Rows.size()); }
  int SelectedRow() const;

  void OnAdd();
  void OnDelete();
  void OnEditButton();
  void OnOkButton();
  void OnSelect();
  void OnSelchange(int list);
  LRESULT OnVScroll(WPARAM wp, LPARAM lp);

  void ConfirmAdd();
  void ConfirmEdit();
  // Reads the entry row into the members; false (with the prompt shown) when the port field
  // holds no number.
  bool ReadEntryRow();
  void WriteEntryRow();

  std::vector<AddressBookRow> m_Rows;
  std::string m_strBookPath;
  ost::ScopedHandle m_hRecordFile;
  bool m_fAddMode = false;
  EditMode m_wEditMode = EditMode::kNone;
  int m_iEditRow = -1;  // the row EDIT opened, confirmed whatever the selection does meanwhile
  ost::GdiObject<HBRUSH> m_backBrush;
  ost::GdiObject<HBRUSH> m_listBrush;
};
