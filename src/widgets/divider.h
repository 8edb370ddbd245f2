// TQD_Divider: a separator cell between the rows of a monitor window, filled
// with a vertical or horizontal two-colour gradient or one solid colour. No
// data, no text, no bevel.
#pragma once

#include <cstdint>

#include "render/graphics_common.h"
#include "widgets/widget.h"

enum TQD_DividerOrientation : uint8_t { doUpDown, doLeftRight };
enum TQD_DividerGradientType : uint8_t { dgtOff, dgtStandard };

struct TQD_DividerSettings {
  TQD_DividerGradientType Gradient = dgtStandard;
  TQD_DividerOrientation Orientation = doUpDown;
};
struct TQD_DividerColors {
  TColor32 BackgroundStartColor = 0, BackgroundEndColor = 0;
};
struct TQD_DividerColors_Str {
  const char* BackgroundStartColor;
  const char* BackgroundEndColor;
};

inline constexpr TQD_DividerColors_Str DividerColors_Default = {"DV_BkGrLoColor_Str", "DV_BkGrHiColor_Str"};
inline constexpr TQD_DividerColors_Str DividerColors_Alt = {"DV_BkGrLoColor_Alt", "DV_BkGrHiColor_Alt"};

class TQD_Divider : public TQD_Widget {
 public:
  void ApplyColorPreset(const TQD_DividerColors_Str& AColorPreset);
  TQD_DividerSettings& Settings() { return FSettings; }
  const TQD_DividerColors& Colors() const { return FColors; }

 protected:
  void ApplyDefaultPreset() override { ApplyColorPreset(DividerColors_Default); }
  void Paint(TBitmap32& ABuffer, const TRect& R) override;

 private:
  TQD_DividerSettings FSettings;
  TQD_DividerColors FColors;
};
