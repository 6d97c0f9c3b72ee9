#include "net/device_session.h"

#include <utility>

uint32_t g_fPendingWebPort = 0;
uint16_t g_wPendingWebPort = 0;
uint32_t g_fPendingServerName = 0;
std::string g_strPendingServerName;

namespace {
constexpr size_t kHostNameMax = 255;
}

std::mutex& SessionMutex() {
  static std::mutex m;
  return m;
}

std::mutex& SysCfgBlockMutex() {
  static std::mutex m;
  return m;
}

DeviceSession& ProgramDeviceSession() {
  static DeviceSession session;
  return session;
}

DeviceSession::DeviceSession(std::string server, uint16_t port, std::string user,
                             std::string password)
    : m_strServer(std::move(server)),
      m_wPort(port),
      m_strUser(std::move(user)),
      m_strPassword(std::move(password)) {}

DeviceSession::DeviceSession(const DeviceSession& other) {
  *this = other;
}

DeviceSession& DeviceSession::operator=(const DeviceSession& other) {
  if (this == &other) return *this;
  std::scoped_lock lock(m_lock, other.m_lock);
  m_strServer = other.m_strServer;
  m_strHostName = other.m_strHostName;
  m_wPort = other.m_wPort;
  m_strUser = other.m_strUser;
  m_strPassword = other.m_strPassword;
  return *this;
}

std::string DeviceSession::Server() const {
  std::lock_guard<std::mutex> lock(m_lock);
  return m_strServer;
}

uint16_t DeviceSession::Port() const {
  std::lock_guard<std::mutex> lock(m_lock);
  return m_wPort;
}

std::string DeviceSession::HostName() const {
  std::lock_guard<std::mutex> lock(m_lock);
  return m_strHostName;
}

std::string DeviceSession::User() const {
  std::lock_guard<std::mutex> lock(m_lock);
  return m_strUser;
}

std::string DeviceSession::Password() const {
  std::lock_guard<std::mutex> lock(m_lock);
  return m_strPassword;
}

void DeviceSession::SetServerFromUser(std::string server) {
  std::lock_guard<std::mutex> lock(m_lock);
  m_strServer = std::move(server);
  m_strHostName.clear();
}

void DeviceSession::SetServerText(std::string server) {
  std::lock_guard<std::mutex> lock(m_lock);
  m_strServer = std::move(server);
}

void DeviceSession::SetWebPort(uint16_t port) {
  std::lock_guard<std::mutex> lock(m_lock);
  m_wPort = port;
}

void DeviceSession::SetAccount(std::string user, std::string password) {
  std::lock_guard<std::mutex> lock(m_lock);
  m_strUser = std::move(user);
  m_strPassword = std::move(password);
}

void DeviceSession::KeepResolvedName(std::string_view hostName, std::string dotted) {
  std::lock_guard<std::mutex> lock(m_lock);
  m_strHostName.assign(hostName.substr(0, kHostNameMax));
  m_strServer = std::move(dotted);
}

void DeviceSession::LookUpHostNameAgain() {
  std::lock_guard<std::mutex> lock(m_lock);
  if (!m_strHostName.empty()) m_strServer = m_strHostName;
}

void DeviceSession::TakeAddressOf(const DeviceSession& other) {
  if (this == &other) return;
  std::scoped_lock lock(m_lock, other.m_lock);
  m_strServer = other.m_strServer;
  m_strHostName = other.m_strHostName;
  m_wPort = other.m_wPort;
}

void DeviceSession::SetAddressObserver(AddressObserver observer) {
  std::lock_guard<std::mutex> lock(m_lock);
  m_observer = observer;
}

void DeviceSession::TakeOverPendingAddress() {
  bool moved = false;
  AddressObserver observer;
  {
    std::lock_guard<std::mutex> pending(SessionMutex());
    std::lock_guard<std::mutex> lock(m_lock);
    if (g_fPendingWebPort) {
      m_wPort = g_wPendingWebPort;
      g_fPendingWebPort = 0;
      moved = true;
    }
    if (g_fPendingServerName) {
      // The new text is used from now on; a host name kept from a login no longer applies.
      m_strServer = g_strPendingServerName;
      m_strHostName.clear();
      g_fPendingServerName = 0;
      moved = true;
    }
    observer = m_observer;
  }
  if (moved && observer) observer(*this);
}
