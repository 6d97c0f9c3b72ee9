// The SSE2 build (dispatch slot 3).
#define OST_SIMD_SUFFIX Sse2
#define OST_SIMD_ENTRY ResizeEntrySSE2
#include "resize/sse2/resize_sse2_impl.h"
