// The portable build: its kernels are the shared drivers instantiated with the portable row
// helpers.
#include "resize/resize_build.h"
#include "resize/resize_drivers.h"
#include "resize/resize_portable_rows.h"
#include "resize/resize_worker.h"

using PortableTables = ResizeBuildTables<ResizePortableRows>;

const ResizeKernelTable ResizeKernelTableGeneric = PortableTables::Table();
const ResizeKernelTableByNearest ResizeKernelTableGenericCopy1 = PortableTables::TableByNearest();
const ResizeKernelTableByNearest ResizeKernelTableGenericCopy2 = PortableTables::TableByNearest();
const ResizeSuperKernelTable ResizeSuperKernelTableGeneric = PortableTables::SuperTable();

const ResizeBuild kResizeGenericBuild = {&ResizeKernelTableGeneric, ResizeLanczosWeights,
                                         &ResizeSuperKernelTableGeneric, ResizeLinearRows8u};
