// Strict parsing of the numbers the host reads from its command line and event lists:
// whole strings only, no signs where none make sense, ranges checked, and decimal seconds
// kept exactly as integer nanoseconds.
#pragma once

#include <cstdint>
#include <string>

namespace numbertext {

constexpr std::int64_t kNanosecondsPerSecond = 1000000000;
constexpr int kMaxFractionDigits = 9;

// A decimal integer from `lowest` to `highest` (a leading '-' only when lowest < 0).
bool parseInteger(const std::string& text, std::int64_t lowest, std::int64_t highest, std::int64_t& value);

// "12.345" -> 12345000000: digits with at most one point and at most nine digits after
// it, no sign or exponent, no more than `maxSeconds`.
bool parseSeconds(const std::string& text, std::int64_t maxSeconds, std::int64_t& nanoseconds);

// A finite decimal number (as the C library reads it), the whole text.
bool parseFloat(const std::string& text, float& value);

}  // namespace numbertext
