// Value texts for hosts that show them, and reading them back.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "params/parameter_table.h"
#include "params/parameter_text.h"

namespace {

std::string shown(std::int32_t index, float value) {
  char text[kParameterTextCapacity];
  formatParameterValue(index, value, text, sizeof text);
  return text;
}

TEST(ParameterText, EachKindReadsAsAMusicianExpects) {
  EXPECT_EQ(shown(PARAM_ATTACK_MODE, 0.01f), "on");  // the BRIGHT lamp is lit up to 0.5
  EXPECT_EQ(shown(PARAM_ATTACK_MODE, 0.5f), "on");
  EXPECT_EQ(shown(PARAM_TONE_MODE, 0.51f), "off");
  EXPECT_EQ(shown(PARAM_AMP_DECAY, 0.13999987f), "0.140 s");
  EXPECT_EQ(shown(PARAM_ATTACK_DECAY, 1.0f), "1.000 s");
  EXPECT_EQ(shown(PARAM_TONE_LEVEL, 0.37499964f), "0.375");
  EXPECT_EQ(shown(PARAM_VOLUME, 0.0f), "0.000");
  EXPECT_EQ(shown(PARAM_VOLUME, -0.2f), "-0.200");
  EXPECT_EQ(shown(PARAM_VOLUME, 1e30f), "999999999.999");
  EXPECT_EQ(shown(PARAMETER_COUNT, 0.5f), "");
}

TEST(ParameterText, WritingStaysInsideTheBuffer) {
  char small[4] = {'x', 'x', 'x', 'x'};
  EXPECT_EQ(formatParameterValue(PARAM_AMP_RELEASE, 0.5f, small, sizeof small), 3u);
  EXPECT_STREQ(small, "0.5");
  char none = 'x';
  EXPECT_EQ(formatParameterValue(PARAM_VOLUME, 0.5f, &none, 0), 0u);
  EXPECT_EQ(none, 'x');
}

TEST(ParameterText, ReadingTakesBackWhatWritingGives) {
  for (std::int32_t index = 0; index < PARAMETER_COUNT; ++index) {
    for (int step = 0; step <= 100; ++step) {
      const float value = static_cast<float>(step) / 100.0f;
      float read = -1.0f;
      ASSERT_TRUE(parseParameterValue(index, shown(index, value).c_str(), read)) << index << " " << value;
      if (parameterKind(index) == PARAMETER_SWITCH) {
        EXPECT_EQ(read > kSwitchLitUpTo, value > kSwitchLitUpTo);
      } else {
        EXPECT_NEAR(read, value, 0.0005f);
      }
    }
  }
}

TEST(ParameterText, ReadingRefusesWhatIsNoValue) {
  float value = 0.25f;
  EXPECT_TRUE(parseParameterValue(PARAM_AMP_ATTACK, "  0.3 s ", value));
  EXPECT_FLOAT_EQ(value, 0.3f);
  EXPECT_TRUE(parseParameterValue(PARAM_VOLUME, "7", value));
  EXPECT_EQ(value, 1.0f);  // limited to the range
  EXPECT_TRUE(parseParameterValue(PARAM_VOLUME, "-3", value));
  EXPECT_EQ(value, 0.0f);
  EXPECT_TRUE(parseParameterValue(PARAM_VOLUME, std::string(400, '9').c_str(), value));
  EXPECT_EQ(value, 1.0f);
  value = 0.25f;
  for (const char* bad : {"", "abc", "0.5 s", "1..2", "on", "-", "0.5x"}) {
    EXPECT_FALSE(parseParameterValue(PARAM_VOLUME, bad, value)) << bad;
  }
  EXPECT_FALSE(parseParameterValue(PARAM_ATTACK_MODE, "onward", value));
  EXPECT_FALSE(parseParameterValue(PARAM_ATTACK_MODE, nullptr, value));
  EXPECT_FALSE(parseParameterValue(PARAMETER_COUNT, "0.5", value));
  EXPECT_EQ(value, 0.25f);
  EXPECT_TRUE(parseParameterValue(PARAM_TONE_MODE, "off", value));
  EXPECT_EQ(value, kSwitchOffValue);
}

}  // namespace
