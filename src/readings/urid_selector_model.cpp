// The shared memory viewer's content; see urid_selector_model.h.
#include "readings/urid_selector_model.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "base/dpi.h"

namespace {

const char* const kReadingTypeNames[] = {"None",  "Temperature", "Voltage", "Fan",  "Current",
                                         "Power", "Clock",       "Usage",   "Other"};

std::string Hex(uint32_t AValue, int AMinDigits) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%0*X", AMinDigits, static_cast<unsigned>(AValue));
  return text;
}

void SetSensorFields(TURIDSelectorDetails& ADetails, uint32_t AID, uint32_t AInst, const std::string& AOrig,
                     const std::string& AUser) {
  ADetails[ufSensorOriginalName] = AOrig;
  ADetails[ufSensorCurrentName] = AUser;
  ADetails[ufSensorID] = SensorIDText(AID);
  ADetails[ufSensorInstance] = SensorInstText(AInst);
}

}  // namespace

const char* const URIDSelectorCaptionTexts[ucCaptionCount] = {
    "Original Name", "Current Name", "ID",   "Instance", "Original Name", "Current Name", "ID",
    "Type",          "Units",        "Values", "Current", "Minimum",      "Maximum",      "Average"};

std::string ReadingTypeName(uint32_t ATypeCode) {
  if (ATypeCode < std::size(kReadingTypeNames)) return kReadingTypeNames[ATypeCode];
  return "Unknown (" + std::to_string(ATypeCode) + ")";
}

std::string FormatDetailValue(double AValue, const TQD_LocalePort& ALocale) {
  if (std::isnan(AValue)) return "NAN";
  if (std::isinf(AValue)) return AValue < 0 ? "-INF" : "INF";
  // Twelve significant digits first, so that the digits past them read 0
  // instead of the binary fraction's noise.
  char text[64];
  std::snprintf(text, sizeof text, "%.11e", AValue);
  const double rounded = std::strtod(text, nullptr);
  if (std::fabs(rounded) >= 1e12) std::snprintf(text, sizeof text, "%.11E", rounded);
  else std::snprintf(text, sizeof text, "%.6f", rounded);
  std::string result = text;
  // -0.0000001 rounds to zero, which has no sign.
  if (result[0] == '-' && result.find_first_not_of("-0.") == std::string::npos) result.erase(0, 1);
  const size_t point = result.find('.');
  if (point != std::string::npos) result.replace(point, 1, ALocale.DecimalSeparator());
  return result;
}

std::string SensorIDText(uint32_t AValue) { return Hex(AValue, 8); }
std::string SensorInstText(uint32_t AValue) { return Hex(AValue, 1); }
std::string ReadingIDText(uint32_t AValue) { return Hex(AValue, 7); }

void TURIDSelectorModel::Clear() {
  ClearDetails();
  sensor_items.clear();
  entry_items.clear();
  children.clear();
}

void TURIDSelectorModel::Build(const TQD_DataLogger* ADataLogger) {
  Clear();
  if (!ADataLogger || ADataLogger->LastHWiPollingStatus() != hwsOK) return;
  const TQD_SensorList& sensors = ADataLogger->SensorList();
  const TQD_ReadingsList& readings = ADataLogger->ReadingList();
  sensor_items.reserve(sensors.size());
  for (const TQD_SensorListItem& sensor : sensors) sensor_items.push_back({sensor});
  children.resize(sensors.size());
  entry_items.reserve(readings.empty() ? 0 : readings.size() - 1);
  // Index 0 is the placeholder, no reading of HWiNFO's.
  for (size_t i = 1; i < readings.size(); ++i) {
    const TQD_ReadingsListItem& reading = readings[i];
    // A successful poll never names a missing sensor; a reading that did
    // would have no node to hang under.
    if (reading.dwSensorIndex >= sensors.size()) continue;
    children[reading.dwSensorIndex].push_back(static_cast<uint32_t>(entry_items.size()));
    entry_items.push_back({reading});
  }
}

