// The settings pages as data; see settings_page.h.
#include "app/settings_page.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

#include "collector/value_format.h"

namespace {

using K = TQD_FieldKind;
using R = TQD_ApplyRule;
using S = TQD_Settings;

const std::vector<std::string> kGridLines = {"Off", "50%", "25%", "10%"};

TQD_SettingsField Check(std::string_view AName, std::string_view AGroup, std::string_view ACaption,
                        TQD_OptionBoolean S::*AOption) {
  TQD_SettingsField f{AName, AGroup, ACaption, "", K::CheckBox, R::Ticked};
  f.Bool = AOption;
  return f;
}

TQD_SettingsField Edit(std::string_view AName, std::string_view AGroup, std::string_view ACaption,
                       TQD_OptionInteger S::*AOption, R ARule = R::Bounded, std::string_view ASuffix = "") {
  TQD_SettingsField f{AName, AGroup, ACaption, ASuffix, K::NumberEdit, ARule};
  f.Int = AOption;
  return f;
}

TQD_SettingsField Combo(std::string_view AName, std::string_view AGroup, std::string_view ACaption,
                        TQD_OptionInteger S::*AOption, std::vector<std::string> AItems) {
  TQD_SettingsField f{AName, AGroup, ACaption, "", K::ComboBox, R::ItemIndex};
  f.Int = AOption;
  f.Items = std::move(AItems);
  return f;
}

constexpr std::string_view kTemps = "Temperature maximums (\xC2\xB0" "C or \xC2\xB0" "F)";

TQD_SettingsPage MakeGeneral() {
  TQD_SettingsPage p;
  p.Columns = 3;  // the third stays free for one more group
  p.Groups = {{"Windows 11", 0}, {"Application", 0}, {"System memory capacity", 0}, {"HWiNFO", 0},
              {"Linegraphs", 1}, {"Font", 1}};
  TQD_SettingsField run = Check("RunOnStartupCheckBox", "Application", "Start with Windows", &S::RunOnStartup);
  run.ShownFromAutostart = true;
  TQD_SettingsField fontName{"FontNameComboBox", "Font", "", "", K::ComboBox, R::ItemText};
  fontName.Str = &S::FontName;
  TQD_SettingsField fontSize{"FontSizeComboBox", "Font", "", "", K::ComboBox, R::ItemInteger};
  fontSize.Int = &S::FontSize;
  p.Fields = {
      run,
      Combo("RoundedCornersComboBox", "Windows 11", "Rounded corners", &S::RoundedCorners,
            {"Default", "Off", "On", "Small"}),
      Edit("HWiNFOPollingIntervalEdit", "HWiNFO", "Polling interval", &S::HWiNFOPollingInterval, R::Bounded, "ms"),
      fontName,
      fontSize,
      Check("FontBoldCheckBox", "Font", "Bold", &S::FontBold),
      Check("FontItalicCheckBox", "Font", "Italic", &S::FontItalic),
      Check("FontAutosizingCheckBox", "Font", "Autosize", &S::FontAutosizing),
      Check("FontAntialiasingCheckBox", "Font", "Antialiasing (large performance hit!)", &S::FontAntialiasing),
      Check("LineGraphsEnabledCheckBox", "Linegraphs", "Enable linegraphs", &S::LineGraphsEnabled),
      Edit("LineGraphValuesPerColEdit", "Linegraphs", "Values per column (10 columns total)",
           &S::LineGraphValuesPerCol),
      Combo("LineGraphGridLinesComboBox", "Linegraphs", "Grid lines", &S::LineGraphGridLines, kGridLines),
      Check("RAMIncludeReservedCheckBox", "System memory capacity", "Include reserved RAM", &S::RAMIncludeReserved),
  };
  return p;
}

TQD_SettingsPage MakeCPU() {
  TQD_SettingsPage p;
  p.Groups = {{kTemps, 0}, {"Thread usage gauges", 1}};
  p.Fields = {
      Edit("PackageTempEdit", kTemps, "CPU package maximum temperature", &S::CPUMonitor_PackageTemperatureThreshold),
      Edit("CoreTempEdit", kTemps, "CPU core maximum temperature", &S::CPUMonitor_CoreTemperatureThreshold),
      Combo("ThreadUsageComboBox", "Thread usage gauges", "Show percentage", &S::CPUMonitor_ThreadUsageShowPercent,
            {"Off", "Edge of the bar", "Centered"}),
  };
  return p;
}

TQD_SettingsPage MakeGPU() {
  TQD_SettingsPage p;
  p.Groups = {{kTemps, 0}, {"Video memory capacity", 1}};
  p.Fields = {
      Edit("PackageTempEdit", kTemps, "GPU package maximum temperature", &S::GPUMonitor_PackageTemperatureThreshold),
      Edit("HotspotTempEdit", kTemps, "GPU hotspot maximum temperature", &S::GPUMonitor_HotspotTemperatureThreshold),
      Edit("MemoryTempEdit", kTemps, "GPU memory maximum temperature", &S::GPUMonitor_MemoryTemperatureThreshold),
      Edit("VRAMCapacityManualEdit", "Video memory capacity", "Total VRAM in MiB (0 = auto / undefined)",
           &S::GPUMonitor_VRAMTotalManualMiB, R::AtLeastMin),
  };
  return p;
}

TQD_SettingsPage MakeDrives() {
  TQD_SettingsPage p;
  p.Groups = {{kTemps, 0}, {"Logical drives", 1}};
  p.Fields = {
      Edit("DriveTempEdit", kTemps, "Drive maximum temperature", &S::DriveMonitor_TemperatureThreshold),
      Check("ShowLogicalDrivesCheckBox", "Logical drives", "Show logical drives", &S::DriveMonitor_ShowLogicalDrives),
      Check("FixedDrivesOnlyCheckBox", "Logical drives", "Show fixed drives only",
            &S::DriveMonitor_ShowLogicalDrivesFixedOnly),
  };
  return p;
}

TQD_SettingsPage MakeNetwork() {
  TQD_SettingsPage p;
  p.Groups = {{"Graph", 0}};
  TQD_SettingsField len =
      Edit("NetGraphBufferLenEdit", "Graph", "Number of values in graph", &S::NetworkMonitor_NetGraphBufferLen,
           R::Clamped);
  len.ClampMin = 60;
  len.ClampMax = 3600;
  p.Fields = {
      Check("ShowDisabledInterfacesCheckBox", "Graph", "Show disabled interfaces",
            &S::NetworkMonitor_ShowDisabledInterfaces),
      len,
      Combo("GridLinesComboBox", "Graph", "Grid lines", &S::NetworkMonitor_NetGraphGridLines, kGridLines),
      Combo("DisplayUnitComboBox", "Graph", "Unit", &S::NetworkMonitor_DisplayUnit, NetworkDisplayUnitItems()),
  };
  return p;
}

}  // namespace

