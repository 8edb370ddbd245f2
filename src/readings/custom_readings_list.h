// A monitor window's list of extra HWiNFO readings chosen by the user: up to 20
// entries, each a reading (or a divider) with a parameter text such as
// "T=90;V=MAX;C=4;O=L;F=LG" that tells the grid how to show it. The list is
// kept in the store under "Software\Quendal" + its subkey, one slot of four
// string values per entry ("00_dwSensorID", "00_dwSensorInst", "00_dwReadingID",
// "00_Parameters", then "01_…"), written densely in list order.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "settings/key_value_store.h"
#include "collector/locale_port.h"
#include "collector/readings.h"
#include "collector/urid.h"

struct TQD_CustomReadingsListItem {
  TQD_URID URID;           // the divider marker makes the entry a divider
  std::string Parameters;  // empty for dividers
};
using TQD_CustomReadingsListItems = std::vector<TQD_CustomReadingsListItem>;

class TQD_CustomReadingsList {
 public:
  static constexpr int MaxCount = 20;  // also the number of slots in the store

  explicit TQD_CustomReadingsList(std::string ARegKeySub = {}) : FRegKey(std::move(ARegKeySub)) {}

  // Suffix of "Software\Quendal", starting with a backslash: "\CPUMonitorCustomReadings".
  const std::string& RegKeySub() const { return FRegKey; }
  void SetRegKeySub(std::string AValue) { FRegKey = std::move(AValue); }
  std::string RegKey() const { return std::string(QD_RegBaseKey) + FRegKey; }

  const TQD_CustomReadingsListItems& Items() const { return FItems; }
  int Count() const { return static_cast<int>(FItems.size()); }

  // False, and no change, when the list is full.
  bool Add(const TQD_URID& AURID, std::string AParameters);
  // Appends a divider; false when the list is full, as a 21st entry could never be stored.
  bool CreateDivider();
  void Clear() { FItems.clear(); }

  // Deletes all 20 slots, then writes the entries densely from slot 00.
  void SaveToRegistry(TQD_KeyValueStore& AStore) const;
  // Appends every complete slot in slot order; slots missing any of their four
  // string values are skipped.
  void LoadFromRegistry(TQD_KeyValueStore& AStore);

 private:
  std::string FRegKey;
  TQD_CustomReadingsListItems FItems;
};

// Readers of one entry's parameter text. Keys and keywords ignore case; the
// first occurrence of a key counts; anything malformed gives the default.
double GetParamTemperatureMax(std::string_view AParameters,
                              const TQD_LocalePort& ALocale = CurrentLocale());  // "T=", 100.0
TQD_DynamicCaptionSource GetParamCaptionSource(std::string_view AParameters);   // "V=", dcsValue
int GetParamLabelWidth(std::string_view AParameters);     // "C=", 1..9, 5
int GetParamOrientation(std::string_view AParameters);    // "O=", R 0, L 1; 0
int GetParamForcedDisplay(std::string_view AParameters);  // "F=", LB 1, GA 2, LG 3; 0

// The help shown beside the parameter column of the list editor.
extern const char* const CustomReadingsParametersHelp;
