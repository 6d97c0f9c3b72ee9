#include <winsock2.h>

#include "tests/session/session_devsim.h"

#include <cstdlib>
#include <string>

namespace sessiontest {
namespace {

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

// Starts a Unix program through Wine; no handle comes back.
bool RunUnixProgram(const std::string& program, std::string commandLine) {
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  return CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &si, &pi) != 0;
}

char ProcessState(int pid) {
  const std::string stat = testsupport::ReadFileText("Z:\\proc\\" + std::to_string(pid) + "\\stat");
  const size_t close = stat.rfind(") ");
  return close == std::string::npos || close + 2 >= stat.size() ? 0 : stat[close + 2];
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 0;
}

// Decodes the JSON string starting at text[pos] (its opening quote).
std::string JsonString(const std::string& text, size_t pos) {
  std::string out;
  if (pos >= text.size() || text[pos] != '"') return out;
  for (++pos; pos < text.size() && text[pos] != '"'; ++pos) {
    if (text[pos] != '\\') {
      out += text[pos];
      continue;
    }
    if (++pos >= text.size()) break;
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
      case 'u': {
        int v = 0;
        for (int i = 1; i <= 4 && pos + i < text.size(); ++i) v = v * 16 + HexValue(text[pos + i]);
        out += static_cast<char>(v);
        pos += 4;
        break;
      }
      default:
        out += text[pos];
        break;
    }
  }
  return out;
}

std::string StringField(const std::string& line, const std::string& key) {
  const size_t pos = line.find("\"" + key + "\":\"");
  return pos == std::string::npos ? std::string() : JsonString(line, pos + key.size() + 3);
}

int64_t NumberField(const std::string& line, const std::string& key, int64_t missing) {
  const size_t pos = line.find("\"" + key + "\":");
  if (pos == std::string::npos) return missing;
  const char* p = line.c_str() + pos + key.size() + 3;
  if (*p < '0' || *p > '9') return missing;
  return std::strtoll(p, nullptr, 10);
}

}  // namespace

Devsim::Devsim() : m_folder("devsim") {
  m_unixFolder = UnixPathOf(m_folder.Path());
  if (!m_unixFolder.empty() && m_unixFolder.back() != '/') m_unixFolder += '/';
}

Devsim::~Devsim() {
  Stop();
}

bool Devsim::Start(const std::vector<std::string>& args) {
  if (m_unixFolder.empty()) {
    m_error = "no Unix path for the devsim folder (not under Wine?)";
    return false;
  }
  const auto quoted = [](const std::string& a) { return " '" + a + "'"; };
  std::string script = "echo $$ >" + quoted(m_unixFolder + "pid") + "; exec" +
                       quoted(DEVSIM_UNIX_PATH) + " --port auto --port-file" +
                       quoted(m_unixFolder + "port") + " --log" + quoted(m_unixFolder + "log");
  for (const std::string& a : args) script += quoted(a);
  script += " >/dev/null 2>" + quoted(m_unixFolder + "stderr");
  if (!RunUnixProgram("/bin/sh", "/bin/sh -c \"" + script + "\"")) {
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
    m_error =
        "devsim did not report its port: " + testsupport::ReadFileText(m_folder.File("stderr"));
    Stop();
    return false;
  }
  return true;
}

void Devsim::Stop() {
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

std::string Devsim::Control(const std::string& target) const {
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) return {};
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<u_short>(m_port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  std::string reply;
  if (connect(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
    const std::string request = "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
    send(s, request.data(), static_cast<int>(request.size()), 0);
    char buffer[4096];
    for (int n; (n = recv(s, buffer, sizeof buffer, 0)) > 0;) reply.append(buffer, n);
  }
  closesocket(s);
  const size_t body = reply.find("\r\n\r\n");
  if (reply.compare(0, 12, "HTTP/1.1 200") != 0 || body == std::string::npos) return {};
  return reply.substr(body + 4);
}

std::vector<DevsimRequest> Devsim::Requests() const {
  std::vector<DevsimRequest> out;
  for (const std::string& line : testsupport::ReadLines(m_folder.File("log"))) {
    if (line.empty()) continue;
    DevsimRequest r;
    r.tMs = NumberField(line, "t_ms", 0);
    r.path = StringField(line, "path");
    r.target = StringField(line, "target");
    r.status = static_cast<int>(NumberField(line, "status", -1));
    size_t pos = line.find("\"faults\":[");
    if (pos != std::string::npos) {
      pos += 10;
      while (pos < line.size() && line[pos] == '"') {
        const std::string name = JsonString(line, pos);
        r.faults.push_back(name);
        pos = line.find('"', pos + 1);
        if (pos == std::string::npos) break;
        pos += 1;
        if (pos < line.size() && line[pos] == ',') ++pos;
      }
    }
    out.push_back(std::move(r));
  }
  return out;
}

std::vector<DevsimRequest> Devsim::RequestsOf(const std::string& path) const {
  std::vector<DevsimRequest> out;
  for (DevsimRequest& r : Requests())
    if (r.path == path) out.push_back(std::move(r));
  return out;
}

}  // namespace sessiontest
