// The widget base; see widget.h.
#include "widgets/widget.h"

#include <cmath>
#include <memory>
#include <random>

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

void TQD_Widget::ChangeScale(int ANewDPI, int AOldDPI) {
  if (AOldDPI <= 0) return;
  Font().Height = QD_MulDiv(Font().Height, ANewDPI, AOldDPI);  // as the platform scales font heights
}
