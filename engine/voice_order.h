// The order in which the engine considers its voices when it chooses one: every voice
// index exactly once, the front being the voice least recently chosen. A fixed array,
// so moving an index to the back allocates nothing.
#pragma once

#include <cstdint>

class VoiceOrder {
 public:
  static constexpr std::int32_t kCapacity = 9;

  VoiceOrder() : entries(), count(0) {}

  // Engine construction: adds an index at the back (ignored when the order is full).
  void append(std::int32_t voice);
  // Audio thread, note-on intake: moves an index that is present to the back.
  void moveToBack(std::int32_t voice);

  std::int32_t size() const { return count; }
  std::int32_t at(std::int32_t position) const { return entries[position]; }
  std::int32_t front() const { return entries[0]; }

 private:
  std::int32_t entries[kCapacity];
  std::int32_t count;
};
