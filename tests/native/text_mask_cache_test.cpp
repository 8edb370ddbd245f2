// The text mask cache: drawing through it must give exactly the pixels of
// drawing without it, and it must tell apart every key that changes a mask.
// Random input; set QUENDAL_TEST_SEED to replay a run (the seed is printed).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "allocation_counter.h"
#include "render/text_engine.h"
#include "render/text_engine_builtin.h"

namespace {

unsigned Seed() {
  const char* env = std::getenv("QUENDAL_TEST_SEED");
  const unsigned seed = env ? static_cast<unsigned>(std::strtoul(env, nullptr, 10)) : std::random_device{}();
  std::printf("text mask cache: QUENDAL_TEST_SEED=%u\n", seed);
  return seed;
}

// Texts as widgets show them, some longer than a slot takes, with non-ASCII.
std::vector<std::string> TextPool(std::mt19937& ARng) {
  const std::string chars = "0123456789 .,:%-+/ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  const char* extras[] = {"\xC2\xB0" "C", "\xC2\xB5s", "\xE2\x82\xAC", "\xFF"};
  std::vector<std::string> pool;
  for (int i = 0; i < 400; ++i) {
    std::string t;
    const int n = std::uniform_int_distribution<int>(0, i % 20 == 0 ? 90 : 14)(ARng);
    for (int k = 0; k < n; ++k) t += chars[ARng() % chars.size()];
    if (ARng() % 4 == 0) t += extras[ARng() % 4];
    pool.push_back(t);
  }
  return pool;
}

TEST(TextMaskCache, CachedDrawingIsExactlyTheUncachedDrawing) {
  std::mt19937 rng(Seed());
  const std::vector<std::string> pool = TextPool(rng);
  TQD_BuiltinTextEngine cached, reference;
  TBitmap32 a(160, 120), b(160, 120);
  TQD_TextMask mask;
  auto pick = [&](int ALow, int AHigh) { return std::uniform_int_distribution<int>(ALow, AHigh)(rng); };
  // More distinct keys than slots: hits, misses and evictions all happen.
  for (int i = 0; i < 3000; ++i) {
    const TColor32 back = static_cast<TColor32>(rng());
    a.Clear(back);
    b.Clear(back);
    TQD_Font f;
    f.Name = pick(0, 3) == 0 ? "Tahoma" : "Segoe UI";
    f.Height = pick(0, 4) == 0 ? pick(6, 30) : -pick(5, 24);
    f.Bold = pick(0, 1);
    f.Italic = pick(0, 3) == 0;
    f.Orientation = pick(0, 3) == 0 ? 900 : 0;
    f.Color = rng() & 0xFFFFFF;
    a.Font = b.Font = f;
    const std::string& text = pool[pick(0, pick(0, 1) ? 40 : static_cast<int>(pool.size()) - 1)];
    const int x = pick(-20, 150), y = pick(-10, 119);
    if (pick(0, 1)) {
      const TRect clip{pick(0, 80), pick(0, 60), pick(80, 170), pick(60, 130)};
      cached.Textout(a, x, y, clip, text);
      reference.BuildMask(f, text, true, mask);
      WriteTextMask(b, mask, x, y, clip, WinColorToColor32(f.Color), 128);
    } else {
      const TColor32 color = static_cast<TColor32>(rng());
      cached.RenderText(a, x, y, text, color);
      reference.BuildMask(f, text, false, mask);
      BlendTextMask(b, mask, x, y, color);
    }
    ASSERT_EQ(0, std::memcmp(a.Bits(), b.Bits(), 160 * 120 * sizeof(TColor32)))
        << "draw " << i << " \"" << text << "\" height " << f.Height;
  }
}

TEST(TextMaskCache, EveryPartOfTheKeyCounts) {
  TQD_TextMaskCache cache;
  TQD_Font base;
  TQD_TextMask mask;
  mask.Reset(0, 0, 3, 2);
  cache.Store(base, 1, "42 \xC2\xB0" "C", &mask);
  ASSERT_NE(cache.Find(base, 1, "42 \xC2\xB0" "C"), nullptr);
  struct TCase {
    const char* What;
    void (*Change)(TQD_Font&);
    uint8_t Mode;
    const char* Text;
  };
  const TCase cases[] = {
      {"face", [](TQD_Font& f) { f.Name = "Tahoma"; }, 1, "42 \xC2\xB0" "C"},
      {"height", [](TQD_Font& f) { f.Height = -13; }, 1, "42 \xC2\xB0" "C"},
      {"bold", [](TQD_Font& f) { f.Bold = true; }, 1, "42 \xC2\xB0" "C"},
      {"italic", [](TQD_Font& f) { f.Italic = true; }, 1, "42 \xC2\xB0" "C"},
      {"orientation", [](TQD_Font& f) { f.Orientation = 900; }, 1, "42 \xC2\xB0" "C"},
      {"mode", [](TQD_Font&) {}, 0, "42 \xC2\xB0" "C"},
      {"text", [](TQD_Font&) {}, 1, "43 \xC2\xB0" "C"},
  };
  for (const TCase& c : cases) {
    TQD_Font f = base;
    c.Change(f);
    EXPECT_EQ(cache.Find(f, c.Mode, c.Text), nullptr) << c.What;
  }
  // The text colour is applied when the mask is written: it is no key.
  TQD_Font coloured = base;
  coloured.Color = 0x0000FF;
  EXPECT_NE(cache.Find(coloured, 1, "42 \xC2\xB0" "C"), nullptr);
}

TEST(TextMaskCache, StoringNeverAllocatesAndSkipsWhatDoesNotFitASlot) {
  TQD_TextMaskCache cache;
  TQD_Font font;
  TQD_TextMask fits, tooBig;
  fits.Reset(0, 0, 256, 256);  // exactly kMaxCoverage
  tooBig.Reset(0, 0, 257, 256);
  static_assert(TQD_TextMaskCache::kMaxCoverage == 256 * 256);
  const std::string longText(TQD_TextMaskCache::kMaxTextLength + 1, 'x');
  const long before = HeapAllocations();
  char text[16];
  for (int i = 0; i < 1000; ++i) {
    std::snprintf(text, sizeof text, "%d", i);
    cache.Store(font, 1, text, &fits);
  }
  cache.Store(font, 1, "big", &tooBig);
  cache.Store(font, 1, longText, &fits);
  EXPECT_EQ(HeapAllocations() - before, 0);
  EXPECT_EQ(cache.Find(font, 1, "big"), nullptr);
  EXPECT_EQ(cache.Find(font, 1, longText), nullptr);
  EXPECT_NE(cache.Find(font, 1, "999"), nullptr);
}

// Masks share one block written round and round: a mask written over by later
// ones must be a miss, never someone else's pixels. Sizes from a few bytes to
// the largest kept, so the ring wraps at every kind of offset.
TEST(TextMaskCache, AMaskWrittenOverIsAMissNeverOtherPixels) {
  std::mt19937 rng(Seed());
  TQD_TextMaskCache cache;
  TQD_Font font;
  TQD_TextMask mask;
  auto patternOf = [](int AKey, size_t AIndex) { return static_cast<uint8_t>(AKey * 31 + AIndex * 7); };
  auto check = [&](int AKey, bool AMustHit) {
    const TQD_TextMaskCache::TEntry* e = cache.Find(font, 1, std::to_string(AKey));
    if (AMustHit) {
      ASSERT_NE(e, nullptr) << "key " << AKey;
    }
    if (!e) return;
    const size_t n = static_cast<size_t>(e->Mask.Width) * e->Mask.Height;
    for (size_t k = 0; k < n; ++k) ASSERT_EQ(e->Mask.Coverage[k], patternOf(AKey, k)) << "key " << AKey << " byte " << k;
  };
  int hits = 0;
  for (int key = 0; key < 600; ++key) {
    const int w = std::uniform_int_distribution<int>(1, 256)(rng);
    const int h = std::uniform_int_distribution<int>(1, key % 7 == 0 ? 256 : 24)(rng);
    mask.Reset(0, 0, w, h);
    for (size_t k = 0; k < mask.Coverage.size(); ++k) mask.Coverage[k] = patternOf(key, k);
    cache.Store(font, 1, std::to_string(key), &mask);
    check(key, true);  // the newest is always there
    for (int k = 0; k < 20 && key > 0; ++k) {
      const int old = std::uniform_int_distribution<int>(std::max(0, key - 400), key - 1)(rng);
      check(old, false);
      hits += cache.Find(font, 1, std::to_string(old)) != nullptr;
    }
  }
  EXPECT_GT(hits, 0);  // older masks do survive while the ring has room
}

}  // namespace
