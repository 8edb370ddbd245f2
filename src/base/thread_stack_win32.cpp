// ReleaseUnusedStack on Windows; see thread_stack.h.
#include <windows.h>

#include <algorithm>
#include <cstdint>

#include "base/thread_stack.h"

size_t ReleaseUnusedStack() {
  // This frame lies below the caller's; the limit lies below both.
  const auto frame = reinterpret_cast<uintptr_t>(__builtin_frame_address(0));
  const uintptr_t limit = (frame - kStackKeptBytes) & ~static_cast<uintptr_t>(0xFFF);
  MEMORY_BASIC_INFORMATION region{};
  if (!VirtualQuery(reinterpret_cast<void*>(limit), &region, sizeof region)) return 0;
  // The stack is one reservation: committed pages in use at its top, a
  // guard page below them and reserved pages below that (under Wine, all of
  // it may be committed). Only committed pages without the guard are reset;
  // MEM_RESET keeps them committed and their contents undefined.
  size_t released = 0;
  auto* p = static_cast<char*>(region.AllocationBase);
  auto* const end = reinterpret_cast<char*>(limit);
  while (p < end && VirtualQuery(p, &region, sizeof region)) {
    char* const regionEnd = std::min(static_cast<char*>(region.BaseAddress) + region.RegionSize, end);
    if (region.State == MEM_COMMIT && region.Protect == PAGE_READWRITE &&
        VirtualAlloc(p, static_cast<size_t>(regionEnd - p), MEM_RESET, PAGE_READWRITE))
      released += static_cast<size_t>(regionEnd - p);
    p = regionEnd;
  }
  return released;
}
