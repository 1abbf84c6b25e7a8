// The module-wide note frequencies: 128 single-precision values in semitone steps from
// 8.175798915636872 Hz. MIDI note n is looked up at entry n - 12, so every tone operator
// runs one octave below the standard pitch of its note number (note 69 gets 220 Hz).
#pragma once

#include <cstdint>

class NoteFrequencyTable {
 public:
  static constexpr std::int32_t kSize = 128;
  static constexpr double kFirstFrequency = 8.175798915636872;
  static constexpr double kSemitoneRatio = 1.059463094359;
  static constexpr std::int32_t kNoteOffset = 12;  // note n reads entry n - 12
  static constexpr std::int32_t kLowestNote = kNoteOffset;
  static constexpr std::int32_t kHighestNote = 127;

  // Instance construction, any thread: fills the table once per process. Every
  // construction calls it before the instance is handed to the host, so the table is
  // complete before any voice can read it.
  static void fill();

  static bool hasNote(std::int32_t note) { return note >= kLowestNote && note <= kHighestNote; }
  // Frequency of a MIDI note in 12..127 (callers check hasNote).
  static float frequency(std::int32_t note) { return entries[note - kNoteOffset]; }
  static float entry(std::int32_t index) { return entries[index]; }

 private:
  alignas(64) static float entries[kSize];
};
