// Recognising a device picture: a JPEG that begins with start-of-image directly followed by a
// quantisation-table segment (no application segment in between).
#pragma once

#include <cstdint>

// 1 when the first four bytes are FF D8 FF DB, else 0. The caller guarantees four readable
// bytes; length is not used.
int IsJpegFrame(const uint8_t* buffer, uint32_t length);
