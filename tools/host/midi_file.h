// Standard MIDI File reader (types 0 and 1). All tracks are merged into one time-ordered
// list of channel messages; tick times become exact times through the tempo map (tempo
// changes in any track apply to all, as type 1 files keep them in the first track) or,
// for files timed in SMPTE frames, through the frame rate. Running status is followed;
// meta and system-exclusive events are skipped by their stated lengths.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "tools/host/event_sequence.h"

namespace midifile {

// The tempo a file has until its first tempo event: 120 beats per minute.
constexpr std::int64_t kDefaultMicrosecondsPerQuarter = 500000;
constexpr std::int64_t kMicrosecondsPerSecond = 1000000;

bool looksLikeMidiFile(const std::uint8_t* bytes, std::size_t size);

// False with a reason (and `out` untouched) for a truncated or malformed file, a type 2
// file, or one longer than eventsequence::kMaxSeconds.
bool parse(const std::uint8_t* bytes, std::size_t size, EventSequence& out, std::string& error);

}  // namespace midifile
