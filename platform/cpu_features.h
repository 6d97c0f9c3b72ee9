// Processor feature test.
#pragma once

// 1 when the processor reports MMX (CPUID leaf 1, EDX bit 23), else 0; 0 on processors
// without CPUID.
int IsMmxSupported();
