#pragma once
// Counts the heap allocations one thread makes between Start and Stop: how
// the tests and benchmarks show that a warm frame allocates nothing.
//
//   CAllocationCounter::Start();   // on the thread that draws
//   emitter.Render();
//   const long allocations = CAllocationCounter::Stop();
//
// The count comes from a replaced global operator new, linked into every
// program that uses this class. The sanitizers bring their own allocator:
// under them nothing is counted and IsAvailable() is false.

class CAllocationCounter {
public:
    static bool IsAvailable();
    // Counts from zero, the calling thread's allocations only.
    static void Start();
    // Stops counting on the calling thread and returns the count.
    static long Stop();
};
