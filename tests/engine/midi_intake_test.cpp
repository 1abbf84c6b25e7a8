// MIDI intake: what each message becomes, and what is skipped.
#include <gtest/gtest.h>

#include "engine/midi_intake.h"
#include "shell/vst_midi_events.h"
#include "engine/note_table.h"
#include "tests/engine/engine_test_support.h"

namespace {

using engine_test::makeProgramEngine;
using engine_test::MidiBlock;
using engine_test::renderBlock;

class MidiIntake : public ::testing::Test {
 protected:
  void SetUp() override {
    NoteFrequencyTable::fill();
    engine = makeProgramEngine(0);
  }
  std::unique_ptr<SynthEngine> engine;
};

TEST_F(MidiIntake, MissingOrEmptyListsAreAnsweredWithOne) {
  EXPECT_EQ(processMidiEvents(*engine, nullptr), 1);
  MidiBlock block;
  block.addNoteOn(60, 100, 0);
  VstEvents* list = block.list();
  list->numEvents = -3;
  EXPECT_EQ(processMidiEvents(*engine, list), 1);
  list->numEvents = 1;
  list->events[0] = nullptr;
  EXPECT_EQ(processMidiEvents(*engine, list), 1);
  EXPECT_EQ(engine->queuedEventCount(), 0);
}

TEST_F(MidiIntake, NoteOnQueuesFrequencyVelocityAndOffset) {
  MidiBlock block;
  block.addNoteOn(69, 127, 17).addNoteOn(60, 1, 3, 9);
  EXPECT_EQ(processMidiEvents(*engine, block.list()), 1);
  ASSERT_EQ(engine->queuedEventCount(), 2);
  const EngineEvent& first = engine->queuedEvent(0);
  EXPECT_EQ(first.type, EVENT_NOTE_START);
  EXPECT_EQ(first.note, 69);
  EXPECT_EQ(first.frequency, 220.0f);
  EXPECT_EQ(first.value, 1.0f);
  EXPECT_EQ(first.offset, 17);
  EXPECT_EQ(first.voice, 8);
  const EngineEvent& second = engine->queuedEvent(1);  // channel 10 alike
  EXPECT_EQ(second.note, 60);
  EXPECT_EQ(second.value, 0.007874016f);
  EXPECT_EQ(second.frequency, NoteFrequencyTable::frequency(60));
}

TEST_F(MidiIntake, NotesWithoutAFrequencyAreIgnored) {
  MidiBlock block;
  for (std::int32_t note = 0; note < 12; ++note) block.addNoteOn(note, 100, 0);
  processMidiEvents(*engine, block.list());
  EXPECT_EQ(engine->queuedEventCount(), 0);
  EXPECT_EQ(engine->nextVoiceIndex(), 8);
  for (std::int32_t i = 0; i < 9; ++i) EXPECT_NE(engine->voice(i).getAmpEnvelope().getState(), ENV_FADE);
}

TEST_F(MidiIntake, NoteOffsAndVelocityZero) {
  MidiBlock start;
  start.addNoteOn(60, 100, 0).addNoteOn(62, 100, 0);
  processMidiEvents(*engine, start.list());
  renderBlock(*engine, 16);
  MidiBlock stop;
  stop.addNoteOn(60, 0, 4, 3).add(0x85, 62, 0, 7);
  processMidiEvents(*engine, stop.list());
  ASSERT_EQ(engine->queuedEventCount(), 2);
  EXPECT_EQ(engine->queuedEvent(0).type, EVENT_NOTE_RELEASE);
  EXPECT_EQ(engine->queuedEvent(0).voice, 8);
  EXPECT_EQ(engine->queuedEvent(0).offset, 4);
  EXPECT_EQ(engine->queuedEvent(1).voice, 0);
  EXPECT_EQ(engine->queuedEvent(1).offset, 7);
}

TEST_F(MidiIntake, ControllersSilenceOnly123And126) {
  MidiBlock other;
  other.add(0xB0, 120, 0, 0).add(0xB3, 7, 100, 0).add(0xB0, 64, 127, 0).add(0xB0, 123 | 0x80, 0, 0);
  for (std::uint8_t controller : {123, 126}) {
    MidiBlock start;
    start.addNoteOn(60, 100, 0);
    processMidiEvents(*engine, start.list());
    renderBlock(*engine, 16);
    processMidiEvents(*engine, other.list());
    std::int32_t sounding = 0;
    for (std::int32_t i = 0; i < 9; ++i) sounding += engine->voice(i).isActive() ? 1 : 0;
    EXPECT_GE(sounding, 1);
    MidiBlock silence;
    silence.add(static_cast<std::uint8_t>(0xB0 | 5), controller, 0, 200);
    processMidiEvents(*engine, silence.list());
    for (std::int32_t i = 0; i < 9; ++i) EXPECT_FALSE(engine->voice(i).isActive()) << int(controller);
    // Silent for the whole block, also before the controller's offset.
    EXPECT_EQ(renderBlock(*engine, 256), std::vector<float>(256, 0.0f));
  }
}

TEST_F(MidiIntake, OtherMessagesAndEventTypesAreSkipped) {
  MidiBlock block;
  block.addOther(kVstSysExType).addOther(0).add(0xA0, 60, 100, 0).add(0xC0, 5, 0, 0).add(0xD0, 90, 0, 0)
      .add(0xF0, 0x7E, 0x7F, 0).add(0xF8, 0, 0, 0).add(0x70, 60, 100, 0);
  processMidiEvents(*engine, block.list());
  EXPECT_EQ(engine->queuedEventCount(), 0);
  EXPECT_EQ(engine->nextVoiceIndex(), 8);
}

TEST_F(MidiIntake, PitchBendPositions) {
  MidiBlock block;
  block.addBend(0, 0).addBend(16383, 5).addBend(8192, 9);
  processMidiEvents(*engine, block.list());
  ASSERT_EQ(engine->queuedEventCount(), 3);
  EXPECT_EQ(engine->queuedEvent(0).type, EVENT_PITCH_BEND);
  EXPECT_EQ(engine->queuedEvent(0).value, -1.0f);
  EXPECT_EQ(engine->queuedEvent(1).value, 0.9998779296875f);
  EXPECT_EQ(engine->queuedEvent(2).value, 0.0f);
  EXPECT_EQ(engine->queuedEvent(2).offset, 9);
  renderBlock(*engine, 16);
  EXPECT_EQ(engine->voice(4).getPitchFactor(), 1.0f);
  MidiBlock down;
  down.addBend(0, 0);
  processMidiEvents(*engine, down.list());
  renderBlock(*engine, 16);
  EXPECT_EQ(engine->voice(4).getPitchFactor(), 0.5f);
  // Data bytes are seven bits: a stray high bit does not push the bend past the top.
  MidiBlock stray;
  stray.add(0xE0, 0xFF, 0xFF, 0);
  processMidiEvents(*engine, stray.list());
  EXPECT_EQ(engine->queuedEvent(0).value, 0.9998779296875f);
}

// Formats other than VST 2.4 hand over messages of their own length.
TEST(MidiBytes, MessagesOfEveryLengthDecodeSafely) {
  NoteFrequencyTable::fill();
  const std::uint8_t noteOff[] = {0x83, 60};
  EXPECT_EQ(decodeMidiMessage(noteOff, 2).action, MIDI_NOTE_OFF);
  const std::uint8_t noteOn[] = {0x90, 60, 100};
  EXPECT_EQ(decodeMidiMessage(noteOn, 2).action, MIDI_IGNORED);  // its velocity is missing
  EXPECT_EQ(decodeMidiMessage(noteOn, 3).action, MIDI_NOTE_ON);
  EXPECT_EQ(decodeMidiMessage(noteOn, 1).action, MIDI_IGNORED);
  EXPECT_EQ(decodeMidiMessage(nullptr, 3).action, MIDI_IGNORED);
  const std::uint8_t runningStatus[] = {60, 100, 0};  // no status byte: not ours to guess
  EXPECT_EQ(decodeMidiMessage(runningStatus, 3).action, MIDI_IGNORED);
  const std::uint8_t bend[] = {0xE5, 0x00, 0x40};
  EXPECT_EQ(decodeMidiMessage(bend, 2).action, MIDI_IGNORED);
  EXPECT_EQ(decodeMidiMessage(bend, 3).bend, 0.0f);
  const std::uint8_t allOff[] = {0xB0, 123};
  EXPECT_EQ(decodeMidiMessage(allOff, 2).action, MIDI_ALL_NOTES_OFF);
  const std::uint8_t notAController[] = {0xB0, 123 | 0x80, 0};
  EXPECT_EQ(decodeMidiMessage(notAController, 3).action, MIDI_IGNORED);
}

}  // namespace
