// Bitmap32: the off-screen ARGB surface every widget draws into, with the
// small rasteriser the widgets need: written and blended rect fills, blended
// lines, bevels, anti-aliased (and stippled) lines, and anti-aliased polygon
// fills with linear multi-stop gradients. Pixels are straight (not
// premultiplied) ARGB, rows top-down. Everything clips to the bitmap; empty
// rects draw nothing.
//
// "Written" replaces a pixel, alpha included. "Blended" composites the colour
// over the pixel (source-over, straight alpha), see BlendPixel.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "render/color32.h"
#include "base/dpi.h"

// Integer rectangle, right and bottom exclusive.
struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  friend bool operator==(const TRect&, const TRect&) = default;
};

struct TFloatPoint {
  float X = 0;
  float Y = 0;
};

struct TGradientStop {
  float Position = 0;  // 0..1 along the gradient
  TColor32 Color = 0;
};

// Width and height of a text or an area, in pixels.
struct TSize {
  int cx = 0;
  int cy = 0;
  friend bool operator==(const TSize&, const TSize&) = default;
};


// The font a bitmap carries for its text operations. Height follows the
// platform's convention: negative = character (em) height in pixels, positive
// = cell height including internal leading, 0 = the engine's default.
struct TQD_Font {
  std::string Name = "Segoe UI";
  int Height = -12;      // pixels; -12 is 9 pt at 96 DPI
  bool Bold = false;
  bool Italic = false;
  uint32_t Color = 0;    // platform colour 0x00BBGGRR, for aliased text
  int Orientation = 0;   // tenths of a degree; 900 runs upward
  // Points at 96 DPI, as the platform derives them: -MulDiv(Height, 72, 96).
  // Sizes are kept at 96 DPI; a widget scales Height to its window's DPI.
  int Size() const { return -PixelsToPoints(Height, QD_DefaultDPI); }
  void SetSize(int APoints) { Height = -PointsToPixels(APoints, QD_DefaultDPI); }
  friend bool operator==(const TQD_Font&, const TQD_Font&) = default;
};

// Source-over of F onto B with F's alpha, straight alpha, rounded to nearest:
//   a_f = Fa·255, a_b = Ba·(255 − Fa), A = a_f + a_b
//   out.a = A / 255, out.c = (Fc·a_f + Bc·a_b) / A
// Fa = 0 leaves B; Fa = 255 gives F.
// Inline: every fill, line and text loop blends per pixel.
inline TColor32 BlendPixel(TColor32 F, TColor32 B) {
  const uint32_t fa = F >> 24;
  if (fa == 0) return B;
  if (fa == 255) return F;
  const uint32_t ba = B >> 24;
  auto channel = [](TColor32 C, int AShift) { return (C >> AShift) & 0xFF; };
  // Over an opaque pixel A = 255·255, and (255·X + 255·255/2) / (255·255)
  // rounds exactly as (X + 127) / 255: no multiple of 255 lies between
  // 127·255 and 255·255/2. Over a transparent one A = Fa·255 and F stays.
  if (ba == 255) {
    const uint32_t nf = 255 - fa;
    auto mix = [&](int AShift) { return ((channel(F, AShift) * fa + channel(B, AShift) * nf + 127) / 255) << AShift; };
    return 0xFF000000 | mix(16) | mix(8) | mix(0);
  }
  if (ba == 0) return F;
  const uint64_t af = uint64_t{fa} * 255;
  const uint64_t ab = uint64_t{ba} * (255 - fa);
  const uint64_t a = af + ab;  // > 0 since fa > 0
  auto mix = [&](int AShift) {
    return static_cast<TColor32>((channel(F, AShift) * af + channel(B, AShift) * ab + a / 2) / a) << AShift;
  };
  return static_cast<TColor32>((a + 127) / 255) << 24 | mix(16) | mix(8) | mix(0);
}

// Fore's alpha scaled by ACoverage/255 (rounded), then blended.
inline TColor32 BlendPixelCoverage(TColor32 F, TColor32 B, uint32_t ACoverage) {
  if (ACoverage == 0) return B;
  if (ACoverage == 255) return BlendPixel(F, B);  // the alpha stays as it is
  const uint32_t a = ((F >> 24) * ACoverage + 127) / 255;
  return BlendPixel(SetAlpha(F, static_cast<uint8_t>(a)), B);
}

// The gradient colour at position T: clamped to the first and last stops,
// linear per channel (alpha included) between stops.
TColor32 GradientColorAt(const std::vector<TGradientStop>& AStops, float T);

class TBitmap32 {
 public:
  TBitmap32() = default;
  TBitmap32(int AWidth, int AHeight) { SetSize(AWidth, AHeight); }

  // New pixels are 0 (transparent black); a same-size call keeps the pixels.
  void SetSize(int AWidth, int AHeight);
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  TRect BoundsRect() const { return {0, 0, FWidth, FHeight}; }
  bool Empty() const { return FWidth == 0 || FHeight == 0; }

