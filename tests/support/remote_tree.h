// Tree and list views of another process read and driven from a test: items' texts, a selection.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

namespace testsupport {

struct RemoteTreeItem {
  HTREEITEM item;
  int depth;  // 0 top level, 1 below it
  std::string text;
};

// The items of the top level and the one below it, depth first.
std::vector<RemoteTreeItem> RemoteTreeItems(HWND tree);
// The texts depth first, children indented by two blanks.
std::vector<std::string> TreeLines(HWND tree);
// Selects the first item with this text; false when there is none.
bool SelectTreeItem(HWND tree, const std::string& text);

// A report list's cell text.
std::string ListCell(HWND list, int row, int column);
// Selects and focuses a report list's row.
void SelectListRow(HWND list, int row);

}  // namespace testsupport
