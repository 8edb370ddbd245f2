// quendal_monitor: renders one monitor window natively, fed by a built-in
// machine profile, to a PNG. Usage:
//   quendal_monitor KIND [out.png] [profile] [polls]     KIND: clock cpu gpu drives network
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "block_writer.h"
#include "color_table.h"
#include "data_logger.h"
#include "fake_ports.h"
#include "monitors.h"
#include "png_writer.h"
#include "profiles.h"
#include "settings.h"

namespace {

// A window that exists only as numbers; the grid renders into a bitmap.
class THost : public TQD_MonitorHost {
 public:
  int Width = 120, Height = 120, Left = 0, Top = 0, MinW = 0, MinH = 0;
  int DPI() const override { return 96; }
  void GetClientSize(int& W, int& H) const override { W = Width, H = Height; }
  void SetClientSize(int W, int H) override { Width = std::max(W, MinW), Height = std::max(H, MinH); }
  void SetMinClientSize(int W, int H) override { MinW = W, MinH = H; }
  void GetPosition(int& L, int& T) const override { L = Left, T = Top; }
  void SetPosition(int L, int T) override { Left = L, Top = T; }
  void GetPrimaryScreenSize(int& W, int& H) const override { W = 1920, H = 1080; }
  std::vector<TQD_ScreenRect> MonitorWorkAreas() const override { return {{0, 0, 1920, 1040}}; }
  void SetCornerPreference(int) override {}
  void InvalidateWidgets() override {}
};

bool KindFromName(const std::string& AName, TQD_MonitorKind& AKind) {
  const char* names[] = {"clock", "cpu", "gpu", "drives", "network"};
  for (int i = 0; i < kMonitorKindCount; ++i)
    if (AName == names[i]) {
      AKind = static_cast<TQD_MonitorKind>(i);
      return true;
    }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  TQD_MonitorKind kind;
  if (argc < 2 || !KindFromName(argv[1], kind)) {
    std::fprintf(stderr, "usage: quendal_monitor clock|cpu|gpu|drives|network [out.png] [profile] [polls]\n");
    return 2;
  }
  const std::string path = argc > 2 ? argv[2] : std::string("quendal_") + argv[1] + ".png";
  const std::string profileName = argc > 3 ? argv[3] : "intel-hybrid";
  const int polls = argc > 4 ? std::max(1, std::atoi(argv[4])) : 40;
  TSF_Profile profile;
  if (!MakeProfile(profileName, profile)) {
    std::fprintf(stderr, "quendal_monitor: unknown profile \"%s\"\n", profileName.c_str());
    return 2;
  }
  TFakeCollector fakes;
  fakes.SystemInfo.CPU = profile.CPUInfo;
  fakes.SystemInfo.Drives = {{true, 0, "C:\\", "System", int64_t{1} << 40, int64_t{300} << 30, 0},
                             {true, 1, "D:\\", "Data", int64_t{2} << 40, int64_t{1500} << 30, 0}};
  fakes.Network.Rows = {MakeIFRow(1, true), MakeIFRow(2, false)};
  fakes.Clock.LocalTime = 46000.5;
  TQD_DataLogger logger(fakes.Ports(), false, 180, 2000);
  TQD_ColorTable colors;
  TQD_Settings settings;
  settings.FontAntialiasing.Value = true;
  THost host;
  auto window = CreateMonitorWindow(kind, host, settings, fakes.Clock, fakes.Timers);
  TQD_Font font;
  font.Height = -15;
  window->SetFont(font);
  window->SetColorTable(&colors);
  if (kind != TQD_MonitorKind::Clock) window->SetDataLogger(&logger);
  auto poll = [&](int i) {
    AdvanceProfile(profile, static_cast<uint64_t>(i), 1000);
    fakes.SharedMemory.Block = WriteBlock(profile.Block);
    logger.HWiPolling();
    fakes.Network.Rows[0].InOctets += static_cast<uint64_t>(200000 + (i * 7919) % 900000);
    fakes.Network.Rows[0].OutOctets += static_cast<uint64_t>(50000 + (i * 104729) % 300000);
    fakes.Clock.LocalTime += 1.0 / 86400;
    logger.InternalPolling();
  };
  poll(0);
  window->Show();
  for (int i = 1; i <= polls; ++i) {
    poll(i);
    window->RefreshMonitorWindow();
  }
  if (kind == TQD_MonitorKind::Clock) static_cast<TMonitor_Clock&>(*window).Tick();
  TBitmap32 frame(host.Width, host.Height);
  window->Grid().RenderTo(frame);
  std::string error;
  if (!WritePngFile(frame, path, &error)) {
    std::fprintf(stderr, "quendal_monitor: %s\n", error.c_str());
    return 1;
  }
  std::printf("%s (%dx%d)\n", path.c_str(), host.Width, host.Height);
  return 0;
}