  TColor32* Bits() { return FPixels.data(); }
  const TColor32* Bits() const { return FPixels.data(); }
  TColor32* ScanLine(int Y) { return FPixels.data() + static_cast<size_t>(Y) * FWidth; }
  const TColor32* ScanLine(int Y) const { return FPixels.data() + static_cast<size_t>(Y) * FWidth; }
  // Out-of-range reads give 0; out-of-range writes are ignored.
  TColor32 Pixel(int X, int Y) const;
  void SetPixel(int X, int Y, TColor32 AColor);
  void BlendPixelAt(int X, int Y, TColor32 AColor);

  void Clear(TColor32 AColor);
  void FillRectS(const TRect& ARect, TColor32 AColor);
  void FillRectTS(const TRect& ARect, TColor32 AColor);
  void FrameRectTS(const TRect& ARect, TColor32 AColor);
  void HorzLineTS(int X1, int Y, int X2, TColor32 AColor);
  void VertLineTS(int X, int Y1, int Y2, TColor32 AColor);
  // Bevel on all four sides; see DrawBevel.
  void RaiseRectTS(const TRect& ARect, int AContrast);

  // Stippled anti-aliased line: the colour cycles through the pattern, one
  // entry per pixel of length (StippleStep); the last pixel is not drawn.
  // Copies into the bitmap's own pattern, reusing its storage (paints run
  // every second and should not touch the heap).
  void SetStipple(const std::vector<TColor32>& APattern) { FStipple = APattern; }
  float StippleCounter = 0;
  float StippleStep = 1.0f;
  void LineFSP(float X1, float Y1, float X2, float Y2);

  // Anti-aliased polyline, blended with PenColor.
  TColor32 PenColor = 0xFFFFFFFF;
  void MoveToF(float X, float Y);
  void LineToFS(float X, float Y);
  // One anti-aliased segment; the last pixel is not drawn when ASkipLast.
  void LineFS(float X1, float Y1, float X2, float Y2, TColor32 AColor, bool ASkipLast = false);

  // Anti-aliased non-zero-winding fill of APolygon, each pixel coloured from
  // the linear gradient from AStart (position 0) to AEnd (position 1).
  void FillPolygonGradient(const std::vector<TFloatPoint>& APolygon, TFloatPoint AStart,
                           TFloatPoint AEnd, const std::vector<TGradientStop>& AStops);
  // Coverage (0..255) of each pixel by the polygon, for tests and reuse.
  void PolygonCoverage(const std::vector<TFloatPoint>& APolygon, std::vector<uint8_t>& ACoverage) const;

  // Text in Font through the current text engine (text_engine.h).
  TSize TextExtent(std::string_view AText) const;
  int TextWidth(std::string_view AText) const { return TextExtent(AText).cx; }
  int TextHeight(std::string_view AText) const { return TextExtent(AText).cy; }
  // Aliased, opaque Font.Color, clipped to AClip; see TQD_TextEngine::Textout.
  void Textout(int X, int Y, const TRect& AClip, std::string_view AText);
  // Anti-aliased, blended with AColor's alpha; see TQD_TextEngine::RenderText.
  void RenderText(int X, int Y, std::string_view AText, TColor32 AColor);

  TQD_Font Font;

  // Kept for FillGradient (graphics_common.h): the last gradient line it
  // rasterised and everything the line's colours follow from, so a widget
  // that repaints the same background copies the line instead.
  struct TGradientLine {
    bool Valid = false;
    bool AlongX = false;
    int First = 0, End = 0;  // the pixels along the gradient, End exclusive
    int Across = 0;          // the row (along x) or column (along y) rasterised
    TFloatPoint Start, Stop;
    std::vector<TGradientStop> Stops;
    std::vector<TColor32> Colors;  // End - First of them
  };
  TGradientLine GradientLine;

 private:
  // Wu-style anti-aliased line; AColorAt gives the colour for step i.
  template <typename ColorFn>
  void AALine(float X1, float Y1, float X2, float Y2, bool ASkipLast, ColorFn AColorAt);
  TRect Clip(const TRect& ARect) const;
  // Polygon fills visit the rows and columns of the polygon's bounding box.
  struct TPolygonBox {
    int RowFirst = 0, RowLast = -1;  // inclusive
    int ColFirst = 0, ColEnd = 0;    // exclusive end
  };
  TPolygonBox PolygonBox(const std::vector<TFloatPoint>& APolygon) const;
  // Calls ARow(row, x0, x1, coverage) per row of the box that may be covered;
  // coverage[x0..x1) holds that row's bytes (indexed by column).
  template <typename RowFn>
  void ScanPolygon(const std::vector<TFloatPoint>& APolygon, const TPolygonBox& ABox, RowFn ARow) const;
  struct TEdge {
    TFloatPoint A, B;  // as in the polygon
    float Y0, Y1;      // top and bottom
    int Dir;           // +1 downward, -1 upward
  };

  int FWidth = 0;
  int FHeight = 0;
  std::vector<TColor32> FPixels;
  std::vector<TColor32> FStipple;
  TFloatPoint FPenPos;
  // Scratch of the polygon fills: one per thread, shared by all its bitmaps.
  struct TScratch;
  static TScratch& Scratch();
};