bool TryParseInteger(std::string_view AText, int32_t& AValue) {
  size_t i = 0;
  bool negative = false;
  if (i < AText.size() && (AText[i] == '+' || AText[i] == '-')) negative = AText[i++] == '-';
  if (i == AText.size()) return false;
  int64_t value = 0;
  for (; i < AText.size(); ++i) {
    const char c = AText[i];
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
    if (value > int64_t{std::numeric_limits<int32_t>::max()} + 1) return false;
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<int32_t>::max()) return false;
  AValue = static_cast<int32_t>(value);
  return true;
}

const TQD_SettingsPage& GeneralSettingsPage() {
  static const TQD_SettingsPage page = MakeGeneral();
  return page;
}
const TQD_SettingsPage& CPUMonitorSettingsPage() {
  static const TQD_SettingsPage page = MakeCPU();
  return page;
}
const TQD_SettingsPage& GPUMonitorSettingsPage() {
  static const TQD_SettingsPage page = MakeGPU();
  return page;
}
const TQD_SettingsPage& DriveMonitorSettingsPage() {
  static const TQD_SettingsPage page = MakeDrives();
  return page;
}
const TQD_SettingsPage& NetworkMonitorSettingsPage() {
  static const TQD_SettingsPage page = MakeNetwork();
  return page;
}

std::vector<std::string> NetworkDisplayUnitItems() {
  std::vector<std::string> items;
  for (const TQD_DisplayUnitGroup& g : DisplayUnitGroups)
    items.push_back(std::string(g.Name) + " (1 " + g.Steps[0].ShortName + " " + g.Steps[0].Description + ")");
  return items;
}

std::vector<std::string> FontSizeItems() {
  std::vector<std::string> items;
  for (int s = 4; s <= 72; ++s) items.push_back(std::to_string(s));
  return items;
}

TQD_SettingsPageModel::TQD_SettingsPageModel(const TQD_SettingsPage& APage)
    : FPage(APage), FFontSizes(FontSizeItems()), FStates(APage.Fields.size()) {}

