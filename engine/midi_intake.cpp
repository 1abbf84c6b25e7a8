// Decoding of the MIDI messages the synthesiser responds to.
#include "engine/midi_intake.h"

#include <cstdint>

#include "engine/note_table.h"

namespace {

constexpr VstInt32 kProcessed = 1;
constexpr std::uint8_t kStatusMask = 0xF0;  // the channel bits are ignored
constexpr std::uint8_t kDataMask = 0x7F;    // MIDI data bytes carry 7 bits
constexpr std::uint8_t kNoteOff = 0x80;
constexpr std::uint8_t kNoteOn = 0x90;
constexpr std::uint8_t kControlChange = 0xB0;
constexpr std::uint8_t kPitchBend = 0xE0;
constexpr std::uint8_t kAllSoundOff = 123;  // controllers that silence every voice
constexpr std::uint8_t kAllNotesOffMono = 126;
constexpr float kVelocityScale = 0.007874016f;  // nearest float to 1/127
constexpr std::int32_t kBendHighWeight = 128;
constexpr float kBendScale = 0.00006103515625f;  // 1/16384
constexpr float kBendSpan = 2.0f;
constexpr float kBendBottom = 1.0f;

void handleMidi(SynthEngine& engine, const VstMidiEvent& midi) {
  const std::uint8_t status = static_cast<std::uint8_t>(midi.midiData[0]) & kStatusMask;
  const std::uint8_t first = static_cast<std::uint8_t>(midi.midiData[1]);
  const std::uint8_t second = static_cast<std::uint8_t>(midi.midiData[2]);
  const std::int32_t offset = midi.deltaFrames;
  switch (status) {
    case kNoteOn: {
      const std::int32_t note = first & kDataMask;
      const std::int32_t velocity = second & kDataMask;
      if (velocity == 0) {
        engine.noteOff(note, offset);
      } else if (NoteFrequencyTable::hasNote(note)) {
        // Notes below 12 have no frequency: their note-ons are ignored.
        engine.noteOn(note, NoteFrequencyTable::frequency(note), static_cast<float>(velocity) * kVelocityScale,
                      offset);
      }
      break;
    }
    case kNoteOff:
      engine.noteOff(first & kDataMask, offset);
      break;
    case kControlChange:
      if (first == kAllSoundOff || first == kAllNotesOffMono) engine.allNotesOff();
      break;
    case kPitchBend: {
      const std::int32_t position = ((second & kDataMask) * kBendHighWeight) | (first & kDataMask);
      engine.pitchBend(static_cast<float>(position) * kBendScale * kBendSpan - kBendBottom, offset);
      break;
    }
    default:
      break;
  }
}

}  // namespace

VstInt32 processMidiEvents(SynthEngine& engine, const VstEvents* events) {
  if (events == nullptr) return kProcessed;
  // The host's list runs on past the two entries the record declares.
  VstEvent* const* list = events->events;
  for (VstInt32 i = 0; i < events->numEvents; ++i) {
    const VstEvent* event = list[i];
    if (event == nullptr || event->type != kVstMidiType) continue;
    handleMidi(engine, *reinterpret_cast<const VstMidiEvent*>(event));
  }
  return kProcessed;
}
