#include <winsock2.h>  // ahead of windows.h

#include "tests/support/program_fixture.h"

#include <utility>

#include "tests/support/text_file.h"

namespace testsupport {
namespace {

constexpr int kLoginConnectButton = 8444;
constexpr int kFrameCount = 1101;

}  // namespace

ProgramFixture::ProgramFixture(ProgramFixtureOptions options)
    : m_options(std::move(options)), m_folder(m_options.folderPrefix) {}

void ProgramFixture::SetUpTestSuite() {
  WSADATA wsa;
  WSAStartup(MAKEWORD(1, 1), &wsa);
}

void ProgramFixture::TearDownTestSuite() {
  WSACleanup();
}

void ProgramFixture::SetUp() {
  ASSERT_TRUE(CopyProgramInto(m_folder, m_options.extraFiles));
}

void ProgramFixture::TearDown() {
  if (StopIfRunning(m_process)) ADD_FAILURE() << "the program was still running";
}

void ProgramFixture::SetSetting(const char* key, const std::string& value) {
  WritePrivateProfileStringA("Ostrova", key, value.c_str(), m_folder.File("Setting.ini").c_str());
}

HWND ProgramFixture::StartAndConnect(std::vector<std::string> devsimArgs) {
  devsimArgs.insert(devsimArgs.end(), m_options.devsimArgs.begin(), m_options.devsimArgs.end());
  if (!m_device.Start(devsimArgs)) {
    ADD_FAILURE() << m_device.error();
    return nullptr;
  }
  std::vector<std::string> environment = {"OST_MSGBOX_LOG=" + m_folder.File("msgbox.log"),
                                          "OST_EVENT_LOG=" + m_folder.File("events.log")};
  for (const auto& [variable, file] : m_options.fileVariables)
    environment.push_back(variable + "=" + m_folder.File(file));
  if (!m_process.Start(m_folder.File("Ostrova.exe"), "Ostrova.exe", m_folder.Path(), environment)) {
    ADD_FAILURE() << "the program did not start";
    return nullptr;
  }
  HWND login = WaitForLoginWindow(m_process.Id());
  if (!login) {
    ADD_FAILURE() << "no login window";
    return nullptr;
  }
  FillLoginWindow(login, m_device.port());
  Click(login, kLoginConnectButton);
  return login;
}

HWND ProgramFixture::StartAndLogIn(std::vector<std::string> devsimArgs) {
  if (!StartAndConnect(std::move(devsimArgs))) return nullptr;
  HWND main = WaitForMainWindow(m_process.Id(), 60000);
  if (!main) {
    ADD_FAILURE() << "no main window; message boxes: " << MessageBoxes();
    return nullptr;
  }
  if (m_options.waitForFrames) {
    EXPECT_TRUE(FramesGrow(main, 3)) << "no frames";
  }
  return main;
}

void ProgramFixture::CloseAndWait(HWND main) {
  CloseMainWindow(main);
  DWORD code = 99;
  ASSERT_TRUE(m_process.WaitExit(kHangMs, &code));
  EXPECT_EQ(code, 0u);
}

uint32_t ProgramFixture::Frames(HWND main) {
  const std::string text = ItemText(main, kFrameCount);
  return text.rfind("Frames: ", 0) == 0 ? static_cast<uint32_t>(std::stoul(text.substr(8))) : 0;
}

bool ProgramFixture::FramesGrow(HWND main, uint32_t more, DWORD timeoutMs) {
  const uint32_t from = Frames(main);
  return WaitUntil([&] { return Frames(main) >= from + more; }, timeoutMs);
}

void ProgramFixture::Click(HWND window, int id) {
  PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
}

std::string ProgramFixture::MessageBoxes() const {
  return ReadFileText(m_folder.File("msgbox.log"));
}

std::vector<std::string> ProgramFixture::Params(const std::string& path,
                                                const std::string& name) const {
  std::vector<std::string> out;
  for (const DevsimRequest& r : m_device.RequestsOf(path))
    for (const std::string& p : r.params)
      if (p.rfind(name + "=", 0) == 0) out.push_back(p.substr(name.size() + 1));
  return out;
}

bool ProgramFixture::WaitForRequests(const std::string& path, size_t count, DWORD timeoutMs) const {
  return WaitUntil([&] { return m_device.RequestsOf(path).size() >= count; }, timeoutMs);
}

bool ProgramFixture::WaitForItemText(HWND window, int id, const std::string& text,
                                     DWORD timeoutMs) {
  return WaitUntil([&] { return ItemText(window, id) == text; }, timeoutMs);
}

std::vector<std::string> ProgramFixture::Events() const {
  std::vector<std::string> out;
  const std::string text = EventLogText();
  size_t at = 0;
  while (at < text.size()) {
    const size_t end = text.find('\n', at);
    // A line still being written has no line feed yet.
    if (end == std::string::npos) break;
    const std::string line = text.substr(at, end - at);
    const size_t space = line.find(' ');
    out.push_back(space == std::string::npos ? std::string() : line.substr(space + 1));
    at = end + 1;
  }
  return out;
}

size_t ProgramFixture::EventCount(const std::string& prefix) const {
  size_t n = 0;
  for (const std::string& e : Events())
    if (e.rfind(prefix, 0) == 0) ++n;
  return n;
}

std::string ProgramFixture::LastEvent(const std::string& prefix) const {
  std::string last;
  for (const std::string& e : Events())
    if (e.rfind(prefix, 0) == 0) last = e.substr(prefix.size());
  return last;
}

bool ProgramFixture::WaitForEvent(const std::string& prefix, size_t count, DWORD timeoutMs) const {
  return WaitUntil([&] { return EventCount(prefix) >= count; }, timeoutMs);
}

std::string ProgramFixture::EventLogText() const {
  return ReadFileText(m_folder.File("events.log"));
}

}  // namespace testsupport
