// Registry values of every type and size under every name Quendal reads: the
// settings, the colour table and the four custom readings keys, served by the
// in-memory store. Loading must never crash, and what loads must save and
// load again unchanged (a value we cannot use reads as missing, never as a
// half-parsed state that changes on the next start).
//
// Input: records of [name index, 2 bytes LE][type][length][data].
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "readings/custom_readings_list.h"
#include "settings/memory_key_value_store.h"
#include "settings/settings.h"
#include "widgets/color_table.h"

namespace {

struct TName {
  std::string Key;
  std::string Value;
};

const char* const kListKeys[4] = {"\\CPUMonitorCustomReadings", "\\GPUMonitorCustomReadings",
                                  "\\DriveMonitorCustomReadings", "\\NetworkMonitorCustomReadings"};

std::vector<TName> AllNames() {
  std::vector<TName> names;
  TQD_Settings settings;
  settings.ForEachOption([&](const auto& AOption) {
    if (!AOption.Reg.empty()) names.push_back({SettingsKey(AOption.Sub), std::string(AOption.Reg)});
  });
  for (const auto& entry : DefaultTranslationTable) names.push_back({QD_ColorsKey, std::string(entry.Name)});
  const char* const fields[4] = {"dwSensorID", "dwSensorInst", "dwReadingID", "Parameters"};
  for (const char* key : kListKeys)
    for (int slot = 0; slot < TQD_CustomReadingsList::MaxCount; ++slot)
      for (const char* field : fields) {
        char name[32];
        std::snprintf(name, sizeof name, "%02d_%s", slot, field);
        names.push_back({std::string(QD_RegBaseKey) + key, name});
      }
  return names;
}

std::vector<std::string> OptionTexts(const TQD_Settings& ASettings) {
  std::vector<std::string> out;
  ASettings.ForEachOption([&](const auto& AOption) {
    if constexpr (std::is_same_v<std::decay_t<decltype(AOption.Value)>, std::string>)
      out.push_back(AOption.Value);
    else
      out.push_back(std::to_string(AOption.Value));
  });
  return out;
}

struct TLoaded {
  TQD_Settings Settings;
  TQD_ColorTable Colors;
  std::vector<TQD_CustomReadingsList> Lists;

  explicit TLoaded(TQD_KeyValueStore& AStore) {
    LoadSettings(AStore, Settings);
    Colors.ReadFromRegistry(AStore);
    for (const char* key : kListKeys) {
      Lists.emplace_back(key);
      Lists.back().LoadFromRegistry(AStore);
    }
  }
  void Save(TQD_KeyValueStore& AStore) const {
    SaveSettings(AStore, Settings);
    Colors.WriteToRegistry(AStore);
    for (const TQD_CustomReadingsList& l : Lists) l.SaveToRegistry(AStore);
  }
};

bool SameLists(const TLoaded& A, const TLoaded& B) {
  for (size_t i = 0; i < A.Lists.size(); ++i) {
    const auto& a = A.Lists[i].Items();
    const auto& b = B.Lists[i].Items();
    if (a.size() != b.size()) return false;
    for (size_t j = 0; j < a.size(); ++j)
      if (!(a[j].URID == b[j].URID) || a[j].Parameters != b[j].Parameters) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* AData, size_t ASize) {
  static const std::vector<TName> names = AllNames();
  TQD_MemoryKeyValueStore store;
  size_t p = 0;
  while (p + 4 <= ASize) {
    const size_t index = (AData[p] | size_t{AData[p + 1]} << 8) % names.size();
    const auto type = static_cast<TQD_MemoryValueType>(AData[p + 2] % 4);
    const size_t length = std::min<size_t>(AData[p + 3], ASize - p - 4);
    p += 4;
    TQD_MemoryValue value{type, std::string(reinterpret_cast<const char*>(AData + p), length)};
    p += length;
    store.SetRawValue(names[index].Key, names[index].Value, std::move(value));
  }

  const TLoaded first(store);
  for (const TQD_CustomReadingsList& l : first.Lists)
    if (l.Count() > TQD_CustomReadingsList::MaxCount) std::abort();

  TQD_MemoryKeyValueStore saved;
  first.Save(saved);
  const TLoaded second(saved);
  if (OptionTexts(first.Settings) != OptionTexts(second.Settings)) std::abort();
  for (int i = 0; i < QD_ColorTableCount; ++i)
    if (first.Colors.GetColor(i) != second.Colors.GetColor(i)) std::abort();
  if (!SameLists(first, second)) std::abort();
  return 0;
}
