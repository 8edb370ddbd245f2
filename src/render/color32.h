// 32-bit ARGB colours: alpha in the top byte, then red, green, blue
// (written AARRGGBB). Straight, not premultiplied, alpha.
#pragma once

#include <cstdint>

using TColor32 = uint32_t;

inline constexpr TColor32 clFallback32 = 0xFFFF00FF;  // what every failed lookup gives

constexpr uint8_t AlphaComponent(TColor32 C) { return static_cast<uint8_t>(C >> 24); }
constexpr uint8_t RedComponent(TColor32 C) { return static_cast<uint8_t>(C >> 16); }
constexpr uint8_t GreenComponent(TColor32 C) { return static_cast<uint8_t>(C >> 8); }
constexpr uint8_t BlueComponent(TColor32 C) { return static_cast<uint8_t>(C); }
constexpr TColor32 Color32(uint8_t R, uint8_t G, uint8_t B, uint8_t A = 255) {
  return (TColor32{A} << 24) | (TColor32{R} << 16) | (TColor32{G} << 8) | TColor32{B};
}
constexpr TColor32 SetAlpha(TColor32 C, uint8_t A) { return (C & 0x00FFFFFFu) | (TColor32{A} << 24); }
