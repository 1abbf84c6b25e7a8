// The engine's voice choice, note-offs, all-notes-off and the limits of the event queue.
#include <gtest/gtest.h>

#include "engine/pitch_factor.h"
#include "params/parameter_table.h"
#include "tests/engine/engine_test_support.h"

namespace {

using engine_test::makeProgramEngine;
using engine_test::renderBlock;

constexpr float kFrequency = 261.6f;

std::int32_t startVoiceOfLastEvent(const SynthEngine& engine) {
  return engine.queuedEvent(engine.queuedEventCount() - 1).voice;
}

TEST(VoicePool, ConstructionState) {
  SynthEngine engine;
  EXPECT_EQ(engine.nextVoiceIndex(), 8);
  EXPECT_EQ(engine.queuedEventCount(), 0);
  ASSERT_EQ(engine.order().size(), 9);
  for (std::int32_t i = 0; i < 9; ++i) {
    EXPECT_EQ(engine.order().at(i), i);
    EXPECT_FALSE(engine.voice(i).isActive());
    EXPECT_EQ(engine.voice(i).getPitchFactor(), 1.0f);
  }
  for (std::int32_t i = 0; i < SynthEngine::kParameterCount; ++i)
    EXPECT_EQ(engine.liveParameters()[i].load(), 0.1f);
}

TEST(VoicePool, NotesInSeparateBlocksTakeVoicesOneAhead) {
  auto engine = makeProgramEngine(0);
  const std::int32_t expected[] = {8, 0, 1, 2, 3, 4, 5, 6, 7};
  for (std::int32_t i = 0; i < 9; ++i) {
    engine->noteOn(60 + i, kFrequency, 1.0f, 0);
    EXPECT_EQ(startVoiceOfLastEvent(*engine), expected[i]) << i;
    EXPECT_TRUE(engine->voice(expected[i]).isStartPending());
    renderBlock(*engine, 16);
    EXPECT_EQ(engine->voice(expected[i]).getNote(), 60 + i);
  }
  // The ninth note started on voice 7 and faded voice 8, which holds the first note.
  EXPECT_EQ(engine->nextVoiceIndex(), 8);
  EXPECT_EQ(engine->voice(8).getAmpEnvelope().getState(), ENV_FADE);
  EXPECT_TRUE(engine->voice(8).isReleased());
  EXPECT_EQ(engine->order().at(8), 8);
  // With every voice held, each further note fades the least recently chosen one.
  engine->noteOn(80, kFrequency, 1.0f, 0);
  EXPECT_EQ(startVoiceOfLastEvent(*engine), 8);
  EXPECT_EQ(engine->nextVoiceIndex(), 0);
  EXPECT_EQ(engine->voice(0).getAmpEnvelope().getState(), ENV_FADE);
}

TEST(VoicePool, ReleasedVoiceIsTakenBeforeHeldOnes) {
  auto engine = makeProgramEngine(0);
  for (std::int32_t i = 0; i < 9; ++i) {
    engine->noteOn(60 + i, kFrequency, 1.0f, 0);
    renderBlock(*engine, 16);
  }
  // Voice 3 holds note 64 (fifth note); release it, then a note-on chooses it.
  engine->noteOff(64, 0);
  ASSERT_EQ(engine->queuedEventCount(), 1);
  EXPECT_EQ(engine->queuedEvent(0).voice, 3);
  renderBlock(*engine, 16);
  EXPECT_TRUE(engine->voice(3).isReleased());
  engine->noteOn(90, kFrequency, 1.0f, 0);
  EXPECT_EQ(engine->nextVoiceIndex(), 3);
}

TEST(VoicePool, ManyNotesInOneBlockSkipPendingVoicesFirst) {
  auto engine = makeProgramEngine(0);
  for (std::int32_t i = 0; i < 12; ++i) engine->noteOn(60 + i, kFrequency, 1.0f, i);
  // Starts on 8, 0..7; from then on every voice is pending and the second pass takes
  // those marked released by being chosen (voice 8 was never chosen): 0, 1, 2.
  const std::int32_t expected[] = {8, 0, 1, 2, 3, 4, 5, 6, 7, 0, 1, 2};
  for (std::int32_t i = 0; i < 12; ++i) EXPECT_EQ(engine->queuedEvent(i).voice, expected[i]) << i;
}

TEST(VoicePool, SameNoteTwiceUsesTwoVoicesAndOneNoteOffReleasesBoth) {
  auto engine = makeProgramEngine(0);
  engine->noteOn(60, kFrequency, 1.0f, 0);
  renderBlock(*engine, 16);
  engine->noteOn(60, kFrequency, 1.0f, 0);
  renderBlock(*engine, 16);
  engine->noteOff(60, 5);
  ASSERT_EQ(engine->queuedEventCount(), 2);
  EXPECT_EQ(engine->queuedEvent(0).voice, 0);
  EXPECT_EQ(engine->queuedEvent(1).voice, 8);
  EXPECT_EQ(engine->queuedEvent(0).type, EVENT_NOTE_RELEASE);
  EXPECT_EQ(engine->queuedEvent(0).offset, 5);
  renderBlock(*engine, 16);
  EXPECT_EQ(engine->voice(0).getAmpEnvelope().getState(), ENV_RELEASE);
  EXPECT_EQ(engine->voice(8).getAmpEnvelope().getState(), ENV_RELEASE);
}

TEST(VoicePool, NoteStartedAndEndedInOneBlockIsReleased) {
  auto engine = makeProgramEngine(0);
  engine->noteOn(60, kFrequency, 1.0f, 0);
  engine->noteOff(60, 10);
  ASSERT_EQ(engine->queuedEventCount(), 2);  // the release follows the start on voice 8
  EXPECT_EQ(engine->queuedEvent(1).type, EVENT_NOTE_RELEASE);
  EXPECT_EQ(engine->queuedEvent(1).voice, 8);
  renderBlock(*engine, 32);
  EXPECT_TRUE(engine->voice(8).isReleased());
  EXPECT_EQ(engine->voice(8).getAmpEnvelope().getState(), ENV_RELEASE);
  // Notes never played match nothing, also outside the MIDI range.
  engine->noteOff(61, 0);
  engine->noteOff(-1, 0);
  EXPECT_EQ(engine->queuedEventCount(), 0);
}

TEST(VoicePool, NoteOffOfTheOldNoteSparesTheVoiceTakingANewOne) {
  auto engine = makeProgramEngine(0);
  // Nine notes fill the pool; the ninth note-on chose voice 8 (holding note 60) next.
  for (std::int32_t i = 0; i < 9; ++i) {
    engine->noteOn(60 + i, kFrequency, 1.0f, 0);
    renderBlock(*engine, 16);
  }
  ASSERT_EQ(engine->nextVoiceIndex(), 8);
  // Re-striking: the new note starts on voice 8, then note 60 is let go in the same block.
  engine->noteOn(72, kFrequency, 1.0f, 0);
  engine->noteOff(60, 4);
  for (std::int32_t i = 0; i < engine->queuedEventCount(); ++i) {
    EXPECT_FALSE(engine->queuedEvent(i).type == EVENT_NOTE_RELEASE && engine->queuedEvent(i).voice == 8);
  }
  renderBlock(*engine, 16);
  EXPECT_EQ(engine->voice(8).getNote(), 72);
  EXPECT_FALSE(engine->voice(8).isReleased());
  EXPECT_NE(engine->voice(8).getAmpEnvelope().getState(), ENV_RELEASE);
  EXPECT_TRUE(engine->voice(8).isActive());
}

TEST(VoicePool, AllNotesOffSilencesButQueuedStartsStillStart) {
  auto engine = makeProgramEngine(0);
  engine->noteOn(60, kFrequency, 1.0f, 0);
  renderBlock(*engine, 16);
  engine->noteOn(64, kFrequency, 1.0f, 8);
  const std::int32_t state = engine->voice(8).getAmpEnvelope().getState();
  const float level = engine->voice(8).getAmpEnvelope().getLevel();
  engine->allNotesOff();
  EXPECT_FALSE(engine->voice(8).isActive());
  // Envelopes untouched.
  EXPECT_EQ(engine->voice(8).getAmpEnvelope().getState(), state);
  EXPECT_EQ(engine->voice(8).getAmpEnvelope().getLevel(), level);
  EXPECT_NE(state, ENV_IDLE);
  EXPECT_EQ(engine->queuedEventCount(), 1);
  renderBlock(*engine, 16);
  EXPECT_FALSE(engine->voice(8).isActive());
  EXPECT_TRUE(engine->voice(0).isActive());
}

TEST(VoicePool, FullQueueDropsNoteOnsWhole) {
  auto engine = makeProgramEngine(0);
  for (std::int32_t i = 0; i < SynthEngine::kEventCapacity; ++i) engine->pitchBend(0.0f, i);
  const std::int32_t next = engine->nextVoiceIndex();
  engine->noteOn(60, kFrequency, 1.0f, 70);
  EXPECT_EQ(engine->queuedEventCount(), SynthEngine::kEventCapacity);
  EXPECT_EQ(engine->nextVoiceIndex(), next);
  for (std::int32_t i = 0; i < 9; ++i) {
    EXPECT_FALSE(engine->voice(i).isStartPending());
    EXPECT_NE(engine->voice(i).getAmpEnvelope().getState(), ENV_FADE);
  }
}

TEST(VoicePool, ReleaseNeverLostWhenTheQueueIsFull) {
  auto engine = makeProgramEngine(0);
  engine->noteOn(60, kFrequency, 1.0f, 0);
  renderBlock(*engine, 16);
  for (std::int32_t i = 0; i < SynthEngine::kEventCapacity; ++i) engine->pitchBend(0.0f, i);
  engine->noteOff(60, 3);
  EXPECT_EQ(engine->queuedEventCount(), SynthEngine::kEventCapacity);
  EXPECT_TRUE(engine->releaseWaitsForBlockEnd(8));
  renderBlock(*engine, 128);
  // Applied after the block's queued events, at the block's end.
  EXPECT_FALSE(engine->releaseWaitsForBlockEnd(8));
  EXPECT_TRUE(engine->voice(8).isReleased());
  EXPECT_EQ(engine->voice(8).getAmpEnvelope().getState(), ENV_RELEASE);
  for (std::int32_t i = 0; i < 20 && engine->voice(8).isActive(); ++i) renderBlock(*engine, 1024);
  EXPECT_FALSE(engine->voice(8).isActive());
}

TEST(VoicePool, LatestOverflowingBendIsAppliedAtBlockEnd) {
  auto engine = makeProgramEngine(0);
  for (std::int32_t i = 0; i < SynthEngine::kEventCapacity; ++i) engine->pitchBend(0.0f, i);
  engine->pitchBend(0.25f, 100);
  engine->pitchBend(-0.5f, 100);
  renderBlock(*engine, 128);
  for (std::int32_t i = 0; i < 9; ++i) EXPECT_EQ(engine->voice(i).getPitchFactor(), pitchFactor(-0.5f));
}

TEST(VoicePool, PitchBendReachesEveryVoiceAndOutlivesNotes) {
  auto engine = makeProgramEngine(0);
  engine->pitchBend(-1.0f, 0);
  ASSERT_EQ(engine->queuedEventCount(), 1);
  EXPECT_EQ(engine->queuedEvent(0).type, EVENT_PITCH_BEND);
  EXPECT_EQ(engine->queuedEvent(0).value, -1.0f);
  renderBlock(*engine, 8);
  engine->noteOn(60, kFrequency, 1.0f, 0);
  renderBlock(*engine, 8);
  for (std::int32_t i = 0; i < 9; ++i) EXPECT_EQ(engine->voice(i).getPitchFactor(), 0.5f);
}

TEST(VoicePool, UpdateVoicesAndSampleRateReachEveryVoice) {
  auto engine = makeProgramEngine(0);
  engine->liveParameters()[PARAM_AMP_ATTACK].store(0.5f);
  engine->updateVoices(PARAM_AMP_ATTACK);
  engine->setSampleRate(48000.0f);
  for (std::int32_t i = 0; i < 9; ++i) {
    EXPECT_EQ(engine->voice(i).getSampleRate(), 48000.0f);
    EXPECT_EQ(engine->voice(i).getAmpEnvelope().rates().attackRate, static_cast<float>(0.5 / 48000.0 / 0.5));
  }
}

}  // namespace
