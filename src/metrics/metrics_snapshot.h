// What the metrics endpoint serves: an immutable copy of the data logger's
// figures, taken on the UI thread after each poll and read by the server's
// worker thread. Nothing in a published snapshot changes again, so a scrape
// reads it without any lock; only the pointer swap is guarded.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "collector/nif_logger.h"
#include "collector/readings.h"
#include "collector/system_info.h"

class TQD_DataLogger;

struct TQD_MetricsInterface {
  std::string Name;  // the interface description
  std::string Guid;  // registry form, "{...}"
  uint64_t ReceivedBytes = 0;  // the system's own octet counters
  uint64_t SentBytes = 0;
};

// The readings of the last successful HWiNFO poll.
struct TQD_MetricsReadings {
  std::vector<TQD_ReadingsListItem> Items;  // no placeholder
  // Steady-clock milliseconds when that poll finished.
  int64_t PolledAtMs = 0;
};

// RAM, logical drives and network counters of the last internal poll.
struct TQD_MetricsSystem {
  uint8_t PollStatus = 1;
  TQD_RAMINFO RAM;
  TQD_DRVMTR_LogicalDrives Drives;  // no placeholder
  std::vector<TQD_MetricsInterface> Interfaces;
};

struct TQD_MetricsSnapshot {
  std::string Version;  // "0.1"
  uint8_t HWiPollStatus = 1;
  // Null until an HWiNFO poll has succeeded; kept through failed polls.
  std::shared_ptr<const TQD_MetricsReadings> Readings;
  std::shared_ptr<const TQD_MetricsSystem> System;
};

// Milliseconds of the clock snapshots and scrapes share.
int64_t MetricsClockMs();

// The parts of the data logger's state a snapshot holds.
std::shared_ptr<const TQD_MetricsReadings> CaptureMetricsReadings(const TQD_DataLogger& ALogger, int64_t ANowMs);
std::shared_ptr<const TQD_MetricsSystem> CaptureMetricsSystem(const TQD_DataLogger& ALogger);

// Where the UI thread leaves the newest snapshot and the server picks it up.
class TQD_MetricsSnapshotSlot {
 public:
  void Publish(std::shared_ptr<const TQD_MetricsSnapshot> ASnapshot) {
    std::lock_guard<std::mutex> lock(FMutex);
    FSnapshot.swap(ASnapshot);
    // The old one goes when the last scrape reading it is done (or here,
    // outside any scrape's way).
  }
  std::shared_ptr<const TQD_MetricsSnapshot> Current() const {
    std::lock_guard<std::mutex> lock(FMutex);
    return FSnapshot;
  }

 private:
  mutable std::mutex FMutex;
  std::shared_ptr<const TQD_MetricsSnapshot> FSnapshot;
};
