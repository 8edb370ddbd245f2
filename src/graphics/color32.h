// The colour value every widget and the rasteriser use: 32-bit ARGB, alpha in
// the top byte (255 = opaque), then red, green, blue; written AARRGGBB.
// Colours are straight, not premultiplied.
#pragma once

#include <cstdint>

using TColor32 = uint32_t;

// What every failed colour lookup or conversion gives: opaque magenta, which
// no default uses, so a wrong name shows on screen at once.
inline constexpr TColor32 QD_FallbackColor = 0xFFFF00FFu;

constexpr TColor32 Color32(uint8_t AAlpha, uint8_t ARed, uint8_t AGreen, uint8_t ABlue) {
  return TColor32{AAlpha} << 24 | TColor32{ARed} << 16 | TColor32{AGreen} << 8 | TColor32{ABlue};
}
constexpr uint8_t AlphaOf(TColor32 AColor) { return static_cast<uint8_t>(AColor >> 24); }
constexpr uint8_t RedOf(TColor32 AColor) { return static_cast<uint8_t>(AColor >> 16); }
constexpr uint8_t GreenOf(TColor32 AColor) { return static_cast<uint8_t>(AColor >> 8); }
constexpr uint8_t BlueOf(TColor32 AColor) { return static_cast<uint8_t>(AColor); }
