// Stand-in for the separate player program "Quendor.exe": shows and logs what it is given.
#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/player/player_command_line.h"
#include "platform/player/player_log.h"
#include "platform/player/player_window.h"
#include "platform/player/record_file_check.h"

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

bool EndsWithQdx(const std::string& path) {
  if (path.size() < 4) return false;
  std::string ext = path.substr(path.size() - 4);
  for (char& c : ext) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  return ext == ".qdx";
}

// The verdict on a record file: "OK frames=N kind=K <path>" or "BAD <reason> <path>"; empty
// when the file cannot be opened.
std::string CheckRecordFileAt(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                   std::istreambuf_iterator<char>());
  return VerdictText(CheckRecordFile(bytes.data(), bytes.size())) + " " + path;
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
  if (commandLine.mode == PlayerOpenMode::kRecordFile && EndsWithQdx(commandLine.path)) {
    const std::string verdict = CheckRecordFileAt(commandLine.path);
    if (!verdict.empty()) log.Append(kLogRecordCheck, verdict);
  }

  PlayerWindow window(commandLine, log);
  if (!window.Create(instance, showCommand)) return 1;

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}
