// Taking snapshots of the data logger; see metrics_snapshot.h.
#include "metrics/metrics_snapshot.h"

#include <chrono>

#include "collector/data_logger.h"

int64_t MetricsClockMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

namespace {

// Readings of a successful poll name only sensors it has; an item that names
// another has no sensor to show and is left out.
bool Served(const TQD_ReadingsListItem& AItem, size_t ASensorCount) { return AItem.dwSensorIndex < ASensorCount; }

bool SameLayout(const TQD_MetricsLayout& ALayout, const TQD_DataLogger& ALogger) {
  const TQD_SensorList& sensors = ALogger.SensorList();
  if (sensors.size() != ALayout.SensorNames.size()) return false;
  for (size_t i = 0; i < sensors.size(); ++i)
    if (sensors[i].szSensorNameUser != ALayout.SensorNames[i]) return false;
  const TQD_ReadingsList& list = ALogger.ReadingList();
  size_t n = 0;
  for (size_t i = 1; i < list.size(); ++i) {
    const TQD_ReadingsListItem& r = list[i];
    if (!Served(r, sensors.size())) continue;
    if (n == ALayout.Items.size()) return false;
    const TQD_MetricsReading& m = ALayout.Items[n++];
    if (m.tReading != r.tReading || m.dwSensorID != r.dwSensorID || m.dwSensorInst != r.dwSensorInst ||
        m.dwReadingID != r.dwReadingID || m.SensorIndex != r.dwSensorIndex || m.Label != r.szLabelUser ||
        m.Unit != r.szUnit)
      return false;
  }
  return n == ALayout.Items.size();
}

}  // namespace

std::shared_ptr<const TQD_MetricsReadings> CaptureMetricsReadings(const TQD_DataLogger& ALogger, int64_t ANowMs,
                                                                  const TQD_MetricsReadings* APrevious) {
  auto out = std::make_shared<TQD_MetricsReadings>();
  const TQD_SensorList& sensors = ALogger.SensorList();
  const TQD_ReadingsList& list = ALogger.ReadingList();
  if (APrevious && APrevious->Layout && SameLayout(*APrevious->Layout, ALogger)) {
    out->Layout = APrevious->Layout;
  } else {
    auto layout = std::make_shared<TQD_MetricsLayout>();
    for (const TQD_SensorListItem& s : sensors) layout->SensorNames.push_back(s.szSensorNameUser);
    for (size_t i = 1; i < list.size(); ++i) {
      const TQD_ReadingsListItem& r = list[i];
      if (Served(r, sensors.size()))
        layout->Items.push_back(
            {r.tReading, r.dwSensorID, r.dwSensorInst, r.dwReadingID, r.dwSensorIndex, r.szLabelUser, r.szUnit});
    }
    out->Layout = std::move(layout);
  }
  out->Values.reserve(out->Layout->Items.size());
  for (size_t i = 1; i < list.size(); ++i)
    if (Served(list[i], sensors.size())) out->Values.push_back(list[i].Value);
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
