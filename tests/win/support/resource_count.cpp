#include "resource_count.h"

#include <windows.h>

#include <cstdint>
#include <vector>

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

int CountWindows() {
  int n = 0;
  for (uintptr_t h = 0x20; h < 0x20 + 2 * 0x2000; h += 2)
    if (IsWindow(reinterpret_cast<HWND>(h))) ++n;
  return n;
}

namespace {

std::vector<HANDLE> Heaps() {
  std::vector<HANDLE> heaps(64);
  DWORD n = GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data());
  if (n > heaps.size()) {
    heaps.resize(n);
    n = GetProcessHeaps(n, heaps.data());
  }
  heaps.resize(n < heaps.size() ? n : heaps.size());
  return heaps;
}

}  // namespace

HeapUse MeasureHeaps() {
  HeapUse use{0, 0};
  for (HANDLE heap : Heaps()) {
    if (!HeapLock(heap)) continue;
    PROCESS_HEAP_ENTRY e;
    e.lpData = nullptr;
    while (HeapWalk(heap, &e)) {
      if (e.wFlags & PROCESS_HEAP_ENTRY_BUSY) {
        ++use.blocks;
        use.bytes += e.cbData;
      }
    }
    HeapUnlock(heap);
  }
  return use;
}

bool HeapsValid() {
  for (HANDLE heap : Heaps())
    if (!HeapValidate(heap, 0, nullptr)) return false;
  return true;
}

}  // namespace zotest
