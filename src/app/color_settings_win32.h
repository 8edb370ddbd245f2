// The colour configuration dialog, "Quendal - Color configuration": a fixed
// frame with client 1000 × 688 at 96 DPI laid out on a 7-column grid: the
// list of the working table's colours (columns 1-3), the swatch and the two
// pickers (4-6), the hex, HSV and RGBA fields (7), and the seven buttons along
// the bottom. TQD_ColorSettingsModel holds every rule; this window forwards
// inputs to it and shows what it says after each refresh.
//
// ShowColorSettingsDialog copies the live colour table into the working one
// just before the dialog opens; "Apply" and "OK" run the control panel's
// ApplySettings, which copies it back. Closing copies the live table into the
// working one again, so edits dropped by "Cancel" cannot reach the screen
// through another dialog's ApplySettings.
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <optional>

#include "app/color_settings.h"
#include "app/main_form.h"
#include "app/settings_dialog_frame_win32.h"
#include "ui/color_picker_win32.h"

inline constexpr wchar_t QD_ColorSettingsCaption[] = L"Quendal - Color configuration";

// Child control IDs, for tests and UI automation.
enum TQD_ColorSettingsControlID : int {
  csColorListBox = 1600,
  csColorSwatch,
  csColorPickerGTK,
  csColorPickerRGBA,
  csHexColorEdit,
  csHueEdit,
  csSaturationEdit,
  csValueEdit,
  csRedSpinEdit,  // then green, blue, alpha
  csImportButton = csRedSpinEdit + 4,
  csExportButton,
  csResetColorButton,
  csResetAllColorsButton,
  csFirstLabel = 1650,
  csFirstSpin = 1670,
  csFirstGroup = 1680,
};

// The system's open and save dialogs ("Plain text file", *.txt) and Yes/No
// message boxes, owned by AOwner.
TQD_ColorDialogPrompts SystemColorDialogPrompts(const HWND* AOwner);

class TColor_Settings final : public TQD_SettingsDialogFrame {
 public:
  // Without APrompts, the system's dialogs.
  TColor_Settings(HWND AOwner, TQD_MainForm& AForm, std::optional<TQD_ColorDialogPrompts> APrompts = std::nullopt);
  ~TColor_Settings() override;

  TQD_ColorSettingsModel& Model() { return *FModel; }

 protected:
  void ApplyButtonClick() override;
  void FormClose() override;
  void LayoutControls() override;
  bool HandleCommand(int AID, int ACode, HWND AControl) override;
  bool HandleMessage(UINT AMessage, WPARAM AWParam, LPARAM ALParam, LRESULT& AResult) override;

 private:
  void CreateControls();
  // The model's texts into the fields, the pickers and the swatch repainted.
  void ShowRefresh();
  void DrawSwatch(const DRAWITEMSTRUCT& AItem);
  // Enter in one of the four text fields.
  void EnterPressed(int AID);
  void RunFileStep(void (TQD_ColorSettingsModel::*AStep)());
  static LRESULT CALLBACK EnterSubclassProc(HWND AWnd, UINT AMessage, WPARAM AWParam, LPARAM ALParam, UINT_PTR AID,
                                            DWORD_PTR AData);

  TQD_MainForm& FForm;
  HWND FSelf = nullptr;  // for the prompts' owner
  std::unique_ptr<TQD_ColorSettingsModel> FModel;
  std::unique_ptr<TQD_ColorPickerWin32> FPickerGTK;
  std::unique_ptr<TQD_ColorPickerWin32> FPickerRGBA;
  std::array<HWND, 7> FGroups{};
  HWND FList = nullptr;
  HWND FSwatch = nullptr;
  std::array<HWND, 4> FTextEdits{};  // hex, hue, saturation, value
  std::array<HWND, 4> FSpinEdits{};
  std::array<HWND, 4> FSpins{};
  std::array<HWND, 7> FLabels{};
  std::array<HWND, 4> FFileButtons{};  // import, export, reset, reset all
  TBitmap32 FSwatchBitmap;
  bool FShowing = false;  // texts being written: their change notices are ours
};

// True when the user left with "OK".
bool ShowColorSettingsDialog(HWND AOwner, TQD_MainForm& AForm);
// The same with scripted file dialogs and confirmations.
bool ShowColorSettingsDialog(HWND AOwner, TQD_MainForm& AForm, const TQD_ColorDialogPrompts& APrompts);