void TURIDSelectorModel::ClearDetails() {
  for (std::string& field : FDetails) field.clear();
  FSelectedURID = TQD_URID::CreateEmpty();
}

void TURIDSelectorModel::ShowSensor(size_t ASensor) {
  if (ASensor >= sensor_items.size()) return;
  const TQD_SensorListItem& s = sensor_items[ASensor].Data;
  ClearDetails();
  SetSensorFields(FDetails, s.dwSensorID, s.dwSensorInst, s.szSensorNameOrig, s.szSensorNameUser);
}

void TURIDSelectorModel::ShowEntry(size_t AEntry) {
  if (AEntry >= entry_items.size()) return;
  const TQD_ReadingsListItem& r = entry_items[AEntry].Data;
  SetSensorFields(FDetails, r.dwSensorID, r.dwSensorInst, r.szSensorNameOrig, r.szSensorNameUser);
  FDetails[ufEntryOriginalName] = r.szLabelOrig;
  FDetails[ufEntryCurrentName] = r.szLabelUser;
  FDetails[ufEntryID] = ReadingIDText(r.dwReadingID);
  FDetails[ufEntryType] = ReadingTypeName(r.tReading);
  FDetails[ufEntryUnit] = r.szUnit;
  FDetails[ufCurrentValue] = FormatDetailValue(r.Value);
  FDetails[ufMinValue] = FormatDetailValue(r.ValueMin);
  FDetails[ufMaxValue] = FormatDetailValue(r.ValueMax);
  FDetails[ufAverageValue] = FormatDetailValue(r.ValueAvg);
  FSelectedURID = r.URID();
}

int TURIDSelectorModel::SelectURID(const TQD_URID& AURID) {
  for (const std::vector<uint32_t>& entries : children)
    for (uint32_t entry : entries)
      if (URIDEquals(entry_items[entry].Data.URID(), AURID)) {
        ShowEntry(entry);
        return static_cast<int>(entry);
      }
  ClearDetails();
  return -1;
}

std::string TURIDSelectorModel::SelectedLabel() const {
  return URIDIsEmpty(FSelectedURID) ? std::string("-") : URIDToText(FSelectedURID);
}

// --- layout -----------------------------------------------------------------

namespace {

// Vertical positions inside the groups at 96 DPI, from the group's top edge.
constexpr int kCaptionHeight = 13;
constexpr int kFieldHeight = 21;
// Captions stand 14 pixels above their fields.
constexpr int kRow1Caption = 16, kRow1Field = 30;
constexpr int kRow2Field = 68;
constexpr int kRow3Field = 106;
constexpr int kValueStep = 25;  // value fields follow each other without captions above
constexpr int kCellMargin = 3;  // around every cell of the grid
constexpr int kCaptionGap = 4;  // between a value caption and its field

TURIDSelectorRect Rect(int ALeft, int ATop, int AWidth, int AHeight) {
  return {ALeft, ATop, ALeft + AWidth, ATop + AHeight};
}

}  // namespace

