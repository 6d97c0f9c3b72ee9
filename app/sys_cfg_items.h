// The device's configuration blocks read and written on the program's device session with the
// session cookie; "ALL" goes into the application data's block copies.
#pragma once

#include <cstdint>
#include <span>

#include "net/sys_cfg_fields.h"

class APP_DATA;

// Reads one block into destination (size bytes) through "/GetSysCfg.cgi", or for option 17
// ("ALL") every block into its copy in the application data (destination and size unused).
// Returns 1 or 0; on 0 nothing is changed. A block reply longer than size, a body that did not
// arrive complete, and an "ALL" reply shorter than its layout are refused. A shorter single
// block is zero-filled to size; ONLINE takes at most size bytes and leaves the rest.
int GetSysCfgItem(uint8_t option, void* destination, uint32_t size);

// Writes one block through "/SetSysCfg.cgi" with the block as the request body; DNS carries
// "Refresh" (True when refresh is nonzero). 1 when the device answered with status 200.
int SetSysCfgItem(uint8_t option, const void* block, uint32_t size, uint32_t refresh);

// The application data's copy of a block (options 0-16; empty for "ALL" and unknown options).
// PPPOE is the copy of the given layout, or without one of the device's (PppoeLayoutFor with
// str_ProductID and str_FWVersion). Read and written under SysCfgBlockMutex().
std::span<uint8_t> SysCfgCopy(APP_DATA& a, uint8_t option);
std::span<uint8_t> SysCfgCopy(APP_DATA& a, uint8_t option, PppoeLayout pppoe);
