#include "tests/support/remote_tree.h"

namespace testsupport {

namespace {

// A page of memory in the process of a window, for messages that carry a pointer.
class RemotePage {
 public:
  explicit RemotePage(HWND window) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    m_process =
        ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (m_process)
      m_at = static_cast<char*>(
          ::VirtualAllocEx(m_process, nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  }
  ~RemotePage() {
    if (m_at) ::VirtualFreeEx(m_process, m_at, 0, MEM_RELEASE);
    if (m_process) ::CloseHandle(m_process);
  }
  RemotePage(const RemotePage&) = delete;
  RemotePage& operator=(const RemotePage&) = delete;

  explicit operator bool() const { return m_at != nullptr; }
  char* At(size_t offset) const { return m_at + offset; }
  void Write(size_t offset, const void* data, size_t size) const {
    ::WriteProcessMemory(m_process, m_at + offset, data, size, nullptr);
  }
  std::string ReadText(size_t offset, size_t size) const {
    std::string text(size, '\0');
    ::ReadProcessMemory(m_process, m_at + offset, text.data(), size, nullptr);
    return text.substr(0, text.find('\0'));
  }

 private:
  HANDLE m_process = nullptr;
  char* m_at = nullptr;
};
}

}  // namespace

std::vector<RemoteTreeItem> RemoteTreeItems(HWND tree) {
  std::vector<RemoteTreeItem> items;
  RemotePage remote(tree);
  if (!remote) return items;
  auto textOf = [&](HTREEITEM item) {
    TVITEMA tv{};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = remote.At(512);
    tv.cchTextMax = 256;
    remote.Write(0, &tv, sizeof tv);
    ::SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(remote.At(0)));
    return remote.ReadText(512, 256);
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

bool SelectListRow(HWND list, int row) {
  RemotePage remote(list);
  if (!remote) return false;
  LVITEMA item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  remote.Write(0, &item, sizeof item);
  return ::SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                        reinterpret_cast<LPARAM>(remote.At(0))) != 0;
}

std::string ListCell(HWND list, int row, int column) {
  RemotePage remote(list);
  if (!remote) return {};
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
