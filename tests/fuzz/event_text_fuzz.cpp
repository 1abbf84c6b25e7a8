// Fuzz target: the host's input reader as the render verb uses it, on anything that is
// not a Standard MIDI File: the text event list and the refusal of other files. A refusal
// says why in printable text; an accepted list, written out again in the list's own
// notation, reads back as the same sequence.
#include <cstdint>
#include <cstdio>
#include <string>

#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/sequence_checks.h"
#include "tools/host/event_sequence.h"
#include "tools/host/event_text.h"
#include "tools/host/midi_file.h"

namespace {

constexpr int kBitsPerDataByte = 7;

// One event as a line of the list.
std::string lineOf(const TimedMidiEvent& event) {
  char time[32];
  std::snprintf(time, sizeof time, "%lld.%09lld", static_cast<long long>(event.time / eventtext::kUnitsPerSecond),
                static_cast<long long>(event.time % eventtext::kUnitsPerSecond));
  const int first = event.bytes[1];
  const int second = event.bytes[2];
  switch (event.bytes[0]) {
    case 0x90: return std::string(time) + " on " + std::to_string(first) + " " + std::to_string(second) + "\n";
    case 0x80: return std::string(time) + " off " + std::to_string(first) + " " + std::to_string(second) + "\n";
    case 0xB0: return std::string(time) + " cc " + std::to_string(first) + " " + std::to_string(second) + "\n";
    case 0xE0: return std::string(time) + " bend " + std::to_string(second << kBitsPerDataByte | first) + "\n";
    default: FUZZ_CHECK(false, "the text list gave status " + std::to_string(event.bytes[0]));
  }
  return std::string();
}

bool sameEvents(const EventSequence& a, const EventSequence& b) {
  if (a.unitsPerSecond != b.unitsPerSecond || a.events.size() != b.events.size()) return false;
  for (std::size_t i = 0; i < a.events.size(); ++i) {
    const TimedMidiEvent& x = a.events[i];
    const TimedMidiEvent& y = b.events[i];
    if (x.time != y.time || x.size != y.size || x.bytes[0] != y.bytes[0] || x.bytes[1] != y.bytes[1] ||
        x.bytes[2] != y.bytes[2]) {
      return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  EventSequence sequence;
  std::string error;
  if (!eventsequence::parse(data, size, sequence, error)) {
    FUZZ_CHECK(fuzzcheck::isPrintableMessage(error), "unprintable error: " + error);
    return 0;
  }
  checkSequence(sequence);
  if (midifile::looksLikeMidiFile(data, size)) return 0;
  std::string text;
  for (const TimedMidiEvent& event : sequence.events) text += lineOf(event);
  EventSequence again;
  FUZZ_CHECK(eventtext::parse(text, again, error), "the list written out again was refused: " + error);
  FUZZ_CHECK(sameEvents(sequence, again), "the list written out again reads differently");
  return 0;
}
