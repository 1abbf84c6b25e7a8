// The VstEvents list handed to effProcessEvents for one block: VstMidiEvent records with
// their offsets inside the block. Storage grows only between blocks and is reused, so a
// long render allocates once per new largest block.
#pragma once

#include <cstdint>
#include <vector>

#include "shell/vst_abi.h"

class EventBlock {
 public:
  void clear();
  // A MIDI message at `offset` samples into the block.
  void add(VstInt32 offset, const std::uint8_t* bytes, std::uint8_t size);
  bool empty() const { return records.empty(); }
  std::size_t size() const { return records.size(); }
  // The list as the plug-in reads it; valid until the next clear or add.
  VstEvents* events();

 private:
  std::vector<VstMidiEvent> records;
  // VstEvents declares two pointers but really holds numEvents of them: the header and
  // the pointer array live in one suitably aligned buffer.
  std::vector<VstIntPtr> listStorage;
};
