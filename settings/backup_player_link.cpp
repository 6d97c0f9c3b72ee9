#include "settings/backup_player_link.h"

#include <cstdio>
#include <cstring>

#include "session/player_launch_text.h"

namespace {

constexpr UINT kCopyDataTimeoutMs = 5000;

bool SendCopyData(HWND to, HWND from, ULONG_PTR kind, const std::string& text, size_t size) {
  std::string bytes(size, '\0');
  std::memcpy(bytes.data(), text.data(), std::min(text.size(), size - 1));
  COPYDATASTRUCT data{kind, static_cast<DWORD>(size), bytes.data()};
  DWORD_PTR result = 0;
  return ::SendMessageTimeoutA(to, WM_COPYDATA, reinterpret_cast<WPARAM>(from),
                               reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG,
                               kCopyDataTimeoutMs, &result) != 0;
}

}  // namespace

BackupPlayerLink& ThePlayerLink() {
  static BackupPlayerLink link;
  return link;
}

HWND BackupPlayerLink::FindProcessWindow(DWORD pid) {
  struct Search {
    DWORD pid;
    HWND first = nullptr, best = nullptr;
  } search{pid};
  ::EnumWindows(
      [](HWND w, LPARAM p) -> BOOL {
        auto* s = reinterpret_cast<Search*>(p);
        DWORD owner = 0;
        ::GetWindowThreadProcessId(w, &owner);
        if (owner != s->pid) return TRUE;
        if (!s->first) s->first = w;
        if (::IsWindowVisible(w) && ::GetWindow(w, GW_OWNER) == nullptr) {
          s->best = w;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.best ? search.best : search.first;
}

void BackupPlayerLink::CheckAlive() {
  const HWND w = m_window.load();
  if (!w) return;
  DWORD pid = 0;
  if (!::IsWindow(w) || (::GetWindowThreadProcessId(w, &pid), pid != m_pid)) Forget();
}

PlayerLinkResult BackupPlayerLink::Follow(const std::string& exeDir, const std::string& path,
                                          HWND from) {
  if (HWND w = m_window.load()) {
    if (SendCopyData(w, from, 1, path, 1024)) return PlayerLinkResult::kFollowing;
    Forget();
    return PlayerLinkResult::kNotStarted;
  }
  std::string commandLine = path + " DYNAMICLOAD=1";
  if (commandLine.size() > kPlayerCommandLineMax) return PlayerLinkResult::kCommandTooLong;
  char name[32];
  std::snprintf(name, sizeof name, "NETWORKBK_%lu", static_cast<unsigned long>(::GetTickCount()));
  m_mutex = ::CreateMutexA(nullptr, FALSE, name);
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  const std::string program = PlayerProgramPath(exeDir);
  if (!::CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                        CREATE_DEFAULT_ERROR_MODE | CREATE_NEW_PROCESS_GROUP | HIGH_PRIORITY_CLASS,
                        nullptr, nullptr, &si, &pi)) {
    Forget();
    return PlayerLinkResult::kNotStarted;
  }
  ::CloseHandle(pi.hThread);
  m_process = pi.hProcess;
  m_pid = pi.dwProcessId;
  ::WaitForInputIdle(m_process, 10000);
  // The window may come a moment after the input queue is idle.
  HWND w = nullptr;
  for (int i = 0; i < 200 && !(w = FindProcessWindow(m_pid)); ++i) {
    if (::WaitForSingleObject(m_process, 50) == WAIT_OBJECT_0) break;
  }
  if (!w || !SendCopyData(w, from, 2, name, 32)) {
    Forget();
    return PlayerLinkResult::kNotStarted;
  }
  m_window = w;
  return PlayerLinkResult::kFollowing;
}

void BackupPlayerLink::Forget() {
  m_window = nullptr;
  m_pid = 0;
  if (m_process) ::CloseHandle(m_process);
  m_process = nullptr;
  if (m_mutex) ::CloseHandle(m_mutex);
  m_mutex = nullptr;
  Reset();
}

void BackupPlayerLink::Reset() {
  m_follows = false;
  m_detached = false;
  m_step = 102400;
}

void BackupPlayerLink::Attach(HWND player, WPARAM stepKb) {
  if (player == nullptr || player != m_window.load()) return;
  m_step = stepKb == 0 ? 102400u : static_cast<uint32_t>(stepKb * 1024);
  m_follows = true;
}
