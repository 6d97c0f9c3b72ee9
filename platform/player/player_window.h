// The player stand-in's one top-level window ("Quendor"): it lists what the player was given.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/player/player_command_line.h"
#include "platform/player/player_log.h"

class PlayerWindow {
 public:
  PlayerWindow(const PlayerCommandLine& commandLine, const PlayerLog& log);
  PlayerWindow(const PlayerWindow&) = delete;
  PlayerWindow& operator=(const PlayerWindow&) = delete;

  // Creates and shows the window; false if it cannot be created.
  bool Create(HINSTANCE instance, int showCommand);
  HWND Handle() const { return m_hWnd; }

  // Adds a line to the text shown in the window.
  void ShowLine(const std::string& line);

 private:
  static LRESULT CALLBACK WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnCreate();
  void OnSize(int width, int height);
  void UpdateText();

  bool OnCopyData(const COPYDATASTRUCT& data);

  const PlayerLog& m_log;
  HANDLE m_hMutex = nullptr;  // the download file's mutex, from WM_COPYDATA 2
  HWND m_hWnd = nullptr;
  HWND m_hText = nullptr;
  std::vector<std::string> m_lines;
};

inline constexpr const char kPlayerWindowTitle[] = "Quendor";
inline constexpr int kPlayerTextId = 100;
// The download link's messages (WM_USER + 3584 ..).
inline constexpr UINT kPlayerOpen = WM_USER + 3584;
inline constexpr UINT kPlayerAttach = WM_USER + 3585;
inline constexpr UINT kPlayerProgress = WM_USER + 3586;
inline constexpr UINT kPlayerDone = WM_USER + 3587;
inline constexpr UINT kPlayerError = WM_USER + 3588;
// The report step the stand-in asks for, in KB.
inline constexpr WPARAM kPlayerStepKb = 64;  // the read-only edit box holding the shown lines
