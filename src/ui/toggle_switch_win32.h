// A toggle switch: a child control of our own class, drawn with the
// rasteriser as a track with a knob (knob right and coloured when on). It
// behaves as a check box does for the keyboard and for programs: Tab reaches
// it (WS_TABSTOP), Space and a click switch it, BM_CLICK, BM_GETCHECK and
// BM_SETCHECK work, and a switch by the user reaches the parent as
// WM_COMMAND/BN_CLICKED. Its window text is its accessible name.
#pragma once

#include <windows.h>

#include <string>

#include "render/bitmap32.h"
#include "ui/window_win32.h"

class TQD_ToggleSwitch final : public TQD_Window {
 public:
  TQD_ToggleSwitch();
  ~TQD_ToggleSwitch() override { Destroy(); }

  // A child of AParent with control ID AID and accessible name AName.
  void CreateChild(HWND AParent, int AID, const std::wstring& AName);
  bool Checked() const { return FChecked; }
  // Set by the program: no BN_CLICKED.
  void SetChecked(bool AChecked);

 protected:
  bool HandleMessage(UINT AMessage, WPARAM AWParam, LPARAM ALParam, LRESULT& AResult) override;

 private:
  void Click();
  void Paint();

  bool FChecked = false;
  bool FPressed = false;
  TBitmap32 FBuffer;
};
