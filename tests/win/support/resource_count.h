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

}  // namespace zotest
