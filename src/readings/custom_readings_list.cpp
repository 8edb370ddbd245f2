// Custom readings lists and their parameter texts; see custom_readings_list.h.
#include "readings/custom_readings_list.h"

#include <charconv>
#include <cstdio>
#include <optional>

const char* const CustomReadingsParametersHelp =
    "; --> Separator\r\n"
    "T=xxx --> Temperature maximum (Default = 100)\r\n"
    "C=x --> Label width (1 to 9, Default = 5)\r\n"
    "O=L --> Display value on the left side\r\n"
    "O=R --> Display value on the right side\r\n"
    "V=CUR --> Current value (same as in HWiNFO)\r\n"
    "V=MIN --> Minimum value (same as in HWiNFO)\r\n"
    "V=MAX --> Maximum value (same as in HWiNFO)\r\n"
    "V=AVG --> Average value (same as in HWiNFO)\r\n"
    "F=LG --> Force linegraph display";

namespace {

const char* const kSlotFields[4] = {"dwSensorID", "dwSensorInst", "dwReadingID", "Parameters"};

// "07_dwReadingID"
std::string SlotValueName(int ASlot, const char* AField) {
  char name[32];
  std::snprintf(name, sizeof name, "%.*d_%s", 2, ASlot, AField);
  return name;
}

std::string HexText(uint32_t AValue, int AMinDigits) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%0*X", AMinDigits, static_cast<unsigned>(AValue));
  return text;
}

std::string UpperCase(std::string_view AText) {
  std::string upper(AText);
  for (char& c : upper)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return upper;
}

// The value after AKey up to the next ";" (or the end), taken from the text as
// written; nullopt when the key is absent or nothing follows it.
std::optional<std::string_view> ParamValue(std::string_view AParameters, std::string_view AKey) {
  const size_t pos = UpperCase(AParameters).find(AKey);
  if (pos == std::string::npos) return std::nullopt;
  std::string_view rest = AParameters.substr(pos + AKey.size());
  if (rest.empty()) return std::nullopt;
  return rest.substr(0, rest.find(';'));
}

std::string_view TrimBlanks(std::string_view AText) {
  while (!AText.empty() && (AText.front() == ' ' || AText.front() == '\t')) AText.remove_prefix(1);
  while (!AText.empty() && (AText.back() == ' ' || AText.back() == '\t')) AText.remove_suffix(1);
  return AText;
}

// A decimal number with the locale's decimal separator (UTF-8, maybe several
// bytes) and an optional exponent; no thousands separators.
std::optional<double> ParseLocaleFloat(std::string_view AText, std::string_view ADecimal) {
  AText = TrimBlanks(AText);
  std::string text;
  size_t i = 0;
  auto digits = [&] {
    size_t n = 0;
    for (; i < AText.size() && AText[i] >= '0' && AText[i] <= '9'; ++i, ++n) text += AText[i];
    return n;
  };
  if (i < AText.size() && (AText[i] == '+' || AText[i] == '-')) text += AText[i++];
  size_t mantissa = digits();
  if (!ADecimal.empty() && AText.substr(i, ADecimal.size()) == ADecimal) {
    text += '.';
    i += ADecimal.size();
    mantissa += digits();
  }
  if (mantissa == 0) return std::nullopt;
  if (i < AText.size() && (AText[i] == 'e' || AText[i] == 'E')) {
    text += 'e';
    ++i;
    if (i < AText.size() && (AText[i] == '+' || AText[i] == '-')) text += AText[i++];
    if (digits() == 0) return std::nullopt;
  }
  if (i != AText.size()) return std::nullopt;
  const char* first = text.data();
  if (*first == '+') ++first;  // from_chars takes no plus sign
  double value = 0;
  auto [end, ec] = std::from_chars(first, text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;  // includes overflow
  return value;
}

std::optional<int32_t> ParseInteger(std::string_view AText) {
  AText = TrimBlanks(AText);
  if (!AText.empty() && AText.front() == '+') AText.remove_prefix(1);
  int32_t value = 0;
  auto [end, ec] = std::from_chars(AText.data(), AText.data() + AText.size(), value);
  if (AText.empty() || ec != std::errc() || end != AText.data() + AText.size()) return std::nullopt;
  return value;
}

}  // namespace

