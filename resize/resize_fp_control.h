// Floating-point control and status routines of the resize library (x87 and MXCSR).  On other
// processors the hardware routines read 0 and change nothing.
#pragma once

#include <cstdint>

// Portable control-word form.
inline constexpr uint32_t kFpMaskInvalid = 0x10;
inline constexpr uint32_t kFpMaskZeroDivide = 0x08;
inline constexpr uint32_t kFpMaskOverflow = 0x04;
inline constexpr uint32_t kFpMaskUnderflow = 0x02;
inline constexpr uint32_t kFpMaskInexact = 0x01;
inline constexpr uint32_t kFpMaskDenormal = 0x80000;
inline constexpr uint32_t kFpRoundNear = 0x000;
inline constexpr uint32_t kFpRoundDown = 0x100;
inline constexpr uint32_t kFpRoundUp = 0x200;
inline constexpr uint32_t kFpRoundChop = 0x300;
inline constexpr uint32_t kFpPrecision24 = 0x20000;
inline constexpr uint32_t kFpPrecision53 = 0x10000;
inline constexpr uint32_t kFpPrecision64 = 0;
inline constexpr uint32_t kFpInfinityAffine = 0x40000;

// Translations between the x87 words and the portable form.
uint32_t ResizeFpX87ControlToPortable(uint16_t control);
uint16_t ResizeFpPortableToX87Control(uint32_t portable, uint16_t base);
uint32_t ResizeFpX87StatusToPortable(uint16_t status);

uint32_t ResizeFpResetSseControl();  // MXCSR = 0x1F80; returns the previous MXCSR
uint16_t ResizeFpSetX87ControlMasked(uint16_t value, uint16_t mask);  // returns the previous word
uint16_t ResizeFpGetX87Control();
uint16_t ResizeFpGetX87Status();
uint16_t ResizeFpGetClearX87Status();
uint32_t ResizeFpSetMxcsrMasked(uint32_t value, uint32_t mask);  // returns the previous MXCSR
uint32_t ResizeFpGetMxcsr();
uint32_t ResizeFpSetControlPortable(uint32_t value, uint32_t mask);  // returns the new form
uint32_t ResizeFpGetStatusPortable();
uint32_t ResizeFpGetClearStatusPortable();
int32_t ResizeFpIsNan(double value);
int32_t ResizeFpIsFinite(double value);
void ResizeFpSetX87ControlIfDiffers(uint16_t value, uint16_t mask);
void ResizeFpLoadX87Control(uint16_t control);
void ResizeFpLoadMxcsr(uint32_t mxcsr);
uint32_t ResizeFpSetRoundingIfDiffers(uint32_t rounding);  // returns the previous MXCSR
int32_t ResizeFpHasDenormalsAreZero();
