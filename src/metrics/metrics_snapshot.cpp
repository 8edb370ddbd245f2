// Taking snapshots of the data logger; see metrics_snapshot.h.
#include "metrics/metrics_snapshot.h"

#include <chrono>

#include "collector/data_logger.h"

int64_t MetricsClockMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

std::shared_ptr<const TQD_MetricsReadings> CaptureMetricsReadings(const TQD_DataLogger& ALogger, int64_t ANowMs) {
  auto out = std::make_shared<TQD_MetricsReadings>();
  const TQD_ReadingsList& list = ALogger.ReadingList();
  if (list.size() > 1) out->Items.assign(list.begin() + 1, list.end());
  out->PolledAtMs = ANowMs;
  return out;
}

std::shared_ptr<const TQD_MetricsSystem> CaptureMetricsSystem(const TQD_DataLogger& ALogger) {
  auto out = std::make_shared<TQD_MetricsSystem>();
  out->PollStatus = ALogger.LastInternalPollingStatus();
  out->RAM = ALogger.RAMInfo();
  const TQD_DRVMTR_LogicalDrives& drives = ALogger.LogicalDrives();
  if (drives.size() > 1) out->Drives.assign(drives.begin() + 1, drives.end());
  for (const TQD_SingleInterface& i : ALogger.NIFLogger().InterfaceList()) {
    // Before its first sample an interface has no counters yet.
    if (i.FirstRun) continue;
    out->Interfaces.push_back({i.IFName, GuidToText(i.ID), i.LastInOctets, i.LastOutOctets});
  }
  return out;
}
