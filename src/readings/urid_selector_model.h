// The shared memory viewer's content, apart from its window: the snapshot of
// sensors and readings its tree shows (one root per sensor, one child per
// reading, under the sensor the reading names), the thirteen detail texts of
// the selected node, the selected identifier and its label, and where every
// control goes when the window is resized. The Win32 form only mirrors this
// into controls, so everything a user reads in the viewer is tested here.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "collector/data_logger.h"
#include "collector/locale_port.h"
#include "collector/readings.h"
#include "collector/urid.h"

// Snapshots carried by the tree's nodes: the values shown are those of the
// poll before the last build, not of later polls.
struct TSensorItem {
  TQD_SensorListItem Data;
};
struct TEntryItem {
  TQD_ReadingsListItem Data;
};

// The read-only fields of the "Sensor Details" and "Entry Details" groups.
enum TURIDSelectorField : uint8_t {
  ufSensorOriginalName,  // SensorOriginalNameLabel
  ufSensorCurrentName,   // SensorCurrentNameLabel
  ufSensorID,            // IDLabel
  ufSensorInstance,      // InstanceLabel
  ufEntryOriginalName,   // EntryOriginalNameLabel
  ufEntryCurrentName,    // EntryCurrentNameLabel
  ufEntryID,             // EntryIDLabel
  ufEntryType,           // EntryTypeLabel
  ufEntryUnit,           // EntryUnitLabel
  ufCurrentValue,        // CurrentValueLabel
  ufMinValue,            // MinValueLabel
  ufMaxValue,            // MaxValueLabel
  ufAverageValue,        // AverageValueLabel
  ufFieldCount
};
using TURIDSelectorDetails = std::array<std::string, ufFieldCount>;

// "None" … "Other" for 0 to 8; "Unknown (n)" for codes HWiNFO may add later.
std::string ReadingTypeName(uint32_t ATypeCode);
// Fixed point with 6 decimals after rounding to 12 significant digits, with
// the locale's decimal separator and no thousands separators: 45 reads
// "45.000000". Magnitudes of 1e12 and more need exponent form.
std::string FormatDetailValue(double AValue, const TQD_LocalePort& ALocale = CurrentLocale());
// "0x" with at least 8, 1 and 7 upper-case hexadecimal digits.
std::string SensorIDText(uint32_t AValue);
std::string SensorInstText(uint32_t AValue);
std::string ReadingIDText(uint32_t AValue);

class TURIDSelectorModel {
 public:
  // Replaces the snapshot with the logger's lists, but only after a poll with
  // status 0; any other status, or no logger, leaves the tree empty. The
  // details are cleared either way.
  void Build(const TQD_DataLogger* ADataLogger);
  void Clear();

  const std::vector<TSensorItem>& SensorItems() const { return sensor_items; }
  const std::vector<TEntryItem>& EntryItems() const { return entry_items; }
  // The entries under each root, in tree order (indexes into EntryItems).
  const std::vector<std::vector<uint32_t>>& Children() const { return children; }

  // A click on a root node: only the sensor fields, and no selection.
  void ShowSensor(size_t ASensor);
  // A click on a child node: every field, and its identifier as the selection.
  void ShowEntry(size_t AEntry);
  // Empty fields, empty selection.
  void ClearDetails();
  // The first child in tree order whose reading has AURID, or -1. Found:
  // that entry is shown; not found: the details are cleared. Root nodes never
  // match, so the divider marker and the empty identifier find nothing.
  int SelectURID(const TQD_URID& AURID);

  const TURIDSelectorDetails& Details() const { return FDetails; }
  const TQD_URID& SelectedURID() const { return FSelectedURID; }
  // "-" for the empty identifier, else "Sensor: 0x… | Instance: 0x… | Reading: 0x…".
  std::string SelectedLabel() const;

 private:
  std::vector<TSensorItem> sensor_items;
  std::vector<TEntryItem> entry_items;
  std::vector<std::vector<uint32_t>> children;
  TURIDSelectorDetails FDetails;
  TQD_URID FSelectedURID;
};

// --- layout -----------------------------------------------------------------

// Left, top, right (exclusive), bottom (exclusive), in client pixels.
struct TURIDSelectorRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  friend bool operator==(const TURIDSelectorRect&, const TURIDSelectorRect&) = default;
};

// The captions: each field's caption above it (values: on its left), the
// bold group captions aside.
enum TURIDSelectorCaption : uint8_t {
  ucSensorOriginalName,
  ucSensorCurrentName,
  ucSensorID,
  ucSensorInstance,
  ucEntryOriginalName,
  ucEntryCurrentName,
  ucEntryID,
  ucEntryType,
  ucEntryUnit,
  ucValues,
  ucCurrentValue,
  ucMinValue,
  ucMaxValue,
  ucAverageValue,
  ucCaptionCount
};
extern const char* const URIDSelectorCaptionTexts[ucCaptionCount];

struct TURIDSelectorLayout {
  TURIDSelectorRect TreeView;
  TURIDSelectorRect SensorGroup;
  TURIDSelectorRect EntryGroup;
  TURIDSelectorRect ReloadButton;
  TURIDSelectorRect SelectedGroup;
  TURIDSelectorRect SelectedLabel;
  std::array<TURIDSelectorRect, ufFieldCount> Fields;
  std::array<TURIDSelectorRect, ucCaptionCount> Captions;
};

// The window at 96 DPI; scaled with the window's DPI.
inline constexpr int URIDSelectorClientWidth96 = 524;
inline constexpr int URIDSelectorClientHeight96 = 531;
inline constexpr int URIDSelectorMinWidth96 = 540;  // window, not client
inline constexpr int URIDSelectorMinHeight96 = 570;

// Six equal columns and rows of 42, 20, 28 and 10 per cent of the client
// height; inside the groups, M = 12 pixels at the window's DPI sets the
// horizontal arithmetic of the fields, and their vertical positions are fixed
// (scaled).
TURIDSelectorLayout LayoutURIDSelector(int AClientWidth, int AClientHeight, int ADPI);
