#include "params/parameter_text.h"

#include <cmath>
#include <cstring>

#include "params/parameter_table.h"

namespace {

constexpr std::int64_t kThousandths = 1000;
constexpr std::int32_t kDecimals = 3;
// Values shown are limited to what nine integer digits hold.
constexpr double kLargestShown = 999999999.999;
// Digits read from a number at the most; the rest would not change a float.
constexpr std::int32_t kMostDigits = 18;
constexpr float kLowestValue = 0.0f;
constexpr float kHighestValue = 1.0f;

// Appends `text` to out[length..], keeping room for the terminator.
void append(char* out, std::size_t capacity, std::size_t& length, const char* text) {
  for (; *text != '\0' && length + 1 < capacity; ++text) out[length++] = *text;
}

void appendNumber(char* out, std::size_t capacity, std::size_t& length, float value) {
  double shown = static_cast<double>(value);
  if (shown > kLargestShown) shown = kLargestShown;
  if (shown < -kLargestShown) shown = -kLargestShown;
  std::int64_t scaled = std::llround(shown * static_cast<double>(kThousandths));
  if (scaled < 0) {
    append(out, capacity, length, "-");
    scaled = -scaled;
  }
  // Digits from the last decimal backwards: three decimals, the point, then at least one
  // digit before it.
  char digits[32];
  std::int32_t count = 0;
  for (std::int64_t rest = scaled; count < kDecimals + 2 || rest > 0; rest /= 10) {
    digits[count++] = static_cast<char>('0' + rest % 10);
    if (count == kDecimals) digits[count++] = '.';
  }
  while (count > 0) {
    const char digit[] = {digits[--count], '\0'};
    append(out, capacity, length, digit);
  }
}

const char* skipSpaces(const char* text) {
  while (*text == ' ' || *text == '\t') ++text;
  return text;
}

bool startsWith(const char* text, const char* word) { return std::strncmp(text, word, std::strlen(word)) == 0; }

// A decimal number with an optional sign and point; `end` is where it stopped.
bool readNumber(const char* text, double& number, const char*& end) {
  bool negative = false;
  if (*text == '+' || *text == '-') negative = *text++ == '-';
  std::int64_t mantissa = 0;
  std::int32_t digits = 0;
  std::int32_t exponent = 0;
  bool sawDigit = false;
  bool afterPoint = false;
  for (;; ++text) {
    if (*text >= '0' && *text <= '9') {
      sawDigit = true;
      if (digits < kMostDigits) {
        mantissa = mantissa * 10 + (*text - '0');
        ++digits;
        if (afterPoint) --exponent;
      } else if (!afterPoint) {
        ++exponent;
      }
    } else if (*text == '.' && !afterPoint) {
      afterPoint = true;
    } else {
      break;
    }
  }
  if (!sawDigit) return false;
  number = static_cast<double>(mantissa) * std::pow(10.0, exponent);
  if (negative) number = -number;
  end = text;
  return true;
}

}  // namespace

ParameterKind parameterKind(std::int32_t index) {
  switch (index) {
    case PARAM_ATTACK_MODE:
    case PARAM_TONE_MODE:
      return PARAMETER_SWITCH;
    case PARAM_ATTACK_DECAY:
    case PARAM_AMP_ATTACK:
    case PARAM_AMP_DECAY:
    case PARAM_AMP_RELEASE:
      return PARAMETER_SECONDS;
    default:
      return PARAMETER_LEVEL;
  }
}

std::size_t formatParameterValue(std::int32_t index, float value, char* out, std::size_t capacity) {
  if (out == nullptr || capacity == 0) return 0;
  std::size_t length = 0;
  if (isParameterIndex(index)) {
    const ParameterKind kind = parameterKind(index);
    if (kind == PARAMETER_SWITCH) {
      append(out, capacity, length, value > kSwitchLitUpTo ? kSwitchOffText : kSwitchOnText);
    } else {
      appendNumber(out, capacity, length, value);
      if (kind == PARAMETER_SECONDS) {
        append(out, capacity, length, " ");
        append(out, capacity, length, kSecondsUnit);
      }
    }
  }
  out[length] = '\0';
  return length;
}

bool parseParameterValue(std::int32_t index, const char* text, float& value) {
  if (text == nullptr || !isParameterIndex(index)) return false;
  const ParameterKind kind = parameterKind(index);
  text = skipSpaces(text);
  if (kind == PARAMETER_SWITCH && (startsWith(text, kSwitchOnText) || startsWith(text, kSwitchOffText))) {
    const bool on = startsWith(text, kSwitchOnText);
    if (*skipSpaces(text + std::strlen(on ? kSwitchOnText : kSwitchOffText)) != '\0') return false;
    value = on ? kSwitchOnValue : kSwitchOffValue;
    return true;
  }
  double number = 0.0;
  const char* end = text;
  if (!readNumber(text, number, end)) return false;
  end = skipSpaces(end);
  if (kind == PARAMETER_SECONDS && startsWith(end, kSecondsUnit)) end = skipSpaces(end + std::strlen(kSecondsUnit));
  if (*end != '\0') return false;
  float read = static_cast<float>(number);
  if (read < kLowestValue) read = kLowestValue;
  if (read > kHighestValue) read = kHighestValue;
  value = read;
  return true;
}
