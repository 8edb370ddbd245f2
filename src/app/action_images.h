// The pictures of the action list and the application icon, drawn as vector
// shapes through the rasteriser at exactly the pixel size asked for, so they
// stay crisp at every DPI instead of being stretched from one bitmap.
// Shapes are written on a 16 × 16 design grid and scaled to the size.
#pragma once

#include "render/bitmap32.h"

enum TQD_ActionImage {
  aiEnable,
  aiDisable,
  aiRebuild,
  aiResetSize,
  aiResetPosition,
  aiMonitorSettings,
  // The settings dialogs' "OK", "Apply" and "Cancel" (images 6, 7 and 8).
  aiOK,
  aiApply,
  aiCancel,
  aiGeneralSettings,
  aiColorConfiguration,
  aiAbout,
  aiShowControlPanel,
  aiHideControlPanel,
  aiResetCollector,
  aiExit,
};
inline constexpr int QD_ActionImageCount = 16;

// Names for files and tests ("enable", "reset-size", ...).
const char* ActionImageName(TQD_ActionImage AImage);

// AImage at ASize × ASize pixels, transparent where nothing is drawn.
TBitmap32 RenderActionImage(TQD_ActionImage AImage, int ASize);
// The application icon at ASize × ASize.
TBitmap32 RenderApplicationIcon(int ASize);

// The glyph size of buttons and menus at a DPI: 16 at 96 DPI, MulDiv-scaled.
int ButtonGlyphSize(int ADPI);
