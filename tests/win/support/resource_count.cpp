#include "resource_count.h"

#include <windows.h>

#include <cstdint>

namespace zotest {

int CountGdiObjects() {
  int n = 0;
  for (uintptr_t h = 1; h < 0x10000; ++h)
    if (GetObjectType(reinterpret_cast<HGDIOBJ>(h)) != 0) ++n;
  return n;
}

int CountKernelHandles() {
  int n = 0;
  DWORD flags;
  for (uintptr_t h = 4; h < 0x4000; h += 4)
    if (GetHandleInformation(reinterpret_cast<HANDLE>(h), &flags)) ++n;
  return n;
}

size_t CommittedPrivateBytes() {
  size_t total = 0;
  MEMORY_BASIC_INFORMATION m;
  for (uintptr_t a = 0; VirtualQuery(reinterpret_cast<void*>(a), &m, sizeof m) == sizeof m;) {
    if (m.State == MEM_COMMIT && m.Type == MEM_PRIVATE) total += m.RegionSize;
    const uintptr_t next = reinterpret_cast<uintptr_t>(m.BaseAddress) + m.RegionSize;
    if (next <= a) break;
    a = next;
  }
  return total;
}

}  // namespace zotest
