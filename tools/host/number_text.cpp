#include "tools/host/number_text.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace numbertext {
namespace {

constexpr int kDecimalBase = 10;
// More digits than any value the host accepts could need; stops overflow early.
constexpr std::size_t kMaxIntegerDigits = 18;

}  // namespace

bool parseInteger(const std::string& text, std::int64_t lowest, std::int64_t highest, std::int64_t& value) {
  std::size_t at = 0;
  const bool negative = !text.empty() && text[0] == '-' && lowest < 0;
  if (negative) at = 1;
  if (at >= text.size() || text.size() - at > kMaxIntegerDigits) return false;
  std::int64_t result = 0;
  for (; at < text.size(); ++at) {
    const char c = text[at];
    if (c < '0' || c > '9') return false;
    result = result * kDecimalBase + (c - '0');
  }
  if (negative) result = -result;
  if (result < lowest || result > highest) return false;
  value = result;
  return true;
}

bool parseSeconds(const std::string& text, std::int64_t maxSeconds, std::int64_t& nanoseconds) {
  std::int64_t whole = 0;
  std::int64_t fraction = 0;
  int fractionDigits = 0;
  bool seenPoint = false;
  bool seenDigit = false;
  for (char c : text) {
    if (c == '.' && !seenPoint) {
      seenPoint = true;
    } else if (c >= '0' && c <= '9') {
      seenDigit = true;
      if (seenPoint) {
        if (++fractionDigits > kMaxFractionDigits) return false;
        fraction = fraction * kDecimalBase + (c - '0');
      } else {
        whole = whole * kDecimalBase + (c - '0');
        if (whole > maxSeconds) return false;
      }
    } else {
      return false;
    }
  }
  if (!seenDigit) return false;
  for (int i = fractionDigits; i < kMaxFractionDigits; ++i) fraction *= kDecimalBase;
  const std::int64_t result = whole * kNanosecondsPerSecond + fraction;
  if (result > maxSeconds * kNanosecondsPerSecond) return false;
  nanoseconds = result;
  return true;
}

bool parseFloat(const std::string& text, float& value) {
  if (text.empty()) return false;
  errno = 0;
  char* end = nullptr;
  const double result = std::strtod(text.c_str(), &end);
  if (end != text.c_str() + text.size() || errno == ERANGE || !std::isfinite(result)) return false;
  const float narrowed = static_cast<float>(result);
  if (!std::isfinite(narrowed)) return false;
  value = narrowed;
  return true;
}

}  // namespace numbertext
