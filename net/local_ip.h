// The local host's address as dotted text.
#pragma once

#include <cstddef>
#include <string>

// The local host's address, set once at start-up; loopback until then. Device requests send it
// as their "Host:".
extern std::string g_strLocalIPAddress;

// Writes the first address of the local host name as "%d.%d.%d.%d" (16 bytes suffice), or
// "127.0.0.1" when the name cannot be had or does not resolve. The text is always terminated
// within size bytes.
void GetLocalIpString(char* text, size_t size);
