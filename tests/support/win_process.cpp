#include "tests/support/win_process.h"

#include <commctrl.h>
#include <tlhelp32.h>

#include <cstring>

namespace testsupport {

std::string ThisExeFolder() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD n = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  return path.substr(0, path.find_last_of("\\/") + 1);
}

TempFolder::TempFolder(const std::string& prefix) {
  char base[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, base);
  for (unsigned i = GetTickCount();; ++i) {
    std::string p = std::string(base) + prefix + "." + std::to_string(GetCurrentProcessId()) + "." +
                    std::to_string(i);
    if (CreateDirectoryA(p.c_str(), nullptr)) {
      m_path = p + "\\";
      return;
    }
  }
}

namespace {
void RemoveTree(const std::string& folder) {
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((folder + "*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = fd.cFileName;
      if (name == "." || name == "..") continue;
      const std::string full = folder + name;
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(full + "\\");
      } else {
        SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(full.c_str());
      }
    } while (FindNextFileA(h, &fd));
    FindClose(h);
  }
  RemoveDirectoryA(folder.substr(0, folder.size() - 1).c_str());
}
}  // namespace

TempFolder::~TempFolder() {
  if (!m_path.empty()) RemoveTree(m_path);
}

bool CopyFileTo(const std::string& from, const std::string& to) {
  return CopyFileA(from.c_str(), to.c_str(), FALSE) != 0;
}

bool CopyTree(const std::string& from, const std::string& to) {
  CreateDirectoryA(to.c_str(), nullptr);
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((from + "\\*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return false;
  bool ok = true;
  do {
    const std::string name = fd.cFileName;
    if (name == "." || name == "..") continue;
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      ok = CopyTree(from + "\\" + name, to + "\\" + name) && ok;
    else
      ok = CopyFileTo(from + "\\" + name, to + "\\" + name) && ok;
  } while (FindNextFileA(h, &fd));
  FindClose(h);
  return ok;
}

bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

Process::~Process() {
  if (m_pi.hProcess) {
    Kill();
    CloseHandle(m_pi.hThread);
    CloseHandle(m_pi.hProcess);
  }
}

bool Process::Start(const std::string& exe, const std::string& commandLine,
                    const std::string& folder, const std::vector<std::string>& extraEnv) {
  // Environment block: ours plus the extra entries (later entries win in lookups done by the
  // child, so the extra ones are put first).
  std::string env;
  for (const auto& e : extraEnv) env += e + '\0';
  if (char* block = GetEnvironmentStringsA()) {
    for (const char* p = block; *p; p += std::strlen(p) + 1) {
      const std::string entry = p;
      bool overridden = false;
      for (const auto& e : extraEnv) {
        const auto eq = e.find('=');
        if (entry.compare(0, eq + 1, e, 0, eq + 1) == 0) overridden = true;
      }
      if (!overridden) env += entry + '\0';
    }
    FreeEnvironmentStringsA(block);
  }
  env += '\0';
  std::string cmd = commandLine;
  STARTUPINFOA si{};
  si.cb = sizeof si;
  return CreateProcessA(exe.c_str(), cmd.empty() ? nullptr : cmd.data(), nullptr, nullptr, FALSE, 0,
                        env.data(), folder.empty() ? nullptr : folder.c_str(), &si, &m_pi) != 0;
}

bool Process::WaitExit(DWORD timeoutMs, DWORD* exitCode) {
  if (!m_pi.hProcess) return false;
  if (WaitForSingleObject(m_pi.hProcess, timeoutMs) != WAIT_OBJECT_0) return false;
  DWORD code = 0;
  GetExitCodeProcess(m_pi.hProcess, &code);
  if (exitCode) *exitCode = code;
  return true;
}

void Process::Kill() {
  if (m_pi.hProcess && WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(m_pi.hProcess, 99);
    WaitForSingleObject(m_pi.hProcess, 5000);
  }
}

namespace {
struct FindContext {
  DWORD pid;
  const std::function<bool(HWND)>* match;
  HWND found;
};

BOOL CALLBACK FindWindowOfProcess(HWND w, LPARAM lp) {
  auto* c = reinterpret_cast<FindContext*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (pid == c->pid && IsWindowVisible(w) && (*c->match)(w)) {
    c->found = w;
    return FALSE;
  }
  return TRUE;
}
}  // namespace

HWND WaitForWindowIf(DWORD pid, const std::function<bool(HWND)>& match, DWORD timeoutMs) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        FindContext c{pid, &match, nullptr};
        EnumWindows(FindWindowOfProcess, reinterpret_cast<LPARAM>(&c));
        found = c.found;
        return found != nullptr;
      },
      timeoutMs);
  return found;
}

HWND WaitForWindow(DWORD pid, const std::string& title, DWORD timeoutMs) {
  return WaitForWindowIf(
      pid, [&](HWND w) { return title.empty() || WindowText(w) == title; }, timeoutMs);
}

HWND WaitForMainWindow(DWORD pid, DWORD timeoutMs) {
  return WaitForWindowIf(
      pid, [](HWND w) { return WindowText(w).rfind("Ostrova : ", 0) == 0; }, timeoutMs);
}

void CloseMainWindow(HWND main) {
  PostClick(main, 8202);
}

std::string WindowText(HWND w) {
  char buf[1024] = {};
  GetWindowTextA(w, buf, sizeof buf);
  return buf;
}

std::string ItemText(HWND dlg, int id) {
  char buf[1024] = {};
  GetDlgItemTextA(dlg, id, buf, sizeof buf);
  return buf;
}

