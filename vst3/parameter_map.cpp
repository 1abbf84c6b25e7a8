#include "vst3/parameter_map.h"

#include <cmath>
#include <cstring>

#include "core/instrument.h"
#include "params/parameter_text.h"
#include "vst3/text_fields.h"

namespace quindle_vst3 {
namespace {

using vst3::ParameterInfo;

constexpr const char* kProgramTitle = "Program";
constexpr const char* kPitchBendTitle = "Pitch Bend";
constexpr const char* kAllNotesOffTitle = "All Notes Off";
// Half a step above the largest position: see bendFromNormalized.
constexpr double kBendScale = kBendLargest + 0.5;
constexpr double kHalf = 0.5;
constexpr std::uint8_t kLowestVelocity = 1;
// Room for every text read back: a String128 holds at most 127 characters.
constexpr std::size_t kTextCapacity = vst3::kString128Length;

std::int32_t roundedSteps(double value, std::int32_t steps) {
  return static_cast<std::int32_t>(std::floor(clampNormalized(value) * steps + kHalf));
}

// A decimal integer with optional surrounding spaces, limited to 0..largest.
bool readInteger(const char* text, std::int32_t largest, std::int32_t& out) {
  while (*text == ' ') ++text;
  std::int64_t number = 0;
  const char* digits = text;
  for (; *text >= '0' && *text <= '9'; ++text) {
    number = number * 10 + (*text - '0');
    if (number > largest) return false;
  }
  if (text == digits) return false;
  while (*text == ' ') ++text;
  if (*text != '\0') return false;
  out = static_cast<std::int32_t>(number);
  return true;
}

void writeInteger(std::int32_t number, vst3::TChar* text) {
  char digits[16];
  std::int32_t count = 0;
  std::uint32_t rest = number < 0 ? 0u : static_cast<std::uint32_t>(number);
  do {
    digits[count++] = static_cast<char>('0' + rest % 10);
    rest /= 10;
  } while (rest > 0);
  char shown[16];
  for (std::int32_t i = 0; i < count; ++i) shown[i] = digits[count - 1 - i];
  shown[count] = '\0';
  copyToString128(text, shown);
}

bool readProgram(const Instrument& instrument, const char* text, std::int32_t& program) {
  for (std::int32_t number = 0; number < kProgramCount; ++number) {
    char name[Instrument::kProgramNameCapacity];
    if (instrument.programName(number, name) && name[0] != '\0' && std::strcmp(name, text) == 0) {
      program = number;
      return true;
    }
  }
  return readInteger(text, kProgramSteps, program);
}

}  // namespace

double clampNormalized(double value) {
  if (!(value > 0.0)) return 0.0;  // NaN included
  return value > 1.0 ? 1.0 : value;
}

vst3::int32 programFromNormalized(double value) { return roundedSteps(value, kProgramSteps); }

double normalizedFromProgram(vst3::int32 program) {
  return clampNormalized(static_cast<double>(program) / kProgramSteps);
}

// Scaling by 16383.5 puts every position p at p + p/32766 under a host's p/16383 and at
// p - p/32768 under its p/16384: within half a step of p either way (the one exception,
// 16383/16383, lands exactly on 16384 and is limited back to 16383).
vst3::int32 bendFromNormalized(double value) {
  const auto position = static_cast<std::int32_t>(std::floor(clampNormalized(value) * kBendScale + kHalf));
  return position > kBendLargest ? kBendLargest : position;
}

double normalizedFromBend(vst3::int32 position) {
  return clampNormalized(static_cast<double>(position) / kBendLargest);
}

std::uint8_t dataValueFromNormalized(double value) {
  return static_cast<std::uint8_t>(roundedSteps(value, kLargestDataValue));
}

std::uint8_t velocityFromNormalized(float value) {
  const std::uint8_t velocity = dataValueFromNormalized(static_cast<double>(value));
  return velocity < kLowestVelocity ? kLowestVelocity : velocity;
}

double defaultNormalized(vst3::ParamID id) {
  if (isInstrumentParameter(id)) return static_cast<double>(kFactoryPrograms[0].values[id]);
  if (id == kPitchBendParameter) return normalizedFromBend(kBendCentre);
  return 0.0;  // program 0; no controller value yet
}

bool describeParameter(vst3::int32 index, ParameterInfo& info) {
  if (index < 0 || index >= kParameterIdCount) return false;
  const auto id = static_cast<vst3::ParamID>(index);
  info = ParameterInfo{};
  info.id = id;
  info.unitId = vst3::kRootUnitId;
  info.defaultNormalizedValue = defaultNormalized(id);
  const char* title = nullptr;
  if (isInstrumentParameter(id)) {
    title = parameterName(index);
    // A switch has two states: on (0) and off (1).
    info.stepCount = parameterKind(index) == PARAMETER_SWITCH ? 1 : 0;
    info.flags = ParameterInfo::kCanAutomate;
  } else if (id == kProgramParameter) {
    title = kProgramTitle;
    info.stepCount = kProgramSteps;
    // Never automatable: automating a program change beside the values it sets is not allowed.
    info.flags = ParameterInfo::kIsProgramChange | ParameterInfo::kIsList;
  } else {
    // Hidden, yet writable: the host writes the MIDI it maps to them.
    title = id == kPitchBendParameter ? kPitchBendTitle : kAllNotesOffTitle;
    info.flags = ParameterInfo::kIsHidden;
  }
  copyToString128(info.title, title);
  copyToString128(info.shortTitle, title);
  copyToString128(info.units, "");
  return true;
}

bool formatNormalized(const Instrument& instrument, vst3::ParamID id, double value, vst3::TChar* text) {
  if (text == nullptr || !isKnownParameter(id)) return false;
  const double normalized = clampNormalized(value);
  if (isInstrumentParameter(id)) {
    char shown[kParameterTextCapacity];
    formatParameterValue(static_cast<std::int32_t>(id), static_cast<float>(normalized), shown, sizeof(shown));
    copyToString128(text, shown);
  } else if (id == kProgramParameter) {
    char name[Instrument::kProgramNameCapacity];
    instrument.programName(programFromNormalized(normalized), name);
    copyToString128(text, name);
  } else if (id == kPitchBendParameter) {
    writeInteger(bendFromNormalized(normalized), text);
  } else {
    writeInteger(dataValueFromNormalized(normalized), text);
  }
  return true;
}

bool parseNormalized(const Instrument& instrument, vst3::ParamID id, const vst3::TChar* text, double& value) {
  char ascii[kTextCapacity];
  if (!isKnownParameter(id) || !readAscii(text, ascii, sizeof(ascii))) return false;
  std::int32_t number = 0;
  if (isInstrumentParameter(id)) {
    float read = 0.0f;
    if (!parseParameterValue(static_cast<std::int32_t>(id), ascii, read)) return false;
    value = static_cast<double>(read);
  } else if (id == kProgramParameter) {
    if (!readProgram(instrument, ascii, number)) return false;
    value = normalizedFromProgram(number);
  } else if (id == kPitchBendParameter) {
    if (!readInteger(ascii, kBendLargest, number)) return false;
    value = normalizedFromBend(number);
  } else {
    if (!readInteger(ascii, kLargestDataValue, number)) return false;
    value = static_cast<double>(number) / kLargestDataValue;
  }
  return true;
}

double plainFromNormalized(vst3::ParamID id, double value) {
  if (id == kProgramParameter) return programFromNormalized(value);
  if (id == kPitchBendParameter) return bendFromNormalized(value);
  if (id == kAllNotesOffParameter) return dataValueFromNormalized(value);
  return value;
}

double normalizedFromPlain(vst3::ParamID id, double plain) {
  if (id == kProgramParameter) return clampNormalized(plain / kProgramSteps);
  if (id == kPitchBendParameter) return clampNormalized(plain / kBendLargest);
  if (id == kAllNotesOffParameter) return clampNormalized(plain / kLargestDataValue);
  return plain;
}

}  // namespace quindle_vst3