TURIDSelectorLayout LayoutURIDSelector(int AClientWidth, int AClientHeight, int ADPI) {
  auto s = [ADPI](int AValue96) { return ScaleToDPI(AValue96, ADPI); };
  TURIDSelectorLayout l;
  const int w = AClientWidth, h = AClientHeight, pad = s(kCellMargin);
  // Column and row boundaries of the grid.
  const int column1 = w / 6;
  const int row1 = h * 42 / 100, row2 = h * 62 / 100, row3 = h * 90 / 100;
  l.TreeView = {pad, pad, w - pad, row1 - pad};
  l.SensorGroup = {pad, row1 + pad, w - pad, row2 - pad};
  l.EntryGroup = {pad, row2 + pad, w - pad, row3 - pad};
  l.ReloadButton = {pad, row3 + pad, column1 - pad, h - pad};
  l.SelectedGroup = {column1 + pad, row3 + pad, w - pad, h - pad};
  // The label sits in the group's client area, below its caption.
  const int labelHeight = s(kCaptionHeight);
  const int groupBody = l.SelectedGroup.Top + s(kCaptionHeight);
  const int labelTop = groupBody + (l.SelectedGroup.Bottom - groupBody - labelHeight) / 2;
  l.SelectedLabel = {l.SelectedGroup.Left + s(8), labelTop, l.SelectedGroup.Right - s(8), labelTop + labelHeight};

  const int m = s(12);
  const int fieldH = s(kFieldHeight), captionH = s(kCaptionHeight);
  // A group's client area lies one pixel inside its frame.
  auto place = [&](const TURIDSelectorRect& AGroup, int ALeft, int ATop96, int AWidth, int AHeight) {
    return Rect(AGroup.Left + 1 + ALeft, AGroup.Top + s(ATop96), AWidth, AHeight);
  };

  {  // Sensor Details
    const TURIDSelectorRect& g = l.SensorGroup;
    const int W = g.Width() - 2;
    const int nameW = static_cast<int>(std::lround((W - 2.0 * m) * 4 / 6));
    const int idLeft = 2 * m + nameW;
    l.Fields[ufSensorOriginalName] = place(g, m, kRow1Field, nameW, fieldH);
    l.Fields[ufSensorCurrentName] = place(g, m, kRow2Field, nameW, fieldH);
    l.Fields[ufSensorID] = place(g, idLeft, kRow1Field, W - m - idLeft, fieldH);
    l.Fields[ufSensorInstance] = place(g, idLeft, kRow2Field, W - m - idLeft, fieldH);
  }
  {  // Entry Details
    const TURIDSelectorRect& g = l.EntryGroup;
    const int W = g.Width() - 2;
    const int nameW = static_cast<int>(std::lround((W - 2.0 * m) * 4 / 6));
    const int third = static_cast<int>(std::lround(nameW / 3.0 - 2.0 * m / 3));
    const int valuesLeft = 7 * m + nameW;
    l.Fields[ufEntryOriginalName] = place(g, m, kRow1Field, nameW, fieldH);
    l.Fields[ufEntryCurrentName] = place(g, m, kRow2Field, nameW, fieldH);
    l.Fields[ufEntryID] = place(g, m, kRow3Field, third, fieldH);
    l.Fields[ufEntryType] = place(g, 2 * m + third, kRow3Field, third, fieldH);
    l.Fields[ufEntryUnit] = place(g, 3 * m + 2 * third, kRow3Field, third, fieldH);
    for (int i = 0; i < 4; ++i)
      l.Fields[ufCurrentValue + i] = place(g, valuesLeft, kRow1Field + i * kValueStep, W - m - valuesLeft, fieldH);
    l.Captions[ucValues] = place(g, valuesLeft, kRow1Caption, W - m - valuesLeft, captionH);
    // Value captions fill the gap left of their fields, right-aligned.
    const int captionLeft = m + nameW + m;
    for (int i = 0; i < 4; ++i)
      l.Captions[ucCurrentValue + i] =
          place(g, captionLeft, kRow1Field + i * kValueStep + (kFieldHeight - kCaptionHeight) / 2,
                valuesLeft - s(kCaptionGap) - captionLeft, captionH);
  }
  // The other captions stand above their fields, as wide as they are.
  const struct {
    TURIDSelectorCaption Caption;
    TURIDSelectorField Field;
  } above[] = {{ucSensorOriginalName, ufSensorOriginalName}, {ucSensorCurrentName, ufSensorCurrentName},
               {ucSensorID, ufSensorID},                     {ucSensorInstance, ufSensorInstance},
               {ucEntryOriginalName, ufEntryOriginalName},   {ucEntryCurrentName, ufEntryCurrentName},
               {ucEntryID, ufEntryID},                       {ucEntryType, ufEntryType},
               {ucEntryUnit, ufEntryUnit}};
  for (const auto& a : above) {
    const TURIDSelectorRect& f = l.Fields[a.Field];
    const int top = f.Top - (s(kRow1Field) - s(kRow1Caption));
    l.Captions[a.Caption] = {f.Left, top, f.Right, top + captionH};
  }
  return l;
}
