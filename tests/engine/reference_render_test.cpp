// The engine against the literal step-by-step voice: every output bit must agree, over
// the factory programs and some out-of-range settings, whatever the block and piece
// sizes. This guards every optimisation of the render loop.
#include <gtest/gtest.h>

#include <atomic>
#include <vector>

#include "engine/pitch_factor.h"
#include "engine/voice.h"
#include "params/parameter_table.h"
#include "params/program_bank.h"
#include "tests/engine/engine_test_support.h"
#include "tests/engine/reference_voice.h"

namespace {

using engine_test::sameBits;

constexpr float kRate = 44100.0f;

// Out-of-range settings: strong modulation, loud carrier, decay 0 and below, sustain 0.
const float kOddSettings[][PARAMETER_COUNT] = {
    {0.5f, 3.0f, 0.0f, 0.0f, 0.5f, 2.5f, 0.0f, 1.0f, 0.0f, 0.0f, 2.0f, 0.0f, 1.5f},
    {0.2f, 1.0f, -0.3f, 1.0f, 0.9f, 1.0f, 1.0f, 0.02f, -0.5f, 0.6f, 0.0f, 1.0f, 1.0f},
};

struct Pair {
  std::atomic<float> live[PARAMETER_COUNT];
  float plain[PARAMETER_COUNT];
  SineTable table;
  Voice voice;
  reference::Voice literal;

  explicit Pair(const float* values) : live(), plain(), table(), voice(live, table), literal(plain, table.data()) {
    for (std::int32_t i = 0; i < PARAMETER_COUNT; ++i) set(i, values[i]);
    voice.setSampleRate(kRate);
    literal.sampleRate = kRate;
    literal.configureAll();
  }
  void set(std::int32_t index, float value) {
    live[index].store(value);
    plain[index] = value;
  }
  // Renders one block both ways; true when every bit agrees.
  bool block(std::int32_t frames, std::int32_t scratchFrames) {
    std::vector<float> engineOut(static_cast<std::size_t>(frames), 0.0f);
    std::vector<float> literalOut(static_cast<std::size_t>(frames), 0.0f);
    std::vector<float> scratch(2 * static_cast<std::size_t>(scratchFrames));
    voice.render(frames, scratch.data(), scratchFrames, engineOut.data());
    literal.render(frames, literalOut.data());
    return sameBits(engineOut, literalOut) && voice.isActive() == literal.active;
  }
};

void playScenario(const float* values, float velocity, bool fadeInsteadOfRelease) {
  Pair p(values);
  p.voice.startNote(57, 220.0f, velocity);
  p.literal.start(220.0f, velocity);
  const std::int32_t sizes[] = {1, 333, 64, 1024, 17, 500};
  std::int32_t blockIndex = 0;
  auto run = [&](std::int32_t blocks) {
    for (std::int32_t i = 0; i < blocks; ++i, ++blockIndex) {
      const std::int32_t frames = sizes[blockIndex % 6];
      ASSERT_TRUE(p.block(frames, 48)) << "block " << blockIndex << " of " << frames;
    }
  };
  run(6);
  // A bend, and an attack envelope change while the note sounds.
  p.voice.setPitchFactor(pitchFactor(0.4f));
  p.literal.pitch = reference::bendFactor(0.4f);
  run(3);
  p.set(PARAM_ATTACK_DECAY, 0.2f);
  p.voice.updateParameter(PARAM_ATTACK_DECAY);
  p.literal.configureAll();
  run(3);
  if (fadeInsteadOfRelease) {
    p.voice.prepareTakeOver();
    p.literal.fade();
  } else {
    p.voice.releaseNote();
    p.literal.release();
  }
  for (std::int32_t i = 0; i < 400 && p.literal.active; ++i) run(1);
  run(2);
  // A new note on the ringing low-pass, bent down.
  p.voice.setPitchFactor(pitchFactor(-1.0f));
  p.literal.pitch = reference::bendFactor(-1.0f);
  p.voice.startNote(76, 659.3f, velocity);
  p.literal.start(659.3f, velocity);
  run(12);
}

TEST(ReferenceRender, FactoryProgramsBitForBit) {
  for (std::int32_t program = 0; program < kProgramCount; ++program) {
    SCOPED_TRACE(kFactoryPrograms[program].name);
    playScenario(kFactoryPrograms[program].values, 1.0f, false);
    playScenario(kFactoryPrograms[program].values, 0.37f, program % 2 == 0);
  }
}

TEST(ReferenceRender, OutOfRangeSettingsBitForBit) {
  for (const float* values : kOddSettings) {
    playScenario(values, 0.8f, false);
    playScenario(values, 0.05f, true);
  }
}

// The whole engine with two overlapping notes at offsets: voices 0 and 8 add into the
// output in voice order.
TEST(ReferenceRender, EngineBlocksMatchTwoLiteralVoices) {
  const float* values = kFactoryPrograms[2].values;
  auto engine = engine_test::makeEngine(values);
  SineTable table;
  reference::Voice first(values, table.data()), second(values, table.data());
  for (reference::Voice* v : {&first, &second}) {
    v->sampleRate = kRate;
    v->configureAll();
  }
  std::vector<float> expected;
  std::vector<float> actual;
  auto literalBlock = [&](std::int32_t frames, std::int32_t offset, auto atOffset) {
    const std::size_t start = expected.size();
    expected.resize(start + static_cast<std::size_t>(frames), 0.0f);
    float* out = expected.data() + start;
    second.render(offset, out);  // voice 0
    first.render(offset, out);   // voice 8
    atOffset();
    second.render(frames - offset, out + offset);
    first.render(frames - offset, out + offset);
  };
  engine->noteOn(60, 261.6f, 0.9f, 37);
  engine_test::renderInto(*engine, actual, 256);
  literalBlock(256, 37, [&] { first.start(261.6f, 0.9f); });
  engine->noteOn(67, 392.0f, 0.6f, 200);
  engine_test::renderInto(*engine, actual, 256);
  literalBlock(256, 200, [&] { second.start(392.0f, 0.6f); });
  engine->pitchBend(-0.25f, 10);
  engine_test::renderInto(*engine, actual, 512);
  literalBlock(512, 10, [&] { first.pitch = second.pitch = reference::bendFactor(-0.25f); });
  engine->noteOff(60, 90);
  engine_test::renderInto(*engine, actual, 4096);
  literalBlock(4096, 90, [&] { first.release(); });
  EXPECT_TRUE(sameBits(actual, expected));
}

}  // namespace
