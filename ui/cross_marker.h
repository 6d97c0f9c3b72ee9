// The hot-point marker drawn into a decoded video frame.
#pragma once

#include <cstdint>

// Draws a cross three pixels thick with arms of 8 pixels, framed by the corners of a 17 x 17
// square, into a bottom-up 24-bit BGR frame of width x height pixels (rows of width * 3 bytes).
// The centre is column x and row height - y counted from the first row in memory. colour holds
// blue in bits 0-7, green in 8-15 and red in 16-23. Pixels outside the frame are skipped. The
// arguments after colour other than x and y are not used. Returns 1.
int DrawCrossMarker(uint8_t* pixels, uint16_t width, uint16_t height, uint32_t colour, int style,
                    uint16_t x, uint16_t y, uint16_t reserved1, uint16_t reserved2);
