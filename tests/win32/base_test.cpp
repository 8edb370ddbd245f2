// The Win32 side of base: the system's lock and condition variable behind
// TQD_Mutex and TQD_Condition (a waiter wakes when told and not before its
// predicate holds; a wait nobody ends times out with the predicate's value),
// the UTF-8 conversions at the boundary, and giving back unused stack pages.
#include <windows.h>
#include <psapi.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "base/sync.h"
#include "base/thread_stack.h"
#include "base/win32_handles_win32.h"

TEST(Sync, WaiterWakesWhenToldAndTimesOutOtherwise) {
  TQD_Mutex lock;
  TQD_Condition changed;
  int stage = 0;

  std::thread other([&] {
    for (int next = 1; next <= 2; ++next) {
      std::lock_guard<TQD_Mutex> l(lock);
      stage = next;
      changed.NotifyAll();  // stage 1 alone does not satisfy the waiter
    }
  });
  {
    std::unique_lock<TQD_Mutex> l(lock);
    // Far longer than the other thread needs: returning true means it woke us.
    EXPECT_TRUE(changed.WaitFor(l, 60000, [&] { return stage == 2; }));
    EXPECT_TRUE(l.owns_lock());
  }
  other.join();

  std::unique_lock<TQD_Mutex> l(lock);
  EXPECT_FALSE(changed.WaitFor(l, 20, [&] { return stage == 3; }));
  EXPECT_TRUE(l.owns_lock());
  EXPECT_TRUE(changed.WaitFor(l, 0, [&] { return stage == 2; }));  // holds already: no wait
  l.unlock();
  ASSERT_TRUE(lock.try_lock());
  bool otherGotIt = true;
  std::thread([&] { otherGotIt = lock.try_lock(); }).join();
  EXPECT_FALSE(otherGotIt);  // held here
  lock.unlock();
}

// Lenient for texts shown (what is not UTF-8 becomes U+FFFD), exact for names
// that must match a file (refused), both alike for valid text.
TEST(Utf8ToWide, LenientReplacesAndExactRefusesWhatIsNotUtf8) {
  struct TCase {
    const char* What;
    std::string Utf8;
    std::wstring Lenient;
    bool ExactOK;
  } cases[] = {
      {"empty", "", L"", true},
      {"ASCII", "C:\\", L"C:\\", true},
      {"two- and three-byte", "\xC3\xA4 \xE2\x82\xAC", L"\u00E4 \u20AC", true},
      {"four-byte (a surrogate pair)", "\xF0\x9F\x98\x80", L"\U0001F600", true},
      {"stray continuation byte", "a\x80", L"a\uFFFD", false},
      {"cut-off sequence", "\xE2\x82", L"\uFFFD", false},
  };
  for (const TCase& c : cases) {
    EXPECT_EQ(Utf8ToWide(c.Utf8), c.Lenient) << c.What;
    std::wstring exact = L"old";
    EXPECT_EQ(Utf8ToWideExact(c.Utf8, exact), c.ExactOK) << c.What;
    if (c.ExactOK) {
      EXPECT_EQ(exact, c.Lenient) << c.What;
      EXPECT_EQ(WideToUtf8(exact), c.Utf8) << c.What << ": round trip";
    }
  }
}

namespace {

// Fills ADepth frames of 4 KB each below the caller and returns what they
// hold, read back on the way up.
__attribute__((noinline)) uint64_t UseStack(int ADepth) {
  volatile uint8_t frame[4096];
  for (size_t i = 0; i < sizeof frame; i += 64) frame[i] = static_cast<uint8_t>(ADepth + i / 64);
  const uint64_t below = ADepth > 1 ? UseStack(ADepth - 1) : 0;
  uint64_t sum = below;
  for (size_t i = 0; i < sizeof frame; i += 64) sum += frame[i];
  return sum;
}

// How many of the ACount pages from AFirst down are in the working set.
int ResidentPagesBelow(uintptr_t AFirst, int ACount) {
  std::vector<PSAPI_WORKING_SET_EX_INFORMATION> pages(ACount);
  for (int i = 0; i < ACount; ++i) pages[i].VirtualAddress = reinterpret_cast<void*>(AFirst - 4096 * i);
  if (!QueryWorkingSetEx(GetCurrentProcess(), pages.data(), static_cast<DWORD>(ACount * sizeof pages[0]))) return -1;
  int resident = 0;
  for (const auto& page : pages) resident += page.VirtualAttributes.Valid;
  return resident;
}

}  // namespace

// Pages a deep call left resident go, those of the frames in use stay, and
// the stack works as before once it is used again.
TEST(ThreadStack, ReleasesWhatLiesWellBelowTheCallerAndStaysUsable) {
  std::thread([] {
    const uint64_t first = UseStack(100);  // 400 KB
    const auto here = reinterpret_cast<uintptr_t>(__builtin_frame_address(0));
    // Pages from 100 KB to 300 KB below this frame: far enough below it to be
    // released, deep enough to have been used.
    const uintptr_t top = (here - 100 * 1024) & ~uintptr_t{0xFFF};
    ASSERT_EQ(ResidentPagesBelow(top, 50), 50);
    EXPECT_GE(ReleaseUnusedStack(), 300u * 1024);
    EXPECT_EQ(ResidentPagesBelow(top, 50), 0);
    // This frame's page stays: what it holds is in use.
    EXPECT_EQ(ResidentPagesBelow(here & ~uintptr_t{0xFFF}, 1), 1);
    EXPECT_EQ(UseStack(100), first);
    EXPECT_EQ(ResidentPagesBelow(top, 50), 50);
  }).join();
}
