// Texts users write by hand: colour files for import and the parameter texts
// of custom readings. Neither may crash or read out of bounds, and every
// result must stay in its documented range.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "widgets/color_table.h"
#include "readings/custom_readings_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* AData, size_t ASize) {
  const std::string_view text(reinterpret_cast<const char*>(AData), ASize);

  static const TQD_InvariantLocale point(".", ",");
  static const TQD_InvariantLocale comma(",", ".");
  static const TQD_InvariantLocale arabic("\xD9\xAB", "\xE2\x80\x99");  // multi-byte separators
  for (const TQD_LocalePort* locale : {static_cast<const TQD_LocalePort*>(&point), static_cast<const TQD_LocalePort*>(&comma),
                                       static_cast<const TQD_LocalePort*>(&arabic)})
    (void)GetParamTemperatureMax(text, *locale);
  if (GetParamCaptionSource(text) > dcsValueAvg) std::abort();
  const int width = GetParamLabelWidth(text);
  if (width < 1 || width > 9) std::abort();
  if (GetParamOrientation(text) > 1 || GetParamForcedDisplay(text) > 3) std::abort();
  (void)TextToURID(text, text, text);
  const TColor32 color = TextToColor(text);
  if (color != clFallback32 && TextToColor(ColorToText(color)) != color) std::abort();

  static const std::string path = "/tmp/quendal_user_text_fuzz_" + std::to_string(reinterpret_cast<uintptr_t>(&path)) + ".txt";
  if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(AData, 1, ASize, f);
    std::fclose(f);
    TQD_ColorTable table;
    const int count = table.ImportFromFile(path);
    if (count < 0) std::abort();
    for (int i = 0; i < QD_TemperatureGradientCount; ++i)
      if (table.TemperatureGradientTable()[static_cast<size_t>(i)] != table.GetColor(67 + i)) std::abort();
  }
  return 0;
}
