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
