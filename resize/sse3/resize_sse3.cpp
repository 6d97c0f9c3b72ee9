// The SSE3-class build (dispatch slot 4): the SSE2 kernel set compiled a second time, with its
// own names, tables and entry, and the same results bit for bit.
#define OST_SIMD_SUFFIX Sse3
#define OST_SIMD_ENTRY ResizeEntrySSE3
#include "resize/sse2/resize_sse2_impl.h"
