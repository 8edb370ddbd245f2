// The system's lock and condition variable behind TQD_Mutex and
// TQD_Condition: a waiter wakes when told and not before its predicate
// holds, and a wait nobody ends times out with the predicate's value.
#include <gtest/gtest.h>

#include <thread>

#include "base/sync.h"

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
