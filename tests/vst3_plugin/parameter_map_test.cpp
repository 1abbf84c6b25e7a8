// The VST 3 parameters: what the host is told about them, their texts, and how the
// normalised values hosts send become what the VST 2.4 build gets from the same MIDI.
#include "vst3/parameter_map.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "core/instrument.h"
#include "vst3/block_translation.h"

namespace {

using namespace quindle_vst3;
using vst3::ParameterInfo;

std::string ascii(const vst3::TChar* text) {
  std::string out;
  for (int i = 0; i < vst3::kString128Length && text[i] != 0; ++i) out += static_cast<char>(text[i]);
  return out;
}

void toUtf16(const char* text, vst3::String128 out) {
  int i = 0;
  for (; text[i] != '\0'; ++i) out[i] = static_cast<vst3::TChar>(text[i]);
  out[i] = 0;
}

TEST(Vst3Conversions, EveryBendPositionComesBackUnderEitherHostScaling) {
  for (std::int32_t position = 0; position <= kBendLargest; ++position) {
    ASSERT_EQ(bendFromNormalized(position / 16383.0), position);
    ASSERT_EQ(bendFromNormalized(position / 16384.0), position);
    ASSERT_EQ(bendFromNormalized(normalizedFromBend(position)), position);
  }
  EXPECT_EQ(bendFromNormalized(0.5), kBendCentre);
  EXPECT_EQ(bendFromNormalized(0.0), 0);
  EXPECT_EQ(bendFromNormalized(1.0), kBendLargest);
  EXPECT_EQ(bendFromNormalized(-3.0), 0);
  EXPECT_EQ(bendFromNormalized(7.0), kBendLargest);
  EXPECT_EQ(bendFromNormalized(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(Vst3Conversions, VelocityIsTheSevenBitValueAndNeverZero) {
  for (int velocity = 1; velocity <= 127; ++velocity) {
    ASSERT_EQ(velocityFromNormalized(static_cast<float>(velocity) / 127.0f), velocity);
    ASSERT_EQ(velocityFromNormalized(static_cast<float>(velocity / 127.0)), velocity);
  }
  EXPECT_EQ(velocityFromNormalized(0.0f), 1);
  EXPECT_EQ(velocityFromNormalized(-1.0f), 1);
  EXPECT_EQ(velocityFromNormalized(5.0f), 127);
  EXPECT_EQ(velocityFromNormalized(std::numeric_limits<float>::quiet_NaN()), 1);
}

TEST(Vst3Conversions, ProgramSelectorRoundsToTheNearestProgram) {
  for (int program = 0; program < kProgramCount; ++program) {
    EXPECT_EQ(programFromNormalized(normalizedFromProgram(program)), program);
    EXPECT_EQ(programFromNormalized(program / 7.0 + 0.06), program);
    EXPECT_EQ(programFromNormalized(program / 7.0 - 0.06), program);
  }
  EXPECT_EQ(programFromNormalized(1.5), 7);
  EXPECT_EQ(plainFromNormalized(kProgramParameter, 3 / 7.0), 3.0);
  EXPECT_EQ(normalizedFromPlain(kPitchBendParameter, 16383.0), 1.0);
}

TEST(Vst3Parameters, DescriptionsFollowTheTableAndProgramZero) {
  ParameterInfo info{};
  for (vst3::int32 index = 0; index < PARAMETER_COUNT; ++index) {
    ASSERT_TRUE(describeParameter(index, info));
    EXPECT_EQ(info.id, static_cast<vst3::ParamID>(index));
    EXPECT_EQ(ascii(info.title), parameterName(index));
    EXPECT_EQ(info.flags, ParameterInfo::kCanAutomate);
    EXPECT_EQ(info.unitId, vst3::kRootUnitId);
    EXPECT_EQ(info.defaultNormalizedValue, static_cast<double>(kFactoryPrograms[0].values[index]));
    EXPECT_EQ(info.stepCount, index == PARAM_ATTACK_MODE || index == PARAM_TONE_MODE ? 1 : 0) << index;
  }
  ASSERT_TRUE(describeParameter(static_cast<vst3::int32>(kProgramParameter), info));
  EXPECT_EQ(info.flags, ParameterInfo::kIsProgramChange | ParameterInfo::kIsList);  // not automatable
  EXPECT_EQ(info.stepCount, kProgramCount - 1);
  for (vst3::ParamID hidden : {kPitchBendParameter, kAllNotesOffParameter}) {
    ASSERT_TRUE(describeParameter(static_cast<vst3::int32>(hidden), info));
    EXPECT_EQ(info.flags, ParameterInfo::kIsHidden);
  }
  EXPECT_EQ(info.defaultNormalizedValue, 0.0);
  EXPECT_FALSE(describeParameter(kParameterIdCount, info));
  EXPECT_FALSE(describeParameter(-1, info));
}

TEST(Vst3Parameters, TextsReadBackAsTheyAreWrittenAndStayInsideTheField) {
  Instrument instrument;
  struct Case {
    vst3::ParamID id;
    double value;
    const char* text;
  };
  const Case cases[] = {
      {PARAM_ATTACK_MODE, 0.0, "on"},     {PARAM_TONE_MODE, 1.0, "off"},          {PARAM_AMP_RELEASE, 0.14, "0.140 s"},
      {PARAM_VOLUME, 0.375, "0.375"},     {kProgramParameter, 5 / 7.0, "Sequence this"},
      {kPitchBendParameter, 0.5, "8192"}, {kAllNotesOffParameter, 1.0, "127"},
  };
  for (const Case& c : cases) {
    vst3::String128 text;
    for (vst3::TChar& unit : text) unit = 0x2A;
    ASSERT_TRUE(formatNormalized(instrument, c.id, c.value, text));
    EXPECT_EQ(ascii(text), c.text);
    EXPECT_EQ(text[vst3::kString128Length - 1], 0);
    double back = -1.0;
    ASSERT_TRUE(parseNormalized(instrument, c.id, text, back)) << c.text;
    EXPECT_EQ(formatNormalized(instrument, c.id, back, text), true);
    EXPECT_EQ(ascii(text), c.text);
  }
  vst3::String128 text;
  double value = 0.25;
  toUtf16("3", text);
  EXPECT_TRUE(parseNormalized(instrument, kProgramParameter, text, value));
  EXPECT_EQ(programFromNormalized(value), 3);
  for (const char* refused : {"", "16384", "-1", "8192x"}) {
    toUtf16(refused, text);
    EXPECT_FALSE(parseNormalized(instrument, kPitchBendParameter, text, value)) << refused;
  }
  text[0] = 0x00E9;  // not ASCII
  text[1] = 0;
  EXPECT_FALSE(parseNormalized(instrument, PARAM_VOLUME, text, value));
  EXPECT_FALSE(parseNormalized(instrument, PARAM_VOLUME, nullptr, value));
  EXPECT_FALSE(formatNormalized(instrument, kParameterIdCount, 0.5, text));
  EXPECT_EQ(value, 3 / 7.0);
}

TEST(Vst3Events, NoteEventsBecomeTheMidiBytesOfTheirChannel) {
  vst3::Event event{};
  event.type = vst3::Event::kNoteOnEvent;
  event.noteOn.channel = 3;
  event.noteOn.pitch = 60;
  event.noteOn.velocity = 100 / 127.0f;
  std::uint8_t bytes[3] = {};
  ASSERT_TRUE(midiFromEvent(event, bytes));
  EXPECT_EQ(bytes[0], 0x93);
  EXPECT_EQ(bytes[1], 60);
  EXPECT_EQ(bytes[2], 100);

  event.type = vst3::Event::kNoteOffEvent;
  event.noteOff = vst3::NoteOffEvent{15, 127, 0.0f, -1, 0.0f};
  ASSERT_TRUE(midiFromEvent(event, bytes));
  EXPECT_EQ(bytes[0], 0x8F);
  EXPECT_EQ(bytes[1], 127);

  vst3::Event refused = event;
  refused.noteOff.pitch = 128;
  EXPECT_FALSE(midiFromEvent(refused, bytes));
  refused = event;
  refused.noteOff.channel = 16;
  EXPECT_FALSE(midiFromEvent(refused, bytes));
  refused = event;
  refused.busIndex = 1;
  EXPECT_FALSE(midiFromEvent(refused, bytes));
  refused.busIndex = 0;
  refused.type = vst3::Event::kPolyPressureEvent;
  EXPECT_FALSE(midiFromEvent(refused, bytes));
}

}  // namespace
