// The generic build: its kernel tables and its description for the shared worker.
#include "resize/resize_build.h"
#include "resize/resize_kernels.h"
#include "resize/resize_worker.h"

#define OST_LANCZOS_GROUP                                                                       \
  {                                                                                             \
    ResizeLanczos8u, ResizeLanczos16u, ResizeLanczos32f, ResizeLanczos8uC1, ResizeLanczos16uC1, \
        ResizeLanczos32fC1                                                                      \
  }
#define OST_CUBIC_GROUP                                                               \
  {                                                                                   \
    ResizeCubic8u, ResizeCubic16u, ResizeCubic32f, ResizeCubic8uC1, ResizeCubic16uC1, \
        ResizeCubic32fC1                                                              \
  }
#define OST_LINEAR_GROUP                                                                   \
  {                                                                                        \
    ResizeLinear8u, ResizeLinear16u, ResizeLinear32f, ResizeLinear8uC1, ResizeLinear16uC1, \
        ResizeLinear32fC1                                                                  \
  }
#define OST_NEAREST_GROUP                                                              \
  {                                                                                    \
    ResizeNearest8uC3, ResizeNearest16uC3, ResizeNearest32fC3, ResizeNearest8uC1,      \
        ResizeNearest16uC1, ResizeNearest32fC1, ResizeNearest8uC4, ResizeNearest16uC4, \
        ResizeNearest32fC4                                                             \
  }

const ResizeKernelTable ResizeKernelTableGeneric = {OST_LANCZOS_GROUP, OST_CUBIC_GROUP,
                                                    OST_LINEAR_GROUP, OST_NEAREST_GROUP};

const ResizeKernelTableByNearest ResizeKernelTableGenericCopy1 = {
    OST_NEAREST_GROUP, OST_LINEAR_GROUP, OST_CUBIC_GROUP, OST_LANCZOS_GROUP};
const ResizeKernelTableByNearest ResizeKernelTableGenericCopy2 = {
    OST_NEAREST_GROUP, OST_LINEAR_GROUP, OST_CUBIC_GROUP, OST_LANCZOS_GROUP};

const ResizeSuperKernelTable ResizeSuperKernelTableGeneric = {{
    {ResizeSuperSample8uC1, ResizeSuperSample8uC3, ResizeSuperSample8uC4},
    {ResizeSuperSample16uC1, ResizeSuperSample16uC3, ResizeSuperSample16uC4},
    {ResizeSuperSample32fC1, ResizeSuperSample32fC3, ResizeSuperSample32fC4},
}};

const ResizeBuild kResizeGenericBuild = {&ResizeKernelTableGeneric, ResizeLanczosWeights,
                                         &ResizeSuperKernelTableGeneric};
