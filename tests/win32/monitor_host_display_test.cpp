// A monitor window's Win32 host under Wine, moved between monitors of
// different DPI (WM_DPICHANGED with the rectangle the system suggests): the
// window takes the new size, its minimum tracking size, fonts and captions
// follow the new DPI, and the screen shows what a window created at that DPI
// shows. The error layout (no HWiNFO) draws its captions at the window's
// font, never autosized.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "base/dpi.h"
#include "collector/data_logger.h"
#include "monitors/monitor_host_win32.h"
#include "monitors/monitors.h"
#include "render/text_engine_win32.h"
#include "settings/settings.h"
#include "sim/fake_monitor_host.h"
#include "sim/fake_ports.h"
#include "ui/message_loop_win32.h"
#include "widgets/color_table.h"

namespace {

// The window's client area as the screen shows it, 0x00RRGGBB per pixel.
std::vector<uint32_t> ClientPixels(HWND AWindow, int& AWidth, int& AHeight) {
  RECT r{};
  GetClientRect(AWindow, &r);
  AWidth = r.right;
  AHeight = r.bottom;
  std::vector<uint32_t> pixels(static_cast<size_t>(AWidth) * AHeight);
  HDC screen = GetDC(AWindow);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof bi.bmiHeader, AWidth, -AHeight, 1, 32, BI_RGB};
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(memory, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, dib);
  BitBlt(memory, 0, 0, AWidth, AHeight, screen, 0, 0, SRCCOPY);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<const uint32_t*>(bits)[i] & 0xFFFFFF;
  SelectObject(memory, old);
  DeleteObject(dib);
  DeleteDC(memory);
  ReleaseDC(AWindow, screen);
  return pixels;
}

// How many pixels of a widget's drawing the screen shows differently.
int DifferingPixels(const std::vector<uint32_t>& AScreen, int AScreenWidth, TQD_Widget& AWidget) {
  const TRect& b = AWidget.BoundsRect();
  const TBitmap32& drawn = AWidget.Draw();
  int differing = 0;
  for (int y = 0; y < drawn.Height(); ++y)
    for (int x = 0; x < drawn.Width(); ++x)
      differing += AScreen[static_cast<size_t>(b.Top + y) * AScreenWidth + b.Left + x] != (drawn.Pixel(x, y) & 0xFFFFFF);
  return differing;
}

}  // namespace

TEST(MonitorHost, DpiChangesRescaleFontsCaptionsAndTheMinimumSize) {
  TQD_GdiTextEngine text;
  SetCurrentTextEngine(&text);
  TFakeCollector fakes;
  TQD_DataLogger logger(fakes.Ports(), false, 180, 2000);  // HWiNFO never polled: the error layout
  TQD_ColorTable colors;
  TQD_Settings settings;
  settings.CPUMonitor_WindowLeft.Value = 40;
  settings.CPUMonitor_WindowTop.Value = 40;
  TQD_Font font;
  font.Height = -15;
  auto make = [&](TQD_MonitorHost& AHost) {
    auto w = CreateMonitorWindow(TQD_MonitorKind::CPU, AHost, settings, fakes.Clock, fakes.Timers);
    w->SetColorTable(&colors);
    w->SetDataLogger(&logger);
    w->SetFont(font);
    return w;
  };

  auto host = std::make_unique<TQD_MonitorHostWin32>(TQD_MonitorKind::CPU, nullptr);
  const HWND hwnd = host->Handle();
  auto window = make(*host);
  host->Attach(window.get());
  window->Show();
  ShowWindow(hwnd, SW_SHOWNOACTIVATE);
  ASSERT_TRUE(window->ErrorWindowPopulated());

  // Up in steps, then back down to 96 DPI from the window's minimum size,
  // which the system holds the suggested rectangle to.
  for (int dpi : {144, 192, 120, 96}) {
    SCOPED_TRACE(dpi);
    const int width = ScaleToDPI(540, dpi), height = ScaleToDPI(120, dpi);
    int ww = 0, wh = 0;
    host->WindowSizeForClient(width, height, ww, wh);
    RECT suggested{40, 40, 40 + ww, 40 + wh};
    SendMessageW(hwnd, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    UpdateWindow(hwnd);
    PumpPendingMessages();

    RECT client{};
    GetClientRect(hwnd, &client);
    EXPECT_EQ(client.right, width);
    EXPECT_EQ(client.bottom, height);
    MINMAXINFO info{};
    SendMessageW(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    int minWidth = 0, minHeight = 0;
    host->WindowSizeForClient(ScaleToDPI(120, dpi), ScaleToDPI(120, dpi), minWidth, minHeight);
    EXPECT_EQ(info.ptMinTrackSize.x, minWidth);
    EXPECT_EQ(info.ptMinTrackSize.y, minHeight);
    for (TQD_Label* label : window->Grid().Labels()) EXPECT_EQ(label->Font().Height, ScaleToDPI(-15, dpi));

    // The screen shows each caption as a window created at this DPI draws it.
    TFakeMonitorHost fresh(TQD_MonitorKind::CPU, dpi);
    auto reference = make(fresh);
    reference->Show();
    ASSERT_EQ(fresh.ClientWidth, width);
    ASSERT_EQ(fresh.ClientHeight, height);
    int sw = 0, sh = 0;
    const std::vector<uint32_t> screen = ClientPixels(hwnd, sw, sh);
    ASSERT_EQ(sw, width);
    ASSERT_EQ(sh, height);
    for (int i = 0; i < 2; ++i) {
      const TQD_Label& shown = *window->Grid().Labels()[i];
      TQD_Label& expected = *reference->Grid().Labels()[i];
      ASSERT_TRUE(shown.BoundsRect() == expected.BoundsRect()) << "label " << i;
      EXPECT_EQ(DifferingPixels(screen, sw, expected), 0) << "label " << i;
    }
  }

  window->Destroying();
  window.reset();
  host.reset();
  SetCurrentTextEngine(nullptr);
}
