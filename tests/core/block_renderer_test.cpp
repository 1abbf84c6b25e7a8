// Blocks rendered with their MIDI and parameter changes in one call: the same samples as
// queueing the block's MIDI first and rendering after, no event lost however dense the
// block, and parameter changes at their frames.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "core/block_renderer.h"
#include "core/instrument.h"
#include "engine/synth_engine.h"

namespace {

constexpr std::int32_t kFrames = 256;

struct Midi {
  std::uint8_t bytes[3];
  std::int32_t frame;
};

std::vector<Midi> chordBlock(std::int32_t block) {
  std::vector<Midi> events;
  for (std::int32_t i = 0; i < 6; ++i) {
    const auto note = static_cast<std::uint8_t>(40 + (block * 7 + i * 5) % 50);
    events.push_back({{0x90, note, static_cast<std::uint8_t>(30 + i * 15)}, i * 37});
    events.push_back({{0x80, static_cast<std::uint8_t>(note - 12), 0}, i * 37 + 11});
  }
  events.push_back({{0xE0, 0, static_cast<std::uint8_t>(block * 13 % 128)}, 200});
  return events;
}

class BlockRendering : public ::testing::Test {
 protected:
  void SetUp() override {
    for (Instrument* instrument : {&queued, &inBlock}) {
      instrument->selectProgram(2);
      ASSERT_TRUE(instrument->activate());
    }
  }
  // The way a host that queues a block's events first is served.
  std::vector<float> renderQueued(const std::vector<Midi>& events) {
    for (const Midi& m : events) queued.receiveMidi(m.bytes, 3, m.frame);
    std::vector<float> left(kFrames), right(kFrames);
    queued.render(left.data(), right.data(), kFrames);
    return left;
  }
  std::vector<float> renderInBlock(const std::vector<Midi>& events, std::vector<float>* rightOut = nullptr) {
    std::vector<float> left(kFrames, 1.0f), right(kFrames, 1.0f);
    BlockRenderer block(inBlock, left.data(), right.data(), kFrames);
    for (const Midi& m : events) block.midi(m.bytes, 3, m.frame);
    block.finish();
    if (rightOut != nullptr) *rightOut = right;
    return left;
  }
  Instrument queued;
  Instrument inBlock;
};

TEST_F(BlockRendering, SameMidiGivesTheSameSamplesAsQueueingFirst) {
  for (std::int32_t block = 0; block < 40; ++block) {
    const std::vector<Midi> events = chordBlock(block);
    std::vector<float> right;
    const std::vector<float> left = renderInBlock(events, &right);
    ASSERT_EQ(renderQueued(events), left) << "block " << block;
    ASSERT_EQ(right, left);
  }
}

TEST_F(BlockRendering, ABlockDenserThanTheEventQueueLosesNoNote) {
  std::vector<Midi> events;
  const std::int32_t notes = SynthEngine::kEventCapacity + 6;
  for (std::int32_t i = 0; i < notes; ++i) {
    events.push_back({{0x90, static_cast<std::uint8_t>(20 + i), 100}, i * 3});
  }
  renderInBlock(events);
  renderQueued(events);
  const auto holds = [](const Instrument& instrument, std::int32_t note) {
    for (std::int32_t v = 0; v < SynthEngine::kVoiceCount; ++v) {
      const Voice& voice = instrument.engine().voice(v);
      if (voice.isActive() && voice.getNote() == note) return true;
    }
    return false;
  };
  const std::int32_t last = 20 + notes - 1;
  EXPECT_TRUE(holds(inBlock, last));
  EXPECT_FALSE(holds(queued, last));  // one queue per block drops what does not fit

  // Every note released in one dense block: all voices fall silent.
  std::vector<Midi> releases;
  for (std::int32_t i = 0; i < notes; ++i) releases.push_back({{0x80, static_cast<std::uint8_t>(20 + i), 0}, i});
  renderInBlock(releases);
  for (int tail = 0; tail < 40; ++tail) renderInBlock({});
  for (std::int32_t v = 0; v < SynthEngine::kVoiceCount; ++v) EXPECT_FALSE(inBlock.engine().voice(v).isActive());
}

TEST_F(BlockRendering, ParameterChangeTakesEffectAtItsFrame) {
  const std::vector<Midi> start = {{{0x90, 69, 127}, 0}};
  renderInBlock(start);
  renderQueued(start);
  constexpr std::int32_t kChangeAt = 100;
  std::vector<float> left(kFrames);
  BlockRenderer block(inBlock, left.data(), nullptr, kFrames);
  block.parameter(PARAM_VOLUME, 0.05f, kChangeAt);
  block.parameter(PARAM_VOLUME, 0.05f, kChangeAt + 50);  // unchanged: nothing to do
  block.finish();
  const std::vector<float> unchanged = renderQueued({});
  EXPECT_TRUE(std::equal(left.begin(), left.begin() + kChangeAt, unchanged.begin()));
  EXPECT_NE(left[kChangeAt + 20], unchanged[kChangeAt + 20]);
  EXPECT_EQ(inBlock.getParameter(PARAM_VOLUME), 0.05f);
}

TEST_F(BlockRendering, ProgramChangeTakesEffectAtItsFrameAndKeepsTheEditsOfTheOldOne) {
  const std::vector<Midi> start = {{{0x90, 57, 100}, 0}};
  renderInBlock(start);
  renderQueued(start);
  inBlock.setParameter(PARAM_TONE_LEVEL, 0.75f);
  queued.setParameter(PARAM_TONE_LEVEL, 0.75f);
  constexpr std::int32_t kChangeAt = 60;
  std::vector<float> left(kFrames);
  BlockRenderer block(inBlock, left.data(), nullptr, kFrames);
  block.program(kProgramCount, 10);  // no such program: nothing happens
  block.program(5, kChangeAt);
  block.finish();
  const std::vector<float> unchanged = renderQueued({});
  EXPECT_TRUE(std::equal(left.begin(), left.begin() + kChangeAt, unchanged.begin()));
  EXPECT_FALSE(std::equal(left.begin() + kChangeAt, left.end(), unchanged.begin() + kChangeAt));
  EXPECT_EQ(inBlock.currentProgram(), 5);
  EXPECT_EQ(inBlock.bank().record(2).values[PARAM_TONE_LEVEL], 0.75f);
  EXPECT_EQ(inBlock.getParameter(PARAM_TONE_LEVEL), kFactoryPrograms[5].values[PARAM_TONE_LEVEL]);
}

TEST_F(BlockRendering, AnEmptyCallKeepsItsEventsForTheNextBlock) {
  BlockRenderer nothing(inBlock, nullptr, nullptr, 0);
  const std::uint8_t noteOn[] = {0x90, 60, 90};
  nothing.midi(noteOn, sizeof noteOn, 17);
  nothing.parameter(PARAM_TONE_LEVEL, 0.3f, 5);
  nothing.finish();
  EXPECT_EQ(inBlock.engine().queuedEventCount(), 1);
  EXPECT_EQ(inBlock.getParameter(PARAM_TONE_LEVEL), 0.3f);
}

TEST_F(BlockRendering, AHostThatGivesOnlyTheSecondChannelGetsTheRenderThere) {
  const std::vector<Midi> start = {{{0x90, 64, 110}, 3}};
  std::vector<float> second(kFrames, 1.0f);
  BlockRenderer block(inBlock, nullptr, second.data(), kFrames);
  for (const Midi& m : start) block.midi(m.bytes, 3, m.frame);
  block.finish();
  EXPECT_EQ(block.rendered(), second.data());
  EXPECT_EQ(block.renderedFrames(), kFrames);
  EXPECT_EQ(second, renderQueued(start));
}

TEST(BlockFrames, HostCountsBeyondTheLargestInt32AreTheLargest) {
  EXPECT_EQ(BlockRenderer::framesOf(0), 0);
  EXPECT_EQ(BlockRenderer::framesOf(4096), 4096);
  EXPECT_EQ(BlockRenderer::framesOf(0x7FFFFFFFu), 0x7FFFFFFF);
  EXPECT_EQ(BlockRenderer::framesOf(0x80000000u), 0x7FFFFFFF);
  EXPECT_EQ(BlockRenderer::framesOf(0xFFFFFFFFFFFFFFFFull), 0x7FFFFFFF);
}

}  // namespace
