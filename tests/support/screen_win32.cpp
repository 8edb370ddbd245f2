// Screen reads for tests; see screen_win32.h.
#include "screen_win32.h"

#include <cstdint>
#include <set>

#include "base/win32_handles_win32.h"

size_t DistinctColours(HWND AWindow) {
  RECT r{};
  GetClientRect(AWindow, &r);
  const TQD_WindowDC screen = QD_GetWindowDC(AWindow);
  const TQD_MemoryDC memory(CreateCompatibleDC(screen.Get()));
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof bi.bmiHeader, r.right, -r.bottom, 1, 32, BI_RGB};
  void* bits = nullptr;
  const TQD_BitmapHandle dib(CreateDIBSection(memory.Get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!dib) return 0;
  std::set<uint32_t> colours;
  {
    const TQD_SelectObjectScope select(memory.Get(), dib.Get());
    BitBlt(memory.Get(), 0, 0, r.right, r.bottom, screen.Get(), 0, 0, SRCCOPY);
    for (long i = 0; i < r.right * r.bottom; ++i) colours.insert(static_cast<const uint32_t*>(bits)[i] & 0xFFFFFF);
  }
  return colours.size();
}
