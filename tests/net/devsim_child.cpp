#include "tests/net/devsim_child.h"

#include <windows.h>

#include <cstdlib>
#include <string>

namespace nettest {
namespace {

// Wine's own path conversion (kernel32 export).
std::string UnixPathOf(const std::string& windowsPath) {
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

// Appends a blank and arg in single quotes.
void AppendQuoted(std::string& line, const std::string& arg) {
  line.append(" '").append(arg).append("'");
}

// 'R'unning and similar, 'Z' for an ended child not yet reaped, 0 when there is no process.
char ProcessState(int pid) {
  const std::string stat = testsupport::ReadFileText("Z:\\proc\\" + std::to_string(pid) + "\\stat");
  const size_t close = stat.rfind(") ");
  return close == std::string::npos || close + 2 >= stat.size() ? 0 : stat[close + 2];
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string StringField(const std::string& line, const std::string& key) {
  size_t pos = line.find("\"" + key + "\":\"");
  std::string out;
  if (pos == std::string::npos) return out;
  pos += key.size() + 3;
  DecodeJsonString(line, pos, out);
  return out;
}

std::string FromHex(const std::string& hex) {
  std::string out;
  for (size_t i = 0; i + 1 < hex.size(); i += 2)
    out += static_cast<char>(HexValue(hex[i]) << 4 | HexValue(hex[i + 1]));
  return out;
}
}  // namespace

bool RunUnixProgram(const std::string& program, const std::string& commandLine) {
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::string line = commandLine;
  // Wine runs a Unix program without a process or thread handle and leaves the returned record
  // undefined: nothing in it may be closed.
  return CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &si, &pi) != 0;
}

bool DecodeJsonString(const std::string& text, size_t& pos, std::string& out) {
  if (pos >= text.size() || text[pos] != '"') return false;
  for (++pos; pos < text.size(); ++pos) {
    const char c = text[pos];
    if (c == '"') {
      ++pos;
      return true;
    }
    if (c != '\\') {
      out += c;
      continue;
    }
    if (++pos >= text.size()) return false;
    switch (text[pos]) {
      case 'n':
        out += '\n';
        break;
      case 'r':
        out += '\r';
        break;
      case 't':
        out += '\t';
        break;
      case 'b':
        out += '\b';
        break;
      case 'f':
        out += '\f';
        break;
      case 'u': {
        if (pos + 4 >= text.size()) return false;
        int v = 0;
        for (int i = 1; i <= 4; ++i) v = v * 16 + HexValue(text[pos + i]);
        out += static_cast<char>(v);
        pos += 4;
        break;
      }
      default:
        out += text[pos];
        break;
    }
  }
  return false;
}

DevsimChild::DevsimChild() : m_folder("devsim") {
  m_unixFolder = UnixPathOf(m_folder.Path());
}

DevsimChild::~DevsimChild() {
  Stop();
}

bool DevsimChild::Start(const std::vector<std::string>& args) {
  if (m_unixFolder.empty()) {
    m_error = "no Unix path for " + m_folder.Path() + " (not running under Wine?)";
    return false;
  }
  if (m_unixFolder.back() != '/') m_unixFolder += '/';
  for (const char* name : {"port", "pid", "log", "stderr"})
    DeleteFileA(m_folder.File(name).c_str());
  m_port = 0;
  std::string script = "echo $$ >";
  AppendQuoted(script, m_unixFolder + "pid");
  script.append("; exec");
  AppendQuoted(script, DEVSIM_UNIX_PATH);
  script.append(" --port auto --port-file");
  AppendQuoted(script, m_unixFolder + "port");
  script.append(" --log");
  AppendQuoted(script, m_unixFolder + "log");
  for (const std::string& a : args) AppendQuoted(script, a);
  script.append(" >/dev/null 2>");
  AppendQuoted(script, m_unixFolder + "stderr");
  std::string commandLine = "/bin/sh -c \"";
  commandLine.append(script).append("\"");
  if (!RunUnixProgram("/bin/sh", commandLine)) {
    m_error = "cannot start /bin/sh";
    return false;
  }
  const bool up = testsupport::WaitUntil(
      [&] {
        m_port = std::atoi(testsupport::ReadFileText(m_folder.File("port")).c_str());
        return m_port > 0;
      },
      10000);
  m_pid = std::atoi(testsupport::ReadFileText(m_folder.File("pid")).c_str());
  if (!up) {
    m_error = "devsim did not report its port: " + StderrText();
    Stop();
    return false;
  }
  return true;
}

void DevsimChild::Stop() {
  if (m_pid <= 0) return;
  const std::string pid = std::to_string(m_pid);
  RunUnixProgram("/bin/kill", "/bin/kill -TERM " + pid);
  const auto ended = [&] {
    const char state = ProcessState(m_pid);
    return state == 0 || state == 'Z' || state == 'X';
  };
  if (!testsupport::WaitUntil(ended, 10000)) {
    RunUnixProgram("/bin/kill", "/bin/kill -KILL " + pid);
    testsupport::WaitUntil(ended, 5000);
  }
  m_pid = 0;
}

std::vector<LoggedRequest> DevsimChild::Requests() const {
  std::vector<LoggedRequest> out;
  for (const std::string& line : testsupport::ReadLines(m_folder.File("log"))) {
    if (line.empty()) continue;
    LoggedRequest r;
    r.path = StringField(line, "path");
    r.target = StringField(line, "target");
    r.head = StringField(line, "head");
    r.body = FromHex(StringField(line, "body_hex"));
    const size_t status = line.find("\"status\":");
    if (status != std::string::npos && line.compare(status + 9, 4, "null") != 0)
      r.status = std::atoi(line.c_str() + status + 9);
    size_t pos = line.find("\"params\":[");
    if (pos != std::string::npos) {
      pos += 10;
      while (pos < line.size() && line[pos] == '[') {
        std::string name, value;
        ++pos;
        if (!DecodeJsonString(line, pos, name) || line[pos] != ',') break;
        ++pos;
        if (!DecodeJsonString(line, pos, value)) break;
        r.params.push_back(name + "=" + value);
        pos += 1;  // ']'
        if (pos < line.size() && line[pos] == ',') ++pos;
      }
    }
    out.push_back(std::move(r));
  }
  return out;
}

std::string DevsimChild::StderrText() const {
  return testsupport::ReadFileText(m_folder.File("stderr"));
}

}  // namespace nettest
