// The settings dialogs' models: the pages' fill and apply rules against the
// settings record and the control panel, the colour dialog's inputs and
// refresh, the HSV conversions and the two pickers' hit-testing and keys.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <type_traits>
#include <vector>

#include "app/color_settings.h"
#include "app/main_form.h"
#include "app/settings_page.h"
#include "collector/locale_port.h"
#include "settings/autostart.h"
#include "settings/memory_key_value_store.h"
#include "sim/fake_monitor_host.h"
#include "sim/fake_ports.h"

namespace {

// A page model filled from ASettings, with one edit's text replaced and applied.
TQD_Settings ApplyText(const TQD_SettingsPage& APage, const char* AControl, const std::string& AText) {
  TQD_Settings settings;
  TQD_SettingsPageModel model(APage);
  model.Fill(settings, false);
  model.State(AControl).Text = AText;
  model.Apply(settings);
  return settings;
}

}  // namespace

TEST(SettingsPage, NumericFieldsFollowTheirRules) {
  const TQD_SettingsPage& general = GeneralSettingsPage();
  const TQD_SettingsPage& network = NetworkMonitorSettingsPage();
  const TQD_SettingsPage& gpu = GPUMonitorSettingsPage();
  struct Row {
    const TQD_SettingsPage* Page;
    const char* Control;
    const char* Text;
    TQD_OptionInteger TQD_Settings::*Option;
    int32_t Expected;
  };
  const Row rows[] = {
      // Bounded: out of range or not an integer keeps the value (2000).
      {&general, "HWiNFOPollingIntervalEdit", "10", &TQD_Settings::HWiNFOPollingInterval, 2000},
      {&general, "HWiNFOPollingIntervalEdit", "70000", &TQD_Settings::HWiNFOPollingInterval, 2000},
      {&general, "HWiNFOPollingIntervalEdit", "20", &TQD_Settings::HWiNFOPollingInterval, 20},
      {&general, "HWiNFOPollingIntervalEdit", "60000", &TQD_Settings::HWiNFOPollingInterval, 60000},
      {&general, "HWiNFOPollingIntervalEdit", "", &TQD_Settings::HWiNFOPollingInterval, 2000},
      {&general, "HWiNFOPollingIntervalEdit", "99999999999", &TQD_Settings::HWiNFOPollingInterval, 2000},
      {&general, "LineGraphValuesPerColEdit", "0", &TQD_Settings::LineGraphValuesPerCol, 20},
      {&general, "LineGraphValuesPerColEdit", "1000", &TQD_Settings::LineGraphValuesPerCol, 1000},
      // Clamped, not refused; not an integer: unchanged (180).
      {&network, "NetGraphBufferLenEdit", "30", &TQD_Settings::NetworkMonitor_NetGraphBufferLen, 60},
      {&network, "NetGraphBufferLenEdit", "5000", &TQD_Settings::NetworkMonitor_NetGraphBufferLen, 3600},
      {&network, "NetGraphBufferLenEdit", "600", &TQD_Settings::NetworkMonitor_NetGraphBufferLen, 600},
      {&network, "NetGraphBufferLenEdit", "1e3", &TQD_Settings::NetworkMonitor_NetGraphBufferLen, 180},
      // VRAM: 0 is automatic, no upper bound, negative refused.
      {&gpu, "VRAMCapacityManualEdit", "0", &TQD_Settings::GPUMonitor_VRAMTotalManualMiB, 0},
      {&gpu, "VRAMCapacityManualEdit", "2000000", &TQD_Settings::GPUMonitor_VRAMTotalManualMiB, 2000000},
      {&gpu, "VRAMCapacityManualEdit", "-1", &TQD_Settings::GPUMonitor_VRAMTotalManualMiB, 0},
      {&gpu, "MemoryTempEdit", "1001", &TQD_Settings::GPUMonitor_MemoryTemperatureThreshold, 100},
  };
  for (const Row& r : rows)
    EXPECT_EQ((ApplyText(*r.Page, r.Control, r.Text).*r.Option).Value, r.Expected) << r.Control << " " << r.Text;
}

