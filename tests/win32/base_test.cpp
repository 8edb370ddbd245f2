// The Win32 side of base: the system's lock and condition variable behind
// TQD_Mutex and TQD_Condition (a waiter wakes when told and not before its
// predicate holds; a wait nobody ends times out with the predicate's value),
// and the UTF-8 conversions at the boundary.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "base/sync.h"
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
    if (c.ExactOK) EXPECT_EQ(exact, c.Lenient) << c.What;
    if (c.ExactOK) EXPECT_EQ(WideToUtf8(exact), c.Utf8) << c.What << ": round trip";
  }
}
