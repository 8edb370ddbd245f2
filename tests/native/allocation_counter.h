// Heap allocations made by this test executable so far: tests that promise
// "nothing is allocated per sample/refresh" compare two readings.
#pragma once

long HeapAllocations();
