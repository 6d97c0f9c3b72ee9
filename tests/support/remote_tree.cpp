#include "tests/support/remote_tree.h"

namespace testsupport {

namespace {

// Runs fn with a page of memory in the process of window w (for the controls' structures).
template <class Fn>
void WithRemote(HWND w, Fn fn) {
  DWORD pid = 0;
  ::GetWindowThreadProcessId(w, &pid);
  HANDLE process =
      ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
  if (process == nullptr) return;
  auto* remote = static_cast<char*>(
      ::VirtualAllocEx(process, nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  if (remote != nullptr) {
    fn(process, remote);
    ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  }
  ::CloseHandle(process);
}

}  // namespace

std::vector<RemoteTreeItem> RemoteTreeItems(HWND tree) {
  std::vector<RemoteTreeItem> items;
  DWORD pid = 0;
  ::GetWindowThreadProcessId(tree, &pid);
  HANDLE process =
      ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
  if (process == nullptr) return items;
  auto* remote = static_cast<char*>(
      ::VirtualAllocEx(process, nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  auto textOf = [&](HTREEITEM item) {
    TVITEMA tv{};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = remote + 512;
    tv.cchTextMax = 256;
    ::WriteProcessMemory(process, remote, &tv, sizeof tv, nullptr);
    ::SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(remote));
    char text[257] = {};
    ::ReadProcessMemory(process, remote + 512, text, 256, nullptr);
    return std::string(text);
  };
  auto next = [&](HTREEITEM item, UINT how) {
    return reinterpret_cast<HTREEITEM>(
        ::SendMessageA(tree, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(item)));
  };
  for (HTREEITEM top = next(nullptr, TVGN_ROOT); top != nullptr; top = next(top, TVGN_NEXT)) {
    items.push_back({top, 0, textOf(top)});
    for (HTREEITEM child = next(top, TVGN_CHILD); child != nullptr; child = next(child, TVGN_NEXT))
      items.push_back({child, 1, textOf(child)});
  }
  ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  ::CloseHandle(process);
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

std::string ListCell(HWND list, int row, int column) {
  std::string text;
  WithRemote(list, [&](HANDLE process, char* remote) {
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = remote + 512;
    item.cchTextMax = 256;
    ::WriteProcessMemory(process, remote, &item, sizeof item, nullptr);
    ::SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row),
                   reinterpret_cast<LPARAM>(remote));
    char buf[257] = {};
    ::ReadProcessMemory(process, remote + 512, buf, 256, nullptr);
    text = buf;
  });
  return text;
}

void SelectListRow(HWND list, int row) {
  WithRemote(list, [&](HANDLE process, char* remote) {
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    ::WriteProcessMemory(process, remote, &item, sizeof item, nullptr);
    ::SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                   reinterpret_cast<LPARAM>(remote));
  });
}

}  // namespace testsupport
