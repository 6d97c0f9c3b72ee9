// The device a series of commands talks to (address, port, account, the host name a login
// resolved), and the state the device commands share between threads: the pending address
// switch-over and the session cookie are read and written only under SessionMutex(); the
// configuration-block copies under SysCfgBlockMutex().
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>

std::mutex& SessionMutex();
std::mutex& SysCfgBlockMutex();

// A new web port and server text for the client, set by the network settings page after it
// changed the device's address; the command layer takes them over into the session it talks to
// after its next reply with status 200 and clears the flags.
extern uint32_t g_fPendingWebPort;
extern uint16_t g_wPendingWebPort;
extern uint32_t g_fPendingServerName;
extern std::string g_strPendingServerName;

// One device and the account used on it. Thread-safe: every member takes the object's own lock.
// Copies carry the address and the account, never the observer.
class DeviceSession {
 public:
  // Told after a pending address was taken over (outside the session's lock).
  using AddressObserver = void (*)(const DeviceSession& session);

  DeviceSession() = default;
  DeviceSession(std::string server, uint16_t port, std::string user = {},
                std::string password = {});
  DeviceSession(const DeviceSession& other);
  DeviceSession& operator=(const DeviceSession& other);

  // The text connected to: a dotted address or a host name.
  std::string Server() const;
  uint16_t Port() const;
  // The host name a login by name resolved (at most 255 characters); empty otherwise.
  std::string HostName() const;
  std::string User() const;
  std::string Password() const;

  // A server text newly given: it replaces the server and forgets a kept host name.
  void SetServerFromUser(std::string server);
  // Replaces the server text only; a kept host name stays.
  void SetServerText(std::string server);
  void SetWebPort(uint16_t port);
  void SetAccount(std::string user, std::string password);
  // A login by host name: keeps the name and connects by the dotted address from now on.
  void KeepResolvedName(std::string_view hostName, std::string dotted);
  // A kept host name is looked up again by the next login rather than its address reused.
  void LookUpHostNameAgain();
  // Takes the address (server, kept host name, port) of other; the account stays.
  void TakeAddressOf(const DeviceSession& other);

  void SetAddressObserver(AddressObserver observer);
  // After a reply with status 200: the pending port and server text become this session's.
  void TakeOverPendingAddress();

 private:
  mutable std::mutex m_lock;
  std::string m_strServer;
  std::string m_strHostName;
  uint16_t m_wPort = 80;
  std::string m_strUser;
  std::string m_strPassword;
  AddressObserver m_observer = nullptr;
};

// The session of the device the program works with: a successful login sets it; the commands
// after the login and the relogin talk to it.
DeviceSession& ProgramDeviceSession();
