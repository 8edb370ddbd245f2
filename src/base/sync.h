// A mutex and a condition variable for the few places where threads meet
// (the drives' queries and their workers). On Windows they are the system's
// slim lock and condition variable, which wait and wake in user space; the
// C++ library's own there (winpthreads) sleep on kernel semaphores, so that
// every wait and every wake-up is a call into the kernel, and under Wine a
// round trip to its server.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <mutex>

#ifndef _WIN32
#include <condition_variable>
#endif

// Meets the standard's Lockable: std::lock_guard and std::unique_lock take it.
class TQD_Mutex {
 public:
  TQD_Mutex() = default;
  TQD_Mutex(const TQD_Mutex&) = delete;
  TQD_Mutex& operator=(const TQD_Mutex&) = delete;
  void lock();
  void unlock();
  bool try_lock();

 private:
  friend class TQD_Condition;
#ifdef _WIN32
  void* FLock = nullptr;  // SRWLOCK, which is one pointer, initially null
#else
  std::mutex FLock;
#endif
};

class TQD_Condition {
 public:
  TQD_Condition() = default;
  TQD_Condition(const TQD_Condition&) = delete;
  TQD_Condition& operator=(const TQD_Condition&) = delete;

  // Waits, with ALock held on entry and on return, until APredicate holds or
  // AMs milliseconds have passed; returns APredicate().
  template <typename Predicate>
  bool WaitFor(std::unique_lock<TQD_Mutex>& ALock, int64_t AMs, Predicate APredicate) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(AMs);
    while (!APredicate()) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0) return APredicate();
      // At least a millisecond: a wait rounded down to 0 would spin.
      WaitOnce(*ALock.mutex(), std::max<int64_t>(left.count(), 1));
    }
    return true;
  }
  void NotifyOne();
  void NotifyAll();

 private:
  // One wait of at most AMs; it may also end early for no reason.
  void WaitOnce(TQD_Mutex& AMutex, int64_t AMs);
#ifdef _WIN32
  void* FCondition = nullptr;  // CONDITION_VARIABLE, likewise
#else
  std::condition_variable FCondition;
#endif
};
