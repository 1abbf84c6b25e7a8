// One process call translated onto the instrument: points at their offsets, the MIDI
// carried as parameters, flushes and hostile blocks, nothing allocated.
#include "vst3/block_translation.h"

#include <gtest/gtest.h>

#include <cmath>

#include <vector>

#include "core/block_renderer.h"
#include "core/instrument.h"
#include "engine/synth_engine.h"
#include "tests/support/allocation_counter.h"
#include "tools/host/vst3_host_objects.h"
#include "vst3/parameter_map.h"

namespace {

using namespace quindle_vst3;

constexpr vst3::int32 kFrames = 512;

class BlockTranslation : public ::testing::Test {
 protected:
  void SetUp() override {
    for (Instrument* each : {&instrument, &reference}) {
      each->selectProgram(2);
      ASSERT_TRUE(each->activate());
    }
  }
  // One block through processBlock with the gathered events and changes.
  std::vector<float> process(vst3::int32 frames = kFrames) {
    std::vector<float> left(static_cast<std::size_t>(frames), 9.0f), right(left);
    float* channels[] = {left.data(), right.data()};
    output = vst3::AudioBusBuffers{};
    output.numChannels = 2;
    output.channelBuffers32 = channels;
    vst3::ProcessData data = blockData(frames);
    EXPECT_EQ(processBlock(instrument, data), vst3::kResultOk);
    EXPECT_EQ(left, right);
    events.clear();
    changes.clear();
    return left;
  }
  vst3::ProcessData blockData(vst3::int32 frames) {
    vst3::ProcessData data{};
    data.symbolicSampleSize = vst3::kSample32;
    data.numSamples = frames;
    data.numOutputs = 1;
    data.outputs = &output;
    data.inputParameterChanges = &changes;
    data.inputEvents = &events;
    return data;
  }
  void note(std::int16_t pitch, float velocity, vst3::int32 offset) {
    vst3::Event event{};
    event.sampleOffset = offset;
    event.type = vst3::Event::kNoteOnEvent;
    event.noteOn = vst3::NoteOnEvent{0, pitch, 0.0f, velocity, 0, -1};
    events.addEvent(event);
  }
  // The reference: the same through BlockRenderer with MIDI bytes and a parameter.
  std::vector<float> referenceBlock(const std::vector<std::vector<std::uint8_t>>& midi, vst3::int32 frames = kFrames) {
    std::vector<float> left(static_cast<std::size_t>(frames));
    BlockRenderer block(reference, left.data(), nullptr, frames);
    for (const auto& message : midi) block.midi(message.data(), message.size(), 0);
    block.finish();
    return left;
  }

