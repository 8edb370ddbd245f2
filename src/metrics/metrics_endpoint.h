// The metrics endpoint as the control panel sees it: switched on, off or
// moved with the settings, and fed after every poll. While it is off,
// polls publish nothing and cost nothing.
#pragma once

#include <cstdint>
#include <string>

#include "metrics/metrics_server.h"
#include "metrics/metrics_snapshot.h"

class TQD_DataLogger;

class TQD_MetricsEndpoint {
 public:
  explicit TQD_MetricsEndpoint(std::string AVersion = {}) : FVersion(std::move(AVersion)) {}

  void SetVersion(std::string AVersion) { FVersion = std::move(AVersion); }
  // Starts, moves or stops the server to match; a server that already runs
  // as asked is left alone. On start the logger's current state is published.
  void Apply(bool AEnabled, int32_t APort, bool AAllInterfaces, const TQD_DataLogger* ALogger);
  void Stop();

  // After each poll, on the UI thread.
  void HWiPollingDone(const TQD_DataLogger& ALogger);
  void InternalPollingDone(const TQD_DataLogger& ALogger);

  bool Running() const { return FServer.Running(); }
  uint16_t Port() const { return FServer.Port(); }
  // "Metrics endpoint: off", its address, or why it could not start.
  const std::string& StatusText() const { return FStatusText; }
  const TQD_MetricsSnapshotSlot& Slot() const { return FSlot; }

 private:
  void Publish(const TQD_MetricsSnapshot& ASnapshot);

  std::string FVersion;
  TQD_MetricsSnapshotSlot FSlot;
  TQD_MetricsServer FServer{FSlot};
  TQD_MetricsSnapshot FCurrent;  // what was published last, for the next one to build on
  bool FEnabled = false;
  int32_t FPort = 0;
  bool FAllInterfaces = false;
  std::string FStatusText = "Metrics endpoint: off";
};
