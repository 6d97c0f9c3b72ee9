// Pages of a property sheet: child dialogs whose window is made when the page is first shown,
// that may refuse to be left, and that keep their edit boxes' typing to what the fields hold.
// Also the report list view the pages list their rows in, and the skin colours of pages.
#ifndef OSTROVA_PLATFORM_PROPERTY_PAGE_H
#define OSTROVA_PLATFORM_PROPERTY_PAGE_H

#include <windows.h>

#include <string>
#include <vector>

#include "platform/dialog.h"
#include "platform/gdi.h"

namespace ost {

// The sheet and its pages: light text on the main window's dark grey.
inline constexpr COLORREF kPageBack = RGB(0x1E, 0x22, 0x28);
inline constexpr COLORREF kPageText = RGB(0xE6, 0xEA, 0xEE);
inline constexpr COLORREF kPageDimText = RGB(0x8A, 0x95, 0xA3);
inline constexpr COLORREF kPageAccent = RGB(0x1F, 0xB5, 0xA8);

class PropertyPage : public Dialog {
 public:
  // templateId: a child dialog template (WS_CHILD | DS_CONTROL); caption: the page's name in
  // the sheet's tree.
  PropertyPage(UINT templateId, std::string caption);

  const std::string& Caption() const { return m_caption; }
  // Creates the page's window, hidden, as a child of sheet. False when it could not be made.
  bool CreatePage(HWND sheet);
  bool IsCreated() const { return m_hWnd != nullptr; }

  // The page is about to be shown; false keeps it hidden.
  virtual bool OnSetActive() { return true; }
  // The page is about to be left; false keeps it shown (the page told the user why).
  virtual bool OnKillActive() { return true; }

  // UpdateData(true); a value out of its range is prompted for and false returned.
  bool SaveControls();

 protected:
  // Edit filters for EN_CHANGE handlers: each rewrites only its own control (so that nothing
  // else the user typed is reset) and puts the caret at the end; values the program loads
  // (IsLoading) pass untouched.
  // A number: digits only, clamped to min..max; an empty or digit-less text is left.
  void FilterNumberEdit(int id, long min, long max);
  // A text cut to maxChars characters.
  void LimitTextEdit(int id, size_t maxChars);

  // The dark skin for the page, its labels, check boxes and radio buttons.
  HBRUSH OnCtlColor(HDC dc, HWND control, UINT type) override;
  BOOL OnInitDialog() override;
  // Enter and Escape belong to the sheet, not to the page.
  void OnOK() override {}
  void OnCancel() override {}

 private:
  std::string m_caption;
  Brush m_back;
};

// A report-style list view: columns, rows of texts, one selected row, in the page skin.
// Columns get the widths asked for; where these do not fit side by side in the list (beside
// the vertical scroll bar once the rows need it), they are narrowed in proportion to fill the
// list's width, so that the list never needs a horizontal scroll bar.
class ListView : public Wnd {
 public:
  // Refers to the dialog's list control id and sets full-row selection and the skin.
  bool AttachDlgItem(int id, HWND dialog);
  void InsertColumn(int column, const std::string& text, int width);
  // Adds a row at the end with its first text; the row's index.
  int AddRow(const std::string& text);
  void SetCell(int row, int column, const std::string& text);
  std::string Cell(int row, int column) const;
  int RowCount() const;
  // The selected row, or -1.
  int SelectedRow() const;
  void SelectRow(int row);
  void DeleteAllRows();

 private:
  // Sets the column widths for the list's current room, when that room changed.
  void FitColumns();
  // The width the columns have without a horizontal scroll bar.
  int ColumnRoom() const;

  std::vector<int> m_askedWidths;
  int m_fittedRoom = -1;
};

}  // namespace ost

#endif  // OSTROVA_PLATFORM_PROPERTY_PAGE_H
