// The value of a parameter as a musician reads it, for hosts that show value texts:
// the two BRIGHT switches "on" (their lamp is lit, 0.5 and below) or "off"; the four
// times in seconds ("0.140 s"); every other value as a level ("0.375"); three decimals,
// with a point whatever the host's locale. Reading takes back what writing gives, and
// plain numbers.
#pragma once

#include <cstddef>
#include <cstdint>

enum ParameterKind : std::int32_t {
  PARAMETER_SWITCH,   // A Mode, T Mode: the editor's BRIGHT switches
  PARAMETER_SECONDS,  // A Decay, Attack, Sustain (the decay time), Release
  PARAMETER_LEVEL,    // every other parameter
};

constexpr const char* kSwitchOnText = "on";
constexpr const char* kSwitchOffText = "off";
constexpr const char* kSecondsUnit = "s";
// The values a switch takes when its text is read back.
constexpr float kSwitchOnValue = 0.0f;
constexpr float kSwitchOffValue = 1.0f;
// A switch's lamp is lit up to this value.
constexpr float kSwitchLitUpTo = 0.5f;
// Room for every text formatParameterValue writes, terminator included.
constexpr std::size_t kParameterTextCapacity = 24;

// For an index in 0..12.
ParameterKind parameterKind(std::int32_t index);

// Writes the text and a terminator into `out` (at most capacity - 1 characters) and
// answers its length; 0 with `out` empty for an index outside 0..12, and 0 with `out`
// untouched when there is no room at all.
std::size_t formatParameterValue(std::int32_t index, float value, char* out, std::size_t capacity);

// Reads a text as formatParameterValue writes it, or a plain number (surrounding spaces
// and, for times, the unit are allowed); numbers are limited to 0..1. False, with
// `value` unchanged, for anything else.
bool parseParameterValue(std::int32_t index, const char* text, float& value);
