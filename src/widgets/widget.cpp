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

void TQD_Widget::SetColorTable(const TQD_ColorTable* ATable) {
  FColorTable = ATable;
  ApplyDefaultPreset();
}

void TQD_Widget::Repaint() {
  RefreshForPaint();
  Dirty = true;
}

const TBitmap32& TQD_Widget::Draw() {
  // One canvas per thread for every widget: it grows to the largest cell
  // drawn and stays, so a paint allocates nothing once the windows are shown.
  thread_local TBitmap32 canvas;
  // What another widget left there is not ours to draw over.
  if (canvas.Width() == FBounds.Width() && canvas.Height() == FBounds.Height()) canvas.Clear(0);
  else canvas.SetSize(FBounds.Width(), FBounds.Height());  // new pixels are 0
  canvas.Font = FFont;
  Paint(canvas, ClientRect());
  FFont = canvas.Font;
  return canvas;
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
