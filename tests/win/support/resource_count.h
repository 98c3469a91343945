// Live resources of this process, counted the way Wine 8 allows: it has no
// GetGuiResources and no useful handle or private-memory counters.
#pragma once

#include <cstddef>

namespace zotest {

// GDI objects: small handle values that GetObjectType recognises (an
// object may answer to more than one value; compare counts, not objects).
int CountGdiObjects();
// Kernel handles: small handle values that GetHandleInformation accepts.
int CountKernelHandles();
// Bytes of committed private memory, summed over VirtualQuery's regions.
size_t CommittedPrivateBytes();
// Windows: the first user-handle values that IsWindow accepts (a handle
// whose upper word is 0 stands for any generation of its slot).
int CountWindows();

// The busy blocks of every heap of the process, walked with HeapWalk, and
// the bytes they hold. A heap that packs small blocks into larger ones
// shows those: compare the bytes as well as the count.
struct HeapUse {
  size_t blocks, bytes;
};
HeapUse MeasureHeaps();
// HeapValidate over every heap of the process.
bool HeapsValid();

}  // namespace zotest