bool TQD_CustomReadingsList::Add(const TQD_URID& AURID, std::string AParameters) {
  if (Count() >= MaxCount) return false;
  FItems.push_back({AURID, std::move(AParameters)});
  return true;
}

bool TQD_CustomReadingsList::CreateDivider() { return Add(TQD_URID::CreateDivider(), std::string()); }

void TQD_CustomReadingsList::SaveToRegistry(TQD_KeyValueStore& AStore) const {
  const std::string key = RegKey();
  for (int slot = 0; slot < MaxCount; ++slot)
    for (const char* field : kSlotFields) RegDeleteValue(AStore, key, SlotValueName(slot, field));
  for (int slot = 0; slot < Count() && slot < MaxCount; ++slot) {
    const TQD_CustomReadingsListItem& item = FItems[static_cast<size_t>(slot)];
    RegWriteString(AStore, key, SlotValueName(slot, "dwSensorID"), HexText(item.URID.dwSensorID, 8));
    RegWriteString(AStore, key, SlotValueName(slot, "dwSensorInst"), HexText(item.URID.dwSensorInst, 1));
    RegWriteString(AStore, key, SlotValueName(slot, "dwReadingID"), HexText(item.URID.dwReadingID, 7));
    RegWriteString(AStore, key, SlotValueName(slot, "Parameters"), item.Parameters);
  }
}

void TQD_CustomReadingsList::LoadFromRegistry(TQD_KeyValueStore& AStore) {
  const std::string key = RegKey();
  for (int slot = 0; slot < MaxCount; ++slot) {
    // A value of another type counts as missing, like an absent one.
    std::optional<std::string> texts[4];
    bool complete = true;
    for (int f = 0; f < 4 && complete; ++f) {
      texts[f] = RegTryReadString(AStore, key, SlotValueName(slot, kSlotFields[f]));
      complete = texts[f].has_value();
    }
    if (!complete) continue;
    Add(TextToURID(*texts[0], *texts[1], *texts[2]), std::move(*texts[3]));
  }
}

double GetParamTemperatureMax(std::string_view AParameters, const TQD_LocalePort& ALocale) {
  auto value = ParamValue(AParameters, "T=");
  if (!value) return 100.0;
  return ParseLocaleFloat(*value, ALocale.DecimalSeparator()).value_or(100.0);
}

TQD_DynamicCaptionSource GetParamCaptionSource(std::string_view AParameters) {
  auto value = ParamValue(AParameters, "V=");
  if (!value) return dcsValue;
  const std::string keyword = UpperCase(*value);
  if (keyword == "MIN") return dcsValueMin;
  if (keyword == "MAX") return dcsValueMax;
  if (keyword == "AVG") return dcsValueAvg;
  return dcsValue;  // "CUR" and everything else
}

int GetParamLabelWidth(std::string_view AParameters) {
  auto value = ParamValue(AParameters, "C=");
  if (!value) return 5;
  auto width = ParseInteger(*value);
  if (!width) return 5;
  return *width < 1 ? 1 : *width > 9 ? 9 : *width;
}

int GetParamOrientation(std::string_view AParameters) {
  auto value = ParamValue(AParameters, "O=");
  return value && UpperCase(*value) == "L" ? 1 : 0;
}

int GetParamForcedDisplay(std::string_view AParameters) {
  auto value = ParamValue(AParameters, "F=");
  if (!value) return 0;
  const std::string keyword = UpperCase(*value);
  if (keyword == "LB") return 1;
  if (keyword == "GA") return 2;
  if (keyword == "LG") return 3;
  return 0;
}
