// ReleaseUnusedStack away from Windows; see thread_stack.h. A thread's stack
// is only ever made resident by its own use there, so there is nothing to do.
#include "base/thread_stack.h"

#ifndef _WIN32

size_t ReleaseUnusedStack() { return 0; }

#endif