TEST(SettingsPage, GeneralPageShowsTheSettingsAndListsWithoutSelectionChangeNothing) {
  TQD_Settings settings;
  settings.RunOnStartup.Value = true;  // the entry says otherwise: the entry wins
  settings.FontName.Value = "Not Installed";
  settings.FontSize.Value = 200;
  settings.RoundedCorners.Value = 2;
  TQD_SettingsPageModel model(GeneralSettingsPage());
  model.SetFontNames({"Arial", "Tahoma"});
  model.Fill(settings, false);
  EXPECT_FALSE(model.State("RunOnStartupCheckBox").Checked);
  EXPECT_EQ(model.State("RoundedCornersComboBox").ItemIndex, 2);
  EXPECT_EQ(model.State("FontNameComboBox").ItemIndex, -1);
  EXPECT_EQ(model.State("FontSizeComboBox").ItemIndex, -1);
  EXPECT_EQ(model.State("HWiNFOPollingIntervalEdit").Text, "2000");
  model.Apply(settings);
  EXPECT_FALSE(settings.RunOnStartup.Value);
  EXPECT_EQ(settings.FontName.Value, "Not Installed");
  EXPECT_EQ(settings.FontSize.Value, 200);

  model.State("FontNameComboBox").ItemIndex = 1;
  model.State("FontSizeComboBox").ItemIndex = 0;
  model.Apply(settings);
  EXPECT_EQ(settings.FontName.Value, "Tahoma");
  EXPECT_EQ(settings.FontSize.Value, 4);
  EXPECT_EQ(model.Items(model.FieldIndex("FontSizeComboBox")).back(), "72");
}

TEST(SettingsPage, ApplyOrderAndTheNetworkUnitList) {
  std::vector<std::string> order;
  for (const TQD_SettingsField& f : GeneralSettingsPage().Fields) order.emplace_back(f.ControlName);
  EXPECT_EQ(order, (std::vector<std::string>{
                       "RunOnStartupCheckBox", "RoundedCornersComboBox", "HWiNFOPollingIntervalEdit",
                       "FontNameComboBox", "FontSizeComboBox", "FontBoldCheckBox", "FontItalicCheckBox",
                       "FontAutosizingCheckBox", "FontAntialiasingCheckBox", "LineGraphsEnabledCheckBox",
                       "LineGraphValuesPerColEdit", "LineGraphGridLinesComboBox", "RAMIncludeReservedCheckBox"}));
  EXPECT_EQ(NetworkDisplayUnitItems(),
            (std::vector<std::string>{"Kilobit (1 kb = 1000 Bits)", "Kibibit (1 Kibit = 1024 Bits)",
                                      "Kilobyte (1 kB = 1000 Bytes)", "Kibibyte (1 KiB = 1024 Bytes)"}));
}

TEST(SettingsPage, CancelAfterApplyKeepsWhatWasApplied) {
  TFakeCollector fakes;
  TQD_MemoryKeyValueStore store;
  TFakeMonitorHostFactory hosts;
  TQD_MainFormSystem system;
  system.ExecutablePath = "C:\\Quendal.exe";
  TQD_MainForm form(store, fakes.Ports(), hosts, system);

  {  // "Apply", then a change that "Cancel" drops
    TQD_SettingsPageModel dialog(GeneralSettingsPage());
    dialog.Fill(form.Settings(), form.AutostartRegistered());
    dialog.State("HWiNFOPollingIntervalEdit").Text = "500";
    dialog.State("RunOnStartupCheckBox").Checked = true;
    dialog.Apply(form.Settings());
    form.ApplySettings();
    dialog.State("HWiNFOPollingIntervalEdit").Text = "900";
  }
  EXPECT_EQ(form.DataLogger()->HWiPollingInterval(), 500u);
  EXPECT_TRUE(form.AutostartRegistered());
  TQD_SettingsPageModel reopened(GeneralSettingsPage());
  reopened.Fill(form.Settings(), form.AutostartRegistered());
  EXPECT_EQ(reopened.State("HWiNFOPollingIntervalEdit").Text, "500");
  EXPECT_TRUE(reopened.State("RunOnStartupCheckBox").Checked);
}

TEST(ColorHSV, RoundTripsEveryColourWithinOneStep) {
  int worst = 0;
  for (uint32_t rgb = 0; rgb < (1u << 24); ++rgb) {
    const TColor32 c = 0xFF000000u | rgb;
    const TColor32 back = HSVToColor(ColorToHSV(c));
    for (int shift = 0; shift < 24; shift += 8) {
      const int d = std::abs(static_cast<int>((c >> shift) & 0xFF) - static_cast<int>((back >> shift) & 0xFF));
      if (d > worst) worst = d;
    }
  }
  EXPECT_LE(worst, 1);
  const TQD_HSV h = ColorToHSV(0xFF00FF00);
  EXPECT_NEAR(h.H, 1.0 / 3, 1e-12);
  EXPECT_EQ(HSVToColor({2.0 / 3, 1, 1}, 0x80), 0x800000FFu);
}

namespace {

struct ColorDialog : ::testing::Test {
  TQD_ColorTable table;
  std::vector<std::string> asked;
  bool answer = true;
  std::string openName, saveName;
  TQD_ColorSettingsModel Make() {
    TQD_ColorDialogPrompts p;
    p.OpenFileName = [this] { return openName; };
    p.SaveFileName = [this] { return saveName; };
    p.FileExists = [](const std::string& APath) { return std::filesystem::exists(APath); };
    p.Confirm = [this](const std::string& AText) {
      asked.push_back(AText);
      return answer;
    };
    return TQD_ColorSettingsModel(table, p);
  }
};

}  // namespace