const std::vector<std::string>& TQD_SettingsPageModel::Items(size_t AField) const {
  const TQD_SettingsField& f = FPage.Fields.at(AField);
  if (f.Rule == TQD_ApplyRule::ItemText) return FFontNames;
  if (f.Rule == TQD_ApplyRule::ItemInteger) return FFontSizes;
  return f.Items;
}

int TQD_SettingsPageModel::FieldIndex(std::string_view AControlName) const {
  for (size_t i = 0; i < FPage.Fields.size(); ++i)
    if (FPage.Fields[i].ControlName == AControlName) return static_cast<int>(i);
  return -1;
}

TQD_FieldState& TQD_SettingsPageModel::State(std::string_view AControlName) {
  const int i = FieldIndex(AControlName);
  if (i < 0) throw std::out_of_range("No settings control " + std::string(AControlName));
  return FStates[static_cast<size_t>(i)];
}

void TQD_SettingsPageModel::Fill(const TQD_Settings& ASettings, bool AAutostartRegistered) {
  for (size_t i = 0; i < FPage.Fields.size(); ++i) {
    const TQD_SettingsField& f = FPage.Fields[i];
    TQD_FieldState& s = FStates[i];
    s = {};
    const std::vector<std::string>& items = Items(i);
    switch (f.Rule) {
      case TQD_ApplyRule::Ticked:
        s.Checked = f.ShownFromAutostart ? AAutostartRegistered : (ASettings.*f.Bool).Value;
        break;
      case TQD_ApplyRule::ItemIndex: {
        const int32_t v = (ASettings.*f.Int).Value;
        s.ItemIndex = v >= 0 && v < static_cast<int32_t>(items.size()) ? v : -1;
        break;
      }
      case TQD_ApplyRule::ItemText:
      case TQD_ApplyRule::ItemInteger: {
        // The item exactly equal to the setting; none when it is not listed.
        const std::string wanted = f.Str ? (ASettings.*f.Str).Value : std::to_string((ASettings.*f.Int).Value);
        const auto it = std::find(items.begin(), items.end(), wanted);
        s.ItemIndex = it == items.end() ? -1 : static_cast<int>(it - items.begin());
        break;
      }
      case TQD_ApplyRule::Bounded:
      case TQD_ApplyRule::Clamped:
      case TQD_ApplyRule::AtLeastMin:
        s.Text = std::to_string((ASettings.*f.Int).Value);
        break;
    }
  }
}

void TQD_SettingsPageModel::Apply(TQD_Settings& ASettings) const {
  for (size_t i = 0; i < FPage.Fields.size(); ++i) {
    const TQD_SettingsField& f = FPage.Fields[i];
    const TQD_FieldState& s = FStates[i];
    const std::vector<std::string>& items = Items(i);
    // A list with nothing selected (the configured font is not installed, the
    // stored size lies outside the list) leaves its setting as it was, so
    // "Apply" only changes what the user touched.
    const bool selected = s.ItemIndex >= 0 && s.ItemIndex < static_cast<int>(items.size());
    int32_t value = 0;
    switch (f.Rule) {
      case TQD_ApplyRule::Ticked:
        (ASettings.*f.Bool).Value = s.Checked;
        break;
      case TQD_ApplyRule::ItemIndex:
        if (selected) (ASettings.*f.Int).Value = s.ItemIndex;
        break;
      case TQD_ApplyRule::ItemText:
        if (selected) (ASettings.*f.Str).Value = items[static_cast<size_t>(s.ItemIndex)];
        break;
      case TQD_ApplyRule::ItemInteger:
        if (selected && TryParseInteger(items[static_cast<size_t>(s.ItemIndex)], value)) (ASettings.*f.Int).Value = value;
        break;
      case TQD_ApplyRule::Bounded: {
        TQD_OptionInteger& o = ASettings.*f.Int;
        if (TryParseInteger(s.Text, value) && value >= o.Min && value <= o.Max) o.Value = value;
        break;
      }
      case TQD_ApplyRule::Clamped:
        if (TryParseInteger(s.Text, value)) (ASettings.*f.Int).Value = std::clamp(value, f.ClampMin, f.ClampMax);
        break;
      case TQD_ApplyRule::AtLeastMin: {
        TQD_OptionInteger& o = ASettings.*f.Int;
        if (TryParseInteger(s.Text, value) && value >= o.Min) o.Value = value;
        break;
      }
    }
  }
}
