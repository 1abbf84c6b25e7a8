// The note frequency table, filled from its formula once per process.
#include "engine/note_table.h"

#include <mutex>

alignas(64) float NoteFrequencyTable::entries[NoteFrequencyTable::kSize];

void NoteFrequencyTable::fill() {
  static std::once_flag filled;
  std::call_once(filled, [] {
    double running = kFirstFrequency;
    for (std::int32_t i = 0; i < kSize; ++i) {
      entries[i] = static_cast<float>(running);
      running *= kSemitoneRatio;
    }
  });
}
