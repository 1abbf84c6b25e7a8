// Appending to and reordering the voice order.
#include "engine/voice_order.h"

void VoiceOrder::append(std::int32_t voice) {
  if (count < kCapacity) entries[count++] = voice;
}

void VoiceOrder::moveToBack(std::int32_t voice) {
  std::int32_t position = 0;
  while (position < count && entries[position] != voice) ++position;
  if (position == count) return;
  for (; position + 1 < count; ++position) entries[position] = entries[position + 1];
  entries[count - 1] = voice;
}
