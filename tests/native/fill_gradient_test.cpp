// FillGradient's copied rows and columns against the rasteriser itself, on
// seeded random rectangles, gradients and backgrounds: bit for bit. Set
// QUENDAL_TEST_SEED to replay a run; the seed is printed.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>

#include "render/graphics_common.h"

TEST(FillGradient, IsExactlyFillPolygonGradient) {
  const char* env = std::getenv("QUENDAL_TEST_SEED");
  const unsigned seed = env ? static_cast<unsigned>(std::strtoul(env, nullptr, 10)) : std::random_device{}();
  std::printf("fill gradient: QUENDAL_TEST_SEED=%u\n", seed);
  std::mt19937 rng(seed);
  auto pick = [&](int ALow, int AHigh) { return std::uniform_int_distribution<int>(ALow, AHigh)(rng); };
  auto coord = [&](int ALow, int AHigh) {
    // Mostly whole pixels (the fast case), sometimes not (the fallback).
    return static_cast<float>(pick(ALow, AHigh)) + (pick(0, 4) == 0 ? 0.5f : 0.0f);
  };
  TBitmap32 a(90, 40), b(90, 40);
  std::vector<TGradientStop> stops;
  std::vector<TFloatPoint> poly;
  for (int i = 0; i < 4000; ++i) {
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 90; ++x) a.SetPixel(x, y, static_cast<TColor32>(rng()));
    std::memcpy(b.Bits(), a.Bits(), 90 * 40 * sizeof(TColor32));
    stops.clear();
    const int n = pick(1, 3);
    for (int k = 0; k < n; ++k)
      stops.push_back({n == 1 ? 0.0f : static_cast<float>(k) / (n - 1),
                       static_cast<TColor32>(rng()) | (pick(0, 5) ? 0xFF000000u : 0u)});
    const float l = coord(-20, 80), t = coord(-10, 35), r = l + coord(-2, 60), bt = t + coord(-2, 30);
    switch (pick(0, 3)) {
      case 0: poly.assign({{l, t}, {r, t}, {r, bt}, {l, bt}}); break;
      case 1: poly.assign({{r, t}, {l, t}, {l, bt}, {r, bt}}); break;
      case 2: poly.assign({{l, t}, {r, bt}, {r, t}, {l, bt}}); break;  // crossed: not a rectangle
      default: poly.assign({{l, t}, {r, t}, {r, bt}}); break;
    }
    const float g0 = coord(-30, 120), g1 = coord(-30, 120), h = coord(-10, 50);
    TFloatPoint s{g0, h}, e{g1, h};
    if (pick(0, 1)) s = {h, g0}, e = {h, g1};  // along y
    if (pick(0, 9) == 0) e.Y += 1;             // oblique
    FillGradient(a, poly, s, e, stops);
    b.FillPolygonGradient(poly, s, e, stops);
    ASSERT_EQ(0, std::memcmp(a.Bits(), b.Bits(), 90 * 40 * sizeof(TColor32)))
        << "case " << i << ": rect " << l << "," << t << " - " << r << "," << bt;
  }
}

// The bitmap keeps the last gradient line it rasterised. Repaint after
// repaint with one thing changed each time (as a widget's colours, size or
// value change), and back: every fill must still be the rasteriser's.
TEST(FillGradient, TheKeptLineFollowsEveryChange) {
  struct TFill {
    std::vector<TFloatPoint> Poly;
    TFloatPoint S, E;
    std::vector<TGradientStop> Stops;
    int Width = 60;
  };
  const TFill base{{{0, 0}, {50, 0}, {50, 20}, {0, 20}}, {0, 0}, {50, 0}, {{0, 0xFF102030}, {0.5f, 0xFF808080}, {1, 0xFFF0E0D0}}};
  struct TCase {
    const char* What;
    void (*Change)(TFill&);
  };
  const TCase cases[] = {
      {"same again", [](TFill&) {}},
      {"a stop's colour", [](TFill& F) { F.Stops[1].Color = 0xFF808081; }},
      {"a stop's place", [](TFill& F) { F.Stops[1].Position = 0.25f; }},
      {"one stop fewer", [](TFill& F) { F.Stops.pop_back(); }},
      {"gradient start", [](TFill& F) { F.S.X = 3; }},
      {"gradient end", [](TFill& F) { F.E.X = 49; }},
      {"gradient end, negative zero", [](TFill& F) { F.S = {-0.0f, 0}, F.E = {-0.0f, 20}; }},
      {"along y", [](TFill& F) { F.S = {0, 20}, F.E = {0, 0}; }},
      {"narrower", [](TFill& F) { F.Poly = {{0, 0}, {30, 0}, {30, 20}, {0, 20}}; }},
      {"moved right", [](TFill& F) { F.Poly = {{10, 0}, {60, 0}, {60, 20}, {10, 20}}; }},
      {"moved down", [](TFill& F) { F.Poly = {{0, 4}, {50, 4}, {50, 24}, {0, 24}}; }},
      {"shorter", [](TFill& F) { F.Poly = {{0, 0}, {50, 0}, {50, 7}, {0, 7}}; }},
      {"bitmap narrower than the fill", [](TFill& F) { F.Width = 40; }},
  };
  TBitmap32 a, b;
  std::mt19937 rng(7);
  auto fill = [&](const TFill& F, const char* AWhat) {
    a.SetSize(F.Width, 30), b.SetSize(F.Width, 30);
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < F.Width; ++x) a.SetPixel(x, y, static_cast<TColor32>(rng()));
    std::memcpy(b.Bits(), a.Bits(), static_cast<size_t>(F.Width) * 30 * sizeof(TColor32));
    FillGradient(a, F.Poly, F.S, F.E, F.Stops);
    b.FillPolygonGradient(F.Poly, F.S, F.E, F.Stops);
    ASSERT_EQ(0, std::memcmp(a.Bits(), b.Bits(), static_cast<size_t>(F.Width) * 30 * sizeof(TColor32))) << AWhat;
  };
  for (const TCase& c : cases) {
    TFill changed = base;
    c.Change(changed);
    fill(base, "base");
    fill(changed, c.What);
    fill(changed, c.What);
    fill(base, c.What);
  }
}
