// The idle cost meter; see cost_meter.h.
#include "base/cost_meter.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using TSteady = std::chrono::steady_clock;

constexpr const char* kNames[] = {
    "internal-poll", "memory-info",     "drive-info",  "network-info",  "hwinfo-poll",
    "clock-tick",    "refresh-cpu",     "refresh-gpu", "refresh-drives", "refresh-network",
    "paint",         "paint-clock",     "paint-cpu",   "paint-gpu",     "paint-drives",
    "paint-network", "draw",            "gdi-text",    "gdi-text-missed"};
static_assert(sizeof kNames / sizeof kNames[0] == static_cast<size_t>(TQD_CostKind::Count));
constexpr auto kWriteEvery = std::chrono::seconds(5);

struct TMeter {
  std::string Path;
  TSteady::time_point Start = TSteady::now();
  TSteady::time_point LastWrite = Start;
  std::array<int64_t, static_cast<size_t>(TQD_CostKind::Count)> Nanoseconds{};
  std::array<int64_t, static_cast<size_t>(TQD_CostKind::Count)> Calls{};

  TMeter() {
    if (const char* p = std::getenv("QUENDAL_COST_FILE")) Path = p;
  }

  void Write(TSteady::time_point ANow) {
    LastWrite = ANow;
    const double seconds = std::chrono::duration<double>(ANow - Start).count();
    if (seconds <= 0) return;
    FILE* f = std::fopen(Path.c_str(), "w");
    if (!f) return;
    std::fprintf(f, "seconds %.1f\n", seconds);
    // Rates since start, then the totals they come from: two readings of the
    // file give the rates between them (bench/idle leaves out the start-up).
    for (size_t k = 0; k < Nanoseconds.size(); ++k)
      std::fprintf(f, "%s %.3f ms/s %.1f calls/s %.3f ms %lld calls\n", kNames[k], Nanoseconds[k] / 1e6 / seconds,
                   Calls[k] / seconds, Nanoseconds[k] / 1e6, static_cast<long long>(Calls[k]));
    std::fclose(f);
  }
};

TMeter& Meter() {
  static TMeter meter;
  return meter;
}

}  // namespace

bool CostMeterEnabled() {
  static const bool enabled = !Meter().Path.empty();
  return enabled;
}

void AddCost(TQD_CostKind AKind, int64_t ANanoseconds) {
  TMeter& m = Meter();
  m.Nanoseconds[static_cast<size_t>(AKind)] += ANanoseconds;
  ++m.Calls[static_cast<size_t>(AKind)];
  const TSteady::time_point now = TSteady::now();
  if (now - m.LastWrite >= kWriteEvery) m.Write(now);
}
