// The bytes of the MIDI messages Quindle plays and its hosts send: status values (the
// channel in the low four bits is left out), the controllers that silence every voice,
// and the sizes of the data. One list for the engine's intake, the formats that turn their
// own note events into MIDI, and the host tools that write MIDI.
#pragma once

#include <cstdint>

namespace midi_bytes {

constexpr std::uint8_t kStatusBit = 0x80;   // a status byte, not a data byte
constexpr std::uint8_t kStatusMask = 0xF0;  // the kind of message, without its channel
constexpr std::uint8_t kChannelMask = 0x0F;
constexpr std::uint8_t kDataMask = 0x7F;    // data bytes carry seven bits
constexpr std::int32_t kDataBits = 7;

constexpr std::uint8_t kNoteOff = 0x80;
constexpr std::uint8_t kNoteOn = 0x90;
constexpr std::uint8_t kPolyPressure = 0xA0;
constexpr std::uint8_t kControlChange = 0xB0;
constexpr std::uint8_t kProgramChange = 0xC0;
constexpr std::uint8_t kChannelPressure = 0xD0;
constexpr std::uint8_t kPitchBend = 0xE0;
constexpr std::uint8_t kSystem = 0xF0;

// Controllers after which no voice sounds: all notes off, and mono mode on (which ends
// every note as well).
constexpr std::uint8_t kAllNotesOff = 123;
constexpr std::uint8_t kMonoModeOn = 126;

constexpr std::int32_t kChannels = 16;
constexpr std::int32_t kNotes = 128;
constexpr std::int32_t kBendCentre = 8192;
constexpr std::int32_t kBendTop = 16383;

}  // namespace midi_bytes
