#include "tools/host/event_block.h"

#include <cstddef>
#include <cstring>

void EventBlock::clear() { records.clear(); }

void EventBlock::add(VstInt32 offset, const std::uint8_t* bytes, std::uint8_t size) {
  VstMidiEvent event{};
  event.type = kVstMidiType;
  event.byteSize = static_cast<VstInt32>(sizeof(VstMidiEvent));
  event.deltaFrames = offset;
  event.flags = 0;  // played from a sequence, not live
  for (std::uint8_t i = 0; i < size && i < sizeof event.midiData; ++i) {
    event.midiData[i] = static_cast<char>(bytes[i]);
  }
  records.push_back(event);
}

VstEvents* EventBlock::events() {
  const std::size_t bytes = offsetof(VstEvents, events) + records.size() * sizeof(VstEvent*);
  const std::size_t words = (bytes + sizeof(VstIntPtr) - 1) / sizeof(VstIntPtr);
  if (listStorage.size() < words) listStorage.resize(words);
  auto* list = reinterpret_cast<VstEvents*>(listStorage.data());
  list->numEvents = static_cast<VstInt32>(records.size());
  list->reserved = 0;
  auto** pointers = reinterpret_cast<VstEvent**>(reinterpret_cast<char*>(list) + offsetof(VstEvents, events));
  for (std::size_t i = 0; i < records.size(); ++i) pointers[i] = reinterpret_cast<VstEvent*>(&records[i]);
  return list;
}
