// A colour picker (color_picker.h) as a child window: it draws the picker
// into its bitmap on WM_PAINT, follows the mouse while a button is held,
// takes the arrow keys, Home, End and Space while focused (and shows the
// focus), and is a tab stop, so the keyboard reaches it like any control.
// The window's text names it for UI automation.
#pragma once

#include <windows.h>

#include <string>

#include "render/bitmap32.h"
#include "ui/color_picker.h"
#include "ui/window_win32.h"

class TQD_ColorPickerWin32 final : public TQD_Window {
 public:
  // APicker outlives the window.
  TQD_ColorPickerWin32(HWND AParent, int AID, const std::wstring& AName, TQD_ColorPicker& APicker);
  ~TQD_ColorPickerWin32() override { Destroy(); }

  TQD_ColorPicker& Picker() { return FPicker; }
  // After the picker changed from outside.
  void Repaint() { InvalidateRect(Handle(), nullptr, FALSE); }

 protected:
  bool HandleMessage(UINT AMessage, WPARAM AWParam, LPARAM ALParam, LRESULT& AResult) override;

 private:
  TQD_ColorPicker& FPicker;
  TBitmap32 FBitmap;
};
