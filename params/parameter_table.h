// The thirteen automatable parameters: their numbers, host-visible names and texts.
#pragma once

#include <cstdint>

enum ParameterIndex : std::int32_t {
  PARAM_ATTACK_MODE = 0,     // "A Mode": attack operator at 3x (above 0.5) or 5x the note
  PARAM_ATTACK_LEVEL = 1,    // "A Level": depth of the attack operator's modulation
  PARAM_ATTACK_DECAY = 2,    // "A Decay": attack envelope decay and release time, seconds
  PARAM_ATTACK_VELOCITY = 3, // "A Vel": velocity sensitivity of the attack level
  PARAM_TONE_MODE = 4,       // "T Mode": carrier at 2x (below 0.5) or 1x the note
  PARAM_TONE_LEVEL = 5,      // "Tone": depth of the tone operator's modulation
  PARAM_TONE_VELOCITY = 6,   // "T Vel": velocity sensitivity of the tone level
  PARAM_AMP_ATTACK = 7,      // "Attack": amplitude envelope attack time, seconds
  PARAM_AMP_DECAY = 8,       // "Sustain" to hosts, DECAY in the editor: decay time, seconds
  PARAM_AMP_SUSTAIN = 9,     // "Decay" to hosts, SUSTAIN in the editor: sustain level
  PARAM_AMP_RELEASE = 10,    // "Release": amplitude envelope release time, seconds
  PARAM_AMP_VELOCITY = 11,   // "Velocity": velocity sensitivity of the carrier level
  PARAM_VOLUME = 12,         // "Volume": carrier level
  PARAMETER_COUNT = 13,
};

constexpr bool isParameterIndex(std::int32_t index) { return index >= 0 && index < PARAMETER_COUNT; }

// Host-visible name of a parameter; null for an index outside 0..12. Hosts see the
// names of 8 and 9 crossed over against the editor's captions; stored chunks and
// automation rely on these names, so they stay as they are.
const char* parameterName(std::int32_t index);

// The label and the display text are the same for every parameter and every value.
constexpr const char* kParameterLabel = "Ynk";
constexpr const char* kParameterDisplay = "A few";
