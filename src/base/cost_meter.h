// Where an idle Quendal spends its time. Off unless the environment variable
// QUENDAL_COST_FILE names a file; then every few seconds that file is
// rewritten with the time each kind of work took per second of run time and
// in all, so a run that is killed rather than closed still leaves its
// numbers behind.
// bench/idle reads it. Scopes nest (a refresh includes its text drawing), so
// the kinds overlap and are not meant to add up.
#pragma once

#include <chrono>
#include <cstdint>

enum class TQD_CostKind : uint8_t {
  InternalPoll,
  // Parts of the internal poll.
  MemoryInfo,
  DriveInfo,
  NetworkInfo,
  HWiNFOPoll,
  ClockTick,
  RefreshCPU,
  RefreshGPU,
  RefreshDrives,
  RefreshNetwork,
  // A monitor window's paint: drawing the widgets it shows onto the screen.
  Paint,
  // Paint again, by window, and the part of it spent drawing widgets.
  PaintClock,
  PaintCPU,
  PaintGPU,
  PaintDrives,
  PaintNetwork,
  Draw,
  GdiText,
  // Part of GdiText: texts and extents not found in the cache that GDI was
  // asked for, whole or for glyphs not yet cached.
  GdiTextMissed,
  Count
};

// Whether the meter records at all; read once from the environment.
bool CostMeterEnabled();
// Adds ANanoseconds to AKind and rewrites the file when it is due.
void AddCost(TQD_CostKind AKind, int64_t ANanoseconds);

// Measures its own lifetime; does nothing when the meter is off.
class TQD_CostScope {
 public:
  explicit TQD_CostScope(TQD_CostKind AKind) : FKind(AKind), FOn(CostMeterEnabled()) {
    if (FOn) FStart = std::chrono::steady_clock::now();
  }
  ~TQD_CostScope() {
    if (FOn)
      AddCost(FKind, std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now() - FStart)
                         .count());
  }
  TQD_CostScope(const TQD_CostScope&) = delete;
  TQD_CostScope& operator=(const TQD_CostScope&) = delete;

 private:
  TQD_CostKind FKind;
  bool FOn;
  std::chrono::steady_clock::time_point FStart{};
};
