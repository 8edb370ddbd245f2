// The five monitor windows by kind, and one table of what differs between
// them: caption, settings key and options, custom readings list, and the
// names and captions of the control panel's actions and controls for each.
// Code that treats the kinds alike looks them up here instead of switching.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

struct TQD_OptionBoolean;
struct TQD_OptionInteger;
struct TQD_Settings;

enum class TQD_MonitorKind : uint8_t { Clock, CPU, GPU, Drives, Network };
inline constexpr int kMonitorKindCount = 5;

struct TQD_MonitorDescriptor {
  TQD_MonitorKind Kind;
  // "CPU Monitor": the window caption, the title of its error layout and the
  // caption of its group in the control panel.
  const char* Caption;
  // Prefix of the control panel's controls ("CPUMonitor_ToggleSwitch") and
  // the settings key below "Software\Quendal" ("\CPUMonitor").
  const char* Name;
  const char* RegistryKey;
  // The custom readings list's key; nullptr for the clock, which has none.
  const char* CustomReadingsKey;
  // The settings this window owns.
  TQD_OptionBoolean TQD_Settings::*On;
  TQD_OptionInteger TQD_Settings::*Left;
  TQD_OptionInteger TQD_Settings::*Top;
  TQD_OptionInteger TQD_Settings::*Width;
  TQD_OptionInteger TQD_Settings::*Height;
  // Action names and captions.
  const char* EnableAction;
  const char* EnableCaption;
  const char* DisableAction;
  const char* DisableCaption;
  const char* RebuildAction;
  const char* RebuildCaption;
  const char* ResetSizeAction;
  const char* ResetPosAction;
  // The settings dialog's action and caption; nullptr for the clock.
  const char* SettingsAction;
  const char* SettingsCaption;
};

// In the order clock, CPU, GPU, drives, network: the order of creation.
extern const std::array<TQD_MonitorDescriptor, kMonitorKindCount> QD_MonitorDescriptors;

inline const TQD_MonitorDescriptor& MonitorDescriptor(TQD_MonitorKind AKind) {
  return QD_MonitorDescriptors[static_cast<size_t>(AKind)];
}
