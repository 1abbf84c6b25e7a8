// A seeded stream of dense MIDI blocks as a host hands them to a VST 2.4 instrument:
// chords, repeated notes, note-offs of what is held, pitch bends and now and then all
// notes off, at random offsets inside blocks of random length. Storage is made once; a
// block is rebuilt in place.
#pragma once

#include <cstdint>
#include <random>
#include <vector>

#include "shell/vst_abi.h"

namespace soak {

class RandomMidi {
 public:
  static constexpr std::int32_t kMostEvents = 96;
  static constexpr std::int32_t kMostFrames = 4096;

  explicit RandomMidi(std::uint32_t seed);
  // A block length in 1..4096, shorter ones more often.
  std::int32_t nextBlockLength();
  // The events of a block of `frames` samples.
  VstEvents* nextBlock(std::int32_t frames);
  // Note-offs of every note on every channel, at the start of a block.
  VstEvents* releaseEverything();
  std::int64_t eventCount() const { return events; }

 private:
  void add(std::uint8_t status, std::uint8_t first, std::uint8_t second, std::int32_t offset);
  VstEvents* finish();
  std::int32_t below(std::int32_t bound) { return static_cast<std::int32_t>(random() % static_cast<std::uint32_t>(bound)); }

  std::mt19937 random;
  std::vector<VstMidiEvent> records;
  std::vector<VstIntPtr> listStorage;
  std::int32_t used;
  std::vector<std::uint8_t> held;
  std::int64_t events;
};

}  // namespace soak
