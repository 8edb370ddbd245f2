// The "Metrics endpoint" settings group; see metrics_settings_group.h.
#include "metrics/metrics_settings_group.h"

TQD_MetricsSettingsGroup TQD_MetricsSettingsGroup::FromSettings(const TQD_Settings& ASettings) {
  return {ASettings.MetricsEndpointEnabled.Value, std::to_string(ASettings.MetricsEndpointPort.Value),
          ASettings.MetricsEndpointAllInterfaces.Value};
}

int32_t TQD_MetricsSettingsGroup::Port() const {
  // Digits only, blanks around them forgiven; no sign, no hex, no overflow.
  const size_t first = PortText.find_first_not_of(' ');
  const size_t last = PortText.find_last_not_of(' ');
  if (first == std::string::npos || last - first + 1 > 5) return 0;
  int32_t value = 0;
  for (size_t i = first; i <= last; ++i) {
    const char c = PortText[i];
    if (c < '0' || c > '9') return 0;
    value = value * 10 + (c - '0');
  }
  return value >= 1 && value <= 65535 ? value : 0;
}

std::string TQD_MetricsSettingsGroup::Validate() const {
  if (Enabled && Port() == 0) return "The metrics endpoint's port must be a whole number from 1 to 65535.";
  return {};
}

bool TQD_MetricsSettingsGroup::ApplyTo(TQD_Settings& ASettings) const {
  if (!Validate().empty()) return false;
  ASettings.MetricsEndpointEnabled.Value = Enabled;
  if (const int32_t port = Port()) ASettings.MetricsEndpointPort.Value = port;
  ASettings.MetricsEndpointAllInterfaces.Value = AllInterfaces;
  return true;
}

std::string TQD_MetricsSettingsGroup::Address() const {
  const int32_t port = Port();
  if (port == 0) return "-";
  // Scrapers elsewhere use this computer's name or address in place of the loopback one.
  return "http://" + std::string(AllInterfaces ? "<this computer>" : "127.0.0.1") + ":" + std::to_string(port) +
         "/metrics";
}
