// Child-control helpers; see child_controls_win32.h.
#include "readings/child_controls_win32.h"

#include <commctrl.h>

#include <stdexcept>
#include <vector>

#include "base/win32_handles_win32.h"

HWND CreateChildControl(HWND AParent, const wchar_t* AClass, const std::wstring& AText, DWORD AStyle,
                        DWORD AExStyle, int AID, HFONT AFont) {
  HWND control = CreateWindowExW(AExStyle, AClass, AText.c_str(), WS_CHILD | AStyle, 0, 0, 0, 0, AParent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(AID)), GetModuleHandleW(nullptr),
                                 nullptr);
  if (!control)
    throw std::runtime_error("Cannot create control " + WideToUtf8(AClass) + ": " + SystemErrorText(GetLastError()));
  if (AFont) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(AFont), FALSE);
  return control;
}

TQD_FontHandle CreateTahoma8(int ADPI, bool ABold) {
  // 8 points are 8/72 inch: a negative height asks for the character height.
  return TQD_FontHandle(CreateFontW(-MulDiv(8, ADPI, 72), 0, 0, 0, ABold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                                    DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                    DEFAULT_PITCH | FF_DONTCARE, L"Tahoma"));
}

void SetControlText(HWND AControl, const std::string& AUtf8) {
  SetWindowTextW(AControl, Utf8ToWide(AUtf8).c_str());
}

std::string GetControlText(HWND AControl) {
  const int length = GetWindowTextLengthW(AControl);
  std::vector<wchar_t> text(static_cast<size_t>(length) + 1);
  const int got = GetWindowTextW(AControl, text.data(), length + 1);
  return WideToUtf8(text.data(), static_cast<size_t>(got > 0 ? got : 0));
}

void InitReadingsCommonControls() {
  static const bool done = [] {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES |
                                             ICC_STANDARD_CLASSES};
    return InitCommonControlsEx(&icc) != FALSE;
  }();
  (void)done;
}

POINT MessagePointIn(HWND AControl) {
  const DWORD pos = GetMessagePos();
  POINT p{static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};  // signed: screens left of the primary
  ScreenToClient(AControl, &p);
  return p;
}
