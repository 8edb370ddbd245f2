// The "Metrics endpoint" group of the general settings dialog, without the
// dialog: the values its controls hold, what they may hold, and how they go
// into the settings record. The dialog fills it from the record when it
// opens, mirrors every control change into it, asks it whether Apply/OK may
// proceed and which controls are enabled, and applies it with the rest.
#pragma once

#include <cstdint>
#include <string>

#include "settings/settings.h"

inline constexpr char QD_MetricsGroupCaption[] = "Metrics endpoint";
inline constexpr char QD_MetricsEnabledCaption[] = "Serve readings over HTTP";
inline constexpr char QD_MetricsPortCaption[] = "Port:";
inline constexpr char QD_MetricsAllInterfacesCaption[] = "Listen on all interfaces";
// Shown beside the switch: readings are visible to the whole network.
inline constexpr char QD_MetricsAllInterfacesHint[] =
    "Other computers can read the sensor values; otherwise only this one can.";

struct TQD_MetricsSettingsGroup {
  bool Enabled = false;
  std::string PortText;  // as typed
  bool AllInterfaces = false;

  static TQD_MetricsSettingsGroup FromSettings(const TQD_Settings& ASettings);

  // Port and interface choice only matter while the endpoint is on.
  bool PortEditable() const { return Enabled; }
  bool AllInterfacesEditable() const { return Enabled; }

  // The port as a number, or 0 when the text is not one from 1 to 65535.
  int32_t Port() const;
  // Empty when the group may be applied; otherwise the message for the user.
  // An invalid port only matters while the endpoint is switched on.
  std::string Validate() const;
  // Writes the group into the record; false (record untouched) when invalid.
  // A switched-off group keeps the stored port when its text is not valid.
  bool ApplyTo(TQD_Settings& ASettings) const;
  // "http://127.0.0.1:28415/metrics" for the current values ("-" without a valid port).
  std::string Address() const;
};
