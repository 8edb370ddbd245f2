// The idle floor: five borderless, resizable windows of the monitor windows'
// default sizes (the default profile at 96 DPI) that repaint a clock text with
// GDI once a second, and nothing else. bench/idle/run_idle measures it beside
// Quendal under the same Wine, so that Quendal's idle cost reads as a ratio.
#include <windows.h>

#include <cwchar>

namespace {

struct TPlace {
  int Left, Top, Width, Height;
};
// Where ./run puts the clock, CPU, GPU, drive and network windows, with their
// client sizes.
constexpr TPlace kWindows[] = {
    {570, 580, 540, 66}, {10, 10, 540, 515}, {570, 10, 540, 429}, {1130, 10, 540, 282}, {1130, 300, 540, 249}};

HFONT gFont = nullptr;

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
  // One thread timer for all five, as a clock needs no more.
  SetTimer(nullptr, 0, 1000, nullptr);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == WM_TIMER && msg.hwnd == nullptr) {
      for (HWND w : windows) InvalidateRect(w, nullptr, FALSE);
      continue;
    }
    DispatchMessageW(&msg);
  }
  DeleteObject(gFont);
  return 0;
}
