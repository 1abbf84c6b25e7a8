// The MIDI events of an LV2 atom sequence, walked within the sizes the sequence states:
// an event that claims more bytes than remain ends the walk, so a damaged sequence can
// make the plug-in read nothing outside the host's buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>

#include <lv2/atom/atom.h>
#include <lv2/atom/util.h>
#include <lv2/urid/urid.h>

namespace lv2midi {

// The frame an event's time stands for. Hosts stamp MIDI input in frames; not all of them
// fill in the sequence's unit (Ardour 7 leaves it undefined at times), so only a sequence
// that says it is in beats is read otherwise: its events count from the start of the block.
inline std::int32_t eventFrame(std::int64_t frames, bool inFrames) {
  if (!inFrames || frames < 0) return 0;
  return frames > std::numeric_limits<std::int32_t>::max() ? std::numeric_limits<std::int32_t>::max()
                                                           : static_cast<std::int32_t>(frames);
}

// Calls receive(bytes, size, frame) for every event of type `midiEvent`, in order.
template <typename Receive>
void forEachMidiEvent(const LV2_Atom_Sequence* sequence, LV2_URID midiEvent, LV2_URID beatTime,
                      Receive&& receive) {
  if (sequence == nullptr) return;
  const std::uint64_t size = sequence->atom.size;  // bytes of the body
  if (size < sizeof(LV2_Atom_Sequence_Body)) return;
  const bool inFrames = sequence->body.unit != beatTime;
  const auto* body = reinterpret_cast<const std::uint8_t*>(&sequence->body);
  std::uint64_t offset = sizeof(LV2_Atom_Sequence_Body);
  while (offset + sizeof(LV2_Atom_Event) <= size) {
    const auto* event = reinterpret_cast<const LV2_Atom_Event*>(body + offset);
    const std::uint64_t eventSize = event->body.size;
    if (eventSize > size - offset - sizeof(LV2_Atom_Event)) return;
    if (event->body.type == midiEvent) {
      receive(reinterpret_cast<const std::uint8_t*>(event + 1), static_cast<std::size_t>(eventSize),
              eventFrame(event->time.frames, inFrames));
    }
    offset += sizeof(LV2_Atom_Event) + lv2_atom_pad_size(static_cast<std::uint32_t>(eventSize));
  }
}

}  // namespace lv2midi
