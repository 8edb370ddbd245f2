// quendal_monitor: renders one monitor window natively, fed by a built-in
// machine profile, to a PNG. Usage:
//   quendal_monitor KIND [out.png] [profile] [polls]     KIND: clock cpu gpu drives network
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <cstring>
#include <string>

#include "color_table.h"
#include "data_logger.h"
#include "fake_ports.h"
#include "monitors.h"
#include "png_writer.h"
#include "profile_machine.h"
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
  std::unique_ptr<TProfileMachine> machine;
  try {
    machine = std::make_unique<TProfileMachine>(profileName);
  } catch (const std::invalid_argument& e) {
    std::fprintf(stderr, "quendal_monitor: %s\n", e.what());
    return 2;
  }
  TQD_DataLogger& logger = machine->Logger();
  TQD_ColorTable colors;
  TQD_Settings settings;
  settings.FontAntialiasing.Value = true;
  THost host;
  auto window = CreateMonitorWindow(kind, host, settings, machine->Fakes.Clock, machine->Fakes.Timers);
  TQD_Font font;
  font.Height = -15;
  window->SetFont(font);
  window->SetColorTable(&colors);
  if (kind != TQD_MonitorKind::Clock) window->SetDataLogger(&logger);
  window->Show();
  for (int i = 1; i <= polls; ++i) {
    machine->Poll(i);
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
