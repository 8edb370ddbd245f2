// All user settings in one record. Each field is an option that knows where it
// lives in the store (Sub below "Software\Quendal", value name Reg), its
// default and, for integers, the range the settings dialogs offer, so loading
// and saving are a walk over the fields in record order.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "settings/key_value_store.h"

struct TQD_OptionBoolean {
  std::string_view Sub;
  std::string_view Reg;
  bool Value = false;
  bool Default = false;
};

// Min = Max = 0: no range.
struct TQD_OptionInteger {
  std::string_view Sub;
  std::string_view Reg;
  int32_t Value = 0;
  int32_t Min = 0;
  int32_t Max = 0;
  int32_t Default = 0;
};

struct TQD_OptionString {
  std::string_view Sub;
  std::string_view Reg;
  std::string Value;
  std::string_view Default;
};

namespace qd_settings_detail {
constexpr TQD_OptionBoolean Bool(std::string_view ASub, std::string_view AReg, bool ADefault) {
  return {ASub, AReg, ADefault, ADefault};
}
constexpr TQD_OptionInteger Int(std::string_view ASub, std::string_view AReg, int32_t ADefault, int32_t AMin = 0,
                                int32_t AMax = 0) {
  return {ASub, AReg, ADefault, AMin, AMax, ADefault};
}
inline TQD_OptionString Str(std::string_view ASub, std::string_view AReg, std::string_view ADefault) {
  return {ASub, AReg, std::string(ADefault), ADefault};
}
}  // namespace qd_settings_detail

struct TQD_Settings {
  // Mirrors the autostart entry; it has no value of its own in the store.
  TQD_OptionBoolean RunOnStartup = qd_settings_detail::Bool("", "", false);
  TQD_OptionBoolean StartMinimized = qd_settings_detail::Bool("", "StartMinimized", false);
  TQD_OptionInteger RoundedCorners = qd_settings_detail::Int("", "RoundedCorners", 0, 0, 3);
  TQD_OptionBoolean LineGraphsEnabled = qd_settings_detail::Bool("", "LineGraphsEnabled", true);
  TQD_OptionInteger LineGraphValuesPerCol = qd_settings_detail::Int("", "LineGraphValuesPerCol", 20, 1, 1000);
  TQD_OptionInteger LineGraphGridLines = qd_settings_detail::Int("", "LineGraphGridLines", 1, 0, 3);
  TQD_OptionString FontName = qd_settings_detail::Str("", "FontName", "Bahnschrift Condensed");
  TQD_OptionInteger FontSize = qd_settings_detail::Int("", "FontSize", 11, 4, 72);
  TQD_OptionBoolean FontBold = qd_settings_detail::Bool("", "FontBold", false);
  TQD_OptionBoolean FontItalic = qd_settings_detail::Bool("", "FontItalic", false);
  TQD_OptionBoolean FontAutosizing = qd_settings_detail::Bool("", "FontAutosizing", true);
  TQD_OptionBoolean FontAntialiasing = qd_settings_detail::Bool("", "FontAntialiasing", false);
  TQD_OptionBoolean RAMIncludeReserved = qd_settings_detail::Bool("", "RAMIncludeReserved", false);
  TQD_OptionInteger HWiNFOPollingInterval = qd_settings_detail::Int("", "HWiNFOPollingInterval", 2000, 20, 60000);

  // The metrics endpoint: off unless switched on, loopback unless asked. The
  // port lies outside the range exporters usually claim (9100-9999).
  TQD_OptionBoolean MetricsEndpointEnabled = qd_settings_detail::Bool("", "MetricsEndpointEnabled", false);
  TQD_OptionInteger MetricsEndpointPort = qd_settings_detail::Int("", "MetricsEndpointPort", 28415, 1, 65535);
  TQD_OptionBoolean MetricsEndpointAllInterfaces =
      qd_settings_detail::Bool("", "MetricsEndpointAllInterfaces", false);

  // Window coordinates of -1 are "not set": the window picks its own.
  TQD_OptionBoolean Clock_On = qd_settings_detail::Bool("\\Clock", "On", false);
  TQD_OptionInteger Clock_WindowLeft = qd_settings_detail::Int("\\Clock", "Left", -1);
  TQD_OptionInteger Clock_WindowTop = qd_settings_detail::Int("\\Clock", "Top", -1);
  TQD_OptionInteger Clock_WindowWidth = qd_settings_detail::Int("\\Clock", "Width", -1);
  TQD_OptionInteger Clock_WindowHeight = qd_settings_detail::Int("\\Clock", "Height", -1);

