// The base of every widget (gauge, label, line graph, network graph,
// divider): a windowless object that holds what it shows and draws it, at its
// cell size, whenever its host paints. The grid container positions widgets
// and tells its host which ones must be drawn again (Dirty).
//
// No widget keeps its pixels: the screen holds them once drawn. Draw() paints
// into one canvas shared by every widget of the thread, which the host copies
// to the screen at once; a host's paint therefore draws exactly the widgets it
// shows, and a hidden window draws nothing.
//
// Repaint protocol: Repaint() refreshes the values (per the widget's rule)
// and marks the widget for drawing. ManualRepaint() is what the owning window
// calls after each poll: refresh, and mark only when something changed; it
// returns whether it marked.
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

  // Position and size inside the host, in pixels.
  void SetBoundsRect(const TRect& ARect) { FBounds = ARect; }
  const TRect& BoundsRect() const { return FBounds; }
  TRect ClientRect() const { return {0, 0, FBounds.Width(), FBounds.Height()}; }

  TQD_Font& Font() { return FFont; }
  const TQD_Font& Font() const { return FFont; }

  void SetDataLogger(const TQD_DataLogger* ALogger) { FDataLogger = ALogger; }
  const TQD_DataLogger* DataLogger() const { return FDataLogger; }
  const TQD_ColorTable* ColorTable() const { return FColorTable; }
  // Stores the reference and applies the widget's default preset.
  void SetColorTable(const TQD_ColorTable* ATable);

  // Refresh per the widget's rule, and mark the widget for drawing.
  void Repaint();
  // After a data update: refresh, and mark only if something changed.
  virtual bool ManualRepaint() { return false; }
  // Draws the widget at its size into the thread's canvas and returns it;
  // valid until the next Draw on this thread (copy it to the screen at once).
  // Drawing twice without a refresh between gives the same pixels.
  const TBitmap32& Draw();

  // The window's font, given at 96 DPI, drawn at ADPI.
  void SetFont(const TQD_Font& AFont96, int ADPI);
  // A DPI change: the font height follows from its 96-DPI height, unless the
  // height was changed since (then MulDiv(height, ANewDPI, AOldDPI)).
  void ChangeScale(int ANewDPI, int AOldDPI);

  // Set whenever the widget needs drawing; the host clears it as it takes it.
  bool Dirty = false;
  // Mouse routing for the host (the widget itself ignores the mouse).
  int Tag = 0;

 protected:
  virtual void ApplyDefaultPreset() = 0;
  // Ends a ManualRepaint: marks the widget when AChanged, and clears it.
  bool MarkChanged(bool& AChanged) {
    if (!AChanged) return false;
    AChanged = false;
    Dirty = true;
    return true;
  }
  // The refresh of Repaint (may do nothing).
  virtual void RefreshForPaint() {}
  // Draws everything the widget shows into R of ABuffer, whose Font is the
  // widget's (a font the drawing sizes stays the widget's).
  virtual void Paint(TBitmap32& ABuffer, const TRect& R) = 0;

  const TQD_ColorTable* FColorTable = nullptr;
  const TQD_DataLogger* FDataLogger = nullptr;

 private:
  TRect FBounds;
  TQD_Font FFont;
  int FFontHeight96 = 0;  // 0: the font was set in pixels, not through SetFont
};
