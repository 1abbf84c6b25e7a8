// The block render loop: events at their offsets, segments, pieces and clamping.
#include <gtest/gtest.h>

#include "shell/vst_midi_events.h"
#include "engine/note_table.h"
#include "tests/engine/engine_test_support.h"

namespace {

using engine_test::makeProgramEngine;
using engine_test::renderBlock;
using engine_test::renderInto;
using engine_test::sameBits;

constexpr float kFrequency = 196.0f;

TEST(Render, NoteSoundsExactlyFromItsOffset) {
  auto engine = makeProgramEngine(0);
  engine->noteOn(48, kFrequency, 1.0f, 100);
  const std::vector<float> out = renderBlock(*engine, 512);
  for (std::int32_t i = 0; i < 100; ++i) ASSERT_EQ(out[i], 0.0f) << i;
  EXPECT_NE(out[100], 0.0f);
  EXPECT_EQ(engine->queuedEventCount(), 0);
}

TEST(Render, EarlierVoicesKeepSoundingBeforeTheOffset) {
  auto a = makeProgramEngine(2);
  auto b = makeProgramEngine(2);
  for (auto* e : {a.get(), b.get()}) {
    e->noteOn(48, kFrequency, 1.0f, 0);
    renderBlock(*e, 64);
  }
  b->noteOn(55, 293.7f, 1.0f, 40);
  const std::vector<float> alone = renderBlock(*a, 128);
  const std::vector<float> joined = renderBlock(*b, 128);
  for (std::int32_t i = 0; i < 40; ++i) ASSERT_EQ(alone[i], joined[i]) << i;
  EXPECT_NE(alone[40], joined[40]);
}

// One long scenario, its first 1024 samples as one host block or as two.
std::vector<float> scenario(bool splitBlocks) {
  auto engine = makeProgramEngine(5);
  std::vector<float> out;
  engine->noteOn(60, 261.6f, 0.9f, 10);
  if (splitBlocks) {
    // The same 1024 samples as two host blocks, offsets taken relative to each.
    renderInto(*engine, out, 300);
    engine->noteOn(64, 329.6f, 0.5f, 0);
    engine->pitchBend(0.3f, 0);
    renderInto(*engine, out, 724);
  } else {
    engine->noteOn(64, 329.6f, 0.5f, 300);
    engine->pitchBend(0.3f, 300);
    renderInto(*engine, out, 1024);
  }
  engine->noteOff(60, 5);
  renderInto(*engine, out, 4000);
  return out;
}

TEST(Render, SplitBlocksGiveTheSameBits) {
  EXPECT_TRUE(sameBits(scenario(true), scenario(false)));
}

TEST(Render, EventsAtOneOffsetAreAllAppliedBeforeThatSample) {
  auto bentFirst = makeProgramEngine(1);
  bentFirst->pitchBend(-0.5f, 0);
  renderBlock(*bentFirst, 50);
  bentFirst->noteOn(57, 220.0f, 1.0f, 0);
  const std::vector<float> expected = renderBlock(*bentFirst, 200);

  auto together = makeProgramEngine(1);
  together->noteOn(57, 220.0f, 1.0f, 50);
  together->pitchBend(-0.5f, 50);
  const std::vector<float> out = renderBlock(*together, 250);
  EXPECT_TRUE(sameBits(std::vector<float>(out.begin() + 50, out.end()), expected));
}

TEST(Render, OffsetsBeyondTheBlockAreClamped) {
  // An offset past the block's end starts the note at the end: silent now, then it
  // sounds as if it had started at the next block's first sample.
  auto late = makeProgramEngine(0);
  late->noteOn(60, 261.6f, 1.0f, 5000);
  EXPECT_EQ(renderBlock(*late, 256), std::vector<float>(256, 0.0f));
  auto next = makeProgramEngine(0);
  renderBlock(*next, 256);
  next->noteOn(60, 261.6f, 1.0f, 0);
  EXPECT_TRUE(sameBits(renderBlock(*late, 256), renderBlock(*next, 256)));
  // A negative offset counts as 0.
  auto early = makeProgramEngine(0);
  early->noteOn(60, 261.6f, 1.0f, -40);
  auto zero = makeProgramEngine(0);
  zero->noteOn(60, 261.6f, 1.0f, 0);
  EXPECT_TRUE(sameBits(renderBlock(*early, 256), renderBlock(*zero, 256)));
}

TEST(Render, OffsetBeforeTheCurrentPositionIsAppliedThere) {
  // Unsorted events: the later-listed note with the smaller offset starts where the
  // position already is; nothing is rendered and added twice.
  auto unsorted = makeProgramEngine(2);
  unsorted->noteOn(60, 261.6f, 1.0f, 100);
  unsorted->noteOn(67, 392.0f, 1.0f, 30);
  auto sorted = makeProgramEngine(2);
  sorted->noteOn(60, 261.6f, 1.0f, 100);
  sorted->noteOn(67, 392.0f, 1.0f, 100);
  EXPECT_TRUE(sameBits(renderBlock(*unsorted, 256), renderBlock(*sorted, 256)));
}

TEST(Render, ZeroLengthBlockStillAppliesTheQueue) {
  auto engine = makeProgramEngine(0);
  engine->noteOn(60, 261.6f, 1.0f, 10);
  std::vector<float> scratch(SynthEngine::kScratchFloats);
  float output[1] = {};
  engine->render(scratch.data(), output, 0);
  EXPECT_EQ(engine->queuedEventCount(), 0);
  EXPECT_TRUE(engine->voice(8).isActive());
  // Without a work area nothing happens and the queue waits.
  engine->noteOn(62, 261.6f, 1.0f, 10);
  engine->render(nullptr, output, 1);
  EXPECT_EQ(engine->queuedEventCount(), 1);
}

TEST(Render, MidiBlockDrivesTheEngine) {
  NoteFrequencyTable::fill();
  auto engine = makeProgramEngine(7);
  engine_test::MidiBlock block;
  block.addNoteOn(60, 100, 0).addNoteOn(64, 90, 64).addNoteOn(67, 80, 128).addNoteOff(60, 200);
  processMidiEvents(*engine, block.list());
  std::vector<float> out = renderBlock(*engine, 256);
  // The note-off in the note's own block releases the voice the note started on.
  EXPECT_TRUE(engine->voice(8).isReleased());
  engine_test::MidiBlock next;
  next.addNoteOff(60, 10);
  processMidiEvents(*engine, next.list());
  renderInto(*engine, out, 256);
  float peak = 0.0f;
  for (float v : out) peak = std::max(peak, std::abs(v));
  EXPECT_GT(peak, 0.01f);
  EXPECT_LT(peak, 3.0f);
  EXPECT_EQ(engine->voice(8).getAmpEnvelope().getState(), ENV_RELEASE);
  EXPECT_TRUE(engine->voice(0).isActive());
  EXPECT_TRUE(engine->voice(1).isActive());
}

}  // namespace
