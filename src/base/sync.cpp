// The C++ library's mutex and condition variable; see sync.h. On Windows,
// sync_win32.cpp.
#include "base/sync.h"

#ifndef _WIN32

void TQD_Mutex::lock() { FLock.lock(); }
void TQD_Mutex::unlock() { FLock.unlock(); }
bool TQD_Mutex::try_lock() { return FLock.try_lock(); }

void TQD_Condition::NotifyOne() { FCondition.notify_one(); }
void TQD_Condition::NotifyAll() { FCondition.notify_all(); }

void TQD_Condition::WaitOnce(TQD_Mutex& AMutex, int64_t AMs) {
  // The caller holds the lock and keeps holding it.
  std::unique_lock<std::mutex> lock(AMutex.FLock, std::adopt_lock);
  FCondition.wait_for(lock, std::chrono::milliseconds(AMs));
  lock.release();
}

#endif
