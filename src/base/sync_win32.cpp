// The system's slim lock and condition variable; see sync.h.
#include <windows.h>

#include "base/sync.h"

static_assert(sizeof(SRWLOCK) == sizeof(void*) && sizeof(CONDITION_VARIABLE) == sizeof(void*));

namespace {

SRWLOCK* Lock(void*& AStorage) { return reinterpret_cast<SRWLOCK*>(&AStorage); }
CONDITION_VARIABLE* Condition(void*& AStorage) { return reinterpret_cast<CONDITION_VARIABLE*>(&AStorage); }

}  // namespace

void TQD_Mutex::lock() { AcquireSRWLockExclusive(Lock(FLock)); }
void TQD_Mutex::unlock() { ReleaseSRWLockExclusive(Lock(FLock)); }
bool TQD_Mutex::try_lock() { return TryAcquireSRWLockExclusive(Lock(FLock)) != FALSE; }

void TQD_Condition::NotifyOne() { WakeConditionVariable(Condition(FCondition)); }
void TQD_Condition::NotifyAll() { WakeAllConditionVariable(Condition(FCondition)); }

void TQD_Condition::WaitOnce(TQD_Mutex& AMutex, int64_t AMs) {
  SleepConditionVariableSRW(Condition(FCondition), Lock(AMutex.FLock), static_cast<DWORD>(AMs), 0);
}
