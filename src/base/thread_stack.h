// Handing back the stack pages a thread no longer uses.
//
// Under Wine a thread's stack has its top megabyte or so resident from the
// moment the thread starts, touched by the system before any code of the
// program runs; a thread that then waits most of its life (the timer thread,
// the drive worker, the UI thread between messages) keeps that megabyte
// resident for nothing. Called from a shallow frame, this lets the system
// drop the pages below it: they stay committed, and a later deeper call
// simply faults them in again, zeroed. On Windows, where a new thread's stack
// is not touched ahead of use, and elsewhere, there is little or nothing to
// give back.
#pragma once

#include <cstddef>

// The pages of the calling thread's stack lying more than kStackKeptBytes
// below the caller's frame are released; returns how many bytes that covers
// (0 where there is nothing to do).
size_t ReleaseUnusedStack();

// Below the caller's frame, what the call itself and anything interrupting
// it may use is kept.
constexpr size_t kStackKeptBytes = 64 * 1024;
