// Loading and saving the settings record against the in-memory store.
#include <gtest/gtest.h>

#include <set>
#include <variant>
#include <vector>

#include "settings/memory_key_value_store.h"
#include "settings/settings.h"

namespace {

using TOptionRef = std::variant<TQD_OptionBoolean*, TQD_OptionInteger*, TQD_OptionString*>;

std::vector<TOptionRef> Options(TQD_Settings& S) {
  std::vector<TOptionRef> options;
  S.ForEachOption([&](auto& O) { options.push_back(&O); });
  return options;
}

// A value each option keeps through a save and a load, different from its default.
void SetNonDefaults(TQD_Settings& S) {
  struct {
    void operator()(TQD_OptionBoolean& O) { O.Value = !O.Default; }
    void operator()(TQD_OptionInteger& O) {
      if (O.Min != O.Max) O.Value = O.Default == O.Max ? O.Default - 1 : O.Default + 1;
      else O.Value = O.Default + 7;  // window coordinates, VRAM, net graph buffer: all fine there
    }
    void operator()(TQD_OptionString& O) { O.Value = "Consolas"; }
  } visit;
  S.ForEachOption(visit);
}

bool SameValues(TQD_Settings& A, TQD_Settings& B) {
  auto a = Options(A), b = Options(B);
  for (size_t i = 0; i < a.size(); ++i) {
    bool same = std::visit(
        [&](auto* x) { return x->Value == std::get<std::remove_reference_t<decltype(x)>>(b[i])->Value; }, a[i]);
    if (!same) {
      ADD_FAILURE() << "option " << i << " differs";
      return false;
    }
  }
  return true;
}

TEST(Settings, RecordHoldsFiftySixOptionsWithDistinctPlaces) {
  TQD_Settings s;
  auto options = Options(s);
  ASSERT_EQ(options.size(), 56u);
  EXPECT_EQ(std::get<TQD_OptionBoolean*>(options.front()), &s.RunOnStartup);
  EXPECT_EQ(std::get<TQD_OptionInteger*>(options.back()), &s.NetworkMonitor_NetGraphGridLines);
  const std::set<std::string_view> subs = {"", "\\Clock", "\\CPUMonitor", "\\GPUMonitor", "\\DriveMonitor",
                                           "\\NetworkMonitor"};
  std::set<std::string> places;
  s.ForEachOption([&](auto& O) {
    EXPECT_TRUE(subs.count(O.Sub)) << O.Reg;
    if (&O == static_cast<void*>(&s.RunOnStartup)) return;
    EXPECT_FALSE(O.Reg.empty());
    EXPECT_TRUE(places.insert(std::string(O.Sub) + "|" + std::string(O.Reg)).second) << O.Reg;
  });
  EXPECT_EQ(s.CPUMonitor_WindowHeight.Reg, "Height");
  EXPECT_EQ(s.GPUMonitor_WindowLeft.Sub, "\\GPUMonitor");
}

TEST(Settings, FirstStartGivesDefaultsAndLeavesTheKeysInPlace) {
  TQD_MemoryKeyValueStore store;
  TQD_Settings s;
  SetNonDefaults(s);
  LoadSettings(store, s);
  TQD_Settings defaults = TQD_Settings::CreateDefault();
  EXPECT_TRUE(SameValues(s, defaults));
  EXPECT_EQ(s.FontName.Value, "Bahnschrift Condensed");
  EXPECT_EQ(s.FontSize.Value, 11);
  EXPECT_EQ(s.HWiNFOPollingInterval.Value, 2000);
  EXPECT_EQ(s.NetworkMonitor_NetGraphBufferLen.Value, 180);
  EXPECT_EQ(s.Clock_WindowLeft.Value, -1);
  EXPECT_TRUE(s.LineGraphsEnabled.Value);
  for (const char* sub : {"", "\\Clock", "\\CPUMonitor", "\\GPUMonitor", "\\DriveMonitor", "\\NetworkMonitor"}) {
    EXPECT_TRUE(store.KeyExists(SettingsKey(sub))) << sub;
    EXPECT_TRUE(store.ValueNames(SettingsKey(sub)).empty()) << sub;
  }
}

TEST(Settings, EveryFieldButRunOnStartupRoundTrips) {
  TQD_MemoryKeyValueStore store;
  TQD_Settings saved;
  SetNonDefaults(saved);
  SaveSettings(store, saved);
  TQD_Settings loaded;
  LoadSettings(store, loaded);
  saved.RunOnStartup.Value = false;  // lives in the autostart entry, not here
  EXPECT_TRUE(SameValues(saved, loaded));
  EXPECT_TRUE(loaded.StartMinimized.Value);
  EXPECT_EQ(loaded.FontName.Value, "Consolas");
  EXPECT_EQ(loaded.NetworkMonitor_WindowTop.Value, 6);

  // Booleans are DWORDs 0 or 1, texts strings; nothing is stored for RunOnStartup.
  EXPECT_EQ(store.RawValue("Software\\Quendal\\Clock", "On")->Data, std::string("\1\0\0\0", 4));
  EXPECT_EQ(store.RawValue("Software\\Quendal", "FontName")->Type, TQD_MemoryValueType::String);
  EXPECT_FALSE(store.RawValue("Software\\Quendal", "").has_value());
  size_t values = 0;
  for (const char* sub : {"", "\\Clock", "\\CPUMonitor", "\\GPUMonitor", "\\DriveMonitor", "\\NetworkMonitor"})
    values += store.ValueNames(SettingsKey(sub)).size();
  EXPECT_EQ(values, 55u);
}

TEST(Settings, AppSettingsIsTheDefaultTarget) {
  TQD_MemoryKeyValueStore store;
  RegWriteInteger(store, "Software\\Quendal", "FontSize", 14);
  TQD_Settings before = AppSettings;
  LoadSettings(store);
  EXPECT_EQ(AppSettings.FontSize.Value, 14);
  AppSettings.FontSize.Value = 15;
  SaveSettings(store);
  EXPECT_EQ(RegReadInteger(store, "Software\\Quendal", "FontSize", 0), 15);
  AppSettings = before;
}

struct TRangeCase {
  TQD_OptionInteger TQD_Settings::*Field;
  int32_t Stored;
  int32_t Loaded;
};

TEST(Settings, LoadAppliesTheRangeRulesAndOnlyThose) {
  const TRangeCase cases[] = {
      // clamped
      {&TQD_Settings::LineGraphValuesPerCol, 0, 1},
      {&TQD_Settings::LineGraphValuesPerCol, 1001, 1000},
      {&TQD_Settings::LineGraphValuesPerCol, 1000, 1000},
      {&TQD_Settings::LineGraphGridLines, -1, 0},
      {&TQD_Settings::LineGraphGridLines, 4, 3},
      {&TQD_Settings::HWiNFOPollingInterval, 5, 20},
      {&TQD_Settings::HWiNFOPollingInterval, 100000, 60000},
      {&TQD_Settings::HWiNFOPollingInterval, 20, 20},
      {&TQD_Settings::NetworkMonitor_NetGraphBufferLen, 10, 60},
      {&TQD_Settings::NetworkMonitor_NetGraphBufferLen, 5000, 3600},
      {&TQD_Settings::NetworkMonitor_NetGraphBufferLen, 3600, 3600},
      // back to the default
      {&TQD_Settings::RoundedCorners, 7, 0},
      {&TQD_Settings::RoundedCorners, -1, 0},
      {&TQD_Settings::RoundedCorners, 3, 3},
      {&TQD_Settings::CPUMonitor_ThreadUsageShowPercent, 3, 0},
      {&TQD_Settings::CPUMonitor_ThreadUsageShowPercent, -1, 0},
      {&TQD_Settings::CPUMonitor_ThreadUsageShowPercent, 2, 2},
      {&TQD_Settings::GPUMonitor_VRAMTotalManualMiB, -1, 0},
      {&TQD_Settings::GPUMonitor_VRAMTotalManualMiB, 2000000, 2000000},
      {&TQD_Settings::NetworkMonitor_DisplayUnit, -1, 3},
      {&TQD_Settings::NetworkMonitor_DisplayUnit, 4, 3},
      {&TQD_Settings::NetworkMonitor_DisplayUnit, 0, 0},
      {&TQD_Settings::NetworkMonitor_NetGraphGridLines, 4, 3},
      {&TQD_Settings::NetworkMonitor_NetGraphGridLines, -1, 3},
      {&TQD_Settings::NetworkMonitor_NetGraphGridLines, 0, 0},
      {&TQD_Settings::MetricsEndpointPort, 0, 28415},
      {&TQD_Settings::MetricsEndpointPort, 65536, 28415},
      {&TQD_Settings::MetricsEndpointPort, 65535, 65535},
      // ranges that only bound the dialogs
      {&TQD_Settings::FontSize, 200, 200},
      {&TQD_Settings::FontSize, 1, 1},
      {&TQD_Settings::CPUMonitor_CoreTemperatureThreshold, 0, 0},
      {&TQD_Settings::GPUMonitor_HotspotTemperatureThreshold, 5000, 5000},
      {&TQD_Settings::DriveMonitor_WindowLeft, -3000, -3000},
  };
  for (const TRangeCase& c : cases) {
    TQD_MemoryKeyValueStore store;
    TQD_Settings s;
    const TQD_OptionInteger& option = s.*c.Field;
    RegWriteInteger(store, SettingsKey(option.Sub), std::string(option.Reg), c.Stored);
    LoadSettings(store, s);
    EXPECT_EQ((s.*c.Field).Value, c.Loaded) << option.Reg << " stored as " << c.Stored;
  }
}

TEST(Settings, ValuesOfTheWrongTypeLoadAsDefaults) {
  TQD_MemoryKeyValueStore store;
  const std::string base = "Software\\Quendal";
  store.SetRawValue(base, "FontSize", TQD_MemoryValue::FromString("14"));
  store.SetRawValue(base, "LineGraphsEnabled", TQD_MemoryValue::FromString("0"));
  store.SetRawValue(base, "StartMinimized", {TQD_MemoryValueType::DWord, std::string(8, '\1')});
  store.SetRawValue(base, "HWiNFOPollingInterval", {TQD_MemoryValueType::Binary, std::string("\x64\0\0\0", 4)});
  store.SetRawValue(base, "FontName", TQD_MemoryValue::FromDWord(1));
  store.SetRawValue(base + "\\Clock", "Left", {TQD_MemoryValueType::DWord, std::string(2, '\0')});
  TQD_Settings s;
  LoadSettings(store, s);
  EXPECT_EQ(s.FontSize.Value, 11);
  EXPECT_TRUE(s.LineGraphsEnabled.Value);
  EXPECT_FALSE(s.StartMinimized.Value);
  EXPECT_EQ(s.HWiNFOPollingInterval.Value, 2000);
  EXPECT_EQ(s.FontName.Value, "Bahnschrift Condensed");
  EXPECT_EQ(s.Clock_WindowLeft.Value, -1);
}

}  // namespace
