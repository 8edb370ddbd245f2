// Loading and saving the settings record; see settings.h.
#include "settings/settings.h"

#include <algorithm>

TQD_Settings AppSettings = TQD_Settings::CreateDefault();

std::string SettingsKey(std::string_view ASub) { return std::string(QD_RegBaseKey) + std::string(ASub); }

namespace {

// Out of range: the option's default.
void DefaultOutside(TQD_OptionInteger& AOption, int32_t AMin, int32_t AMax) {
  if (AOption.Value < AMin || AOption.Value > AMax) AOption.Value = AOption.Default;
}

void Clamp(TQD_OptionInteger& AOption, int32_t AMin, int32_t AMax) {
  AOption.Value = std::clamp(AOption.Value, AMin, AMax);
}

// Only these fields are checked on load; the other ranges bound the dialogs
// alone, and a stored value outside them is taken as it is.
void ApplyLoadRanges(TQD_Settings& S) {
  DefaultOutside(S.RoundedCorners, 0, 3);
  Clamp(S.LineGraphValuesPerCol, 1, 1000);
  Clamp(S.LineGraphGridLines, 0, 3);
  Clamp(S.HWiNFOPollingInterval, 20, 60000);
  DefaultOutside(S.MetricsEndpointPort, 1, 65535);
  DefaultOutside(S.CPUMonitor_ThreadUsageShowPercent, 0, 2);
  if (S.GPUMonitor_VRAMTotalManualMiB.Value < 0)
    S.GPUMonitor_VRAMTotalManualMiB.Value = S.GPUMonitor_VRAMTotalManualMiB.Default;
  DefaultOutside(S.NetworkMonitor_DisplayUnit, 0, 3);
  Clamp(S.NetworkMonitor_NetGraphBufferLen, 60, 3600);
  DefaultOutside(S.NetworkMonitor_NetGraphGridLines, 0, 3);
}

}  // namespace

void LoadSettings(TQD_KeyValueStore& AStore, TQD_Settings& ASettings) {
  ASettings = TQD_Settings::CreateDefault();
  // An option without a value name (RunOnStartup) has no place in the store;
  // an empty name would address the key's unnamed default value instead.
  struct TLoader {
    TQD_KeyValueStore& Store;
    void operator()(TQD_OptionBoolean& O) {
      if (!O.Reg.empty()) O.Value = RegReadBool(Store, SettingsKey(O.Sub), std::string(O.Reg), O.Value);
    }
    void operator()(TQD_OptionInteger& O) {
      if (!O.Reg.empty()) O.Value = RegReadInteger(Store, SettingsKey(O.Sub), std::string(O.Reg), O.Value);
    }
    void operator()(TQD_OptionString& O) {
      if (!O.Reg.empty()) O.Value = RegReadString(Store, SettingsKey(O.Sub), std::string(O.Reg), O.Value);
    }
  };
  ASettings.ForEachOption(TLoader{AStore});
  ApplyLoadRanges(ASettings);
}

void SaveSettings(TQD_KeyValueStore& AStore, const TQD_Settings& ASettings) {
  struct TSaver {
    TQD_KeyValueStore& Store;
    void operator()(const TQD_OptionBoolean& O) {
      if (!O.Reg.empty()) RegWriteBool(Store, SettingsKey(O.Sub), std::string(O.Reg), O.Value);
    }
    void operator()(const TQD_OptionInteger& O) {
      if (!O.Reg.empty()) RegWriteInteger(Store, SettingsKey(O.Sub), std::string(O.Reg), O.Value);
    }
    void operator()(const TQD_OptionString& O) {
      if (!O.Reg.empty()) RegWriteString(Store, SettingsKey(O.Sub), std::string(O.Reg), O.Value);
    }
  };
  ASettings.ForEachOption(TSaver{AStore});
}
