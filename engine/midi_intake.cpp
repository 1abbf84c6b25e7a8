// Decoding of the MIDI messages the synthesiser responds to.
#include "engine/midi_intake.h"

#include "engine/midi_bytes.h"
#include "engine/note_table.h"
#include "engine/synth_engine.h"

namespace {

using namespace midi_bytes;  // the channel bits of a status are ignored
constexpr std::size_t kTwoByteMessage = 2;  // status and one data byte
constexpr std::size_t kThreeByteMessage = 3;
constexpr float kVelocityScale = 0.007874016f;  // nearest float to 1/127
constexpr std::int32_t kBendHighWeight = 128;
constexpr float kBendScale = 0.00006103515625f;  // 1/16384
constexpr float kBendSpan = 2.0f;
constexpr float kBendBottom = 1.0f;
constexpr std::int32_t kSlotsPerMessage = 1;  // a note start or a pitch bend

MidiMessage ignored() { return MidiMessage{MIDI_IGNORED, 0, 0.0f, 0.0f}; }

}  // namespace

MidiMessage decodeMidiMessage(const std::uint8_t* bytes, std::size_t size) {
  if (bytes == nullptr || size < kTwoByteMessage || (bytes[0] & kStatusBit) == 0) return ignored();
  const std::uint8_t status = bytes[0] & kStatusMask;
  const std::int32_t first = bytes[1] & kDataMask;
  const bool complete = size >= kThreeByteMessage;
  const std::int32_t second = complete ? bytes[2] & kDataMask : 0;
  switch (status) {
    case kNoteOn:
      if (!complete) return ignored();
      if (second == 0) return MidiMessage{MIDI_NOTE_OFF, first, 0.0f, 0.0f};
      // Notes below 12 have no frequency: their note-ons are ignored.
      if (!NoteFrequencyTable::hasNote(first)) return ignored();
      return MidiMessage{MIDI_NOTE_ON, first, static_cast<float>(second) * kVelocityScale, 0.0f};
    case kNoteOff:
      // The release velocity is not used: a two-byte note-off is complete enough.
      return MidiMessage{MIDI_NOTE_OFF, first, 0.0f, 0.0f};
    case kControlChange:
      // The controller number is compared as it arrives (a byte with its top bit set is
      // no controller); the controller's value is not used.
      if (bytes[1] == kAllNotesOff || bytes[1] == kMonoModeOn) return MidiMessage{MIDI_ALL_NOTES_OFF, 0, 0.0f, 0.0f};
      return ignored();
    case kPitchBend: {
      if (!complete) return ignored();
      const std::int32_t position = (second * kBendHighWeight) | first;
      return MidiMessage{MIDI_PITCH_BEND, 0, 0.0f, static_cast<float>(position) * kBendScale * kBendSpan - kBendBottom};
    }
    default:
      return ignored();
  }
}

void applyMidiMessage(SynthEngine& engine, const MidiMessage& message, std::int32_t offset) {
  switch (message.action) {
    case MIDI_NOTE_ON:
      engine.noteOn(message.note, NoteFrequencyTable::frequency(message.note), message.velocity, offset);
      break;
    case MIDI_NOTE_OFF:
      engine.noteOff(message.note, offset);
      break;
    case MIDI_PITCH_BEND:
      engine.pitchBend(message.bend, offset);
      break;
    case MIDI_ALL_NOTES_OFF:
      // At once, for the whole block: the offset plays no part.
      engine.allNotesOff();
      break;
    default:
      break;
  }
}

bool midiMessageFits(const SynthEngine& engine, const MidiMessage& message) {
  switch (message.action) {
    case MIDI_NOTE_ON:
    case MIDI_PITCH_BEND:
      return engine.freeEventSlots() >= kSlotsPerMessage;
    case MIDI_NOTE_OFF:
      return engine.freeEventSlots() >= engine.voicesHoldingNote(message.note);
    default:
      return true;
  }
}

void receiveMidiMessage(SynthEngine& engine, const std::uint8_t* bytes, std::size_t size, std::int32_t offset) {
  applyMidiMessage(engine, decodeMidiMessage(bytes, size), offset);
}