TEST_F(ColorDialog, InputsEndInOneRefreshOfEveryField) {
  TQD_ColorSettingsModel m = Make();
  EXPECT_EQ(m.ListItems().size(), 104u);
  EXPECT_EQ(m.ListItems()[0], "Intel_Blue");

  m.ResetColorToDefaultClick();  // nothing selected: nothing happens
  EXPECT_EQ(m.Selected(), -1);
  EXPECT_EQ(m.SelectedColor(), clFallback32);

  m.ColorListBoxClick(7);  // TX_Color_Default, white
  m.HexColorEditEnter("#80FF0000");
  EXPECT_EQ(m.SelectedColor(), 0x80FF0000u);
  EXPECT_EQ(m.ChannelText(ccAlpha), "128");
  EXPECT_EQ(m.ChannelText(ccRed), "255");
  EXPECT_EQ(m.RGBAPicker().SelectedColor(), 0x80FF0000u);
  EXPECT_EQ(table.GetColor(7), 0x80FF0000u);
  EXPECT_EQ(m.HueText(), "0.00");
  EXPECT_EQ(m.ValueText(), "100.00");

  EXPECT_TRUE(m.SaturationEditEnter("50"));
  EXPECT_EQ(m.HSVPicker().Saturation(), 0.5);
  EXPECT_EQ(m.SaturationText(), "50.00");
  EXPECT_EQ(m.SelectedColor(), 0x80FF8080u);
  EXPECT_FALSE(m.HueEditEnter("abc"));
  EXPECT_EQ(m.SelectedColor(), 0x80FF8080u);

  m.SpinEditChange(ccGreen, "256");  // the low byte: 0
  EXPECT_EQ(m.SelectedColor(), 0x80FF0080u);
  m.SpinEditChange(ccBlue, "x");
  EXPECT_EQ(m.SelectedColor(), 0x80FF0080u);

  m.HexColorEditEnter("#12");
  EXPECT_EQ(m.SelectedColor(), clFallback32);
  EXPECT_EQ(m.HexText(), "#FFFF00FF");

  m.ResetColorToDefaultClick();
  EXPECT_EQ(table.GetColor(7), 0xFFFFFFFFu);
  EXPECT_EQ(m.HexText(), "#FFFFFFFF");
}

namespace {
// Decimal comma, whether the locale takes its separators as characters or texts.
template <class L>
L CommaLocale() {
  if constexpr (std::is_constructible_v<L, char, char>)
    return L(',', '.');
  else
    return L(",", ".");
}
}  // namespace

TEST_F(ColorDialog, HueTextFollowsTheLocale) {
  const TQD_InvariantLocale comma = CommaLocale<TQD_InvariantLocale>();
  SetCurrentLocale(&comma);
  TQD_ColorSettingsModel m = Make();
  m.ColorListBoxClick(5);
  EXPECT_TRUE(m.HueEditEnter("33,5"));
  EXPECT_EQ(m.HueText(), "33,50");
  EXPECT_FALSE(m.HueEditEnter("33.5"));
  SetCurrentLocale(nullptr);
}

TEST_F(ColorDialog, ResetAllImportAndExportAskFirst) {
  const std::string file = (std::filesystem::temp_directory_path() / "quendal_colors_test.txt").string();
  std::filesystem::remove(file);
  TQD_ColorSettingsModel m = Make();
  m.ColorListBoxClick(0);
  m.HexColorEditEnter("#FF102030");
  saveName = file;
  m.ExportButtonClick();  // new file: no question
  EXPECT_TRUE(asked.empty());
  answer = false;
  m.HexColorEditEnter("#FF405060");
  m.ExportButtonClick();  // exists: "No" keeps the file
  EXPECT_EQ(asked, std::vector<std::string>{QD_OverwriteConfirmText});
  m.ResetAllColorsToDefaultClick();
  EXPECT_EQ(table.GetColor(0), 0xFF405060u);

  answer = true;
  m.ResetAllColorsToDefaultClick();
  EXPECT_EQ(table.GetColor(0), 0xFF007DC3u);
  EXPECT_EQ(m.SelectedColor(), 0xFF007DC3u);
  openName = file;
  m.ImportButtonClick();
  EXPECT_EQ(asked.back(), QD_ImportConfirmText);
  EXPECT_EQ(table.GetColor(0), 0xFF102030u);
  EXPECT_EQ(m.HexText(), "#FF102030");
  std::filesystem::remove(file);
}

