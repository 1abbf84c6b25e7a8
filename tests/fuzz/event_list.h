// A VstEvents list as a host hands it to effProcessEvents: a header followed by exactly
// numEvents pointers, each event in a record of its own of exactly its type's size, so
// that AddressSanitizer catches a read past any of them.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "shell/vst_abi.h"
#include "tests/fuzz/fuzz_input.h"

class EventList {
 public:
  // The most events one decoded list holds: more than the engine's queue takes.
  static constexpr std::int32_t kMaxDecodedEvents = 80;

  void clear();
  void addMidi(std::int32_t offset, std::uint8_t status, std::uint8_t first, std::uint8_t second);
  // Decodes a list from the stream: a count (now and then one that is negative), then
  // for each entry a MIDI event with any bytes and offset, a system-exclusive event, an
  // event of another type or a missing entry. Offsets mostly fall inside `blockFrames`.
  void decode(FuzzInput& in, std::int32_t blockFrames);
  // The list for effProcessEvents; valid until the next change.
  VstEvents* events();

 private:
  std::vector<std::uint8_t>& newRecord(std::size_t size);
  void addMidiRecord(const VstMidiEvent& event);

  std::vector<std::unique_ptr<std::vector<std::uint8_t>>> records;  // one allocation per event
  std::vector<VstEvent*> pointers;                                   // null for a missing entry
  std::vector<std::unique_ptr<std::vector<std::uint8_t>>> dumps;     // system-exclusive payloads
  std::vector<std::uint8_t> header;
  std::int32_t countOverride = 0;
  bool overrideCount = false;
};
