// Whole-file replacement for the address book: the new content goes to a temporary file beside
// the book, is flushed, and then takes the book's name in one step, so that a full disk, a
// failed write or a crash leaves either the old book or the new one, never a part of either.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The temporary file that a replacement of `path` writes first.
std::string ReplacementTempPath(const std::string& path);

// Replaces the file `path` by `image`.  False, with `path` untouched and the temporary file
// removed, when any step fails; `*error` then holds the platform's error code.
bool ReplaceFileContents(const std::string& path, const std::vector<uint8_t>& image,
                         unsigned long* error = nullptr);
