#include "tests/support/remote_tree.h"

#include <functional>

namespace testsupport {

namespace {

// A page of memory in the process of a tree or list view for the item records it fills in.
class RemoteTree {
 public:
  explicit RemoteTree(HWND tree) : m_tree(tree) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(tree, &pid);
    m_process =
        ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (m_process != nullptr)
      m_remote = static_cast<char*>(
          ::VirtualAllocEx(m_process, nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  }
  ~RemoteTree() {
    if (m_remote != nullptr) ::VirtualFreeEx(m_process, m_remote, 0, MEM_RELEASE);
    if (m_process != nullptr) ::CloseHandle(m_process);
  }
  bool Ok() const { return m_remote != nullptr; }
  char* At(size_t offset) const { return m_remote + offset; }
  void Write(size_t offset, const void* data, size_t size) const {
    ::WriteProcessMemory(m_process, m_remote + offset, data, size, nullptr);
  }
  std::string ReadText(size_t offset, size_t size) const {
    std::string text(size, '\0');
    ::ReadProcessMemory(m_process, m_remote + offset, text.data(), size, nullptr);
    return text.substr(0, text.find('\0'));
  }

  std::string TextOf(HTREEITEM item) {
    TVITEMA tv{};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = m_remote + 512;
    tv.cchTextMax = 256;
    ::WriteProcessMemory(m_process, m_remote, &tv, sizeof tv, nullptr);
    ::SendMessageA(m_tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(m_remote));
    char text[257] = {};
    ::ReadProcessMemory(m_process, m_remote + 512, text, 256, nullptr);
    return std::string(text);
  }
  int ChildCount(HTREEITEM item) {
    TVITEMA tv{};
    tv.mask = TVIF_CHILDREN;
    tv.hItem = item;
    ::WriteProcessMemory(m_process, m_remote, &tv, sizeof tv, nullptr);
    ::SendMessageA(m_tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(m_remote));
    ::ReadProcessMemory(m_process, m_remote, &tv, sizeof tv, nullptr);
    return tv.cChildren;
  }
  HTREEITEM Next(HTREEITEM item, UINT how) {
    return reinterpret_cast<HTREEITEM>(
        ::SendMessageA(m_tree, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(item)));
  }

 private:
  HWND m_tree;
  HANDLE m_process = nullptr;
  char* m_remote = nullptr;
};

}  // namespace

std::vector<RemoteTreeItem> RemoteTreeItems(HWND tree) {
  std::vector<RemoteTreeItem> items;
  RemoteTree remote(tree);
  if (!remote.Ok()) return items;
  for (HTREEITEM top = remote.Next(nullptr, TVGN_ROOT); top != nullptr;
       top = remote.Next(top, TVGN_NEXT)) {
    items.push_back({top, 0, remote.TextOf(top)});
    for (HTREEITEM child = remote.Next(top, TVGN_CHILD); child != nullptr;
         child = remote.Next(child, TVGN_NEXT))
      items.push_back({child, 1, remote.TextOf(child)});
  }
  return items;
}

std::vector<std::string> TreeLines(HWND tree) {
  std::vector<std::string> lines;
  for (const RemoteTreeItem& i : RemoteTreeItems(tree))
    lines.push_back(i.depth ? "  " + i.text : i.text);
  return lines;
}

bool SelectTreeItem(HWND tree, const std::string& text) {
  for (const RemoteTreeItem& i : RemoteTreeItems(tree)) {
    if (i.text != text) continue;
    ::SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(i.item));
    return true;
  }
  return false;
}

std::vector<RemoteTreeItem> TreeChildren(HWND tree, HTREEITEM parent) {
  std::vector<RemoteTreeItem> items;
  RemoteTree remote(tree);
  if (!remote.Ok()) return items;
  for (HTREEITEM i = parent ? remote.Next(parent, TVGN_CHILD) : remote.Next(nullptr, TVGN_ROOT);
       i != nullptr; i = remote.Next(i, TVGN_NEXT))
    items.push_back({i, 0, remote.TextOf(i)});
  return items;
}

bool TreeItemHasButton(HWND tree, HTREEITEM item) {
  RemoteTree remote(tree);
  return remote.Ok() && remote.ChildCount(item) != 0;
}

HTREEITEM OpenTreePath(HWND tree, const std::string& path, bool select) {
  HTREEITEM at = nullptr;
  size_t start = 0;
  while (start < path.size()) {
    size_t end = path.find('\\', start);
    if (end == std::string::npos) end = path.size();
    const std::string component = path.substr(start, end - start);
    start = end + 1;
    if (component.empty()) break;
    if (at != nullptr) ::SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(at));
    HTREEITEM found = nullptr;
    for (const RemoteTreeItem& i : TreeChildren(tree, at))
      if (::lstrcmpiA(i.text.c_str(), component.c_str()) == 0) found = i.item;
    if (found == nullptr) return nullptr;
    at = found;
  }
  if (at != nullptr && select)
    ::SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(at));
  return at;
}

std::string SelectedTreePath(HWND tree) {
  RemoteTree remote(tree);
  if (!remote.Ok()) return {};
  std::string path;
  for (HTREEITEM i = remote.Next(nullptr, TVGN_CARET); i != nullptr;
       i = remote.Next(i, TVGN_PARENT))
    path.insert(0, remote.TextOf(i) + "\\");
  return path;
}

bool SelectListRow(HWND list, int row) {
  RemoteTree remote(list);
  if (!remote.Ok()) return false;
  LVITEMA item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  remote.Write(0, &item, sizeof item);
  return ::SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                        reinterpret_cast<LPARAM>(remote.At(0))) != 0;
}

std::string ListCell(HWND list, int row, int column) {
  RemoteTree remote(list);
  if (!remote.Ok()) return {};
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = remote.At(512);
  item.cchTextMax = 256;
  remote.Write(0, &item, sizeof item);
  ::SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(remote.At(0)));
  return remote.ReadText(512, 256);
}

}  // namespace testsupport
