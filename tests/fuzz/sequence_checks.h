// What every event sequence a reader accepts must be, whatever the file: channel
// messages of the right length in time order within the longest accepted length, and a
// render of it whose length the WAV writer can compute (or refuse) without overflow.
#pragma once

#include <cstdint>
#include <string>

#include "tests/fuzz/fuzz_check.h"
#include "tools/host/event_sequence.h"
#include "tools/host/offline_renderer.h"
#include "tools/host/wav_writer.h"

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
  // The longest render the host makes of it: the highest rate and the longest tail.
  offlinerender::Settings settings;
  settings.sampleRate = offlinerender::kMaxSampleRate;
  settings.tailFrames = static_cast<std::int64_t>(3600) * offlinerender::kMaxSampleRate;
  const std::int64_t frames = offlinerender::totalFrames(sequence, settings);
  FUZZ_CHECK(frames >= settings.tailFrames &&
                 frames <= (eventsequence::kMaxSeconds + 1) * offlinerender::kMaxSampleRate + settings.tailFrames,
             "a render of " + std::to_string(frames) + " frames");
  const auto channels = static_cast<std::uint16_t>(offlinerender::kOutputChannels);
  if (wav::fits(wav::SampleFormat::kPcm16, channels, static_cast<std::uint64_t>(frames))) {
    wav::header(wav::SampleFormat::kPcm16, static_cast<std::uint32_t>(settings.sampleRate), channels,
                static_cast<std::uint32_t>(frames));
  }
}