  TQD_OptionBoolean CPUMonitor_On = qd_settings_detail::Bool("\\CPUMonitor", "On", false);
  TQD_OptionInteger CPUMonitor_WindowLeft = qd_settings_detail::Int("\\CPUMonitor", "Left", -1);
  TQD_OptionInteger CPUMonitor_WindowTop = qd_settings_detail::Int("\\CPUMonitor", "Top", -1);
  TQD_OptionInteger CPUMonitor_WindowWidth = qd_settings_detail::Int("\\CPUMonitor", "Width", -1);
  TQD_OptionInteger CPUMonitor_WindowHeight = qd_settings_detail::Int("\\CPUMonitor", "Height", -1);
  TQD_OptionInteger CPUMonitor_PackageTemperatureThreshold =
      qd_settings_detail::Int("\\CPUMonitor", "PackageTemperatureThreshold", 100, 1, 1000);
  TQD_OptionInteger CPUMonitor_CoreTemperatureThreshold =
      qd_settings_detail::Int("\\CPUMonitor", "CoreTemperatureThreshold", 100, 1, 1000);
  TQD_OptionInteger CPUMonitor_ThreadUsageShowPercent =
      qd_settings_detail::Int("\\CPUMonitor", "ThreadUsageShowPercent", 0, 0, 2);

  TQD_OptionBoolean GPUMonitor_On = qd_settings_detail::Bool("\\GPUMonitor", "On", false);
  TQD_OptionInteger GPUMonitor_WindowLeft = qd_settings_detail::Int("\\GPUMonitor", "Left", -1);
  TQD_OptionInteger GPUMonitor_WindowTop = qd_settings_detail::Int("\\GPUMonitor", "Top", -1);
  TQD_OptionInteger GPUMonitor_WindowWidth = qd_settings_detail::Int("\\GPUMonitor", "Width", -1);
  TQD_OptionInteger GPUMonitor_WindowHeight = qd_settings_detail::Int("\\GPUMonitor", "Height", -1);
  TQD_OptionInteger GPUMonitor_PackageTemperatureThreshold =
      qd_settings_detail::Int("\\GPUMonitor", "PackageTemperatureThreshold", 85, 1, 1000);
  TQD_OptionInteger GPUMonitor_HotspotTemperatureThreshold =
      qd_settings_detail::Int("\\GPUMonitor", "HotspotTemperatureThreshold", 95, 1, 1000);
  TQD_OptionInteger GPUMonitor_MemoryTemperatureThreshold =
      qd_settings_detail::Int("\\GPUMonitor", "MemoryTemperatureThreshold", 100, 1, 1000);
  TQD_OptionInteger GPUMonitor_VRAMTotalManualMiB = qd_settings_detail::Int("\\GPUMonitor", "VRAMTotalManualMiB", 0);

  TQD_OptionBoolean DriveMonitor_On = qd_settings_detail::Bool("\\DriveMonitor", "On", false);
  TQD_OptionInteger DriveMonitor_WindowLeft = qd_settings_detail::Int("\\DriveMonitor", "Left", -1);
  TQD_OptionInteger DriveMonitor_WindowTop = qd_settings_detail::Int("\\DriveMonitor", "Top", -1);
  TQD_OptionInteger DriveMonitor_WindowWidth = qd_settings_detail::Int("\\DriveMonitor", "Width", -1);
  TQD_OptionInteger DriveMonitor_WindowHeight = qd_settings_detail::Int("\\DriveMonitor", "Height", -1);
  TQD_OptionInteger DriveMonitor_TemperatureThreshold =
      qd_settings_detail::Int("\\DriveMonitor", "TemperatureThreshold", 85, 1, 1000);
  TQD_OptionBoolean DriveMonitor_ShowLogicalDrives = qd_settings_detail::Bool("\\DriveMonitor", "ShowLogicalDrives", true);
  TQD_OptionBoolean DriveMonitor_ShowLogicalDrivesFixedOnly =
      qd_settings_detail::Bool("\\DriveMonitor", "ShowLogicalDrivesFixedOnly", false);

