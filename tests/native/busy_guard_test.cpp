// The busy guard drops a nested call and is released on every way out.
#include <gtest/gtest.h>

#include <stdexcept>

#include "base/busy_guard.h"

TEST(BusyGuard, NestedCallIsDroppedAndAThrowReleasesTheFlag) {
  bool flag = false;
  int ran = 0;
  auto handler = [&](auto& self, bool nest, bool fail) -> void {
    const TQD_BusyGuard busy(flag);
    if (!busy) return;
    ++ran;
    if (nest) self(self, false, false);  // a nested message loop delivering the next tick
    if (fail) throw std::runtime_error("handler failed");
  };
  handler(handler, true, false);
  EXPECT_EQ(ran, 1);
  EXPECT_FALSE(flag);
  EXPECT_THROW(handler(handler, false, true), std::runtime_error);
  EXPECT_FALSE(flag);
  handler(handler, false, false);
  EXPECT_EQ(ran, 3);
}
