// Counts heap allocations for the tests that show a hot path allocates
// nothing. Replaces the global operator new for this test executable (once,
// here); it only counts and forwards to malloc.
#include "allocation_counter.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>

namespace {
std::atomic<long> gAllocations{0};
}

long HeapAllocations() { return gAllocations.load(); }

#if defined(__GNUC__) && !defined(__clang__)
// GCC sees new and free meet inside the replacement itself; they do match.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
void* operator new(std::size_t ASize) {
  ++gAllocations;
  if (void* p = std::malloc(ASize ? ASize : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* APtr) noexcept { std::free(APtr); }
void operator delete(void* APtr, std::size_t) noexcept { std::free(APtr); }

// The counter must see what the tests rely on it to see.
TEST(AllocationCounter, CountsEveryNew) {
  const long before = HeapAllocations();
  auto a = std::make_unique<int>(1);
  auto b = std::make_unique<long[]>(100);
  EXPECT_EQ(HeapAllocations() - before, 2);
  EXPECT_EQ(*a + static_cast<int>(b[0]), 1);
}
