// Reading and writing the device's configuration blocks on a device session.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

class DeviceSession;

// Sends "/GetSysCfg.cgi" for option with size (0 for "ALL") to the given session with the given
// cookie. 1 when the device answered and the whole body arrived: reply holds it, length its
// length.
int FetchSysCfg(DeviceSession& session, std::string_view cookie, uint8_t option, uint32_t size,
                std::vector<uint8_t>& reply, uint32_t& length);

// One block (not "ALL") into destination (size bytes), under SysCfgBlockMutex(). Returns 1 or 0;
// on 0 nothing is changed. A block reply longer than size and a body that did not arrive
// complete are refused. A shorter block is zero-filled to size; ONLINE takes at most size bytes
// and leaves the rest.
int GetSysCfgBlock(DeviceSession& session, std::string_view cookie, uint8_t option,
                   void* destination, uint32_t size);

// Writes one block (not "ALL") through "/SetSysCfg.cgi" with a copy of the block, taken under
// SysCfgBlockMutex(), as the request body; DNS carries "Refresh" (True when refresh is nonzero).
// 1 when the device answered with status 200.
int SetSysCfgBlock(DeviceSession& session, std::string_view cookie, uint8_t option,
                   const void* block, uint32_t size, uint32_t refresh);
