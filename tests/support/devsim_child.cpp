#include <winsock2.h>  // ahead of windows.h

#include "tests/support/devsim_child.h"

#include <cstdlib>
#include <string>

#include "tests/support/json_lines.h"

namespace testsupport {
namespace {

// Appends a blank and arg in single quotes.
void AppendQuoted(std::string& line, const std::string& arg) {
  line.append(" '").append(arg).append("'");
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 0;
}

std::string FromHex(const std::string& hex) {
  std::string out;
  for (size_t i = 0; i + 1 < hex.size(); i += 2)
    out += static_cast<char>(HexValue(hex[i]) << 4 | HexValue(hex[i + 1]));
  return out;
}

DevsimRequest RequestOf(const Json& line) {
  DevsimRequest r;
  r.tMs = static_cast<int64_t>(line["t_ms"].number);
  r.path = line["path"].text;
  r.target = line["target"].text;
  r.head = line["head"].text;
  r.body = FromHex(line["body_hex"].text);
  if (line["status"].type == Json::Type::kNumber)
    r.status = static_cast<int>(line["status"].number);
  for (const Json& param : line["params"].items) {
    if (param.items.size() == 2)
      r.params.push_back(param.items[0].text + "=" + param.items[1].text);
  }
  for (const Json& fault : line["faults"].items) r.faults.push_back(fault.text);
  return r;
}

}  // namespace

DevsimChild::DevsimChild() : m_folder("devsim") {
  m_unixFolder = UnixPathOf(m_folder.Path());
  if (!m_unixFolder.empty() && m_unixFolder.back() != '/') m_unixFolder += '/';
}

DevsimChild::~DevsimChild() {
  Stop();
}

bool DevsimChild::Start(const std::vector<std::string>& args) {
  if (m_unixFolder.empty()) {
    m_error = "no Unix path for " + m_folder.Path() + " (not running under Wine?)";
    return false;
  }
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
  if (!RunUnixProgram("/bin/sh", "/bin/sh -c \"" + script + "\"")) {
    m_error = "cannot start /bin/sh";
    return false;
  }
  const bool up = WaitUntil(
      [&] {
        m_port = std::atoi(ReadFileText(m_folder.File("port")).c_str());
        return m_port > 0;
      },
      10000);
  m_pid = std::atoi(ReadFileText(m_folder.File("pid")).c_str());
  if (!up) {
    m_error = "devsim did not report its port: " + StderrText();
    Stop();
    return false;
  }
  return true;
}

void DevsimChild::Stop() {
  StopUnixProcess(m_pid);
  m_pid = 0;
}

std::string DevsimChild::StderrText() const {
  return ReadFileText(m_folder.File("stderr"));
}

std::string DevsimChild::Control(const std::string& target) const {
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

std::vector<DevsimRequest> DevsimChild::Requests() const {
  std::vector<DevsimRequest> out;
  for (const Json& line : ReadJsonLines(m_folder.File("log"))) out.push_back(RequestOf(line));
  return out;
}

std::vector<DevsimRequest> DevsimChild::RequestsOf(const std::string& path) const {
  std::vector<DevsimRequest> out;
  for (DevsimRequest& r : Requests())
    if (r.path == path) out.push_back(std::move(r));
  return out;
}

}  // namespace testsupport