  TQD_OptionBoolean NetworkMonitor_On = qd_settings_detail::Bool("\\NetworkMonitor", "On", false);
  TQD_OptionInteger NetworkMonitor_WindowLeft = qd_settings_detail::Int("\\NetworkMonitor", "Left", -1);
  TQD_OptionInteger NetworkMonitor_WindowTop = qd_settings_detail::Int("\\NetworkMonitor", "Top", -1);
  TQD_OptionInteger NetworkMonitor_WindowWidth = qd_settings_detail::Int("\\NetworkMonitor", "Width", -1);
  TQD_OptionInteger NetworkMonitor_WindowHeight = qd_settings_detail::Int("\\NetworkMonitor", "Height", -1);
  TQD_OptionBoolean NetworkMonitor_ShowDisabledInterfaces =
      qd_settings_detail::Bool("\\NetworkMonitor", "ShowDisabledInterfaces", false);
  TQD_OptionInteger NetworkMonitor_DisplayUnit = qd_settings_detail::Int("\\NetworkMonitor", "DisplayUnit", 3, 0, 3);
  TQD_OptionInteger NetworkMonitor_NetGraphBufferLen = qd_settings_detail::Int("\\NetworkMonitor", "NetGraphBufferLen", 180);
  TQD_OptionInteger NetworkMonitor_NetGraphGridLines =
      qd_settings_detail::Int("\\NetworkMonitor", "NetGraphGridLines", 3, 0, 3);

  static TQD_Settings CreateDefault() { return TQD_Settings{}; }

  // Calls AVisit on every option in record order.
  template <class F>
  void ForEachOption(F&& AVisit) { VisitOptions(*this, AVisit); }
  template <class F>
  void ForEachOption(F&& AVisit) const { VisitOptions(*this, AVisit); }

 private:
  template <class S, class F>
  static void VisitOptions(S& A, F& V) {
    V(A.RunOnStartup); V(A.StartMinimized); V(A.RoundedCorners); V(A.LineGraphsEnabled);
    V(A.LineGraphValuesPerCol); V(A.LineGraphGridLines); V(A.FontName); V(A.FontSize); V(A.FontBold);
    V(A.FontItalic); V(A.FontAutosizing); V(A.FontAntialiasing); V(A.RAMIncludeReserved);
    V(A.HWiNFOPollingInterval);
    V(A.MetricsEndpointEnabled); V(A.MetricsEndpointPort); V(A.MetricsEndpointAllInterfaces);
    V(A.Clock_On); V(A.Clock_WindowLeft); V(A.Clock_WindowTop); V(A.Clock_WindowWidth); V(A.Clock_WindowHeight);
    V(A.CPUMonitor_On); V(A.CPUMonitor_WindowLeft); V(A.CPUMonitor_WindowTop); V(A.CPUMonitor_WindowWidth);
    V(A.CPUMonitor_WindowHeight); V(A.CPUMonitor_PackageTemperatureThreshold);
    V(A.CPUMonitor_CoreTemperatureThreshold); V(A.CPUMonitor_ThreadUsageShowPercent);
    V(A.GPUMonitor_On); V(A.GPUMonitor_WindowLeft); V(A.GPUMonitor_WindowTop); V(A.GPUMonitor_WindowWidth);
    V(A.GPUMonitor_WindowHeight); V(A.GPUMonitor_PackageTemperatureThreshold);
    V(A.GPUMonitor_HotspotTemperatureThreshold); V(A.GPUMonitor_MemoryTemperatureThreshold);
    V(A.GPUMonitor_VRAMTotalManualMiB);
    V(A.DriveMonitor_On); V(A.DriveMonitor_WindowLeft); V(A.DriveMonitor_WindowTop);
    V(A.DriveMonitor_WindowWidth); V(A.DriveMonitor_WindowHeight); V(A.DriveMonitor_TemperatureThreshold);
    V(A.DriveMonitor_ShowLogicalDrives); V(A.DriveMonitor_ShowLogicalDrivesFixedOnly);
    V(A.NetworkMonitor_On); V(A.NetworkMonitor_WindowLeft); V(A.NetworkMonitor_WindowTop);
    V(A.NetworkMonitor_WindowWidth); V(A.NetworkMonitor_WindowHeight);
    V(A.NetworkMonitor_ShowDisabledInterfaces); V(A.NetworkMonitor_DisplayUnit);
    V(A.NetworkMonitor_NetGraphBufferLen); V(A.NetworkMonitor_NetGraphGridLines);
  }
};

// The live settings. Defaults until LoadSettings runs.
extern TQD_Settings AppSettings;

// The store key of an option: "Software\Quendal" followed by its Sub.
std::string SettingsKey(std::string_view ASub);

// Defaults, then every stored field (but RunOnStartup) over them, then the
// load-time range rules.
void LoadSettings(TQD_KeyValueStore& AStore, TQD_Settings& ASettings = AppSettings);
// Writes every field but RunOnStartup.
void SaveSettings(TQD_KeyValueStore& AStore, const TQD_Settings& ASettings = AppSettings);
