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

// One reading as served, without its value: the user's names, as the
// windows show them.
struct TQD_MetricsReading {
  uint32_t tReading = 0;
  uint32_t dwSensorID = 0;
  uint32_t dwSensorInst = 0;
  uint32_t dwReadingID = 0;
  uint32_t SensorIndex = 0;  // into SensorNames
  std::string Label;
  std::string Unit;
  TQD_URID URID() const { return TQD_URID::CreateNew(dwSensorID, dwSensorInst, dwReadingID); }
};

// What the readings are; it rarely changes between polls, so consecutive
// snapshots share it and a poll copies only the values.
struct TQD_MetricsLayout {
  std::vector<std::string> SensorNames;
  std::vector<TQD_MetricsReading> Items;  // no placeholder
};

// The readings of the last successful HWiNFO poll: Values[i] belongs to
// Layout->Items[i].
struct TQD_MetricsReadings {
  std::shared_ptr<const TQD_MetricsLayout> Layout;
  std::vector<double> Values;
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
// APrevious (may be null) lends its layout when the readings are still the same ones.
std::shared_ptr<const TQD_MetricsReadings> CaptureMetricsReadings(const TQD_DataLogger& ALogger, int64_t ANowMs,
                                                                  const TQD_MetricsReadings* APrevious = nullptr);
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
