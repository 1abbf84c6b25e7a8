#include "tools/host/lv2_atom_buffer.h"

#include <cstring>
#include <limits>

#include "lv2/atom/util.h"

bool Lv2AtomBuffer::reserve(std::size_t events, std::size_t eventBytes, LV2_URID sequenceType) {
  const std::size_t perEvent = sizeof(LV2_Atom_Event) + lv2_atom_pad_size(static_cast<std::uint32_t>(eventBytes));
  const std::size_t limit = std::numeric_limits<std::uint32_t>::max() - sizeof(std::uint64_t);
  const bool fits = events <= (limit - sizeof(LV2_Atom_Sequence)) / perEvent;
  const std::size_t bytes = sizeof(LV2_Atom_Sequence) + (fits ? events * perEvent : 0);
  storage.assign((bytes + sizeof(std::uint64_t) - 1) / sizeof(std::uint64_t), 0);
  room = static_cast<std::uint32_t>(storage.size() * sizeof(std::uint64_t));
  type = sequenceType;
  clear();
  return fits;
}

void Lv2AtomBuffer::clear() {
  LV2_Atom_Sequence* events = sequence();
  events->atom.type = type;
  events->body.unit = 0;  // time stamps in audio frames, the default for run()
  events->body.pad = 0;
  lv2_atom_sequence_clear(events);
}

bool Lv2AtomBuffer::append(std::int64_t frame, LV2_URID eventType, const std::uint8_t* bytes, std::uint32_t size) {
  LV2_Atom_Sequence* events = sequence();
  const std::uint32_t used = static_cast<std::uint32_t>(sizeof(LV2_Atom)) + events->atom.size;
  if (room < used || room - used < sizeof(LV2_Atom_Event) + lv2_atom_pad_size(size)) return false;
  LV2_Atom_Event* event = lv2_atom_sequence_end(&events->body, events->atom.size);
  event->time.frames = frame;
  event->body.type = eventType;
  event->body.size = size;
  std::memcpy(event + 1, bytes, size);
  events->atom.size += lv2_atom_pad_size(static_cast<std::uint32_t>(sizeof(LV2_Atom_Event)) + size);
  return true;
}

void Lv2AtomBuffer::offer(LV2_URID chunkType) {
  LV2_Atom_Sequence* events = sequence();
  events->atom.type = chunkType;
  events->atom.size = room - static_cast<std::uint32_t>(sizeof(LV2_Atom));
}
