// The link to the player program that follows a download while it grows: its process and
// window, the mutex that guards the file, and what it asked of the progress dialog.
#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>

inline constexpr UINT WM_PLAYER_OPEN = WM_USER + 3584;
inline constexpr UINT WM_PLAYER_ATTACH = WM_USER + 3585;
inline constexpr UINT WM_PLAYER_PROGRESS = WM_USER + 3586;
inline constexpr UINT WM_PLAYER_DONE = WM_USER + 3587;
inline constexpr UINT WM_PLAYER_ERROR = WM_USER + 3588;  // both ways: an error, or detach

enum class PlayerLinkResult { kFollowing, kNotStarted, kCommandTooLong };

class BackupPlayerLink {
 public:
  // The first visible top-level window without an owner of process pid, else its first
  // top-level window; null when it has none.
  static HWND FindProcessWindow(DWORD pid);

  // Forgets a player whose window is gone or belongs to another process now.
  void CheckAlive();
  // Starts the player on path (" DYNAMICLOAD=1") with a new mutex, or gives a running player
  // the path; from is the page's window.
  PlayerLinkResult Follow(const std::string& exeDir, const std::string& path, HWND from);
  // Closes the handles; the player keeps its own.
  void Forget();

  HWND Window() const { return m_window.load(); }
  HANDLE Mutex() const { return m_mutex; }

  // Set by the progress dialog, read by the download thread.
  void Reset();
  void Attach(HWND player, WPARAM stepKb);
  void Detach() { m_detached = true; }
  bool Follows() const { return m_follows.load() && !m_detached.load(); }
  uint32_t Step() const { return m_step.load(); }

 private:
  HANDLE m_process = nullptr;
  DWORD m_pid = 0;
  std::atomic<HWND> m_window{nullptr};
  HANDLE m_mutex = nullptr;
  std::atomic<bool> m_follows{false}, m_detached{false};
  std::atomic<uint32_t> m_step{102400};
};

// The program's one link.
BackupPlayerLink& ThePlayerLink();
