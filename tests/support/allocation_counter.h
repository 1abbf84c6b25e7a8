// Counts the program's allocations: the global operator new is replaced in
// allocation_counter.cpp (its own file, so that no caller sees through it). Every
// allocation is counted, and apart those made on a thread while it is marked, so that a
// program can watch its audio thread while other threads allocate as they please.
#pragma once

namespace allocation_counter {

// Every allocation so far.
long total();
// The allocations made on marked threads so far.
long onMarkedThreads();

// Marks the calling thread for the object's lifetime.
class MarkedThread {
 public:
  MarkedThread();
  ~MarkedThread();
  MarkedThread(const MarkedThread&) = delete;
  MarkedThread& operator=(const MarkedThread&) = delete;
};

}  // namespace allocation_counter