TEST(ColorPickers, HSVHitTestingDragsAndKeys) {
  TQD_HSVColorPicker p;
  p.SetSize(200, 200);
  int changes = 0;
  p.OnChanged = [&] { ++changes; };
  p.SetSelectedColor(0xFFFF0000);
  EXPECT_EQ(changes, 0);
  const TFloatPoint c = p.Centre();
  const float mid = (p.InnerRadius() + p.OuterRadius()) / 2;
  EXPECT_EQ(p.HitTest(c.X + mid, c.Y), TQD_HSVPart::Ring);
  EXPECT_EQ(p.HitTest(c.X, c.Y), TQD_HSVPart::Triangle);
  EXPECT_EQ(p.HitTest(2, 2), TQD_HSVPart::None);
  // A press on the ring at the top is a hue of a quarter turn.
  EXPECT_TRUE(p.MouseDown(static_cast<int>(c.X), static_cast<int>(c.Y - mid)));
  EXPECT_NEAR(p.Hue(), 0.25, 0.01);
  p.MouseUp();
  // The pure-hue corner of the triangle is full saturation and value; the dragged
  // point follows the triangle's edge when the mouse leaves it.
  const std::vector<TFloatPoint> t = p.Triangle();
  // Near the white corner, a little towards the middle.
  p.MouseDown(static_cast<int>(t[1].X * 0.95f + c.X * 0.05f), static_cast<int>(t[1].Y * 0.95f + c.Y * 0.05f));
  EXPECT_EQ(p.ActivePart(), TQD_HSVPart::Triangle);
  EXPECT_LT(p.Saturation(), 0.1);
  EXPECT_GT(p.Value(), 0.9);
  p.MouseMove(-500, -500);
  EXPECT_GE(p.Value(), 0.0);
  EXPECT_LE(p.Value(), 1.0);
  p.MouseUp();
  p.SetSelectedColor(0xFF808080);  // grey keeps the hue
  EXPECT_NEAR(p.Hue(), 0.25, 0.01);
  // Keys: the triangle is active; Right raises saturation, Up value.
  changes = 0;
  EXPECT_TRUE(p.KeyDown(TQD_PickerKey::Right, true));
  EXPECT_NEAR(p.Saturation(), 0.1, 1e-9);
  p.KeyDown(TQD_PickerKey::Space, false);
  EXPECT_EQ(p.ActivePart(), TQD_HSVPart::Ring);
  p.KeyDown(TQD_PickerKey::Left, false);
  EXPECT_NEAR(p.Hue(), 0.25 - 1 / 360.0, 0.01);
  EXPECT_GE(changes, 3);
  TBitmap32 b;
  p.Render(b, true);
  EXPECT_EQ(b.Width(), 200);
  // The ring at 0° is red, whatever the selection.
  const TColor32 red = b.Pixel(static_cast<int>(c.X + mid), static_cast<int>(c.Y));
  EXPECT_EQ(RedComponent(red), 255);
  EXPECT_LT(GreenComponent(red) + BlueComponent(red), 8) << std::hex << red;
}

TEST(ColorPickers, RGBABarsMapPixelsToChannels) {
  TQD_RGBAColorPicker p;
  p.SetSize(300, 160);
  p.SetSelectedColor(0x80102030);
  const TRect alpha = p.BarRect(ccAlpha);
  EXPECT_EQ(p.HitTest(alpha.Left, alpha.Top), ccAlpha);
  EXPECT_EQ(p.ValueAt(alpha.Left), 0);
  EXPECT_EQ(p.ValueAt(alpha.Right - 1), 255);
  EXPECT_EQ(p.ValueAt(p.XOf(200)), 200);
  EXPECT_TRUE(p.MouseDown(alpha.Right - 1, alpha.Top + 1));
  EXPECT_EQ(p.SelectedColor(), 0xFF102030u);
  p.MouseMove(-50, 0);  // the drag stays on its bar and clamps
  EXPECT_EQ(p.SelectedColor(), 0x00102030u);
  p.MouseUp();
  p.KeyDown(TQD_PickerKey::Down, false);  // alpha -> red
  EXPECT_EQ(p.ActiveChannel(), ccRed);
  p.KeyDown(TQD_PickerKey::Right, true);
  EXPECT_EQ(p.SelectedColor(), 0x00202030u);
  p.KeyDown(TQD_PickerKey::End, false);
  EXPECT_EQ(p.ChannelValue(ccRed), 255);
  TBitmap32 b;
  p.Render(b, false);
  // The checkerboard shows through the transparent colour.
  const TRect red = p.BarRect(ccRed);
  EXPECT_EQ(b.Pixel(red.Left + 1, red.Top + 1), 0xFFFFFFFFu);
}
