// Paired captions: one string-table text holding two captions separated by its first "$".
#pragma once

#include <cstddef>
#include <string_view>

inline constexpr size_t kStringPairBufferBytes = 50;

// Splits text at its first "$" into first and second (each kStringPairBufferBytes bytes, both
// zero-filled first). Each part is cut to 49 characters; a text without "$" goes whole into
// first (cut likewise) and leaves second empty. Returns 1.
int SplitStringPair(std::string_view text, char* first, char* second);
