// Loads a paired caption from the program's string table.
#pragma once

#include <cstdint>

// Loads string stringId of the executable and splits it as SplitStringPair does into two
// 50-byte buffers. A missing string leaves both empty. Returns 1.
int LoadStringPair(uint32_t stringId, char* first, char* second);
