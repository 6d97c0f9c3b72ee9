// State the device commands share between threads: the device address settings (server name,
// web port, kept host name), the pending address switch-over and the session cookie are read and
// written only under SessionMutex(); the configuration-block copies under SysCfgBlockMutex().
#pragma once

#include <cstdint>
#include <mutex>
#include <string>

std::mutex& SessionMutex();
std::mutex& SysCfgBlockMutex();

// A new web port and server text for the client, set by the network settings page after it
// changed the device's address; the command layer takes them over after its next reply with
// status 200 and clears the flags.
extern uint32_t g_fPendingWebPort;
extern uint16_t g_wPendingWebPort;
extern uint32_t g_fPendingServerName;
extern std::string g_strPendingServerName;
