// A timed list of MIDI channel messages, the common form of the host's two input formats
// (Standard MIDI Files and the text event list). Times are exact integers in a unit the
// reader chooses (unitsPerSecond), so that converting them to sample positions involves
// no floating point and comes out the same on every platform.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TimedMidiEvent {
  std::int64_t time = 0;      // in units of 1 / unitsPerSecond seconds
  std::uint8_t bytes[3] = {};  // status, data 1, data 2 (zero when unused)
  std::uint8_t size = 0;       // 2 or 3
};

struct EventSequence {
  std::int64_t unitsPerSecond = 1;
  std::vector<TimedMidiEvent> events;  // in time order; equal times keep their input order
};

namespace eventsequence {

// The longest sequence the readers accept; it keeps every time computation in range.
constexpr std::int64_t kMaxSeconds = 24 * 60 * 60;

// The sample at which `time` falls at `sampleRate`, rounded to the nearest sample (a time
// halfway between two samples goes to the later one). Exact integer arithmetic.
std::int64_t samplePosition(std::int64_t time, std::int64_t unitsPerSecond, std::int64_t sampleRate);

// Sorts the events by time, keeping the input order of events at the same time.
void sortByTime(EventSequence& sequence);

// A Standard MIDI File (recognised by its "MThd" header) or else a text event list. A
// file that holds bytes no text holds, or whose first line is no event, is refused as
// neither; bytes of the file that an error quotes are escaped.
bool parse(const std::uint8_t* bytes, std::size_t size, EventSequence& out, std::string& error);

// The same for a whole file; the error starts with the path.
bool loadFile(const std::string& path, EventSequence& out, std::string& error);

}  // namespace eventsequence
