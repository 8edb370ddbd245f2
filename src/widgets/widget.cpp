// The widget base; see widget.h.
#include "widgets/widget.h"

#include <cmath>
#include <memory>
#include <random>

#include "base/dpi.h"

TQD_RandomSource DefaultRandomSource() {
  auto engine = std::make_shared<std::minstd_rand>(std::random_device{}());
  return [engine](int ALow, int AHigh) {
    return std::uniform_int_distribution<int>(ALow, AHigh)(*engine);
  };
}

int RoundToInt(double AValue) { return static_cast<int>(std::nearbyint(AValue)); }

void TQD_Widget::SetBoundsRect(const TRect& ARect) {
  FBounds = ARect;
  FBuffer.SetSize(ARect.Width(), ARect.Height());
}

void TQD_Widget::SetColorTable(const TQD_ColorTable* ATable) {
  FColorTable = ATable;
  ApplyDefaultPreset();
}

void TQD_Widget::Repaint() {
  RefreshForPaint();
  Paint(FBuffer, ClientRect());
  Dirty = true;
}

void TQD_Widget::SetFont(const TQD_Font& AFont96, int ADPI) {
  Font() = AFont96;
  Font().Height = ScaleToDPI(AFont96.Height, ADPI);
  FFontHeight96 = AFont96.Height;
}

void TQD_Widget::ChangeScale(int ANewDPI, int AOldDPI) {
  if (AOldDPI <= 0 || ANewDPI <= 0) return;
  // From the 96-DPI height, so that a window moved across monitors has the
  // font it would have been created with; a height set since (autosizing
  // sets one on every paint) scales as the platform scales font heights.
  if (FFontHeight96 != 0 && Font().Height == ScaleToDPI(FFontHeight96, AOldDPI))
    Font().Height = ScaleToDPI(FFontHeight96, ANewDPI);
  else
    Font().Height = QD_MulDiv(Font().Height, ANewDPI, AOldDPI);
}
