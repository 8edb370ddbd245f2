// The colour configuration dialog without its window: the list of the
// working table's 104 colours, the one state field FSelectedColor, the two
// pickers, and the texts the hex, HSV and RGBA fields show. Every input ends
// in Refresh, which writes the selected colour into the table entry and
// shows it everywhere; the window only forwards inputs and copies texts out
// (OnRefreshed). Files and confirmations go through TQD_ColorDialogPrompts,
// the system's dialogs in the program and scripted answers in tests.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "ui/color_picker.h"
#include "widgets/color_table.h"

inline constexpr char QD_ImportConfirmText[] = "Are you sure you want to load colors from this file?";
inline constexpr char QD_OverwriteConfirmText[] = "Are you sure you want to overwrite this file?";
inline constexpr char QD_ResetAllConfirmText[] = "Do you really want to reset all colors to their default values?";

struct TQD_ColorDialogPrompts {
  // The file chosen in the open or save dialog; empty when cancelled.
  std::function<std::string()> OpenFileName = [] { return std::string(); };
  std::function<std::string()> SaveFileName = [] { return std::string(); };
  std::function<bool(const std::string& APath)> FileExists = [](const std::string&) { return false; };
  // A Yes/No confirmation; true for Yes.
  std::function<bool(const std::string& AText)> Confirm = [](const std::string&) { return false; };
};

enum TQD_ColorChannel { ccRed, ccGreen, ccBlue, ccAlpha };

class TQD_ColorSettingsModel {
 public:
  TQD_ColorSettingsModel(TQD_ColorTable& AWorkingTable, TQD_ColorDialogPrompts APrompts = {});

  // The list: the working table's names in index order.
  std::vector<std::string> ListItems() const;
  int Selected() const { return FSelected; }
  TColor32 SelectedColor() const { return FSelectedColor; }

  // --- inputs ------------------------------------------------------------------
  void ColorListBoxClick(int AIndex);
  // Enter in the hex field.
  void HexColorEditEnter(const std::string& AText);
  // Enter in the hue, saturation or value field: a number in the locale's
  // format, in percent; anything else is ignored. False when ignored.
  bool HueEditEnter(const std::string& AText);
  bool SaturationEditEnter(const std::string& AText);
  bool ValueEditEnter(const std::string& AText);
  // A change in a spin edit: an integer's low byte replaces the channel.
  void SpinEditChange(TQD_ColorChannel AChannel, const std::string& AText);
  // Throw TQD_FileError when the file cannot be read or written.
  void ImportButtonClick();
  void ExportButtonClick();
  void ResetColorToDefaultClick();
  void ResetAllColorsToDefaultClick();

  // --- what the fields show after the last refresh -------------------------------
  TColor32 SwatchColor() const { return FSelectedColor; }
  const std::string& HexText() const { return FHexText; }
  const std::string& HueText() const { return FHSVTexts[0]; }
  const std::string& SaturationText() const { return FHSVTexts[1]; }
  const std::string& ValueText() const { return FHSVTexts[2]; }
  const std::string& ChannelText(TQD_ColorChannel AChannel) const { return FChannelTexts[AChannel]; }

  TQD_HSVColorPicker& HSVPicker() { return FHSVPicker; }
  TQD_RGBAColorPicker& RGBAPicker() { return FRGBAPicker; }
  TQD_ColorTable& WorkingTable() { return FTable; }

  // After every refresh, for the window to show the texts and repaint.
  std::function<void()> OnRefreshed;

 private:
  void Refresh();
  bool HSVEnter(const std::string& AText, void (TQD_HSVColorPicker::*ASetter)(double));

  TQD_ColorTable& FTable;
  TQD_ColorDialogPrompts FPrompts;
  int FSelected = -1;
  TColor32 FSelectedColor = clFallback32;
  TQD_HSVColorPicker FHSVPicker;
  TQD_RGBAColorPicker FRGBAPicker;
  std::string FHexText;
  std::array<std::string, 3> FHSVTexts;
  std::array<std::string, 4> FChannelTexts;
  bool FRefreshing = false;
};

// A number in the user's locale format (its decimal separator, optional sign
// and exponent, surrounding blanks); false for anything else.
bool TryParseLocaleFloat(const std::string& AText, double& AValue);
