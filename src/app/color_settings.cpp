// The colour dialog's model; see color_settings.h.
#include "app/color_settings.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <string_view>
#include <type_traits>

#include "app/settings_page.h"
#include "collector/locale_port.h"
#include "collector/value_format.h"

namespace {
// The separator as text, whether the locale port gives a character or a string.
template <class T>
std::string SeparatorText(const T& ASeparator) {
  if constexpr (std::is_same_v<T, char>)
    return std::string(1, ASeparator);
  else
    return std::string(ASeparator);
}
}  // namespace

bool TryParseLocaleFloat(const std::string& AText, double& AValue) {
  const std::string separator = SeparatorText(CurrentLocale().DecimalSeparator());
  if (separator.empty()) return false;
  std::string text;
  for (size_t i = 0; i < AText.size();) {
    if (AText.compare(i, separator.size(), separator) == 0) {
      text += '.';
      i += separator.size();
    } else if (AText[i] == '.') {
      return false;  // not this locale's number
    } else {
      text += AText[i++];
    }
  }
  size_t first = text.find_first_not_of(' '), last = text.find_last_not_of(' ');
  if (first == std::string::npos) return false;
  text = text.substr(first, last - first + 1);
  for (char c : text)
    if (!((c >= '0' && c <= '9') || c == '.' || c == '+' || c == '-' || c == 'e' || c == 'E')) return false;
  // strtod reads '.' in the "C" locale the program never leaves.
  char* end = nullptr;
  errno = 0;
  const double v = std::strtod(text.c_str(), &end);
  if (end != text.c_str() + text.size() || errno == ERANGE || !std::isfinite(v)) return false;
  AValue = v;
  return true;
}

TQD_ColorSettingsModel::TQD_ColorSettingsModel(TQD_ColorTable& AWorkingTable, TQD_ColorDialogPrompts APrompts)
    : FTable(AWorkingTable), FPrompts(std::move(APrompts)) {
  FHSVPicker.OnChanged = [this] {
    if (FRefreshing) return;
    FSelectedColor = FHSVPicker.SelectedColor();
    Refresh();
  };
  FRGBAPicker.OnChanged = [this] {
    if (FRefreshing) return;
    FSelectedColor = FRGBAPicker.SelectedColor();
    Refresh();
  };
  // Nothing is selected: the fields show the fallback colour until a pick.
  FRefreshing = true;
  FHSVPicker.SetSelectedColor(FSelectedColor);
  FRGBAPicker.SetSelectedColor(FSelectedColor);
  FRefreshing = false;
  Refresh();
}

std::vector<std::string> TQD_ColorSettingsModel::ListItems() const {
  std::vector<std::string> items;
  for (const TQD_ColorTranslationTable_Entry& e : FTable.TranslationTable()) items.emplace_back(e.Name);
  return items;
}

void TQD_ColorSettingsModel::Refresh() {
  FRefreshing = true;
  if (FSelected >= 0) FTable.SetColor(FSelected, FSelectedColor);
  FHSVPicker.SetSelectedColor(FSelectedColor);
  FHSVTexts = {FormatFixed(FHSVPicker.Hue() * 100, 2), FormatFixed(FHSVPicker.Saturation() * 100, 2),
               FormatFixed(FHSVPicker.Value() * 100, 2)};
  FRGBAPicker.SetSelectedColor(FSelectedColor);
  FChannelTexts = {std::to_string(RedComponent(FSelectedColor)), std::to_string(GreenComponent(FSelectedColor)),
                   std::to_string(BlueComponent(FSelectedColor)), std::to_string(AlphaComponent(FSelectedColor))};
  FHexText = ColorToText(FSelectedColor);
  FRefreshing = false;
  if (OnRefreshed) OnRefreshed();
}

void TQD_ColorSettingsModel::ColorListBoxClick(int AIndex) {
  if (AIndex < 0 || AIndex >= QD_ColorTableCount) return;
  FSelected = AIndex;
  FSelectedColor = FTable.GetColor(AIndex);
  Refresh();
}

void TQD_ColorSettingsModel::HexColorEditEnter(const std::string& AText) {
  FSelectedColor = TextToColor(AText);
  Refresh();
}

bool TQD_ColorSettingsModel::HSVEnter(const std::string& AText, void (TQD_HSVColorPicker::*ASetter)(double)) {
  double v = 0;
  if (!TryParseLocaleFloat(AText, v)) return false;
  // The picker reports the change, and its handler refreshes.
  (FHSVPicker.*ASetter)(v / 100);
  return true;
}

bool TQD_ColorSettingsModel::HueEditEnter(const std::string& AText) {
  return HSVEnter(AText, &TQD_HSVColorPicker::SetHue);
}
bool TQD_ColorSettingsModel::SaturationEditEnter(const std::string& AText) {
  return HSVEnter(AText, &TQD_HSVColorPicker::SetSaturation);
}
bool TQD_ColorSettingsModel::ValueEditEnter(const std::string& AText) {
  return HSVEnter(AText, &TQD_HSVColorPicker::SetValue);
}

void TQD_ColorSettingsModel::SpinEditChange(TQD_ColorChannel AChannel, const std::string& AText) {
  if (FRefreshing) return;
  int32_t v = 0;
  if (!TryParseInteger(AText, v)) return;
  static constexpr int kShift[4] = {16, 8, 0, 24};
  const int shift = kShift[AChannel];
  const TColor32 next = (FSelectedColor & ~(TColor32{0xFF} << shift)) | ((static_cast<TColor32>(v) & 0xFF) << shift);
  // The spin edit shows what the last refresh wrote into it: nothing to do.
  if (next == FSelectedColor) return;
  FSelectedColor = next;
  Refresh();
}

void TQD_ColorSettingsModel::ImportButtonClick() {
  const std::string file = FPrompts.OpenFileName();
  if (file.empty() || !FPrompts.Confirm(QD_ImportConfirmText)) return;
  FTable.ImportFromFile(file);
  FSelectedColor = FSelected >= 0 ? FTable.GetColor(FSelected) : clFallback32;
  Refresh();
}

void TQD_ColorSettingsModel::ExportButtonClick() {
  const std::string file = FPrompts.SaveFileName();
  if (file.empty()) return;
  if (FPrompts.FileExists(file) && !FPrompts.Confirm(QD_OverwriteConfirmText)) return;
  FTable.ExportToFile(file);
}

void TQD_ColorSettingsModel::ResetColorToDefaultClick() {
  if (FSelected < 0) return;
  FSelectedColor = DefaultTranslationTable[static_cast<size_t>(FSelected)].Color;
  Refresh();
}

void TQD_ColorSettingsModel::ResetAllColorsToDefaultClick() {
  if (!FPrompts.Confirm(QD_ResetAllConfirmText)) return;
  FTable.ResetToDefault();
  if (FSelected < 0) return;
  FSelectedColor = FTable.GetColor(FSelected);
  Refresh();
}