  Instrument instrument;
  Instrument reference;
  vst3host::EventList events;
  vst3host::ParameterChanges changes;
  vst3::AudioBusBuffers output{};
};

TEST_F(BlockTranslation, APointInsideTheBlockActsAtItsOffset) {
  note(57, 1.0f, 0);
  referenceBlock({{0x90, 57, 127}});
  process();
  // One block with the change at 200 renders as two blocks split there.
  changes.add(PARAM_VOLUME, 200, 0.05);
  const std::vector<float> whole = process();
  std::vector<float> split = referenceBlock({}, 200);
  reference.setParameter(PARAM_VOLUME, 0.05f);
  const std::vector<float> rest = referenceBlock({}, kFrames - 200);
  split.insert(split.end(), rest.begin(), rest.end());
  EXPECT_EQ(whole, split);
  EXPECT_EQ(instrument.getParameter(PARAM_VOLUME), 0.05f);
}

TEST_F(BlockTranslation, AtOneOffsetTheValuesComeBeforeTheNoteInTheHostsOrder) {
  changes.add(PARAM_VOLUME, 0, 0.125);  // made before the program change: kept by program 2
  changes.add(kProgramParameter, 0, normalizedFromProgram(6));
  changes.add(PARAM_TONE_LEVEL, 0, 0.9);  // made after it: program 6's
  note(64, 0.5f, 0);
  const std::vector<float> block = process();
  reference.setParameter(PARAM_VOLUME, 0.125f);
  reference.selectProgram(6);
  reference.setParameter(PARAM_TONE_LEVEL, 0.9f);
  EXPECT_EQ(block, referenceBlock({{0x90, 64, 64}}));
  EXPECT_EQ(instrument.currentProgram(), 6);
  EXPECT_EQ(instrument.getParameter(PARAM_TONE_LEVEL), 0.9f);
  EXPECT_EQ(instrument.bank().record(2).values[PARAM_VOLUME], 0.125f);
}

TEST_F(BlockTranslation, BendAndSilenceArriveAsTheMidiTheyStandFor) {
  note(60, 1.0f, 0);
  changes.add(kPitchBendParameter, 0, 12288 / 16383.0);
  const std::vector<float> bent = process();
  EXPECT_EQ(bent, referenceBlock({{0xE0, 0x00, 0x60}, {0x90, 60, 127}}));
  changes.add(kAllNotesOffParameter, 300, 0.0);
  process();
  for (vst3::int32 v = 0; v < SynthEngine::kVoiceCount; ++v) EXPECT_FALSE(instrument.engine().voice(v).isActive());
}

TEST_F(BlockTranslation, AFlushAppliesTheChangesAndTouchesNoAudio) {
  changes.add(PARAM_AMP_RELEASE, 0, 0.5);
  changes.add(999, 0, 0.5);  // not ours: skipped
  changes.add(PARAM_ATTACK_LEVEL, 0, std::nan(""));
  vst3::ProcessData data = blockData(0);
  data.numOutputs = 0;
  data.outputs = nullptr;
  data.inputEvents = nullptr;
  EXPECT_EQ(processBlock(instrument, data), vst3::kResultOk);
  EXPECT_EQ(instrument.getParameter(PARAM_AMP_RELEASE), 0.5f);
  EXPECT_EQ(instrument.getParameter(PARAM_ATTACK_LEVEL), kFactoryPrograms[2].values[PARAM_ATTACK_LEVEL]);
}

TEST_F(BlockTranslation, HostileBlocksAreRefusedOrSurvived) {
  vst3::ProcessData data = blockData(-1);
  EXPECT_EQ(processBlock(instrument, data), vst3::kInvalidArgument);
  data = blockData(kFrames);
  data.symbolicSampleSize = vst3::kSample64;
  EXPECT_EQ(processBlock(instrument, data), vst3::kInvalidArgument);

  // Null channels, one channel, null lists: no crash, the one channel rendered.
  float* none[] = {nullptr, nullptr};
  output.numChannels = 2;
  output.channelBuffers32 = none;
  data = blockData(kFrames);
  data.inputParameterChanges = nullptr;
  data.inputEvents = nullptr;
  EXPECT_EQ(processBlock(instrument, data), vst3::kResultOk);
  std::vector<float> mono(kFrames, 9.0f);
  float* one[] = {mono.data()};
  output.numChannels = 1;
  output.channelBuffers32 = one;
  note(69, 1.0f, 10);
  data = blockData(kFrames);
  EXPECT_EQ(processBlock(instrument, data), vst3::kResultOk);
  EXPECT_EQ(mono[0], 0.0f);
  EXPECT_NE(mono[100], 0.0f);
  EXPECT_EQ(output.silenceFlags, 0u);
}

TEST_F(BlockTranslation, SilentBlocksAreFlaggedAndNothingIsAllocated) {
  process();
  EXPECT_EQ(output.silenceFlags, 3u);
  // Warm up once (the engine's voice order), then a busy block must not allocate.
  note(50, 0.8f, 5);
  process();
  std::vector<float> left(kFrames), right(kFrames);
  float* channels[] = {left.data(), right.data()};
  output.channelBuffers32 = channels;
  for (vst3::int32 i = 0; i < 8; ++i) note(static_cast<std::int16_t>(60 + i), 0.5f, i * 40);
  for (vst3::int32 i = 0; i < 16; ++i) changes.add(PARAM_VOLUME, i * 30, i / 16.0);
  changes.add(kPitchBendParameter, 100, 0.25);
  vst3::ProcessData data = blockData(kFrames);
  const long during = allocation_counter::total();
  EXPECT_EQ(processBlock(instrument, data), vst3::kResultOk);
  EXPECT_EQ(allocation_counter::total(), during);
  EXPECT_EQ(output.silenceFlags, 0u);
}

}  // namespace
