#include "tools/host/event_sequence.h"

#include <algorithm>
#include <cstring>

#include "tools/host/event_text.h"
#include "tools/host/file_bytes.h"
#include "tools/host/midi_file.h"

namespace eventsequence {

std::int64_t samplePosition(std::int64_t time, std::int64_t unitsPerSecond, std::int64_t sampleRate) {
  if (time <= 0 || unitsPerSecond <= 0 || sampleRate <= 0) return 0;
  // Whole seconds and the remainder separately, so that no product leaves 64 bits for the
  // units the readers use (at most about 3.3e10 per second) and rates up to a few MHz.
  const std::int64_t seconds = time / unitsPerSecond;
  const std::int64_t rest = time % unitsPerSecond;
  return seconds * sampleRate + (rest * sampleRate + unitsPerSecond / 2) / unitsPerSecond;
}

void sortByTime(EventSequence& sequence) {
  std::stable_sort(sequence.events.begin(), sequence.events.end(),
                   [](const TimedMidiEvent& a, const TimedMidiEvent& b) { return a.time < b.time; });
}

bool loadFile(const std::string& path, EventSequence& out, std::string& error) {
  std::vector<std::uint8_t> bytes;
  if (!filebytes::read(path, bytes, error)) return false;
  const bool ok = midifile::looksLikeMidiFile(bytes.data(), bytes.size())
                      ? midifile::parse(bytes.data(), bytes.size(), out, error)
                      : eventtext::parse(std::string(bytes.begin(), bytes.end()), out, error);
  if (!ok) error = path + ": " + error;
  return ok;
}

}  // namespace eventsequence
