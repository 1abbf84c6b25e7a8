// The envelope generator: rates, shapes and stage changes.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/envelope.h"

namespace {

constexpr float kRate = 44100.0f;

TEST(Envelope, ConfigureDerivesRatesPerInternalStep) {
  Envelope env;
  env.configure(kRate, 0.0, 0.5, 0.7, 0.25);
  const EnvelopeRates r = env.rates();
  // An attack time of 0 is raised to 0.0001 s.
  EXPECT_NEAR(r.attackRate, 0.11337868f, 1e-8f);
  EXPECT_EQ(r.attackRate, static_cast<float>(0.5 / 44100.0 / 0.0001));
  EXPECT_NEAR(r.decayRate, 2.2675737e-05f, 1e-12f);
  EXPECT_EQ(r.sustainLevel, 0.7f);
  EXPECT_EQ(r.releaseRate, static_cast<float>(0.5 / 44100.0 / 0.25));
  env.configure(kRate, 0.5, 0.0, 0.0, 0.0);
  EXPECT_NEAR(env.rates().attackRate, 2.2675737e-05f, 1e-12f);
  EXPECT_TRUE(std::isinf(env.rates().decayRate) && env.rates().decayRate > 0.0f);
  EXPECT_EQ(env.rates().releaseRate, static_cast<float>(0.5 / 44100.0 / 0.0001));
}

TEST(Envelope, OutOfRangeTimesStayUsable) {
  Envelope env;
  // Negative attack and release times are raised to the minimum like 0 is.
  env.configure(kRate, -3.0, 1.0, 0.5, -0.0);
  EXPECT_EQ(env.rates().attackRate, static_cast<float>(0.5 / 44100.0 / 0.0001));
  EXPECT_EQ(env.rates().releaseRate, static_cast<float>(0.5 / 44100.0 / 0.0001));
  // A negative decay time (also -0.0) ends the decay at once instead of running away.
  for (double decay : {-0.0, -1.0, -1e30}) {
    env.configure(kRate, 0.0, decay, 0.5, 0.1);
    EXPECT_TRUE(std::isinf(env.rates().decayRate) && env.rates().decayRate > 0.0f) << decay;
    env.start();
    for (int i = 0; i < 9; ++i) env.tick();
    ASSERT_EQ(env.getState(), ENV_DECAY);
    EXPECT_EQ(env.tick(), 0.25f);
    EXPECT_EQ(env.getState(), ENV_SUSTAIN);
  }
}

TEST(Envelope, AttackIsLinearAndReachesOneOnTheNinthStep) {
  Envelope env;
  env.configure(kRate, 0.0, 1.0, 0.5, 0.1);
  env.start();
  const float rate = env.rates().attackRate;
  float expected = 0.0f;
  for (int step = 1; step <= 8; ++step) {
    expected += rate;
    EXPECT_EQ(env.tick(), expected) << step;
    EXPECT_EQ(env.getState(), ENV_ATTACK);
  }
  EXPECT_EQ(env.tick(), 1.0f);
  EXPECT_EQ(env.getState(), ENV_DECAY);
  // Decay is squared: the first decay step gives (1 - rate)^2.
  const float level = 1.0f - env.rates().decayRate;
  EXPECT_EQ(env.tick(), level * level);
}

TEST(Envelope, SustainHoldsSquaredLevel) {
  Envelope env;
  env.configure(kRate, 0.0, 0.0, 0.7, 0.1);
  env.start();
  while (env.getState() == ENV_ATTACK) env.tick();
  // Decay time 0: from 1.0 straight to the sustain level on the first decay step.
  EXPECT_EQ(env.tick(), 0.7f * 0.7f);
  EXPECT_EQ(env.getState(), ENV_SUSTAIN);
  for (int i = 0; i < 1000; ++i) ASSERT_EQ(env.tick(), 0.7f * 0.7f);
  EXPECT_NEAR(0.7f * 0.7f, 0.49f, 1e-7f);

  env.configure(kRate, 0.0, 2.0, 1.0, 0.1);
  env.start();
  while (env.getState() == ENV_ATTACK) env.tick();
  EXPECT_EQ(env.tick(), 1.0f);  // sustain 1.0: no audible decay
  EXPECT_EQ(env.getState(), ENV_SUSTAIN);
}

TEST(Envelope, SustainZeroNeverEndsByItself) {
  Envelope env;
  env.configure(kRate, 0.0, 0.001, 0.0, 0.1);
  env.start();
  for (int i = 0; i < 100000; ++i) env.tick();
  EXPECT_EQ(env.getState(), ENV_SUSTAIN);
  EXPECT_EQ(env.tick(), 0.0f);
}

TEST(Envelope, ReleaseAndFade) {
  Envelope env;
  env.configure(kRate, 0.0, 0.0, 0.5, 0.001);
  // Release from idle (level 0) is back to idle on the next step with gain 0.
  env.release();
  EXPECT_EQ(env.tick(), 0.0f);
  EXPECT_EQ(env.getState(), ENV_IDLE);

  env.start();
  while (env.getState() != ENV_SUSTAIN) env.tick();
  const float rate = env.rates().releaseRate;
  // Release during sustain: squared, from the held level.
  env.release();
  float level = 0.5f - rate;
  EXPECT_EQ(env.tick(), level * level);
  // A fade from there makes the gain step up to the linear level.
  env.fade();
  level -= rate;
  EXPECT_EQ(env.tick(), level);
  int steps = 0;
  while (env.getState() != ENV_IDLE && steps < 1000) {
    env.tick();
    ++steps;
  }
  EXPECT_EQ(env.getState(), ENV_IDLE);
  EXPECT_EQ(env.getLevel(), 0.0f);
  EXPECT_NEAR(steps, 0.5f / rate - 2, 2);
  // A release during the attack continues from the reached level, squared.
  env.start();
  env.tick();
  env.tick();
  const float reached = env.getLevel();
  env.release();
  EXPECT_EQ(env.tick(), (reached - rate) * (reached - rate));
}

TEST(Envelope, ReconfigureKeepsStageAndLevel) {
  Envelope env;
  env.configure(kRate, 0.5, 1.0, 0.5, 0.1);
  env.start();
  for (int i = 0; i < 100; ++i) env.tick();
  const float level = env.getLevel();
  env.configure(kRate, 0.25, 1.0, 0.5, 0.1);
  EXPECT_EQ(env.getState(), ENV_ATTACK);
  EXPECT_EQ(env.getLevel(), level);
  EXPECT_EQ(env.tick(), level + env.rates().attackRate);
  EXPECT_EQ(env.rates().attackRate, static_cast<float>(0.5 / 44100.0 / 0.25));
}

TEST(Envelope, UnknownStateGivesSilence) {
  Envelope env;
  env.configure(kRate, 0.0, 0.0, 0.5, 0.1);
  env.store(17, 0.75f);
  EXPECT_EQ(env.tick(), 0.0f);
  EXPECT_EQ(env.getState(), 17);
  EXPECT_EQ(env.getLevel(), 0.75f);
}

}  // namespace