std::vector<std::string> FilesMatching(const std::string& folder, const std::string& pattern) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  const HANDLE h = FindFirstFileA((folder + pattern).c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return names;
  do names.push_back(folder + found.cFileName);
  while (FindNextFileA(h, &found));
  FindClose(h);
  return names;
}

DWORD ThreadsOf(DWORD pid) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return 0;
  DWORD count = 0;
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
    if (entry.th32OwnerProcessID == pid) ++count;
  CloseHandle(snapshot);
  return count;
}

DWORD HandlesOf(HANDLE process) {
  DWORD count = 0;
  for (uintptr_t value = 4; value < 0x10000; value += 4) {
    HANDLE copy = nullptr;
    if (DuplicateHandle(process, reinterpret_cast<HANDLE>(value), GetCurrentProcess(), &copy, 0,
                        FALSE, DUPLICATE_SAME_ACCESS)) {
      ++count;
      CloseHandle(copy);
    }
  }
  return count;
}

bool CopyProgramInto(const TempFolder& folder, const std::vector<std::string>& extra) {
  const std::string bin = ThisExeFolder();
  std::vector<std::string> files = {"Ostrova.exe", "CtrlFile.ini", "JPEGCODEC.DLL", "alarm.wav"};
  files.insert(files.end(), extra.begin(), extra.end());
  for (const std::string& file : files)
    if (!CopyFileTo(bin + file, folder.File(file))) return false;
  CopyTree(bin + "BMP", folder.File("BMP"));  // a skin file missing shows in the screenshots
  return true;
}

bool StopIfRunning(Process& process) {
  if (!process.Handle() || WaitForSingleObject(process.Handle(), 0) != WAIT_TIMEOUT) return false;
  process.Kill();
  return true;
}

HWND WaitForLoginWindow(DWORD pid, DWORD timeoutMs) {
  constexpr int kEditServer = 1042;
  return WaitForWindowIf(
      pid, [](HWND w) { return GetDlgItem(w, kEditServer) != nullptr; }, timeoutMs);
}

void FillLoginWindow(HWND login, int port) {
  constexpr int kEditUser = 1040, kEditServer = 1042, kEditPassword = 1043, kEditPort = 1044;
  const auto set = [&](int id, const std::string& text) {
    SendMessageA(GetDlgItem(login, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  };
  set(kEditServer, "127.0.0.1");
  set(kEditPort, std::to_string(port));
  set(kEditUser, "revuv");
  set(kEditPassword, "revuv");
}

std::string ToolTipTextOf(HWND owner, HWND control) {
  struct Find {
    HWND owner, tip;
  } find{owner, nullptr};
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND w, LPARAM lp) -> BOOL {
        auto* f = reinterpret_cast<Find*>(lp);
        char cls[32] = {};
        ::GetClassNameA(w, cls, sizeof cls);
        if (::lstrcmpiA(cls, TOOLTIPS_CLASSA) == 0 && ::GetWindow(w, GW_OWNER) == f->owner) {
          f->tip = w;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&find));
  if (find.tip == nullptr) return "(no tool-tip)";
  char text[128] = {};
  TTTOOLINFOA info{};
  info.cbSize = TTTOOLINFOA_V2_SIZE;
  info.uFlags = TTF_IDISHWND;
  info.hwnd = owner;
  info.uId = reinterpret_cast<UINT_PTR>(control);
  info.lpszText = text;
  ::SendMessageA(find.tip, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&info));
  return text;
}

void PostClick(HWND dlg, int id) {
  PostMessageA(GetDlgItem(dlg, id), BM_CLICK, 0, 0);
}

bool WaitUntil(const std::function<bool()>& cond, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (!cond()) {
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(20);
  }
  return true;
}

std::string UnixPathOf(const std::string& windowsPath) {
  // Wine's own path conversion (kernel32 export).
  using Convert = char*(CDECL*)(LPCWSTR);
  static const auto convert = reinterpret_cast<Convert>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (!convert) return {};
  wchar_t wide[MAX_PATH] = {};
  MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide, MAX_PATH);
  char* unixPath = convert(wide);
  if (!unixPath) return {};
  std::string out(unixPath);
  HeapFree(GetProcessHeap(), 0, unixPath);
  return out;
}

bool RunUnixProgram(const std::string& program, const std::string& commandLine) {
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::string line = commandLine;
  // Wine runs a Unix program without a process or thread handle and leaves the returned record
  // undefined: nothing in it may be closed (closing its values broke later sockets).
  return CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &si, &pi) != 0;
}

namespace {
// 'R'unning and similar, 'Z' for an ended child not yet reaped, 0 when there is no process.
char UnixProcessState(int pid) {
  const std::string stat = ReadFileText("Z:\\proc\\" + std::to_string(pid) + "\\stat");
  const size_t close = stat.rfind(") ");
  return close == std::string::npos || close + 2 >= stat.size() ? 0 : stat[close + 2];
}
}  // namespace

void StopUnixProcess(int pid) {
  if (pid <= 0) return;
  const std::string id = std::to_string(pid);
  RunUnixProgram("/bin/kill", "/bin/kill -TERM " + id);
  const auto ended = [&] {
    const char state = UnixProcessState(pid);
    return state == 0 || state == 'Z' || state == 'X';
  };
  if (!WaitUntil(ended, 10000)) {
    RunUnixProgram("/bin/kill", "/bin/kill -KILL " + id);
    WaitUntil(ended, 5000);
  }
}

}  // namespace testsupport
