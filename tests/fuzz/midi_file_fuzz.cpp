// Fuzz target: the host's Standard MIDI File reader. Any bytes are either refused with a
// message that is printable text, or give a sequence every part of the host can use.
#include <cstdint>
#include <string>

#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/sequence_checks.h"
#include "tools/host/midi_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  EventSequence sequence;
  sequence.unitsPerSecond = 7;
  std::string error;
  if (!midifile::parse(data, size, sequence, error)) {
    FUZZ_CHECK(fuzzcheck::isPrintableMessage(error), "unprintable error: " + error);
    FUZZ_CHECK(sequence.unitsPerSecond == 7 && sequence.events.empty(), "a refused file changed the output");
    return 0;
  }
  checkSequence(sequence);
  return 0;
}
