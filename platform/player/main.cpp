// Stand-in for the separate player program "Quendor.exe": shows and logs what it is given.
#include <windows.h>

#include <string>

#include "platform/player/player_command_line.h"
#include "platform/player/player_log.h"
#include "platform/player/player_window.h"

namespace {

std::string OwnProgramPath() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD n = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

std::string FolderOf(const std::string& path) {
  const auto slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  // The raw command line: callers pass no program name in front of the record path, so the C
  // run-time's argument split would misread it.
  const char* raw = GetCommandLineA();
  const std::string program = OwnProgramPath();
  const PlayerCommandLine commandLine = ParsePlayerCommandLine(raw ? raw : "", program);

  const PlayerLog log(FolderOf(program) + "Quendor.log");
  log.Append(kLogCommandLine, commandLine.raw);

  PlayerWindow window(commandLine, log);
  if (!window.Create(instance, showCommand)) return 1;

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}
