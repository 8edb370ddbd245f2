// Small helpers shared by the viewer and the editor for their child
// controls: creation with an ID and the window's font, the Tahoma 8 point
// fonts at a DPI, and moving a control to a rect. Child windows are owned by
// their parent window, which destroys them with itself; the fonts they show
// are owned by the window object and outlive its HWND.
#pragma once

#include <windows.h>

#include <string>

#include "base/win32_handles_win32.h"

// Creates a child control; throws std::runtime_error with the system's reason.
HWND CreateChildControl(HWND AParent, const wchar_t* AClass, const std::wstring& AText, DWORD AStyle,
                        DWORD AExStyle, int AID, HFONT AFont);
// Tahoma 8 point at ADPI, normal or bold.
TQD_FontHandle CreateTahoma8(int ADPI, bool ABold = false);
void SetControlText(HWND AControl, const std::string& AUtf8);
std::string GetControlText(HWND AControl);
// Where the pointer was at the message being handled, in AControl's client coordinates.
POINT MessagePointIn(HWND AControl);
// Registers the common-control classes the readings windows use (once).
void InitReadingsCommonControls();
