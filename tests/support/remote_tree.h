// A tree view or list view of another process read and driven from a test: its items' texts, a
// selection, tree items opened along a path.
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

// The children of an item (null: the top level) in the tree's order; depth 0.
std::vector<RemoteTreeItem> TreeChildren(HWND tree, HTREEITEM parent);
// Whether the item shows an expand button.
bool TreeItemHasButton(HWND tree, HTREEITEM item);
// Follows a backslash-separated path from the top level, each component compared
// case-insensitively with the items' texts, expanding every item on the way (as its button
// does); selects the last one when `select`.  Null when a component is not found.
HTREEITEM OpenTreePath(HWND tree, const std::string& path, bool select = true);
// The texts from the top level down to the selected item, each followed by a backslash; empty
// when nothing is selected.
std::string SelectedTreePath(HWND tree);

// Selects and focuses a row of a list view; false when the list's process cannot be reached.
bool SelectListRow(HWND list, int row);
// The text of a list view's cell.
std::string ListCell(HWND list, int row, int column);

}  // namespace testsupport
