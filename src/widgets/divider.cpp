// TQD_Divider; see divider.h.
#include "widgets/divider.h"

#include "widgets/color_table.h"

void TQD_Divider::ApplyColorPreset(const TQD_DividerColors_Str& P) {
  if (!FColorTable) return;
  FColors.BackgroundStartColor = FColorTable->GetColor(P.BackgroundStartColor);
  FColors.BackgroundEndColor = FColorTable->GetColor(P.BackgroundEndColor);
}

void TQD_Divider::Paint(TBitmap32& B, const TRect& R) {
  if (FSettings.Gradient == dgtOff) {
    B.FillRectS(R, FColors.BackgroundEndColor);
    return;
  }
  const float l = static_cast<float>(R.Left), t = static_cast<float>(R.Top);
  const float r = static_cast<float>(R.Right), b = static_cast<float>(R.Bottom);
  const TFloatPoint end = FSettings.Orientation == doUpDown ? TFloatPoint{0, b} : TFloatPoint{r, 0};
  FillPolygonGradient2(B, {0, 0}, end, {{r, t}, {l, t}, {l, b}, {r, b}}, FColors.BackgroundStartColor,
                       FColors.BackgroundEndColor);
}
