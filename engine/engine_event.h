// A note change queued by MIDI intake for the coming block, applied by the render loop
// at its sample offset.
#pragma once

#include <cstdint>

enum EngineEventType : std::int32_t {
  EVENT_NOTE_START = 1,
  EVENT_NOTE_RELEASE = 2,
  EVENT_PITCH_BEND = 3,
};

struct EngineEvent {
  std::int32_t type;  // EngineEventType
  float frequency;    // note frequency in Hz (note start only)
  std::int32_t note;  // MIDI note number (note start only)
  float value;        // velocity 0..1 (note start) or bend -1..+1 (pitch bend)
  std::int32_t offset;  // sample offset within the coming block, as the host gave it
  std::int32_t voice;   // voice concerned (note start and release)
};
