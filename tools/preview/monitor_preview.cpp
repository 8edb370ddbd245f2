// quendal_monitor: renders one monitor window natively, fed by a built-in
// machine profile, to a PNG. Usage:
//   quendal_monitor KIND [out.png] [profile] [polls]     KIND: clock cpu gpu drives network
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <cstring>
#include <string>

#include "widgets/color_table.h"
#include "collector/data_logger.h"
#include "sim/fake_monitor_host.h"
#include "sim/fake_ports.h"
#include "monitors/monitors.h"
#include "render/png_writer.h"
#include "sim/profile_machine.h"
#include "sim/profiles.h"
#include "settings/settings.h"

namespace {

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
  TFakeMonitorHost host(kind, QD_DefaultDPI);
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
  TBitmap32 frame(host.ClientWidth, host.ClientHeight);
  window->Grid().RenderTo(frame);
  std::string error;
  if (!WritePngFile(frame, path, &error)) {
    std::fprintf(stderr, "quendal_monitor: %s\n", error.c_str());
    return 1;
  }
  std::printf("%s (%dx%d)\n", path.c_str(), host.ClientWidth, host.ClientHeight);
  return 0;
}
