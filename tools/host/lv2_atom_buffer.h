// The buffer behind one of an LV2 plug-in's atom ports: an atom:Sequence the host fills
// with a block's MIDI (midi:MidiEvent atoms stamped with their frame inside the block),
// or the room an output port writes its sequence into. Storage is 64-bit aligned, as
// atoms are, and sized once before processing starts; filling it allocates nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "lv2/atom/atom.h"
#include "lv2/urid/urid.h"

class Lv2AtomBuffer {
 public:
  // Room for `events` events of up to `eventBytes` bytes each; the sequence starts empty.
  // False (and no room) when that is more than an atom's 32-bit size can hold.
  bool reserve(std::size_t events, std::size_t eventBytes, LV2_URID sequenceType);
  // Input ports, before each run: no events.
  void clear();
  // An event at `frame`; false (nothing written) when the room is used up.
  bool append(std::int64_t frame, LV2_URID type, const std::uint8_t* bytes, std::uint32_t size);
  // Output ports, before each run: the whole room offered to the plug-in as an atom:Chunk.
  void offer(LV2_URID chunkType);

  // Where the port is connected; valid until the next reserve.
  void* data() { return storage.data(); }
  std::uint32_t capacity() const { return room; }

 private:
  LV2_Atom_Sequence* sequence() { return reinterpret_cast<LV2_Atom_Sequence*>(storage.data()); }

  std::vector<std::uint64_t> storage;
  std::uint32_t room = 0;  // bytes, the sequence's header included
  LV2_URID type = 0;
};
