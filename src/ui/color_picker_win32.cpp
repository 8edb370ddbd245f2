// The colour picker control; see color_picker_win32.h.
#include "ui/color_picker_win32.h"

#include <windowsx.h>

#include "base/win32_handles_win32.h"
#include "ui/bitmap_blit_win32.h"

namespace {

const wchar_t kClassName[] = L"QuendalColorPicker";

TColor32 SystemColor32(int AIndex) {
  const COLORREF c = GetSysColor(AIndex);
  return Color32(GetRValue(c), GetGValue(c), GetBValue(c));
}

}  // namespace

TQD_ColorPickerWin32::TQD_ColorPickerWin32(HWND AParent, int AID, const std::wstring& AName, TQD_ColorPicker& APicker)
    : TQD_Window(kClassName), FPicker(APicker) {
  TQD_WindowCreateParams p;
  p.Caption = AName;
  p.Style = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
  p.Parent = AParent;
  p.Left = p.Top = 0;
  p.Width = p.Height = 1;
  Create(p);
  SetWindowLongPtrW(Handle(), GWLP_ID, AID);
  FPicker.Background = SystemColor32(COLOR_BTNFACE);
}

bool TQD_ColorPickerWin32::HandleMessage(UINT AMessage, WPARAM AWParam, LPARAM ALParam, LRESULT& AResult) {
  AResult = 0;
  switch (AMessage) {
    case WM_SIZE:
      FPicker.SetSize(LOWORD(ALParam), HIWORD(ALParam));
      Repaint();
      return true;
    case WM_ERASEBKGND:
      AResult = 1;  // the bitmap covers everything
      return true;
    case WM_PAINT: {
      TQD_PaintScope paint(Handle());
      FPicker.Render(FBitmap, GetFocus() == Handle());
      BlitBitmap32(paint.DC(), 0, 0, FBitmap);
      return true;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      Repaint();
      return true;
    case WM_GETDLGCODE:
      // Arrows and Space are ours; Tab still moves on.
      AResult = DLGC_WANTARROWS | DLGC_WANTCHARS;
      return true;
    case WM_LBUTTONDOWN:
      SetFocus(Handle());
      SetCapture(Handle());
      FPicker.MouseDown(GET_X_LPARAM(ALParam), GET_Y_LPARAM(ALParam));
      Repaint();
      return true;
    case WM_MOUSEMOVE:
      if (GetCapture() == Handle()) {
        FPicker.MouseMove(GET_X_LPARAM(ALParam), GET_Y_LPARAM(ALParam));
        Repaint();
      }
      return true;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      FPicker.MouseUp();
      if (AMessage == WM_LBUTTONUP && GetCapture() == Handle()) ReleaseCapture();
      return true;
    case WM_KEYDOWN: {
      TQD_PickerKey key;
      switch (AWParam) {
        case VK_LEFT: key = TQD_PickerKey::Left; break;
        case VK_RIGHT: key = TQD_PickerKey::Right; break;
        case VK_UP: key = TQD_PickerKey::Up; break;
        case VK_DOWN: key = TQD_PickerKey::Down; break;
        case VK_HOME: key = TQD_PickerKey::Home; break;
        case VK_END: key = TQD_PickerKey::End; break;
        case VK_SPACE: key = TQD_PickerKey::Space; break;
        default: return false;
      }
      FPicker.KeyDown(key, (GetKeyState(VK_SHIFT) & 0x8000) != 0);
      Repaint();
      return true;
    }
    case WM_CHAR:
      return AWParam == L' ';  // Space was handled as a key: no beep
    default:
      return false;
  }
}
