// MIDI intake: the bytes of one MIDI message with its sample offset in the coming block
// become an engine call. Every plug-in format hands its MIDI to this one decoder.
#pragma once

#include <cstddef>
#include <cstdint>

class SynthEngine;

// What a message asks of the engine: note on, note off, pitch bend, all notes off
// (controllers 123 and 126), on every channel. Everything else is MIDI_IGNORED.
enum MidiAction : std::int32_t {
  MIDI_IGNORED = 0,
  MIDI_NOTE_ON,
  MIDI_NOTE_OFF,
  MIDI_PITCH_BEND,
  MIDI_ALL_NOTES_OFF,
};

struct MidiMessage {
  MidiAction action;
  std::int32_t note;  // note on and note off
  float velocity;     // note on: 1/127 .. 1
  float bend;         // pitch bend: -1 .. +1 (exactly 0 at the centre)
};

// Decodes `size` bytes starting with a status byte. A message shorter than its status
// needs, a data byte where the status belongs, a note-on below the note table (notes 0
// to 11 have no frequency) and every message the synthesiser does not play are ignored.
MidiMessage decodeMidiMessage(const std::uint8_t* bytes, std::size_t size);

// Host's audio thread, before the render of the block the offset refers to.
void applyMidiMessage(SynthEngine& engine, const MidiMessage& message, std::int32_t offset);

// True when the engine's event queue has room for everything the message queues (a
// note-off queues one release per voice holding the note).
bool midiMessageFits(const SynthEngine& engine, const MidiMessage& message);

// Decode and apply in one step.
void receiveMidiMessage(SynthEngine& engine, const std::uint8_t* bytes, std::size_t size, std::int32_t offset);
