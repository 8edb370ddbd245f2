// All five monitor windows of the real program under Wine: they appear,
// populated, each as high as its content; without HWiNFO the hardware
// windows show their error layout, and they populate once sensorfeed starts
// publishing. The content heights are computed here, from the same block and
// the same system, by the program's own code.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>

#include "child_process_win32.h"
#include "foreign_window_win32.h"
#include "screen_win32.h"
#include "settings_wipe_guard_win32.h"
#include "collector/data_logger.h"
#include "sim/fake_monitor_host.h"
#include "sim/fake_ports.h"
#include "settings/key_value_store.h"
#include "monitors/monitors.h"
#include "collector/network_win32.h"
#include "settings/registry_store_win32.h"
#include "settings/settings.h"
#include "collector/shared_memory_win32.h"
#include "collector/system_info_win32.h"

namespace {

const wchar_t kMonitorClass[] = L"QuendalMonitorWindow";

struct TKind {
  TQD_MonitorKind Kind;
  const wchar_t* Caption;
  const char* Key;
  int Left, Top;  // side by side, so that each can be seen on the screen
};
const TKind kKinds[] = {{TQD_MonitorKind::Clock, L"Clock", "Clock", 10, 10},
                        {TQD_MonitorKind::CPU, L"CPU Monitor", "CPUMonitor", 570, 10},
                        {TQD_MonitorKind::GPU, L"GPU Monitor", "GPUMonitor", 1130, 10},
                        {TQD_MonitorKind::Drives, L"Drive Monitor", "DriveMonitor", 10, 110},
                        {TQD_MonitorKind::Network, L"Network Monitor", "NetworkMonitor", 10, 450}};

int ClientHeight(HWND AWindow) {
  RECT r{};
  GetClientRect(AWindow, &r);
  return r.bottom;
}

// Waits until APredicate holds for the window of that caption.
bool WaitFor(const wchar_t* ACaption, const std::function<bool(HWND)>& APredicate, DWORD AMs) {
  for (DWORD waited = 0; waited < AMs; waited += 200) {
    HWND w = FindWindowW(kMonitorClass, ACaption);
    if (w && IsWindowVisible(w) && APredicate(w)) return true;
    Sleep(200);
  }
  return false;
}


// The content height of each window as the program computes it, from the
// live block and this machine's system information.
std::map<TQD_MonitorKind, int> ExpectedHeights() {
  TFakeCollector fakes;
  TQD_SharedMemoryWin32 memory;
  TQD_SystemInfoWin32 system;
  TQD_NetworkWin32 network;
  TQD_CollectorPorts ports = fakes.Ports();
  ports.SharedMemory = &memory;
  ports.SystemInfo = &system;
  ports.Network = &network;
  TQD_DataLogger logger(ports, false, 180, 2000);
  logger.HWiPolling();
  TQD_Settings settings;
  std::map<TQD_MonitorKind, int> heights;
  for (const TKind& k : kKinds) {
    TFakeMonitorHost host(k.Kind, 96);
    auto window = CreateMonitorWindow(k.Kind, host, settings, fakes.Clock, fakes.Timers);
    if (k.Kind != TQD_MonitorKind::Clock) window->SetDataLogger(&logger);
    window->Show();
    heights[k.Kind] = host.ClientHeight;  // the content height, held at the window's minimum
  }
  return heights;
}

}  // namespace

TEST(Quendal, AllFiveWindowsErrorLayoutsAndRepopulation) {
  // Refused outside the private prefix: the program would also write its settings there.
  ASSERT_TRUE(WipeQuendalSettings());
  TQD_RegistryStoreWin32 registry;
  for (const TKind& k : kKinds) {
    const std::string key = std::string("Software\\Quendal\\") + k.Key;
    RegWriteBool(registry, key, "On", true);
    RegWriteInteger(registry, key, "Left", k.Left);
    RegWriteInteger(registry, key, "Top", k.Top);
  }

  // HWiNFO is not there yet: the hardware windows show their error layout.
  TChild app(L"", L"Quendal.exe");
  for (const TKind& k : kKinds)
    EXPECT_TRUE(WaitFor(k.Caption, [](HWND) { return true; }, 30000)) << "no window " << WideToUtf8(k.Caption);
  Sleep(1000);  // let the windows paint
  for (const wchar_t* caption : {L"CPU Monitor", L"GPU Monitor", L"Drive Monitor"}) {
    HWND w = FindWindowW(kMonitorClass, caption);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(ClientHeight(w), 120) << WideToUtf8(caption);  // title row and message at the minimum height
    EXPECT_GT(DistinctColours(w), 4u) << WideToUtf8(caption);
  }

  // sensorfeed starts: the next successful polls populate them.
  TStopEvent stop;
  TChild feed(L"publish --interval 500" + stop.Arg());
  Sleep(1500);
  const std::map<TQD_MonitorKind, int> expected = ExpectedHeights();
  for (const TKind& k : kKinds) {
    const int want = expected.at(k.Kind);
    EXPECT_TRUE(WaitFor(k.Caption, [&](HWND w) { return ClientHeight(w) == want; }, 30000))
        << WideToUtf8(k.Caption) << ": client height " << ClientHeight(FindWindowW(kMonitorClass, k.Caption))
        << ", content height " << want;
    HWND w = FindWindowW(kMonitorClass, k.Caption);
    RECT r{};
    GetClientRect(w, &r);
    EXPECT_EQ(r.right, 540) << WideToUtf8(k.Caption);
    EXPECT_GT(DistinctColours(w), 8u) << WideToUtf8(k.Caption);  // drawn content, not a flat colour
  }

  // End the session the way a logoff does.
  HWND main = FindWindowW(QD_MainFormClass, nullptr);
  ASSERT_NE(main, nullptr);
  EndSessionAsLogoff(main);
  EXPECT_EQ(app.Wait(15000), 0);
  EXPECT_EQ(RegReadInteger(registry, "Software\\Quendal\\CPUMonitor", "Height", -7),
            expected.at(TQD_MonitorKind::CPU));
  stop.Set();
  feed.Wait(10000);
  EXPECT_TRUE(WipeQuendalSettings());
}
