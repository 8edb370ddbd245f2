// The idle floor: five borderless, resizable windows of the monitor windows'
// default sizes (the default profile at 96 DPI) that repaint a clock text with
// GDI once a second, and nothing else. bench/idle/run_idle measures it beside
// Quendal under the same Wine, so that Quendal's idle cost reads as a ratio.
//
// Built with IDLE_FLOOR_WITH_DATA (idle_floor_data.exe) it also asks the
// system what a hardware monitor has to ask, in the least costly way, and
// shows none of it: memory, the network interface table and every drive's
// free space each second, the HWiNFO block opened, copied and closed every
// two seconds, its ticks from timer-queue timers; the drive list, types and
// labels once. What Quendal costs beyond that is its own doing.
#ifdef IDLE_FLOOR_WITH_DATA
// winsock2.h before windows.h; ws2ipdef.h before iphlpapi.h, or MIB_IF_ROW2 is left out.
#include <winsock2.h>
#include <ws2ipdef.h>
#endif
#include <windows.h>
#ifdef IDLE_FLOOR_WITH_DATA
#include <iphlpapi.h>
#endif

#include <cwchar>
#ifdef IDLE_FLOOR_WITH_DATA
#include <cstring>
#include <string>
#include <vector>

#include "collector/hwinfo_sm2.h"
#endif

namespace {

struct TPlace {
  int Left, Top, Width, Height;
};
// Where ./run puts the clock, CPU, GPU, drive and network windows, with their
// client sizes.
constexpr TPlace kWindows[] = {
    {570, 580, 540, 66}, {10, 10, 540, 515}, {570, 10, 540, 429}, {1130, 10, 540, 282}, {1130, 300, 540, 249}};

HFONT gFont = nullptr;

#ifdef IDLE_FLOOR_WITH_DATA
constexpr UINT kTickMessage = WM_APP + 1;  // wParam: 0 clock, 1 system, 2 HWiNFO
DWORD gUIThread = 0;
std::vector<std::wstring> gDrives;
std::vector<unsigned char> gBlock;

void CALLBACK Tick(PVOID AWhich, BOOLEAN) {
  PostThreadMessageW(gUIThread, kTickMessage, reinterpret_cast<WPARAM>(AWhich), 0);
}

void ReadDriveList() {
  wchar_t roots[512];
  const DWORD n = GetLogicalDriveStringsW(512, roots);
  for (const wchar_t* p = roots; n && n < 512 && *p; p += std::wcslen(p) + 1) {
    wchar_t label[40];
    GetDriveTypeW(p);
    GetVolumeInformationW(p, label, 40, nullptr, nullptr, nullptr, nullptr, 0);
    gDrives.emplace_back(p);
  }
}

void ReadSystem() {
  MEMORYSTATUSEX memory{};
  memory.dwLength = sizeof memory;
  GlobalMemoryStatusEx(&memory);
  MIB_IF_TABLE2* table = nullptr;
  if (GetIfTable2(&table) == NO_ERROR && table) FreeMibTable(table);
  for (const std::wstring& root : gDrives) {
    ULARGE_INTEGER available, total;
    GetDiskFreeSpaceExW(root.c_str(), &available, &total, nullptr);
  }
}

void ReadHWiNFO() {
  const HANDLE mapping = OpenFileMappingW(FILE_MAP_READ, FALSE, hwinfo_sm2::kMappingNameW);
  if (!mapping) return;
  if (const void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0)) {
    MEMORY_BASIC_INFORMATION info{};
    if (VirtualQuery(view, &info, sizeof info)) {
      gBlock.resize(info.RegionSize);
      std::memcpy(gBlock.data(), view, info.RegionSize);
    }
    UnmapViewOfFile(view);
  }
  CloseHandle(mapping);
}
#endif

LRESULT CALLBACK WindowProc(HWND AWnd, UINT AMessage, WPARAM AWParam, LPARAM ALParam) {
  switch (AMessage) {
    case WM_ERASEBKGND:
      return 1;  // the paint covers the client area
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(AWnd, &ps);
      RECT r;
      GetClientRect(AWnd, &r);
      FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      SYSTEMTIME t;
      GetLocalTime(&t);
      wchar_t text[16];
      const int n = std::swprintf(text, 16, L"%02u:%02u:%02u", t.wHour, t.wMinute, t.wSecond);
      HGDIOBJ old = SelectObject(dc, gFont);
      SetTextColor(dc, RGB(255, 255, 255));
      SetBkMode(dc, TRANSPARENT);
      TextOutW(dc, 8, 4, text, n);
      SelectObject(dc, old);
      EndPaint(AWnd, &ps);
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(AWnd, AMessage, AWParam, ALParam);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE AInstance, HINSTANCE, PWSTR, int) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = AInstance;
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.lpszClassName = L"QuendalIdleFloor";
  if (!RegisterClassW(&wc)) return 1;
  gFont = CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_TT_PRECIS,
                      CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"Segoe UI");
  constexpr DWORD style = WS_POPUP | WS_THICKFRAME | WS_CLIPCHILDREN;
  HWND windows[5] = {};
  for (int i = 0; i < 5; ++i) {
    RECT r{0, 0, kWindows[i].Width, kWindows[i].Height};
    AdjustWindowRectEx(&r, style, FALSE, 0);
    windows[i] = CreateWindowExW(0, wc.lpszClassName, L"Idle floor", style, kWindows[i].Left, kWindows[i].Top,
                                 r.right - r.left, r.bottom - r.top, nullptr, nullptr, AInstance, nullptr);
    if (!windows[i]) return 1;
    ShowWindow(windows[i], SW_SHOWNOACTIVATE);
  }
#ifdef IDLE_FLOOR_WITH_DATA
  gUIThread = GetCurrentThreadId();
  ReadDriveList();
  HANDLE timers[3] = {};
  const DWORD periods[3] = {1000, 1000, 2000};
  for (int i = 0; i < 3; ++i)
    if (!CreateTimerQueueTimer(&timers[i], nullptr, Tick, reinterpret_cast<PVOID>(static_cast<INT_PTR>(i)),
                               periods[i], periods[i], WT_EXECUTEINTIMERTHREAD))
      return 1;
  const UINT clockTick = kTickMessage;
#else
  // One thread timer for all five, as a clock needs no more.
  SetTimer(nullptr, 0, 1000, nullptr);
  const UINT clockTick = WM_TIMER;
#endif
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == clockTick && msg.hwnd == nullptr) {
#ifdef IDLE_FLOOR_WITH_DATA
      if (msg.wParam == 1) ReadSystem();
      if (msg.wParam == 2) ReadHWiNFO();
      if (msg.wParam != 0) continue;
#endif
      for (HWND w : windows) InvalidateRect(w, nullptr, FALSE);
      continue;
    }
    DispatchMessageW(&msg);
  }
  DeleteObject(gFont);
  return 0;
}
