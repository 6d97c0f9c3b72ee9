#include "app/login_store.h"

#include <cstring>
#include <mutex>
#include <string>

#include "net/blocking_socket.h"  // winsock2.h ahead of windows.h
#include "app/app_data.h"
#include "net/device_session.h"

namespace {
void AddressToSettings(const DeviceSession& session, ::CSettingINI& settings) {
  settings.SetServerNameFromUser(session.Server());
  const std::string hostName = session.HostName();
  if (!hostName.empty()) settings.KeepServerHostName(hostName);
  settings.m_wWebPort = session.Port();
}

void ProgramSessionMoved(const DeviceSession& session) {
  if (!g_lpApp) return;
  std::lock_guard<std::mutex> lock(SessionMutex());
  AddressToSettings(session, g_lpApp->m_Settings);
}
}  // namespace

KnownDevice KnownDeviceOf(const APP_DATA& a) {
  KnownDevice known;
  {
    std::lock_guard<std::mutex> lock(SessionMutex());
    known.identity.str_FWVersion = a.str_FWVersion;
    known.identity.str_ProductID = a.str_ProductID;
    std::memcpy(known.identity.str_MACAddress, a.str_MACAddress,
                sizeof known.identity.str_MACAddress);
    known.identity.str_HostName = a.str_HostName;
    known.identity.m_wLastMac1 = a.m_Settings.m_wLastMac1;
    known.identity.m_wLastMac2 = a.m_Settings.m_wLastMac2;
  }
  known.info.dwLifeTimeMinutes = a.dwLifeTimeMinutes;
  known.info.byMultiChannel = a.byMultiChannel;
  known.info.byVideoMode = a.byVideoMode;
  known.info.w_UserLevel = a.w_UserLevel;
  known.info.str_BootVersion = a.str_BootVersion;
  known.info.str_2041Version = a.str_2041Version;
  known.info.str_FPGAVersion = a.str_FPGAVersion;
  known.controls = a.m_ControlD;
  known.capabilityMask = a.dwDeviceCapabilityMask;
  known.resolution = a.m_Settings.m_iImageResolution;
  known.quality = a.m_Settings.m_iVideoQuality;
  known.channel = a.m_Settings.m_bySelectedChannel;
  return known;
}

void StoreLoginResult(const LoginResult& result, APP_DATA& a) {
  {
    std::lock_guard<std::mutex> lock(SessionMutex());
    const LoginReplyRecord& id = result.identity;
    std::memcpy(g_szCookie, id.szCookie, sizeof g_szCookie);
    a.str_FWVersion = id.str_FWVersion;
    a.str_ProductID = id.str_ProductID;
    std::memcpy(a.str_MACAddress, id.str_MACAddress, sizeof a.str_MACAddress);
    a.str_HostName = id.str_HostName;
    a.m_Settings.m_wLastMac1 = id.m_wLastMac1;
    a.m_Settings.m_wLastMac2 = id.m_wLastMac2;
  }
  const DeviceInfoRecord& info = result.info;
  a.dwLifeTimeMinutes = info.dwLifeTimeMinutes;
  a.byMultiChannel = info.byMultiChannel;
  a.byVideoMode = info.byVideoMode;
  a.w_UserLevel = info.w_UserLevel;
  a.str_BootVersion = info.str_BootVersion;
  a.str_2041Version = info.str_2041Version;
  a.str_FPGAVersion = info.str_FPGAVersion;
  if (result.deviceInfoApplied) a.m_ControlD = result.controls;
  if (result.prepared) {
    a.m_Settings.m_bySelectedChannel = result.channel;
    a.m_RTPHeaderParser.m_fNewHeader = result.newFrameHeader ? 1 : 0;
  }
  if (result.infBlockRead) {
    std::lock_guard<std::mutex> lock(SysCfgBlockMutex());
    std::memcpy(a.cfg_INF, result.infBlock, sizeof a.cfg_INF);
    a.dwDeviceCapabilityMask = result.capabilityMask;
  }
}

bool StoreLogin(const LoginResult& result, const LoginOptions& options,
                const DeviceSession& session, SessionToSettings what, APP_DATA& a) {
  StoreLoginResult(result, a);
  if (!result.Succeeded(options)) return false;
  DeviceSession& program = ProgramDeviceSession();
  if (&session != &program) {
    if (what == SessionToSettings::kAddressAndAccount)
      program.SetAccount(session.User(), session.Password());
    program.TakeAddressOf(session);
  }
  std::lock_guard<std::mutex> lock(SessionMutex());
  AddressToSettings(session, a.m_Settings);
  if (what == SessionToSettings::kAddressAndAccount) {
    a.m_Settings.m_strUsername = session.User();
    a.m_Settings.m_strPassword = session.Password();
  }
  return true;
}

void FollowProgramSessionInSettings() {
  ProgramDeviceSession().SetAddressObserver(&ProgramSessionMoved);
}

int FetchDeviceInformation() {
  if (!g_lpApp) return 0;
  std::string cookie;
  {
    std::lock_guard<std::mutex> lock(SessionMutex());
    cookie.assign(g_szCookie, strnlen(g_szCookie, sizeof g_szCookie));
  }
  const LoginResult result =
      RunDeviceInfoExchange(ProgramDeviceSession(), kReloginLogin, KnownDeviceOf(*g_lpApp), cookie);
  StoreLoginResult(result, *g_lpApp);
  return result.deviceInfoApplied ? 1 : 0;
}
