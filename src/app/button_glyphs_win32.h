// Button pictures from the action images, for push buttons that show an
// image beside their caption.
#pragma once

#include <windows.h>

#include "app/action_images.h"
#include "base/win32_handles_win32.h"

// AImage at the button glyph size of ADPI, with a transparent strip on its
// right: buttons put the caption right after the image.
TQD_IconHandle CreateButtonGlyph(TQD_ActionImage AImage, int ADPI);

// Puts AGlyph on AButton (BM_SETIMAGE). Buttons do not own their images:
// the caller keeps AGlyph alive until the button has a new one or is gone.
void SetButtonGlyph(HWND AButton, const TQD_IconHandle& AGlyph);
