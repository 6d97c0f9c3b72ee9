// A tree view or list view of another process read and driven from a test: item texts, a
// selection.
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

// Selects and focuses a row of a list view; false when the list's process cannot be reached.
bool SelectListRow(HWND list, int row);
// The text of a list view's cell.
std::string ListCell(HWND list, int row, int column);

}  // namespace testsupport
