// What every event sequence a reader accepts must be, whatever the file: channel
// messages of the right length in time order within the longest accepted length, and a
// render of it whose length the WAV writer can compute (or refuse) without overflow.
#pragma once

#include <cstdint>
#include <string>

#include "tests/fuzz/fuzz_check.h"
#include "tools/host/event_sequence.h"
#include "tools/host/wav_writer.h"

// The host's largest rate and longest tail (its render verb's limits), and its channels.
constexpr std::int32_t kMaxRenderRate = 384000;
constexpr std::int64_t kMaxTailSeconds = 3600;
constexpr std::uint16_t kRenderChannels = 2;

inline void checkSequence(const EventSequence& sequence) {
  FUZZ_CHECK(sequence.unitsPerSecond > 0, "units per second " + std::to_string(sequence.unitsPerSecond));
  const std::int64_t longest = eventsequence::kMaxSeconds * sequence.unitsPerSecond;
  std::int64_t previous = 0;
  for (const TimedMidiEvent& event : sequence.events) {
    FUZZ_CHECK(event.time >= previous && event.time <= longest, "event time " + std::to_string(event.time));
    previous = event.time;
    const std::uint8_t status = event.bytes[0];
    FUZZ_CHECK(status >= 0x80 && status < 0xF0, "status " + std::to_string(status) + " is no channel message");
    const std::uint8_t kind = status & 0xF0;
    FUZZ_CHECK(event.size == (kind == 0xC0 || kind == 0xD0 ? 2 : 3), "message of " + std::to_string(event.size));
    for (std::uint8_t i = 1; i < event.size; ++i) FUZZ_CHECK(event.bytes[i] < 0x80, "a status byte as data");
  }
  // The longest render the host makes of it: the last event at the highest rate, then
  // the longest tail, into a stereo WAV file that takes it or refuses it.
  const std::int64_t lastFrame =
      sequence.events.empty()
          ? 0
          : eventsequence::samplePosition(sequence.events.back().time, sequence.unitsPerSecond, kMaxRenderRate);
  FUZZ_CHECK(lastFrame >= 0 && lastFrame <= eventsequence::kMaxSeconds * kMaxRenderRate,
             "the last event at frame " + std::to_string(lastFrame));
  const std::uint64_t frames = static_cast<std::uint64_t>(lastFrame + kMaxTailSeconds * kMaxRenderRate);
  if (wav::fits(wav::SampleFormat::kPcm16, kRenderChannels, frames)) {
    wav::header(wav::SampleFormat::kPcm16, kMaxRenderRate, kRenderChannels, static_cast<std::uint32_t>(frames));
  }
}
