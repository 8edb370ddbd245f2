// The metrics endpoint's life with the settings and the polls; see metrics_endpoint.h.
#include "metrics/metrics_endpoint.h"

#include "collector/data_logger.h"

void TQD_MetricsEndpoint::Apply(bool AEnabled, int32_t APort, bool AAllInterfaces, const TQD_DataLogger* ALogger) {
  const bool valid = APort >= 1 && APort <= 65535;
  if (AEnabled && valid && FServer.Running() && APort == FPort && AAllInterfaces == FAllInterfaces) return;
  Stop();
  FEnabled = AEnabled;
  FPort = APort;
  FAllInterfaces = AAllInterfaces;
  if (!AEnabled) return;
  const std::string where = std::string(AAllInterfaces ? "0.0.0.0" : "127.0.0.1") + ":" + std::to_string(APort);
  if (!valid) {
    FStatusText = "Metrics endpoint: no valid port";
    return;
  }

  FCurrent = TQD_MetricsSnapshot{};
  FCurrent.Version = FVersion;
  if (ALogger) {
    FCurrent.HWiPollStatus = ALogger->LastHWiPollingStatus();
    if (FCurrent.HWiPollStatus == hwsOK) FCurrent.Readings = CaptureMetricsReadings(*ALogger, MetricsClockMs());
    FCurrent.System = CaptureMetricsSystem(*ALogger);
  }
  Publish(FCurrent);

  TQD_MetricsServerOptions options;
  options.AllInterfaces = AAllInterfaces;
  options.Port = static_cast<uint16_t>(APort);
  std::string error;
  if (FServer.Start(options, error))
    FStatusText = "Metrics endpoint: http://" + where + "/metrics";
  else
    FStatusText = "Metrics endpoint: cannot listen on " + where + ": " + error;
}

void TQD_MetricsEndpoint::Stop() {
  FServer.Stop();
  FSlot.Publish(nullptr);
  FStatusText = "Metrics endpoint: off";
}

void TQD_MetricsEndpoint::HWiPollingDone(const TQD_DataLogger& ALogger) {
  if (!FServer.Running()) return;
  FCurrent.HWiPollStatus = ALogger.LastHWiPollingStatus();
  // A failed poll keeps the last good readings; the age tells how old they are.
  if (FCurrent.HWiPollStatus == hwsOK)
    FCurrent.Readings = CaptureMetricsReadings(ALogger, MetricsClockMs(), FCurrent.Readings.get());
  Publish(FCurrent);
}

void TQD_MetricsEndpoint::InternalPollingDone(const TQD_DataLogger& ALogger) {
  if (!FServer.Running()) return;
  FCurrent.System = CaptureMetricsSystem(ALogger);
  Publish(FCurrent);
}

void TQD_MetricsEndpoint::Publish(const TQD_MetricsSnapshot& ASnapshot) {
  // A copy of the record only: the readings and system parts are shared.
  FSlot.Publish(std::make_shared<const TQD_MetricsSnapshot>(ASnapshot));
}
