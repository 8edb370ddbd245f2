// The base of every widget (gauge, label, line graph, network graph,
// divider): a windowless object that owns a Bitmap32 of its cell size and
// redraws into it. The grid container positions widgets and tells its host
// which ones repainted (Dirty); the host copies their buffers to the screen.
//
// Repaint protocol: Repaint() is what the platform's paint does — refresh the
// values (per the widget's rule), then draw. ManualRepaint() is what the
// owning window calls after each poll: refresh, and redraw only when
// something changed; it returns whether it redrew.
#pragma once

#include <cstdint>
#include <functional>

#include "render/bitmap32.h"

class TQD_ColorTable;
class TQD_DataLogger;

// Uniform integer in [ALow, AHigh]; demo modes draw from it so tests can fix it.
using TQD_RandomSource = std::function<int(int ALow, int AHigh)>;
TQD_RandomSource DefaultRandomSource();

// Nearest integer, halves to even: how widget geometry is rounded.
int RoundToInt(double AValue);

class TQD_Widget {
 public:
  virtual ~TQD_Widget() = default;

  // Position and size inside the host, in pixels; the buffer follows the size.
  void SetBoundsRect(const TRect& ARect);
  const TRect& BoundsRect() const { return FBounds; }
  TRect ClientRect() const { return {0, 0, FBounds.Width(), FBounds.Height()}; }

  TBitmap32& Buffer() { return FBuffer; }
  const TBitmap32& Buffer() const { return FBuffer; }
  TQD_Font& Font() { return FBuffer.Font; }

  void SetDataLogger(const TQD_DataLogger* ALogger) { FDataLogger = ALogger; }
  const TQD_DataLogger* DataLogger() const { return FDataLogger; }
  const TQD_ColorTable* ColorTable() const { return FColorTable; }
  // Stores the reference and applies the widget's default preset.
  void SetColorTable(const TQD_ColorTable* ATable);

  // The platform's paint: refresh per the widget's rule, then draw.
  void Repaint();
  // After a data update: refresh, and redraw only if something changed.
  virtual bool ManualRepaint() { return false; }

  // The window's font, given at 96 DPI, drawn at ADPI.
  void SetFont(const TQD_Font& AFont96, int ADPI);
  // A DPI change: the font height follows from its 96-DPI height, unless the
  // height was changed since (then MulDiv(height, ANewDPI, AOldDPI)).
  void ChangeScale(int ANewDPI, int AOldDPI);

  // Set whenever the buffer was redrawn; the host clears it after copying.
  bool Dirty = false;
  // Mouse routing for the host (the widget itself ignores the mouse).
  int Tag = 0;

 protected:
  virtual void ApplyDefaultPreset() = 0;
  // Refresh done by a platform paint (may do nothing).
  virtual void RefreshForPaint() {}
  virtual void Paint(TBitmap32& ABuffer, const TRect& R) = 0;

  const TQD_ColorTable* FColorTable = nullptr;
  const TQD_DataLogger* FDataLogger = nullptr;

 private:
  TRect FBounds;
  TBitmap32 FBuffer;
  int FFontHeight96 = 0;  // 0: the font was set in pixels, not through SetFont
};
