// Button pictures; see button_glyphs_win32.h.
#include "app/button_glyphs_win32.h"

#include <algorithm>

#include "base/dpi.h"
#include "ui/icon_win32.h"

TQD_IconHandle CreateButtonGlyph(TQD_ActionImage AImage, int ADPI) {
  const int size = ButtonGlyphSize(ADPI);
  const TBitmap32 image = RenderActionImage(AImage, size);
  TBitmap32 padded(size + ScaleToDPI(4, ADPI), size);
  padded.Clear(0x00000000);
  for (int y = 0; y < size; ++y) std::copy_n(image.ScanLine(y), size, padded.ScanLine(y));
  return CreateIconFromBitmap32(padded);
}

void SetButtonGlyph(HWND AButton, const TQD_IconHandle& AGlyph) {
  SendMessageW(AButton, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(AGlyph.Get()));
}
