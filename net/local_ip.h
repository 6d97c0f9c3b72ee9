// The local host's address as dotted text.
#pragma once

#include <cstddef>

// Writes the first address of the local host name as "%d.%d.%d.%d" (16 bytes suffice), or
// "127.0.0.1" when the name cannot be had or does not resolve. The text is always terminated
// within size bytes.
void GetLocalIpString(char* text, size_t size);
