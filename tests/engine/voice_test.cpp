// One voice: note start, operator frequencies and gains, parameter updates, rendering.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "engine/voice.h"
#include "params/parameter_table.h"
#include "params/program_bank.h"

namespace {

constexpr float kRate = 44100.0f;

// A voice with its own parameter array, set from a factory program.
struct VoiceFixture {
  std::atomic<float> parameters[PARAMETER_COUNT];
  SineTable table;
  Voice voice;

  explicit VoiceFixture(std::int32_t program = 0) : parameters(), table(), voice(parameters, table) {
    for (std::int32_t i = 0; i < PARAMETER_COUNT; ++i) set(i, kFactoryPrograms[program].values[i]);
    voice.setSampleRate(kRate);
  }
  void set(std::int32_t index, float value) { parameters[index].store(value, std::memory_order_relaxed); }
  std::vector<float> render(std::int32_t frames) {
    std::vector<float> out(static_cast<std::size_t>(frames), 0.0f);
    std::vector<float> scratch(2 * static_cast<std::size_t>(frames) + 2, 0.0f);
    voice.render(frames, scratch.data(), frames, out.data());
    return out;
  }
};

TEST(Voice, FrequencyRatiosAndIncrements) {
  VoiceFixture f;
  f.set(PARAM_TONE_MODE, 0.0f);
  f.set(PARAM_ATTACK_MODE, 1.0f);
  f.voice.startNote(69, 220.0f, 1.0f);
  EXPECT_EQ(f.voice.getToneIncrement(), 163);
  EXPECT_EQ(f.voice.getCarrierIncrement(), 326);
  EXPECT_EQ(f.voice.getAttackIncrement(), 490);  // 3 x 220 Hz
  // Exactly one half: carrier at 1x, attack operator at 5x.
  f.set(PARAM_TONE_MODE, 0.5f);
  f.set(PARAM_ATTACK_MODE, 0.5f);
  f.voice.startNote(69, 220.0f, 1.0f);
  EXPECT_EQ(f.voice.getCarrierIncrement(), 163);
  EXPECT_EQ(f.voice.getAttackIncrement(), 817);
  EXPECT_EQ(f.voice.getNote(), 69);
  EXPECT_TRUE(f.voice.isActive());
  EXPECT_FALSE(f.voice.isReleased());
  EXPECT_FALSE(f.voice.isStartPending());
  EXPECT_EQ(f.voice.getAmpEnvelope().getState(), ENV_ATTACK);
  EXPECT_EQ(f.voice.getToneEnvelope().getState(), ENV_ATTACK);
  EXPECT_EQ(f.voice.getAttackEnvelope().getState(), ENV_ATTACK);
}

TEST(Voice, IncrementsWrapToSixteenBits) {
  VoiceFixture f;
  f.set(PARAM_TONE_MODE, 1.0f);
  f.set(PARAM_ATTACK_MODE, 1.0f);
  // 32767 / (44100 / 50000) is about 37150.8 in single precision: above 32767, so the
  // stored 16 bits read as a negative step.
  f.voice.startNote(127, 50000.0f, 1.0f);
  EXPECT_EQ(f.voice.getToneIncrement(), 37150 - 65536);
  // Absurd frequencies still give a defined increment.
  f.voice.startNote(127, 1e30f, 1.0f);
  EXPECT_EQ(f.voice.getToneIncrement(), 0);
  f.voice.startNote(127, -3e4f, 1.0f);
  EXPECT_EQ(f.voice.getToneIncrement(), static_cast<std::int16_t>(-22290));
  const std::vector<float> out = f.render(64);
  for (float v : out) ASSERT_TRUE(std::isfinite(v));
}

TEST(Voice, GainsFollowVelocityAndSensitivity) {
  VoiceFixture f;
  f.set(PARAM_VOLUME, 1.0f);
  f.set(PARAM_AMP_VELOCITY, 1.0f);
  f.set(PARAM_ATTACK_LEVEL, 0.5f);
  f.set(PARAM_ATTACK_VELOCITY, 0.5f);
  f.set(PARAM_TONE_LEVEL, 0.75f);
  f.set(PARAM_TONE_VELOCITY, 0.0f);
  f.voice.startNote(60, 130.0f, 0.007874016f);
  EXPECT_NEAR(f.voice.currentGains().carrier, 1.0f / 127.0f, 1e-8f);
  f.voice.startNote(60, 130.0f, 0.5f);
  EXPECT_EQ(f.voice.currentGains().attack, 0.375f);  // (0.25 - 0.5) * 0.5 + 0.5
  EXPECT_EQ(f.voice.currentGains().tone, 0.75f);     // no sensitivity: the level itself
  f.set(PARAM_AMP_VELOCITY, 0.0f);
  EXPECT_EQ(f.voice.currentGains().carrier, 1.0f);
}

TEST(Voice, RenderNeedsAnActiveVoiceAndAtLeastOneSample) {
  VoiceFixture f;
  EXPECT_EQ(f.render(32), std::vector<float>(32, 0.0f));  // never started
  f.voice.startNote(60, 130.0f, 1.0f);
  std::vector<float> out(4, 0.0f);
  float scratch[8] = {};
  f.voice.render(0, scratch, 4, out.data());
  f.voice.render(-5, scratch, 4, out.data());
  EXPECT_EQ(out, std::vector<float>(4, 0.0f));
  EXPECT_EQ(f.voice.getCarrierPhase(), 0);
  EXPECT_EQ(f.voice.getAmpEnvelope().getLevel(), 0.0f);
  f.voice.render(4, scratch, 4, out.data());
  EXPECT_NE(out[0], 0.0f);
  EXPECT_EQ(f.voice.getCarrierPhase(), 8 * f.voice.getCarrierIncrement());
}

TEST(Voice, ZeroLevelsRemoveModulation) {
  // With attack level 0 the attack operator's settings do not matter.
  VoiceFixture a(2), b(2);
  for (VoiceFixture* f : {&a, &b}) f->set(PARAM_ATTACK_LEVEL, 0.0f);
  b.set(PARAM_ATTACK_MODE, 0.0f);
  b.set(PARAM_ATTACK_DECAY, 0.9f);
  b.voice.updateParameter(PARAM_ATTACK_DECAY);
  a.voice.startNote(60, 130.0f, 0.8f);
  b.voice.startNote(60, 130.0f, 0.8f);
  EXPECT_EQ(a.render(256), b.render(256));
  // With tone level 0 neither operator before the carrier matters.
  VoiceFixture c(3), d(5);
  for (VoiceFixture* f : {&c, &d}) {
    f->set(PARAM_TONE_LEVEL, 0.0f);
    for (std::int32_t i = PARAM_AMP_ATTACK; i <= PARAM_VOLUME; ++i) f->set(i, kFactoryPrograms[3].values[i]);
    f->set(PARAM_TONE_MODE, 1.0f);
    f->voice.updateParameter(ALL_ENVELOPES);
    f->voice.startNote(60, 130.0f, 0.8f);
  }
  EXPECT_EQ(c.render(256), d.render(256));
}

TEST(Voice, AttackLevelThatIsNotANumberModulatesNothing) {
  // An infinite attack level gives gA = inf - inf, not a number: every modulating value
  // is then not a number, rounds to a phase offset of 0, and the voice sounds as with
  // attack level 0, both while the attack envelope decays and once it holds at zero.
  VoiceFixture a(2), b(2);
  a.set(PARAM_ATTACK_LEVEL, 0.0f);
  b.set(PARAM_ATTACK_LEVEL, std::numeric_limits<float>::infinity());
  for (VoiceFixture* f : {&a, &b}) {
    f->set(PARAM_ATTACK_DECAY, 0.01f);
    f->voice.updateParameter(PARAM_ATTACK_DECAY);
    f->voice.startNote(60, 261.6f, 0.8f);  // a phase step that is not a multiple of 16
  }
  for (std::int32_t block = 0; block < 8; ++block) {
    const std::vector<float> expected = a.render(301);
    const std::vector<float> actual = b.render(301);
    ASSERT_EQ(std::memcmp(expected.data(), actual.data(), expected.size() * sizeof(float)), 0) << "block " << block;
  }
  EXPECT_EQ(b.voice.getAttackEnvelope().getState(), ENV_SUSTAIN);
  EXPECT_EQ(b.voice.getTonePhase(), a.voice.getTonePhase());
}

TEST(Voice, UpdateParameterReconfiguresOnlyTheNamedEnvelope) {
  VoiceFixture f;
  const float ampAttack = f.voice.getAmpEnvelope().rates().attackRate;
  const float attackDecay = f.voice.getAttackEnvelope().rates().decayRate;
  f.set(PARAM_AMP_ATTACK, 0.5f);
  f.set(PARAM_ATTACK_DECAY, 0.5f);
  f.voice.updateParameter(PARAM_TONE_LEVEL);  // not an envelope parameter
  EXPECT_EQ(f.voice.getAmpEnvelope().rates().attackRate, ampAttack);
  EXPECT_EQ(f.voice.getAttackEnvelope().rates().decayRate, attackDecay);
  f.voice.updateParameter(PARAM_AMP_SUSTAIN);
  EXPECT_EQ(f.voice.getAmpEnvelope().rates().attackRate, static_cast<float>(0.5 / 44100.0 / 0.5));
  EXPECT_EQ(f.voice.getAttackEnvelope().rates().decayRate, attackDecay);
  f.voice.updateParameter(PARAM_ATTACK_DECAY);
  EXPECT_EQ(f.voice.getAttackEnvelope().rates().decayRate, static_cast<float>(0.5 / 44100.0 / 0.5));
  // The tone envelope has fixed settings: 0, 0.9, 0.7, 0.5.
  const EnvelopeRates tone = f.voice.getToneEnvelope().rates();
  EXPECT_EQ(tone.decayRate, static_cast<float>(0.5 / 44100.0 / 0.9));
  EXPECT_EQ(tone.sustainLevel, 0.7f);
  EXPECT_EQ(tone.releaseRate, static_cast<float>(0.5 / 44100.0 / 0.5));
  f.voice.setSampleRate(22050.0f);
  EXPECT_EQ(f.voice.getToneEnvelope().rates().releaseRate, static_cast<float>(0.5 / 22050.0 / 0.5));
}

TEST(Voice, EndsWhenTheAmpEnvelopeIsIdleButTheTailStillFlows) {
  VoiceFixture f;
  f.set(PARAM_AMP_RELEASE, 0.0f);  // 0.0001 s: idle within 9 steps
  f.voice.updateParameter(PARAM_AMP_RELEASE);
  f.voice.startNote(60, 130.0f, 1.0f);
  f.render(200);
  f.voice.releaseNote();
  EXPECT_TRUE(f.voice.isReleased());
  EXPECT_EQ(f.voice.getAmpEnvelope().getState(), ENV_RELEASE);
  const std::vector<float> out = f.render(100);
  EXPECT_FALSE(f.voice.isActive());
  // After the envelope has ended the low-pass still rings out in this call.
  EXPECT_NE(out[50], 0.0f);
  EXPECT_EQ(f.render(10), std::vector<float>(10, 0.0f));
}

TEST(Voice, LowPassStateCarriesIntoTheNextNote) {
  VoiceFixture used, fresh;
  used.voice.startNote(72, 261.6f, 1.0f);
  used.render(300);
  used.voice.startNote(60, 130.8f, 1.0f);
  fresh.voice.startNote(60, 130.8f, 1.0f);
  EXPECT_NE(used.render(1)[0], fresh.render(1)[0]);
}

TEST(Voice, RenderInPiecesEqualsOneCall) {
  VoiceFixture whole(4), pieces(4);
  whole.voice.startNote(64, 164.8f, 0.7f);
  pieces.voice.startNote(64, 164.8f, 0.7f);
  const std::vector<float> expected = whole.render(1000);
  std::vector<float> out(1000, 0.0f);
  float scratch[2 * 7];
  pieces.voice.render(1000, scratch, 7, out.data());
  EXPECT_EQ(out, expected);
}

}  // namespace
