// Counts the allocations made on a thread while it is marked as the audio thread: the
// program's global operator new is replaced (audio_thread_allocations.cpp).
#pragma once

namespace soak {

// Marks the calling thread for the lifetime of the object.
class AudioThreadScope {
 public:
  AudioThreadScope();
  ~AudioThreadScope();
  AudioThreadScope(const AudioThreadScope&) = delete;
  AudioThreadScope& operator=(const AudioThreadScope&) = delete;
};

long audioThreadAllocations();

}  // namespace soak
