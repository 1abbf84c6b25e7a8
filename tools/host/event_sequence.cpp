#include "tools/host/event_sequence.h"

#include <algorithm>
#include <cstring>

#include "tools/host/event_text.h"
#include "tools/host/file_bytes.h"
#include "tools/host/midi_file.h"
#include "tools/host/printable_text.h"

namespace eventsequence {
namespace {

constexpr std::uint8_t kTab = 0x09;
constexpr std::uint8_t kCarriageReturn = 0x0D;  // tab to carriage return: the text's white space
constexpr std::uint8_t kSpace = 0x20;
constexpr std::uint8_t kDelete = 0x7F;

// Control characters other than white space do not occur in a text file; bytes from 0x80
// up do (a comment in UTF-8).
bool isTextByte(std::uint8_t byte) {
  return (byte >= kSpace && byte != kDelete) || (byte >= kTab && byte <= kCarriageReturn);
}

constexpr const char* kNeither = "neither a Standard MIDI File (it does not start with \"MThd\") nor a text event list";

}  // namespace

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

bool parse(const std::uint8_t* bytes, std::size_t size, EventSequence& out, std::string& error) {
  if (midifile::looksLikeMidiFile(bytes, size)) return midifile::parse(bytes, size, out, error);
  for (std::size_t i = 0; i < size; ++i) {
    if (!isTextByte(bytes[i])) {
      error = std::string(kNeither) + " (byte " + std::to_string(i) + " is " + printabletext::escaped(bytes + i, 1) +
              ", which no text holds)";
      return false;
    }
  }
  const std::string text(bytes, bytes + size);
  if (eventtext::parse(text, out, error)) return true;
  if (!eventtext::startsLikeEventList(text)) error = std::string(kNeither) + " (" + error + ")";
  return false;
}

bool loadFile(const std::string& path, EventSequence& out, std::string& error) {
  std::vector<std::uint8_t> bytes;
  if (!filebytes::read(path, bytes, error)) return false;
  const bool ok = parse(bytes.data(), bytes.size(), out, error);
  if (!ok) error = path + ": " + error;
  return ok;
}

}  // namespace eventsequence
